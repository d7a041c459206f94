// LadderCore: the parts the four- and eight-stage ladder filters share.
//
// A transistor ladder is a chain of one-pole low-pass stages, each driven
// through a soft saturator, inside a global resonance feedback loop. The
// filters work on a normalised cutoff 0..1 with no sample-rate input, so a
// cutoff value means a frequency proportional to the host rate. They run
// twice per host sample; the coefficients are recomputed on the first of
// the two calls only.
#pragma once

#include <cmath>

#include "engine/DspMath.h"
#include "engine/RandomSource.h"

namespace ladder {

// Stage saturator, a rational approximation of tanh(x/2) built from the
// third-order series of e^|x|: odd, about x/2 near 0, tending to +-1.
// |x| by clearing the sign bit (one instruction in the filter's serial
// chain, not a compare and a select); only -0 comes out differently, as +0,
// which gives the same result.
//
// Small arguments, which are all the stages see while the signal stays below
// a few hundred, take the form's own series instead: x (1/2 - x^2/24). It
// leaves out the division, the slowest step of the chain. Below the bound
// the two differ by at most |x|^3/24 relative (4e-8 at 0.01), less than the
// rounding of the rational form itself (about 2e-7). A build with
// ORV_REFERENCE_ARITHMETIC keeps the rational form throughout: the tests
// hold the two builds' renders within -120 dB of each other.
inline float saturate(float x) {
    const float a = std::fabs(x);
#ifndef ORV_REFERENCE_ARITHMETIC
    // The series' next term is x^4/48; its relative size x^3/24 stays
    // below 4.2e-8 up to here.
    constexpr float kSeriesBelow = 0.01f;
    constexpr float kHalf = 0.5f;
    constexpr float kInv24 = 0.0416666679f;  // 1/24
    if (a < kSeriesBelow) return x * (kHalf - x * x * kInv24);
#endif
    const float p = (a + 3.0f) * a + 6.0f;
    return p * x / (p * a + 12.0f);
}

// The stages see the signal scaled by thermal x 1.6 (about 0.00004), so
// they only saturate for magnitudes in the tens of thousands; 1/thermal
// scales the step back up.
constexpr float kInvThermal = 40000.0f;
constexpr float kThermal = 2.49999994e-05f;
constexpr float kStageDrive = 1.6f;

struct Coefficients {
    float acr = 0.0f;   // resonance correction
    float tune = 0.0f;  // stage step: (1 - e^(-fc fcr pi)) / thermal

    // Audio thread, once per host sample. cutoff 0..1.
    void update(float cutoff) {
        const float fc = cutoff * cutoff * kCutoffScale;
        const float fc2 = fc * fc;
        const float fc3 = fc2 * fc;
        // Tuning and resonance corrections fitted over the cutoff range.
        const float fcr = 1.873f * fc3 + 0.4955f * fc2 - 0.649f * fc + 0.9988f;
        acr = -3.9364f * fc2 + 1.8409f * fc + 0.9968f;
        // Fifth-order series of e^x in nested form. At cutoff near 0 it is
        // exactly 1 and the stages stand still; at cutoff 1 it lies below
        // the true exponential, which is part of the filter's tuning.
        const float x = -(fc * fcr * kPi);
        const float e = ((((x * kInv120 + kInv24) * x + kInv6) * x + 0.5f) * x + 1.0f) * x + 1.0f;
        tune = (1.0f - e) * kInvThermal;
    }

    static constexpr float kCutoffScale = 0.63f;  // cutoff 1 gives fc 0.63
    static constexpr float kInv120 = 0.00833333377f;
    static constexpr float kInv24 = 0.0416666679f;
    static constexpr float kInv6 = 0.166666672f;
};

// The stage saturator as a stage sees a value: scaled by thermal x 1.6.
inline float saturateScaled(float x) { return saturate(x * kThermal * kStageDrive); }

// Output shaper: an asymmetric cubic, slightly stronger on the positive
// side. The audible nonlinearity of the filter; it also sits in the
// resonance loop. Loud passages drive it past its peaks (about +-1.4) into
// the falling part of the curve, which is part of the sound. Beyond the
// points where the cubic crosses zero again it would turn the feedback
// around and run the loop away to infinity (inputs of about 3 do that), so
// there the output stays 0. Parameters within their ranges never take the
// filter that far: its inputs stay below 1.5 and the shaper's input below
// about 2.1.
inline float shapeOutput(float x) {
    constexpr float kPositive = 0.16686666f;
    constexpr float kNegative = 0.15666626f;
    // Zero crossings sqrt(1 / coefficient).
    constexpr float kPositiveZero = 2.44802141f;
    constexpr float kNegativeZero = 2.52645898f;
    // Below 1e-6 the cubic term is under half an ulp of x, so x is the exact
    // result; returning it early keeps x^3 out of the denormal range while
    // a signal dies away.
    constexpr float kNoCubicBelow = 1e-6f;
    if (x > 0.0f) {
        if (x < kNoCubicBelow) return x;
        return x < kPositiveZero ? x - x * x * x * kPositive : 0.0f;
    }
    if (x > -kNoCubicBelow) return x;
    return x > -kNegativeZero ? x - x * x * x * kNegative : 0.0f;
}

// The filter input held where every stage computation stays finite. The
// stages are fully saturated long before this bound (S is 0.9998 at the
// scaled input 40), so only non-numbers and overflowing inputs change;
// NaN becomes 0.
inline float limitInput(float u) {
    constexpr float kLimit = 1.0e6f;
    if (u >= -kLimit && u <= kLimit) return u;
    if (u > kLimit) return kLimit;
    return u < -kLimit ? -kLimit : 0.0f;
}

// A stage decaying in silence would end at a denormal value (its scaled
// state underflows and it stops moving). Inside the plug-in's blocks
// DenormalGuard flushes those anyway; the engine also runs without it (its
// tests and benchmarks, processors without SSE), where each step on such a
// value would be the slow kind for as long as the silence lasts. Values
// that small (-400 dB) are 0 as far as anyone can hear.
inline float flushTiny(float x) {
    constexpr float kTiny = 1e-20f;
    return (x < kTiny && x > -kTiny) ? 0.0f : x;
}

// One stage step: moves the state y towards the input u; for small signals
// a one-pole low-pass covering (1 - e) x 0.8 of the distance per call:
//   y + tune x (S(u x thermal x 1.6) - S(y x thermal x 1.6)).
// Takes both saturated terms ready-made (sy for the state, su for the
// input) and takes a state too small to hear to 0.
inline float advance(float y, float sy, float su, float tune) { return flushTiny(y + tune * (su - sy)); }

// Nothing to place between the stages.
struct NothingBetween {
    void operator()(int) const {}
};

// A chain of stages, each stage's saturated state kept beside it. Every new
// stage value is saturated once and serves twice: at once as the next
// stage's input, and on the next call as its own stage's state. That is the
// same value the step would compute again, so the result is unchanged and
// the chain needs one division per stage instead of two.
template <int kCount>
struct Stages {
    float y[kCount] = {};
    float s[kCount] = {};  // saturateScaled(y[k]); S(0) = 0, so zeros match

    // Runs the chain from input u; returns the last stage's new value.
    float run(float u, float tune) { return run(u, tune, NothingBetween{}, 0); }

    // The same, calling between(first + k) after stage k: work that does
    // not depend on the chain, placed there so that the processor computes
    // it while the stage waits for its division.
    template <typename Between>
    float run(float u, float tune, Between&& between, int first) {
        float su = saturateScaled(u);
        for (int k = 0; k < kCount; ++k) {
            y[k] = advance(y[k], s[k], su, tune);
            su = s[k] = saturateScaled(y[k]);
            between(first + k);
        }
        return y[kCount - 1];
    }
};



// Gain compensation for resonance: 1 at r = 0, 0.5 at r = 1.
inline float resonanceGain(float r) { return 1.0f + 3.0f * r - 3.5f * r * r * r; }

// What the chain of one host sample (two calls) takes from outside it: the
// coefficients, the resonance held within 0..1 and both calls' feedback
// jitter. None of it depends on the chain, so it can be made ready while
// the previous sample's chain still runs.
struct Frame {
    Coefficients coefficients;
    float resonance = 0.0f;
    float jitter1 = 1.0f;  // the first call's
    float jitter2 = 1.0f;  // the second call's
};

// What both variants keep besides their stages, and the start of every
// call: inputs held in range, the coefficient update, the jitter draw.
class Core {
public:
    explicit Core(RandomSource& random) : random_(&random) { coefficients.update(0.0f); }

    // Audio thread. Holds cutoff and resonance within 0..1, updates the
    // coefficients if asked and returns this call's feedback jitter,
    // 1 + rand x jitterDepth x cutoff.
    float begin(float& cutoff, float& resonance, bool update, float jitterDepth) {
        cutoff = clampUnit(cutoff);
        resonance = clampUnit(resonance);
        if (update) coefficients.update(cutoff);
        return jitter(cutoff, jitterDepth);
    }

    // Audio thread. The frame of one host sample: what begin gives for its
    // first call (with the update) and then its second, the two jitter
    // draws taken in that order.
    Frame frame(float cutoff, float resonance, float jitterDepth) {
        Frame f;
        cutoff = clampUnit(cutoff);
        f.resonance = clampUnit(resonance);
        f.coefficients.update(cutoff);
        f.jitter1 = jitter(cutoff, jitterDepth);
        f.jitter2 = jitter(cutoff, jitterDepth);
        return f;
    }

    Coefficients coefficients;
    float feedbackTap = 0.0f;  // the last shaped output

private:
    // cutoff already held within 0..1.
    float jitter(float cutoff, float jitterDepth) {
        return 1.0f + static_cast<float>(random_->next()) * jitterDepth * cutoff;
    }

    RandomSource* random_;
};

}  // namespace ladder
