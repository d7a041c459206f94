// The demo phrase: four bars that show a sound off. (Its length at each
// tempo is checked on the rendered files.)
#include <gtest/gtest.h>

#include <map>

#include "host/render/DemoPhrase.h"

namespace {

bool isOn(const MidiFileEvent& e) { return (e.bytes[0] & 0xF0) == 0x90 && e.bytes[2] > 0; }
bool isOff(const MidiFileEvent& e) { return (e.bytes[0] & 0xF0) == 0x80; }

TEST(DemoPhrase, EveryNoteIsReleasedAndEventsAreInTimeOrder) {
    const MidiFile phrase = demoPhrase(120.0);
    std::map<int, int> held;
    double previous = 0.0;
    for (const MidiFileEvent& e : phrase.events) {
        EXPECT_GE(e.seconds, previous) << "time order";
        previous = e.seconds;
        ASSERT_TRUE(isOn(e) || isOff(e)) << "notes only";
        held[e.bytes[1]] += isOn(e) ? 1 : -1;
        EXPECT_GE(held[e.bytes[1]], 0) << "no key released before it is struck";
        EXPECT_LE(held[e.bytes[1]], 1) << "no key struck twice while held";
    }
    for (const auto& [key, count] : held) EXPECT_EQ(count, 0) << "key " << key << " released";
}

TEST(DemoPhrase, ShowsLegatoALongNoteAndBothEndsOfTheKeyboard) {
    const MidiFile phrase = demoPhrase(120.0);
    int sounding = 0, legatoSteps = 0, lowest = 127, highest = 0;
    double longest = 0.0;
    std::map<int, double> struck;
    for (const MidiFileEvent& e : phrase.events) {
        if (isOn(e)) {
            legatoSteps += sounding > 0;
            ++sounding;
            struck[e.bytes[1]] = e.seconds;
            lowest = std::min<int>(lowest, e.bytes[1]);
            highest = std::max<int>(highest, e.bytes[1]);
        } else {
            --sounding;
            longest = std::max(longest, e.seconds - struck[e.bytes[1]]);
        }
    }
    EXPECT_GE(legatoSteps, 4) << "notes struck while another is held (glides, legato)";
    EXPECT_GE(longest, 1.5) << "a held note of more than a bar's half for pads";
    EXPECT_LE(lowest, 24) << "a low note (C1)";
    EXPECT_GE(highest, 84) << "a high note (C6)";
}

}  // namespace
