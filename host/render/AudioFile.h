// AudioFileWriter: rendered audio to a file through libsndfile, and Levels,
// the peak and RMS of what was written.
//
// The format follows the file name and the bits asked for: ".wav" is 32-bit
// float WAV unless 16 or 24 bits are asked for, ".flac" is 24-bit FLAC
// unless 16. Float keeps the plug-in's samples exactly, levels above full
// scale included; the integer formats clip at full scale, and the writer
// counts what they clip. The file is written beside its target and takes
// its place only when finished (host/core/SafeFile.h).
#pragma once

#include <sndfile.h>

#include <string>

#include "host/core/SafeFile.h"

class AudioFileWriter {
public:
    AudioFileWriter() = default;
    ~AudioFileWriter() { abandon(); }
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // bits: 0 for the format's default, else 16, 24 or 32 (float, WAV
    // only). False, with the reason in error, for a format the writer does
    // not know or a file that cannot be created.
    bool open(const std::string& path, int bits, int channels, int sampleRate, std::string& error);
    // Interleaved frames.
    bool write(const float* frames, sf_count_t count);
    // Finishes the file and puts it in place of its target.
    bool finish(std::string& error);
    // Drops the unfinished file; the target stays as it was.
    void abandon();

    // "32-bit float WAV", "24-bit FLAC", ...: what open chose.
    const char* formatName() const { return formatName_; }
    bool isFloat() const { return isFloat_; }
    // Samples beyond full scale, and the largest of them:
    // clipped in an integer format, kept in float.
    long long overFullScale() const { return over_; }
    double largestOver() const { return largest_; }

    // Whether a file name ends in an extension the writer knows, and
    // whether that format takes the bits (0: its default).
    static bool knowsFormat(const std::string& path, int bits = 0);

private:
    safefile::AtomicFile file_;
    SNDFILE* sound_ = nullptr;
    std::string path_;
    int channels_ = 0;
    const char* formatName_ = "";
    bool isFloat_ = false;
    long long over_ = 0;
    double largest_ = 0.0;
};

// Peak and RMS over every sample of every channel.
class Levels {
public:
    void add(const float* samples, long count);
    double peak() const { return peak_; }
    double peakDbfs() const;  // -inf for silence
    double rmsDbfs() const;

private:
    double peak_ = 0.0;
    double sumOfSquares_ = 0.0;
    long count_ = 0;
};

// 20 log10 of a level; -inf for 0.
double toDbfs(double level);
