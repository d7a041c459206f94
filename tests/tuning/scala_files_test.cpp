// The Scala files as players write them: what is read, and every fault the
// formats allow refused with the line it is on.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "tuning/Tuning.h"

namespace {

TEST(ScalaFiles, ReadsCommentsRatiosCentsAndRemarks) {
    // CRLF line breaks, a remark after a pitch, a bare whole number as a
    // ratio, negative cents, and a description that is kept as written.
    const std::string scale =
        "! meantone.scl\r\n!\r\n Quarter-comma meantone, a fragment\r\n 4\r\n"
        "76.049 ! chromatic semitone\r\n-10.0\r\n3/2 fifth\r\n2\r\n";
    Tuning t;
    std::string error;
    ASSERT_TRUE(Tuning::fromText(scale, "meantone.scl", "", "", t, error)) << error;
    EXPECT_EQ(t.description, " Quarter-comma meantone, a fragment");
    // Default layout: degree 0 on key 60 at the equal-tempered middle C.
    EXPECT_FLOAT_EQ(t.table.pitch[60], 60.0f);
    EXPECT_NEAR(t.table.pitch[61], 60.76049, 1e-5);
    EXPECT_NEAR(t.table.pitch[62], 59.9, 1e-5);
    EXPECT_NEAR(t.table.pitch[63], 60.0 + 12.0 * std::log2(1.5), 1e-5);
    EXPECT_NEAR(t.table.pitch[64], 72.0, 1e-5) << "the period";
    EXPECT_NEAR(t.table.pitch[59], 60.0 - 12.0 + 12.0 * std::log2(1.5), 1e-5) << "one period down";
}

TEST(ScalaFiles, KeysOutsideTheMapOrMarkedXAreUnmapped) {
    const std::string scale = "5\n5\n240.\n480.\n720.\n960.\n1200.\n";
    // Pattern of 7 keys from 60; key 62 is x, keys 66 (left out at the end)
    // and everything outside 36..84 play nothing.
    const std::string map = "7\n36\n84\n60\n60\n261.6255653\n5\n0\n1\nx\n2\n3\n4\n";
    Tuning t;
    std::string error;
    ASSERT_TRUE(Tuning::fromText(scale, "5.scl", map, "5.kbm", t, error)) << error;
    for (int key : {35, 62, 66, 69, 73, 85}) EXPECT_FALSE(t.table.plays(key)) << key;
    for (int key : {36, 60, 61, 63, 67, 84}) EXPECT_TRUE(t.table.plays(key)) << key;
    EXPECT_NEAR(t.table.pitch[63], 60.0 + 4.8, 1e-4) << "key 63 plays degree 2";
    EXPECT_NEAR(t.table.pitch[67], 60.0 + 12.0, 1e-4) << "the next pattern starts a period up";
}

struct Fault {
    const char* what;
    std::string scale, map;
    std::string expected;  // "FILE:LINE:"
};

TEST(ScalaFiles, EveryFaultIsRefusedWithItsLine) {
    const std::string scaleHead = "! x\nsome scale\n";  // lines 1 and 2
    const std::string mapHead = "12\n0\n127\n60\n69\n440\n12\n";
    const std::string goodScale = scaleHead + "2\n700.0\n2/1\n";
    const std::vector<Fault> faults = {
        {"empty scale", "", "", "s.scl:1:"},
        {"no count", "! only a comment\ndescription\n", "", "s.scl:3:"},
        {"count not a number", scaleHead + "twelve\n", "", "s.scl:3:"},
        {"count of zero", scaleHead + "0\n", "", "s.scl:3:"},
        {"negative count", scaleHead + "-2\n", "", "s.scl:3:"},
        {"fewer notes than declared", scaleHead + "3\n100.0\n! c\n2/1\n", "", "s.scl:7:"},
        {"bad cents", scaleHead + "2\n7o0.0\n2/1\n", "", "s.scl:4:"},
        {"cents with trailing junk", scaleHead + "2\n700.0c\n2/1\n", "", "s.scl:4:"},
        {"not finite", scaleHead + "2\nnan.\n2/1\n", "", "s.scl:4:"},
        {"zero ratio", scaleHead + "2\n0/5\n2/1\n", "", "s.scl:4:"},
        {"zero denominator", scaleHead + "2\n3/0\n2/1\n", "", "s.scl:4:"},
        {"negative ratio", scaleHead + "2\n3/2\n-2/1\n", "", "s.scl:5:"},
        {"two slashes", scaleHead + "2\n3/2/1\n2/1\n", "", "s.scl:4:"},
        {"blank pitch", scaleHead + "2\n\n2/1\n", "", "s.scl:4:"},
        {"empty map", goodScale, "! nothing\n", "m.kbm:2:"},
        {"map size not a number", goodScale, "twelve\n", "m.kbm:1:"},
        {"key beyond 127", goodScale, "12\n0\n128\n", "m.kbm:3:"},
        {"last key below first", goodScale, "12\n70\n60\n", "m.kbm:3:"},
        {"no reference frequency", goodScale, "12\n0\n127\n60\n69\n", "m.kbm:6:"},
        {"zero frequency", goodScale, "12\n0\n127\n60\n69\n0.0\n", "m.kbm:6:"},
        {"negative frequency", goodScale, "12\n0\n127\n60\n69\n-440\n", "m.kbm:6:"},
        {"no octave degree", goodScale, "12\n0\n127\n60\n69\n440\n", "m.kbm:7:"},
        {"bad map entry", goodScale, mapHead + "0\n1\ny\n", "m.kbm:10:"},
        {"negative map entry", goodScale, mapHead + "0\n-1\n", "m.kbm:9:"},
        {"hole in the map", goodScale, mapHead + "0\n\n2\n", "m.kbm:9:"},
        {"map longer than its size", goodScale, "2\n0\n127\n60\n60\n440\n2\n0\n1\nx\n", "m.kbm:10:"},
        {"reference key unmapped", goodScale, "2\n0\n127\n60\n61\n440\n2\n0\nx\n", "m.kbm:5:"},
    };
    for (const Fault& f : faults) {
        Tuning t;
        t.description = "untouched";
        std::string error;
        EXPECT_FALSE(Tuning::fromText(f.scale, "s.scl", f.map, "m.kbm", t, error)) << f.what;
        EXPECT_EQ(error.rfind(f.expected, 0), 0u) << f.what << ": " << error;
        EXPECT_EQ(error.find('\n'), std::string::npos) << f.what << ": one line";
        EXPECT_EQ(t.description, "untouched") << f.what << ": nothing changes";
    }
}

TEST(ScalaFiles, OnlyRegularFilesOfATuningsSizeAreRead) {
    std::string text, error;
    EXPECT_FALSE(readTuningFile("/nonexistent/x.scl", text, error));
    EXPECT_FALSE(readTuningFile("/dev/zero", text, error)) << "a device is refused before it is read";
    EXPECT_NE(error.find("/dev/zero"), std::string::npos) << error;
    EXPECT_FALSE(readTuningFile(::testing::TempDir(), text, error)) << "a folder";
}

}  // namespace
