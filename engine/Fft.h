// Fft: the in-place radix-2 complex FFT, the one the engine and the host use.
//
// Radix2<T> transforms separate real and imaginary arrays: the bit-reversal
// permutation, then log2(n) passes of butterflies whose twiddles it keeps
// pass by pass, in order, so the butterflies run through them (and through
// the arrays) with vector instructions. The engine builds its band-limited
// step table with it in double precision at start-up, and the tests measure
// spectra with it; orv-host's spectrogram uses it in single precision. The
// Kaiser window serves the table and the tests. Not for the audio path:
// it allocates, and lengths must be powers of two.
#pragma once

#include <cmath>
#include <complex>
#include <cstddef>
#include <utility>
#include <vector>

namespace fft {

template <typename T>
class Radix2 {
public:
    // Transforms of up to maxSize points (a power of two). direction -1
    // gives the forward transform, X[k] = sum x[n] e^(-2 pi i n k / N); +1
    // the inverse, unscaled.
    Radix2(std::size_t maxSize, double direction) : cos_(maxSize), sin_(maxSize) {
        const double pi = 4.0 * std::atan(1.0);
        // Pass `half` (butterflies half apart) keeps its twiddles at half - 1.
        for (std::size_t half = 1; half < maxSize; half <<= 1) {
            for (std::size_t k = 0; k < half; ++k) {
                const double angle = direction * 2.0 * pi * static_cast<double>(k) / static_cast<double>(2 * half);
                cos_[half - 1 + k] = static_cast<T>(std::cos(angle));
                sin_[half - 1 + k] = static_cast<T>(std::sin(angle));
            }
        }
    }

    // n points (a power of two, at most maxSize) of re and im, in place.
    void transform(T* re, T* im, std::size_t n) const {
        for (std::size_t i = 1, j = 0; i < n; ++i) {
            std::size_t bit = n >> 1;
            for (; j & bit; bit >>= 1) j ^= bit;
            j ^= bit;
            if (i < j) {
                std::swap(re[i], re[j]);
                std::swap(im[i], im[j]);
            }
        }
        for (std::size_t half = 1; half < n; half <<= 1) {
            for (std::size_t s = 0; s < n; s += 2 * half) {
                butterflies(re + s, im + s, re + s + half, im + s + half, cos_.data() + half - 1,
                            sin_.data() + half - 1, half);
            }
        }
    }

private:
    // (a, b) becomes (a + w b, a - w b) over two runs of count values. The
    // runs never overlap, which lets the compiler use vector instructions.
    static void butterflies(T* __restrict aRe, T* __restrict aIm, T* __restrict bRe, T* __restrict bIm,
                            const T* __restrict wRe, const T* __restrict wIm, std::size_t count) {
        for (std::size_t k = 0; k < count; ++k) {
            const T re = bRe[k] * wRe[k] - bIm[k] * wIm[k];
            const T im = bRe[k] * wIm[k] + bIm[k] * wRe[k];
            bRe[k] = aRe[k] - re;
            bIm[k] = aIm[k] - im;
            aRe[k] += re;
            aIm[k] += im;
        }
    }

    std::vector<T> cos_, sin_;
};

// Forward transform of data (a power of two long), in place.
void forward(std::vector<std::complex<double>>& data);

// Inverse transform, scaled by 1/N so that inverse(forward(x)) == x.
void inverse(std::vector<std::complex<double>>& data);

// The Kaiser window at t (-1..1 across the window, 0 at its centre): 1 at
// the centre, falling towards the ends the faster the larger beta.
double kaiser(double t, double beta);

}  // namespace fft
