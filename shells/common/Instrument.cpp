#include "shells/common/Instrument.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "editor/OrvVstEditor.h"
#include "engine/ParamBlock.h"
#include "plugin/FactoryBank.h"
#include "plugin/OrvVst.h"
#include "plugin/ParameterReading.h"
#include "plugin/ParameterText.h"
#include "plugin/ProgramRecord.h"
#include "shells/common/InstrumentState.h"

// The module's entry point (plugin/entry.cpp), linked into each shell.
extern "C" AEffect* VSTPluginMain(audioMasterCallback host);

namespace {

constexpr VstIntPtr kHostVersion = 2400;
constexpr std::size_t kTextBuffer = 256;

// The instrument whose plug-in is being created: its requests arrive before
// the record is known.
thread_local Instrument* creating = nullptr;

}  // namespace

Instrument::Instrument(InstrumentListener* listener)
    : listener_(listener),
      midi_(kMaxMidiEvents),
      sysex_(kMaxSysExEvents),
      midiList_(sizeof(VstEvents) + sizeof(VstEvent*) * kMaxMidiEvents) {
    time_.tempo = 120.0;
    time_.timeSigNumerator = 4;
    time_.timeSigDenominator = 4;
    creating = this;
    AEffect* effect = VSTPluginMain(hostCallback);
    creating = nullptr;
    if (!effect) return;
    effect_ = effect;
    effect_->resvd1 = reinterpret_cast<VstIntPtr>(this);
    dispatch(effOpen);
    for (int i = 0; i < param::kCount; ++i) reported_[i] = parameter(i);
}

Instrument::~Instrument() {
    if (!effect_) return;
    dispatch(effMainsChanged, 0, 0);
    dispatch(effClose);
}

VstIntPtr Instrument::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    return effect_ ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

// [any thread] The plug-in's requests, answered as a plain host answers
// them; the editor's and the tempo request are what the shells care about.
VstIntPtr Instrument::hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr, void*,
                                   float opt) {
    Instrument* self = (effect && effect->resvd1) ? reinterpret_cast<Instrument*>(effect->resvd1) : creating;
    switch (opcode) {
    case audioMasterVersion:
        return kHostVersion;
    case audioMasterWantMidi:
        return 1;
    case audioMasterGetSampleRate:
        return self ? static_cast<VstIntPtr>(self->sampleRate_) : 0;
    case audioMasterGetTime:
        return self && self->hasTempo_ ? reinterpret_cast<VstIntPtr>(&self->time_) : 0;
    case audioMasterAutomate:
        if (self && self->listener_) self->listener_->parameterEdited(index, opt);
        return 1;
    case audioMasterBeginEdit:
        if (self && self->listener_) self->listener_->gestureBegan(index);
        return 1;
    case audioMasterEndEdit:
        if (self && self->listener_) self->listener_->gestureEnded(index);
        return 1;
    default:
        return 0;
    }
}

// ---- identity --------------------------------------------------------------

const char* Instrument::name() { return OrvVst::kEffectName; }
const char* Instrument::vendor() { return OrvVst::kVendorName; }

const char* Instrument::versionText() {
    static const std::string text = std::to_string(OrvVst::kVendorVersion / 1000) + "." +
                                    std::to_string(OrvVst::kVendorVersion / 100 % 10) + "." +
                                    std::to_string(OrvVst::kVendorVersion % 100);
    return text.c_str();
}

// ---- parameters ------------------------------------------------------------

int Instrument::parameterCount() { return param::kCount; }

Instrument::ParameterInfo Instrument::parameterInfo(int index) {
    const parameter_text::Domain d = parameter_text::domain(index);
    const bool known = index >= 0 && index < param::kCount;
    const float initial = known ? factoryBank()[0].values[index] : 0.0f;
    return {parameter_text::name(index), d.lo, d.hi, std::clamp(initial, d.lo, d.hi), d.whole};
}

float Instrument::parameter(int index) {
    return effect_ && index >= 0 && index < param::kCount ? effect_->getParameter(effect_, index) : 0.0f;
}

void Instrument::setParameter(int index, float value) {
    if (effect_ && index >= 0 && index < param::kCount) effect_->setParameter(effect_, index, value);
}

bool Instrument::valueText(int index, float value, std::string& text) {
    if (!effect_ || index < 0 || index >= param::kCount || !std::isfinite(value)) return false;
    ParamBlock params;
    for (int i = 0; i < param::kCount; ++i) params.set(i, parameter(i));
    char display[parameter_text::kTextSize], label[parameter_text::kTextSize];
    parameter_text::describeValue(index, value, params, sampleRate_, display, label);
    text = display;
    if (label[0]) text += std::string(" ") + label;
    return true;
}

bool Instrument::readText(int index, const char* text, float& value) {
    if (!effect_ || !text || index < 0 || index >= param::kCount) return false;
    ParamBlock params;
    for (int i = 0; i < param::kCount; ++i) params.set(i, parameter(i));
    return parameter_text::read(index, text, params, sampleRate_, value) == parameter_text::Reading::kValue;
}

// ---- programs --------------------------------------------------------------

int Instrument::programCount() const { return effect_ ? effect_->numPrograms : 0; }

std::string Instrument::programName(int index) {
    char text[kTextBuffer] = {};
    if (!dispatch(effGetProgramNameIndexed, index, 0, text)) return "";
    return text;
}

int Instrument::currentProgram() { return static_cast<int>(dispatch(effGetProgram)); }

void Instrument::selectProgram(int index) {
    if (index < 0 || index >= programCount()) return;
    dispatch(effSetProgram, 0, index);
    if (listener_) listener_->displayChanged();
}

// ---- state -----------------------------------------------------------------

std::vector<unsigned char> Instrument::saveState() {
    void* chunk = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, 0, 0, &chunk);
    if (size < kBankChunkSize || !chunk) return {};
    return instrument_state::encode(static_cast<const unsigned char*>(chunk), static_cast<std::size_t>(size),
                                    currentProgram());
}

bool Instrument::loadState(const unsigned char* data, std::size_t size) {
    std::vector<unsigned char> chunk;
    int program = -1;
    if (!effect_ || !instrument_state::decode(data, size, chunk, program)) return false;
    if (!dispatch(effSetChunk, 0, static_cast<VstIntPtr>(chunk.size()), chunk.data())) return false;
    if (program >= 0) dispatch(effSetProgram, 0, program);
    if (listener_) listener_->displayChanged();
    return true;
}

// ---- audio -----------------------------------------------------------------

void Instrument::activate(double sampleRate, std::uint32_t maxFrames) {
    sampleRate_ = static_cast<float>(sampleRate);
    time_.sampleRate = sampleRate;
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate_);
    dispatch(effSetBlockSize, 0, static_cast<VstIntPtr>(std::min<std::uint32_t>(maxFrames, 1u << 30)));
    dispatch(effMainsChanged, 0, 1);
}

void Instrument::deactivate() { dispatch(effMainsChanged, 0, 0); }

void Instrument::setTempo(double bpm) {
    hasTempo_ = bpm > 0.0 && std::isfinite(bpm);
    if (hasTempo_) time_.tempo = bpm;
    time_.flags = hasTempo_ ? (kVstTempoValid | kVstPpqPosValid) : 0;
}

void Instrument::process(float* left, float* right, std::uint32_t frames, const InstrumentEvent* events,
                         std::size_t count) {
    if (!effect_) return;
    std::uint32_t pos = 0;
    std::size_t i = 0;
    do {
        midiCount_ = 0;
        sysexCount_ = 0;
        std::uint32_t end = frames;
        for (; i < count; ++i) {
            const InstrumentEvent& e = events[i];
            // An event out of order, or past the block, plays as soon as it can.
            const std::uint32_t at = std::min(std::max(e.frame, pos), frames ? frames - 1 : 0);
            if (e.kind == InstrumentEvent::kParameter) {
                if (at > pos) {
                    end = at;
                    break;
                }
                setParameter(e.index, e.value);
                if (e.index >= 0 && e.index < param::kCount) reported_[e.index] = parameter(e.index);
            } else if (midiCount_ < kMaxMidiEvents) {
                // Written through a plain pointer: the record declares two slots.
                VstEvent** slots = reinterpret_cast<VstEvents*>(midiList_.data())->events;
                const auto offset = static_cast<VstInt32>(at - pos);
                if (e.kind == InstrumentEvent::kSysEx) {
                    if (!e.sysex || e.sysexSize == 0 || sysexCount_ == kMaxSysExEvents) continue;
                    VstMidiSysexEvent& x = sysex_[sysexCount_++];
                    x = VstMidiSysexEvent{};
                    x.type = kVstSysExType;
                    x.byteSize = sizeof(VstMidiSysexEvent);
                    x.deltaFrames = offset;
                    x.dumpBytes = static_cast<VstInt32>(std::min<std::uint32_t>(e.sysexSize, 0x7FFFFFFF));
                    x.sysexDump = reinterpret_cast<char*>(const_cast<std::uint8_t*>(e.sysex));
                    slots[midiCount_++] = reinterpret_cast<VstEvent*>(&x);
                    continue;
                }
                VstMidiEvent& m = midi_[midiCount_];
                m = VstMidiEvent{};
                m.type = kVstMidiType;
                m.byteSize = sizeof(VstMidiEvent);
                m.deltaFrames = offset;
                std::memcpy(m.midiData, e.midi, 3);
                slots[midiCount_++] = reinterpret_cast<VstEvent*>(&m);
            }
        }
        renderSegment(left ? left + pos : nullptr, right ? right + pos : nullptr, end - pos);
        pos = end;
    } while (pos < frames);
}

void Instrument::renderSegment(float* left, float* right, std::uint32_t frames) {
    if (midiCount_ > 0) {
        auto* list = reinterpret_cast<VstEvents*>(midiList_.data());
        list->numEvents = midiCount_;
        list->reserved = 0;
        dispatch(effProcessEvents, 0, 0, list);
        midiCount_ = 0;
        sysexCount_ = 0;
    }
    if (frames == 0) return;
    float* outputs[2] = {left, right};
    effect_->processReplacing(effect_, nullptr, outputs, static_cast<VstInt32>(frames));
}

bool Instrument::nextChange(int& index, float& value) {
    for (int n = 0; n < param::kCount; ++n) {
        const int i = nextScan_;
        nextScan_ = (nextScan_ + 1) % param::kCount;
        const float v = parameter(i);
        if (std::memcmp(&v, &reported_[i], sizeof v) != 0) {
            reported_[i] = v;
            index = i;
            value = v;
            return true;
        }
    }
    return false;
}

void Instrument::markReported(int index, float value) {
    if (index >= 0 && index < param::kCount) reported_[index] = value;
}

// ---- editor ----------------------------------------------------------------

bool Instrument::hasEditor() const { return effect_ && (effect_->flags & effFlagsHasEditor); }

bool Instrument::editorSize(int& width, int& height) {
    ERect* rect = nullptr;
    if (!hasEditor() || !dispatch(effEditGetRect, 0, 0, &rect) || !rect) return false;
    width = rect->right - rect->left;
    height = rect->bottom - rect->top;
    return true;
}

void Instrument::setEditorScale(double scale) {
    if (!effect_ || !std::isfinite(scale)) return;
    auto* plugin = static_cast<AudioEffect*>(effect_->object);
    // The editor's one entry point for a host's scale, in whole percent.
    if (auto* editor = static_cast<OrvVstEditor*>(plugin ? plugin->getEditor() : nullptr))
        editor->setHostScale(static_cast<int32_t>(std::lround(scale * 100.0)));
}

bool Instrument::openEditor(void* parent) { return hasEditor() && dispatch(effEditOpen, 0, 0, parent) != 0; }

void Instrument::idleEditor() { dispatch(effEditIdle); }

void Instrument::closeEditor() { dispatch(effEditClose); }
