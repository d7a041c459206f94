// OrvVst's audio path: MIDI intake, the per-sample release of queued events,
// the block loop and the sample rate. Everything here except setSampleRate
// runs on the host's audio thread and allocates nothing, locks nothing and
// makes no system call; the only call out is the time request to the host at
// a note-on.
#include <cmath>
#include <limits>

#include "engine/DenormalGuard.h"
#include "plugin/OrvVst.h"

namespace {

// The float nearest 1/127: a 7-bit data byte to 0..1 (velocity, controller).
constexpr float kDataByteScale = 0.007874016f;
// The float nearest 2/127: one step of the bend's most significant byte in
// semitones, so the wheel spans about -1 to +1 semitone around 64.
constexpr float kBendStepSemitones = 0.015748031f;
constexpr int kBendCentre = 64;

// Controllers 120..127 are the channel-mode messages (all sound off, reset
// all controllers, local control, all notes off, omni off/on, mono/poly on).
constexpr unsigned char kFirstChannelMode = 120;
constexpr unsigned char kLastChannelMode = 127;

// What the plug-in asks the host for at a note-on; only the tempo is read.
constexpr VstInt32 kTimeRequest = kVstPpqPosValid | kVstTempoValid;

enum Status : int {
    kNoteOff = 0x80,
    kNoteOn = 0x90,
    kControlChange = 0xB0,
    kPitchBend = 0xE0,
};

// The longest an event may hold the queue: one second of audio, rounded up.
VstInt32 oneSecondOfFrames(float rate) {
    const double frames = std::ceil(static_cast<double>(rate));
    return frames >= 2147483647.0 ? 2147483647 : static_cast<VstInt32>(frames);
}

}  // namespace

VstInt32 OrvVst::processEvents(VstEvents* events) { return events_.add(events) ? 1 : 0; }

void OrvVst::processReplacing(float**, float** outputs, VstInt32 sampleFrames) {
    if (!outputs || sampleFrames <= 0) return;
    float* left = outputs[0];
    float* right = outputs[1];
    DenormalGuard flushDenormals;
    // A tuning chosen since the last block; single keys retuned by tuning
    // messages since then give way to it.
    tuningExchange_.take(engine_->tuning());
    engine_->setOscillatorMode(oscillatorMode());
    // The frames between two events render in runs of up to kRun samples:
    // the engine overlaps each sample's work with the one before it inside
    // a run (SynthEngine::render).
    constexpr int kRun = 128;
    float run[kRun];
    for (VstInt32 i = 0; i < sampleFrames;) {
        // Nothing queued and nothing sounding: the rest of the block is what
        // the idle voice gives, silence, and only a queued note-on could
        // change that.
        if (events_.size() == 0 && engine_->idle()) {
            for (VstInt32 j = i; j < sampleFrames; ++j) {
                if (left) left[j] = 0.0f;
                if (right) right[j] = 0.0f;
            }
            return;
        }
        VstMidiEvent event;
        while (events_.takeDue(event)) handleMidiEvent(event);
        const VstInt32 remaining = sampleFrames - i;
        const int n = events_.quietFrames(remaining < kRun ? static_cast<int>(remaining) : kRun);
        for (int j = 0; j < n; ++j) run[j] = 0.0f;  // what an idle voice leaves
        engine_->render(run, n);
        for (int j = 0; j < n; ++j) {
            // A host must never receive NaN or inf.
            const float s = std::isfinite(run[j]) ? run[j] : 0.0f;
            if (left) left[i + j] = s;
            if (right) right[i + j] = s;
        }
        i += n;
    }
}

void OrvVst::setSampleRate(float rate) {
    // The engine divides by the rate: zero, negative or non-finite would
    // poison every unit for good.
    if (!(rate > 0.0f) || !std::isfinite(rate)) return;
    AudioEffectX::setSampleRate(rate);
    engine_->setSampleRate(rate);
    events_.setLongestWait(oneSecondOfFrames(rate));
}

// All 16 channels are treated alike; data bytes count with 7 bits.
void OrvVst::handleMidiEvent(const VstMidiEvent& event) {
    if (event.type == kVstSysExType) {  // a tuning message, read when it came
        events_.takeRetune().applyTo(engine_->tuning());
        return;
    }
    const auto* bytes = reinterpret_cast<const unsigned char*>(event.midiData);
    const int status = bytes[0] & 0xF0;
    const int data1 = bytes[1] & 0x7F;
    const int data2 = bytes[2] & 0x7F;
    switch (status) {
    case kNoteOn:
        if (data2 != 0) {
            passHostTempo();
            engine_->noteOn(data1, static_cast<float>(data2) * kDataByteScale);
            break;
        }
        [[fallthrough]];  // velocity 0 is a note-off
    case kNoteOff:
        engine_->noteOff(data1);  // the release velocity is not used
        break;
    case kControlChange:
        controlChange(data1, data2, bytes[1]);
        break;
    case kPitchBend:
        // The least significant byte is not used.
        engine_->setPitchBend(static_cast<float>(data2 - kBendCentre) * kBendStepSemitones);
        break;
    default:  // pressure, program change, system messages
        break;
    }
}

// Learn first (so the controller that is learned already drives its new
// target), then the mapped parameter, then the channel-mode reset. The maps
// are relaxed atomic stores (LiveBank): a chunk taken at that moment on
// another thread holds the old or the new target.
void OrvVst::controlChange(int controller, int value, unsigned char rawController) {
    const VstInt32 learned = lastChangedParameter();
    const VstInt32 current = getCurrentIndex();
    if (params_.get(param::kControllerLearn) > 0.0f) programs_.setTarget(current, controller, learned);
    if (params_.get(param::kLearnAllPrograms) > 0.0f)
        for (int p = 0; p < kNumPrograms; ++p) programs_.setTarget(p, controller, learned);

    // 0 means unmapped, so parameter 0 cannot be driven. A map loaded from a
    // chunk may hold any number; setParameter ignores those beyond 43.
    const VstInt32 target = programs_.target(current, controller);
    if (target > 0) setParameter(target, static_cast<float>(value) * kDataByteScale);

    // Tested on the unmasked byte: 248 is not controller 120.
    if (rawController >= kFirstChannelMode && rawController <= kLastChannelMode) {
        engine_->allNotesOff();
        events_.clear();  // also the events due later in this block
    }
}

// The synced LFO rates are fixed at note-on, from the tempo of that moment.
// A host without time information, or one whose tempo is no tempo (not a
// positive finite number), leaves the engine with the last tempo it had.
void OrvVst::passHostTempo() {
    const VstTimeInfo* time = getTimeInfo(kTimeRequest);
    if (!time) return;
    const double bpm = time->tempo;
    if (!(bpm > 0.0 && bpm <= std::numeric_limits<float>::max())) return;
    engine_->setTempo(static_cast<float>(bpm));
}
