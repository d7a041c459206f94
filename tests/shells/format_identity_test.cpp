// One instrument in two formats: orv-host renders every factory program
// through the VST 2.x module and through the CLAP plug-in, and the files are
// the same to the byte, at both rates and at the block sizes hosts use;
// presets saved through one format load through the other and save back to
// the same bytes. Tuning messages in a MIDI file play alike in all three
// formats, LV2 included.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <tuple>
#include <vector>

#include "support/Command.h"
#include "support/MidiFileBytes.h"

namespace {

const std::string kVst = ORV_MODULE_PATH;
const std::string kClap = ORV_CLAP_PATH;
const std::string kLv2 = ORV_LV2_BUNDLE;
constexpr int kFactoryPrograms = 20;

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "orv-formats-" + std::to_string(getpid()) + "-" + name;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

// The samples of a float WAV file as their bytes: what follows its data
// chunk's header. (libsndfile stamps the time into the header's peak chunk.)
std::string samples(const std::string& path) {
    const std::string file = slurp(path);
    const std::size_t data = file.find("data");
    return data == std::string::npos ? "" : file.substr(data + 8);
}

// Runs `orv-host <arguments>`; its exit status.
int orvHost(const std::string& arguments) {
    return runCommand("ASAN_OPTIONS=detect_leaks=0 " + std::string(ORV_HOST_PATH) + " " + arguments +
                      " >/dev/null 2>&1")
        .status;
}

std::string midiFile(const std::string& name, const std::vector<std::pair<int, std::vector<std::uint8_t>>>& events) {
    const std::vector<unsigned char> file = midiFileBytes(events);
    const std::string path = tempPath(name);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(file.data()), std::streamsize(file.size()));
    return path;
}

// Two bars of a bass line under a cutoff sweep and a pitch bend: with learn
// switched on and CUTOFF the last parameter touched, controller 74 takes
// over CUTOFF as it sweeps; controller 1 plays whatever the program maps
// to it.
std::string automationPhrase() {
    std::vector<std::pair<int, std::vector<std::uint8_t>>> events;
    const std::uint8_t notes[] = {36, 48, 43, 39, 36, 51, 46, 41};
    for (int i = 0; i < 8; ++i) {
        events.push_back({i ? 60 : 0, {0x90, notes[i], std::uint8_t(60 + 8 * i)}});
        for (int k = 0; k < 3; ++k) events.push_back({60, {0xB0, 74, std::uint8_t(16 * i + 5 * k)}});
        events.push_back({0, {0xB0, 1, std::uint8_t(127 - 15 * i)}});
        events.push_back({10, {0xE0, 0, std::uint8_t(64 + 4 * i)}});
        events.push_back({20, {0x80, notes[i], 0}});
    }
    events.push_back({0, {0xFF, 0x2F, 0x00}});
    return midiFile("automation.mid", events);
}

// (sample rate, block size)
class RenderedAlike : public ::testing::TestWithParam<std::tuple<int, int>> {};

TEST_P(RenderedAlike, EveryProgramPlaysBothPhrasesToTheSameBytes) {
    const auto [rate, block] = GetParam();
    const std::string settings = " --rate " + std::to_string(rate) + " --block " + std::to_string(block) + " --tail 1";
    const std::string phrases[] = {" --demo", " --midi " + automationPhrase() + " --set 43=1 --set CUTOFF=0.3"};
    for (int p = 0; p < kFactoryPrograms; ++p) {
        for (int phrase = 0; phrase < 2; ++phrase) {
            const std::string args = phrases[phrase] + " --program " + std::to_string(p) + settings;
            const std::string vstOut = tempPath("vst.wav"), clapOut = tempPath("clap.wav");
            ASSERT_EQ(orvHost("render " + kVst + args + " -o " + vstOut), 0) << args;
            ASSERT_EQ(orvHost("render " + kClap + args + " -o " + clapOut), 0) << args;
            const std::string vst = samples(vstOut);
            ASSERT_GT(vst.size(), 8u * 1000) << "a render of some length";
            EXPECT_TRUE(vst == samples(clapOut)) << "program " << p << ", phrase " << phrase << args;
        }
    }
}

// The sanitizer build looks for memory faults, not for other bytes: one case.
#ifdef ORV_SANITIZER_BUILD
INSTANTIATE_TEST_SUITE_P(Formats, RenderedAlike, ::testing::Combine(::testing::Values(44100), ::testing::Values(64)));
#else
INSTANTIATE_TEST_SUITE_P(Formats, RenderedAlike,
                         ::testing::Combine(::testing::Values(44100, 96000), ::testing::Values(1, 64, 1000)));
#endif

// A held note retuned twice by MIDI Tuning Standard messages in the file
// (a single-note change of the sounding key, then one of another key):
// every format passes them on at their frame, so all three render the same
// bytes, and not those of the file without them.
TEST(TuningMessages, ReachThePlugInAtTheirFrameInEveryFormat) {
    // F0 7F 7F 08 02 program count key semitone msb lsb F7, as a file
    // stores it: F0, the length of the rest, the rest.
    auto retune = [](std::uint8_t key, std::uint8_t semitone, std::uint8_t msb) {
        return std::vector<std::uint8_t>{0xF0, 11, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, key, semitone, msb, 0x00, 0xF7};
    };
    auto phrase = [&](bool withTuning) {
        std::vector<std::pair<int, std::vector<std::uint8_t>>> events = {{0, {0x90, 57, 100}}};
        if (withTuning) {
            events.push_back({240, retune(57, 57, 0x40)});  // a quarter tone up
            events.push_back({240, retune(60, 61, 0x00)});
        } else {
            events.push_back({480, {0xB0, 0x66, 0}});  // an unused controller keeps the timing
        }
        events.push_back({480, {0x80, 57, 0}});
        events.push_back({0, {0xFF, 0x2F, 0x00}});
        return midiFile(withTuning ? "tuned.mid" : "plain.mid", events);
    };
    const std::string args = " --program 4 --tail 0.5 --rate 44100 --block 256 --midi ";
    std::string rendered[4];
    const std::string modules[] = {kVst, kClap, kLv2, kVst};
    for (int i = 0; i < 4; ++i) {
        const std::string out = tempPath("tuning" + std::to_string(i) + ".wav");
        ASSERT_EQ(orvHost("render " + modules[i] + args + phrase(i < 3) + " -o " + out), 0) << modules[i];
        rendered[i] = samples(out);
    }
    ASSERT_GT(rendered[0].size(), 8u * 1000) << "a render of some length";
    EXPECT_TRUE(rendered[1] == rendered[0]) << "CLAP as VST 2.x";
    EXPECT_TRUE(rendered[2] == rendered[0]) << "LV2 as VST 2.x";
    EXPECT_FALSE(rendered[3] == rendered[0]) << "the messages retuned the note";
}

TEST(PresetsAcrossFormats, ABankOrProgramSavedThroughOneLoadsThroughTheOtherAndSavesBackTheSame) {
    const std::string edits = " --program 7 --set CUTOFF=2kHz --set OSC1WAVE=pulse --set 43=1 --name Moved";
    for (const char* suffix : {".fxb", ".fxp"}) {
        for (const auto& [from, to] : {std::pair{kVst, kClap}, std::pair{kClap, kVst}}) {
            const std::string first = tempPath(std::string("first") + suffix);
            const std::string second = tempPath(std::string("second") + suffix);
            const std::string third = tempPath(std::string("third") + suffix);
            ASSERT_EQ(orvHost("preset save " + from + " " + first + edits), 0);
            ASSERT_EQ(orvHost("preset save " + to + " " + second + " --preset " + first), 0);
            ASSERT_EQ(orvHost("preset save " + from + " " + third + " --preset " + second), 0);
            const std::string saved = slurp(first);
            ASSERT_FALSE(saved.empty());
            EXPECT_TRUE(slurp(second) == saved) << suffix << " from " << from << " into " << to;
            EXPECT_TRUE(slurp(third) == saved) << suffix << " back into " << from;
        }
    }
}

}  // namespace
