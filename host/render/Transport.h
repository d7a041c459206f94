// Transport: what a render answers to the plug-in's time requests, frame
// by frame, from a MIDI file's tempo map and time signatures.
//
// The tempo changes on the frame nearest its time, as events land; a render
// ends its block there (nextChange), so a plug-in asking for the time at any
// frame of a block gets the tempo of that frame. Positions are counted in
// quarter notes through every tempo before them; bars through the time
// signatures.
#pragma once

#include <cstdint>
#include <vector>

#include "host/render/MidiFile.h"
#include "plugin/vst2.h"

class Transport {
public:
    // tempos and meters in time order; with no tempo, bpm throughout (4/4).
    Transport(const std::vector<MidiTempo>& tempos, const std::vector<MidiMeter>& meters, double bpm,
              double sampleRate);

    // The playing transport at frame: position, tempo, bar and signature.
    void describe(std::int64_t frame, VstTimeInfo& time) const;
    // The first frame after frame at which the tempo or the signature
    // changes; INT64_MAX when none does.
    std::int64_t nextChange(std::int64_t frame) const;

private:
    struct Tempo {
        std::int64_t frame;
        double ppq, bpm;
    };
    struct Meter {
        std::int64_t frame;
        double ppq;
        int numerator, denominator;
    };
    std::vector<Tempo> tempos_;
    std::vector<Meter> meters_;
    double rate_;
};
