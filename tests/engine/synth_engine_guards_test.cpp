// SynthEngine against values far outside every domain. The plug-in stores
// parameter values unchanged, so the engine meets any finite float; tempo,
// bend, sample rate and notes come from the host. Nothing may crash, read
// or write outside a table (the sanitizer build checks that on the same
// runs), or make the output non-finite; once the value is back in its
// domain the voice must sound as usual again.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <random>
#include <string>
#include <vector>

#include "support/PlainVoice.h"
#include "measure/SignalProbe.h"

namespace {

constexpr float kWild[] = {1e6f, -1e6f, 0.0f, 1e-30f, -1e-30f, 3e38f, -3e38f};
constexpr float kUsualPeak = 4.0f;  // well above anything a program in range renders

// A program with every section in use: both oscillators, noise-free mix,
// sub-oscillator, warmth, glide, resonance, filter envelope, both LFOs.
struct Busy : plain::Voice {
    Busy() : plain::Voice(choice::OscWave::kRec) {
        const float values[param::kCount] = {
            0.8f, 0.5f, 0.6f, 1.0f, 0.3f, 0.2f, 0.0f, 0.0f, 0.7f, 0.55f, 0.4f,   // 0..10
            0.1f, 0.4f, 0.5f, 0.3f, 2.0f, 0.4f, 0.8f, 0.5f, 0.5f, 0.6f,  0.1f,   // 11..21
            0.3f, 0.5f, 0.3f, 0.1f, 0.4f, 0.7f, 0.2f, 0.7f, 0.5f, 0.0f,  10.0f,  // 22..32
            4.0f, 0.6f, 0.4f, 1.0f, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, 0.0f,  0.0f,   // 33..43
        };
        for (int i = 0; i < param::kCount; ++i) set(i, values[i]);
        engine.setTempo(120.0f);
    }
};

// Renders n samples; fails on the first non-finite one.
void renderFinite(plain::Voice& v, size_t n, const std::string& what) {
    for (float s : v.render(n)) {
        if (!std::isfinite(s)) {
            ADD_FAILURE() << "non-finite output: " << what;
            return;
        }
    }
}

// Every note operation, with rendering in between.
void playPhrase(plain::Voice& v, const std::string& what) {
    v.engine.noteOn(48, 1.0f);
    renderFinite(v, 600, what);
    v.engine.noteOn(60, 0.5f);  // legato
    renderFinite(v, 600, what);
    v.engine.setPitchBend(0.9f);
    v.engine.noteOff(60);  // glides back to 48
    renderFinite(v, 600, what);
    v.engine.noteOff(48);
    renderFinite(v, 300, what);
    v.engine.noteOn(55, 0.8f);  // detached, mode 3 glides
    renderFinite(v, 600, what);
    v.engine.allNotesOff();
    renderFinite(v, 300, what);
}

TEST(EngineGuards, EveryParameterAtEveryWildValue) {
    for (int index = 0; index < param::kCount; ++index) {
        for (float wild : kWild) {
            Busy v;
            const float usual = v.params.get(index);
            v.set(index, wild);
            const std::string what = "parameter " + std::to_string(index) + " at " + std::to_string(wild);
            playPhrase(v, what);
            v.set(index, usual);
            v.engine.noteOn(60, 1.0f);
            // The cutoff smoother has a time constant of 1200 samples: from
            // -1e6 it needs about 1200 x ln 1e6 to come back into range.
            renderFinite(v, index == param::kCutoff ? 24000 : 6000, what);
            const std::vector<float> after = v.render(2048);
            EXPECT_LT(measure::peak(after), kUsualPeak) << "usual level again after " << what;
            EXPECT_GT(measure::rms(after), 1e-3) << "still sounds after " << what;
        }
    }
}

TEST(EngineGuards, AllParametersWildAtOnce) {
    std::mt19937 pick(7);
    std::uniform_int_distribution<size_t> which(0, std::size(kWild) - 1);
    for (int round = 0; round < 200; ++round) {
        Busy v;
        for (int i = 0; i < param::kCount; ++i) v.set(i, kWild[which(pick)]);
        playPhrase(v, "round " + std::to_string(round));
    }
}

TEST(EngineGuards, WildTempoBendAndNotes) {
    for (float tempo : {0.0f, 1e6f, -1e6f, 3e38f, INFINITY, NAN}) {
        Busy v;
        v.set(param::kLfo1KeyTrigger, choice::LfoTrigger::k1_16T);  // the fastest sync, 1/8 of the tempo
        v.set(param::kLfo2KeyTrigger, choice::LfoTrigger::k1_16);
        v.engine.setTempo(tempo);
        playPhrase(v, "tempo " + std::to_string(tempo));
    }
    for (float bend : {1e6f, -1e6f, 3e38f, -3e38f, INFINITY, NAN}) {
        Busy v;
        v.engine.setPitchBend(bend);
        v.engine.noteOn(60, 1.0f);
        renderFinite(v, 2000, "bend " + std::to_string(bend));
    }
    Busy v;
    for (int note : {-1, 128, INT_MIN, INT_MAX}) v.engine.noteOn(note, 1.0f);
    v.engine.noteOn(60, NAN);
    EXPECT_EQ(v.gate(), 0.0f) << "notes outside 0..127 and non-finite velocities are ignored";
    EXPECT_EQ(v.note(), -1.0f) << "no sounding note";
}

TEST(EngineGuards, UnusableSampleRatesAreIgnored) {
    Busy reference, v;
    for (float rate : {0.0f, -44100.0f, INFINITY, NAN}) v.engine.setSampleRate(rate);
    reference.engine.noteOn(60, 1.0f);
    v.engine.noteOn(60, 1.0f);
    EXPECT_EQ(v.render(4096), reference.render(4096)) << "renders as if never asked";
}

}  // namespace
