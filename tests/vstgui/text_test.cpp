// Text: fonts found through fontconfig, measured and placed by the
// alignment rules. Glyph shapes depend on the installed faces, so these
// tests check geometry only: inside the rectangle, where it starts and ends.
#include <gtest/gtest.h>

#include "vstgui/cdrawcontext.h"
#include "vstgui/pixelsurface.h"

using namespace VSTGUI;

namespace {

// Bounding box of the pixels that differ from black.
CRect inkBox(const PixelSurface& s) {
    CRect box(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) != 0) {
                box.left = std::min(box.left, x), box.top = std::min(box.top, y);
                box.right = std::max(box.right, x + 1), box.bottom = std::max(box.bottom, y + 1);
            }
    return box.left == INT32_MAX ? CRect() : box;
}

class Text : public ::testing::Test {
protected:
    Text() : surface(200, 60), context(new CDrawContext(nullptr, &surface, nullptr)) {
        context->setFont(kNormalFont);  // "Arial", 12 pixels
        context->setFontColor(kWhiteCColor);
    }
    ~Text() override { context->forget(); }

    PixelSurface surface;
    CDrawContext* context;
    const CRect box{10, 10, 190, 40};
};

TEST_F(Text, ArialTwelveIsFoundAndMeasured) {
    ASSERT_TRUE(context->getFontObject()->isUsable()) << "fontconfig resolves \"Arial\" to an installed face";
    const int32_t lineHeight = context->getFontObject()->getLineHeight();
    EXPECT_GE(lineHeight, 12) << "a 12-pixel em is at least 12 pixels of line";
    EXPECT_LE(lineHeight, 16) << "and not much more (ascent + descent)";
    const int32_t width = context->getStringWidth("CUTOFF");
    EXPECT_GT(width, 6 * 5) << "six capitals are wider than 5 pixels each";
    EXPECT_LT(width, 6 * 12) << "and narrower than the em each";
    EXPECT_EQ(context->getStringWidth("CUT") + context->getStringWidth("OFF"), width)
        << "widths add up: advances in whole pixels, no kerning";
    EXPECT_EQ(context->getStringWidth(""), 0) << "empty text is 0 wide";
    EXPECT_EQ(context->getStringWidth(nullptr), 0) << "no text is 0 wide";
}

TEST_F(Text, BoldIsAtLeastAsWide) {
    const int32_t regular = context->getStringWidth("Saw Bass");
    context->setFont(kNormalFont, 0, kBoldFace);
    EXPECT_GE(context->getStringWidth("Saw Bass"), regular) << "bold glyphs advance as far or further";
    context->setFont(kSystemFont, 0, 0);
    EXPECT_GE(context->getStringWidth("Saw Bass"), regular) << "the system font is bold even without the bit";
}

TEST_F(Text, LeftAlignedStartsOnePixelIn) {
    const int32_t lineHeight = context->getFontObject()->getLineHeight();
    context->setFillColor(kBlueCColor);
    context->drawString("LP 24dB", box, true, kLeftText);
    const int32_t top = box.top + (box.height() - lineHeight) / 2;
    const CRect expected(box.left + 1, top, box.left + 1 + context->getStringWidth("LP 24dB"), top + lineHeight);
    EXPECT_EQ(inkBox(surface), expected) << "the opaque background box starts at rect.left + 1, centred vertically";
    EXPECT_EQ(surface.pixel(box.left, top + 2), 0u) << "rect.left itself stays clear";
}

TEST_F(Text, RightAlignedEndsAtTheRightEdge) {
    context->drawString("LP 24dB", box, false, kRightText);
    const CRect ink = inkBox(surface);
    EXPECT_LE(ink.right, box.right) << "never past the right edge";
    EXPECT_GE(ink.right, box.right - 3) << "the last glyph ends at the edge, less its side bearing";
}

TEST_F(Text, CentredTextIsCentredBothWays) {
    context->drawString("HHHH", box, false, kCenterText);
    const CRect ink = inkBox(surface);
    const int32_t inkCentre2 = ink.left + ink.right, boxCentre2 = box.left + box.right;
    EXPECT_LE(std::abs(inkCentre2 - boxCentre2), 4) << "horizontal centre within 2 pixels";
    const int32_t capMiddle2 = ink.top + ink.bottom, boxMiddle2 = box.top + box.bottom;
    EXPECT_LE(std::abs(capMiddle2 - boxMiddle2), 5) << "capitals sit in the vertical middle";
}

TEST_F(Text, NeverLeavesItsRectangle) {
    const CRect small(20, 20, 50, 26);
    context->setFillColor(kRedCColor);
    context->drawString("A long text in a small box", small, true, kLeftText);
    const CRect ink = inkBox(surface);
    EXPECT_FALSE(ink.isEmpty()) << "something is drawn";
    EXPECT_EQ(CRect(ink).bound(small), ink) << "all of it inside the rectangle";
}

TEST_F(Text, TransparentTextKeepsTheBackground) {
    surface.fill(surface.bounds(), toPixel(kGreenCColor));
    context->drawString("I", box, false, kCenterText);
    EXPECT_EQ(surface.pixel(box.left + 1, box.top + 1), toPixel(kGreenCColor)) << "no box behind transparent text";
}

TEST_F(Text, UnderlineDrawsBelowTheLetters) {
    context->drawString("ace", box, false, kLeftText);
    const CRect plain = inkBox(surface);
    surface.fill(surface.bounds(), 0);
    context->setFont(kNormalFont, 0, kUnderlineFace);
    context->drawString("ace", box, false, kLeftText);
    const CRect underlined = inkBox(surface);
    EXPECT_GT(underlined.bottom, plain.bottom) << "the underline lies below lowercase letters";
    EXPECT_EQ(underlined.left, box.left + 1) << "it starts with the text's advance box";
}

TEST_F(Text, CharactersWithoutGlyphsTakeNoSpace) {
    EXPECT_EQ(context->getStringWidth("A\nB"), context->getStringWidth("AB")) << "a line feed has no glyph on a single line";
}

TEST_F(Text, NoTextDrawsNothing) {
    context->setFillColor(kRedCColor);
    context->drawString(nullptr, box, true, kLeftText);
    context->drawString("", box, true, kLeftText);
    EXPECT_TRUE(inkBox(surface).isEmpty()) << "neither no text nor empty text paints a background";
}

TEST_F(Text, SymbolFontResolves) {
    context->setFont(kSymbolFont);
    EXPECT_EQ(context->getFontSize(), 13) << "the symbol font's table height";
    EXPECT_GT(context->getStringWidth("abc"), 0) << "\"Symbol\" maps to a face with glyphs for a, b, c";
    context->drawString("abc", box, false, kCenterText);
    EXPECT_FALSE(inkBox(surface).isEmpty()) << "and draws them (the bytes address the symbol glyphs)";
}

}  // namespace
