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

namespace {

const std::vector<std::string> kOneEdit{"begin 5", "value 5", "end 5"};

class Knob : public ::testing::Test {
protected:
    Knob() { knob = rig.add(new CKnob(CRect(10, 10, 50, 50), &rig, 5, nullptr, nullptr, CPoint())); }

    // The value as the editor sets it, drawn since: a value the listener
    // already knows is not reported again.
    void shown(float value) {
        knob->setValue(value);
        knob->setDirty(false);
    }

    // Frame positions around the 40-pixel knob at (10, 10); its centre is (30, 30).
    static constexpr CPoint kTop{30, 10};
    static constexpr CPoint kLowerLeft{16, 44};   // 225 degrees: the minimum
    static constexpr CPoint kLowerRight{44, 44};  // -45 degrees: the maximum
    static constexpr CPoint kCentre{30, 30};

    fake::ControlRig rig;
    CKnob* knob;
};

TEST_F(Knob, CircularPressAtTheTopGivesHalf) {
    knob->setValue(0.1f);
    rig.press(knob, kTop, kLButton);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f) << "straight up is the middle of the arc";
    EXPECT_EQ(rig.log, kOneEdit) << "one value change inside one edit gesture";
    EXPECT_EQ(rig.frame->getFocusView(), knob) << "the dragged knob takes the keys";

    CPoint tip;
    knob->valueToPoint(tip);
    EXPECT_EQ(tip, CPoint(20, 3)) << "the pointer tip at the top, 3 pixels inside the rim";
}

TEST_F(Knob, CircularDragFollowsTheArcButNotAcrossTheDeadZone) {
    rig.press(knob, kLowerLeft, kLButton, {{kTop, kLButton}, {kLowerRight, kLButton}, {kLowerRight, kLButton}});
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f) << "over the top to the lower right: the maximum";
    ASSERT_GE(rig.values.size(), 3u);
    EXPECT_NEAR(rig.values[0], 0.f, 1e-5f) << "the press at the lower left: the minimum";
    EXPECT_FLOAT_EQ(rig.values[1], 0.5f) << "the top on the way";

    rig.values.clear();
    knob->setValue(0.f);
    const std::vector<PointerStep> underneath{{CPoint(22, 48), kLButton},   // bottom, left of straight down
                                              {CPoint(30, 50), kLButton},   // straight down
                                              {CPoint(38, 48), kLButton},   // bottom, right of straight down
                                              {kLowerRight, kLButton},
                                              {kLowerRight, kLButton}};
    rig.press(knob, kLowerLeft, kLButton, underneath);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.f) << "across the dead zone the knob stays at the minimum";
    for (float v : rig.values) EXPECT_NEAR(v, 0.f, 1e-5f) << "and never jumps to the maximum on the way";
}

TEST_F(Knob, LinearHundredRightAndHundredUpIsTheWholeSpan) {
    rig.knobMode = kLinearMode;
    shown(0.2f);
    const CPoint p = kCentre;
    rig.press(knob, p, kLButton,
              {{CPoint(p.h + 25, p.v - 25), kLButton},
               {CPoint(p.h + 100, p.v - 100), kLButton},
               {CPoint(p.h + 150, p.v - 100), kLButton},
               {CPoint(p.h + 150, p.v - 100), kLButton}});
    ASSERT_GE(rig.values.size(), 3u);
    EXPECT_FLOAT_EQ(rig.values[0], 0.2f) << "the press reports the value it starts from";
    EXPECT_FLOAT_EQ(rig.values[1], 0.45f) << "50 pixels (25 right + 25 up) add a quarter of the span";
    EXPECT_FLOAT_EQ(knob->getValue(), 1.f) << "200 pixels would add 1.0 to 0.2: clamped at the maximum";

    knob->setValue(0.5f);
    rig.values.clear();
    rig.press(knob, p, kLButton, {{CPoint(p.h - 30, p.v + 20), kLButton}, {CPoint(p.h - 30, p.v + 20), kLButton}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.25f) << "left and down lower it (50 pixels: a quarter)";
}

TEST_F(Knob, LinearWithShiftNeedsThreeHundredPixelsAndSwitchingDoesNotJump) {
    rig.knobMode = kLinearMode;
    knob->setValue(0.f);
    const CPoint p = kCentre;
    rig.press(knob, p, kLButton | kShift, {{CPoint(p.h + 150, p.v), kLButton | kShift},
                                           {CPoint(p.h + 150, p.v), kLButton | kShift}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f) << "with Shift 150 pixels are half the span";

    knob->setValue(0.f);
    rig.values.clear();
    rig.press(knob, p, kLButton,
              {{CPoint(p.h + 50, p.v), kLButton},            // a quarter without Shift
               {CPoint(p.h + 50, p.v), kLButton | kShift},   // Shift pressed, pointer still
               {CPoint(p.h + 110, p.v), kLButton | kShift},  // 60 pixels more at 1/300
               {CPoint(p.h + 110, p.v), kLButton},           // Shift released
               {CPoint(p.h + 130, p.v), kLButton},           // 20 pixels more at 1/200
               {CPoint(p.h + 130, p.v), kLButton}});
    EXPECT_FLOAT_EQ(knob->getValue(), 0.25f + 60.f / 300.f + 20.f / 200.f);
    for (size_t i = 1; i < rig.values.size(); ++i)
        EXPECT_LE(rig.values[i] - rig.values[i - 1], 0.3f + 1e-5f) << "no jump at either switch";
    EXPECT_TRUE(std::is_sorted(rig.values.begin(), rig.values.end())) << "only ever rising while moving right";
}

TEST_F(Knob, AltSwapsTheHostsMode) {
    struct Case {
        int32_t mode;
        int32_t buttons;
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
            << (c.circular ? "circularly (press at the top: 0.5)" : "linearly (a press alone changes nothing)");
    }
}

TEST_F(Knob, CtrlClickSetsTheDefaultAndCtrlShiftIsOfferedToTheListenerFirst) {
    knob->setDefaultValue(0.f);
    knob->setValue(0.7f);
    rig.press(knob, kTop, kLButton | kControl);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.f) << "the default, not the point under the pointer";
    EXPECT_EQ(rig.log, kOneEdit) << "framed by begin and end edit";
    EXPECT_EQ(rig.modifierClicks, std::vector<int32_t>{kLButton | kControl}) << "offered to the listener first";

    rig.log.clear();
    rig.modifierClicks.clear();
    rig.press(knob, kTop, kLButton | kControl | kShift);
    EXPECT_EQ(rig.modifierClicks, std::vector<int32_t>{kLButton | kControl | kShift}) << "offered first";
    EXPECT_FLOAT_EQ(knob->getValue(), 0.5f) << "declined: an ordinary drag follows";
    EXPECT_EQ(rig.log, kOneEdit);

    rig.log.clear();
    rig.takeModifierClicks = 1;
    knob->setValue(0.2f);
    rig.press(knob, kTop, kLButton | kShift);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.2f) << "taken by the listener: the knob does nothing more";
    EXPECT_TRUE(rig.log.empty());

    rig.press(knob, kTop, kRButton);
    EXPECT_TRUE(rig.log.empty()) << "no left button, no drag";
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
    knob->setDirty(false);
    rig.log.clear();
    knob->onWheel(rig.context, kCentre, 1.f);
    EXPECT_TRUE(rig.log.empty()) << "no change at the end: the host hears nothing";

    // Keys arrive through the frame: the clicked knob holds the focus.
    knob->setValue(0.5f);
    rig.frame->setFocusView(knob);
    VstKeyCode up{0, VKEY_UP, 0}, left{0, VKEY_LEFT, 0}, fineRight{0, VKEY_RIGHT, MODIFIER_SHIFT};
    VstKeyCode letter{'a', 0, 0};
    EXPECT_EQ(rig.frame->onKeyDown(up), 1);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.6f) << "up: +0.1";
    rig.frame->onKeyDown(left);
    rig.frame->onKeyDown(left);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.4f) << "left: -0.1 each";
    rig.frame->onKeyDown(fineRight);
    EXPECT_FLOAT_EQ(knob->getValue(), 0.41f) << "Shift+right: +0.01";
    EXPECT_EQ(knob->onKeyDown(letter), -1) << "other keys are left to others";
}

TEST_F(Knob, ALostWindowEndsTheDragWhileTheButtonIsHeld) {
    int turns = 0;
    rig.onIdle = [&] {
        if (++turns == 3) rig.frame->setOpenFlag(false);  // the window was destroyed from outside
    };
    std::vector<PointerStep> forever(1000, PointerStep{kTop, kLButton});
    rig.press(knob, kLowerLeft, kLButton, forever);
    EXPECT_EQ(turns, 3) << "the loop ends at the next turn";
    EXPECT_EQ(rig.log.back(), "end 5") << "and the edit gesture still ends";
}

// A film strip of 80 frames, 40 pixels each: the editor's knob picture.
class AnimKnob : public ::testing::Test {
protected:
    AnimKnob() : strip(new CBitmap(129)) {
        knob = rig.add(new CAnimKnob(CRect(0, 0, 40, 40), &rig, 1, 80, 40, strip, CPoint()));
    }
    ~AnimKnob() override { strip->forget(); }

    // The knob drawn at value, compared with each frame of the strip.
    int32_t frameShown(float value) {
        knob->setValue(value);
        PixelSurface shown = draw([&](CDrawContext* c) { knob->draw(c); });
        for (int32_t frame = 0; frame < 80; ++frame) {
            PixelSurface candidate = draw([&](CDrawContext* c) { strip->draw(c, CRect(0, 0, 40, 40), CPoint(0, frame * 40)); });
            if (std::equal(shown.data(), shown.data() + 40 * 40, candidate.data())) return frame;
        }
        return -1;
    }
    template <class Paint>
    static PixelSurface draw(Paint paint) {
        PixelSurface surface(40, 40);
        CDrawContext* context = new CDrawContext(nullptr, &surface, nullptr);
        paint(context);
        context->forget();
        return surface;
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
    knob->setValue(0.5f);
    PixelSurface surface(40, 40);
    CDrawContext* context = new CDrawContext(nullptr, &surface, nullptr);
    knob->draw(context);
    context->forget();
    EXPECT_FALSE(knob->isDirty());
    knob->setValue(0.5001f);
    EXPECT_FALSE(knob->isDirty()) << "a change below a pixel of the pointer: no redraw";
    knob->setValue(0.6f);
    EXPECT_TRUE(knob->isDirty()) << "a visible change";
    knob->setValue(0.5001f);
    knob->setDirty(true);
    EXPECT_TRUE(knob->isDirty()) << "marked dirty: redrawn whatever the position";
}

}  // namespace
