// Modulation routing, heard through the voice: LFO rates (free, and synced
// to the tempo at note-on) measured as the rate of a vibrato on oscillator
// 1, the pitch depth, a rate knob at 0, LFO 1 slowing LFO 2, and the
// restarts at note-on.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "support/PlainVoice.h"
#include "measure/SignalProbe.h"

namespace {

using choice::index;
using choice::LfoWave;
using choice::value;
using Sync = choice::LfoTrigger;
using To = choice::LfoDestination;

// The LFO wraps after 255 of its 256 table steps, so it runs 256/255 times
// faster than its nominal rate.
constexpr double kWrapSpeedUp = 256.0 / 255.0;

// A sine at note 69 with LFO 1 (a sine) on oscillator 1's pitch at
// intensity 0.75: ((0.75 - 0.5) x 2)^5 x 48 = +-1.5 semitones.
struct Vibrato : plain::Voice {
    Vibrato(Sync mode, float rate) {
        set(param::kLfo1Destination, To::kOsc1);
        set(param::kLfo1Waveform, LfoWave::kSin);
        set(param::kLfo1Intensity, 0.75f);
        set(param::kLfo1KeyTrigger, mode);
        set(param::kLfo1Rate, rate);
    }
    // Swing rate (Hz) over 4 s after a note-on at the given tempo.
    double swingRate(float bpm) {
        engine.setTempo(bpm);
        engine.noteOn(69, 1.0f);
        run(4096);
        return measure::modulationFrequency(render(4 * 44100), rate);
    }
};

TEST(ModulationRate, SyncedModesFollowTheTempoAtNoteOn) {
    struct Case {
        Sync mode;
        float bpm;
        double hz;  // tempo x the mode's multiplier
    };
    for (const Case& c :
         {Case{Sync::k1_4, 120.0f, 120.0 / 60.0}, Case{Sync::k1_16, 120.0f, 120.0 / 12.0},
          Case{Sync::k1_4, 90.0f, 90.0 / 60.0}}) {
        Vibrato v(c.mode, 0.0f);  // a synced LFO ignores its rate knob
        EXPECT_NEAR(v.swingRate(c.bpm), c.hz * kWrapSpeedUp, 0.003 * c.hz)
            << "mode " << index(c.mode) << " at " << c.bpm;
    }
}

TEST(ModulationRate, FreeRateIsTwentyHertzTimesTheKnobToTheFourth) {
    for (float knob : {0.5f, 0.75f}) {
        Vibrato v(Sync::kNone, knob);
        const double hz = 20.0 * std::pow(knob, 4.0);
        EXPECT_NEAR(v.swingRate(120.0f), hz * kWrapSpeedUp, 0.003 * hz) << "rate knob " << knob;
    }
}

TEST(ModulationDepth, Intensity075SwingsOneAndAHalfSemitones) {
    Vibrato v(Sync::kNone, 0.5f);
    v.engine.noteOn(69, 1.0f);
    v.run(4096);
    const auto periods = measure::periods(v.render(44100), v.rate);
    const auto [low, high] = std::minmax_element(periods.begin(), periods.end(),
                                                 [](const auto& a, const auto& b) { return a.hz < b.hz; });
    EXPECT_NEAR(12.0 * std::log2(high->hz / 440.0), 1.5, 0.02) << "top of the swing";
    EXPECT_NEAR(12.0 * std::log2(low->hz / 440.0), -1.5, 0.02) << "bottom of the swing";
}

TEST(ModulationDepth, FreeLfo1AtRateZeroModulatesNothing) {
    Vibrato v(Sync::kNone, 0.0f);
    v.set(param::kLfo1Intensity, 1.0f);  // +-48 semitones if it ran
    v.engine.noteOn(69, 1.0f);
    v.run(4096);
    for (const auto& p : measure::periods(v.render(8192), v.rate)) {
        ASSERT_NEAR(p.hz, 440.0, 0.5) << "steady pitch at " << p.at;
    }
}

TEST(ModulationRouting, EachDestinationMovesItsValues) {
    // An LFO standing at the top of its square (v = +1) at intensity 1 adds
    // I^5 = 1 to the cutoff, ((I - 0.5) 2)^5 48 = 48 semitones to a pitch,
    // (v + 1) I^4 / 2 = 1 to an FM amount and v I^4 / 2 = 0.5 to a width.
    struct Moved {
        float cutoff, pitch1, pitch2, fm1, fm2, pw1, pw2;
    };
    const Moved expected[] = {
        {1, 0, 0, 0, 0, 0, 0},        // "cutoff"
        {0, 48, 0, 0, 0, 0, 0},       // "osc1"
        {0, 0, 48, 0, 0, 0, 0},       // "osc2"
        {0, 48, 48, 0, 0, 0, 0},      // "osc1/2"
        {0, 0, 0, 1, 0, 0, 0},        // "osc1 fm"
        {0, 0, 0, 0, 1, 0, 0},        // "osc2 fm"
        {0, 0, 0, 1, 1, 0, 0},        // "osc1/2 fm"
        {0, 0, 0, 0, 0, 0.5f, 0},     // "osc1 pw"
        {0, 0, 0, 0, 0, 0, 0.5f},     // "osc2 pw"
        {0, 0, 0, 0, 0, 0.5f, 0.5f},  // "osc1/2 pw"
        {0, 0, 0, 0, 0, 0, 0},        // "lfo2 rate" (LFO 1 only), none of these
        {0, 0, 0, 0, 0, 0, 0},        // outside the menu
    };
    for (int lfo : {1, 2}) {
        const int offset = lfo == 1 ? 0 : param::kLfo2Intensity - param::kLfo1Intensity;
        for (int destination = 0; destination < 12; ++destination) {
            ParamBlock params;
            params.set(param::kLfo1KeyTrigger, value(Sync::kNone));  // LFO 1 at rate 0: off unless it is the subject
            params.set(param::kLfo2KeyTrigger, value(Sync::kNone));
            params.set(param::kLfo1Intensity + offset, 1.0f);
            params.set(param::kLfo1Rate + offset, 0.5f);
            params.set(param::kLfo1Waveform + offset, value(LfoWave::kRec));
            params.set(param::kLfo1Destination + offset, static_cast<float>(destination));
            RandomSource random;
            Modulation modulation(plain::kRate, random);
            ModulationTargets t{};
            modulation.step(params, t);
            const Moved& e = expected[destination];
            const float got[] = {t.cutoff, t.pitch1, t.pitch2, t.fm1, t.fm2, t.pw1, t.pw2};
            const float want[] = {e.cutoff, e.pitch1, e.pitch2, e.fm1, e.fm2, e.pw1, e.pw2};
            for (int k = 0; k < 7; ++k) {
                EXPECT_EQ(got[k], want[k])
                    << "LFO " << lfo << " destination " << destination << ", value " << k;
            }
        }
    }
}

TEST(ModulationRouting, Lfo1SquareStopsAndStartsLfo2) {
    // LFO 1's square sets LFO 2's rate factor to 1 - (v + 1) / 2: 0 while v
    // is +1 (first half-cycle), 1 while v is -1. An intensity of 2 would
    // push the factor to -31; it stays at 0 and LFO 2 stays in its table.
    for (float intensity : {1.0f, 2.0f}) {
        plain::Voice v;
        v.set(param::kLfo1Destination, To::kLfo2Rate);
        v.set(param::kLfo1Waveform, LfoWave::kRec);
        v.set(param::kLfo1Intensity, intensity);
        v.set(param::kLfo1KeyTrigger, Sync::k1_16);  // 10 Hz at 120 bpm: high for 2196 samples
        v.set(param::kLfo2Rate, 1.0f);                  // 20 Hz free
        v.engine.setTempo(120.0f);
        v.engine.noteOn(69, 1.0f);
        const Lfo& lfo2 = v.engine.modulation().lfo2();
        v.run(2000);
        EXPECT_EQ(lfo2.phase, 0.0f) << "LFO 2 stands while LFO 1 is high, intensity " << intensity;
        v.run(500);
        const float moved = lfo2.phase;
        v.run(1000);
        const double perSample = 20.0 * 256.0 / 44100.0;
        EXPECT_NEAR(lfo2.phase - moved, 1000.0 * perSample, 0.01) << "runs at full rate while LFO 1 is low";
    }
}

TEST(ModulationRestart, NoteOnRestartsTriggeredAndSyncedLfos) {
    for (Sync mode : {Sync::kTrigger, Sync::kNone, Sync::k1_4}) {
        plain::Voice v;
        v.set(param::kLfo1KeyTrigger, mode);
        v.set(param::kLfo2KeyTrigger, mode);
        v.set(param::kLfo1Rate, 0.5f);
        v.set(param::kLfo2Rate, 0.5f);
        v.engine.noteOn(60, 1.0f);
        v.run(1000);
        v.engine.noteOn(62, 1.0f);
        const bool restarts = mode != Sync::kNone;
        EXPECT_EQ(v.engine.modulation().lfo1().phase == 0.0f, restarts) << "LFO 1, mode " << index(mode);
        EXPECT_EQ(v.engine.modulation().lfo2().phase == 0.0f, restarts) << "LFO 2, mode " << index(mode);
    }
}

}  // namespace
