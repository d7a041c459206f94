// orv-host render with the mistakes people make: presets carrying values
// far out of range, MIDI "files" that are devices, FIFOs, folders or far too
// big, a disk that fills, output that clips; and the MIDI file's tempo map
// reaching tempo-synced LFOs.
#include <gtest/gtest.h>
#include <sndfile.h>
#include <sys/mount.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "host/core/CommandLine.h"
#include "host/core/PresetFile.h"
#include "measure/AudioMeasure.h"
#include "render/RenderRun.h"

namespace {

const std::string kModule = ORV_MODULE_PATH;

std::vector<float> readLeft(const std::string& path, SF_INFO* infoOut = nullptr) {
    SF_INFO info{};
    SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
    if (!file) return {};
    std::vector<float> all(static_cast<std::size_t>(info.frames * info.channels));
    sf_readf_float(file, all.data(), info.frames);
    sf_close(file);
    if (infoOut) *infoOut = info;
    std::vector<float> left;
    for (sf_count_t i = 0; i < info.frames; ++i) left.push_back(all[i * info.channels]);
    return left;
}

void writeBytes(const std::string& path, const std::vector<unsigned char>& bytes) {
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                                static_cast<std::streamsize>(bytes.size()));
}

// Program 0 as a program file whose values are changed as given: the
// plug-in's own chunk, patched, as a preset written elsewhere would be.
std::string programFileWith(const std::string& name, const std::vector<std::pair<int, float>>& values) {
    const std::string path = tempPath(name);
    const CommandRun saved = runCommand(std::string(ORV_HOST_PATH) + " preset save " + kModule + " " + path +
                                        " --program 0 2>&1");
    EXPECT_EQ(saved.status, 0) << saved.out;
    const std::string text = slurp(path);
    std::vector<unsigned char> bytes(text.begin(), text.end());
    preset::Preset p;
    std::string error;
    EXPECT_TRUE(preset::read(bytes, p, error)) << error;
    EXPECT_TRUE(p.program.isChunk);
    for (const auto& [index, value] : values)
        std::memcpy(p.program.chunk.data() + 24 + 4 * index, &value, sizeof value);
    writeBytes(path, preset::write(p));
    return path;
}

TEST(RenderSafety, APresetFarOutOfRangePlaysNoLouderThanInRange) {
    const std::string full = programFileWith("full.fxp", {{0, 1.0f}});
    const std::string loud = programFileWith("loud.fxp", {{0, 1000.0f}});
    // Resonance, cutoff and the amplifier envelope far outside their
    // domains drive the voice to its output limit, +9 dBFS.
    const std::string wild =
        programFileWith("wild.fxp", {{0, 1000.0f}, {17, 50.0f}, {16, 30.0f}, {25, -50.0f}, {27, 1e4f}});
    std::vector<float> rendered[3];
    const std::string presets[] = {full, loud, wild};
    for (int i = 0; i < 3; ++i) {
        const std::string out = tempPath("preset" + std::to_string(i) + ".wav");
        const HostRun run = render(kModule + " --demo --tail 0 --preset " + presets[i] + " -o " + out);
        ASSERT_EQ(run.status, 0) << run.err;
        rendered[i] = readLeft(out);
    }
    ASSERT_FALSE(rendered[0].empty());
    EXPECT_EQ(rendered[1], rendered[0]) << "VOLUME 1000 plays as VOLUME 1";
    EXPECT_LE(measure::dbfs(measure::peak(rendered[2])), 9.0 + 1e-4);
    EXPECT_GT(measure::dbfs(measure::peak(rendered[2])), 8.9) << "the wild preset does reach the limit";
}

TEST(RenderSafety, MidiInputThatIsNoFileOrTooBigIsRefusedBeforeReading) {
    const std::string fifo = tempPath("endless.mid");
    unlink(fifo.c_str());
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    // A writer that never stops, should anything open the FIFO (its own
    // output away from the test's pipe while it waits for a reader).
    const std::string writer = "(yes > " + fifo + " &) >/dev/null 2>&1; ";
    const std::string big = tempPath("huge.mid");
    std::ofstream(big, std::ios::binary) << "MThd";
    ASSERT_EQ(truncate(big.c_str(), 64 << 20), 0);
    const struct {
        std::string midi, says;
    } cases[] = {
        {"/dev/zero", "a device, not a MIDI file"},
        {fifo, "a FIFO, not a MIDI file"},
        {::testing::TempDir(), "a directory, not a MIDI file"},
        {big, "larger than any MIDI file"},
    };
    const std::string out = tempPath("refused-midi.wav");
    for (const auto& c : cases) {
        unlink(out.c_str());
        const std::string errFile = tempPath("midi-stderr.txt");
        const CommandRun run = runCommand((c.midi == fifo ? writer : "") + "timeout 20 " + ORV_HOST_PATH +
                                          " render " + kModule + " --midi " + c.midi + " -o " + out + " 2>" +
                                          errFile);
        const std::string err = slurp(errFile);
        EXPECT_EQ(run.status, 1) << c.midi << "\n" << err;
        EXPECT_EQ(err, "orv-host render: " + c.midi + ": " + c.says + (c.midi == big ? " (over 4 MiB)\n" : "\n"));
        EXPECT_FALSE(exists(out));
    }
    runCommand("timeout 5 head -c 1 " + fifo + " >/dev/null");  // lets the writer end
    unlink(fifo.c_str());
    unlink(big.c_str());
}

// A small tmpfs that the render fills: mounted for the test, when the
// system allows it.
class FullDisk : public ::testing::Test {
protected:
    void SetUp() override {
        dir = tempPath("full-disk");
        mkdir(dir.c_str(), 0700);
        if (mount("orv-test", dir.c_str(), "tmpfs", 0, "size=256k") != 0) {
            rmdir(dir.c_str());
            GTEST_SKIP() << "cannot mount a small tmpfs here (" << std::strerror(errno) << ")";
        }
        mounted = true;
    }
    void TearDown() override {
        if (mounted) umount(dir.c_str());
        rmdir(dir.c_str());
    }
    std::string dir;
    bool mounted = false;
};

TEST_F(FullDisk, ARenderThatDoesNotFitLeavesThePreviousFileAndNothingElse) {
    for (const char* name : {"song.wav", "song.flac"}) {
        const std::string out = dir + "/" + name;
        const std::string previous(100000, 'x');
        std::ofstream(out, std::ios::binary) << previous;
        const HostRun run = render(kModule + " --demo -o " + out + " --picture " + dir + "/song.png");
        EXPECT_EQ(run.status, 1) << name;
        EXPECT_NE(run.err.find("No space left on device"), std::string::npos) << run.err;
        EXPECT_EQ(std::count(run.err.begin(), run.err.end(), '\n'), 1) << "one line: " << run.err;
        EXPECT_EQ(slurp(out), previous) << name << " is as it was";
        const CommandRun listing = runCommand("ls -A " + dir);
        EXPECT_EQ(listing.out, std::string(name) + "\n") << "no partial file beside it";
        unlink(out.c_str());
    }
}

TEST(RenderSafety, ARenderStoppedHalfWayLeavesThePreviousFile) {
    // The demo at 1 BPM plays for 16 minutes: it is stopped long before.
    const std::string out = tempPath("stopped.wav");
    std::ofstream(out) << "previous";
    const std::string aside = "ls -A " + ::testing::TempDir() + " | grep -c 'stopped.wav.orv-'";
    // Stopped once its file is being written.
    const CommandRun run = runCommand(std::string(ORV_HOST_PATH) + " render " + kModule + " --demo --tempo 1 -o " +
                                      out + " 2>&1 & for i in $(seq 300); do [ $(" + aside +
                                      ") = 1 ] && break; sleep 0.1; done; kill -INT $!; wait $!");
    EXPECT_NE(run.status, 0);
    EXPECT_NE(run.out.find("stopped; " + out + " is not written"), std::string::npos) << run.out;
    EXPECT_EQ(slurp(out), "previous");
    EXPECT_EQ(runCommand(aside).out, "0\n") << "nothing left beside it";
}

TEST(RenderSafety, ClippingIsReportedAndGainOrNormalizeAvoidIt) {
    // The demo peaks near -1.3 dBFS; 12 dB more clips an integer format,
    // and float keeps the values as they are.
    for (const char* name : {"hot.flac", "hot.wav"}) {
        const std::string out = tempPath(name);
        const HostRun run = render(kModule + " --demo --tail 0 --gain 12 -o " + out);
        ASSERT_EQ(run.status, 0) << run.err;
        const bool flac = hasSuffix(out, ".flac");
        EXPECT_NE(run.err.find(flac ? "samples clipped, by up to 10." : "pass full scale, by up to 10."),
                  std::string::npos) << run.err;
        EXPECT_NEAR(measure::dbfs(measure::peak(readLeft(out))), flac ? 0.0 : 10.7, 0.1) << name;
    }
    const std::string out = tempPath("normal.wav");
    const HostRun run = render(kModule + " --demo --tail 0 --normalize --bits 16 -o " + out);
    ASSERT_EQ(run.status, 0) << run.err;
    EXPECT_EQ(run.err, "") << "nothing clipped";
    SF_INFO info{};
    EXPECT_NEAR(measure::dbfs(measure::peak(readLeft(out, &info))), -1.0, 0.01);
    EXPECT_EQ(info.format & SF_FORMAT_SUBMASK, SF_FORMAT_PCM_16);
}

// A format 0 file at 480 ticks per quarter: events as (delta ticks, bytes).
std::string midiFile(const std::string& name, const std::vector<std::pair<int, std::vector<std::uint8_t>>>& events) {
    std::vector<unsigned char> track;
    for (const auto& [delta, bytes] : events) {
        std::vector<unsigned char> vlq{static_cast<unsigned char>(delta & 0x7F)};
        for (int d = delta >> 7; d > 0; d >>= 7) vlq.insert(vlq.begin(), static_cast<unsigned char>(0x80 | (d & 0x7F)));
        track.insert(track.end(), vlq.begin(), vlq.end());
        track.insert(track.end(), bytes.begin(), bytes.end());
    }
    std::vector<unsigned char> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0x01, 0xE0, 'M', 'T', 'r', 'k'};
    for (int shift = 24; shift >= 0; shift -= 8) file.push_back(static_cast<unsigned char>(track.size() >> shift));
    file.insert(file.end(), track.begin(), track.end());
    const std::string path = tempPath(name);
    writeBytes(path, file);
    return path;
}

std::vector<std::uint8_t> tempo(int bpm) {
    const int micros = 60000000 / bpm;
    return {0xFF, 0x51, 0x03, std::uint8_t(micros >> 16), std::uint8_t(micros >> 8), std::uint8_t(micros)};
}
const std::vector<std::uint8_t> kOn = {0x90, 69, 100}, kOff = {0x80, 69, 0}, kEnd = {0xFF, 0x2F, 0x00};

// A sine whose pitch LFO 1 swings at a quarter note of the host tempo.
const char* const kSyncedVibrato =
    " --set WAVEFORMOSC1=3 --set VOLUMEOSC1OSC2=0 --set VOLUMESUBOSC=0 --set CUTOFF=1 --set KEYFOLLOW=1"
    " --set SUSTAIN=1 --set LFO1DESTINATION=1 --set LFO1WAVEFORM=0 --set LFO1INTENSITY=0.75"
    " --set LF01KEYTRIGGER=4 --tail 0";

double swingRate(const std::vector<float>& left, double fromSeconds, double toSeconds) {
    return measure::modulationFrequency(left, 44100.0, std::size_t(fromSeconds * 44100),
                                        std::size_t(toSeconds * 44100));
}

TEST(RenderTempo, TheFilesTempoMapReachesTheSyncedLfoToTheFrame) {
    // One four-beat note: 4 s at 60 BPM, 2 s at 120.
    const std::string slow = midiFile("slow.mid", {{0, tempo(60)}, {0, kOn}, {1920, kOff}, {0, kEnd}});
    const std::string fast = midiFile("fast.mid", {{0, tempo(120)}, {0, kOn}, {1920, kOff}, {0, kEnd}});
    const std::string out = tempPath("tempo.wav");
    ASSERT_EQ(render(kModule + " --midi " + slow + kSyncedVibrato + " -o " + out).status, 0);
    const double atSlow = swingRate(readLeft(out), 0.1, 3.9);
    ASSERT_EQ(render(kModule + " --midi " + fast + kSyncedVibrato + " -o " + out).status, 0);
    const double atFast = swingRate(readLeft(out), 0.1, 1.9);
    EXPECT_NEAR(atFast, 2.0, 0.05) << "a quarter note at 120 BPM";
    EXPECT_NEAR(atSlow, atFast / 2, 0.05) << "half the rate at 60 BPM";

    // --tempo plays the slow file at 120 throughout.
    ASSERT_EQ(render(kModule + " --midi " + slow + " --tempo 120" + kSyncedVibrato + " -o " + out).status, 0);
    EXPECT_NEAR(swingRate(readLeft(out), 0.1, 1.9), 2.0, 0.05);

    // 120 BPM, then 60 from beat 4 (2 s, frame 88200: inside a block of
    // 256), where the second note starts: it takes the new tempo.
    const std::string change = midiFile(
        "change.mid", {{0, tempo(120)}, {0, kOn}, {1920, kOff}, {0, tempo(60)}, {0, kOn}, {1920, kOff}, {0, kEnd}});
    ASSERT_EQ(render(kModule + " --midi " + change + kSyncedVibrato + " -o " + out).status, 0);
    const std::vector<float> left = readLeft(out);
    EXPECT_NEAR(swingRate(left, 0.1, 1.9), 2.0, 0.05);
    EXPECT_NEAR(swingRate(left, 2.1, 5.9), 1.0, 0.05);
}

}  // namespace
