#include "host/render/RenderOutput.h"

#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstring>

RenderOutput::RenderOutput(AudioFileWriter& file, int channels, unsigned long rate, SoundPicture* picture,
                           double gainDb, bool normalize)
    : file_(file),
      channels_(channels),
      picture_(picture),
      gain_(std::pow(10.0, gainDb / 20.0)),
      normalize_(normalize),
      loudness_(channels, rate) {}

bool RenderOutput::begin(const std::string& output, std::string& error) {
    output_ = output;
    return !normalize_ || spill_.begin(output + ".spill", error);
}

bool RenderOutput::add(const float* frames, long count) {
    if (!normalize_) return deliver(frames, count);
    raw_.add(frames, count * channels_);
    return spill_.write(frames, sizeof(float) * static_cast<std::size_t>(count * channels_));
}

bool RenderOutput::deliver(const float* frames, long count) {
    const std::size_t n = static_cast<std::size_t>(count * channels_);
    scaled_.resize(n);
    for (std::size_t i = 0; i < n; ++i) scaled_[i] = static_cast<float>(frames[i] * gain_);
    levels_.add(scaled_.data(), static_cast<long>(n));
    loudness_.add(scaled_.data(), static_cast<unsigned long>(count));
    if (picture_) picture_->add(scaled_.data(), count, channels_);
    return file_.write(scaled_.data(), count);
}

bool RenderOutput::finish(std::string& error) {
    if (normalize_) {
        gain_ = raw_.peak() > 0.0 ? std::pow(10.0, kNormalizedPeakDb / 20.0) / raw_.peak() : 1.0;
        std::vector<float> block(4096 * static_cast<std::size_t>(channels_));
        const std::size_t blockBytes = block.size() * sizeof(float);
        for (off_t at = 0;; at += static_cast<off_t>(blockBytes)) {
            const ssize_t got = pread(spill_.descriptor(), block.data(), blockBytes, at);
            if (got < 0 && errno == EINTR) {
                at -= static_cast<off_t>(blockBytes);
                continue;
            }
            if (got < 0)
                return error = output_ + ": the spill file cannot be read (" + std::strerror(errno) + ")", false;
            const long frames = static_cast<long>(static_cast<std::size_t>(got) / sizeof(float)) / channels_;
            if (frames > 0 && !deliver(block.data(), frames))
                return error = output_ + ": cannot be written (" + std::strerror(errno) + ")", false;
            if (static_cast<std::size_t>(got) < blockBytes) break;
        }
        spill_.abandon();
    }
    return file_.finish(error);
}
