// orv-host info, run as a user runs it: on Ambrell, and on a peer plug-in
// when one is installed.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <string>

#include "support/Command.h"

namespace {

using HostRun = CommandRun;

// environment: assignments put before the command ("NAME=value ").
HostRun orvHost(const std::string& arguments, const std::string& environment = "") {
    return runCommand(environment + ORV_HOST_PATH + " " + arguments + " 2>/dev/null");
}

bool has(const std::string& text, const std::string& part) {
    return text.find(part) != std::string::npos;
}

TEST(OrvHostInfo, ShowsAmbrellsIdentityParametersAndPrograms) {
    const HostRun run = orvHost(std::string("info ") + ORV_MODULE_PATH);
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(has(run.out, "effect name:    Ambrell - ORV\n")) << run.out;
    EXPECT_TRUE(has(run.out, "vendor:         ORV - Orvane Instruments\n")) << run.out;
    EXPECT_TRUE(has(run.out, "unique id:      0x31313132 '1112'\n")) << run.out;
    EXPECT_TRUE(has(run.out, "flags:          0x131 ")) << run.out;
    EXPECT_TRUE(has(run.out, "parameters:     44\n")) << run.out;
    EXPECT_TRUE(has(run.out, "    0  VOLUME                 0.89824283  (-1.86 dB)\n"))
        << "program 0's values, shortest exact text, then display and label";
    EXPECT_TRUE(has(run.out, "   16  CUTOFF                 0.9606679  (21.2 kHz)\n")) << run.out;
    EXPECT_TRUE(has(run.out, "   43  Param                  0  (off)\n")) << run.out;
    EXPECT_TRUE(has(run.out, "programs:       20 (current 0)\n")) << run.out;
    EXPECT_TRUE(has(run.out, "    0  Saw Bass\n")) << run.out;
    EXPECT_TRUE(has(run.out, "   19  Reso Kick\n")) << run.out;
}

TEST(OrvHostInfo, LoadsAPeerPlugin) {
    const char* peer = "/usr/lib/vst/amsynth_vst.so";
    struct stat st;
    if (stat(peer, &st) != 0) GTEST_SKIP() << "amsynth is not installed";
    // The peer's own leaks at unload are not ours to report.
    const HostRun run = orvHost(std::string("info ") + peer, "ASAN_OPTIONS=detect_leaks=0 ");
    ASSERT_EQ(run.status, 0) << run.out;
    EXPECT_TRUE(has(run.out, "effect name:    amsynth\n")) << run.out;
    EXPECT_TRUE(has(run.out, "parameters:     ")) << run.out;
}

TEST(OrvHostInfo, ReportsWhatCannotBeLoaded) {
    EXPECT_EQ(orvHost("info /nonexistent/plugin.so").status, 1) << "a missing module fails";
    EXPECT_EQ(orvHost("info").status, 2) << "a missing argument is a usage error";
    EXPECT_EQ(orvHost("frobnicate").status, 2) << "an unknown command is a usage error";
}

}  // namespace
