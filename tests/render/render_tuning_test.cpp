// orv-host render --tuning/--keymap, run as a user runs it.
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
    std::string twelve = "twelve equal\n12\n", nineteen = "nineteen equal\n19\n";
    for (int i = 1; i <= 12; ++i) twelve += std::to_string(i * 100) + ".0\n";
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

}  // namespace
