#include "engine/Fft.h"

#include <cmath>

namespace fft {
namespace {

void transform(std::vector<std::complex<double>>& data, double direction) {
    const std::size_t n = data.size();
    std::vector<double> re(n), im(n);
    for (std::size_t i = 0; i < n; ++i) {
        re[i] = data[i].real();
        im[i] = data[i].imag();
    }
    Radix2<double>(n, direction).transform(re.data(), im.data(), n);
    for (std::size_t i = 0; i < n; ++i) data[i] = {re[i], im[i]};
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
