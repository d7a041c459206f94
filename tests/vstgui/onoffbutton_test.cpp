// The switch: what a click sends, when the window is repainted, and the
// picture each state shows.
#include <gtest/gtest.h>

#include "controlrig.h"
#include "vstgui/cbitmap.h"
#include "vstgui/conoffbutton.h"

using namespace VSTGUI;
using Log = std::vector<std::string>;

namespace {

TEST(OnOffButton, ClicksToggleBetweenExactlyZeroAndOne) {
    fake::ControlRig rig;
    auto* button = rig.add(new COnOffButton(CRect(10, 10, 40, 30), &rig, 9, nullptr));
    rig.onIdle = [&] { rig.log.push_back("repaint"); };
    rig.press(button, CPoint(20, 20), kLButton);
    rig.press(button, CPoint(20, 20), kLButton);
    EXPECT_EQ(rig.values, (std::vector<float>{1.f, 0.f})) << "off to on and back";
    EXPECT_EQ(Log(rig.log.begin(), rig.log.begin() + 4), (Log{"repaint", "begin 9", "value 9", "end 9"}))
        << "the default style repaints before the listener hears";

    button->setStyle(kPostListenerUpdate);
    rig.log.clear();
    rig.press(button, CPoint(20, 20), kLButton);
    EXPECT_EQ(rig.log, (Log{"begin 9", "value 9", "end 9", "repaint"})) << "kPostListenerUpdate: the listener first";

    button->setValue(2.7f);
    rig.press(button, CPoint(20, 20), kLButton);
    EXPECT_EQ(button->getValue(), 0.f) << "a value set from outside with a whole part counts as on";

    rig.takeModifierClicks = 1;
    rig.press(button, CPoint(20, 20), kLButton | kShift);
    rig.press(button, CPoint(20, 20), kRButton);
    EXPECT_EQ(rig.modifierClicks, std::vector<int32_t>{kLButton | kShift}) << "Shift-click offered to the listener";
    EXPECT_EQ(button->getValue(), 0.f) << "taken by it, or with the right button: no toggle";
}

TEST(OnOffButton, DrawsTheOffPictureAboveAndTheOnPictureBelow) {
    auto* picture = new CBitmap(130);
    ASSERT_TRUE(picture->isLoaded());
    const int32_t w = picture->getWidth(), h = picture->getHeight() / 2;
    COnOffButton button(CRect(0, 0, w, h), nullptr, 0, picture);
    auto drawn = [&](float value, int32_t half) {
        PixelSurface surface(w, h);
        auto* context = new CDrawContext(nullptr, &surface, nullptr);
        button.setValue(value);
        if (half < 0)
            button.draw(context);
        else
            picture->draw(context, CRect(0, 0, w, h), CPoint(0, half * h));
        context->forget();
        return std::vector<Pixel>(surface.data(), surface.data() + w * h);
    };
    EXPECT_NE(drawn(0.f, 0), drawn(0.f, 1)) << "(the two halves differ)";
    EXPECT_EQ(drawn(0.f, -1), drawn(0.f, 0)) << "off: the top half";
    EXPECT_EQ(drawn(1.f, -1), drawn(1.f, 1)) << "on: the bottom half";
    picture->forget();
}

}  // namespace
