// SoundPicture: the picture orv-host render --picture draws of what it
// rendered, written as a PNG.
//
//   +--------------------------------------------------------------+
//   | title (program name)              peak, RMS, length, rate     |
//   | Hz |  spectrogram: 20 Hz (bottom) to 20 kHz (top), log     | dB |
//   |    |  scale; colour is level, -100 dBFS dark to 0 bright    |bar |
//   |    |  waveform: lowest/highest sample per pixel, RMS band,  | dB |
//   |    |  and the RMS level in dB as a line (-60 to 0 dBFS)     |    |
//   |                       time axis (seconds)                    |
//   +--------------------------------------------------------------+
//
// Both panels share the time axis: pixel column x of either covers the same
// stretch of the sound, the whole render across kPlotWidth columns. Several
// channels are pictured as their mix. Text uses the toolkit's fonts; without
// any font installed the picture simply has no text.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "host/render/Spectrogram.h"

class SoundPicture {
public:
    // The layout, in pixels from the top-left corner.
    static constexpr int kWidth = 1200;
    static constexpr int kTitleHeight = 34;
    static constexpr int kPlotLeft = 56;
    static constexpr int kPlotWidth = kWidth - kPlotLeft - 72;
    // Row y = kSpectrumTop + kSpectrumRows - 1 - r shows Spectrogram row r:
    // the frequency kLowHz x (kHighHz / kLowHz)^(r / (kSpectrumRows - 1)).
    static constexpr int kSpectrumTop = kTitleHeight;
    static constexpr int kSpectrumRows = 360;
    static constexpr int kWaveTop = kSpectrumTop + kSpectrumRows + 6;
    static constexpr int kWaveHeight = 120;
    static constexpr int kHeight = kWaveTop + kWaveHeight + 24;
    // The colour scale of the spectrogram.
    static constexpr float kTopDb = 0.0f;
    static constexpr float kBottomDb = -100.0f;

    // longestFrames: the most frames the render can last; it sets the
    // analysis hop, so that memory and time stay bounded however long.
    SoundPicture(double rate, std::int64_t longestFrames);

    // The next frames, interleaved channels. Not finite samples count as 0.
    void add(const float* interleaved, std::int64_t frames, int channels);

    // Draws everything added so far under a title line (title on the left,
    // details on the right) into a PNG at path. False, with the reason in
    // error, when the file cannot be written. Call once, after the last add.
    bool write(const std::string& path, const std::string& title, const std::string& details,
               std::string& error);

private:
    double rate_;
    Spectrogram spectrogram_;
    std::vector<float> mix_;
};
