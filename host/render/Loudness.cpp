#include "host/render/Loudness.h"

#include <ebur128.h>

#include <cmath>
#include <limits>

Loudness::Loudness(int channels, unsigned long rate) : channels_(channels) {
    if (channels > 0) state_ = ebur128_init(unsigned(channels), rate, EBUR128_MODE_I | EBUR128_MODE_TRUE_PEAK);
}

Loudness::~Loudness() {
    if (state_) ebur128_destroy(&state_);
}

void Loudness::add(const float* frames, unsigned long count) {
    if (state_) ebur128_add_frames_float(state_, frames, count);
}

double Loudness::integratedLufs() const {
    double lufs;
    if (!state_ || ebur128_loudness_global(state_, &lufs) != EBUR128_SUCCESS)
        return std::numeric_limits<double>::quiet_NaN();
    return lufs;
}

double Loudness::truePeakDbtp() const {
    if (!state_) return std::numeric_limits<double>::quiet_NaN();
    double highest = 0.0;
    for (int c = 0; c < channels_; ++c) {
        double peak;
        if (ebur128_true_peak(state_, unsigned(c), &peak) != EBUR128_SUCCESS)
            return std::numeric_limits<double>::quiet_NaN();
        highest = std::fmax(highest, peak);
    }
    return 20.0 * std::log10(highest);
}
