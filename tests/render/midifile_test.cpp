// The MIDI file reader: timing through tempo maps, running status, and
// malformed files refused without reading past the data.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>
#include <vector>

#include "host/render/MidiFile.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void append(Bytes& b, std::initializer_list<int> v) {
    for (int x : v) b.push_back(static_cast<std::uint8_t>(x));
}

Bytes header(int format, int tracks, int division) {
    Bytes b;
    append(b, {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, format, 0, tracks, division >> 8, division & 0xFF});
    return b;
}

void track(Bytes& file, const Bytes& body) {
    const auto n = body.size();
    append(file, {'M', 'T', 'r', 'k', int(n >> 24), int((n >> 16) & 0xFF), int((n >> 8) & 0xFF),
                  int(n & 0xFF)});
    file.insert(file.end(), body.begin(), body.end());
}

// Format 1 at 480 ticks per quarter: track 0 holds the tempo map (120 bpm,
// then 60 bpm from tick 960), track 1 the notes, partly in running status.
Bytes tempoMapFile() {
    Bytes f = header(1, 2, 480);
    Bytes t0, t1;
    append(t0, {0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20});  // 500000 us per quarter
    append(t0, {0x87, 0x40, 0xFF, 0x51, 0x03, 0x0F, 0x42, 0x40});  // +960: 1000000 us
    append(t0, {0x00, 0xFF, 0x2F, 0x00});
    append(t1, {0x83, 0x60, 0x91, 60, 100});   // tick 480: note on, channel 2
    append(t1, {0x87, 0x40, 60, 0});           // tick 1440: running status, velocity 0
    append(t1, {0x00, 0xE0, 0x00, 0x50});      // pitch bend
    append(t1, {0x00, 0xC0, 0x05});            // program change: one data byte
    append(t1, {0x00, 0xF0, 0x02, 0x7E, 0xF7});  // system exclusive, kept beside
    append(t1, {0x00, 0xF7, 0x01, 0x7E});        // an escape, skipped
    append(t1, {0x83, 0x60, 0xFF, 0x2F, 0x00});  // end of track at tick 1920
    track(f, t0);
    track(f, t1);
    return f;
}

TEST(MidiFile, TicksBecomeSecondsThroughTheTempoMap) {
    const Bytes f = tempoMapFile();
    MidiFile m;
    std::string error;
    ASSERT_TRUE(parseMidiFile(f.data(), f.size(), m, error)) << error;
    ASSERT_EQ(m.events.size(), 4u) << "note on, note on (running status), bend, program change";
    // 480 ticks at 0.5 s per quarter.
    EXPECT_DOUBLE_EQ(m.events[0].seconds, 0.5);
    EXPECT_EQ(m.events[0].bytes[0], 0x91);
    EXPECT_EQ(m.events[0].bytes[1], 60);
    // 960 ticks at 120 bpm, then 480 at 60 bpm: 1.0 s + 1.0 s.
    EXPECT_DOUBLE_EQ(m.events[1].seconds, 2.0);
    EXPECT_EQ(m.events[1].bytes[0], 0x91) << "running status repeats the status byte";
    EXPECT_EQ(m.events[1].bytes[2], 0);
    EXPECT_EQ(m.events[2].bytes[0], 0xE0);
    EXPECT_EQ(m.events[3].bytes[0], 0xC0);
    EXPECT_EQ(m.events[3].bytes[1], 5);
    ASSERT_EQ(m.sysex.size(), 1u) << "the system-exclusive message, not the escape";
    EXPECT_DOUBLE_EQ(m.sysex[0].seconds, 2.0);
    EXPECT_EQ(m.sysex[0].bytes, (std::vector<std::uint8_t>{0xF0, 0x7E, 0xF7})) << "F0, then what the file holds";
    // The end-of-track marker at tick 1920 sets the length: 2.0 s + 480 ticks at 60 bpm.
    EXPECT_DOUBLE_EQ(m.lengthSeconds, 3.0);
}

TEST(MidiFile, FormatZeroWithoutTempoRunsAt120) {
    Bytes f = header(0, 1, 96);
    Bytes t;
    append(t, {0x00, 0x90, 64, 90, 0x60, 0x80, 64, 0, 0x00, 0xFF, 0x2F, 0x00});
    track(f, t);
    MidiFile m;
    std::string error;
    ASSERT_TRUE(parseMidiFile(f.data(), f.size(), m, error)) << error;
    ASSERT_EQ(m.events.size(), 2u);
    EXPECT_DOUBLE_EQ(m.events[1].seconds, 0.5) << "96 ticks = one quarter = 0.5 s at 120 bpm";
}

TEST(MidiFile, MalformedFilesAreRefused) {
    std::string error;
    MidiFile m;
    const Bytes format2 = header(2, 1, 96);
    EXPECT_FALSE(parseMidiFile(format2.data(), format2.size(), m, error)) << "format 2";
    const Bytes noDivision = header(0, 1, 0);
    EXPECT_FALSE(parseMidiFile(noDivision.data(), noDivision.size(), m, error));
    Bytes orphan = header(0, 1, 96);
    track(orphan, Bytes{0x00, 60, 100});
    EXPECT_FALSE(parseMidiFile(orphan.data(), orphan.size(), m, error)) << "data byte first";
    Bytes longVlq = header(0, 1, 96);
    track(longVlq, Bytes{0xFF, 0xFF, 0xFF, 0xFF, 0x7F, 0x90, 60, 100});
    EXPECT_FALSE(parseMidiFile(longVlq.data(), longVlq.size(), m, error)) << "five-byte delta";
    EXPECT_FALSE(parseMidiFile(nullptr, 0, m, error));
}

TEST(MidiFile, EveryTruncationIsHandledWithoutReadingPastTheEnd) {
    const Bytes f = tempoMapFile();
    for (std::size_t n = 0; n < f.size(); ++n) {
        // A copy of exactly n bytes, so the sanitizer build sees any overread.
        const Bytes cut(f.begin(), f.begin() + static_cast<std::ptrdiff_t>(n));
        MidiFile m;
        std::string error;
        parseMidiFile(cut.data(), cut.size(), m, error);
        for (const MidiFileEvent& e : m.events) EXPECT_GE(e.seconds, 0.0);
    }
}

}  // namespace
