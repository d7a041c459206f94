// TuningTable: where each of the 128 MIDI keys sounds.
//
// Each key has a pitch in semitones on the MIDI note scale (69 is 440 Hz,
// the scale pitchToFrequency takes) and a flag saying whether it plays at
// all: a keyboard map may leave keys out. The standard table is twelve-tone
// equal temperament, key n at pitch n exactly, so the voice computes the
// same floats with it as from the note numbers themselves.
//
// A plain value: the voice owns one and reads it on the audio thread;
// whoever chooses a tuning fills another and hands it over whole.
#pragma once

#include <array>
#include <cstdint>

struct TuningTable {
    static constexpr int kKeys = 128;

    std::array<float, kKeys> pitch;
    std::array<std::uint8_t, kKeys> mapped;  // 1: the key plays

    static TuningTable standard() {
        TuningTable t;
        for (int k = 0; k < kKeys; ++k) {
            t.pitch[k] = static_cast<float>(k);
            t.mapped[k] = 1;
        }
        return t;
    }

    static bool isKey(int key) { return key >= 0 && key < kKeys; }

    // A number outside the keys (the voice's "no note yet", -1) sounds at
    // itself, as it would in equal temperament.
    float pitchOf(int key) const { return isKey(key) ? pitch[key] : static_cast<float>(key); }
    bool plays(int key) const { return isKey(key) && mapped[key] != 0; }

    // A key retuned while it sounds moves at once: the voice looks its
    // pitch up every sample.
    void retune(int key, float semitones) {
        if (isKey(key)) pitch[key] = semitones;
    }

    bool operator==(const TuningTable& other) const {
        return pitch == other.pitch && mapped == other.mapped;
    }
};

// Several keys retuned by one message (a MIDI tuning change): keys[i] to
// pitches[i] for i < count. Fixed size, so the audio thread can hold one
// without allocating.
struct TuningChange {
    int count = 0;
    std::array<std::uint8_t, TuningTable::kKeys> keys;
    std::array<float, TuningTable::kKeys> pitches;

    void applyTo(TuningTable& table) const {
        for (int i = 0; i < count; ++i) table.retune(keys[i], pitches[i]);
    }
};
