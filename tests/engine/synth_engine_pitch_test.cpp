// SynthEngine pitch: every oscillator measured from the rendered output
// (the strongest spectral line, refined between bins) against the note
// scale, 440 x 2^((note - 69) / 12).
#include <gtest/gtest.h>

#include <cmath>

#include "support/PlainVoice.h"
#include "measure/SignalProbe.h"

namespace {

using plain::noteHz;

constexpr size_t kSettle = 8192;     // cutoff smoother well open
constexpr size_t kWindow = 1 << 16;  // 1.5 s: bins of 0.67 Hz

// Frequency of the strongest line between lo and hi Hz after note 60.
double measure(plain::Voice& v, double lo, double hi, int note = 60) {
    v.engine.noteOn(note, 1.0f);
    v.run(kSettle);
    return probe::peakFrequency(v.render(kWindow), v.rate, lo, hi);
}

double semitones(double hz, double referenceHz) { return 12.0 * std::log2(hz / referenceHz); }

TEST(EnginePitch, Note60SoundsAtMiddleC) {
    for (choice::OscWave waveform : {choice::OscWave::kSaw, choice::OscWave::kRec, choice::OscWave::kSin}) {
        plain::Voice v(waveform);
        EXPECT_NEAR(measure(v, 100.0, 400.0), noteHz(60), 0.02) << "waveform " << choice::index(waveform);
    }
}

TEST(EnginePitch, TriSoundsAnOctaveUp) {
    plain::Voice v(choice::OscWave::kTri);
    EXPECT_NEAR(measure(v, 100.0, 800.0), noteHz(72), 0.03) << "the tri repeats at twice the note";
}

TEST(EnginePitch, SubOscillatorTwoOrOneOctaveDown) {
    for (float offset : {0.0f, 1.0f}) {
        plain::Voice v;
        v.set(param::kWaveformOsc1, 9.0f);  // outside the menu: oscillator 1 silent
        v.set(param::kVolumeSubOsc, 1.0f);
        v.set(param::kSubOscOffset, offset);
        const double expected = offset == 0.0f ? noteHz(36) : noteHz(48);  // 65.41 Hz, 130.81 Hz
        EXPECT_NEAR(measure(v, 30.0, 200.0), expected, 0.01) << "SUBOSCOFFSET " << offset;
    }
}

TEST(EnginePitch, Osc2CoarseTuneIsWholeSemitones) {
    struct Case {
        float tune;
        double semitones;  // truncate((tune - 0.5) x 24)
    };
    for (const Case& c : {Case{0.0f, -12.0}, Case{1.0f, 12.0}, Case{0.52f, 0.0}, Case{0.3f, -4.0}}) {
        plain::Voice v;
        v.set(param::kVolumeOsc1Osc2, 1.0f);  // oscillator 2 alone
        v.set(param::kTuneOsc2, c.tune);
        EXPECT_NEAR(semitones(measure(v, 50.0, 1000.0), noteHz(60)), c.semitones, 0.002)
            << "TUNEOSC2 " << c.tune;
    }
}

TEST(EnginePitch, FineTuneMasterPitchAndBendAddSemitones) {
    struct Case {
        int index;
        float value;
        double semitones;
    };
    for (const Case& c : {Case{param::kFineTuneOsc2, 1.0f, 1.0}, Case{param::kFineTuneOsc2, 0.25f, -0.5},
                          Case{param::kMasterPitch, 0.0f, -1.0}, Case{param::kMasterPitch, 0.75f, 0.5}}) {
        plain::Voice v;
        v.set(param::kVolumeOsc1Osc2, 1.0f);
        v.set(c.index, c.value);
        EXPECT_NEAR(semitones(measure(v, 100.0, 400.0), noteHz(60)), c.semitones, 0.002)
            << "parameter " << c.index << " at " << c.value;
    }
    plain::Voice v;
    v.engine.setPitchBend(-1.0f);
    EXPECT_NEAR(semitones(measure(v, 100.0, 400.0), noteHz(60)), -1.0, 0.002) << "bend of -1 semitone";
}

}  // namespace
