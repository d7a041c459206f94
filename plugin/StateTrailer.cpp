#include "plugin/StateTrailer.h"

#include <cstring>

namespace state_trailer {
namespace {

constexpr char kMark[4] = {'A', 'M', 'B', 'x'};
constexpr std::size_t kHeader = 12;
constexpr std::size_t kRecordHeader = 8;
constexpr std::size_t kChecksum = 4;

std::uint32_t crc32(const unsigned char* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int bit = 0; bit < 8; ++bit) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void set32(unsigned char* p, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) p[i] = static_cast<unsigned char>((v >> (8 * i)) & 0xFF);
}

void put32(std::vector<unsigned char>& out, std::uint32_t v) {
    out.resize(out.size() + 4);
    set32(out.data() + out.size() - 4, v);
}

std::uint32_t get32(const unsigned char* p) {
    return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
           static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

}  // namespace

std::vector<unsigned char> write(const std::vector<Record>& records) {
    if (records.empty()) return {};
    // The header, its length filled in once the records are written.
    std::vector<unsigned char> out(kHeader, 0);
    std::memcpy(out.data(), kMark, 4);
    set32(out.data() + 4, kVersion);
    for (const Record& r : records) {
        const std::size_t at = out.size();
        out.resize(at + kRecordHeader + r.bytes.size(), ' ');
        std::memcpy(out.data() + at, r.tag.data(), r.tag.size() < 4 ? r.tag.size() : 4);
        set32(out.data() + at + 4, static_cast<std::uint32_t>(r.bytes.size()));
        if (!r.bytes.empty()) std::memcpy(out.data() + at + kRecordHeader, r.bytes.data(), r.bytes.size());
    }
    set32(out.data() + 8, static_cast<std::uint32_t>(out.size() - kHeader));
    put32(out, crc32(out.data(), out.size()));
    return out;
}

bool read(const unsigned char* data, std::size_t size, std::vector<Record>& records) {
    records.clear();
    if (!data || size < kHeader + kChecksum || std::memcmp(data, kMark, 4) != 0) return false;
    if (get32(data + 4) != kVersion) return false;
    const std::size_t length = get32(data + 8);
    if (length > kLargestRecords || size != kHeader + length + kChecksum) return false;
    if (get32(data + kHeader + length) != crc32(data, kHeader + length)) return false;
    std::vector<Record> found;
    for (std::size_t at = kHeader; at < kHeader + length;) {
        if (kHeader + length - at < kRecordHeader) return false;
        const std::size_t n = get32(data + at + 4);
        if (n > kHeader + length - at - kRecordHeader) return false;
        Record r;
        r.tag.assign(reinterpret_cast<const char*>(data + at), 4);
        r.bytes.assign(reinterpret_cast<const char*>(data + at + kRecordHeader), n);
        found.push_back(std::move(r));
        at += kRecordHeader + n;
    }
    records = std::move(found);
    return true;
}

bool find(const std::vector<Record>& records, const char* tag, std::string& bytes) {
    for (const Record& r : records)
        if (r.tag == tag) {
            bytes = r.bytes;
            return true;
        }
    return false;
}

}  // namespace state_trailer
