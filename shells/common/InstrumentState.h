// InstrumentState: the bytes every format saves as the instrument's state.
//
// The VST 2.x bank chunk (20 program records, 24400 bytes) followed by a
// checked trailer that names the current program, which a VST 2.x host
// keeps itself but the other formats keep in their state. A reader that
// takes the first 24400 bytes still has every program. The trailer:
//
//   "AMBx", version 1, the records' length 12, the record "PROG" of 4
//   bytes holding the program number, the CRC-32 of the trailer before it
//   (integers little-endian).
//
// Any thread; pure functions.
#pragma once

#include <cstddef>
#include <vector>

namespace instrument_state {

// bank: the 24400-byte bank chunk.
std::vector<unsigned char> encode(const unsigned char* bank, int program);

// Finds the bank chunk in data and the program the trailer names; program
// is -1 for a bare chunk. False for anything else (a damaged trailer
// included): nothing should then be loaded.
bool decode(const unsigned char* data, std::size_t size, const unsigned char*& bank, int& program);

}  // namespace instrument_state
