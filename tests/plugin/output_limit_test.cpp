// The output's last safety limit (+9 dBFS) bounds only what values outside
// their domains can do: no in-range setting of any program reaches it.
// (Presets far out of range are played through orv-host in
// tests/render/render_safety_test.cpp.)
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <random>
#include <vector>

#include "engine/Choices.h"
#include "support/MidiEvents.h"
#include "support/ModuleHost.h"

namespace {

constexpr float kLimit = 2.81838293f;  // +9 dBFS
constexpr VstInt32 kBlock = 441;

// The keyboard at full velocity, legato and detached, a bend, the release:
// the peak of both outputs.
float phrasePeak(ModuleHost& host) {
    float peak = 0.0f;
    const auto play = [&](const std::vector<VstMidiEvent>& events, int blocks) {
        for (int b = 0; b < blocks; ++b) {
            host.sendEvents(b == 0 ? events : std::vector<VstMidiEvent>{});
            const Stereo out = host.renderStereo(kBlock);
            for (std::size_t i = 0; i < out.left.size(); ++i)
                peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
        }
    };
    host.resume();
    int previous = 12;
    for (int note : {24, 36, 48, 60, 72, 84, 96, 108}) {
        play({midi::noteOff(note == 60 ? 0 : 1, previous), midi::noteOn(note == 60 ? 1 : 0, note, 127)}, 30);
        previous = note;
    }
    play({midi::pitchBend(0, 127)}, 10);
    play({midi::noteOff(0, previous)}, 50);
    host.suspend();
    return peak;
}

TEST(OutputLimit, NoInRangeSettingOfAnyProgramReachesIt) {
    ModuleHost host;
    ASSERT_TRUE(host.load(ORV_MODULE_PATH, 44100.0f, kBlock)) << host.error();
    std::mt19937 random(21);
    std::uniform_real_distribution<float> knob(0.0f, 1.0f);
    float loudest = 0.0f;
    for (int program = 0; program < 20; ++program) {
        // The program as it is, with its loud knobs at their ends, and with
        // random settings within every domain (the ends favoured).
        for (int variant = 0; variant < 6; ++variant) {
            host.dispatch(effSetProgram, 0, program);
            for (int p = 0; variant > 0 && p <= param::kSubOscOffset; ++p) {
                const float x = knob(random);
                const float v = x < 0.2f ? 0.0f : x > 0.8f ? 1.0f : (x - 0.2f) / 0.6f;
                const int entries = choice::menuFor(p).count;
                if (entries) host.setParameter(p, std::floor(v * (entries - 1) + 0.5f));
                else if (variant > 1) host.setParameter(p, v);
            }
            if (variant == 1)
                for (int p : {param::kVolume, param::kResonance, param::kCutoff, param::kVolumeSubOsc, param::kFmOsc1})
                    host.setParameter(p, 1.0f);
            const float peak = phrasePeak(host);
            EXPECT_LT(peak, kLimit) << "program " << program << ", variant " << variant;
            loudest = std::max(loudest, peak);
        }
    }
    std::printf("loudest in-range render: %.1f dBFS; the limit is %.1f dBFS\n", 20 * std::log10(loudest),
                20 * std::log10(kLimit));
}

}  // namespace
