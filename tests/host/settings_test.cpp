// orv-host's command line as a player uses it: help on every command, the
// version, and parameters set by the values info shows (--set), kept with a
// new name by preset save. Run as a user runs it, through the shell.
#include <gtest/gtest.h>

#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

#include "support/Command.h"

namespace {

const std::string kHost = ORV_HOST_PATH;
const std::string kModule = ORV_MODULE_PATH;

// Its standard output and status; stderr kept apart in `errors`.
struct HostRun {
    int status;
    std::string out, errors;
};

// A file of this test's own: ctest runs the tests of this program side by side.
std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + ::testing::UnitTest::GetInstance()->current_test_info()->name() + "-" + name;
}

HostRun orvHost(const std::string& arguments) {
    const std::string errorFile = tempPath("errors.txt");
    const CommandRun run = runCommand(kHost + " " + arguments + " 2>" + errorFile);
    HostRun result{run.status, run.out, {}};
    if (FILE* f = std::fopen(errorFile.c_str(), "r")) {
        char buffer[4096];
        for (std::size_t n; (n = std::fread(buffer, 1, sizeof buffer, f)) > 0;) result.errors.append(buffer, n);
        std::fclose(f);
    }
    return result;
}

std::string quoted(const std::string& text) { return "'" + text + "'"; }

// One parameter line of info: "  16  CUTOFF                 0.9606679  (21.2 kHz)".
struct Shown {
    std::string name, display;
};

std::vector<Shown> parametersIn(const std::string& info) {
    std::vector<Shown> shown;
    if (info.find("parameters:") == std::string::npos) return shown;
    std::istringstream lines(info.substr(info.find("parameters:")));
    std::string line;
    std::getline(lines, line);
    while (std::getline(lines, line) && line.rfind("programs:", 0) != 0) {
        std::istringstream fields(line);
        int index;
        Shown s;
        std::string value;
        fields >> index >> s.name >> value;
        const std::size_t open = line.find("  ("), close = line.rfind(')');
        if (open != std::string::npos && close > open) s.display = line.substr(open + 3, close - open - 3);
        shown.push_back(s);
    }
    return shown;
}

// What `preset load` lists for the program file `file`.
std::vector<Shown> programIn(const std::string& file) {
    const HostRun run = orvHost("preset load " + kModule + " " + file);
    EXPECT_EQ(run.status, 0) << run.errors;
    return parametersIn(run.out);
}

std::string savedProgram(const std::string& options) {
    const std::string file = tempPath("saved.fxp");
    std::remove(file.c_str());
    const HostRun run = orvHost("preset save " + kModule + " " + file + " " + options);
    EXPECT_EQ(run.status, 0) << options << "\n" << run.errors;
    return file;
}

TEST(OrvHostCommandLine, EveryCommandAnswersHelpOnItsOutputAndTheVersionIsTheProjects) {
    for (const char* command : {"info", "edit", "screenshot", "render", "play", "preset", "bench"}) {
        const HostRun run = orvHost(std::string(command) + " --help");
        EXPECT_EQ(run.status, 0) << command << ": " << run.errors;
        EXPECT_EQ(run.out.rfind(std::string("usage: orv-host ") + command, 0), 0u) << run.out;
        EXPECT_EQ(run.errors, "") << command;
    }
    const HostRun version = orvHost("--version");
    EXPECT_EQ(version.status, 0);
    EXPECT_EQ(version.out, std::string("orv-host (Ambrell) ") + ORV_VERSION + "\n");
}

// Every display info shows, given back to --set on another program,
// shows the same: for each factory program's values and for the ends of
// every domain. Texts that depend on other parameters (an LFO's depth on
// its destination) come out right whatever the order of the settings.
TEST(OrvHostCommandLine, EveryDisplayedValueSetsBackToTheSameDisplay) {
    std::vector<std::string> sources;
    for (int program = 0; program < 20; ++program)
        sources.push_back("--program " + std::to_string(program));
    for (const char* end : {"0", "1"}) {
        std::string all = "--program 5";
        for (int i = 0; i < 44; ++i) all += " --set " + std::to_string(i) + "=" + end;
        sources.push_back(all);
    }
    for (std::size_t s = 0; s < sources.size(); ++s) {
        const std::vector<Shown> wanted = programIn(savedProgram(sources[s]));
        ASSERT_EQ(wanted.size(), 44u);
        std::string sets = "--program " + std::to_string((s + 7) % 20);
        // The three unnamed ("Param") by index; the rest by name, in
        // reverse order so the menus come after what depends on them.
        for (int i = 43; i >= 0; --i) {
            const std::string name = wanted[i].name == "Param" ? std::to_string(i) : wanted[i].name;
            sets += " --set " + quoted(name + "=" + wanted[i].display);
        }
        const std::vector<Shown> got = programIn(savedProgram(sets));
        ASSERT_EQ(got.size(), 44u);
        for (int i = 0; i < 44; ++i)
            EXPECT_EQ(got[i].display, wanted[i].display) << wanted[i].name << " from " << sources[s];
    }
}

TEST(OrvHostCommandLine, PresetSaveKeepsSetsByNamesInAnyCaseAndValuesAsAPlayerWritesThemUnderANewName) {
    const std::string file = savedProgram(
        "--program 'Acid Bass' --set cutoff=2kHz --set osc1wave=pulse --set Attack=62ms "
        "--set 'filtertype=LP 24dB' --set 'amp env release=1.5 s' --set 'Master Tune=-50 ct' "
        "--set 'osc 2 tune=+7 st' --set 'Sub Octave=-12' --set volumeosc1osc2=0.25 --name 'My Acid'");
    const HostRun listing = orvHost("preset load " + kModule + " " + file);
    EXPECT_NE(listing.out.find("    0  My Acid\n"), std::string::npos) << listing.out;
    const std::vector<Shown> got = parametersIn(listing.out);
    EXPECT_EQ(got[16].display, "2.00 kHz");
    EXPECT_EQ(got[3].display, "rec");
    EXPECT_EQ(got[25].display, "62.0 ms");
    EXPECT_EQ(got[39].display, "LP 24dB");
    EXPECT_EQ(got[28].display, "1.50 s");
    ASSERT_EQ(got.size(), 44u);
    EXPECT_EQ(got[1].display, "-50.0 cents");
    EXPECT_EQ(got[8].display, "+7.00 semi");
    EXPECT_EQ(got[40].display, "-12");
    EXPECT_EQ(got[12].display, "25.0 % osc2") << "a plain number is the stored value";
}

TEST(OrvHostCommandLine, ASettingItCannotPlaceIsOneLineAndStatusTwoAndNothingIsWritten) {
    const std::string file = tempPath("refused.fxp");
    for (const char* set : {"nosuch=1", "cutoff=1.7", "cutoff=50kHz", "cutoff=loud", "osc1wave=2.5",
                            "osc1wave=organ", "'attack=3 semi'", "Param=1", "cutoff"}) {
        std::remove(file.c_str());
        const HostRun run = orvHost("preset save " + kModule + " " + file + " --set " + set);
        EXPECT_EQ(run.status, 2) << set;
        if (std::string(set) != "cutoff") {
            EXPECT_EQ(run.errors.find('\n'), run.errors.size() - 1) << set << ": " << run.errors;
        }
        EXPECT_EQ(std::fopen(file.c_str(), "r"), nullptr) << set;
    }
    const HostRun run = orvHost("preset save " + kModule + " " + file + " --name 'A name far too long for it'");
    EXPECT_EQ(run.status, 2) << run.errors;
}

}  // namespace
