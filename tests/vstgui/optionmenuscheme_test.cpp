// COptionMenuScheme: the sizes the pop-up lays its items out by, and the
// pixels of an item in each state, as the editor's dark scheme draws them.
#include <gtest/gtest.h>

#include <algorithm>

#include "vstgui/cdrawcontext.h"
#include "vstgui/coptionmenuscheme.h"
#include "vstgui/pixelsurface.h"

using namespace VSTGUI;

namespace {

// Text colours of one channel each, so that anti-aliased glyph pixels
// (blends with the background) still tell which colour drew them.
constexpr CColor kBack = kBlackCColor;
constexpr CColor kSelection{25, 25, 25, 255};
constexpr CColor kText{200, 0, 0, 255};
constexpr CColor kHilite{0, 200, 0, 255};
constexpr CColor kDisabled{0, 0, 200, 255};

class Scheme : public ::testing::Test {
protected:
    Scheme() : surface(120, 40), context(new CDrawContext(nullptr, &surface, nullptr)) {
        scheme->setColors(kBack, kSelection, kText, kHilite, kDisabled);
        surface.fill(surface.bounds(), 0x123456);  // neither colour of the scheme
    }
    ~Scheme() override {
        context->forget();
        scheme->forget();
    }
    // How many pixels of r are mostly of c's channel: c's glyphs and dots.
    int count(const CRect& r, const CColor& c) const {
        const int channel = c.red ? 16 : c.green ? 8 : 0;
        int n = 0;
        for (int32_t y = r.top; y < r.bottom; ++y)
            for (int32_t x = r.left; x < r.right; ++x) {
                const Pixel p = surface.pixel(x, y);
                const int mine = int(p >> channel) & 0xFF;
                int others = 0;
                for (int shift : {16, 8, 0})
                    if (shift != channel) others = std::max(others, int(p >> shift) & 0xFF);
                n += mine > others + 40;
            }
        return n;
    }

    COptionMenuScheme* scheme = new COptionMenuScheme;
    PixelSurface surface;
    CDrawContext* context;
    const CRect item{0, 0, 120, 19};  // an 18-pixel item, one taller as drawn
};

TEST_F(Scheme, ItemsAreTheirTextPlusEighteenBySeparatorsSixByEighteen) {
    CPoint size;
    scheme->getItemSize("-", context, size);
    EXPECT_EQ(size, CPoint(6, 18)) << "a separator, whatever the font";
    context->setFont(kNormalFontSmall);
    const int32_t width = context->getStringWidth("noise");
    ASSERT_GT(width, 0) << "the small font is installed";
    scheme->getItemSize("noise", context, size);
    EXPECT_EQ(size, CPoint(width + 18, 18)) << "text width in the scheme's font, plus room for the dot";
    context->setFont(kNormalFontVeryBig);
    scheme->getItemSize("noise", context, size);
    EXPECT_EQ(size.h, width + 18) << "measured in the scheme's font, not the context's";
}

TEST_F(Scheme, ASelectedItemIsFilledWithTheSelectionAndWritesInTheHighlight) {
    scheme->drawItem("tri", 2, COptionMenuScheme::kSelected, context, item);
    EXPECT_EQ(surface.pixel(60, 1), toPixel(kSelection)) << "background inside the item";
    EXPECT_EQ(surface.pixel(0, 5), 0x123456u) << "the left column is left alone (fillRect's rule)";
    EXPECT_GT(count(CRect(18, 0, 60, 19), kHilite), 0) << "text in the highlight colour";
    EXPECT_EQ(count(CRect(0, 0, 18, 19), kHilite), 0) << "text starts 18 pixels in; no dot unchecked";

    scheme->drawItem("tri", 2, 0, context, item);
    EXPECT_EQ(surface.pixel(60, 1), toPixel(kBack)) << "plain background";
    EXPECT_EQ(count(item, kHilite), 0) << "no highlight left";
    EXPECT_GT(count(item, kText), 0) << "text in the text colour";
}

TEST_F(Scheme, CheckedItemsShowADotAndDisabledOnesTheirOwnColour) {
    scheme->drawItem("saw", 0, COptionMenuScheme::kChecked, context, item);
    EXPECT_EQ(surface.pixel(10, 8), toPixel(kText)) << "the dot (6..14, 4..12) in the text colour";
    scheme->drawItem("saw", 0, COptionMenuScheme::kChecked | COptionMenuScheme::kSelected, context, item);
    EXPECT_EQ(surface.pixel(10, 8), toPixel(kHilite)) << "selected: the dot in the highlight colour";

    scheme->drawItem("saw", 0, COptionMenuScheme::kDisabled, context, item);
    EXPECT_GT(count(item, kDisabled), 0) << "greyed text";
    EXPECT_EQ(count(item, kText), 0) << "and none in the normal colour";
}

TEST_F(Scheme, ASeparatorIsADarkLineOverALightOne) {
    scheme->drawItem("-", 0, 0, context, item);
    const int32_t y = (item.top + item.bottom) / 2;  // 9
    EXPECT_EQ(surface.pixel(2, y - 1), toPixel(kBlackCColor)) << "the shadow line from left + 2";
    EXPECT_EQ(surface.pixel(2, y), toPixel(kWhiteCColor)) << "the light line under it";
    EXPECT_EQ(surface.pixel(117, y), toPixel(kWhiteCColor)) << "up to right - 2 (exclusive)";
    EXPECT_EQ(surface.pixel(118, y), toPixel(kBack)) << "not beyond";
}

TEST_F(Scheme, ATabStartsASecondColumnFiftyPixelsFromTheRight) {
    scheme->drawItem("cutoff\tCC 74", 0, 0, context, item);
    EXPECT_GT(count(CRect(71, 0, 120, 19), kText), 0) << "the part after the tab near the right edge";
    EXPECT_EQ(count(CRect(60, 0, 71, 19), kText), 0) << "a gap between the two parts";
}

}  // namespace
