// BenchSchedule: what orv-host bench plays, laid out block by block before
// any timing starts, so the timed loop only hands prepared records to the
// plug-in.
//
// The phrase keeps a monophonic voice busy the way a bass line does: a note
// every 0.5 s, held for 0.4 s, walking up and down three octaves (C2 to C5).
// Idle plays nothing. Stress adds what makes blocks uneven: a burst of
// controller changes every second (controllers 36 and 38, which the factory
// programs map to cutoff and resonance), a pitch-bend sweep and a legato
// second key each second, and a program change every two seconds. The change selects the program being played again: the host's
// request and every parameter it sets are paid for, while the sound, and so
// the cost of the blocks around it, stays comparable (alternating between two
// programs would measure their difference, not a spike).
//
// Events carry sample-exact offsets inside their block, as a host sends them.
#pragma once

#include <vector>

#include "host/core/VstEventList.h"
#include "plugin/vst2.h"

struct BenchPlan {
    enum class Kind { Phrase, Idle };
    Kind kind = Kind::Phrase;
    bool stress = false;
    double sampleRate = 44100.0;
    int blockSize = 256;
    double seconds = 60.0;
    int program = 0;         // the program played, and selected again by stress
};

struct BenchBlock {
    VstEvents* events = nullptr;  // null when the block has none
    int programChange = -1;       // program set before the block, or -1
};

class BenchSchedule {
public:
    explicit BenchSchedule(const BenchPlan& plan);
    BenchSchedule(const BenchSchedule&) = delete;
    BenchSchedule& operator=(const BenchSchedule&) = delete;

    const std::vector<BenchBlock>& blocks() const { return blocks_; }
    int blockSize() const { return blockSize_; }
    long long frames() const { return static_cast<long long>(blocks_.size()) * blockSize_; }
    int noteOns() const { return noteOns_; }

private:
    struct Timed {
        long long frame;
        VstMidiEvent event;
    };
    void addPhrase(const BenchPlan& plan, long long total, std::vector<Timed>& out);
    void addStress(const BenchPlan& plan, long long total, std::vector<Timed>& out);

    int blockSize_;
    int noteOns_ = 0;
    std::vector<BenchBlock> blocks_;
    std::vector<VstMidiEvent> events_;
    // One list per block with events. Each keeps its record where it is
    // when the vector grows.
    std::vector<VstEventList> lists_;
};
