#include "plugin/OrvVst.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "plugin/AEffEditor.h"
#include "plugin/OscillatorRecord.h"
#include "plugin/ParameterText.h"
#include "plugin/StateTrailer.h"

namespace {

constexpr const char* kCapabilities[] = {"receiveVstEvents", "receiveVstMidiEvent",
                                         "receiveVstMidiEvents", "receiveVstSysexEvent",
                                         "receiveVstTimeInfo"};

}  // namespace

OrvVst::OrvVst(audioMasterCallback host, EditorFactory attachEditor)
    : AudioEffectX(host, kNumPrograms, param::kCount) {
    if (attachEditor) attachEditor(this);  // AudioEffect owns and deletes the editor
    engine_ = std::make_unique<SynthEngine>(sampleRate_, params_);
    params_.set(param::kControllerLearn, 0.0f);
    setFlag(effFlagsProgramChunks, true);
    chunkCopy_.fill(initialProgramRecord());
    const ProgramBank& factory = factoryBank();
    for (int p = 0; p < kNumPrograms; ++p) programs_.load(p, factory[p]);
    setUniqueID(kUniqueId);
    setProgram(0);
    setFlag(effFlagsIsSynth, true);
    setFlag(effFlagsCanReplacing, true);
    setNumInputs(0);
    setNumOutputs(2);
    wantEvents(1);
}

OrvVst::~OrvVst() = default;

// ---- parameters ------------------------------------------------------------

void OrvVst::setParameter(VstInt32 index, float value) {
    if (index < 0 || index >= param::kCount) return;
    // The engine could never recover from NaN or inf in its state.
    if (!std::isfinite(value)) return;
    programs_.setValue(getCurrentIndex(), index, value);
    params_.set(index, value);
    lastChangedParam_.store(index, std::memory_order_relaxed);
    if (editor_) editor_->setParameter(index, value);
}

float OrvVst::getParameter(VstInt32 index) {
    return (index >= 0 && index < param::kCount) ? params_.get(index) : 0.0f;
}

void OrvVst::getParameterName(VstInt32 index, char* text) { std::strcpy(text, parameter_text::name(index)); }

void OrvVst::getParameterLabel(VstInt32 index, char* text) {
    char display[parameter_text::kTextSize];
    parameter_text::describe(index, params_, sampleRate_, display, text);
}

void OrvVst::getParameterDisplay(VstInt32 index, char* text) {
    char label[parameter_text::kTextSize];
    parameter_text::describe(index, params_, sampleRate_, text, label);
}

// ---- programs --------------------------------------------------------------

void OrvVst::setProgram(VstInt32 program) {
    if (program < 0 || program >= kNumPrograms) return;
    AudioEffectX::setProgram(program);
    for (int i = 0; i < param::kCount; ++i) setParameter(i, programs_.value(program, i));
}

void OrvVst::setProgramName(char* name) {
    // Longer names are cut to 23 characters; the bytes after the terminator
    // keep what they held.
    programs_.setName(getCurrentIndex(), name);
}

void OrvVst::getProgramName(char* text) {
    const VstInt32 p = getCurrentIndex();
    char name[kProgramNameSize];
    programs_.name(p, name);
    if (std::strcmp(name, "Init") == 0) {
        std::snprintf(text, kProgramNameSize, "%s %d", name, p + 1);
    } else {
        std::memcpy(text, name, std::strlen(name) + 1);
    }
}

bool OrvVst::getProgramNameIndexed(VstInt32, VstInt32 index, char* text) {
    if (index < 0 || index >= kNumPrograms) return false;
    programs_.name(index, text);
    return true;
}

// ---- chunks ----------------------------------------------------------------

VstInt32 OrvVst::getChunk(void** data, bool isPreset) {
    if (!data) return 0;
    if (isPreset) {
        const VstInt32 p = getCurrentIndex();
        programs_.snapshot(p, chunkCopy_[p]);
        *data = &chunkCopy_[p];
        return kProgramChunkSize;
    }
    for (int p = 0; p < kNumPrograms; ++p) programs_.snapshot(p, chunkCopy_[p]);
    // Only what differs from the defaults is saved: a default instance's
    // chunk is the records alone, as hosts have always kept it.
    std::vector<state_trailer::Record> saved;
    const Tuning tuning = this->tuning();
    if (!tuning.isStandard()) saved.push_back({Tuning::kRecordTag, tuning.toRecord()});
    const OscillatorMode mode = oscillatorMode();
    if (mode != OscillatorMode::kClassic) saved.push_back({oscillator_record::kTag, oscillator_record::name(mode)});
    if (saved.empty()) {
        *data = chunkCopy_.data();
        return kBankChunkSize;
    }
    const std::vector<unsigned char> trailer = state_trailer::write(saved);
    const auto* records = reinterpret_cast<const unsigned char*>(chunkCopy_.data());
    bankChunk_.assign(records, records + kBankChunkSize);
    bankChunk_.insert(bankChunk_.end(), trailer.begin(), trailer.end());
    *data = bankChunk_.data();
    return static_cast<VstInt32>(bankChunk_.size());
}

VstInt32 OrvVst::setChunk(void* data, VstInt32 byteSize, bool isPreset) {
    if (!data) return 0;
    // Only whole records of our own size load, and only when every one of
    // them is sound: a rejected chunk leaves every program as it was.
    // A bank may carry a trailer after its records.
    if (isPreset ? byteSize != kProgramChunkSize : byteSize < kBankChunkSize) return 0;
    const auto* bytes = static_cast<const unsigned char*>(data);
    const int count = isPreset ? 1 : kNumPrograms;
    // Copied out first: the host's buffer need not be aligned, and a host
    // could go on writing it while we load.
    ProgramBank records;
    for (int r = 0; r < count; ++r) {
        std::memcpy(&records[r], bytes + r * kProgramChunkSize, sizeof(ProgramRecord));
        if (!isLoadableRecord(records[r])) return 0;
    }
    const VstInt32 current = getCurrentIndex();
    if (isPreset) {
        programs_.load(current, records[0]);
    } else {
        for (int p = 0; p < kNumPrograms; ++p) programs_.load(p, records[p]);
        loadTrailer(bytes + kBankChunkSize, static_cast<std::size_t>(byteSize - kBankChunkSize));
    }
    setProgram(current);
    return 1;
}

// The tuning and oscillator mode saved after a bank's records. No tuning,
// or one that cannot be read, is the standard tuning; no mode is classic,
// and a mode this instrument does not know leaves the one playing.
void OrvVst::loadTrailer(const unsigned char* bytes, std::size_t size) {
    std::vector<state_trailer::Record> records;
    std::string record;
    Tuning tuning;
    // A trailer that does not read leaves records empty: no record at all.
    state_trailer::read(bytes, size, records);
    if (!state_trailer::find(records, Tuning::kRecordTag, record) || !Tuning::fromRecord(record, tuning))
        tuning = Tuning();
    setTuning(tuning);
    OscillatorMode mode = OscillatorMode::kClassic;
    if (!state_trailer::find(records, oscillator_record::kTag, record) || oscillator_record::read(record, mode))
        setOscillatorMode(mode);
}

// ---- tuning ----------------------------------------------------------------

void OrvVst::setTuning(const Tuning& tuning) {
    std::lock_guard<std::mutex> lock(tuningLock_);
    tuning_ = tuning;
    tuningExchange_.publish(tuning_.table);
}

Tuning OrvVst::tuning() const {
    std::lock_guard<std::mutex> lock(tuningLock_);
    return tuning_;
}

// ---- oscillators -----------------------------------------------------------

void OrvVst::setOscillatorMode(OscillatorMode mode) {
    oscillatorMode_.store(static_cast<int>(mode), std::memory_order_relaxed);
}

OscillatorMode OrvVst::oscillatorMode() const {
    return static_cast<OscillatorMode>(oscillatorMode_.load(std::memory_order_relaxed));
}

// ---- identity --------------------------------------------------------------

VstInt32 OrvVst::canDo(const char* text) {
    for (const char* capability : kCapabilities)
        if (std::strcmp(text, capability) == 0) return 1;
    return -1;
}

bool OrvVst::getEffectName(char* text) {
    std::strcpy(text, kEffectName);
    return true;
}

bool OrvVst::getVendorString(char* text) {
    std::strcpy(text, kVendorName);
    return true;
}

bool OrvVst::getProductString(char* text) {
    std::strcpy(text, kEffectName);
    return true;
}
