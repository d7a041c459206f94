// The helpers every orv-host command reads its arguments with: what a user
// may type for a number, a program and a file name, and the median the
// bench tables print.
#include "host/core/CommandLine.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

TEST(CommandLine, NumbersAreWholeFiniteStringsWithinTheirRange) {
    double v = -1.0;
    EXPECT_TRUE(parseNumber("44100", 8000, 384000, v));
    EXPECT_EQ(v, 44100.0);
    EXPECT_TRUE(parseNumber("0.25", 0, 1, v));
    EXPECT_EQ(v, 0.25);
    for (const char* bad : {"", "12x", "x12", "1e999", "nan", "inf", "7999"}) {
        v = -1.0;
        EXPECT_FALSE(parseNumber(bad, 8000, 384000, v)) << "'" << bad << "' is refused";
        EXPECT_EQ(v, -1.0) << "and leaves the value alone";
    }
    long n = -1;
    EXPECT_TRUE(parseWholeNumber("19", 0, 19, n));
    EXPECT_EQ(n, 19);
    EXPECT_FALSE(parseWholeNumber("2.5", 0, 19, n)) << "not whole";
    EXPECT_FALSE(parseWholeNumber("20", 0, 19, n)) << "past the end";
    EXPECT_FALSE(parseWholeNumber("0", 0, -1, n)) << "an empty range";
}

TEST(CommandLine, ProgramsAreFoundByExactNameBeforeNumber) {
    const std::vector<std::string> names = {"Saw Bass", "7", "Acid Bass"};
    EXPECT_EQ(findProgram(names, "Acid Bass"), 2);
    EXPECT_EQ(findProgram(names, "7"), 1) << "a program named 7 wins over number 7";
    EXPECT_EQ(findProgram(names, "2"), 2) << "by number from 0";
    EXPECT_EQ(findProgram(names, "3"), -1) << "past the last program";
    EXPECT_EQ(findProgram(names, "acid bass"), -1) << "names are exact";
    EXPECT_EQ(findProgram({}, "0"), -1) << "a plug-in without programs";
}

TEST(CommandLine, SuffixesMatchInAnyCase) {
    EXPECT_TRUE(hasSuffix("out/acid.png", ".png"));
    EXPECT_TRUE(hasSuffix("ACID.PNG", ".png"));
    EXPECT_TRUE(hasSuffix("a.Flac", ".flac"));
    EXPECT_FALSE(hasSuffix(".png", ".png")) << "a suffix alone is no file name";
    EXPECT_FALSE(hasSuffix("acid.png.wav", ".png"));
}

TEST(CommandLine, MedianOfAnEvenCountIsTheMeanOfTheMiddleTwo) {
    EXPECT_EQ(median({4.0, 1.0, 3.0}), 3.0) << "odd count: the middle value, in sorted order";
    EXPECT_EQ(median({8.0, 1.0, 2.0, 4.0}), 3.0) << "even count: (2 + 4) / 2, neither middle value alone";
    EXPECT_EQ(median({}), 0.0) << "nothing measured";
}

}  // namespace
