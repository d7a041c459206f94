#include "shells/common/InstrumentState.h"

#include <cstdint>
#include <cstring>

#include "plugin/ProgramRecord.h"

namespace instrument_state {
namespace {

constexpr unsigned char kMark[4] = {'A', 'M', 'B', 'x'};
constexpr std::uint32_t kVersion = 1;
constexpr std::uint32_t kRecordsSize = 4 + 4 + 4;  // tag, length, program
constexpr std::size_t kTrailerSize = 4 + 4 + 4 + kRecordsSize + 4;

std::uint32_t crc32(const unsigned char* data, std::size_t size) {
    std::uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i) {
        crc ^= data[i];
        for (int k = 0; k < 8; ++k) crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return ~crc;
}

void putU32(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

std::uint32_t getU32(const unsigned char* p) {
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

}  // namespace

std::vector<unsigned char> encode(const unsigned char* bank, int program) {
    std::vector<unsigned char> state(bank, bank + kBankChunkSize);
    state.insert(state.end(), kMark, kMark + 4);
    putU32(state, kVersion);
    putU32(state, kRecordsSize);
    state.insert(state.end(), {'P', 'R', 'O', 'G'});
    putU32(state, 4);
    putU32(state, static_cast<std::uint32_t>(program));
    putU32(state, crc32(state.data() + kBankChunkSize, state.size() - kBankChunkSize));
    return state;
}

bool decode(const unsigned char* data, std::size_t size, const unsigned char*& bank, int& program) {
    if (!data || size < static_cast<std::size_t>(kBankChunkSize)) return false;
    bank = data;
    program = -1;
    const std::size_t rest = size - kBankChunkSize;
    if (rest == 0) return true;
    const unsigned char* t = data + kBankChunkSize;
    if (rest != kTrailerSize || std::memcmp(t, kMark, 4) != 0 || getU32(t + 4) != kVersion ||
        getU32(t + 8) != kRecordsSize || std::memcmp(t + 12, "PROG", 4) != 0 || getU32(t + 16) != 4 ||
        getU32(t + 24) != crc32(t, 24))
        return false;
    const std::uint32_t p = getU32(t + 20);
    if (p >= static_cast<std::uint32_t>(kNumPrograms)) return false;
    program = static_cast<int>(p);
    return true;
}

}  // namespace instrument_state
