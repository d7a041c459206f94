#include "host/render/Spectrogram.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace {

constexpr double kPi = 3.14159265358979323846;
// The longest transform lasts about this long: at 44.1 kHz, 16384 frames,
// whose window (main lobe 4 bins either side, 2.7 Hz each) still tells C1
// (32.7 Hz) from its neighbours.
constexpr double kLongestWindowSeconds = 0.37;
// Four more halve it each time, down to 23 ms (1024 frames at 44.1 kHz),
// about the time resolution of the ear.
constexpr int kBands = 5;
// Powers below this (-200 dB) are shown as the floor.
constexpr float kSmallestPower = 1e-20f;

int powerOfTwoNear(double frames) {
    int size = 64;
    while (size < (1 << 16) && size * 1.5 < frames) size *= 2;
    return size;
}

}  // namespace

Spectrogram::Spectrogram(double rate, int rows, std::int64_t hop)
    : rate_(std::max(rate, 1.0)),
      rows_(std::max(rows, 2)),
      hop_(std::max<std::int64_t>(hop, 1)),
      fft_(static_cast<std::size_t>(powerOfTwoNear(kLongestWindowSeconds * rate_)), -1.0) {
    const int longest = powerOfTwoNear(kLongestWindowSeconds * rate_);
    for (int size = longest; static_cast<int>(bands_.size()) < kBands && size >= 64; size /= 2) {
        Band band{size, std::vector<float>(size), 0.0f, 1};
        double sum = 0.0;
        for (int i = 0; i < size; ++i) {
            // Blackman-Harris (four terms): its side lobes stay 92 dB down,
            // below the colour scale, so a loud tone draws a clean line
            // instead of a haze around it.
            const double a = 2.0 * kPi * (i + 0.5) / size;
            band.window[i] = static_cast<float>(0.35875 - 0.48829 * std::cos(a) +
                                                0.14128 * std::cos(2.0 * a) - 0.01168 * std::cos(3.0 * a));
            sum += band.window[i];
        }
        band.scale = static_cast<float>(4.0 / (sum * sum));
        // Windows that overlap by three quarters or more differ too little
        // to be worth computing: the columns in between repeat the last.
        band.every = std::max<std::int64_t>(1, size / (4 * hop_));
        power_.emplace_back(size / 2 + 1);
        bands_.push_back(std::move(band));
    }
    history_.assign(longest, 0.0f);
    real_.resize(longest);
    imaginary_.resize(longest);

    for (int row = 0; row < rows_; ++row) {
        const double hz = rowHz(row);
        for (const Band& band : bands_) {
            const double binHz = rate_ / band.size;
            RowSource source{static_cast<int>(std::ceil(std::sqrt(rowHz(row - 1) * hz) / binHz)),
                             static_cast<int>(std::floor(std::sqrt(rowHz(row + 1) * hz) / binHz)), -1.0f};
            if (source.first > source.last) {
                const double at = hz / binHz;
                source.first = static_cast<int>(std::floor(at));
                source.last = source.first + 1;
                source.fraction = static_cast<float>(at - source.first);
            }
            if (source.last > band.size / 2) source.first = -1;
            sources_.push_back(source);
        }
    }
}

double Spectrogram::rowHz(int row) const {
    return kLowHz * std::pow(kHighHz / kLowHz, double(row) / double(rows_ - 1));
}

void Spectrogram::add(const float* samples, std::int64_t count) {
    for (std::int64_t i = 0; i < count; ++i) {
        const float x = std::isfinite(samples[i]) ? samples[i] : 0.0f;
        if (frames_ % hop_ == 0) envelopes_.push_back(Envelope{x, x, 0.0, 0});
        Envelope& e = envelopes_.back();
        e.low = std::min(e.low, x);
        e.high = std::max(e.high, x);
        e.sumOfSquares += double(x) * x;
        ++e.frames;
        ++frames_;
        push(x);
    }
}

void Spectrogram::finish() {
    while (analysed_ < static_cast<std::int64_t>(envelopes_.size())) push(0.0f);
}

void Spectrogram::push(float sample) {
    history_[static_cast<std::size_t>(pushed_ % static_cast<std::int64_t>(history_.size()))] = sample;
    ++pushed_;
    // A column is analysed once its longest window is complete: half a
    // window past its centre.
    const std::int64_t centre = analysed_ * hop_ + hop_ / 2;
    if (pushed_ == centre + bands_[0].size / 2) analyseColumn();
}

void Spectrogram::analyseColumn() {
    for (std::size_t b = 0; b < bands_.size(); ++b)
        if (analysed_ % bands_[b].every == 0) transform(bands_[b], power_[b]);
    const RowSource* source = sources_.data();
    for (int row = 0; row < rows_; ++row) {
        // The quietest reading of the row: a long window alone smears an
        // attack over its length, a short one alone blurs the harmonics
        // into one band; where both see energy, the sound really is.
        float quietest = std::numeric_limits<float>::max();
        for (const std::vector<float>& power : power_) {
            const RowSource& s = *source++;
            float p = 0.0f;
            if (s.first >= 0 && s.fraction >= 0.0f)
                p = power[s.first] + s.fraction * (power[s.last] - power[s.first]);
            else if (s.first >= 0)
                p = *std::max_element(power.begin() + s.first, power.begin() + s.last + 1);
            quietest = std::min(quietest, p);
        }
        levels_.push_back(quietest > kSmallestPower ? 10.0f * std::log10(quietest) : kFloorDb);
    }
    ++analysed_;
}

// The window's frames end with the newest frame pushed and are centred on
// the column: the long window fills the history, a shorter one its middle.
void Spectrogram::transform(const Band& band, std::vector<float>& power) {
    const int n = band.size;
    const auto ring = static_cast<std::int64_t>(history_.size());
    const std::int64_t start = pushed_ - ring + (ring - n) / 2;
    const std::int64_t first = (start % ring + ring) % ring;
    for (int i = 0; i < n; ++i) {
        const std::int64_t at = first + i;
        real_[i] = history_[static_cast<std::size_t>(at < ring ? at : at - ring)] * band.window[i];
        imaginary_[i] = 0.0f;
    }
    float* re = real_.data();
    float* im = imaginary_.data();
    fft_.transform(re, im, static_cast<std::size_t>(n));
    for (int k = 0; k <= n / 2; ++k) power[k] = (re[k] * re[k] + im[k] * im[k]) * band.scale;
}
