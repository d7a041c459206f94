#include "host/render/DemoPhrase.h"

#include <algorithm>

namespace {

struct Note {
    double beat;    // onset, in beats from the start
    double length;  // in beats; beyond the next onset means legato
    int key;
    int velocity;
};

// An 8th lasts half a beat; staccato notes end early, legato ones overlap
// the next note by a fifth of an 8th.
constexpr double kShort = 0.4;
constexpr double kLegato = 0.6;

constexpr Note kPhrase[] = {
    // bar 1: the riff
    {0.0, kShort, 36, 110}, {0.5, kShort, 36, 70}, {1.0, kShort, 48, 100}, {1.5, kShort, 36, 70},
    {2.0, kShort, 43, 110}, {2.5, kLegato, 46, 80}, {3.0, kLegato, 48, 100}, {3.5, kShort, 51, 90},
    // bar 2: the riff answered, ending in a legato climb
    {4.0, kShort, 36, 110}, {4.5, kShort, 36, 70}, {5.0, kShort, 48, 100}, {5.5, kShort, 39, 80},
    {6.0, kLegato, 41, 110}, {6.5, kLegato, 43, 90}, {7.0, kLegato, 46, 100}, {7.5, kShort, 48, 120},
    // bar 3: one held note
    {8.0, 3.5, 60, 100},
    // bar 4: high, then low
    {12.0, 0.25, 72, 100}, {12.5, 0.25, 79, 90}, {13.0, 0.25, 84, 100}, {13.5, 0.25, 75, 90},
    {14.0, 1.5, 24, 127},
};

constexpr std::uint8_t kNoteOn = 0x90;
constexpr std::uint8_t kNoteOff = 0x80;
constexpr std::uint8_t kReleaseVelocity = 64;

}  // namespace

MidiFile demoPhrase(double beatsPerMinute) {
    const double secondsPerBeat = 60.0 / beatsPerMinute;
    MidiFile phrase;
    for (const Note& n : kPhrase) {
        const auto key = static_cast<std::uint8_t>(n.key);
        phrase.events.push_back(
            {n.beat * secondsPerBeat, {kNoteOn, key, static_cast<std::uint8_t>(n.velocity)}});
        phrase.events.push_back(
            {(n.beat + n.length) * secondsPerBeat, {kNoteOff, key, kReleaseVelocity}});
    }
    // At equal times a note-off goes first, so a repeated key is let go
    // before it is struck again.
    std::stable_sort(phrase.events.begin(), phrase.events.end(),
                     [](const MidiFileEvent& a, const MidiFileEvent& b) {
                         if (a.seconds != b.seconds) return a.seconds < b.seconds;
                         return a.bytes[0] == kNoteOff && b.bytes[0] != kNoteOff;
                     });
    phrase.lengthSeconds = phrase.events.back().seconds;
    return phrase;
}
