// The control base's dirty rule, which decides what the idle redraws.
#include <gtest/gtest.h>

#include <cmath>

#include "vstgui/ccontrol.h"

using namespace VSTGUI;

namespace {

class Plain : public CControl {
public:
    Plain() : CControl(CRect(0, 0, 10, 10), nullptr, 0, nullptr) {}
    void draw(CDrawContext*) override { setDirty(false); }
};

TEST(ControlDirty, FollowsTheValueSinceTheLastDraw) {
    Plain control;
    EXPECT_TRUE(control.isDirty()) << "a new control waits for its first draw";
    control.draw(nullptr);
    control.setValue(0.f);
    EXPECT_FALSE(control.isDirty()) << "drawn, value unchanged: clean";
    control.setValue(0.25f);
    EXPECT_TRUE(control.isDirty()) << "a new value shows at the next redraw";

    control.setValue(-1.f);
    control.draw(nullptr);
    control.setDirty(true);
    EXPECT_TRUE(control.isDirty()) << "marked dirty even when the value is the -1 that marking uses";
    control.setValue(std::nanf(""));
    control.draw(nullptr);
    EXPECT_TRUE(control.isDirty()) << "a NaN never equals its last drawn self";
}

}  // namespace
