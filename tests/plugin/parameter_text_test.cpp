// Parameter values as a host shows them (effGetParamDisplay and
// effGetParamLabel): short enough for any host, sensible outside the
// domain, and true to what the engine does, measured in renders.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/Choices.h"
#include "engine/ParamBlock.h"
#include "measure/AudioMeasure.h"
#include "support/MidiEvents.h"
#include "support/ModuleHost.h"
#include "support/PlainVoice.h"
#include "measure/SignalProbe.h"

namespace {

constexpr float kRate = 44100.0f;

class ParameterText : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.load(ORV_MODULE_PATH, kRate)) << host.error(); }

    // The display as a number in the label's base unit (Hz, s).
    double shown(VstInt32 index) {
        const std::string display = host.parameterDisplay(index);
        const std::string label = host.parameterLabel(index);
        const double v = std::strtod(display.c_str(), nullptr);
        if (label == "kHz") return v * 1000.0;
        if (label == "ms") return v / 1000.0;
        EXPECT_TRUE(label == "Hz" || label == "s") << "unit " << label;
        return v;
    }

    // Renders a note held for `seconds`, then lets it die away.
    std::vector<float> holdNote(int note, double seconds) {
        host.resume();
        std::vector<float> out = host.render({midi::noteOn(0, note)}, 512);
        const auto total = static_cast<std::size_t>(seconds * kRate);
        while (out.size() < total) {
            const std::vector<float> block = host.render(4096);
            out.insert(out.end(), block.begin(), block.end());
        }
        host.render({midi::noteOff(0, note)}, 512);
        host.setParameter(param::kRelease, 0.0f);
        host.render(static_cast<VstInt32>(kRate));
        return out;
    }

    ModuleHost host;
};

TEST_F(ParameterText, EveryTextFitsEightCharactersForAnyValue) {
    for (float value : {0.0f, 0.001f, 0.5f, 1.0f, 1.7f, -0.3f, 2.0f, 13.0f, 1e30f, -1e30f}) {
        for (VstInt32 i = 0; i < param::kCount; ++i) host.setParameter(i, value);
        for (VstInt32 i = 0; i < param::kCount; ++i) {
            const std::string display = host.parameterDisplay(i);
            EXPECT_FALSE(display.empty()) << host.parameterName(i) << " at " << value;
            EXPECT_LE(display.size(), 8u) << host.parameterName(i) << " at " << value << ": " << display;
            EXPECT_LE(host.parameterLabel(i).size(), 8u) << host.parameterName(i) << " at " << value;
        }
    }
    EXPECT_EQ(host.parameterDisplay(44), "") << "no text for an index outside the table";
}

TEST_F(ParameterText, CutoffShowsWhereTheFilterRings) {
    // Noise through a strongly resonant filter: the spectrum peaks where
    // the loop rings, which is what the display claims.
    for (float type : {0.0f, 1.0f}) {
        for (float cutoff : {0.3f, 0.5f}) {
            plain::setVoice(host, choice::OscWave::kNoise);
            host.setParameter(param::kKeyFollow, 0.0f);
            host.setParameter(param::kFilterType, type);
            host.setParameter(param::kCutoff, cutoff);
            host.setParameter(param::kResonance, 0.9f);
            const double claimed = shown(param::kCutoff);
            const std::vector<float> out = holdNote(48, 2.0);
            const std::vector<float> tail(out.end() - 65536, out.end());
            const double measured = probe::peakFrequency(tail, kRate, 100.0, 20000.0);
            EXPECT_NEAR(claimed, measured, measured * 0.05)
                << "type " << type << ", cutoff " << cutoff << ": shows " << host.parameterDisplay(param::kCutoff)
                << " " << host.parameterLabel(param::kCutoff);
        }
    }
}

TEST_F(ParameterText, AttackShowsTheTimeToFullLevel) {
    for (float attack : {0.5f, 0.8f}) {
        plain::setVoice(host);  // a sine at full sustain
        host.setParameter(param::kAttack, attack);
        const double claimed = shown(param::kAttack);
        const std::vector<float> out = holdNote(81, claimed * 1.5 + 0.2);
        // The attack accelerates towards its end: the sine's amplitude
        // reaches 99 % of its held level within half a percent of the time.
        const std::size_t period = 50;  // 880 Hz is 50.1 samples
        const double held = measure::peak(out, out.size() - 10 * period);
        std::size_t reached = 0;
        while (reached + period < out.size() && measure::peak(out, reached, reached + period) < 0.99 * held)
            reached += period / 5;
        EXPECT_NEAR(claimed, reached / double(kRate), claimed * 0.05)
            << "attack " << attack << " shows " << host.parameterDisplay(param::kAttack);
    }
}

TEST_F(ParameterText, EveryMenuShowsItsEntryText) {
    int menus = 0;
    for (VstInt32 i = 0; i < param::kCount; ++i) {
        const choice::Menu menu = choice::menuFor(i);
        menus += menu.count > 0;
        for (int entry = 0; entry < menu.count; ++entry) {
            host.setParameter(i, float(entry));
            // Entries longer than 8 characters lose their space.
            std::string text = menu.texts[entry];
            if (text.size() > 8) text.erase(text.find(' '), 1);
            EXPECT_EQ(host.parameterDisplay(i), text) << host.parameterName(i) << " entry " << entry;
            EXPECT_EQ(host.parameterLabel(i), "");
        }
        if (menu.count == 0) continue;
        // Past the menu: the engine finds no entry, except in the two menus
        // it reads as "the first entry or not".
        host.setParameter(i, float(menu.count) + 0.5f);
        const bool firstOrNot = i == param::kFilterType || i == param::kSubOscOffset;
        EXPECT_EQ(host.parameterDisplay(i), firstOrNot ? menu.texts[1] : "#" + std::to_string(menu.count))
            << host.parameterName(i) << " past the menu";
    }
    EXPECT_EQ(menus, 11);
    host.setParameter(param::kFilterType, 0.5f);
    EXPECT_EQ(host.parameterDisplay(param::kFilterType), "LP 24dB") << "the engine takes anything but 0 so";
}

TEST_F(ParameterText, RatesFollowTheTempoModeAndSwitchesReadOnOff) {
    host.setParameter(param::kLfo1Rate, 1.0f);
    host.setParameter(param::kLfo1KeyTrigger, 1.0f);  // "none": free-running
    EXPECT_EQ(host.parameterDisplay(param::kLfo1Rate), "20.1") << "20 Hz x 256/255 table steps";
    EXPECT_EQ(host.parameterLabel(param::kLfo1Rate), "Hz");
    host.setParameter(param::kLfo1KeyTrigger, choice::value(choice::LfoTrigger::k1_16T));
    EXPECT_EQ(host.parameterDisplay(param::kLfo1Rate), "1/16T") << "a synced rate shows its note value";
    host.setParameter(param::kControllerLearn, 1.0f);
    EXPECT_EQ(host.parameterDisplay(param::kControllerLearn), "on");
    host.setParameter(param::kControllerLearn, 0.0f);
    EXPECT_EQ(host.parameterDisplay(param::kControllerLearn), "off");
}

TEST_F(ParameterText, VolumeBeyondFullShowsTheFullLevelItPlays) {
    host.setParameter(param::kVolume, 1.0f);
    const std::string full = host.parameterDisplay(param::kVolume);
    host.setParameter(param::kVolume, 1000.0f);
    EXPECT_EQ(host.parameterDisplay(param::kVolume), full);
    EXPECT_EQ(host.getParameter(param::kVolume), 1000.0f) << "stored as given";
}

}  // namespace
