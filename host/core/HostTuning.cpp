#include "host/core/HostTuning.h"

#include "host/core/HostState.h"
#include "tuning/Tuning.h"

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
    const std::string record = tuning.toRecord();
    return putStateRecord(host, Tuning::kRecordTag, &record, "tuning", error);
}
