#include "host/render/AudioFile.h"

#include <cmath>
#include <limits>

#include "host/core/CommandLine.h"

namespace {

struct Format {
    const char* extension;
    int sndfileFormat;
    const char* name;
};

const Format kFormats[] = {
    {".wav", SF_FORMAT_WAV | SF_FORMAT_FLOAT, "32-bit float WAV"},
    {".flac", SF_FORMAT_FLAC | SF_FORMAT_PCM_24, "24-bit FLAC"},
};

const Format* formatOf(const std::string& path) {
    for (const Format& f : kFormats)
        if (hasSuffix(path, f.extension)) return &f;
    return nullptr;
}

double toDbfs(double level) {
    return level > 0.0 ? 20.0 * std::log10(level) : -std::numeric_limits<double>::infinity();
}

}  // namespace

bool AudioFileWriter::knowsFormat(const std::string& path) { return formatOf(path) != nullptr; }

bool AudioFileWriter::open(const std::string& path, int channels, int sampleRate,
                           std::string& error) {
    close();
    const Format* format = formatOf(path);
    if (!format) {
        error = path + ": unknown format (use .wav or .flac)";
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
    file_ = sf_open(path.c_str(), SFM_WRITE, &info);
    if (!file_) {
        error = path + ": " + sf_strerror(nullptr);
        return false;
    }
    // Integer formats clip instead of wrapping round.
    sf_command(file_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
    formatName_ = format->name;
    return true;
}

bool AudioFileWriter::write(const float* frames, sf_count_t count) {
    return file_ && sf_writef_float(file_, frames, count) == count;
}

void AudioFileWriter::close() {
    if (file_) sf_close(file_);
    file_ = nullptr;
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
