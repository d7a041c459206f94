#include "host/render/SoundPicture.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "host/render/PngFile.h"
#include "vstgui/fonts.h"
#include "vstgui/pixelsurface.h"

using VSTGUI::CRect;
using VSTGUI::Font;
using VSTGUI::Pixel;
using VSTGUI::PixelSurface;

namespace {

// Columns are never closer than 5 ms: the shortest transform spans 23 ms,
// so a finer hop would only repeat it.
constexpr double kShortestHopSeconds = 0.005;
// The level line of the waveform strip spans this range (dBFS), bottom to top.
constexpr double kLevelLineBottomDb = -60.0;

constexpr Pixel rgb(int r, int g, int b) { return Pixel((r << 16) | (g << 8) | b); }
constexpr Pixel kBackground = rgb(24, 24, 28);
constexpr Pixel kPanel = rgb(10, 10, 14);
constexpr Pixel kText = rgb(225, 225, 225);
constexpr Pixel kDimText = rgb(150, 150, 158);
constexpr Pixel kTick = rgb(110, 110, 118);
constexpr Pixel kWaveRange = rgb(60, 110, 160);
constexpr Pixel kWaveRms = rgb(130, 185, 235);
constexpr Pixel kLevelLine = rgb(250, 200, 60);
constexpr Pixel kLevelArea = rgb(60, 50, 24);

// Level to colour: dark to bright through purple, red and orange (the
// "inferno" scale), so that brightness alone reads as level.
Pixel heat(float t) {
    static const int kStops[][3] = {{0, 0, 4},      {31, 12, 72},   {85, 15, 109},
                                    {136, 34, 106}, {186, 54, 85},  {227, 89, 51},
                                    {249, 140, 10}, {249, 201, 50}, {252, 255, 164}};
    constexpr int kLast = 8;
    const float at = (t > 0.0f ? std::min(t, 1.0f) : 0.0f) * kLast;  // NaN: the bottom
    const int i = std::min(static_cast<int>(at), kLast - 1);
    const float f = at - i;
    int c[3];
    for (int k = 0; k < 3; ++k)
        c[k] = static_cast<int>(std::lround(kStops[i][k] + f * (kStops[i + 1][k] - kStops[i][k])));
    return rgb(c[0], c[1], c[2]);
}

// Spectrogram columns shown by pixel column x of the plot: [first, end).
struct ColumnRange {
    std::int64_t first, end;
};
ColumnRange columnsAt(int x, std::int64_t columns) {
    const std::int64_t first = std::min(columns - 1, x * columns / SoundPicture::kPlotWidth);
    const std::int64_t end = std::max(first + 1, (x + 1) * columns / SoundPicture::kPlotWidth);
    return {first, std::min(end, columns)};
}

void text(PixelSurface& surface, const Font& font, const std::string& s, const CRect& box,
          VSTGUI::CHoriTxtAlign align, Pixel colour) {
    font.drawString(surface, s.c_str(), box, align, colour, nullptr);
}

void drawSpectrum(PixelSurface& surface, const Spectrogram& s) {
    const int rows = SoundPicture::kSpectrumRows;
    const int bottom = SoundPicture::kSpectrumTop + rows - 1;
    std::vector<float> peak(rows);
    for (int x = 0; x < SoundPicture::kPlotWidth; ++x) {
        // Several columns on one pixel: the loudest, so that short events
        // (a click, a staccato note) are not averaged away.
        const ColumnRange range = columnsAt(x, s.columns());
        std::fill(peak.begin(), peak.end(), Spectrogram::kFloorDb);
        for (std::int64_t c = range.first; c < range.end; ++c)
            for (int r = 0; r < rows; ++r) peak[r] = std::max(peak[r], s.levelDb(c, r));
        for (int r = 0; r < rows; ++r) {
            const float t =
                (peak[r] - SoundPicture::kBottomDb) / (SoundPicture::kTopDb - SoundPicture::kBottomDb);
            surface.data()[(bottom - r) * surface.width() + SoundPicture::kPlotLeft + x] = heat(t);
        }
    }
}

void drawWave(PixelSurface& surface, const Spectrogram& s) {
    const int top = SoundPicture::kWaveTop, height = SoundPicture::kWaveHeight;
    const auto y = [&](double v) {  // +1 top, -1 bottom
        return top + static_cast<int>(std::lround((1.0 - std::clamp(v, -1.0, 1.0)) * 0.5 * (height - 1)));
    };
    const auto levelY = [&](double rms) {
        const double db = rms > 0.0 ? 20.0 * std::log10(rms) : kLevelLineBottomDb;
        const double t = std::clamp(db / kLevelLineBottomDb, 0.0, 1.0);
        return top + static_cast<int>(std::lround(t * (height - 1)));
    };
    surface.fill(
        CRect(SoundPicture::kPlotLeft, top, SoundPicture::kPlotLeft + SoundPicture::kPlotWidth, top + height),
        kPanel);
    int previousLevel = -1;
    for (int x = 0; x < SoundPicture::kPlotWidth; ++x) {
        const ColumnRange range = columnsAt(x, s.columns());
        float low = 0.0f, high = 0.0f;
        double sum = 0.0;
        std::int64_t frames = 0;
        for (std::int64_t c = range.first; c < range.end; ++c) {
            const Spectrogram::Envelope& e = s.envelope(c);
            low = std::min(low, e.low);
            high = std::max(high, e.high);
            sum += e.sumOfSquares;
            frames += e.frames;
        }
        const double rms = frames > 0 ? std::sqrt(sum / double(frames)) : 0.0;
        const int px = SoundPicture::kPlotLeft + x;
        // The level behind, as a dim area under its line; the waveform in front.
        const int level = levelY(rms);
        if (previousLevel < 0) previousLevel = level;
        surface.fill(CRect(px, level, px + 1, top + height), kLevelArea);
        surface.fill(CRect(px, std::min(level, previousLevel), px + 1, std::max(level, previousLevel) + 1),
                     kLevelLine);
        surface.fill(CRect(px, y(high), px + 1, y(low) + 1), kWaveRange);
        surface.fill(CRect(px, y(rms), px + 1, y(-rms) + 1), kWaveRms);
        previousLevel = level;
    }
}

// Frequency ticks and labels left of the spectrogram, the colour scale right
// of it, the level scale right of the waveform.
void drawScales(PixelSurface& surface, const Font& small) {
    const int left = SoundPicture::kPlotLeft, right = left + SoundPicture::kPlotWidth;
    const int top = SoundPicture::kSpectrumTop, rows = SoundPicture::kSpectrumRows;
    const double octaves = std::log2(Spectrogram::kHighHz / Spectrogram::kLowHz);
    for (double hz : {20.0, 50.0, 100.0, 200.0, 500.0, 1e3, 2e3, 5e3, 1e4, 2e4}) {
        const int r =
            static_cast<int>(std::lround(std::log2(hz / Spectrogram::kLowHz) / octaves * (rows - 1)));
        const int y = top + rows - 1 - r;
        surface.fill(CRect(left - 5, y, left, y + 1), kTick);
        char label[16];
        std::snprintf(label, sizeof(label), hz >= 1e3 ? "%gk" : "%g", hz >= 1e3 ? hz / 1e3 : hz);
        text(surface, small, label, CRect(0, y - 7, left - 8, y + 8), VSTGUI::kRightText, kDimText);
    }
    text(surface, small, "Hz", CRect(4, top, left - 8, top + 14), VSTGUI::kLeftText, kDimText);

    const int barLeft = right + 8, barRight = barLeft + 12;
    for (int y = 0; y < rows; ++y)
        surface.fill(CRect(barLeft, top + y, barRight, top + y + 1), heat(1.0f - float(y) / float(rows - 1)));
    for (int db = 0; db >= SoundPicture::kBottomDb; db -= 20) {
        const int y = top + static_cast<int>(std::lround(db / SoundPicture::kBottomDb * (rows - 1)));
        text(surface, small, db == 0 ? "0 dB" : std::to_string(db),
             CRect(barRight + 3, y - 7, SoundPicture::kWidth, y + 8), VSTGUI::kLeftText, kDimText);
    }

    const int waveTop = SoundPicture::kWaveTop, waveBottom = waveTop + SoundPicture::kWaveHeight - 1;
    text(surface, small, "0 dB", CRect(right + 6, waveTop - 2, SoundPicture::kWidth, waveTop + 12),
         VSTGUI::kLeftText, kLevelLine);
    text(surface, small, std::to_string(static_cast<int>(kLevelLineBottomDb)),
         CRect(right + 6, waveBottom - 12, SoundPicture::kWidth, waveBottom + 2), VSTGUI::kLeftText,
         kLevelLine);
    text(surface, small, "+1", CRect(0, waveTop - 2, left - 8, waveTop + 12), VSTGUI::kRightText, kDimText);
    text(surface, small, "-1", CRect(0, waveBottom - 12, left - 8, waveBottom + 2), VSTGUI::kRightText,
         kDimText);
}

// Ticks below both panels at a round step of seconds, at least 70 pixels apart.
void drawTimeAxis(PixelSurface& surface, double seconds, const Font& small) {
    if (!(seconds > 0.0)) return;
    const double perSecond = SoundPicture::kPlotWidth / seconds;
    double step = 3600.0;
    for (double candidate :
         {0.1, 0.2, 0.5, 1.0, 2.0, 5.0, 10.0, 20.0, 30.0, 60.0, 120.0, 300.0, 600.0, 1800.0}) {
        if (candidate * perSecond >= 70.0) {
            step = candidate;
            break;
        }
    }
    const int axis = SoundPicture::kWaveTop + SoundPicture::kWaveHeight;
    for (int i = 0; i * step <= seconds; ++i) {
        const int x = SoundPicture::kPlotLeft + static_cast<int>(std::lround(i * step * perSecond));
        surface.fill(
            CRect(x, SoundPicture::kSpectrumTop + SoundPicture::kSpectrumRows, x + 1, SoundPicture::kWaveTop),
            kTick);
        surface.fill(CRect(x, axis, x + 1, axis + 5), kTick);
        char label[32];
        std::snprintf(label, sizeof(label), "%g s", i * step);
        text(surface, small, label, CRect(x - 40, axis + 5, x + 40, SoundPicture::kHeight),
             VSTGUI::kCenterText, kDimText);
    }
}

}  // namespace

SoundPicture::SoundPicture(double rate, std::int64_t longestFrames)
    : rate_(rate),
      spectrogram_(rate, kSpectrumRows,
                   std::max<std::int64_t>(std::llround(rate * kShortestHopSeconds),
                                          (longestFrames + 2 * kPlotWidth - 1) / (2 * kPlotWidth))) {}

void SoundPicture::add(const float* interleaved, std::int64_t frames, int channels) {
    if (channels < 1 || frames < 1) return;
    mix_.resize(static_cast<std::size_t>(frames));
    for (std::int64_t i = 0; i < frames; ++i) {
        float sum = 0.0f;
        for (int c = 0; c < channels; ++c) {
            const float x = interleaved[i * channels + c];
            if (std::isfinite(x)) sum += x;
        }
        mix_[i] = sum / float(channels);
    }
    spectrogram_.add(mix_.data(), frames);
}

bool SoundPicture::write(const std::string& path, const std::string& title, const std::string& details,
                         std::string& error) {
    spectrogram_.finish();
    PixelSurface surface(kWidth, kHeight);
    surface.fill(surface.bounds(), kBackground);
    surface.fill(CRect(kPlotLeft, kSpectrumTop, kPlotLeft + kPlotWidth, kSpectrumTop + kSpectrumRows),
                 heat(0.0f));
    const Font big(VSTGUI::kNormalFontVeryBig, 0, VSTGUI::kBoldFace);
    const Font normal(VSTGUI::kNormalFont, 0, VSTGUI::kNormalFace);
    const Font small(VSTGUI::kNormalFontSmall, 0, VSTGUI::kNormalFace);
    text(surface, big, title, CRect(kPlotLeft, 0, kWidth / 2, kTitleHeight), VSTGUI::kLeftText, kText);
    text(surface, normal, details, CRect(kWidth / 2, 0, kPlotLeft + kPlotWidth, kTitleHeight),
         VSTGUI::kRightText, kText);
    if (spectrogram_.columns() > 0) {
        drawSpectrum(surface, spectrogram_);
        drawWave(surface, spectrogram_);
    }
    drawScales(surface, small);
    drawTimeAxis(surface, double(spectrogram_.frames()) / rate_, small);

    std::vector<uint8_t> rgb;
    rgb.reserve(std::size_t(kWidth) * kHeight * 3);
    for (int i = 0; i < kWidth * kHeight; ++i) {
        const Pixel p = surface.data()[i];
        rgb.insert(rgb.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
    }
    return writePng(path, rgb, kWidth, kHeight, error);
}
