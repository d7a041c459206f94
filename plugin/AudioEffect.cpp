#include "plugin/AudioEffect.h"

#include <cstring>

#include "plugin/AEffEditor.h"

AudioEffect::AudioEffect(audioMasterCallback host, VstInt32 numPrograms, VstInt32 numParams)
    : host_(host), numPrograms_(numPrograms), numParams_(numParams) {
    std::memset(&cEffect_, 0, sizeof(cEffect_));
    cEffect_.magic = kEffectMagic;
    cEffect_.dispatcher = dispatchEntry;
    cEffect_.process = processEntry;
    cEffect_.setParameter = setParameterEntry;
    cEffect_.getParameter = getParameterEntry;
    cEffect_.numPrograms = numPrograms;
    cEffect_.numParams = numParams;
    cEffect_.numInputs = 1;
    cEffect_.numOutputs = 2;
    cEffect_.ioRatio = 1.0f;
    cEffect_.object = this;
    cEffect_.version = 1;
    cEffect_.processReplacing = processReplacingEntry;
    cEffect_.processDoubleReplacing = processDoubleReplacingEntry;
}

AudioEffect::~AudioEffect() { delete editor_; }

void AudioEffect::setEditor(AEffEditor* editor) {
    editor_ = editor;
    setFlag(effFlagsHasEditor, editor != nullptr);
}

void AudioEffect::setFlag(VstInt32 flag, bool on) {
    cEffect_.flags = on ? (cEffect_.flags | flag) : (cEffect_.flags & ~flag);
}

VstIntPtr AudioEffect::callHost(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                float opt) {
    return host_ ? host_(&cEffect_, opcode, index, value, ptr, opt) : 0;
}

void AudioEffect::setParameterAutomated(VstInt32 index, float value) {
    setParameter(index, value);
    callHost(audioMasterAutomate, index, 0, nullptr, value);
}

bool AudioEffect::beginEdit(VstInt32 index) { return callHost(audioMasterBeginEdit, index) != 0; }
bool AudioEffect::endEdit(VstInt32 index) { return callHost(audioMasterEndEdit, index) != 0; }
bool AudioEffect::updateDisplay() { return callHost(audioMasterUpdateDisplay) != 0; }

void AudioEffect::masterIdle() { callHost(audioMasterIdle); }

VstIntPtr AudioEffect::dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                  float opt) {
    switch (opcode) {
    case effOpen:
        open();
        return 0;
    case effClose:
        close();
        return 1;
    case effSetProgram:
        if (value >= 0 && value < numPrograms_) setProgram(static_cast<VstInt32>(value));
        return 0;
    case effGetProgram:
        return getProgram();
    case effSetProgramName:
        if (ptr) setProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetProgramName:
        if (ptr) getProgramName(static_cast<char*>(ptr));
        return 0;
    case effGetParamLabel:
        if (ptr) getParameterLabel(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamDisplay:
        if (ptr) getParameterDisplay(index, static_cast<char*>(ptr));
        return 0;
    case effGetParamName:
        if (ptr) getParameterName(index, static_cast<char*>(ptr));
        return 0;
    case effSetSampleRate:
        setSampleRate(opt);
        return 0;
    case effSetBlockSize:
        setBlockSize(static_cast<VstInt32>(value));
        return 0;
    case effMainsChanged:
        if (value == 0) {
            suspend();
        } else {
            resume();
        }
        return 0;
    case effEditGetRect:
        return (editor_ && ptr && editor_->getRect(static_cast<ERect**>(ptr))) ? 1 : 0;
    case effEditOpen:
        // A null parent is no window to open in.
        return (editor_ && ptr && editor_->open(ptr)) ? 1 : 0;
    case effEditClose:
        if (editor_) editor_->close();
        return 0;
    case effEditIdle:
        if (editor_) editor_->idle();
        return 0;
    case effIdentify:
        return 0x4E764566;  // 'NvEf'
    case effGetChunk:
        return ptr ? getChunk(static_cast<void**>(ptr), index != 0) : 0;
    case effSetChunk:
        // A byte size beyond 32 bits cannot be one of ours; -1 fails every check.
        if (!ptr) return 0;
        return setChunk(ptr, value == static_cast<VstInt32>(value) ? static_cast<VstInt32>(value) : -1,
                        index != 0);
    default:
        return 0;
    }
}

// ---- the AEffect record's entries ------------------------------------------

namespace {
AudioEffect* objectOf(AEffect* e) { return e ? static_cast<AudioEffect*>(e->object) : nullptr; }
}  // namespace

VstIntPtr AudioEffect::dispatchEntry(AEffect* e, VstInt32 opcode, VstInt32 index,
                                     VstIntPtr value, void* ptr, float opt) {
    AudioEffect* self = objectOf(e);
    if (!self) return 0;
    if (opcode == effClose) {
        self->dispatcher(opcode, index, value, ptr, opt);
        delete self;
        return 1;
    }
    return self->dispatcher(opcode, index, value, ptr, opt);
}

void AudioEffect::processEntry(AEffect*, float**, float**, VstInt32) {}

void AudioEffect::processReplacingEntry(AEffect* e, float** in, float** out, VstInt32 frames) {
    if (AudioEffect* self = objectOf(e)) self->processReplacing(in, out, frames);
}

void AudioEffect::processDoubleReplacingEntry(AEffect* e, double** in, double** out,
                                              VstInt32 frames) {
    if (AudioEffect* self = objectOf(e)) self->processDoubleReplacing(in, out, frames);
}

void AudioEffect::setParameterEntry(AEffect* e, VstInt32 index, float value) {
    if (AudioEffect* self = objectOf(e)) self->setParameter(index, value);
}

float AudioEffect::getParameterEntry(AEffect* e, VstInt32 index) {
    AudioEffect* self = objectOf(e);
    return self ? self->getParameter(index) : 0.0f;
}
