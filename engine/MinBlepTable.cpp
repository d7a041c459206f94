#include "engine/MinBlepTable.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <vector>

#include "engine/Fft.h"

namespace {

// The generating sinc is band-limited to the host rate's Nyquist frequency:
// one zero crossing every 10 table points, that is every host sample (two
// oscillator steps). This is what gives the step its rise over about six
// oscillator steps (first value above 1 at index 31, peak at 37) and its
// ringing with a 20-point period.
constexpr double kPointsPerZeroCrossing = 10.0;

// 831 points span 41.5 zero crossings on either side of the centre. The
// length and the window's beta were tuned together until the table's
// landmarks (the rise, the peak of about 1.213, the slow ringing still
// about 0.004 deep near index 400) matched the reference step to within
// 0.003 everywhere it was specified.
constexpr int kSincPoints = 831;
constexpr double kKaiserBeta = 6.8;

// Cepstrum length: a power of two at least twice the sinc, so the folded
// cepstrum does not wrap onto itself.
constexpr int kCepstrumSize = 2048;

// log() of a spectral null would be -inf; anything this small is a null.
constexpr double kSpectrumFloor = 1e-30;

using Complex = std::complex<double>;

// Linear-phase prototype: the windowed sinc, centred in the buffer's first
// kSincPoints entries, zero-padded to kCepstrumSize.
std::vector<Complex> windowedSinc() {
    const double pi = 4.0 * std::atan(1.0);
    const double centre = (kSincPoints - 1) / 2.0;
    std::vector<Complex> h(kCepstrumSize, 0.0);
    for (int i = 0; i < kSincPoints; ++i) {
        const double offset = static_cast<double>(i) - centre;
        const double x = pi * offset / kPointsPerZeroCrossing;
        const double sinc = offset == 0.0 ? 1.0 : std::sin(x) / x;
        h[i] = sinc * fft::kaiser(offset / centre, kKaiserBeta);
    }
    return h;
}

// Replaces h by the minimum-phase filter of the same magnitude response:
// the real cepstrum (inverse transform of log |H|) folded onto positive
// quefrencies, exponentiated back into a spectrum.
void makeMinimumPhase(std::vector<Complex>& h) {
    fft::forward(h);
    for (auto& bin : h) bin = std::log(std::max(std::abs(bin), kSpectrumFloor));
    fft::inverse(h);
    const int half = kCepstrumSize / 2;
    for (int i = 1; i < half; ++i) h[i] *= 2.0;
    for (int i = half + 1; i < kCepstrumSize; ++i) h[i] = 0.0;
    fft::forward(h);
    for (auto& bin : h) bin = std::exp(bin);
    fft::inverse(h);
}

}  // namespace

MinBlepTable::MinBlepTable() {
    std::vector<Complex> h = windowedSinc();
    makeMinimumPhase(h);
    // Integrate the impulse into a step and scale it to settle at 1.
    std::vector<double> step(kCepstrumSize);
    double sum = 0.0;
    for (int i = 0; i < kCepstrumSize; ++i) {
        sum += h[i].real();
        step[i] = sum;
    }
    for (int i = 0; i < kSize; ++i) {
        values_[i] = i < kSettledFrom ? static_cast<float>(step[i] / sum) : 1.0f;
    }
}

const MinBlepTable& MinBlepTable::shared() {
    static const MinBlepTable table;
    return table;
}
