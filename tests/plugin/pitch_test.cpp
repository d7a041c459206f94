// Pitch and tempo as the host hears them: measured from the rendered audio
// of the built module, at the host's sample rate and with its tempo.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "engine/ParamBlock.h"
#include "measure/AudioMeasure.h"
#include "support/MidiEvents.h"
#include "support/ModuleHost.h"
#include "support/PlainVoice.h"

namespace {

using namespace midi;

constexpr double kHzTolerance = 0.05;
constexpr float kBendStep = 0.015748031f;  // semitones per step of the bend's MSB

class Pitch : public ::testing::Test {
protected:
    void load(float rate) {
        ASSERT_TRUE(host.load(ORV_MODULE_PATH, rate)) << host.error();
        host.resume();
        plain::setVoice(host);
    }
    // The pitch of one second of sound, after a tenth of a second to settle.
    double measuredHz(const std::vector<VstMidiEvent>& events) {
        const float rate = host.sampleRate();
        const std::vector<float> out = host.render(events, static_cast<VstInt32>(rate * 1.1f));
        return measure::frequency(out, rate, static_cast<std::size_t>(rate * 0.1f));
    }
    ModuleHost host;
};

TEST_F(Pitch, TheBendWheelMovesByItsMostSignificantByte) {
    load(44100.0f);
    const double centre = measuredHz({noteOn(0, 60)});
    for (int msb : {0, 64, 127, 32}) {
        const float bend = static_cast<float>(msb - 64) * kBendStep;
        const double hz = measuredHz({pitchBend(0, msb, 0x55), noteOn(0, 60)});
        EXPECT_NEAR(12.0 * std::log2(hz / centre), bend, 0.001)
            << "bend byte " << msb << " is " << bend << " semitones";
    }
}

// A4 and middle C at the host's rate, and still there after the host sent
// rates that are no rate (the dispatcher answers 0 to each).
TEST_F(Pitch, NotesSoundAtTheirFrequencyAtTheHostsRateAndStaySoAgainstRatesThatAreNoRate) {
    for (float rate : {44100.0f, 48000.0f}) {
        load(rate);
        EXPECT_NEAR(measuredHz({noteOn(0, 69)}), 440.0, kHzTolerance) << "A4 at " << rate << " Hz";
        EXPECT_NEAR(measuredHz({noteOn(0, 60)}), 261.63, kHzTolerance) << "middle C at " << rate << " Hz";
    }
    for (float bad : {0.0f, -44100.0f, std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()})
        EXPECT_EQ(host.dispatch(effSetSampleRate, 0, 0, nullptr, bad), 0) << bad;
    EXPECT_NEAR(measuredHz({noteOn(0, 60)}), 261.63, kHzTolerance)
        << "still tuned for 48000 Hz after rates that are no rate";
}

// LFO 1 synced at "1/4", swinging the pitch of oscillator 1 by +-1.5
// semitones: its rate shows the tempo the plug-in was given at the note-on.
class Tempo : public Pitch {
protected:
    void SetUp() override {
        load(44100.0f);
        host.setParameter(param::kLfo1KeyTrigger, choice::value(choice::LfoTrigger::k1_4));  // tempo / 60 Hz
        host.setParameter(param::kLfo1Destination, choice::value(choice::LfoDestination::kOsc1));
        host.setParameter(param::kLfo1Intensity, 0.75f);    // (0.25 x 2)^5 x 48 = 1.5 semitones
    }
    void answerTempo(double bpm) {
        VstTimeInfo time = host.timeInfo();
        time.tempo = bpm;
        host.setTimeInfo(&time);
    }
    // Plays the note again (a legato note-on restarts the synced LFO) and
    // measures the swing over two and a half seconds.
    double swingHz() {
        const std::vector<float> out = host.render({noteOn(0, 60)}, 44100 * 5 / 2);
        return measure::modulationFrequency(out, 44100.0, 4410);
    }
};

TEST_F(Tempo, ASyncedLfoFollowsTheTempoOfEachNoteOn) {
    answerTempo(120.0);
    EXPECT_NEAR(swingHz(), 2.0, 0.02) << "1/4 at 120 beats per minute";
    answerTempo(90.0);
    EXPECT_NEAR(swingHz(), 1.5, 0.02) << "1/4 at 90";
}

TEST_F(Tempo, AHostWithoutTimeOrTempoLeavesTheLastTempo) {
    answerTempo(120.0);
    EXPECT_NEAR(swingHz(), 2.0, 0.02);
    host.setTimeInfo(nullptr);
    EXPECT_NEAR(swingHz(), 2.0, 0.02) << "no time information: the tempo stays";
    for (double noTempo : {0.0, -120.0, std::numeric_limits<double>::quiet_NaN(),
                           std::numeric_limits<double>::infinity(), 1e300}) {
        answerTempo(noTempo);
        EXPECT_NEAR(swingHz(), 2.0, 0.02) << "answered tempo " << noTempo << " is no tempo";
    }
}

}  // namespace
