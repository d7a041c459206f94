// StateTrailer: what the instrument saves beyond its programs.
//
// A bank's state is the 20 program records, 24400 bytes, and after them,
// only when there is more to say, this trailer. A reader that takes the
// first 24400 bytes still has every program; one that knows the trailer
// finds its records by their tags. Every format's state (the plug-in
// chunk, and the other formats' saved state) uses the same bytes.
//
//   offset  size  field (integers little-endian)
//   0       4     "AMBx": the mark of the trailer
//   4       4     version, 1
//   8       4     n: the length of the records that follow
//   12      n     records, each a 4-character tag, a 4-byte length and its bytes
//   12+n    4     CRC-32 (as zlib computes it) of bytes 0 .. 12+n-1
//
// A trailer whose mark, version, lengths or checksum are not right is read
// as no trailer at all. Records with a tag the reader does not know are
// passed over, so later versions of the instrument may add their own.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace state_trailer {

constexpr std::uint32_t kVersion = 1;
// Above this a trailer is taken to be damaged: its records are a few texts.
constexpr std::size_t kLargestRecords = 4 * 1024 * 1024;

struct Record {
    std::string tag;  // four characters
    std::string bytes;
};

// The trailer holding records; empty for no records (nothing to append).
std::vector<unsigned char> write(const std::vector<Record>& records);

// The records of the trailer in data[0..size); false, with records empty,
// when the bytes are no sound trailer of a version this reader knows.
bool read(const unsigned char* data, std::size_t size, std::vector<Record>& records);

// The bytes of the record tagged tag, or false.
bool find(const std::vector<Record>& records, const char* tag, std::string& bytes);

}  // namespace state_trailer
