// Fft: an in-place radix-2 complex FFT in double precision.
//
// Used once at start-up to build the band-limited step table, and by the
// tests and benchmarks to look at rendered spectra; the Kaiser window
// serves both. Not for the audio path:
// callers own the buffer, whose length must be a power of two.
#pragma once

#include <complex>
#include <vector>

namespace fft {

// Forward transform, X[k] = sum x[n] e^(-2 pi i n k / N).
void forward(std::vector<std::complex<double>>& data);

// Inverse transform, scaled by 1/N so that inverse(forward(x)) == x.
void inverse(std::vector<std::complex<double>>& data);

// The Kaiser window at t (-1..1 across the window, 0 at its centre): 1 at
// the centre, falling towards the ends the faster the larger beta.
double kaiser(double t, double beta);

}  // namespace fft
