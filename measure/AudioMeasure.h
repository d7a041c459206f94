// Measurements on rendered audio, for tests that judge a sound by numbers:
// where it starts and stops, how loud it is, its pitch (from its zero
// crossings, period by period or on average), the rate of a modulation, and
// its brightness (spectral centroid). The engine's own probes
// (measure/SignalProbe.h) add windowed spectra and alias searches.
//
// Every function takes a signal and a half-open frame range [from, to); a
// range reaching past the end is cut to the signal.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace measure {

using Signal = std::vector<float>;

inline std::size_t clampEnd(const Signal& x, std::size_t to) { return std::min(to, x.size()); }

// Index of the first / last sample that is not exactly zero, or -1.
inline long firstNonZero(const Signal& x, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    for (std::size_t i = from; i < clampEnd(x, to); ++i)
        if (x[i] != 0.0f) return static_cast<long>(i);
    return -1;
}
inline long lastNonZero(const Signal& x, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    for (std::size_t i = clampEnd(x, to); i > from; --i)
        if (x[i - 1] != 0.0f) return static_cast<long>(i - 1);
    return -1;
}

inline float peak(const Signal& x, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    float p = 0.0f;
    for (std::size_t i = from; i < clampEnd(x, to); ++i) p = std::max(p, std::fabs(x[i]));
    return p;
}

inline double rms(const Signal& x, std::size_t from = 0, std::size_t to = SIZE_MAX) {
    const std::size_t end = clampEnd(x, to);
    if (end <= from) return 0.0;
    double sum = 0.0;
    for (std::size_t i = from; i < end; ++i) sum += double(x[i]) * x[i];
    return std::sqrt(sum / double(end - from));
}

// A ratio of two levels in decibels; a zero ratio is -inf.
inline double db(double ratio) { return 20.0 * std::log10(ratio); }
// Level relative to full scale (1.0); silence is -inf.
inline double dbfs(double level) { return db(level); }

// Times (in frames, interpolated between samples) where the signal crosses
// zero upwards.
inline std::vector<double> upwardCrossings(const Signal& x, std::size_t from = 0,
                                           std::size_t to = SIZE_MAX) {
    std::vector<double> times;
    for (std::size_t i = from + 1; i < clampEnd(x, to); ++i) {
        const float a = x[i - 1], b = x[i];
        if (a < 0.0f && b >= 0.0f) times.push_back(double(i - 1) + a / (a - b));
    }
    return times;
}

// The fundamental of a steady tone with one upward zero crossing per period
// (sine, saw, square), in Hz; 0 when fewer than two periods fit.
inline double frequency(const Signal& x, double rate, std::size_t from = 0,
                        std::size_t to = SIZE_MAX) {
    const std::vector<double> t = upwardCrossings(x, from, to);
    if (t.size() < 3) return 0.0;
    return rate * double(t.size() - 1) / (t.back() - t.front());
}

// A tone's frequency period by period, for a tone with one upward zero
// crossing per period: each period's frequency (Hz) and its midpoint (frame).
struct Period {
    double at;
    double hz;
};
inline std::vector<Period> periods(const Signal& x, double rate, std::size_t from = 0,
                                   std::size_t to = SIZE_MAX) {
    const std::vector<double> t = upwardCrossings(x, from, to);
    std::vector<Period> result;
    for (std::size_t i = 1; i < t.size(); ++i)
        result.push_back({0.5 * (t[i] + t[i - 1]), rate / (t[i] - t[i - 1])});
    return result;
}

// The rate, in Hz, at which the pitch of a frequency-modulated tone swings:
// the times at which its period-by-period frequency rises through its mean
// are timed the same way as a tone's periods. 0 when it does not swing twice.
inline double modulationFrequency(const Signal& x, double rate, std::size_t from = 0,
                                  std::size_t to = SIZE_MAX) {
    const std::vector<Period> p = periods(x, rate, from, to);
    if (p.size() < 3) return 0.0;
    double mean = 0.0;
    for (const Period& q : p) mean += q.hz;
    mean /= double(p.size());
    std::vector<double> swings;
    for (std::size_t i = 1; i < p.size(); ++i) {
        const double a = p[i - 1].hz - mean, b = p[i].hz - mean;
        if (a < 0.0 && b >= 0.0) swings.push_back(p[i - 1].at + (p[i].at - p[i - 1].at) * a / (a - b));
    }
    if (swings.size() < 2) return 0.0;
    return rate * double(swings.size() - 1) / (swings.back() - swings.front());
}

// The power-weighted mean frequency, in Hz, of a Hann-windowed stretch of
// `length` frames starting at `from`: how bright the sound is there.
inline double spectralCentroid(const Signal& x, double rate, std::size_t from,
                               std::size_t length = 2048) {
    if (from + length > x.size() || length < 16) return 0.0;
    const double pi = 3.14159265358979323846;
    std::vector<double> w(length);
    for (std::size_t i = 0; i < length; ++i)
        w[i] = x[from + i] * (0.5 - 0.5 * std::cos(2.0 * pi * double(i) / double(length - 1)));
    double weighted = 0.0, total = 0.0;
    for (std::size_t k = 1; k < length / 2; ++k) {
        // One DFT bin by a rotating phasor: no table, no library.
        const double step = 2.0 * pi * double(k) / double(length);
        double re = 0.0, im = 0.0, c = 1.0, s = 0.0;
        const double cs = std::cos(step), sn = std::sin(step);
        for (std::size_t i = 0; i < length; ++i) {
            re += w[i] * c;
            im -= w[i] * s;
            const double nc = c * cs - s * sn;
            s = s * cs + c * sn;
            c = nc;
        }
        const double power = re * re + im * im;
        weighted += power * double(k) * rate / double(length);
        total += power;
    }
    return total > 0.0 ? weighted / total : 0.0;
}

}  // namespace measure
