// The tunings a player finds in the panel menu: the .scl files of the
// tuning folders, each with its .kbm, the player's own before the system's.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "tuning/TuningLibrary.h"

namespace {

class Library : public ::testing::Test {
protected:
    void SetUp() override {
        root = ::testing::TempDir() + "orv-tunings-" + std::to_string(getpid());
        mine = root + "/mine";
        system = root + "/system";
        for (const std::string& d : {root, mine, system}) mkdir(d.c_str(), 0755);
    }
    void TearDown() override { std::system(("rm -rf '" + root + "'").c_str()); }
    void file(const std::string& path, const std::string& text) { std::ofstream(path) << text; }
    std::string root, mine, system;
};

TEST_F(Library, ScalesArePairedWithTheirMapsAndThePlayersOwnComeFirst) {
    const std::string fifth = "fifths\n1\n3/2\n";
    file(mine + "/pythagorean.scl", "player's\n2\n3/2\n2/1\n");
    file(system + "/pythagorean.scl", "system's\n2\n3/2\n2/1\n");
    file(system + "/a-bohlen.scl", "Bohlen-Pierce\n1\n3/1\n");
    file(system + "/a-bohlen.kbm", "0\n0\n127\n60\n60\n261.63\n0\n");
    file(system + "/notes.txt", fifth);
    mkdir((system + "/folder.scl").c_str(), 0755);

    const std::vector<TuningFile> found = findTunings({mine, system, root + "/missing"});
    ASSERT_EQ(found.size(), 2u);
    EXPECT_EQ(found[0].name, "a-bohlen");
    EXPECT_EQ(found[0].map, system + "/a-bohlen.kbm");
    EXPECT_EQ(found[1].name, "pythagorean");
    EXPECT_EQ(found[1].scale, mine + "/pythagorean.scl") << "the player's own hides the system's";
    EXPECT_TRUE(found[1].map.empty());

    Tuning t;
    std::string error;
    ASSERT_TRUE(loadTuning(found[1], t, error)) << error;
    EXPECT_EQ(t.description, "player's");
    file(mine + "/pythagorean.scl", "broken\n2\n3/0\n");
    EXPECT_FALSE(loadTuning(found[1], t, error));
    EXPECT_EQ(error, mine + "/pythagorean.scl:3: the ratio 3/0 has a zero in it");
}

TEST_F(Library, TheFoldersFollowTheDataDirectories) {
    setenv("XDG_DATA_HOME", "/home/p/data", 1);
    setenv("XDG_DATA_DIRS", "/opt/share:/usr/share", 1);
    const std::vector<std::string> folders = tuningFolders();
    const std::vector<std::string> expected = {"/home/p/data/ambrell/tunings", "/opt/share/ambrell/tunings",
                                               "/usr/share/ambrell/tunings"};
    EXPECT_EQ(folders, expected);
}

}  // namespace
