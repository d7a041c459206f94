#include "host/core/HostMadeRecord.h"

namespace {

HostMadeRecord* recordOf(AEffect* e) { return e ? static_cast<HostMadeRecord*>(e->object) : nullptr; }

}  // namespace

// The entries, lambdas of a member, may call the protected members.
HostMadeRecord::HostMadeRecord() {
    effect_.magic = kEffectMagic;
    effect_.object = this;
    effect_.dispatcher = [](AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                            float opt) -> VstIntPtr {
        HostMadeRecord* r = recordOf(e);
        return r ? r->dispatch(opcode, index, value, ptr, opt) : 0;
    };
    effect_.setParameter = [](AEffect* e, VstInt32 index, float value) {
        if (HostMadeRecord* r = recordOf(e)) r->setValue(index, value);
    };
    effect_.getParameter = [](AEffect* e, VstInt32 index) {
        HostMadeRecord* r = recordOf(e);
        return r ? r->value(index) : 0.0f;
    };
    effect_.processReplacing = [](AEffect* e, float**, float** outputs, VstInt32 frames) {
        HostMadeRecord* r = recordOf(e);
        if (r && outputs && frames > 0) r->process(outputs, frames);
    };
    effect_.process = [](AEffect*, float**, float**, VstInt32) {};
    effect_.processDoubleReplacing = [](AEffect*, double**, double**, VstInt32) {};
}

bool HostMadeRecord::settingRequest(VstInt32 opcode, VstIntPtr value, float opt) {
    if (opcode == effSetSampleRate) {
        if (opt > 0.0f) sampleRate_ = opt;
        return true;
    }
    if (opcode == effSetBlockSize) {
        if (value > 0) blockSize_ = static_cast<VstInt32>(value);
        return true;
    }
    return false;
}
