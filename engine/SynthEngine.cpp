#include "engine/SynthEngine.h"

SynthEngine::SynthEngine(float, ParamBlock& params) : params_(params) {
    params_.set(ParamBlock::kSlotNote, -1.0f);
}
void SynthEngine::setSampleRate(float) {}
void SynthEngine::setTempo(float) {}
void SynthEngine::noteOn(int note, float) {
    params_.set(ParamBlock::kSlotNote, static_cast<float>(note));
    params_.set(ParamBlock::kSlotGate, 1.0f);
}
void SynthEngine::noteOff(int) { params_.set(ParamBlock::kSlotGate, 0.0f); }
void SynthEngine::setPitchBend(float) {}
void SynthEngine::allNotesOff() { params_.set(ParamBlock::kSlotGate, 0.0f); }
void SynthEngine::renderSample(float&) {}
