// Knobs without a window: the fake platform plays pointer positions,
// buttons and modifiers one step per turn of the drag loop, and the rig
// records what the host and the listener would hear.
#include <gtest/gtest.h>

#include <algorithm>

#include "controlrig.h"
#include "vstgui/canimknob.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cknob.h"

using namespace VSTGUI;
using fake::PointerStep;
using Log = std::vector<std::string>;

namespace {

const Log kOneEdit{"begin 5", "value 5", "end 5"};

// Frame positions around a 40-pixel knob at (10, 10), centre (30, 30).
constexpr CPoint kTop{30, 10};
constexpr CPoint kLowerLeft{16, 44};   // 225 degrees: the minimum
constexpr CPoint kLowerRight{44, 44};  // -45 degrees: the maximum
constexpr CPoint kCentre{30, 30};

// From the centre, right and up by the given pixels, buttons held.
PointerStep moved(int right, int up, int32_t buttons = kLButton) {
    return {CPoint(kCentre.h + right, kCentre.v - up), buttons};
}

class Knob : public ::testing::Test {
protected:
    Knob() { knob = rig.add(new CKnob(CRect(10, 10, 50, 50), &rig, 5, nullptr, nullptr, CPoint())); }

    // Plays a drag; the last step is held one more turn so that it is read.
    void drag(CPoint from, int32_t buttons, std::vector<PointerStep> steps) {
        steps.push_back(steps.back());
        rig.press(knob, from, buttons, steps);
    }

    fake::ControlRig rig;
    CKnob* knob;
};

TEST_F(Knob, CircularFollowsTheArcButNotAcrossTheDeadZone) {
    knob->setValue(0.1f);
    rig.press(knob, kTop, kLButton);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f) << "a press straight up: the middle";
    EXPECT_EQ(rig.log, kOneEdit) << "one value change inside one edit gesture";
    EXPECT_EQ(rig.frame->getFocusView(), knob) << "the dragged knob takes the keys";
    CPoint tip;
    knob->valueToPoint(tip);
    EXPECT_EQ(tip, CPoint(20, 3)) << "its pointer tip at the top, 3 pixels inside the rim";

    drag(kLowerLeft, kLButton, {{kTop, kLButton}, {kLowerRight, kLButton}});
    EXPECT_NEAR(rig.values[rig.values.size() - 3], 0.f, 1e-5f) << "the lower left is the minimum";
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f) << "over the top to the lower right: the maximum";

    rig.values.clear();
    drag(kLowerLeft, kLButton,
         {{CPoint(22, 48), kLButton}, {CPoint(30, 50), kLButton}, {CPoint(38, 48), kLButton}, {kLowerRight, kLButton}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.f) << "underneath, across the dead zone: it stays at the minimum";
    for (float v : rig.values) EXPECT_NEAR(v, 0.f, 1e-5f) << "and never jumps to the maximum on the way";
}

TEST_F(Knob, LinearHundredRightAndHundredUpIsTheWholeSpanOrThreeHundredWithShift) {
    rig.knobMode = kLinearMode;
    knob->setValue(0.2f);
    drag(kCentre, kLButton, {moved(25, 25), moved(100, 100), moved(150, 100)});
    ASSERT_GE(rig.values.size(), 3u);
    EXPECT_FLOAT_EQ(rig.values[1], 0.45f) << "50 pixels (25 right + 25 up) add a quarter of the span";
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f) << "200 pixels add 1.0 to 0.2: clamped at the maximum";

    knob->setValue(0.5f);
    drag(kCentre, kLButton, {moved(-30, -20)});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.25f) << "left and down lower it";

    knob->setValue(0.f);
    drag(kCentre, kLButton | kShift, {moved(150, 0, kLButton | kShift)});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f) << "with Shift 150 pixels are half the span";

    knob->setValue(0.f);
    rig.values.clear();
    drag(kCentre, kLButton,
         {moved(50, 0), moved(50, 0, kLButton | kShift), moved(110, 0, kLButton | kShift), moved(110, 0),
          moved(130, 0)});
    EXPECT_FLOAT_EQ(knob->getValue(), 50.f / 200.f + 60.f / 300.f + 20.f / 200.f)
        << "Shift pressed and released mid-drag: each stretch at its own scale";
    EXPECT_TRUE(std::is_sorted(rig.values.begin(), rig.values.end())) << "no jump back or forth at a switch";
}

TEST_F(Knob, AltSwapsTheHostsMode) {
    struct Case {
        int32_t mode, buttons;
        bool circular;
    };
    for (const Case& c : {Case{kLinearMode, kLButton | kAlt, true}, Case{kCircularMode, kLButton | kAlt, false},
                          Case{kRelativCircularMode, kLButton | kAlt, false},
                          Case{kRelativCircularMode, kLButton, true}, Case{kLinearMode, kLButton, false}}) {
        rig.knobMode = c.mode;
        knob->setValue(0.1f);
        rig.press(knob, kTop, c.buttons);
        EXPECT_FLOAT_EQ(knob->getValue(), c.circular ? 0.5f : 0.1f)
            << "mode " << c.mode << (c.buttons & kAlt ? " with Alt" : "") << " drags "
            << (c.circular ? "circularly (a press at the top: 0.5)" : "linearly (a press alone changes nothing)");
    }
}

TEST_F(Knob, CtrlClickSetsTheDefaultAndModifierClicksAreOfferedFirst) {
    knob->setDefaultValue(0.f);
    knob->setValue(0.7f);
    rig.press(knob, kTop, kLButton | kControl);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.f) << "the default, not the point under the pointer";
    EXPECT_EQ(rig.log, kOneEdit) << "framed by begin and end edit";

    rig.log.clear();
    rig.modifierClicks.clear();
    rig.press(knob, kTop, kLButton | kControl | kShift);
    EXPECT_EQ(rig.modifierClicks, std::vector<int32_t>{kLButton | kControl | kShift}) << "offered first";
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f) << "declined, and not the default click: an ordinary drag";
    EXPECT_EQ(rig.log, kOneEdit);

    rig.log.clear();
    rig.takeModifierClicks = 1;
    rig.press(knob, kLowerLeft, kLButton | kShift);
    rig.press(knob, kLowerLeft, kRButton);
    EXPECT_TRUE(rig.log.empty()) << "a click the listener took, or without the left button, does nothing";
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f);
}

TEST_F(Knob, WheelAndArrowKeysStepAndClamp) {
    knob->setValue(0.5f);
    EXPECT_TRUE(knob->onWheel(rig.context, kCentre, 1.f));
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f) << "one notch: 0.1";
    EXPECT_EQ(rig.log, kOneEdit) << "each notch is one edit gesture";
    rig.platform.input.buttons = kShift;
    knob->onWheel(rig.context, kCentre, -1.f);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.59f) << "with Shift: 0.01";
    rig.platform.input.buttons = 0;
    knob->onWheel(rig.context, kCentre, 7.f);
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f) << "clamped at the maximum";

    // Keys arrive through the frame at the focus view: the clicked knob.
    knob->setValue(0.5f);
    rig.frame->setFocusView(knob);
    VstKeyCode up{0, VKEY_UP, 0}, left{0, VKEY_LEFT, 0}, fineRight{0, VKEY_RIGHT, MODIFIER_SHIFT}, a{'a', 0, 0};
    EXPECT_EQ(rig.frame->onKeyDown(up), 1);
    rig.frame->onKeyDown(left);
    rig.frame->onKeyDown(left);
    rig.frame->onKeyDown(fineRight);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f + 0.1f - 0.2f + 0.01f) << "up and right raise, left lowers, Shift a tenth";
    EXPECT_EQ(knob->onKeyDown(a), -1) << "other keys are left to others";
}

TEST_F(Knob, ALostWindowEndsTheDragWhileTheButtonIsHeld) {
    int turns = 0;
    rig.onIdle = [&] {
        if (++turns == 3) rig.frame->setOpenFlag(false);  // the window was destroyed from outside
    };
    rig.press(knob, kLowerLeft, kLButton, std::vector<PointerStep>(1000, PointerStep{kTop, kLButton}));
    EXPECT_EQ(turns, 3) << "the loop ends at that turn";
    EXPECT_EQ(rig.log.back(), "end 5") << "and the edit gesture still ends";
}

// The editor's knob: 80 frames of 40 pixels from the module's strip.
class AnimKnob : public ::testing::Test {
protected:
    AnimKnob() : strip(new CBitmap(129)) {
        knob = rig.add(new CAnimKnob(CRect(0, 0, 40, 40), &rig, 1, 80, 40, strip, CPoint()));
    }
    ~AnimKnob() override { strip->forget(); }

    template <class Paint>
    static std::vector<Pixel> drawn(Paint paint) {
        PixelSurface surface(40, 40);
        CDrawContext* context = new CDrawContext(nullptr, &surface, nullptr);
        paint(context);
        context->forget();
        return std::vector<Pixel>(surface.data(), surface.data() + 40 * 40);
    }
    // The strip's frame that the knob draws at value, or -1.
    int32_t frameShown(float value) {
        knob->setValue(value);
        const std::vector<Pixel> shown = drawn([&](CDrawContext* c) { knob->draw(c); });
        for (int32_t frame = 0; frame < 80; ++frame)
            if (shown == drawn([&](CDrawContext* c) { strip->draw(c, CRect(0, 0, 40, 40), CPoint(0, frame * 40)); }))
                return frame;
        return -1;
    }

    fake::ControlRig rig;
    CBitmap* strip;
    CAnimKnob* knob;
};

TEST_F(AnimKnob, ShowsTheFrameOfItsValue) {
    ASSERT_GE(strip->getHeight(), 80 * 40) << "the module's strip";
    EXPECT_EQ(frameShown(0.5f), 39) << "0.5: 1580 pixels down, snapped to the frame at 1560";
    EXPECT_EQ(frameShown(1.f), 79) << "1.0: the last frame";
    EXPECT_EQ(frameShown(0.0125f), 0) << "0.0125: 39.5 pixels down, still the first frame";
    EXPECT_EQ(frameShown(-0.3f), 0) << "below the minimum: the first frame";
    EXPECT_EQ(frameShown(7.f), 79) << "above the maximum (from outside): the last frame";
}

TEST_F(AnimKnob, RedrawsOnlyWhenThePointerMovesAWholePixel) {
    frameShown(0.5f);
    knob->setValue(0.5001f);
    EXPECT_FALSE(knob->isDirty()) << "a change below a pixel of the pointer: no redraw";
    knob->setValue(0.6f);
    EXPECT_TRUE(knob->isDirty()) << "a visible change";
    knob->setValue(0.5001f);
    knob->setDirty(true);
    EXPECT_TRUE(knob->isDirty()) << "marked dirty: redrawn whatever the position";
}

}  // namespace
