// The panel menu's "Tuning" choices against a plug-in object: what is
// listed and checked, and what a choice does to the sound's tuning and to
// the saved bank.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>

#include "editor/TuningMenu.h"

namespace {

VstIntPtr noHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

std::string entryText(VSTGUI::COptionMenu& menu, int32_t i) {
    char text[VSTGUI::COptionMenu::kMaxEntryLength + 1] = {};
    menu.getEntry(i, text);
    return text;
}

TEST(TuningMenu, ListsTheFoldersTuningsChecksThePlayingOneAndChoosesThem) {
    const std::string folder = ::testing::TempDir() + "orv-tuning-menu-" + std::to_string(getpid());
    mkdir(folder.c_str(), 0755);
    std::ofstream(folder + "/nineteen.scl") << "nineteen equal steps\n1\n63.157895\n";
    std::ofstream(folder + "/broken.scl") << "broken\n1\n0/1\n";
    OrvVst plugin(noHost);
    VSTGUI::COptionMenu menu(VSTGUI::CRect(0, 0, 0, 0), nullptr, 0);
    TuningMenu tunings;

    tunings.fill(menu, plugin, {folder});
    ASSERT_EQ(menu.getNbEntries(), 3);
    EXPECT_EQ(entryText(menu, 0), "standard tuning");
    EXPECT_EQ(entryText(menu, 1), "broken");
    EXPECT_EQ(entryText(menu, 2), "nineteen");
    EXPECT_TRUE(menu.isCheckEntry(0));

    EXPECT_EQ(tunings.choose(2, plugin), "nineteen equal steps") << "the readout shows the description";
    void* chunk = nullptr;
    EXPECT_GT(plugin.getChunk(&chunk, false), 24400) << "saved with the bank";
    tunings.fill(menu, plugin, {folder});
    EXPECT_FALSE(menu.isCheckEntry(0));
    EXPECT_TRUE(menu.isCheckEntry(2));

    EXPECT_EQ(tunings.choose(1, plugin), folder + "/broken.scl:3: the ratio 0/1 has a zero in it");
    EXPECT_EQ(plugin.tuning().description, "nineteen equal steps") << "a refused file changes nothing";

    EXPECT_EQ(tunings.choose(0, plugin), "standard tuning");
    EXPECT_EQ(plugin.getChunk(&chunk, false), 24400);
    std::system(("rm -rf '" + folder + "'").c_str());
}

}  // namespace
