// BenchRunner: plays a BenchSchedule through one plug-in the way a host's
// audio thread does (effProcessEvents, then processReplacing, block after
// block) and measures only those calls.
//
// Time is the calling thread's CPU time (CLOCK_THREAD_CPUTIME_ID), so other
// processes on a shared machine do not count, and denormals are flushed
// around the loop (FTZ and DAZ), as hosts run their audio threads.
//
// One runner per plug-in instance, on the thread that plays it.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "host/bench/BenchSchedule.h"
#include "plugin/vst2.h"

class BenchRunner {
public:
    BenchRunner(AEffect* effect, int blockSize);

    // Plays the schedule with one clock reading at each end; answers the CPU
    // nanoseconds spent. Under callgrind this is the function whose
    // instructions are counted (scripts/callgrind.sh toggles on its name).
    long long playTotal(const BenchSchedule& schedule);

    // Plays the schedule timing every block; blockNs receives one figure per
    // block, with the cost of reading the clock taken off.
    void playBlocks(const BenchSchedule& schedule, std::vector<long long>& blockNs);

    // Plays the schedule and answers a 64-bit FNV-1a hash of every output
    // sample's bytes, channel by channel and block by block. With dump, the
    // first channel is also written there as raw 32-bit floats.
    uint64_t playHashed(const BenchSchedule& schedule, std::FILE* dump);

    // The median cost of one pair of thread-clock readings, in ns.
    static long long clockCost();
    static long long threadNs();

private:
    void playBlock(const BenchBlock& block);

    AEffect* effect_;
    int blockSize_;
    std::vector<float> in_, out_;
    std::vector<float*> inputs_, outputs_;
};
