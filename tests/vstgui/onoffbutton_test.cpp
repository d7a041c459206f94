// The switch: what a click sends and when the window is repainted, and the
// picture each state shows.
#include <gtest/gtest.h>

#include "controlrig.h"
#include "vstgui/cbitmap.h"
#include "vstgui/conoffbutton.h"

using namespace VSTGUI;

namespace {

TEST(OnOffButton, ClicksToggleBetweenExactlyZeroAndOne) {
    fake::ControlRig rig;
    auto* button = rig.add(new COnOffButton(CRect(10, 10, 40, 30), &rig, 9, nullptr));
    rig.onIdle = [&] { rig.log.push_back("repaint"); };
    rig.press(button, CPoint(20, 20), kLButton);
    EXPECT_EQ(rig.values, std::vector<float>{1.f}) << "off to on";
    EXPECT_EQ(rig.log, (std::vector<std::string>{"repaint", "begin 9", "value 9", "end 9"}))
        << "the default style repaints before the listener hears";
    rig.press(button, CPoint(20, 20), kLButton);
    EXPECT_EQ(rig.values, (std::vector<float>{1.f, 0.f})) << "and back off";

    button->setStyle(kPostListenerUpdate);
    rig.log.clear();
    rig.press(button, CPoint(20, 20), kLButton);
    EXPECT_EQ(rig.log, (std::vector<std::string>{"begin 9", "value 9", "end 9", "repaint"}))
        << "kPostListenerUpdate: the listener first";

    button->setValue(2.7f);
    rig.press(button, CPoint(20, 20), kLButton);
    EXPECT_EQ(button->getValue(), 0.f) << "a value set from outside with a whole part counts as on";
    button->setValue(0.4f);
    rig.press(button, CPoint(20, 20), kLButton);
    EXPECT_EQ(button->getValue(), 1.f) << "one without counts as off";
}

TEST(OnOffButton, ModifierClicksAreOfferedFirstAndOtherButtonsIgnored) {
    fake::ControlRig rig;
    auto* button = rig.add(new COnOffButton(CRect(10, 10, 40, 30), &rig, 9, nullptr));
    rig.takeModifierClicks = 1;
    rig.press(button, CPoint(20, 20), kLButton | kShift);
    EXPECT_EQ(rig.modifierClicks, std::vector<int32_t>{kLButton | kShift}) << "Shift-click offered to the listener";
    EXPECT_EQ(button->getValue(), 0.f) << "taken: no toggle";
    rig.takeModifierClicks = 0;
    rig.press(button, CPoint(20, 20), kLButton | kShift);
    EXPECT_EQ(button->getValue(), 1.f) << "declined: it toggles";
    rig.press(button, CPoint(20, 20), kRButton);
    EXPECT_EQ(button->getValue(), 1.f) << "the right button does nothing";
}

TEST(OnOffButton, DrawsTheOffPictureAboveAndTheOnPictureBelow) {
    auto* picture = new CBitmap(130);
    ASSERT_TRUE(picture->isLoaded());
    const int32_t w = picture->getWidth(), h = picture->getHeight() / 2;
    COnOffButton button(CRect(0, 0, w, h), nullptr, 0, picture);
    auto drawn = [&](float value, bool direct, int32_t top) {
        PixelSurface surface(w, h);
        auto* context = new CDrawContext(nullptr, &surface, nullptr);
        button.setValue(value);
        if (direct)
            picture->draw(context, CRect(0, 0, w, h), CPoint(0, top));
        else
            button.draw(context);
        context->forget();
        return std::vector<Pixel>(surface.data(), surface.data() + w * h);
    };
    EXPECT_EQ(drawn(0.f, false, 0), drawn(0.f, true, 0)) << "off: the top half";
    EXPECT_EQ(drawn(1.f, false, 0), drawn(1.f, true, h)) << "on: the bottom half";
    EXPECT_NE(drawn(0.f, true, 0), drawn(0.f, true, h)) << "(the two halves differ)";
    picture->forget();
}

}  // namespace
