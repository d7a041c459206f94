// HalfbandDecimator: brings the twice-oversampled stream back to the host
// rate.
//
// An 11-tap half-band low-pass, c3 0 c2 0 c1 c0 c1 0 c2 0 c3, over the
// interleaved sub-samples (a then b of each output sample). In a half-band
// filter every other tap is 0 except the centre, so only the output sample
// that is kept is computed: a polyphase form with five states and four
// distinct coefficients. The taps sum to 1 (unit gain at DC) and the output
// lags the input by five oversampled steps.
#pragma once

class HalfbandDecimator {
public:
    // Audio thread, once per output sample: a, b the two sub-samples.
    float process(float a, float b) {
        const float y = kC3 * a + s4_;
        s4_ = kC2 * a + s3_;
        s3_ = kC1 * a + s2_;
        s2_ = kC0 * b + kC1 * a + s1_;
        s1_ = kC2 * a + s0_;
        s0_ = kC3 * a;
        return y;
    }

private:
    // 173/346, 104/346, -22/346 and 4.5/346 as floats.
    static constexpr float kC0 = 0.5f;
    static constexpr float kC1 = 0.300578028f;
    static constexpr float kC2 = -0.0635838136f;
    static constexpr float kC3 = 0.0130057801f;

    float s0_ = 0.0f, s1_ = 0.0f, s2_ = 0.0f, s3_ = 0.0f, s4_ = 0.0f;
};
