// orv-host and the files a user hands it: the player's state file when it
// cannot be read (nothing on disk changes: one line, a non-zero exit), and
// preset files written through symlinks but never over a device, a FIFO or
// a folder.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "host/core/PresetFile.h"
#include "support/Command.h"

namespace {

const std::string kModule = ORV_MODULE_PATH;

struct HostRun {
    int status;
    std::string err;
};

class FileSafety : public ::testing::Test {
protected:
    void SetUp() override {
        dir = ::testing::TempDir() + "orv-files-" + std::to_string(getpid());
        runCommand("rm -rf " + dir);
        ASSERT_EQ(mkdir(dir.c_str(), 0700), 0);
    }
    void TearDown() override { runCommand("rm -rf " + dir); }

    std::string path(const std::string& name) const { return dir + "/" + name; }

    // orv-host with its error stream captured. No JACK server is reached:
    // a player that got past its state would fail there, after saying so.
    HostRun host(const std::string& arguments) const {
        const std::string errFile = dir + "-stderr.txt";
        const CommandRun run =
            runCommand("JACK_NO_START_SERVER=1 JACK_DEFAULT_SERVER=orv-no-such-server ASAN_OPTIONS=detect_leaks=0 " +
                       std::string(ORV_HOST_PATH) + " " + arguments + " 2>" + errFile + " </dev/null");
        std::ifstream in(errFile);
        HostRun r{run.status, std::string(std::istreambuf_iterator<char>(in), {})};
        unlink(errFile.c_str());
        return r;
    }

    // What a path is, to compare before and after: its type, its bytes or
    // its link.
    std::string snapshot(const std::string& p) const {
        struct stat st;
        if (lstat(p.c_str(), &st) != 0) return "missing";
        if (S_ISLNK(st.st_mode)) {
            char link[4096];
            const ssize_t n = readlink(p.c_str(), link, sizeof link);
            return "link to " + std::string(link, n > 0 ? std::size_t(n) : 0) + ": " + snapshot(path(link));
        }
        if (S_ISFIFO(st.st_mode)) return "fifo";
        if (S_ISDIR(st.st_mode)) return "directory";
        if (S_ISCHR(st.st_mode)) return "device";
        std::ifstream in(p, std::ios::binary);
        return "file " + std::to_string(st.st_mode & 07777) + ": " +
               std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::string dir;
};

int lines(const std::string& text) { return static_cast<int>(std::count(text.begin(), text.end(), '\n')); }

TEST_F(FileSafety, APlayerStateItCannotReadIsNeverReplaced) {
    // A whole bank, cut in half; another plug-in's bank; a symlink to the
    // cut one; a FIFO and a folder.
    ASSERT_EQ(host("preset save " + kModule + " " + path("whole.fxb")).status, 0);
    ASSERT_EQ(truncate(path("whole.fxb").c_str(), 12000), 0);
    rename(path("whole.fxb").c_str(), path("cut.fxb").c_str());
    preset::Preset other;
    other.isBank = other.isChunk = true;
    other.uniqueId = 0x616D7379;  // 'amsy'
    other.programCount = 20;
    other.chunk.assign(500, 7);
    const std::vector<unsigned char> otherBytes = preset::write(other);
    std::ofstream(path("other.fxb"), std::ios::binary)
        .write(reinterpret_cast<const char*>(otherBytes.data()), std::streamsize(otherBytes.size()));
    ASSERT_EQ(symlink("cut.fxb", path("link.fxb").c_str()), 0);
    ASSERT_EQ(mkfifo(path("fifo.fxb").c_str(), 0600), 0);
    ASSERT_EQ(mkdir(path("folder.fxb").c_str(), 0700), 0);

    const struct {
        const char* state;
        const char* says;
    } cases[] = {
        {"cut.fxb", "the state is left as it is (--fresh starts anew"},
        {"other.fxb", "made for another plug-in"},
        {"link.fxb", "the state is left as it is"},
        {"fifo.fxb", "a FIFO; only a regular file is replaced"},
        {"folder.fxb", "a directory; only a regular file is replaced"},
    };
    for (const auto& c : cases) {
        const std::string before = snapshot(path(c.state));
        const HostRun run = host("play " + kModule + " --no-gui --state " + path(c.state));
        EXPECT_EQ(run.status, 1) << c.state;
        EXPECT_EQ(lines(run.err), 1) << run.err;
        EXPECT_NE(run.err.find(c.says), std::string::npos) << run.err;
        EXPECT_EQ(snapshot(path(c.state)), before) << c.state;
    }

    // --fresh goes past a state it cannot read, saying so; it is replaced
    // only when playing ends, which here it never begins.
    const std::string before = snapshot(path("cut.fxb"));
    const HostRun fresh = host("play " + kModule + " --no-gui --fresh --state " + path("cut.fxb"));
    EXPECT_NE(fresh.err.find("starting anew"), std::string::npos) << fresh.err;
    EXPECT_NE(fresh.status, 0) << "no JACK server here";
    EXPECT_EQ(snapshot(path("cut.fxb")), before);
    const HostRun folder = host("play " + kModule + " --no-gui --fresh --state " + path("folder.fxb"));
    EXPECT_NE(folder.err.find("only a regular file is replaced"), std::string::npos) << "even with --fresh";
}

TEST_F(FileSafety, PresetsAreWrittenWholeThroughSymlinksAndNeverOverOtherKindsOfFile) {
    // A symlink is followed: its target is replaced, keeping its mode.
    std::ofstream(path("target.fxb")) << "old";
    chmod(path("target.fxb").c_str(), 0640);
    ASSERT_EQ(symlink("target.fxb", path("link.fxb").c_str()), 0);
    const HostRun saved = host("preset save " + kModule + " " + path("link.fxb") + " --program 3");
    ASSERT_EQ(saved.status, 0) << saved.err;
    EXPECT_EQ(snapshot(path("link.fxb")).rfind("link to target.fxb: file 416: CcnK", 0), 0u)
        << "still a link, to a bank with the same mode (0640)";
    EXPECT_EQ(host("preset load " + kModule + " " + path("link.fxb")).status, 0);

    ASSERT_EQ(mkfifo(path("fifo.fxp").c_str(), 0600), 0);
    ASSERT_EQ(mkdir(path("folder.fxp").c_str(), 0700), 0);
    std::vector<std::string> refused = {"fifo.fxp", "folder.fxp"};
    // A device node of our own (the null device's numbers) needs root.
    if (mknod(path("null.fxp").c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) refused.push_back("null.fxp");
    for (const std::string& name : refused) {
        const std::string before = snapshot(path(name));
        for (const char* verb : {"save", "load"}) {
            const HostRun run = host(std::string("preset ") + verb + " " + kModule + " " + path(name));
            EXPECT_EQ(run.status, 1) << verb << " " << name;
            EXPECT_EQ(lines(run.err), 1) << run.err;
            EXPECT_NE(run.err.find(path(name) + ": a "), std::string::npos) << run.err;
        }
        EXPECT_EQ(snapshot(path(name)), before) << name;
    }
    const CommandRun listing = runCommand("ls -A " + dir + " | grep -v null.fxp");
    EXPECT_EQ(listing.out, "fifo.fxp\nfolder.fxp\nlink.fxb\ntarget.fxb\n") << "nothing left beside them";
}

}  // namespace
