// Cost of one step of each engine unit, called the way the engine calls
// it (oscillators and filters twice per host sample, the rest once), and of
// the start-up work a new plug-in instance does.
#include <benchmark/benchmark.h>

#include "engine/Envelope.h"
#include "engine/LadderFilter4.h"
#include "engine/LadderFilter8.h"
#include "engine/Lfo.h"
#include "engine/MinBlepTable.h"
#include "engine/PulseOsc.h"
#include "engine/SawOsc.h"
#include "engine/SineOsc.h"
#include "engine/TriOsc.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr float kHz = 440.0f;

// state.range(0): FM amount in hundredths.
float fmAmount(const benchmark::State& state) { return static_cast<float>(state.range(0)) / 100.0f; }
// state.range(1) of the edge oscillators: 0 classic, 1 clean.
OscillatorMode modeOf(const benchmark::State& state) {
    return state.range(1) ? OscillatorMode::kClean : OscillatorMode::kClassic;
}

void BM_SawOscStep(benchmark::State& state) {
    SawOsc saw(kRate, MinBlepTable::shared());
    saw.setMode(modeOf(state));
    const float fm = fmAmount(state);
    for (auto _ : state) benchmark::DoNotOptimize(saw.step(kHz, fm));
}
BENCHMARK(BM_SawOscStep)->ArgsProduct({{0, 50}, {0, 1}});

void BM_PulseOscStep(benchmark::State& state) {
    PulseOsc pulse(kRate, MinBlepTable::shared());
    pulse.setMode(modeOf(state));
    const float fm = fmAmount(state);
    for (auto _ : state) benchmark::DoNotOptimize(pulse.step(kHz, fm, 0.3f));
}
BENCHMARK(BM_PulseOscStep)->ArgsProduct({{0, 50}, {0, 1}});

void BM_SineOscStep(benchmark::State& state) {
    SineOsc sine(kRate);
    const float fm = fmAmount(state);
    for (auto _ : state) benchmark::DoNotOptimize(sine.step(kHz, fm));
}
BENCHMARK(BM_SineOscStep)->Arg(0)->Arg(50);

void BM_TriOscStep(benchmark::State& state) {
    TriOsc tri(kRate);
    const float fm = fmAmount(state);
    for (auto _ : state) benchmark::DoNotOptimize(tri.step(kHz, fm));
}
BENCHMARK(BM_TriOscStep)->Arg(0)->Arg(50);

// One sub-sample; the coefficients are updated on every other call, as the
// engine does. state.range(0): 1 for a signal, 0 for silence after a note.
template <typename Filter>
void filterProcess(benchmark::State& state) {
    RandomSource random;
    Filter filter(random);
    const bool signal = state.range(0) != 0;
    for (int i = 0; i < 1000; ++i) {
        float x = 0.4f;
        filter.process(x, 0.3f, 0.5f, true);
    }
    bool update = true;
    float phase = 0.0f;
    for (auto _ : state) {
        phase = phase > 0.5f ? phase - 1.0f : phase + 0.01f;
        float x = signal ? phase : 0.0f;
        filter.process(x, 0.3f, 0.5f, update);
        update = !update;
        benchmark::DoNotOptimize(x);
    }
}
void BM_LadderFilter4Process(benchmark::State& state) { filterProcess<LadderFilter4>(state); }
void BM_LadderFilter8Process(benchmark::State& state) { filterProcess<LadderFilter8>(state); }
BENCHMARK(BM_LadderFilter4Process)->Arg(1)->Arg(0);
BENCHMARK(BM_LadderFilter8Process)->Arg(1)->Arg(0);

void BM_EnvelopeStep(benchmark::State& state) {
    Envelope env(kRate);
    int n = 0;
    for (auto _ : state) {
        // A note every 10000 steps: attack, decay, sustain and release all run.
        const float gate = (n++ / 10000) % 2 ? 0.0f : 1.0f;
        benchmark::DoNotOptimize(env.step(0.3f, 0.5f, gate, 0.6f, 0.4f));
    }
}
BENCHMARK(BM_EnvelopeStep);

// state.range(0): a choice::LfoWave index ("sin" .. "noise").
void BM_LfoRead(benchmark::State& state) {
    RandomSource random;
    Lfo lfo(kRate, random);
    lfo.increment = 256.0f * 5.0f / kRate;
    const auto waveform = static_cast<choice::LfoWave>(state.range(0));
    for (auto _ : state) benchmark::DoNotOptimize(lfo.read(waveform));
}
BENCHMARK(BM_LfoRead)->DenseRange(0, 4);

void BM_RandomSourceNext(benchmark::State& state) {
    RandomSource random;
    for (auto _ : state) benchmark::DoNotOptimize(random.next());
}
BENCHMARK(BM_RandomSourceNext);

// Start-up: the band-limited step table is built once per process, the LFO
// tables once per unit.
void BM_MinBlepTableBuild(benchmark::State& state) {
    for (auto _ : state) {
        MinBlepTable table;
        benchmark::DoNotOptimize(table[37]);
    }
}
BENCHMARK(BM_MinBlepTableBuild)->Unit(benchmark::kMicrosecond);

void BM_LfoConstruct(benchmark::State& state) {
    RandomSource random;
    for (auto _ : state) {
        Lfo lfo(kRate, random);
        benchmark::DoNotOptimize(lfo.read(choice::LfoWave::kSin));
    }
}
BENCHMARK(BM_LfoConstruct)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
