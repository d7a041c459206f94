// SynthEngine idle: after the release the voice leaves the output exactly
// as it found it, nothing advances while it rests, and the next note wakes
// it from the very next sample.
#include <gtest/gtest.h>

#include <vector>

#include "support/PlainVoice.h"

namespace {

constexpr float kUntouched = 12345.0f;  // a value the voice never writes

// Renders n samples into a buffer preset with kUntouched.
std::vector<float> renderOver(plain::Voice& v, size_t n) {
    std::vector<float> out(n, kUntouched);
    for (float& s : out) v.engine.renderSample(s);
    return out;
}

// Index of the first untouched sample, or -1.
long firstUntouched(const std::vector<float>& x) {
    for (size_t i = 0; i < x.size(); ++i) {
        if (x[i] == kUntouched) return static_cast<long>(i);
    }
    return -1;
}

TEST(EngineIdle, ReleaseEndsInUntouchedOutputAndTheNextNoteWakes) {
    plain::Voice v(choice::OscWave::kSaw);
    EXPECT_EQ(firstUntouched(renderOver(v, 100)), 0) << "idle before the first note";
    v.engine.noteOn(60, 1.0f);
    EXPECT_EQ(firstUntouched(renderOver(v, 4096)), -1) << "every sample written while the key is held";
    v.engine.noteOff(60);
    const std::vector<float> tail = renderOver(v, 8192);
    const long idleFrom = firstUntouched(tail);
    // Release at knob 0 falls from 1 to 0 in about 41 ms.
    EXPECT_GT(idleFrom, 0.030 * plain::kRate) << "the release still sounds";
    EXPECT_LT(idleFrom, 0.050 * plain::kRate) << "and then ends";
    for (size_t i = idleFrom; i < tail.size(); ++i) {
        ASSERT_EQ(tail[i], kUntouched) << "idle stays idle, sample " << i;
    }
    EXPECT_EQ(v.engine.ampEnvelope().level(), 0.0f) << "amplifier at exactly 0";

    v.engine.noteOn(62, 1.0f);
    EXPECT_EQ(firstUntouched(renderOver(v, 4096)), -1) << "the next note sounds from its first sample";
}

TEST(EngineIdle, NothingAdvancesWhileIdle) {
    // Two voices play the same notes; one rests 10000 samples longer in
    // between. Oscillators, filter, LFOs, smoother and random draws all
    // stood still, so the next note renders the same bits.
    auto play = [](plain::Voice& v, size_t rest) {
        v.set(param::kLfo1Rate, 0.6f);
        v.set(param::kLfo1Intensity, 0.8f);
        v.set(param::kLfo1Destination, choice::LfoDestination::kOsc1);
        v.set(param::kResonance, 0.7f);  // the filter draws jitter
        v.set(param::kCutoff, 0.3f);
        v.engine.noteOn(60, 1.0f);
        v.run(3000);
        v.engine.noteOff(60);
        v.run(5000 + rest);
        v.engine.noteOn(64, 0.5f);
        return v.render(3000);
    };
    plain::Voice a(choice::OscWave::kRec), b(choice::OscWave::kRec);
    EXPECT_EQ(play(a, 0), play(b, 10000)) << "a rest changes nothing";
}

}  // namespace
