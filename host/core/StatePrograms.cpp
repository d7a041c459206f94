#include "host/core/StatePrograms.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>

#include "host/core/LoadedPlugin.h"
#include "plugin/ProgramRecord.h"
#include "shells/common/InstrumentState.h"

namespace {
// The largest chunk handed on to a plug-in's state.
constexpr std::uint64_t kLargestChunk = 1 << 24;
}  // namespace

bool StatePrograms::hasPrograms() {
    std::vector<unsigned char> bank;
    int program = 0;
    return readBank(bank, program);
}

bool StatePrograms::readBank(std::vector<unsigned char>& bank, int& program) {
    std::vector<unsigned char> state;
    if (!readState(state) || !instrument_state::decode(state.data(), state.size(), bank, program)) return false;
    if (program < 0) program = 0;
    return true;
}

bool StatePrograms::writeBank(const std::vector<unsigned char>& bank, int program) {
    return writeState(instrument_state::encode(bank.data(), bank.size(), program));
}

bool StatePrograms::programRequest(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   VstIntPtr& answer) {
    std::vector<unsigned char> bank;
    int program = 0;
    answer = 0;
    switch (opcode) {
    case effGetProgram:
        if (readBank(bank, program)) answer = program;
        return true;
    case effSetProgram:
        if (value >= 0 && value < kNumPrograms && readBank(bank, program)) writeBank(bank, static_cast<int>(value));
        return true;
    case effGetProgramName:
    case effGetProgramNameIndexed: {
        if (!readBank(bank, program)) return true;
        const int p = opcode == effGetProgramName ? program : index;
        if (p < 0 || p >= kNumPrograms) return true;
        const char* name = reinterpret_cast<const char*>(bank.data() + p * kProgramChunkSize);
        answer = recordText(ptr, std::string(name, strnlen(name, kProgramNameSize)));
        return true;
    }
    case effSetProgramName: {
        if (!ptr || !readBank(bank, program)) return true;
        // As the plug-in does: at most 23 characters, the bytes after the
        // terminator kept.
        char* name = reinterpret_cast<char*>(bank.data() + program * kProgramChunkSize);
        const std::size_t n = strnlen(static_cast<const char*>(ptr), kProgramNameSize - 1);
        std::memcpy(name, ptr, n);
        name[n] = '\0';
        writeBank(bank, program);
        return true;
    }
    case effGetChunk:
        if (!ptr) return true;
        if (readBank(bank, program)) {
            if (index)
                bank.assign(bank.begin() + program * kProgramChunkSize,
                            bank.begin() + (program + 1) * kProgramChunkSize);
            chunk_ = bank;
        } else if (!readState(chunk_)) {
            return true;
        }
        *static_cast<void**>(ptr) = chunk_.data();
        answer = static_cast<VstIntPtr>(chunk_.size());
        return true;
    case effSetChunk: {
        if (!ptr || value <= 0 || static_cast<std::uint64_t>(value) > kLargestChunk) return true;
        const auto* bytes = static_cast<const unsigned char*>(ptr);
        const bool ambrell = readBank(bank, program);
        // Ambrell's sizes are checked before a byte is read: a program, or a
        // bank with or without its trailer.
        if (ambrell && (index ? value != kProgramChunkSize : value < kBankChunkSize)) return true;
        if (!ambrell || !index) {
            answer = writeState(std::vector<unsigned char>(bytes, bytes + value)) ? 1 : 0;
            return true;
        }
        std::memcpy(bank.data() + program * kProgramChunkSize, bytes, kProgramChunkSize);
        answer = writeBank(bank, program) ? 1 : 0;
        return true;
    }
    default:
        return false;
    }
}
