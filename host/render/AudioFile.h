// AudioFileWriter: rendered audio to a file through libsndfile, and Levels,
// the peak and RMS of what was written.
//
// The format follows the file name: ".wav" writes 32-bit float WAV (the
// plug-in's samples exactly, levels above full scale kept), ".flac" writes
// 24-bit FLAC (clipped at full scale).
#pragma once

#include <sndfile.h>

#include <string>

class AudioFileWriter {
public:
    AudioFileWriter() = default;
    ~AudioFileWriter() { close(); }
    AudioFileWriter(const AudioFileWriter&) = delete;
    AudioFileWriter& operator=(const AudioFileWriter&) = delete;

    // False, with the reason in error, for an unknown extension or a file
    // that cannot be created.
    bool open(const std::string& path, int channels, int sampleRate, std::string& error);
    // Interleaved frames.
    bool write(const float* frames, sf_count_t count);
    void close();

    // "32-bit float WAV" or "24-bit FLAC": what open chose.
    const char* formatName() const { return formatName_; }
    // Whether a file name ends in an extension the writer knows.
    static bool knowsFormat(const std::string& path);

private:
    SNDFILE* file_ = nullptr;
    const char* formatName_ = "";
};

// Peak and RMS over every sample of every channel.
class Levels {
public:
    void add(const float* samples, long count);
    double peakDbfs() const;  // -inf for silence
    double rmsDbfs() const;

private:
    double peak_ = 0.0;
    double sumOfSquares_ = 0.0;
    long count_ = 0;
};
