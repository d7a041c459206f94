// The whole voice, one renderSample call per output sample, on a held note:
// the LP 12dB and LP 24dB paths of the same patch (two saws and the
// sub-oscillator into a resonant filter with envelope and LFO on the
// cutoff), and the idle voice. Compare the LP figures with the ladder floor
// (LadderFloorBench.cpp): the voice can come no closer than the filter's
// serial chain.
#include <benchmark/benchmark.h>

#include "engine/ParamBlock.h"
#include "engine/SynthEngine.h"

namespace {

constexpr float kSampleRate = 44100.0f;

void setPatch(ParamBlock& p, float filterType) {
    p.set(param::kVolume, 0.8f);
    p.set(param::kMasterPitch, 0.5f);
    p.set(param::kWaveformOsc1, 0.0f);   // saw
    p.set(param::kWaveformOsc2, 0.0f);   // saw
    p.set(param::kTuneOsc2, 0.5f);
    p.set(param::kFineTuneOsc2, 0.52f);  // a little detuned
    p.set(param::kVolumeOsc1Osc2, 0.5f);
    p.set(param::kVolumeSubOsc, 0.3f);
    p.set(param::kCutoff, 0.4f);
    p.set(param::kResonance, 0.6f);
    p.set(param::kFilterContour, 0.3f);
    p.set(param::kFilterDecay, 0.5f);
    p.set(param::kFilterSustain, 0.3f);
    p.set(param::kSustain, 1.0f);        // the note holds at full level
    p.set(param::kLfo1Intensity, 0.6f);  // slow sine on the cutoff
    p.set(param::kLfo1Rate, 0.4f);
    p.set(param::kLfo1KeyTrigger, 1.0f);
    p.set(param::kFilterType, filterType);
}

void renderHeldNote(benchmark::State& state, float filterType) {
    ParamBlock params;
    SynthEngine engine(kSampleRate, params);
    setPatch(params, filterType);
    engine.noteOn(48, 0.8f);
    for (auto _ : state) {
        float out = 0.0f;
        engine.renderSample(out);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

void renderIdle(benchmark::State& state) {
    ParamBlock params;
    SynthEngine engine(kSampleRate, params);
    setPatch(params, 1.0f);
    for (auto _ : state) {
        float out = 0.0f;
        engine.renderSample(out);
        benchmark::DoNotOptimize(out);
    }
    state.SetItemsProcessed(state.iterations());
}

}  // namespace

BENCHMARK_CAPTURE(renderHeldNote, lp12, 0.0f)->Name("Voice/renderSample LP 12dB");
BENCHMARK_CAPTURE(renderHeldNote, lp24, 1.0f)->Name("Voice/renderSample LP 24dB");
BENCHMARK(renderIdle)->Name("Voice/renderSample idle");
