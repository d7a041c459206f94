// The 20 programs: the factory bank's names and values, switching that keeps
// edits in place, and program names ("Init" numbering, length limits).
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "engine/Choices.h"
#include "support/ModuleHost.h"

namespace {

const char* const kFactoryNames[20] = {
    "Saw Bass",       "Ramp Bass",        "Acid Bass",      "Dark Slap Bass",
    "Dark Bass",      "Funky Lead",       "Analog Lead",    "Rising Industry Pad",
    "Air Saw Fill",   "FM FX",            "Reverse Industry FX", "Random FX",
    "Clean Sweep FX", "Blupper Saw FX",   "Rising Blops FX", "Falling Pulse FX",
    "Glas Percusion", "Wood Percusion",   "Old Scool Snare C2", "Reso Kick"};

const float kRisingIndustryPad[44] = {
    1, 0.5f, 0.8743341f, 1, 0.5f, 0, 0, 1, 0.2753991f, 0.546403f, 0.5f, 0.033231914f,
    0.39239034f, 0.6146806f, 0.8484652f, 2, 0.023482153f, 0.4016109f, 0.27683288f, 0.072791904f,
    0.7309408f, 0.9629334f, 0.919254f, 0.41622272f, 0.86146164f, 0.9016109f, 1, 0.7458171f,
    0.8333333f, 1, 0.5761335f, 0, 7, 1, 0.679135f, 0.28134724f, 1, 0, 1, 0, 0, 0, 0, 0};

const float kFmFx[44] = {
    0.4698885f, 0.5f, 0, 3, 0.5f, 0, 0, 3, 0, 0.5f, 0.5f, 0, 1, 0, 0, 1, 0.14938197f, 0,
    0.35257196f, 0, 0.8333333f, 0, 0.9837085f, 0, 0.8853194f, 0, 1, 1, 0.9373055f, 0,
    0.21146207f, 2, 2, 7, 0.6721067f, 0.4066625f, 2, 6, 9, 0, 0, 0, 0, 0};

class Programs : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error(); }
    void select(int p) { host.dispatch(effSetProgram, 0, p); }
    void rename(const char* name) { host.dispatch(effSetProgramName, 0, 0, const_cast<char*>(name)); }

    ModuleHost host;
};

TEST_F(Programs, FactoryNamesInOrder) {
    for (int p = 0; p < 20; ++p) {
        bool ok = false;
        EXPECT_EQ(host.programNameIndexed(p, &ok), kFactoryNames[p]) << "program " << p;
        EXPECT_TRUE(ok) << "program " << p << " is named by index";
    }
    for (int p : {20, -1, 1000}) {
        bool ok = true;
        host.programNameIndexed(p, &ok);
        EXPECT_FALSE(ok) << "no program " << p;
    }
}

TEST_F(Programs, GivenProgramsAreExact) {
    select(7);
    for (int i = 0; i < 44; ++i) EXPECT_EQ(host.getParameter(i), kRisingIndustryPad[i]) << "7: " << i;
    select(9);
    for (int i = 0; i < 44; ++i) EXPECT_EQ(host.getParameter(i), kFmFx[i]) << "9: " << i;
    EXPECT_EQ(host.getParameter(33), 7.0f) << "choice numbers, not fractions";
    EXPECT_EQ(host.getParameter(38), 9.0f);
}

TEST_F(Programs, EveryFactoryProgramKeepsTheCommonRules) {
    for (int p = 0; p < 20; ++p) {
        select(p);
        EXPECT_EQ(host.getParameter(1), 0.5f) << p << ": master pitch centred";
        for (int i : {41, 42, 43}) EXPECT_EQ(host.getParameter(i), 0.0f) << p << ": " << i;
        for (int i = 0; i < 44; ++i) {
            const float v = host.getParameter(i);
            const choice::Menu menu = choice::menuFor(i);
            if (menu.count > 0) {
                EXPECT_EQ(v, static_cast<float>(static_cast<int>(v))) << p << ": " << i << " whole";
                EXPECT_GE(v, 0.0f) << p << ": " << i;
                EXPECT_LT(v, static_cast<float>(menu.count)) << p << ": " << i << " inside its menu";
            } else {
                EXPECT_GE(v, 0.0f) << p << ": " << i;
                EXPECT_LE(v, 1.0f) << p << ": " << i;
            }
        }
    }
}

TEST_F(Programs, SwitchingKeepsEditsInPlace) {
    select(4);
    host.setParameter(5, 0.3125f);
    select(6);
    EXPECT_NE(host.getParameter(5), 0.3125f) << "program 6 has its own value";
    select(4);
    EXPECT_EQ(host.getParameter(5), 0.3125f) << "the edit lives in program 4's record";
    EXPECT_EQ(host.dispatch(effGetProgram), 4);
}

TEST_F(Programs, SelectionOutsideTheBankIsIgnored) {
    select(3);
    for (int bad : {20, 21, -1, 1 << 20}) {
        EXPECT_EQ(host.dispatch(effSetProgram, 0, bad), 0);
        EXPECT_EQ(host.dispatch(effGetProgram), 3) << "program " << bad << " does not exist";
    }
}

TEST_F(Programs, InitIsNumberedOnlyForTheCurrentName) {
    select(6);
    rename("Init");
    EXPECT_EQ(host.programName(), "Init 7") << "numbered from 1";
    EXPECT_EQ(host.programNameIndexed(6), "Init") << "the indexed name is not numbered";
    select(19);
    rename("Init");
    EXPECT_EQ(host.programName(), "Init 20");
    for (const char* other : {"Init2", "Init ", "init", "INIT", "Ini"}) {
        rename(other);
        EXPECT_EQ(host.programName(), other) << "only exactly 'Init' is numbered";
    }
}

TEST_F(Programs, RenamingKeepsTheBytesAfterTheTerminator) {
    select(9);
    rename("FM");
    const auto bank = host.getChunk(false);
    const unsigned char* name = bank.data() + 9 * 1220;
    EXPECT_EQ(std::memcmp(name, "FM\0FX\0al Clang FX", 18), 0)
        << "only the new text and its terminator are written";
}

TEST_F(Programs, LongNamesAreCutTo23Characters) {
    select(2);
    rename("A name much longer than twenty-four bytes");
    char text[64];
    std::memset(text, 0x41, sizeof(text));
    host.dispatch(effGetProgramName, 0, 0, text);
    EXPECT_STREQ(text, "A name much longer than") << "23 characters and a terminator";
    for (std::size_t i = 24; i < sizeof(text); ++i)
        ASSERT_EQ(text[i], 0x41) << "effGetProgramName wrote byte " << i;
    EXPECT_EQ(host.programNameIndexed(2), "A name much longer than");
    EXPECT_EQ(host.programNameIndexed(3), "Dark Slap Bass") << "the next record is untouched";
}

}  // namespace
