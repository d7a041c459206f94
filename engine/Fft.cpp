#include "engine/Fft.h"

#include <cmath>
#include <utility>

namespace fft {
namespace {

void transform(std::vector<std::complex<double>>& a, double direction) {
    const size_t n = a.size();
    // Bit-reversal permutation, then log2(n) passes of butterflies.
    for (size_t i = 1, j = 0; i < n; ++i) {
        size_t bit = n >> 1;
        for (; j & bit; bit >>= 1) j ^= bit;
        j ^= bit;
        if (i < j) std::swap(a[i], a[j]);
    }
    const double pi = 4.0 * std::atan(1.0);
    for (size_t length = 2; length <= n; length <<= 1) {
        const size_t half = length / 2;
        for (size_t k = 0; k < half; ++k) {
            const double angle = direction * 2.0 * pi * static_cast<double>(k) / static_cast<double>(length);
            const std::complex<double> twiddle(std::cos(angle), std::sin(angle));
            for (size_t start = 0; start < n; start += length) {
                const std::complex<double> even = a[start + k];
                const std::complex<double> odd = a[start + k + half] * twiddle;
                a[start + k] = even + odd;
                a[start + k + half] = even - odd;
            }
        }
    }
}

double besselI0(double x) {
    // Power series of the modified Bessel function of order 0; converges
    // fast for the arguments a Kaiser window uses (at most beta).
    double sum = 1.0, term = 1.0;
    const double quarterSquare = x * x / 4.0;
    for (int k = 1; k < 100 && term > sum * 1e-17; ++k) {
        term *= quarterSquare / (static_cast<double>(k) * static_cast<double>(k));
        sum += term;
    }
    return sum;
}

}  // namespace

double kaiser(double t, double beta) {
    const double inside = 1.0 - t * t;
    return besselI0(beta * std::sqrt(inside > 0.0 ? inside : 0.0)) / besselI0(beta);
}

void forward(std::vector<std::complex<double>>& data) { transform(data, -1.0); }

void inverse(std::vector<std::complex<double>>& data) {
    transform(data, 1.0);
    const double scale = 1.0 / static_cast<double>(data.size());
    for (auto& value : data) value *= scale;
}

}  // namespace fft
