// How loud the module can get. Values are stored exactly as given, but a
// value outside its domain makes nothing louder than the settings inside
// it: VOLUME plays as at most 1, and the output never passes the last
// safety limit, which no in-range setting of any program reaches.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "engine/ParamBlock.h"
#include "support/MidiEvents.h"
#include "support/ModuleHost.h"

namespace {

constexpr float kLimit = 2.81838293f;  // +9 dBFS
constexpr VstInt32 kBlock = 441;
constexpr std::size_t kRecord = 1220, kValuesAt = 24;

// Largest entry of each choice's menu; every other parameter is 0..1.
int lastEntry(int index) {
    switch (index) {
    case param::kWaveformOsc1: case param::kLfo1Waveform: case param::kLfo2Waveform: return 4;
    case param::kWaveformOsc2: return 3;
    case param::kPortamentoKeyTrigger: return 2;
    case param::kLfo1Destination: return 10;
    case param::kLfo2Destination: return 9;
    case param::kLfo1KeyTrigger: case param::kLfo2KeyTrigger: return 13;
    case param::kFilterType: case param::kSubOscOffset: return 1;
    default: return 0;
    }
}

// The whole keyboard at full velocity, legato runs and detached notes, a
// bend, then the release: its peak over both outputs.
float phrasePeak(ModuleHost& host) {
    float peak = 0.0f;
    const auto play = [&](std::vector<VstMidiEvent> events, int blocks) {
        for (int b = 0; b < blocks; ++b) {
            host.sendEvents(b == 0 ? events : std::vector<VstMidiEvent>{});
            const Stereo out = host.renderStereo(kBlock);
            for (std::size_t i = 0; i < out.left.size(); ++i)
                peak = std::max({peak, std::fabs(out.left[i]), std::fabs(out.right[i])});
        }
    };
    host.resume();
    int previous = -1;
    for (int note : {24, 36, 48, 60, 72, 84, 96, 108}) {
        std::vector<VstMidiEvent> events{midi::noteOn(0, note, 127)};
        if (previous >= 0 && note != 60) events.push_back(midi::noteOff(1, previous));  // legato
        if (note == 60) events.insert(events.begin(), midi::noteOff(0, previous));       // detached
        play(events, 30);
        previous = note;
    }
    play({midi::pitchBend(0, 127)}, 10);
    play({midi::noteOff(0, previous)}, 50);
    host.suspend();
    return peak;
}

class OutputLimit : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.load(ORV_MODULE_PATH, 44100.0f, kBlock)) << host.error(); }
    ModuleHost host;
};

TEST_F(OutputLimit, NoInRangeSettingOfAnyProgramReachesIt) {
    std::mt19937 random(21);
    std::uniform_real_distribution<float> knob(0.0f, 1.0f);
    float loudest = 0.0f;
    for (int program = 0; program < 20; ++program) {
        // The program as it is, pushed to the loud ends of its knobs, and
        // with random settings drawn within every domain (ends favoured).
        for (int variant = 0; variant < 6; ++variant) {
            host.dispatch(effSetProgram, 0, program);
            if (variant == 1) {
                for (int p : {param::kVolume, param::kResonance, param::kCutoff, param::kVolumeSubOsc,
                              param::kFmOsc1, param::kFmOsc2, param::kWarmthOsc1})
                    host.setParameter(p, p == param::kWarmthOsc1 ? 0.0f : 1.0f);
            } else if (variant > 1) {
                for (int p = 0; p <= param::kSubOscOffset; ++p) {
                    const float x = knob(random);
                    const float v = x < 0.2f ? 0.0f : x > 0.8f ? 1.0f : (x - 0.2f) / 0.6f;
                    const int entries = lastEntry(p);
                    host.setParameter(p, entries ? std::floor(v * entries + 0.5f) : v);
                }
            }
            const float peak = phrasePeak(host);
            EXPECT_LT(peak, kLimit) << "program " << program << ", variant " << variant;
            loudest = std::max(loudest, peak);
        }
    }
    std::printf("loudest in-range render: %.3f (%.1f dBFS); the limit is %.1f dBFS\n", loudest,
                20 * std::log10(loudest), 20 * std::log10(kLimit));
}

// A fresh instance given the bank as a raw chunk plays one held note of
// program p: each starts from the same state, so equal settings give equal
// samples.
std::vector<float> notePlayedBy(const std::vector<unsigned char>& bank, int p, float* storedVolume) {
    ModuleHost fresh;
    EXPECT_TRUE(fresh.load(ORV_MODULE_PATH, 44100.0f, kBlock)) << fresh.error();
    fresh.setChunk(bank, false);
    fresh.dispatch(effSetProgram, 0, p);
    *storedVolume = fresh.getParameter(param::kVolume);
    fresh.resume();
    fresh.sendEvents({midi::noteOn(0, 45, 127)});
    return fresh.render(44100);
}

TEST_F(OutputLimit, OutOfRangeValuesFromAChunkAreKeptButPlayNoLouder) {
    std::vector<unsigned char> bank = host.getChunk(false);
    ASSERT_EQ(bank.size(), 20 * kRecord);
    const auto setValue = [&](int program, int index, float v) {
        std::memcpy(bank.data() + program * kRecord + kValuesAt + 4 * index, &v, 4);
    };
    // Program 0 at full volume, program 1 the same at volume 1000, program
    // 2 at -1000; program 3 with resonance, cutoff and envelope far out.
    const float volumes[] = {1.0f, 1000.0f, -1000.0f, 1000.0f};
    for (int p = 0; p < 4; ++p) {
        std::memcpy(bank.data() + p * kRecord + kValuesAt, bank.data() + kValuesAt, 4 * 44);
        setValue(p, param::kVolume, volumes[p]);
    }
    setValue(3, param::kResonance, 50.0f);
    setValue(3, param::kCutoff, 30.0f);
    setValue(3, param::kSustain, 1e4f);
    setValue(3, param::kAttack, -50.0f);
    setValue(3, param::kFilterContour, 20.0f);

    std::vector<float> full;
    for (int p = 0; p < 4; ++p) {
        float stored = 0.0f;
        const std::vector<float> out = notePlayedBy(bank, p, &stored);
        EXPECT_EQ(stored, volumes[p]) << "program " << p << " keeps its value as given";
        if (p == 0) {
            full = out;
        } else if (p < 3) {
            EXPECT_EQ(out, full) << "volume " << volumes[p] << " plays as 1";
        }
        float peak = 0.0f;
        for (float x : out) peak = std::max(peak, std::fabs(x));
        EXPECT_LE(peak, kLimit) << "program " << p;
        if (p == 3) {
            EXPECT_EQ(peak, kLimit) << "the wild program is held at the limit";
        }
    }
}

}  // namespace
