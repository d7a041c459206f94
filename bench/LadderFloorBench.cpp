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
// stage steps, the feedback subtraction, the output shaper in the loop.
//
// Reported per output sample (two passes through the chain), so it compares
// directly with the voice's ns per sample.
#include <benchmark/benchmark.h>

namespace {

// The stage saturator (a rational tanh(x/2)) and the stage step.
inline float saturate(float x) {
    const float a = x < 0.0f ? -x : x;
    const float p = (a + 3.0f) * a + 6.0f;
    return p * x / (p * a + 12.0f);
}

constexpr float kThermal = 2.49999994e-05f;
constexpr float kStageDrive = 1.6f;

inline float stage(float y, float u, float tune) {
    return y + tune * (saturate(u * kThermal * kStageDrive) - saturate(y * kThermal * kStageDrive));
}

inline float shapeOutput(float x) {
    return x > 0.0f ? x - x * x * x * 0.16686666f : x - x * x * x * 0.15666626f;
}

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
    float y[Stages] = {}, previous = 0.0f, tap = 0.0f, input = 0.5f;
    for (auto _ : state) {
        for (int sub = 0; sub < 2; ++sub) {
            float u = input - kFeedback * tap;
            for (float& s : y) u = s = stage(s, u, kTune);
            if constexpr (Stages == 4)
                tap = shapeOutput((y[Stages - 1] + previous) * 0.5f);
            else
                tap = shapeOutput(previous);
            previous = y[Stages - 1];
        }
        input = -input;
        benchmark::DoNotOptimize(tap);
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK_TEMPLATE(ladderFloor, 4)->Name("LadderFloor/LP 12dB (4 stages), per output sample");
BENCHMARK_TEMPLATE(ladderFloor, 8)->Name("LadderFloor/LP 24dB (8 stages), per output sample");
