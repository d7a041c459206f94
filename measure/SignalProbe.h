// SignalProbe: what the engine tests and the alias benchmark need beyond
// the general measurements of measure/AudioMeasure.h: windowed
// spectra, the strongest component and the strongest alias, the reference
// signals (a naive saw) and the hostile inputs the units are tried with.
//
// Spectra use a Kaiser window with beta 20: its side lobes lie below
// -140 dB, far under the alias floors being measured, and its main lobe is
// about 7 bins wide on either side.
#pragma once

#include <algorithm>
#include <cmath>
#include <complex>
#include <limits>
#include <vector>

#include "engine/Fft.h"
#include "measure/AudioMeasure.h"

namespace probe {

constexpr double kWindowBeta = 20.0;
constexpr int kMainLobeBins = 8;  // main-lobe half width plus a margin

// Linear magnitudes of bins 0..N/2, normalised so a full-scale sine at a
// bin centre reads 1. x.size() must be a power of two.
inline std::vector<double> magnitudes(const std::vector<float>& x) {
    const size_t n = x.size();
    std::vector<std::complex<double>> buffer(n);
    double gain = 0.0;
    for (size_t i = 0; i < n; ++i) {
        const double t = 2.0 * static_cast<double>(i) / static_cast<double>(n - 1) - 1.0;
        const double w = fft::kaiser(t, kWindowBeta);
        gain += w;
        buffer[i] = static_cast<double>(x[i]) * w;
    }
    fft::forward(buffer);
    std::vector<double> result(n / 2 + 1);
    for (size_t k = 0; k < result.size(); ++k) result[k] = 2.0 * std::abs(buffer[k]) / gain;
    return result;
}

// Frequency (Hz) of the strongest component between loHz and hiHz,
// refined between bins by a parabola through the log magnitudes.
inline double peakFrequency(const std::vector<float>& x, double rate, double loHz = 1.0, double hiHz = 1e12) {
    const std::vector<double> m = magnitudes(x);
    const double binHz = rate / static_cast<double>(x.size());
    const size_t lo = std::max<size_t>(1, static_cast<size_t>(loHz / binHz));
    const size_t hi = std::min(m.size() - 2, static_cast<size_t>(hiHz / binHz));
    size_t best = lo;
    for (size_t k = lo; k <= hi; ++k) {
        if (m[k] > m[best]) best = k;
    }
    const double a = std::log(m[best - 1]), b = std::log(m[best]), c = std::log(m[best + 1]);
    const double offset = 0.5 * (a - c) / (a - 2.0 * b + c);
    return (static_cast<double>(best) + offset) * binHz;
}

// Level of the component at hz: the largest magnitude within its main lobe.
inline double levelAt(const std::vector<double>& m, double hz, double binHz) {
    const long centre = std::lround(hz / binHz);
    double level = 0.0;
    for (long k = centre - kMainLobeBins; k <= centre + kMainLobeBins; ++k) {
        if (k >= 0 && k < static_cast<long>(m.size())) level = std::max(level, m[k]);
    }
    return level;
}

struct Alias {
    double db;  // relative to the fundamental
    double hz;
};

// Which bins of a spectrum of bins binHz wide lie within the main lobe of
// a harmonic of fundamental (DC counts as the 0th).
inline std::vector<bool> harmonicBins(size_t bins, double binHz, double fundamental) {
    std::vector<bool> harmonic(bins, false);
    const double top = static_cast<double>(bins) * binHz + fundamental;
    for (double h = 0.0; h <= top; h += fundamental) {
        const long centre = std::lround(h / binHz);
        for (long k = centre - kMainLobeBins; k <= centre + kMainLobeBins; ++k) {
            if (k >= 0 && k < static_cast<long>(bins)) harmonic[k] = true;
        }
    }
    return harmonic;
}

// The largest component below maxHz that is not a harmonic of fundamental
// (nor DC): with a periodic waveform, that is the strongest alias.
inline Alias largestAlias(const std::vector<float>& x, double rate, double fundamental, double maxHz) {
    const std::vector<double> m = magnitudes(x);
    const double binHz = rate / static_cast<double>(x.size());
    const std::vector<bool> harmonic = harmonicBins(m.size(), binHz, fundamental);
    Alias worst{-400.0, 0.0};
    const double reference = levelAt(m, fundamental, binHz);
    for (size_t k = 0; k < m.size() && static_cast<double>(k) * binHz <= maxHz; ++k) {
        if (harmonic[k]) continue;
        const double db = measure::db(m[k] / reference);
        if (db > worst.db) worst = {db, static_cast<double>(k) * binHz};
    }
    return worst;
}

// Everything below maxHz that is not a harmonic of fundamental (nor DC),
// as power relative to the harmonics' power below maxHz, in dB.
inline double aliasPowerDb(const std::vector<float>& x, double rate, double fundamental, double maxHz) {
    const std::vector<double> m = magnitudes(x);
    const double binHz = rate / static_cast<double>(x.size());
    const std::vector<bool> harmonic = harmonicBins(m.size(), binHz, fundamental);
    const long dcEnd = kMainLobeBins;  // the DC lobe is neither
    double harmonics = 0.0, aliases = 0.0;
    for (size_t k = static_cast<size_t>(dcEnd) + 1; k < m.size() && static_cast<double>(k) * binHz <= maxHz; ++k)
        (harmonic[k] ? harmonics : aliases) += m[k] * m[k];
    return 10.0 * std::log10(aliases / harmonics);
}

// Each value replaced by the mean of it and the width - 1 values before it.
inline std::vector<float> movingAverage(const std::vector<float>& x, size_t width) {
    std::vector<float> out(x.size(), 0.0f);
    double sum = 0.0;
    for (size_t i = 0; i < x.size(); ++i) {
        sum += x[i];
        if (i >= width) sum -= x[i - width];
        out[i] = static_cast<float>(sum / static_cast<double>(width));
    }
    return out;
}

// Renders n values of step() into a buffer.
template <typename Step>
std::vector<float> render(size_t n, Step step) {
    std::vector<float> out(n);
    for (auto& v : out) v = step();
    return out;
}

// n steps of a naive saw: the oscillators' phase ramp (half the frequency
// per step at sampleRate) without any band-limiting, from -0.5 to +0.5.
inline std::vector<float> naiveSaw(size_t n, float hz, float sampleRate) {
    float phase = 0.0f;
    return render(n, [&] {
        phase += hz * 0.5f / sampleRate;
        if (phase >= 1.0f) phase -= 1.0f;
        return phase - 0.5f;
    });
}

// Frequencies and FM amounts no caller should send: the units must turn
// them into bounded output.
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kWildFrequencies[] = {0.0f, -440.0f, 1e9f, kInf, -kInf, kNaN, 22050.0f, 44100.0f};
constexpr float kWildAmounts[] = {0.0f, 1.0f, 1e30f, kInf, kNaN, -1.0f};

// Runs a fresh unit (make()) for a thousand steps of step(unit, f, fm) at
// every wild combination and returns the largest |output| seen (infinity
// for a NaN).
template <typename Make, typename Step>
float largestOutputUnderWildInputs(Make make, Step step) {
    float largest = 0.0f;
    for (float hz : kWildFrequencies) {
        for (float fm : kWildAmounts) {
            auto unit = make();
            for (int i = 0; i < 1000; ++i) {
                const float v = std::fabs(step(unit, hz, fm));
                if (!(v <= largest)) largest = std::isnan(v) ? kInf : v;
            }
        }
    }
    return largest;
}

}  // namespace probe
