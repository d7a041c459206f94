// Envelope: the stage times it takes are the ones it announces (the times
// the editor's readout shows) and the figures musicians know; sustain hold
// with its one-step undershoot, release during attack, the gate rules and
// restarts.
#include "engine/Envelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kRate = 44100.0f;

// Steps the envelope until done(level) holds; returns the number of steps.
template <typename Done>
int stepsUntil(Envelope& env, float a, float d, float gate, float s, float r, Done done, int limit) {
    for (int n = 1; n <= limit; ++n) {
        if (done(env.step(a, d, gate, s, r))) return n;
    }
    return -1;
}

TEST(EnvelopeAttack, TakesAbout7MsAtZeroAnd62MsAtHalfAsAnnounced) {
    struct Case {
        float knob;
        double ms;  // the rounded figure musicians know
    };
    for (const Case& c : {Case{0.0f, 7.2}, Case{0.5f, 62.0}}) {
        Envelope env(kRate);
        const int steps = stepsUntil(
            env, c.knob, 0.0f, 1.0f, 1.0f, 0.0f, [](float l) { return l > 1.0f; }, 100000);
        EXPECT_NEAR(steps, Envelope::attackSeconds(c.knob, kRate) * kRate, 1.0)
            << "the announced attack at knob " << c.knob << ", to the step";
        EXPECT_NEAR(steps / kRate * 1000.0, c.ms, c.ms * 0.02) << "milliseconds at knob " << c.knob;
    }
}

TEST(EnvelopeAttack, TimeScalesWithTheSampleRate) {
    for (float rate : {22050.0f, 96000.0f}) {
        Envelope env(rate);
        const int steps = stepsUntil(
            env, 0.5f, 0.0f, 1.0f, 1.0f, 0.0f, [](float l) { return l > 1.0f; }, 100000);
        EXPECT_NEAR(steps / rate * 1000.0, 62.0, 62.0 * 0.02) << "attack in ms at " << rate << " Hz";
    }
}

TEST(EnvelopeFall, FullDecayTakesAbout28MsAndFullReleaseAbout41MsAtZeroAsAnnounced) {
    struct Case {
        const char* stage;
        float gate;  // 1 decays towards sustain 0, 0 releases
        double announced;
        double ms;   // the rounded figure musicians know
    };
    for (const Case& c : {Case{"decay", 1.0f, Envelope::decaySeconds(0.0f, kRate), 27.6},
                          Case{"release", 0.0f, Envelope::releaseSeconds(0.0f, kRate), 41.4}}) {
        Envelope env(kRate);
        stepsUntil(
            env, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, [](float l) { return l > 1.0f; }, 100000);
        const int steps = stepsUntil(
            env, 0.0f, 0.0f, c.gate, 0.0f, 0.0f, [](float l) { return l <= 0.0f; }, 100000);
        EXPECT_NEAR(steps / kRate, c.announced, c.announced * 0.02) << c.stage << " from 1 to 0 at knob 0";
        EXPECT_NEAR(steps / kRate * 1000.0, c.ms, c.ms * 0.02) << c.stage << " in milliseconds";
    }
}

TEST(EnvelopeFall, DecayHoldsAtSustainAfterUndershootingByAtMostOneStep) {
    for (float sustain : {0.5f, 0.25f, 0.9f}) {
        Envelope env(kRate);
        stepsUntil(
            env, 0.0f, 0.0f, 1.0f, sustain, 0.0f, [](float l) { return l > 1.0f; }, 100000);
        float before = env.level();
        const int steps = stepsUntil(
            env, 0.0f, 0.0f, 1.0f, sustain, 0.0f,
            [&](float l) {
                if (l <= sustain) return true;
                before = l;
                return false;
            },
            100000);
        EXPECT_LT(steps / kRate, 0.01) << "reaches sustain " << sustain << " within a few ms";
        const float held = env.level();
        EXPECT_LE(held, sustain) << "at or below sustain";
        EXPECT_GE(held, sustain - (before - held)) << "by at most the step that crossed it";
        for (int i = 0; i < 44100; ++i) {
            ASSERT_EQ(env.step(0.0f, 0.0f, 1.0f, sustain, 0.0f), held) << "holds, step " << i;
        }
        for (int i = 0; i < 1000; ++i) {
            ASSERT_EQ(env.step(0.0f, 0.0f, 1.0f, 1.0f, 0.0f), held) << "a higher sustain does not raise it";
        }
    }
}

TEST(EnvelopeFall, SlowestReleaseTakesAbout46SecondsFromHalfAsAnnouncedFromFullAndEndsAtExactlyZero) {
    struct Case {
        float sustain;  // where the release starts
        double seconds;
    };
    for (const Case& c : {Case{0.5f, 46.5}, Case{1.0f, Envelope::releaseSeconds(1.0f, kRate)}}) {
        Envelope env(kRate);
        stepsUntil(
            env, 0.0f, 0.0f, 1.0f, c.sustain, 0.0f, [](float l) { return l > 1.0f; }, 100000);
        stepsUntil(
            env, 0.0f, 0.0f, 1.0f, c.sustain, 0.0f, [&](float l) { return l <= c.sustain; }, 100000);
        const int steps = stepsUntil(
            env, 0.0f, 0.0f, 0.0f, c.sustain, 1.0f, [](float l) { return l <= 0.0f; }, 3000000);
        EXPECT_NEAR(steps / kRate, c.seconds, c.seconds * 0.02) << "release at knob 1 from " << c.sustain;
        EXPECT_EQ(env.step(0.0f, 0.0f, 0.0f, c.sustain, 1.0f), 0.0f) << "rests at exactly 0";
    }
}

TEST(EnvelopeGate, ReleaseDuringAttackStartsFromWhereTheAttackGot) {
    Envelope env(kRate);
    for (int i = 0; i < 100; ++i) env.step(0.5f, 0.0f, 1.0f, 1.0f, 0.0f);
    Envelope held(kRate);  // the same attack, key still down
    for (int i = 0; i < 100; ++i) held.step(0.5f, 0.0f, 1.0f, 1.0f, 0.0f);
    const float lastAttack = env.step(0.5f, 0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_EQ(lastAttack, held.step(0.5f, 0.0f, 1.0f, 1.0f, 0.0f)) << "the releasing step still attacks";
    // An envelope past its attack, put at that level, releasing.
    Envelope releasing(kRate);
    stepsUntil(
        releasing, 0.0f, 0.0f, 1.0f, 1.0f, 0.0f, [](float l) { return l > 1.0f; }, 100000);
    releasing.setLevel(lastAttack);
    const float released = env.step(0.5f, 0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_LT(released, lastAttack);
    EXPECT_EQ(released, releasing.step(0.5f, 0.0f, 0.0f, 1.0f, 0.0f)) << "the next step releases from there";
}

TEST(EnvelopeGate, GateOtherThanZeroOrOneHoldsAfterTheAttack) {
    Envelope env(kRate);
    stepsUntil(
        env, 0.0f, 0.0f, 1.0f, 0.2f, 0.0f, [](float l) { return l > 1.0f; }, 100000);
    const float level = env.level();
    for (float gate : {0.5f, 0.999f, 2.0f, -1.0f}) {
        EXPECT_EQ(env.step(0.0f, 0.0f, gate, 0.2f, 0.0f), level) << "gate " << gate << " holds";
    }
}

TEST(EnvelopeRestart, ReturnsToTheAttackFromThePresentLevel) {
    Envelope env(kRate);
    stepsUntil(
        env, 0.0f, 0.0f, 1.0f, 0.3f, 0.0f, [](float l) { return l > 1.0f; }, 100000);
    stepsUntil(
        env, 0.0f, 0.0f, 1.0f, 0.3f, 0.0f, [](float l) { return l <= 0.3f; }, 100000);
    const float held = env.level();
    env.restart();
    Envelope attacking(kRate);  // a new envelope's attack, from the same level
    attacking.setLevel(held);
    const float climbed = env.step(0.0f, 0.0f, 1.0f, 0.3f, 0.0f);
    EXPECT_GT(climbed, held);
    EXPECT_EQ(climbed, attacking.step(0.0f, 0.0f, 1.0f, 0.3f, 0.0f)) << "amplifier retrigger climbs from where it was";
    env.setLevel(0.0f);
    env.restart();
    EXPECT_EQ(env.step(0.0f, 0.0f, 1.0f, 0.3f, 0.0f), Envelope(kRate).step(0.0f, 0.0f, 1.0f, 0.3f, 0.0f))
        << "filter retrigger climbs from 0";
}

TEST(EnvelopeRobustness, AbsurdKnobsKeepTheLevelAFiniteNonNegativeNumber) {
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    for (float knob : {-1e20f, 1e20f, inf, -inf, nan, 1.2f}) {
        Envelope env(kRate);
        for (int i = 0; i < 1000; ++i) {
            const float gate = i < 500 ? 1.0f : 0.0f;
            const float level = env.step(knob, knob, gate, knob, knob);
            ASSERT_TRUE(level >= 0.0f && std::isfinite(level))
                << "knobs at " << knob << " step " << i << ": " << level;
        }
    }
}

}  // namespace
