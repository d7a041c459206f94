#include "shells/common/InstrumentState.h"

#include <cstdint>
#include <string>

#include "plugin/ProgramRecord.h"
#include "plugin/StateTrailer.h"

namespace instrument_state {
namespace {

constexpr const char* kProgramTag = "PROG";

// The plug-in's own records: those of the trailer after the bank, without
// the program's. False when there is a trailer and it is no sound one.
bool ownRecords(const unsigned char* data, std::size_t size, std::vector<state_trailer::Record>& records) {
    records.clear();
    if (size == static_cast<std::size_t>(kBankChunkSize)) return true;
    if (!state_trailer::read(data + kBankChunkSize, size - kBankChunkSize, records)) return false;
    std::vector<state_trailer::Record> kept;
    for (state_trailer::Record& r : records)
        if (r.tag != kProgramTag) kept.push_back(std::move(r));
    records.swap(kept);
    return true;
}

}  // namespace

std::vector<unsigned char> encode(const unsigned char* chunk, std::size_t size, int program) {
    if (!chunk || size < static_cast<std::size_t>(kBankChunkSize)) return {};
    std::vector<state_trailer::Record> records;
    // A chunk whose trailer does not read keeps its programs only.
    if (!ownRecords(chunk, size, records)) records.clear();
    const auto p = static_cast<std::uint32_t>(program);
    records.push_back({kProgramTag, std::string{char(p & 0xFF), char((p >> 8) & 0xFF), char((p >> 16) & 0xFF),
                                                char((p >> 24) & 0xFF)}});
    std::vector<unsigned char> state(chunk, chunk + kBankChunkSize);
    const std::vector<unsigned char> trailer = state_trailer::write(records);
    state.insert(state.end(), trailer.begin(), trailer.end());
    return state;
}

bool decode(const unsigned char* data, std::size_t size, std::vector<unsigned char>& chunk, int& program) {
    if (!data || size < static_cast<std::size_t>(kBankChunkSize)) return false;
    program = -1;
    std::vector<state_trailer::Record> all;
    if (size > static_cast<std::size_t>(kBankChunkSize) &&
        !state_trailer::read(data + kBankChunkSize, size - kBankChunkSize, all))
        return false;
    std::string bytes;
    if (state_trailer::find(all, kProgramTag, bytes)) {
        if (bytes.size() != 4) return false;
        const std::uint32_t p = std::uint32_t(static_cast<unsigned char>(bytes[0])) |
                                std::uint32_t(static_cast<unsigned char>(bytes[1])) << 8 |
                                std::uint32_t(static_cast<unsigned char>(bytes[2])) << 16 |
                                std::uint32_t(static_cast<unsigned char>(bytes[3])) << 24;
        if (p >= static_cast<std::uint32_t>(kNumPrograms)) return false;
        program = static_cast<int>(p);
    }
    std::vector<state_trailer::Record> own;
    ownRecords(data, size, own);
    chunk.assign(data, data + kBankChunkSize);
    const std::vector<unsigned char> trailer = state_trailer::write(own);
    chunk.insert(chunk.end(), trailer.begin(), trailer.end());
    return true;
}

}  // namespace instrument_state
