// orv-host render --picture, run as a user runs it: the PNG it writes has
// the picture's size, its spectrogram shows a pure tone on the row of its
// frequency at the time it sounds, and a wrong picture name is refused.
#include <gtest/gtest.h>
#include <png.h>
#include <sndfile.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/render/SoundPicture.h"
#include "render/RenderRun.h"

namespace {

const std::string kModule = ORV_MODULE_PATH;

struct Picture {
    int width = 0, height = 0;
    std::vector<uint8_t> rgb;
    // Brightness of the pixel at (x, y): the sum of its channels.
    int brightness(int x, int y) const {
        const std::size_t at = (std::size_t(y) * width + x) * 3;
        return rgb[at] + rgb[at + 1] + rgb[at + 2];
    }
};

Picture readPng(const std::string& path) {
    Picture p;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return p;
    image.format = PNG_FORMAT_RGB;
    p.rgb.resize(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, p.rgb.data(), 0, nullptr)) return Picture{};
    p.width = int(image.width);
    p.height = int(image.height);
    return p;
}

double secondsOf(const std::string& wavPath) {
    SF_INFO info{};
    SNDFILE* file = sf_open(wavPath.c_str(), SFM_READ, &info);
    if (!file) return 0.0;
    sf_close(file);
    return double(info.frames) / info.samplerate;
}

// Oscillator 1 alone as a sine, the filter open and following the key, full
// sustain, no pitch modulation: one pure tone per key.
const char* const kSine =
    " --set WAVEFORMOSC1=3 --set VOLUMEOSC1OSC2=0 --set VOLUMESUBOSC=0 --set CUTOFF=1"
    " --set KEYFOLLOW=1 --set SUSTAIN=1 --set LFO1INTENSITY=0.5";

// A2 (110 Hz) from 0 to 1 s, A5 (880 Hz) from 1.5 to 2.5 s: 120 BPM, 480
// ticks per quarter note, so 480 ticks are half a second.
std::string writeTwoNotes() {
    const std::vector<uint8_t> smf = {
        'M',  'T',  'h',  'd', 0,   0, 0, 6, 0,  0,    0,    1,  0x01,
        0xE0, 'M',  'T',  'r', 'k', 0, 0, 0, 23, 0x00, 0x90, 45, 100,  // 0 s: A2 on
        0x87, 0x40, 0x80, 45,  0,                                      // +960 ticks, 1 s: off
        0x83, 0x60, 0x90, 81,  100,                                    // +480 ticks, 1.5 s: A5 on
        0x87, 0x40, 0x80, 81,  0,                                      // +960 ticks, 2.5 s: off
        0x00, 0xFF, 0x2F, 0x00};
    const std::string path = tempPath("two-notes.mid");
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(smf.data()), std::streamsize(smf.size()));
    return path;
}

// The spectrogram's pixel row for a frequency: log scale, kLowHz on the
// bottom row, kHighHz on the top one.
int rowOf(double hz) {
    const int rows = SoundPicture::kSpectrumRows;
    const double r =
        std::log(hz / Spectrogram::kLowHz) / std::log(Spectrogram::kHighHz / Spectrogram::kLowHz);
    return SoundPicture::kSpectrumTop + rows - 1 - int(std::lround(r * (rows - 1)));
}

int brightestRow(const Picture& p, int x) {
    int best = SoundPicture::kSpectrumTop;
    for (int y = best; y < SoundPicture::kSpectrumTop + SoundPicture::kSpectrumRows; ++y)
        if (p.brightness(x, y) > p.brightness(x, best)) best = y;
    return best;
}

TEST(SoundPicture, APureToneIsDrawnOnTheRowOfItsFrequencyWhenItSounds) {
    const std::string wav = tempPath("tones.wav"), png = tempPath("tones.png");
    const HostRun run =
        render(kModule + " --midi " + writeTwoNotes() + kSine + " -o " + wav + " --picture " + png);
    ASSERT_EQ(run.status, 0) << run.err;
    const Picture picture = readPng(png);
    ASSERT_EQ(picture.width, SoundPicture::kWidth) << "libpng reads the picture back, full width";
    ASSERT_EQ(picture.height, SoundPicture::kHeight) << "and full height";

    // The whole render spans the plot: time t is at column t / length of it.
    const double seconds = secondsOf(wav);
    ASSERT_GT(seconds, 2.5) << "the render lasts past the last note";
    const auto columnAt = [&](double t) {
        return SoundPicture::kPlotLeft + int(t / seconds * SoundPicture::kPlotWidth);
    };
    const struct { double at, hz; } notes[] = {{0.5, 110.0}, {2.0, 880.0}};
    for (const auto& note : notes) {
        const int x = columnAt(note.at);
        EXPECT_NEAR(brightestRow(picture, x), rowOf(note.hz), 1) << note.hz << " Hz at " << note.at << " s";
        // A pure tone is a thin line: three semitones off it is dark.
        for (double off : {std::pow(2.0, 0.25), std::pow(2.0, -0.25)})
            EXPECT_LT(picture.brightness(x, rowOf(note.hz * off)), picture.brightness(x, rowOf(note.hz)) / 2)
                << note.hz * off << " Hz, beside " << note.hz << " Hz";
    }
    // Between the notes nothing sounds: the 880 Hz row is dark at 0.5 s, and
    // the 110 Hz row at 2 s.
    EXPECT_LT(picture.brightness(columnAt(0.5), rowOf(880.0)),
              picture.brightness(columnAt(2.0), rowOf(880.0)) / 4)
        << "A5 is not yet heard during A2";
    EXPECT_LT(picture.brightness(columnAt(2.0), rowOf(110.0)),
              picture.brightness(columnAt(0.5), rowOf(110.0)) / 4)
        << "A2 is no longer heard during A5";
}

TEST(SoundPicture, AWrongOrUnwritablePictureIsRefusedBeforeRendering) {
    const std::string wav = tempPath("refused.wav");
    const struct {
        std::string picture;
        int status;
        const char* says;
    } cases[] = {
        {tempPath("picture.jpg"), 2, ".png"},
        {"/nonexistent/picture.png", 1, "cannot be written"},
    };
    for (const auto& c : cases) {
        std::remove(wav.c_str());
        const HostRun run = render(kModule + " --demo --tail 0 -o " + wav + " --picture " + c.picture);
        EXPECT_EQ(run.status, c.status) << c.picture;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.picture << "\n" << run.err;
        EXPECT_FALSE(exists(wav)) << "nothing is rendered for " << c.picture;
    }
}

}  // namespace
