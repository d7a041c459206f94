// The floor of the voice's speed: the ladder filter's serial chain alone.
//
// Each stage of the four- and eight-stage ladders takes the new value of the
// stage before it, and the resonance loop feeds the last stage back into the
// first, so the stages of one output sample (two oversampled passes) form a
// chain that no processor can shorten: a stage step is about fifty cycles of
// dependent multiplies, adds and one division. Everything else in the voice
// (oscillators, envelopes, each stage's saturator of its own old state) can
// run beside this chain; the chain itself cannot be shortened without
// changing the result. This kernel is that chain and nothing else: the
// engine's own stage steps (ladder::Stages::run), the feedback subtraction,
// the output shaper in the loop; no jitter, no coefficient update, no
// input limit, no gain compensation.
//
// Reported per output sample (two passes through the chain; LP12dB is the
// four-stage ladder, LP24dB the eight-stage one), so it compares directly
// with BM_Render/0 and /1 (voice_bench.cpp; its per_sample counter).
// The eight-stage kernel runs its two passes one after the other; the
// engine runs them side by side (LadderFilter8::processPair), which the
// processor completes sooner, so the LP 24dB voice can come in under it.
#include <benchmark/benchmark.h>

#include "engine/LadderCore.h"

namespace {

// A tune of about a quarter-way step per sub-sample and a feedback gain of
// 2: mid-range values, and an input square at half the output rate, so no
// state settles to a constant.
constexpr float kTune = 0.25f * 40000.0f;
constexpr float kFeedback = 2.0f;

// The feedback tap closes the loop differently in the two ladders. Four
// stages: the shaped average of this call's and the previous call's last
// stage, so every call waits for the one before. Eight stages: the last
// stage one call late, so a call's first stage waits for the call before
// the previous one, and two calls' chains may overlap in the processor.
template <int Stages>
void ladderFloor(benchmark::State& state) {
    ladder::Stages<Stages> chain;
    float previous = 0.0f, tap = 0.0f, input = 0.5f;
    for (auto _ : state) {
        for (int sub = 0; sub < 2; ++sub) {
            float u = input - kFeedback * tap;
            const float last = chain.run(u, kTune);
            if constexpr (Stages == 4)
                tap = ladder::shapeOutput((last + previous) * 0.5f);
            else
                tap = ladder::shapeOutput(previous);
            previous = last;
        }
        input = -input;
        benchmark::DoNotOptimize(tap);
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK_TEMPLATE(ladderFloor, 4)->Name("LadderFloor/LP12dB");
BENCHMARK_TEMPLATE(ladderFloor, 8)->Name("LadderFloor/LP24dB");
