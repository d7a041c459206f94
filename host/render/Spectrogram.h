// Spectrogram: a rendered sound taken apart column by column while it is
// being rendered, for the picture orv-host render draws of it.
//
// Each column stands for `hop` frames. It holds the level (dB relative to a
// full-scale sine) of `rows` frequencies spaced evenly on a log scale from
// kLowHz to kHighHz, from short-time Fourier transforms centred on the
// column, and the column's waveform envelope (lowest and highest sample,
// RMS). Five transform lengths look at each column, from about 370 ms,
// which resolves the harmonics of the lowest notes a few hertz apart, to
// 23 ms, which keeps attacks sharp; a row shows the quietest of the five
// readings, sharp in both frequency and time where the sound is.
//
// Memory grows with the number of columns only, never with the length of
// the sound; a long render simply gets a longer hop.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/Fft.h"

class Spectrogram {
public:
    static constexpr double kLowHz = 20.0;
    static constexpr double kHighHz = 20000.0;
    // What a row reads when nothing is there, and for rows above the
    // Nyquist frequency: far below anything the picture shows.
    static constexpr float kFloorDb = -200.0f;

    struct Envelope {
        float low = 0.0f, high = 0.0f;
        double sumOfSquares = 0.0;
        std::int64_t frames = 0;
    };

    // rows >= 2, hop >= 1 frame, rate 1 Hz or more.
    Spectrogram(double rate, int rows, std::int64_t hop);

    // The next frames of the sound.
    void add(const float* samples, std::int64_t count);
    // Completes the columns whose transforms reach past the last frame
    // (silence is assumed there). Call once, after the last add.
    void finish();

    std::int64_t frames() const { return frames_; }
    // Columns completed so far: after finish, ceil(frames / hop).
    std::int64_t columns() const { return analysed_; }
    // Row 0 is kLowHz, row rows - 1 is kHighHz.
    double rowHz(int row) const;
    float levelDb(std::int64_t column, int row) const { return levels_[column * rows_ + row]; }
    const Envelope& envelope(std::int64_t column) const { return envelopes_[column]; }

private:
    // One transform length.
    struct Band {
        int size;
        std::vector<float> window;
        float scale;         // a full-scale sine at a bin centre reads power 1
        std::int64_t every;  // transformed for every this many columns
    };
    // Where one row reads its level in one band: the strongest bin of
    // first..last, or, when fraction >= 0 (a row narrower than a bin), the
    // power that far from bin first to bin last. first -1: above the
    // Nyquist frequency, nothing.
    struct RowSource {
        int first, last;
        float fraction;
    };

    void push(float sample);
    void analyseColumn();
    void transform(const Band& band, std::vector<float>& power);

    double rate_;
    int rows_;
    std::int64_t hop_;
    std::vector<Band> bands_;
    std::vector<RowSource> sources_;  // row by row, band by band
    std::vector<float> history_;      // the last longest-window frames, a ring
    std::int64_t pushed_ = 0;         // frames pushed, the sound's and finish()'s silence
    std::int64_t frames_ = 0;         // frames of the sound
    std::int64_t analysed_ = 0;       // columns with their levels (some more have an envelope)
    std::vector<Envelope> envelopes_;
    std::vector<float> levels_;
    fft::Radix2<float> fft_;                 // the longest band's; it serves the shorter too
    std::vector<float> real_, imaginary_;    // a transform's work space
    std::vector<std::vector<float>> power_;  // per band, bins 0..size/2
};
