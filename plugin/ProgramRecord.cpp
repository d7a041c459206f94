#include "plugin/ProgramRecord.h"

#include <cmath>
#include <cstring>
#include <initializer_list>

ProgramRecord initialProgramRecord() {
    ProgramRecord r;
    std::memset(&r, 0, sizeof(r));
    std::strcpy(r.name, "default");
    for (int i : {param::kVolume, param::kMasterPitch, param::kPwOsc1, param::kTuneOsc2,
                  param::kFineTuneOsc2, param::kPwOsc2})
        r.values[i] = 0.5f;
    for (int i : {param::kCutoff, param::kFilterDecay, param::kDecay, param::kLfo1KeyTrigger,
                  param::kLfo2KeyTrigger})
        r.values[i] = 1.0f;
    r.controllers.target[40] = param::kCutoff;
    r.controllers.target[42] = param::kResonance;
    return r;
}

bool isLoadableRecord(const ProgramRecord& record) {
    if (std::memchr(record.name, 0, sizeof(record.name)) == nullptr) return false;
    for (float v : record.values)
        if (!std::isfinite(v)) return false;
    return true;
}
