#include "host/core/HostTuning.h"

#include <vector>

#include "plugin/StateTrailer.h"
#include "tuning/Tuning.h"

namespace {

constexpr VstInt32 kAmbrellId = 0x31313132;  // '1112'
constexpr VstIntPtr kBankRecordsSize = 24400;

}  // namespace

bool applyTuning(PluginHost& host, const std::string& scalePath, const std::string& mapPath, std::string& error) {
    if (scalePath.empty()) {
        if (mapPath.empty()) return true;
        error = "--keymap needs --tuning";
        return false;
    }
    std::string scaleText, mapText;
    Tuning tuning;
    if (!readTuningFile(scalePath, scaleText, error)) return false;
    if (!mapPath.empty() && !readTuningFile(mapPath, mapText, error)) return false;
    if (!Tuning::fromText(scaleText, scalePath, mapText, mapPath, tuning, error)) return false;

    const AEffect* effect = host.effect();
    void* data = nullptr;
    const VstIntPtr size = effect->uniqueID == kAmbrellId && (effect->flags & effFlagsProgramChunks)
                               ? host.dispatch(effGetChunk, 0, 0, &data)
                               : 0;
    if (!data || size < kBankRecordsSize) {
        error = "this plug-in takes no tuning";
        return false;
    }
    std::vector<unsigned char> chunk(static_cast<unsigned char*>(data),
                                     static_cast<unsigned char*>(data) + kBankRecordsSize);
    const std::vector<unsigned char> trailer = state_trailer::write({{Tuning::kRecordTag, tuning.toRecord()}});
    chunk.insert(chunk.end(), trailer.begin(), trailer.end());
    if (host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data()) != 1) {
        error = "the plug-in refused the tuning";
        return false;
    }
    return true;
}
