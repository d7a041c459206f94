// Envelope: stage times from the knob rule, sustain hold with its one-step
// undershoot, release during attack, the gate rules and restarts.
#include "engine/Envelope.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

namespace {

constexpr float kRate = 44100.0f;

// Knob k gives h = 0.12 - 0.1 k; the speeds go with h^4.
double h4(double knob) { return std::pow(0.12 - 0.1 * knob, 4.0); }

// Steps the envelope until done(level) holds; returns the number of steps.
template <typename Done>
int stepsUntil(Envelope& env, float a, float d, float gate, float s, float r, Done done, int limit) {
    for (int n = 1; n <= limit; ++n) {
        if (done(env.step(a, d, gate, s, r))) return n;
    }
    return -1;
}

// Attack: the level grows by (level + 0.2) x c per step, c = (1000 / rate)
// x h^4 x 1200, so (level + 0.2) grows geometrically from 0.2 past 1.2:
// ln 6 / ln(1 + c) steps, about ln 6 / (1.2e6 h^4) seconds.
double attackSteps(double knob, double rate) {
    return std::log(6.0) / std::log1p(1000.0 / rate * h4(knob) * 1200.0);
}

// Decay and release: dl/dt = -(l^2 + 0.04) x speed x h^4 per millisecond,
// which takes 5 (atan 5 l0 - atan 5 l1) / (speed h^4) milliseconds.
double fallSeconds(double knob, double speed, double from, double to) {
    return 5.0 * (std::atan(5.0 * from) - std::atan(5.0 * to)) / (speed * 1000.0 * h4(knob));
}

TEST(EnvelopeAttack, TakesAbout7MsAtZeroAnd62MsAtHalf) {
    struct Case {
        float knob;
        double ms;  // the rounded figure musicians know
    };
    for (const Case& c : {Case{0.0f, 7.2}, Case{0.5f, 62.0}}) {
        Envelope env(kRate);
        const int steps = stepsUntil(
            env, c.knob, 0.0f, 1.0f, 1.0f, 0.0f, [](float l) { return l > 1.0f; }, 100000);
        const double expected = attackSteps(c.knob, kRate);
        EXPECT_GE(steps, expected) << "attack at knob " << c.knob;
        EXPECT_LE(steps, expected + 1.0) << "attack at knob " << c.knob;
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

TEST(EnvelopeFall, FullDecayTakesAbout28MsAndFullReleaseAbout41MsAtZero) {
    struct Case {
        const char* stage;
        float gate;    // 1 decays towards sustain 0, 0 releases
        double speed;  // 1200 for decay, 800 for release
        double ms;     // the rounded figure musicians know
    };
    for (const Case& c : {Case{"decay", 1.0f, 1200.0, 27.6}, Case{"release", 0.0f, 800.0, 41.4}}) {
        Envelope env(kRate);
        stepsUntil(
            env, 0.0f, 0.0f, 1.0f, 0.0f, 0.0f, [](float l) { return l > 1.0f; }, 100000);
        const int steps = stepsUntil(
            env, 0.0f, 0.0f, c.gate, 0.0f, 0.0f, [](float l) { return l <= 0.0f; }, 100000);
        const double expected = fallSeconds(0.0, c.speed, 1.0, 0.0) * kRate;
        EXPECT_NEAR(steps, expected, expected * 0.02) << c.stage << " from 1 to 0 at knob 0";
        EXPECT_NEAR(expected / kRate * 1000.0, c.ms, 0.1) << c.stage << ": the rule's own figure";
    }
}

TEST(EnvelopeFall, DecayHoldsAtSustainAfterUndershootingByAtMostOneStep) {
    for (float sustain : {0.5f, 0.25f, 0.9f}) {
        Envelope env(kRate);
        stepsUntil(
            env, 0.0f, 0.0f, 1.0f, sustain, 0.0f, [](float l) { return l > 1.0f; }, 100000);
        const int steps = stepsUntil(
            env, 0.0f, 0.0f, 1.0f, sustain, 0.0f, [&](float l) { return l <= sustain; }, 100000);
        EXPECT_LT(steps / kRate, 0.01) << "reaches sustain " << sustain << " within a few ms";
        const float held = env.level();
        const float oneStep =
            (sustain * sustain + 0.04f) * (1000.0f / kRate) * static_cast<float>(h4(0.0)) * 1200.0f;
        EXPECT_LE(held, sustain) << "at or below sustain";
        EXPECT_GE(held, sustain - oneStep * 1.01f) << "by at most one step";
        for (int i = 0; i < 44100; ++i) {
            ASSERT_EQ(env.step(0.0f, 0.0f, 1.0f, sustain, 0.0f), held) << "holds, step " << i;
        }
        for (int i = 0; i < 1000; ++i) {
            ASSERT_EQ(env.step(0.0f, 0.0f, 1.0f, 1.0f, 0.0f), held) << "a higher sustain does not raise it";
        }
    }
}

TEST(EnvelopeFall, SlowestReleaseFromHalfTakesAbout46SecondsAndEndsAtExactlyZero) {
    Envelope env(kRate);
    stepsUntil(
        env, 0.0f, 0.0f, 1.0f, 0.5f, 0.0f, [](float l) { return l > 1.0f; }, 100000);
    stepsUntil(
        env, 0.0f, 0.0f, 1.0f, 0.5f, 0.0f, [](float l) { return l <= 0.5f; }, 100000);
    const float start = env.level();
    const int steps = stepsUntil(
        env, 0.0f, 0.0f, 0.0f, 0.5f, 1.0f, [](float l) { return l <= 0.0f; }, 3000000);
    const double expected = fallSeconds(1.0, 800.0, start, 0.0);
    EXPECT_NEAR(steps / kRate, expected, expected * 0.02) << "release at knob 1";
    EXPECT_NEAR(expected, 46.5, 0.5) << "the rule's own figure";
    EXPECT_EQ(env.step(0.0f, 0.0f, 0.0f, 0.5f, 1.0f), 0.0f) << "rests at exactly 0";
}

TEST(EnvelopeGate, ReleaseDuringAttackStartsFromWhereTheAttackGot) {
    Envelope env(kRate);
    for (int i = 0; i < 100; ++i) env.step(0.5f, 0.0f, 1.0f, 1.0f, 0.0f);
    const float before = env.level();
    const float c = (1000.0f / kRate) * static_cast<float>(h4(0.5)) * 1200.0f;
    const float lastAttack = env.step(0.5f, 0.0f, 0.0f, 1.0f, 0.0f);
    EXPECT_NEAR(lastAttack, before + (before + 0.2f) * c, 1e-6f) << "the releasing step still attacks";
    const float released = env.step(0.5f, 0.0f, 0.0f, 1.0f, 0.0f);
    const float releaseStep =
        (lastAttack * lastAttack + 0.04f) * (1000.0f / kRate) * static_cast<float>(h4(0.0)) * 800.0f;
    EXPECT_NEAR(released, lastAttack - releaseStep, 1e-6f) << "the next step releases from there";
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
    const float c = (1000.0f / kRate) * static_cast<float>(h4(0.0)) * 1200.0f;
    EXPECT_NEAR(env.step(0.0f, 0.0f, 1.0f, 0.3f, 0.0f), held + (held + 0.2f) * c, 1e-6f)
        << "amplifier retrigger climbs from where it was";
    env.setLevel(0.0f);
    env.restart();
    EXPECT_NEAR(env.step(0.0f, 0.0f, 1.0f, 0.3f, 0.0f), 0.2f * c, 1e-7f) << "filter retrigger climbs from 0";
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
