#include "host/render/AudioFile.h"

#include <cmath>
#include <limits>

#include "host/core/CommandLine.h"

namespace {

struct Format {
    const char* extension;
    int bits;  // 32 is float
    int sndfileFormat;
    const char* name;
};

// The first of each extension is its default.
const Format kFormats[] = {
    {".wav", 32, SF_FORMAT_WAV | SF_FORMAT_FLOAT, "32-bit float WAV"},
    {".wav", 24, SF_FORMAT_WAV | SF_FORMAT_PCM_24, "24-bit WAV"},
    {".wav", 16, SF_FORMAT_WAV | SF_FORMAT_PCM_16, "16-bit WAV"},
    {".flac", 24, SF_FORMAT_FLAC | SF_FORMAT_PCM_24, "24-bit FLAC"},
    {".flac", 16, SF_FORMAT_FLAC | SF_FORMAT_PCM_16, "16-bit FLAC"},
};

const Format* formatOf(const std::string& path, int bits) {
    for (const Format& f : kFormats)
        if (hasSuffix(path, f.extension) && (bits == 0 || bits == f.bits)) return &f;
    return nullptr;
}

}  // namespace

double toDbfs(double level) {
    return level > 0.0 ? 20.0 * std::log10(level) : -std::numeric_limits<double>::infinity();
}

bool AudioFileWriter::knowsFormat(const std::string& path, int bits) { return formatOf(path, bits) != nullptr; }

bool AudioFileWriter::open(const std::string& path, int bits, int channels, int sampleRate,
                           std::string& error) {
    abandon();
    const Format* format = formatOf(path, bits);
    if (!format) {
        error = path + ": no such format (.wav: 16, 24 or 32-bit float; .flac: 16 or 24 bits)";
        return false;
    }
    SF_INFO info{};
    info.samplerate = sampleRate;
    info.channels = channels;
    info.format = format->sndfileFormat;
    if (!sf_format_check(&info)) {
        error = path + ": " + format->name + " cannot hold " + std::to_string(channels) +
                " channels at " + std::to_string(sampleRate) + " Hz";
        return false;
    }
    if (!file_.begin(path, error)) return false;
    sound_ = sf_open_fd(file_.descriptor(), SFM_WRITE, &info, SF_FALSE);
    if (!sound_) {
        error = path + ": " + sf_strerror(nullptr);
        file_.abandon();
        return false;
    }
    // Integer formats clip instead of wrapping round.
    sf_command(sound_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    path_ = path;
    channels_ = channels;
    formatName_ = format->name;
    isFloat_ = format->bits == 32;
    over_ = 0;
    largest_ = 0.0;
    return true;
}

bool AudioFileWriter::write(const float* frames, sf_count_t count) {
    if (!sound_) return false;
    const std::size_t n = static_cast<std::size_t>(count) * static_cast<std::size_t>(channels_);
    for (std::size_t i = 0; i < n; ++i) {
        const double a = std::fabs(frames[i]);
        if (a > 1.0) {
            ++over_;
            if (a > largest_) largest_ = a;
        }
    }
    return sf_writef_float(sound_, frames, count) == count;
}

bool AudioFileWriter::finish(std::string& error) {
    if (!sound_) return error = path_ + ": nothing written", false;
    const bool closed = sf_close(sound_) == 0;
    sound_ = nullptr;
    if (!closed) {
        file_.abandon();
        return error = path_ + ": cannot be written (the file could not be finished)", false;
    }
    return file_.commit(error);
}

void AudioFileWriter::abandon() {
    if (sound_) sf_close(sound_);
    sound_ = nullptr;
    file_.abandon();
}

void Levels::add(const float* samples, long count) {
    for (long i = 0; i < count; ++i) {
        const double x = samples[i];
        peak_ = std::fmax(peak_, std::fabs(x));
        sumOfSquares_ += x * x;
    }
    count_ += count;
}

double Levels::peakDbfs() const { return toDbfs(peak_); }

double Levels::rmsDbfs() const {
    return toDbfs(count_ > 0 ? std::sqrt(sumOfSquares_ / double(count_)) : 0.0);
}
