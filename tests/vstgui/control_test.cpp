// The control base: the dirty rule the redraw relies on, the Ctrl-click
// default inside an edit gesture, and the focus an edit gives.
#include <gtest/gtest.h>

#include <cmath>

#include "controlrig.h"

using namespace VSTGUI;

namespace {

class Plain : public CControl {
public:
    Plain(const CRect& size, CControlListener* listener, int32_t tag) : CControl(size, listener, tag, nullptr) {}
    void draw(CDrawContext*) override { setDirty(false); }
};

TEST(ControlDirty, FollowsTheValueSinceTheLastDraw) {
    Plain control(CRect(0, 0, 10, 10), nullptr, 0);
    EXPECT_TRUE(control.isDirty()) << "a new control waits for its first draw";
    control.draw(nullptr);
    EXPECT_FALSE(control.isDirty()) << "drawn: clean";
    control.setValue(0.25f);
    EXPECT_TRUE(control.isDirty()) << "a new value shows at the next redraw";
    control.setDirty(false);
    control.setValue(0.25f);
    EXPECT_FALSE(control.isDirty()) << "the same value again changes nothing";

    control.setValue(-1.f);
    control.setDirty(false);
    control.setDirty(true);
    EXPECT_TRUE(control.isDirty()) << "marked dirty even when the value is the -1 that marking uses";
    EXPECT_NE(control.getOldValue(), control.getValue());
    control.setValue(std::nanf(""));
    control.setDirty(false);
    EXPECT_TRUE(control.isDirty()) << "a NaN never equals its last drawn self";
}

TEST(ControlDefault, CtrlClickRestoresTheDefaultInsideAnEditGesture) {
    fake::ControlRig rig;
    auto* control = rig.add(new Plain(CRect(10, 10, 50, 50), &rig, 7));
    control->setDefaultValue(0.f);
    control->setValue(0.8f);
    control->setDirty(false);

    EXPECT_FALSE(control->checkDefaultValue(rig.context, kLButton | kControl | kShift))
        << "Ctrl with another modifier is not the default click";
    EXPECT_FALSE(control->checkDefaultValue(rig.context, kRButton | kControl)) << "nor with the right button";
    EXPECT_TRUE(rig.log.empty());
    EXPECT_FLOAT_EQ(control->getValue(), 0.8f);

    EXPECT_TRUE(control->checkDefaultValue(rig.context, kLButton | kControl));
    EXPECT_FLOAT_EQ(control->getValue(), 0.f) << "the default";
    EXPECT_EQ(rig.log, (std::vector<std::string>{"begin 7", "value 7", "end 7"})) << "framed by begin and end edit";
    EXPECT_EQ(rig.frame->getFocusView(), control) << "the edited control takes the focus (and so the keys)";

    rig.log.clear();
    control->setDirty(false);
    EXPECT_TRUE(control->checkDefaultValue(rig.context, kLButton | kControl));
    EXPECT_EQ(rig.log, (std::vector<std::string>{"begin 7", "end 7"})) << "already at the default: no value sent";
}

TEST(ControlEdit, ADetachedControlEditsNothing) {
    Plain control(CRect(0, 0, 10, 10), nullptr, 3);
    control.beginEdit();
    control.endEdit();
    control.doIdleStuff();  // no frame: nothing to reach, nothing to crash
    EXPECT_TRUE(control.checkDefaultValue(nullptr, kLButton | kControl)) << "still restores its default";
    EXPECT_FLOAT_EQ(control.getValue(), 0.5f) << "the default default is 0.5";
}

}  // namespace
