// The player's settings file: where it lives, what survives a rewrite, and
// that nothing but a small plain file is read.
#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "editor/UserSettings.h"
#include "support/PrivateConfigHome.h"

namespace {

class Settings : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(folder.ok()) << "a folder of the test's own"; }
    void write(const std::string& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    std::string read(const std::string& path) {
        std::stringstream s;
        s << std::ifstream(path, std::ios::binary).rdbuf();
        return s.str();
    }
    PrivateConfigHome folder;
    const std::string dir = folder.path();
};

TEST_F(Settings, LiveUnderTheUsersConfigurationFolder) {
    setenv("XDG_CONFIG_HOME", "/somewhere/config", 1);
    EXPECT_EQ(UserSettings::defaultPath(), "/somewhere/config/ambrell/settings");
    setenv("XDG_CONFIG_HOME", "", 1);
    setenv("HOME", "/home/player", 1);
    EXPECT_EQ(UserSettings::defaultPath(), "/home/player/.config/ambrell/settings") << "an empty one is unset";
}

TEST_F(Settings, AChoiceIsWrittenAndEverythingElseInTheFileKept) {
    const std::string path = dir + "/ambrell/settings";
    UserSettings fresh(path);
    fresh.load();
    EXPECT_EQ(fresh.get("knobs", "circular"), "circular") << "no file: the defaults";
    ASSERT_TRUE(fresh.set("knobs", "vertical")) << "the folder is made";
    EXPECT_EQ(read(path), "knobs = vertical\n");

    write(path, "# by hand\nsize=150\nknobs =  circular  \nnot a setting\n");
    UserSettings settings(path);
    settings.load();
    EXPECT_EQ(settings.get("knobs", ""), "circular");
    EXPECT_EQ(settings.get("size", ""), "150") << "a key of a later build";
    ASSERT_TRUE(settings.set("knobs", "vertical"));
    ASSERT_TRUE(settings.set("tuning", "just"));
    EXPECT_EQ(read(path), "# by hand\nsize = 150\nknobs = vertical\nnot a setting\ntuning = just\n");
}

TEST_F(Settings, OnlyASmallPlainFileIsRead) {
    const std::string big = dir + "/big", fifo = dir + "/fifo", binary = dir + "/binary";
    write(big, "knobs = vertical\n" + std::string(UserSettings::kMaxFileSize, '#'));
    ASSERT_EQ(mkfifo(fifo.c_str(), 0600), 0);
    write(binary, std::string("knobs = vertical\n\0\x01", 19));
    for (const std::string& path : {big, fifo, binary, dir}) {
        UserSettings settings(path);
        settings.load();  // a FIFO would block here were it opened
        EXPECT_EQ(settings.get("knobs", "circular"), "circular") << path;
    }
}

TEST_F(Settings, AFileThatCannotBeWrittenKeepsTheChoiceForNow) {
    write(dir + "/plain", "");
    UserSettings settings(dir + "/plain/settings");  // a folder that is a file
    EXPECT_FALSE(settings.set("knobs", "vertical"));
    EXPECT_EQ(settings.get("knobs", "circular"), "vertical");
}

}  // namespace
