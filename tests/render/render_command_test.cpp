// orv-host render, run as a user runs it: the files it writes (format,
// rate, length, and the sound in them), the choice of program and
// parameters, MIDI files timed to the frame, and what it refuses.
#include <gtest/gtest.h>
#include <sndfile.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "host/render/DemoPhrase.h"
#include "render/RenderRun.h"
#include "measure/AudioMeasure.h"

namespace {

struct AudioFile {
    bool ok = false;
    SF_INFO info{};
    std::vector<float> left;  // first channel
    std::vector<float> right;
};

AudioFile readAudio(const std::string& path) {
    AudioFile f;
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &f.info);
    if (!file) return f;
    std::vector<float> all(static_cast<std::size_t>(f.info.frames * f.info.channels));
    f.ok = sf_readf_float(file, all.data(), f.info.frames) == f.info.frames;
    sf_close(file);
    for (sf_count_t i = 0; i < f.info.frames; ++i) {
        f.left.push_back(all[i * f.info.channels]);
        f.right.push_back(all[i * f.info.channels + (f.info.channels > 1 ? 1 : 0)]);
    }
    return f;
}

// Renders `arguments` into a temporary file `name` and reads it back;
// f.ok is false when either step failed.
AudioFile renderFile(const std::string& arguments, const std::string& name,
                     HostRun* run = nullptr) {
    const std::string path = tempPath(name);
    const HostRun r = render(arguments + " -o " + path);
    EXPECT_EQ(r.status, 0) << arguments << "\n" << r.err;
    if (run) *run = r;
    AudioFile f = readAudio(path);
    EXPECT_TRUE(f.ok) << "libsndfile reads " << path << " back";
    return f;
}

const std::string kModule = ORV_MODULE_PATH;

// With --tail 0 the render stops with the block that holds the demo's last
// event (its note-off 15.5 beats in).
std::int64_t demoFramesWithoutTail(double rate, double bpm, int block) {
    const std::int64_t last = std::llround(15.5 * 60.0 / bpm * rate);
    const std::int64_t end = last + 1;
    return (end + block - 1) / block * block;
}

// The dBFS figure printed after `label` ("peak ", "RMS ").
double printedDb(const std::string& out, const std::string& label) {
    const std::size_t at = out.find(label);
    if (at == std::string::npos) return NAN;
    const std::string rest = out.substr(at + label.size());
    if (rest.rfind("-inf", 0) == 0) return -INFINITY;
    return std::stod(rest);
}

TEST(RenderFiles, TheDemoBecomesAFloatWavOfTheRequestedRateAndLength) {
    for (double rate : {44100.0, 48000.0}) {
        HostRun run;
        const AudioFile f = renderFile(
            kModule + " --demo --tail 0 --rate " + std::to_string(int(rate)), "demo.wav", &run);
        EXPECT_EQ(f.info.samplerate, int(rate));
        EXPECT_EQ(f.info.channels, 2);
        EXPECT_EQ(f.info.format, SF_FORMAT_WAV | SF_FORMAT_FLOAT) << "32-bit float WAV";
        EXPECT_EQ(f.info.frames, demoFramesWithoutTail(rate, 120.0, 256)) << "at " << rate;
        EXPECT_NE(run.out.find("32-bit float WAV"), std::string::npos) << run.out;
    }
}

TEST(RenderFiles, FlacIsWrittenWith24Bits) {
    const AudioFile f = renderFile(kModule + " --demo --tail 0 --block 100", "demo.flac");
    EXPECT_EQ(f.info.format, SF_FORMAT_FLAC | SF_FORMAT_PCM_24);
    EXPECT_EQ(f.info.frames, demoFramesWithoutTail(44100.0, 120.0, 100));
}

TEST(RenderFiles, TheTempoStretchesTheDemo) {
    const AudioFile f = renderFile(kModule + " --demo --tail 0 --tempo 90", "slow.wav");
    EXPECT_EQ(f.info.frames, demoFramesWithoutTail(44100.0, 90.0, 256));
}

TEST(RenderSound, TheDemoIsHeardWithItsTailAndTheLevelsPrintedAreTheFilesOwn) {
    HostRun run;
    const AudioFile f = renderFile(kModule + " --demo --program 0", "sound.wav", &run);
    EXPECT_GT(f.info.frames, demoFramesWithoutTail(44100.0, 120.0, 256)) << "a tail follows";
    EXPECT_EQ(f.left, f.right) << "Ambrell is mono on both outputs";
    const float peak = measure::peak(f.left);
    ASSERT_GT(peak, 0.01f) << "the demo is heard";
    EXPECT_NEAR(printedDb(run.out, "peak "), measure::dbfs(peak), 0.05) << run.out;
    EXPECT_NEAR(printedDb(run.out, "RMS "), measure::dbfs(measure::rms(f.left)), 0.05) << run.out;
    EXPECT_LT(measure::peak(f.left, f.left.size() - 4410), 1e-5f) << "it ends in silence";
}

TEST(RenderSound, AMidiNoteStartsOnItsFrameWhateverTheBlockSize) {
    // Format 0, 480 ticks per quarter, 100 BPM: tick 480 is 0.6 s, frame
    // 26460 at 44100 Hz (block 103 of 256 at offset 92).
    const std::vector<std::uint8_t> smf = {
        'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0,
        'M', 'T', 'r', 'k', 0, 0, 0, 21,
        0x00, 0xFF, 0x51, 0x03, 0x09, 0x27, 0xC0,  // tempo 600000 us per quarter
        0x83, 0x60, 0x90, 60, 100,                 // tick 480: note on
        0x83, 0x60, 0x80, 60, 0,                   // tick 960: note off
        0x00, 0xFF, 0x2F, 0x00};
    const std::string midiPath = tempPath("note.mid");
    std::ofstream(midiPath, std::ios::binary).write(reinterpret_cast<const char*>(smf.data()),
                                                    static_cast<std::streamsize>(smf.size()));
    for (int block : {64, 256, 1000}) {
        const AudioFile f = renderFile(kModule + " --midi " + midiPath +
                                           " --set KEYFOLLOW=1 --block " + std::to_string(block),
                                       "note.wav");
        EXPECT_EQ(measure::firstNonZero(f.left), 26460) << "block size " << block;
    }
}

// The brightness (spectral centroid, Hz) of the demo's detached riff notes
// in bars 1 and 2, 5 ms and 150 ms after each onset, 23 ms windows.
struct Sweep {
    std::vector<double> attack, settled;
};

Sweep riffSweeps(const AudioFile& f) {
    const double rate = f.info.samplerate;
    Sweep sweep;
    int held = 0;
    for (const MidiFileEvent& e : demoPhrase(120.0).events) {
        const bool on = e.bytes[0] == 0x90;
        held += on ? 1 : -1;
        // A legato note slides on without a new sweep.
        if (!on || held > 1 || e.seconds >= 4.0) continue;
        const auto onset = static_cast<std::size_t>(e.seconds * rate);
        sweep.attack.push_back(measure::spectralCentroid(f.left, rate, onset + 220, 1024));
        sweep.settled.push_back(
            measure::spectralCentroid(f.left, rate, onset + std::size_t(0.15 * rate), 1024));
    }
    return sweep;
}

double mean(const std::vector<double>& v) {
    double sum = 0.0;
    for (double x : v) sum += x;
    return v.empty() ? 0.0 : sum / double(v.size());
}

// An acid line by numbers: every riff note opens the filter and lets it
// fall back, and the resonance rings around the cutoff (without it the
// same notes are far duller).
TEST(RenderSound, AcidBassSweepsItsResonantFilterOnEveryNote) {
    const Sweep acid = riffSweeps(renderFile(kModule + " --demo --program 'Acid Bass'", "acid.wav"));
    ASSERT_GE(acid.attack.size(), 8u) << "the riff's detached notes";
    for (std::size_t i = 0; i < acid.attack.size(); ++i)
        EXPECT_GT(acid.attack[i], 1.2 * acid.settled[i])
            << "riff note " << i << ": " << acid.attack[i] << " Hz, then " << acid.settled[i];
    EXPECT_GT(mean(acid.attack), 2.0 * mean(acid.settled)) << "the sweep is wide";

    const Sweep dry = riffSweeps(
        renderFile(kModule + " --demo --program 'Acid Bass' --set RESONANCE=0", "dry.wav"));
    EXPECT_GT(mean(acid.attack), 2.0 * mean(dry.attack)) << "the resonance is what shines";
}

TEST(RenderSound, ProgramsAreChosenByNameOrNumber) {
    const double a = measure::rms(renderFile(kModule + " --demo --program 'Acid Bass'", "a.wav").left);
    const double b = measure::rms(renderFile(kModule + " --demo --program 2", "b.wav").left);
    const double c = measure::rms(renderFile(kModule + " --demo --program 'Saw Bass'", "c.wav").left);
    ASSERT_GT(a, 0.0) << "Acid Bass is heard";
    EXPECT_NEAR(measure::dbfs(a), measure::dbfs(b), 0.05) << "the same program twice";
    EXPECT_GT(std::fabs(measure::dbfs(a) - measure::dbfs(c)), 0.5) << "another program differs";
}

TEST(RenderSound, SetOverridesAParameterOfTheProgram) {
    // The output is scaled by VOLUME squared: half the volume, a quarter of
    // the level, -12.04 dB.
    const double full = measure::rms(renderFile(kModule + " --demo --set VOLUME=1", "1.wav").left);
    const double half = measure::rms(renderFile(kModule + " --demo --set VOLUME=0.5", "2.wav").left);
    const AudioFile mute = renderFile(kModule + " --demo --set VOLUME=0 --set 43=0", "0.wav");
    EXPECT_NEAR(measure::dbfs(half) - measure::dbfs(full), 20.0 * std::log10(0.25), 0.01);
    EXPECT_EQ(measure::peak(mute.left), 0.0f) << "VOLUME 0 is silence";
}

TEST(RenderRefusals, MistakesAreNamedAndNoFileIsWritten) {
    const std::string out = tempPath("refused.wav");
    std::remove(out.c_str());
    const struct {
        std::string arguments;
        int status;
        const char* says;
    } cases[] = {
        {kModule + " --demo --program 'No Such Sound' -o " + out, 1, "no program"},
        {kModule + " --demo --program 20 -o " + out, 1, "no program"},
        {kModule + " --demo --set NOPE=1 -o " + out, 2, "no such parameter"},
        {kModule + " --demo --set Param=1 -o " + out, 2, "use the index"},
        {kModule + " --demo --set CUTOFF=loud -o " + out, 2, "not a value of CUTOFF"},
        {kModule + " --demo --set VOLUME=1000 -o " + out, 2, "VOLUME takes 0 to 1"},
        {kModule + " --demo --set 0=-0.5 -o " + out, 2, "takes 0 to"},
        {kModule + " --demo --set WAVEFORMOSC2=4 -o " + out, 2, "WAVEFORMOSC2 takes 0 to 3"},
        {kModule + " --midi /nonexistent.mid -o " + out, 1, "nonexistent"},
        {"/nonexistent.so --demo -o " + out, 1, "nonexistent"},
        {kModule + " --demo", 2, "-o"},
        {kModule + " -o " + out, 2, "--demo"},
        {kModule + " --demo --midi x.mid -o " + out, 2, "--demo"},
        {kModule + " --demo -o " + tempPath("out.mp3"), 2, ".wav"},
        {kModule + " --demo --rate 0 -o " + out, 2, "--rate"},
        {kModule + " --demo --block 0 -o " + out, 2, "--block"},
        {kModule + " --demo --tempo nan -o " + out, 2, "--tempo"},
        {kModule + " --demo --frobnicate 1 -o " + out, 2, "unknown option"},
    };
    for (const auto& c : cases) {
        const HostRun run = render(c.arguments);
        EXPECT_EQ(run.status, c.status) << c.arguments;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << c.arguments << "\n" << run.err;
        EXPECT_FALSE(exists(out)) << c.arguments;
    }
}

TEST(RenderProgress, ShownOnATerminalOnly) {
    const std::string out = tempPath("progress.wav");
    const HostRun plain = render(kModule + " --demo -o " + out);
    ASSERT_EQ(plain.status, 0);
    EXPECT_EQ(plain.err, "") << "nothing on stderr when it is not a terminal";
    // script(1) runs the command on a pseudo-terminal and copies what it
    // shows to stdout.
    const CommandRun shown = runCommand("script -qec \"" + std::string(ORV_HOST_PATH) +
                                        " render " + kModule + " --demo -o " + out + "\" /dev/null");
    EXPECT_NE(shown.out.find("\rrendering"), std::string::npos) << "progress on the terminal";
}

TEST(RenderPeers, AnotherVstInstrumentRendersToo) {
    const std::string amsynth = "/usr/lib/vst/amsynth_vst.so";
    if (!exists(amsynth)) GTEST_SKIP() << "amsynth is not installed";
    const AudioFile f = renderFile(amsynth + " --demo --program 0", "amsynth.wav");
    EXPECT_GT(measure::peak(f.left), 0.01f) << "amsynth plays the demo";
}

}  // namespace
