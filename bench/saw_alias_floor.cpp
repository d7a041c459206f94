// Prints the alias floor of the raw, twice-oversampled SawOsc: the largest
// component that is not a harmonic, relative to the fundamental, for a
// 1760 Hz and a 5000 Hz saw stepped at 2 x 44100 Hz, next to the same
// measurement of a naive saw (the same phase ramp without the band-limited
// edge). "all" looks up to 44100 Hz, the oversampled stream's Nyquist
// frequency; "audible" up to 22050 Hz, what the decimation to the host rate
// keeps.
#include <cstdio>

#include "engine/SawOsc.h"
#include "measure/SignalProbe.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr double kStreamRate = 2.0 * kRate;
constexpr size_t kLength = 1 << 18;

void report(const char* name, const std::vector<float>& out, double fundamental) {
    const probe::Alias all = probe::largestAlias(out, kStreamRate, fundamental, kStreamRate / 2);
    const probe::Alias audible = probe::largestAlias(out, kStreamRate, fundamental, kRate / 2);
    std::printf("  %-13s all %7.1f dB at %7.0f Hz   audible %7.1f dB at %7.0f Hz\n", name, all.db, all.hz,
                audible.db, audible.hz);
}

}  // namespace

int main() {
    std::printf("SawOsc alias floor at %.0f Hz x 2 (%zu samples, Kaiser window)\n", kRate, kLength);
    for (float hz : {1760.0f, 5000.0f}) {
        SawOsc saw(kRate, MinBlepTable::shared());
        const auto limited = probe::render(kLength, [&] { return saw.step(hz, 0.0f); });
        float phase = 0.0f;
        const auto naive = probe::render(kLength, [&] {
            phase += hz * 0.5f / kRate;
            if (phase >= 1.0f) phase -= 1.0f;
            return phase - 0.5f;
        });
        const double fundamental = probe::peakFrequency(limited, kStreamRate, hz * 0.5, hz * 1.5);
        std::printf("%.0f Hz saw:\n", hz);
        report("band-limited", limited, fundamental);
        report("naive", naive, fundamental);
    }
    return 0;
}
