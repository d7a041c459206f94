#include "host/core/HostState.h"

#include <vector>

#include "plugin/OscillatorRecord.h"
#include "plugin/StateTrailer.h"

namespace {

constexpr VstInt32 kAmbrellId = 0x31313132;  // '1112'
constexpr VstIntPtr kBankRecordsSize = 24400;

}  // namespace

bool putStateRecord(PluginHost& host, const char* tag, const std::string* bytes, const std::string& what,
                    std::string& error) {
    const AEffect* effect = host.effect();
    void* data = nullptr;
    const VstIntPtr size = effect->uniqueID == kAmbrellId && (effect->flags & effFlagsProgramChunks)
                               ? host.dispatch(effGetChunk, 0, 0, &data)
                               : 0;
    if (!data || size < kBankRecordsSize) {
        error = "this plug-in takes no " + what;
        return false;
    }
    const auto* bank = static_cast<const unsigned char*>(data);
    std::vector<state_trailer::Record> records, kept;
    state_trailer::read(bank + kBankRecordsSize, static_cast<std::size_t>(size - kBankRecordsSize), records);
    for (state_trailer::Record& r : records)
        if (r.tag != tag) kept.push_back(std::move(r));
    if (bytes) kept.push_back({tag, *bytes});
    std::vector<unsigned char> chunk(bank, bank + kBankRecordsSize);
    const std::vector<unsigned char> trailer = state_trailer::write(kept);
    chunk.insert(chunk.end(), trailer.begin(), trailer.end());
    if (host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data()) != 1) {
        error = "the plug-in refused the " + what;
        return false;
    }
    return true;
}

bool applyOscillators(PluginHost& host, const std::string& mode, std::string& error) {
    if (mode.empty()) return true;
    OscillatorMode chosen;
    if (!oscillator_record::read(mode, chosen)) {
        error = "--oscillators is classic or clean, not '" + mode + "'";
        return false;
    }
    // Classic is no record at all, as a classic instance saves it.
    const std::string name = oscillator_record::name(chosen);
    return putStateRecord(host, oscillator_record::kTag, chosen == OscillatorMode::kClean ? &name : nullptr,
                          "oscillator mode", error);
}
