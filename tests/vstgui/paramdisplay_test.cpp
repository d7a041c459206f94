// The value display: which text it shows, and the field it draws it on.
// Glyph shapes depend on the installed faces, so text is compared with the
// same text drawn by the context itself, not with fixed pixels.
#include <gtest/gtest.h>

#include <cstring>

#include "vstgui/cdrawcontext.h"
#include "vstgui/cparamdisplay.h"
#include "vstgui/pixelsurface.h"

using namespace VSTGUI;

namespace {

const CRect kField(10, 10, 70, 30);

// Draws display onto a grey surface and answers the pixels.
PixelSurface drawn(CParamDisplay& display) {
    PixelSurface surface(80, 40);
    surface.fill(surface.bounds(), toPixel(kGreyCColor));
    CDrawContext* context = new CDrawContext(nullptr, &surface, nullptr);
    display.draw(context);
    context->forget();
    return surface;
}

// What the default display looks like with text: black field, black
// outline, white text centred in the normal font.
PixelSurface expected(const char* text) {
    PixelSurface surface(80, 40);
    surface.fill(surface.bounds(), toPixel(kGreyCColor));
    CDrawContext* context = new CDrawContext(nullptr, &surface, nullptr);
    context->setFillColor(kBlackCColor);
    context->fillRect(kField);
    context->setFrameColor(kBlackCColor);
    context->drawRect(kField);
    context->setFont(kNormalFont);
    context->setFontColor(kWhiteCColor);
    context->drawString(text, kField, false, kCenterText);
    context->forget();
    return surface;
}

bool same(const PixelSurface& a, const PixelSurface& b) {
    for (int32_t y = 0; y < a.height(); ++y)
        for (int32_t x = 0; x < a.width(); ++x)
            if (a.pixel(x, y) != b.pixel(x, y)) return false;
    return true;
}

TEST(ParamDisplay, ShowsTheValueWithTwoDecimalsOrThroughItsConverter) {
    CParamDisplay display(kField);
    display.setValue(0.5f);
    EXPECT_TRUE(same(drawn(display), expected("0.50"))) << "no converter: 0.5 shows as 0.50";
    EXPECT_FALSE(same(expected("0.50"), expected("0.51"))) << "(the comparison sees a different text)";
    EXPECT_FALSE(display.isDirty()) << "drawing cleans it";

    display.setStringConvert([](float value, char* text) { std::strcpy(text, value > 0.4f ? "on" : "off"); });
    EXPECT_TRUE(same(drawn(display), expected("on"))) << "the plain converter";
    static int token;
    display.setStringConvert(
        [](float, char* text, void* data) { std::strcpy(text, data == &token ? "user" : "?"); }, &token);
    EXPECT_TRUE(same(drawn(display), expected("user"))) << "the converter with user data wins, and gets it";
}

TEST(ParamDisplay, StylesChooseFieldFrameAndText) {
    CParamDisplay display(kField);
    display.setStyle(kNoDrawStyle);
    PixelSurface nothing = drawn(display);
    EXPECT_EQ(nothing.pixel(30, 20), toPixel(kGreyCColor)) << "kNoDrawStyle draws nothing";

    display.setStyle(kNoTextStyle);
    EXPECT_TRUE(same(drawn(display), expected(""))) << "kNoTextStyle: the field alone";

    display.setStyle(k3DIn | kNoTextStyle);
    display.setBackColor(kBlueCColor);
    display.setFrameColor(kYellowCColor);
    PixelSurface sunken = drawn(display);
    EXPECT_EQ(sunken.pixel(10, 20), toPixel(kBlueCColor)) << "sunken: left edge in the back colour";
    EXPECT_EQ(sunken.pixel(40, 11), toPixel(kBlueCColor)) << "sunken: top edge (one row in) in the back colour";
    EXPECT_EQ(sunken.pixel(69, 20), toPixel(kYellowCColor)) << "sunken: right edge in the frame colour";
    EXPECT_EQ(sunken.pixel(40, 29), toPixel(kYellowCColor)) << "sunken: bottom edge in the frame colour";
    display.setStyle(k3DOut | kNoTextStyle);
    PixelSurface raised = drawn(display);
    EXPECT_EQ(raised.pixel(10, 20), toPixel(kYellowCColor)) << "raised: the colours change places";
    EXPECT_EQ(raised.pixel(69, 20), toPixel(kBlueCColor));

    display.setStyle(kShadowText);
    display.setBackColor(kBlackCColor);
    display.setValue(0.5f);
    PixelSurface shadowed = drawn(display);
    bool red = false;  // anti-aliased: reddish, with no green or blue
    for (int32_t y = 0; y < 40; ++y)
        for (int32_t x = 0; x < 80; ++x) {
            const Pixel p = shadowed.pixel(x, y);
            red = red || ((p & 0xffff) == 0 && p > 0x400000);
        }
    EXPECT_TRUE(red) << "kShadowText: the text once more in the (red) shadow colour";
}

TEST(ParamDisplay, SettersMarkDirtyOnlyWhenTheLookChanges) {
    CParamDisplay display(kField);
    display.setDirty(false);
    display.setFontColor(kWhiteCColor);
    display.setFont(kNormalFont);
    display.setStyle(0);
    display.setHoriAlign(kCenterText);
    EXPECT_FALSE(display.isDirty()) << "the settings it already had";
    display.setFontColor(CColor{255, 255, 255, 0});
    EXPECT_TRUE(display.isDirty()) << "a colour differing in alpha alone still counts";
}

}  // namespace
