// Cost of one output sample of the whole voice through each filter variant,
// rendered alone (SynthEngine::renderSample) and in runs of 128 as the
// plug-in renders the frames between events (SynthEngine::render, each
// sample's front end overlapping the previous sample's filter chain), with a program that uses every section:
// two edge oscillators, the sub-oscillator, warmth, resonance, the filter
// envelope and both LFOs. Flush-to-zero is on, as inside processReplacing.
#include <benchmark/benchmark.h>

#include "engine/DenormalGuard.h"
#include "engine/ParamBlock.h"
#include "engine/SynthEngine.h"

namespace {

// A program that uses every section, with FILTERTYPE filterType (0 "LP
// 12dB", 1 "LP 24dB").
void setProgram(ParamBlock& params, float filterType) {
    const float program[param::kCount] = {
        0.8f, 0.5f, 0.3f, 0.0f, 0.5f, 0.0f, 0.0f, 1.0f, 0.5f, 0.55f, 0.3f,  // 0..10
        0.0f, 0.4f, 0.5f, 0.0f, 1.0f, 0.3f, 0.5f, 0.5f, 0.3f, 0.5f,  0.1f,  // 11..21
        0.4f, 0.3f, 0.3f, 0.0f, 0.3f, 0.8f, 0.3f, 0.6f, 0.4f, 0.0f,  0.0f,  // 22..32
        1.0f, 0.6f, 0.3f, 1.0f, 7.0f, 1.0f, 0.0f, 1.0f, 0.0f, 0.0f,  0.0f,  // 33..43
    };
    for (int i = 0; i < param::kCount; ++i) params.set(i, program[i]);
    params.set(param::kFilterType, filterType);
}

// state.range(0): FILTERTYPE.
void BM_RenderSample(benchmark::State& state) {
    DenormalGuard flushDenormals;
    ParamBlock params;
    setProgram(params, static_cast<float>(state.range(0)));
    SynthEngine engine(44100.0f, params);
    engine.noteOn(45, 1.0f);  // held for the whole run: the voice never idles
    float out = 0.0f;
    for (auto _ : state) {
        engine.renderSample(out);
        benchmark::DoNotOptimize(out);
    }
}
BENCHMARK(BM_RenderSample)->Arg(0)->Arg(1);

// The same per output sample, in runs of 128.
void BM_Render(benchmark::State& state) {
    constexpr int kRun = 128;
    DenormalGuard flushDenormals;
    ParamBlock params;
    setProgram(params, static_cast<float>(state.range(0)));
    SynthEngine engine(44100.0f, params);
    engine.noteOn(45, 1.0f);
    float out[kRun] = {};
    for (auto _ : state) {
        engine.render(out, kRun);
        benchmark::DoNotOptimize(out);
    }
    // The time per output sample, beside the time per run.
    state.counters["per_sample"] =
        benchmark::Counter(kRun, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_Render)->Arg(0)->Arg(1);

}  // namespace
