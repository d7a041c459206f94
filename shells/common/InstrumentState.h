// InstrumentState: the bytes every format saves as the instrument's state.
//
// The VST 2.x bank chunk as the plug-in gives it (20 program records, 24400
// bytes, then its own trailer when it has one, see plugin/StateTrailer.h)
// with one more record in that trailer: "PROG", 4 bytes, the current
// program (little-endian), which a VST 2.x host keeps itself but the other
// formats keep in their state. A reader that takes the first 24400 bytes
// still has every program.
//
// [any thread] Pure functions.
#pragma once

#include <cstddef>
#include <vector>

namespace instrument_state {

// chunk: the plug-in's bank chunk, size bytes (at least 24400).
std::vector<unsigned char> encode(const unsigned char* chunk, std::size_t size, int program);

// The bank chunk to hand the plug-in (its trailer kept, the program record
// taken out) and the program the state names; program is -1 for a bare
// chunk. False for anything else (a damaged trailer included): nothing
// should then be loaded.
bool decode(const unsigned char* data, std::size_t size, std::vector<unsigned char>& chunk, int& program);

}  // namespace instrument_state
