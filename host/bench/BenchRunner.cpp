#include "host/bench/BenchRunner.h"

#include <algorithm>
#include <cstring>
#include <ctime>

#include "engine/DenormalGuard.h"

namespace {

// Plug-ins may read and write more channels than a stereo instrument has;
// every channel they declare gets a buffer, and at least two.
std::size_t channelsOf(VstInt32 declared) {
    return static_cast<std::size_t>(std::max<VstInt32>(2, declared));
}

constexpr uint64_t kFnvOffset = 14695981039346656037ull;
constexpr uint64_t kFnvPrime = 1099511628211ull;

}  // namespace

BenchRunner::BenchRunner(AEffect* effect, int blockSize)
    : effect_(effect), blockSize_(std::max(1, blockSize)) {
    const std::size_t ins = channelsOf(effect->numInputs), outs = channelsOf(effect->numOutputs);
    const std::size_t frames = static_cast<std::size_t>(blockSize_);
    in_.assign(ins * frames, 0.0f);
    out_.assign(outs * frames, 0.0f);
    for (std::size_t c = 0; c < ins; ++c) inputs_.push_back(in_.data() + c * frames);
    for (std::size_t c = 0; c < outs; ++c) outputs_.push_back(out_.data() + c * frames);
}

long long BenchRunner::threadNs() {
    timespec t;
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<long long>(t.tv_sec) * 1000000000LL + t.tv_nsec;
}

long long BenchRunner::clockCost() {
    constexpr int kPairs = 1001;
    std::vector<long long> costs(kPairs);
    for (long long& c : costs) {
        const long long start = threadNs();
        c = threadNs() - start;
    }
    std::nth_element(costs.begin(), costs.begin() + kPairs / 2, costs.end());
    return costs[kPairs / 2];
}

inline void BenchRunner::playBlock(const BenchBlock& block) {
    if (block.programChange >= 0)
        effect_->dispatcher(effect_, effSetProgram, 0, block.programChange, nullptr, 0.0f);
    if (block.events)
        effect_->dispatcher(effect_, effProcessEvents, 0, 0, block.events, 0.0f);
    effect_->processReplacing(effect_, inputs_.data(), outputs_.data(), blockSize_);
}

__attribute__((noinline)) long long BenchRunner::playTotal(const BenchSchedule& schedule) {
    DenormalGuard flush;
    const long long start = threadNs();
    for (const BenchBlock& block : schedule.blocks()) playBlock(block);
    return threadNs() - start;
}

void BenchRunner::playBlocks(const BenchSchedule& schedule, std::vector<long long>& blockNs) {
    const long long overhead = clockCost();
    blockNs.assign(schedule.blocks().size(), 0);
    DenormalGuard flush;
    std::size_t i = 0;
    for (const BenchBlock& block : schedule.blocks()) {
        const long long start = threadNs();
        playBlock(block);
        blockNs[i++] = std::max(0LL, threadNs() - start - overhead);
    }
}

uint64_t BenchRunner::playHashed(const BenchSchedule& schedule, std::FILE* dump) {
    uint64_t hash = kFnvOffset;
    DenormalGuard flush;
    for (const BenchBlock& block : schedule.blocks()) {
        playBlock(block);
        for (float* channel : outputs_) {
            const auto* bytes = reinterpret_cast<const unsigned char*>(channel);
            for (std::size_t b = 0; b < static_cast<std::size_t>(blockSize_) * sizeof(float); ++b)
                hash = (hash ^ bytes[b]) * kFnvPrime;
        }
        if (dump) std::fwrite(outputs_[0], sizeof(float), static_cast<std::size_t>(blockSize_), dump);
    }
    return hash;
}
