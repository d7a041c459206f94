// orv-host render's options that reach Ambrell through its saved state,
// --tuning/--keymap and --oscillators, run as a user runs them.
#include <gtest/gtest.h>

#include <fstream>
#include <string>

#include "render/RenderRun.h"

namespace {

const std::string kModule = ORV_MODULE_PATH;

std::string written(const std::string& name, const std::string& text) {
    const std::string path = tempPath(name);
    std::ofstream(path, std::ios::binary) << text;
    return path;
}

// Equal temperament as a scale file: the tuning the keys play in anyway.
std::string twelveEqual() {
    std::string scale = "twelve equal\n12\n";
    for (int i = 1; i <= 12; ++i) scale += std::to_string(i * 100) + ".0\n";
    return scale;
}

// The samples of the demo rendered with options (the file's header, with
// its time stamp, left out).
std::string demoWith(const std::string& options, const std::string& name) {
    const std::string out = tempPath(name);
    const HostRun r = render(kModule + " --demo --tail 1 -o " + out + " " + options);
    EXPECT_EQ(r.status, 0) << r.err;
    const std::string bytes = slurp(out);
    std::remove(out.c_str());
    const std::size_t data = bytes.find("data");
    return data == std::string::npos ? "" : bytes.substr(data);
}

TEST(RenderTuning, AScaleRetunesTheRenderAndTwelveEqualStepsChangeNoSample) {
    const std::string twelve = twelveEqual();
    std::string nineteen = "nineteen equal\n19\n";
    for (int i = 1; i <= 19; ++i) nineteen += std::to_string(1200.0 * i / 19.0) + "\n";
    const std::string twelvePath = written("12.scl", twelve), nineteenPath = written("19.scl", nineteen);
    const std::string plain = demoWith("", "plain.wav");
    ASSERT_FALSE(plain.empty());
    EXPECT_TRUE(demoWith("--tuning " + twelvePath, "12.wav") == plain) << "twelve equal steps change no sample";
    EXPECT_FALSE(demoWith("--tuning " + nineteenPath, "19.wav") == plain) << "nineteen do";
    std::remove(twelvePath.c_str());
    std::remove(nineteenPath.c_str());
}

TEST(RenderTuning, AFaultyFileIsRefusedInOneLineNamingItsLine) {
    const std::string bad = written("bad.scl", "! comment\nbad\n2\n3/0\n2/1\n");
    const std::string out = tempPath("never.wav");
    const HostRun r = render(kModule + " --demo -o " + out + " --tuning " + bad);
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.rfind("orv-host render: " + bad + ":4: ", 0), 0u) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    EXPECT_FALSE(exists(out));
    const HostRun lone = render(kModule + " --demo -o " + out + " --keymap " + bad);
    EXPECT_NE(lone.status, 0) << "a map without a scale";
    std::remove(bad.c_str());
}

TEST(RenderOscillators, CleanChangesTheRenderClassicChangesNoSampleAndATuningKeepsTheMode) {
    const std::string twelve = written("12-clean.scl", twelveEqual());
    const std::string plain = demoWith("", "plain-osc.wav");
    const std::string clean = demoWith("--oscillators clean", "clean.wav");
    ASSERT_FALSE(plain.empty());
    EXPECT_FALSE(clean == plain) << "clean renders differently";
    EXPECT_TRUE(demoWith("--oscillators classic", "classic.wav") == plain) << "classic is the instrument's own";
    EXPECT_TRUE(demoWith("--tuning " + twelve + " --oscillators clean", "both.wav") == clean)
        << "the tuning's record leaves the mode's in place";
    std::remove(twelve.c_str());

    const std::string out = tempPath("never-osc.wav");
    const HostRun r = render(kModule + " --demo -o " + out + " --oscillators cleaner");
    EXPECT_NE(r.status, 0);
    EXPECT_NE(r.err.find("classic or clean"), std::string::npos) << r.err;
    EXPECT_EQ(r.err.find('\n'), r.err.size() - 1) << "one line: " << r.err;
    EXPECT_FALSE(exists(out));
}

}  // namespace
