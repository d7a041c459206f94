#include "plugin/AudioEffectX.h"

#include "plugin/AEffEditor.h"

namespace {

// The key request carries the modifier bits in a float; anything that is not
// a number of int range (NaN, huge) counts as no modifier.
unsigned char modifierBits(float opt) {
    if (!(opt > -2147483648.0f && opt < 2147483648.0f)) return 0;
    return static_cast<unsigned char>(static_cast<VstInt32>(opt) & 0xFF);
}

VstKeyCode keyCode(VstInt32 index, VstIntPtr value, float opt) {
    VstKeyCode key{};
    key.character = index;
    key.virt = static_cast<unsigned char>(value & 0xFF);
    key.modifier = modifierBits(opt);
    return key;
}

}  // namespace

VstInt32 AudioEffectX::canDo(const char*) { return -1; }

void AudioEffectX::resume() {
    if (hasFlag(effFlagsIsSynth) || canDo("receiveVstMidiEvent") == 1) wantEvents(1);
}

void AudioEffectX::wantEvents(VstInt32 filter) { callHost(audioMasterWantMidi, 0, filter); }

const VstTimeInfo* AudioEffectX::getTimeInfo(VstInt32 filter) {
    return reinterpret_cast<const VstTimeInfo*>(callHost(audioMasterGetTime, 0, filter));
}

VstIntPtr AudioEffectX::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                   float opt) {
    if (opcode < effProcessEvents || opcode > effGetNumMidiOutputChannels)
        return AudioEffect::dispatcher(opcode, index, value, ptr, opt);

    switch (opcode) {
    case effProcessEvents:
        if (!ptr) return 0;
        return processEvents(static_cast<VstEvents*>(ptr));
    case effCanBeAutomated:
        return canParameterBeAutomated(index) ? 1 : 0;
    case effGetProgramNameIndexed:
        if (!ptr) return 0;
        return getProgramNameIndexed(static_cast<VstInt32>(value), index, static_cast<char*>(ptr))
                   ? 1
                   : 0;
    case effGetPlugCategory:
        return getPlugCategory();
    case effGetEffectName:
        return (ptr && getEffectName(static_cast<char*>(ptr))) ? 1 : 0;
    case effGetVendorString:
        return (ptr && getVendorString(static_cast<char*>(ptr))) ? 1 : 0;
    case effGetProductString:
        return (ptr && getProductString(static_cast<char*>(ptr))) ? 1 : 0;
    case effGetVendorVersion:
        return getVendorVersion();
    case effCanDo:
        return ptr ? canDo(static_cast<const char*>(ptr)) : 0;
    case effGetVstVersion:
        return getVstVersion();
    case effEditKeyDown:
        if (editor_) {
            VstKeyCode key = keyCode(index, value, opt);
            return editor_->onKeyDown(key) ? 1 : 0;
        }
        return 0;
    case effEditKeyUp:
        if (editor_) {
            VstKeyCode key = keyCode(index, value, opt);
            return editor_->onKeyUp(key) ? 1 : 0;
        }
        return 0;
    case effSetEditKnobMode:
        return (editor_ && editor_->setKnobMode(static_cast<VstInt32>(value))) ? 1 : 0;
    case effGetCurrentMidiProgram:
        return -1;
    case effGetSpeakerArrangement:
        // Both arguments point at a speaker-arrangement pointer: we have none.
        if (value) *reinterpret_cast<void**>(value) = nullptr;
        if (ptr) *static_cast<void**>(ptr) = nullptr;
        return 0;
    case effSetTotalSampleToProcess:
        return value;
    default:
        return 0;
    }
}

VstInt32 AudioEffectX::canHostDo(const char* text) {
    if (!text) return 0;
    return static_cast<VstInt32>(callHost(audioMasterCanDo, 0, 0, const_cast<char*>(text)));
}

bool AudioEffectX::sizeWindow(VstInt32 width, VstInt32 height) {
    return callHost(audioMasterSizeWindow, width, height) != 0;
}
