// The control layout: every control inside the window, none overlapping
// another or the readout (the frame routes a click to one view only), every
// parameter with at most one control, and the menus the idle refresh walks
// are exactly the table's menus.
#include <gtest/gtest.h>

#include <set>

#include "editor/ControlLayout.h"

using namespace layout;

namespace {

struct Box {
    int left, top, right, bottom;
};
Box boxOf(const Control& c) { return {c.left, c.top, c.right, c.bottom}; }
bool overlap(const Box& a, const Box& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(ControlLayout, ControlsFitTheWindowAndNeverOverlap) {
    const Box readout{kReadoutLeft, kReadoutTop, kReadoutRight, kReadoutBottom};
    for (int i = 0; i < kControlCount; ++i) {
        const Box a = boxOf(kControls[i]);
        EXPECT_TRUE(a.left >= 0 && a.top >= 0 && a.right <= 600 && a.bottom <= 500) << "control " << i;
        EXPECT_FALSE(overlap(a, readout)) << "control " << i << " under the readout";
        for (int j = i + 1; j < kControlCount; ++j)
            EXPECT_FALSE(overlap(a, boxOf(kControls[j]))) << "controls " << i << " and " << j;
    }
}

TEST(ControlLayout, EachParameterHasAtMostOneControlAndMenusRefreshOnce) {
    std::set<int32_t> tags, menuTags;
    int counts[3] = {};
    for (const Control& c : kControls) {
        EXPECT_TRUE(tags.insert(c.tag).second) << "tag " << c.tag << " twice";
        EXPECT_GE(c.tag, 0);
        EXPECT_LT(c.tag, kParameterCount);
        ++counts[int(c.kind)];
        if (c.kind == Kind::menu) menuTags.insert(c.tag);
        EXPECT_EQ(controlIndexOfTag(c.tag), &c - kControls);
    }
    EXPECT_EQ(counts[int(Kind::knob)], kKnobCount);
    EXPECT_EQ(counts[int(Kind::menu)], kMenuCount);
    EXPECT_EQ(counts[int(Kind::learnSwitch)], kSwitchCount);
    for (int32_t unbound : {6, 41}) EXPECT_EQ(controlIndexOfTag(unbound), -1) << unbound;
    EXPECT_EQ(std::set<int32_t>(std::begin(kMenuRefreshOrder), std::end(kMenuRefreshOrder)), menuTags);
    for (const Control& c : kControls)
        EXPECT_EQ(entriesOf(c).count > 0, c.kind == Kind::menu) << "entries for menus only: tag " << c.tag;
}

}  // namespace
