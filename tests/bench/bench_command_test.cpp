// orv-host bench, run as scripts run it, on the built module. What it plays
// and prints, never how fast: timings belong to the benchmarks.
#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

struct BenchRun {
    int status = -1;
    std::vector<std::string> lines;
    std::string text;
};

// environment: assignments put before the command ("NAME=value ").
BenchRun bench(const std::string& arguments, const std::string& environment = "") {
    BenchRun run;
    const std::string command =
        environment + ORV_HOST_PATH + " bench " + arguments + " 2>/dev/null";
    if (FILE* pipe = popen(command.c_str(), "r")) {
        char buffer[4096];
        while (std::fgets(buffer, sizeof(buffer), pipe)) run.text += buffer;
        const int status = pclose(pipe);
        run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }
    std::istringstream in(run.text);
    for (std::string line; std::getline(in, line);) run.lines.push_back(line);
    return run;
}

const std::string kModule = ORV_MODULE_PATH;

TEST(BenchCommand, GoldenHashesEveryProgramTheSameWayTwice) {
    const std::string args = kModule + " --program all --golden --seconds 1 --stress";
    const BenchRun first = bench(args), second = bench(args);
    ASSERT_EQ(first.status, 0) << first.text;
    ASSERT_EQ(first.lines.size(), 20u) << "one line per factory program\n" << first.text;
    EXPECT_EQ(first.text, second.text) << "fresh instances render the same bytes";
    EXPECT_EQ(first.lines[0].substr(16), "  Ambrell - ORV 0 Saw Bass") << "hash, then the program";
    EXPECT_EQ(first.lines[19].substr(16), "  Ambrell - ORV 19 Reso Kick") << "last program";
    EXPECT_EQ(first.lines[0].find_first_not_of("0123456789abcdef"), 16u) << "64-bit hex hash";
}

TEST(BenchCommand, OncePlaysWholeBlocksOfTheAskedLength) {
    const BenchRun run = bench(kModule + " --program 'Acid Bass' --once --seconds 0.5 --block 256");
    ASSERT_EQ(run.status, 0) << run.text;
    ASSERT_EQ(run.lines.size(), 1u) << run.text;
    // 0.5 s at 44100 Hz is 22050 frames: 87 blocks of 256 rounded up to 87 whole.
    const long long frames = (22050 + 255) / 256 * 256;
    EXPECT_EQ(run.lines[0].rfind(std::to_string(frames) + " frames", 0), 0u) << run.text;
    EXPECT_NE(run.lines[0].find("Ambrell - ORV 2 Acid Bass"), std::string::npos)
        << "the program chosen by name";
}

TEST(BenchCommand, TableHasARowPerProgramAndTheirMedian) {
    const BenchRun run = bench(kModule + " --program all --seconds 0.2 --reps 1");
    ASSERT_EQ(run.status, 0) << run.text;
    ASSERT_EQ(run.lines.size(), 2u + 20u + 1u) << "title, heading, 20 programs, median\n"
                                               << run.text;
    EXPECT_EQ(run.lines[0].rfind("phrase, 44100 Hz, blocks of 256", 0), 0u) << run.text;
    EXPECT_EQ(run.lines[2].rfind("Ambrell - ORV 0 Saw Bass ", 0), 0u) << run.text;
    EXPECT_EQ(run.lines[22].rfind("median of 20 ", 0), 0u) << run.text;
    EXPECT_NE(run.lines[22].find(" 1.00"), std::string::npos) << "the median is the reference";
}

TEST(BenchCommand, IdleAndStressAreNamedInTheTitle) {
    const BenchRun idle = bench(kModule + " --idle --seconds 0.2 --reps 1");
    ASSERT_EQ(idle.status, 0) << idle.text;
    EXPECT_EQ(idle.lines[0].rfind("idle, ", 0), 0u) << idle.text;
    const BenchRun stress = bench(kModule + " --stress --seconds 0.2 --reps 1 --rate 48000 --block 64");
    ASSERT_EQ(stress.status, 0) << stress.text;
    EXPECT_EQ(stress.lines[0].rfind("phrase with stress, 48000 Hz, blocks of 64", 0), 0u)
        << stress.text;
}

TEST(BenchCommand, StartupReportsTimeAndMemoryPerInstanceAndPerEditor) {
    // Unloading the module orphans the state of the font libraries the
    // editors started; theirs, not a leak of ours (editor_commands_test).
    const BenchRun run = bench(kModule + " --startup --instances 3", "ASAN_OPTIONS=detect_leaks=0 ");
    ASSERT_EQ(run.status, 0) << run.text;
    EXPECT_NE(run.text.find("instance ready, 3 more:"), std::string::npos) << run.text;
    EXPECT_NE(run.text.find("resident per instance:"), std::string::npos) << run.text;
    // The editors need a display; without one they are left out, and said so.
    const bool display = std::getenv("DISPLAY") != nullptr;
    EXPECT_EQ(run.text.find("editor ready, 3 more:") != std::string::npos, display) << run.text;
    EXPECT_EQ(run.text.find("resident per open editor:") != std::string::npos, display) << run.text;
    EXPECT_EQ(run.text.find("editor:                      not measured") != std::string::npos, !display)
        << run.text;
}

// The columns of one span's row: label words, then the six numbers.
bool isSpanRow(const std::string& line, const std::string& label) {
    if (line.rfind(label + " ", 0) != 0) return false;
    std::istringstream in(line.substr(label.size()));
    double number = 0.0;
    int count = 0;
    while (in >> number) ++count;
    return count == 6 && in.eof();
}

TEST(BenchCommand, EditorMeasuresTheGuiThreadQuietAndWhileAutomated) {
    if (!std::getenv("DISPLAY")) GTEST_SKIP() << "the editor needs a display";
    // As --startup: the font libraries' state outlives the unloaded module.
    const BenchRun run = bench(kModule + " --editor --seconds 0.2", "ASAN_OPTIONS=detect_leaks=0 ");
    ASSERT_EQ(run.status, 0) << run.text;
    ASSERT_EQ(run.lines.size(), 5u) << "title, heading, two spans, the automation rate\n" << run.text;
    EXPECT_EQ(run.lines[0].rfind("editor idle at 30 Hz, 0.2 s a span", 0), 0u) << run.text;
    EXPECT_NE(run.lines[1].find("% core"), std::string::npos) << run.text;
    EXPECT_TRUE(isSpanRow(run.lines[2], "quiet")) << run.lines[2];
    EXPECT_TRUE(isSpanRow(run.lines[3], "automating 44")) << "every parameter automated\n" << run.lines[3];
    EXPECT_EQ(run.lines[4].rfind("parameter changes:", 0), 0u) << run.text;
    EXPECT_EQ(bench(kModule + " --editor --seconds 0.2", "DISPLAY= ").status, 1) << "no display: a failure";
}

TEST(BenchCommand, FindsAPeersProgramByName) {
    const std::string peer = "/usr/lib/vst/amsynth_vst.so";
    if (!std::ifstream(peer)) GTEST_SKIP() << "amsynth is not installed";
    // The peer's own leaks at unload are not ours to report.
    const BenchRun run = bench(peer + " --program 'Rave Bass' --once --seconds 0.1",
                               "ASAN_OPTIONS=detect_leaks=0 ");
    ASSERT_EQ(run.status, 0) << run.text;
    EXPECT_NE(run.text.find(" Rave Bass\n"), std::string::npos) << "the program named" << run.text;
}

TEST(BenchCommand, RefusesWhatItCannotDo) {
    EXPECT_EQ(bench("").status, 2) << "no plug-in";
    EXPECT_EQ(bench(kModule + " --block 0").status, 2) << "block size out of range";
    EXPECT_EQ(bench(kModule + " --seconds x").status, 2) << "not a number";
    EXPECT_EQ(bench(kModule + " --frobnicate").status, 2) << "unknown option";
    EXPECT_EQ(bench("--program 1 " + kModule).status, 2) << "--program before any plug-in";
    EXPECT_EQ(bench(kModule + " --program 'No Such Sound'").status, 1) << "unknown program";
    EXPECT_EQ(bench(kModule + " --program 20").status, 1) << "program number past the last";
    EXPECT_EQ(bench("/nonexistent/plugin.so").status, 1) << "missing module";
}

}  // namespace
