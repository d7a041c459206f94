// SynthEngine note handling: the glide rate, the three glide/retrigger
// modes, gliding back to a remembered note, forgetting it, and the reset.
#include <gtest/gtest.h>

#include <cmath>

#include "support/PlainVoice.h"
#include "measure/SignalProbe.h"

namespace {

using choice::GlideMode;
using choice::index;

// The glide step per output sample the voice announces for PORTAMENTO 0.5
// (the time the editor's readout shows comes from it).
const double kStep = SynthEngine::glideStep(0.5f);

// Renders until the sounding pitch reaches target; returns the samples
// taken, or -1 after limit.
int samplesUntilPitch(plain::Voice& v, float target, int limit) {
    for (int n = 1; n <= limit; ++n) {
        v.run(1);
        if (v.engine.pitch() == target) return n;
    }
    return -1;
}

// A plain voice with PORTAMENTO 0.5 in the given glide/retrigger mode.
struct Gliding : plain::Voice {
    explicit Gliding(GlideMode mode) {
        set(param::kPortamento, 0.5f);
        set(param::kPortamentoKeyTrigger, mode);
    }
};

TEST(EngineGlide, LegatoRisesLinearlyAtTheGlideRate) {
    Gliding v(GlideMode::kMode2);
    v.engine.noteOn(60, 1.0f);
    v.run(100);
    v.engine.noteOn(64, 1.0f);
    v.run(100);
    EXPECT_NEAR(v.engine.pitch(), 60.0 + 100.0 * kStep, 1e-3) << "linear in semitones";
    const int samples = 100 + samplesUntilPitch(v, 64.0f, 1000);
    EXPECT_NEAR(samples, 4.0 / kStep, 1.0) << "4 semitones at the announced rate";
    EXPECT_NEAR(samples, 326, 1) << "about 326 samples at 44.1 kHz";
    v.run(4096);
    EXPECT_NEAR(probe::peakFrequency(v.render(1 << 16), v.rate, 100.0, 600.0), plain::noteHz(64), 0.02)
        << "arrives at note 64";
}

TEST(EngineGlide, ZeroPortamentoJumps) {
    Gliding v(GlideMode::kMode3);
    v.set(param::kPortamento, 0.0f);
    v.engine.noteOn(60, 1.0f);
    v.run(10);
    v.engine.noteOn(64, 1.0f);
    v.run(1);
    EXPECT_EQ(v.engine.pitch(), 64.0f) << "no glide at PORTAMENTO 0";
}

TEST(EngineModes, LegatoRetriggersTheEnvelopesInMode1Only) {
    for (GlideMode mode : {GlideMode::kMode1, GlideMode::kMode2, GlideMode::kMode3}) {
        Gliding v(mode);
        v.set(param::kDecay, 0.8f);  // slow: the attack's top lasts
        v.set(param::kSustain, 0.5f);
        v.set(param::kFilterSustain, 0.5f);
        v.engine.noteOn(60, 1.0f);
        v.run(20000);  // both envelopes at sustain
        const double before = measure::rms(v.render(4096));
        const float filterLevel = v.engine.filterEnvelope().level();
        v.engine.noteOn(64, 1.0f);
        const bool mode1 = mode == GlideMode::kMode1;
        EXPECT_EQ(v.engine.filterEnvelope().level(), mode1 ? 0.0f : filterLevel)
            << "filter envelope restarts from 0 in mode 1, keeps its level otherwise; mode " << index(mode);
        v.run(100);  // past the attack's top
        const double after = measure::rms(v.render(1024));
        if (mode1) {
            EXPECT_GT(after / before, 1.8) << "the level climbs again from sustain 0.5";
        } else {
            EXPECT_NEAR(after / before, 1.0, 0.05) << "the level stays at sustain, mode " << index(mode);
        }
    }
}

TEST(EngineModes, DetachedNotesGlideInMode3Only) {
    for (GlideMode mode : {GlideMode::kMode1, GlideMode::kMode2, GlideMode::kMode3}) {
        Gliding v(mode);
        v.engine.noteOn(60, 1.0f);
        v.run(100);
        v.engine.noteOff(60);
        v.run(100);
        v.engine.noteOn(64, 1.0f);
        v.run(1);
        const double expected = mode == GlideMode::kMode3 ? 60.0 + kStep : 64.0;
        EXPECT_NEAR(v.engine.pitch(), expected, 1e-4) << "first sample of the detached note, mode " << index(mode);
    }
}

TEST(EngineModes, Mode3FirstNoteGlidesUpFromPitchMinusOne) {
    Gliding v(GlideMode::kMode3);
    EXPECT_EQ(v.note(), -1.0f) << "no note before the first";
    v.engine.noteOn(60, 1.0f);
    v.run(1);
    EXPECT_NEAR(v.engine.pitch(), -1.0 + kStep, 1e-4) << "starts from pitch -1";
    EXPECT_NEAR(samplesUntilPitch(v, 60.0f, 10000) + 1, 61.0 / kStep, 2.0)
        << "61 semitones of glide";
}

TEST(EngineNoteOff, ReleasingTheLegatoNoteGlidesBackWithTheGateOn) {
    Gliding v(GlideMode::kMode2);
    v.engine.noteOn(60, 1.0f);
    v.engine.noteOn(64, 1.0f);
    v.run(1000);
    v.engine.noteOff(64);
    EXPECT_EQ(v.gate(), 1.0f) << "60 still held";
    EXPECT_EQ(v.note(), 60.0f) << "sounding note back to 60";
    v.run(100);
    EXPECT_NEAR(v.engine.pitch(), 64.0 - 100.0 * kStep, 1e-3) << "continues from 64, gliding down";
    EXPECT_NEAR(samplesUntilPitch(v, 60.0f, 1000) + 100, 4.0 / kStep, 1.0) << "back at 60";
    v.engine.noteOff(60);
    EXPECT_EQ(v.gate(), 0.0f) << "releasing 60 closes the gate";
}

TEST(EngineNoteOff, OnlyOneEarlierNoteIsRemembered) {
    Gliding v(GlideMode::kMode2);
    v.engine.noteOn(60, 1.0f);  // A
    v.engine.noteOn(64, 1.0f);  // B
    v.engine.noteOn(67, 1.0f);  // C replaces A as the remembered note
    v.engine.noteOff(60);       // not the sounding note: forgets B
    EXPECT_EQ(v.gate(), 1.0f) << "C still sounds";
    EXPECT_EQ(v.note(), 67.0f);
    v.engine.noteOff(67);
    EXPECT_EQ(v.gate(), 0.0f) << "releasing C closes the gate although B is held";
    v.engine.noteOff(64);
    EXPECT_EQ(v.note(), 67.0f) << "releasing B changes nothing";
}

TEST(EngineNoteOff, AllNotesOffReleasesAndForgets) {
    Gliding v(GlideMode::kMode2);
    v.set(param::kPortamento, 0.0f);
    v.engine.setPitchBend(0.5f);
    v.engine.noteOn(60, 1.0f);
    v.engine.noteOn(64, 1.0f);
    v.run(10);
    v.engine.allNotesOff();
    EXPECT_EQ(v.gate(), 0.0f) << "gate closed";
    v.run(1);
    EXPECT_EQ(v.engine.pitch(), 64.0f) << "bend reset to 0";
    v.engine.noteOn(67, 1.0f);
    v.engine.noteOff(67);
    EXPECT_EQ(v.gate(), 0.0f) << "no remembered note to glide back to";
}

}  // namespace
