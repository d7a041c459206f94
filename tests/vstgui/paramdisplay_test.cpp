// The value display: which text it shows, and the field it draws it on.
// Glyph shapes depend on the installed faces, so text is compared with the
// same text drawn by the context itself, not with fixed pixels.
#include <gtest/gtest.h>

#include <cstring>

#include "vstgui/cdrawcontext.h"
#include "vstgui/cparamdisplay.h"

using namespace VSTGUI;

namespace {

const CRect kField(10, 10, 70, 30);

// The pixels of paint's drawing on a grey 80 x 40 surface.
template <class Paint>
std::vector<Pixel> drawn(Paint paint) {
    PixelSurface surface(80, 40);
    surface.fill(surface.bounds(), toPixel(kGreyCColor));
    CDrawContext* context = new CDrawContext(nullptr, &surface, nullptr);
    paint(context);
    context->forget();
    return std::vector<Pixel>(surface.data(), surface.data() + 80 * 40);
}

// The default look: black field, black outline, white text centred in the
// normal font.
std::vector<Pixel> expected(const char* text) {
    return drawn([&](CDrawContext* c) {
        c->setFillColor(kBlackCColor);
        c->fillRect(kField);
        c->setFrameColor(kBlackCColor);
        c->drawRect(kField);
        c->setFont(kNormalFont);
        c->setFontColor(kWhiteCColor);
        c->drawString(text, kField, false, kCenterText);
    });
}

TEST(ParamDisplay, ShowsTheValueWithTwoDecimalsOrThroughItsConverter) {
    CParamDisplay display(kField);
    auto shown = [&] { return drawn([&](CDrawContext* c) { display.draw(c); }); };
    display.setValue(0.5f);
    EXPECT_EQ(shown(), expected("0.50")) << "no converter: 0.5 shows as 0.50";
    EXPECT_NE(expected("0.50"), expected("0.51")) << "(the comparison sees a different text)";
    EXPECT_FALSE(display.isDirty()) << "drawing cleans it";

    display.setStringConvert([](float value, char* text) { std::strcpy(text, value > 0.4f ? "on" : "off"); });
    EXPECT_EQ(shown(), expected("on")) << "the plain converter";
    static int token;
    display.setStringConvert([](float, char* text, void* data) { std::strcpy(text, data == &token ? "u" : "?"); },
                             &token);
    EXPECT_EQ(shown(), expected("u")) << "the converter with user data wins, and gets it";
}

TEST(ParamDisplay, StylesChooseFieldAndBevel) {
    CParamDisplay display(kField, nullptr, kNoDrawStyle);
    auto shown = [&] { return drawn([&](CDrawContext* c) { display.draw(c); }); };
    EXPECT_EQ(shown(), drawn([](CDrawContext*) {})) << "kNoDrawStyle draws nothing";
    display.setStyle(kNoTextStyle);
    EXPECT_EQ(shown(), expected("")) << "kNoTextStyle: the field alone";

    display.setStyle(k3DIn | kNoTextStyle);
    display.setBackColor(kBlueCColor);
    display.setFrameColor(kYellowCColor);
    std::vector<Pixel> sunken = shown();
    auto at = [](const std::vector<Pixel>& p, int x, int y) { return p[size_t(y * 80 + x)]; };
    EXPECT_EQ(at(sunken, 10, 20), toPixel(kBlueCColor)) << "sunken: left edge in the back colour";
    EXPECT_EQ(at(sunken, 40, 11), toPixel(kBlueCColor)) << "top edge, one row in, too";
    EXPECT_EQ(at(sunken, 69, 20), toPixel(kYellowCColor)) << "right edge in the frame colour";
    EXPECT_EQ(at(sunken, 40, 29), toPixel(kYellowCColor)) << "bottom edge too";
    display.setStyle(k3DOut | kNoTextStyle);
    EXPECT_EQ(at(shown(), 10, 20), toPixel(kYellowCColor)) << "raised: the colours change places";
}

}  // namespace
