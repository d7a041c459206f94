// The pixel rules of drawing, through a context on a bare surface.
#include <gtest/gtest.h>

#include "vstgui/cdrawcontext.h"
#include "vstgui/pixelsurface.h"

using namespace VSTGUI;

namespace {

constexpr Pixel kRed = toPixel(kRedCColor);
constexpr Pixel kBlue = toPixel(kBlueCColor);

// The set of pixels of a given colour, as a box and a count.
struct Coverage {
    CRect box;
    int count = 0;
};

Coverage coverage(const PixelSurface& s, Pixel color) {
    Coverage c;
    int32_t l = INT32_MAX, t = INT32_MAX, r = INT32_MIN, b = INT32_MIN;
    for (int32_t y = 0; y < s.height(); ++y)
        for (int32_t x = 0; x < s.width(); ++x)
            if (s.pixel(x, y) == color) {
                ++c.count;
                l = std::min(l, x), t = std::min(t, y), r = std::max(r, x + 1), b = std::max(b, y + 1);
            }
    if (c.count) c.box = CRect(l, t, r, b);
    return c;
}

class Drawing : public ::testing::Test {
protected:
    Drawing() : surface(40, 40), context(new CDrawContext(nullptr, &surface, nullptr)) {
        context->setFillColor(kRedCColor);
        context->setFrameColor(kRedCColor);
    }
    ~Drawing() override { context->forget(); }

    PixelSurface surface;
    CDrawContext* context;
};

TEST_F(Drawing, FillRectLeavesTopRowAndLeftColumn) {
    context->fillRect(CRect(0, 0, 10, 10));
    const Coverage c = coverage(surface, kRed);
    EXPECT_EQ(c.box, CRect(1, 1, 10, 10)) << "fills (1, 1) to (9, 9)";
    EXPECT_EQ(c.count, 9 * 9) << "a solid 9 x 9 block";
}

TEST_F(Drawing, DrawRectOutlinesTheLastPixelInside) {
    context->drawRect(CRect(0, 0, 10, 10));
    const Coverage c = coverage(surface, kRed);
    EXPECT_EQ(c.box, CRect(0, 0, 10, 10)) << "outline on x = 0..9, y = 0..9";
    EXPECT_EQ(c.count, 4 * 9) << "each of the 36 border pixels once, corners included";
    EXPECT_EQ(surface.pixel(5, 5), 0u) << "inside stays untouched";
    for (int i = 0; i < 10; ++i) {
        EXPECT_EQ(surface.pixel(i, 0), kRed) << "top edge at x = " << i;
        EXPECT_EQ(surface.pixel(9, i), kRed) << "right edge at y = " << i;
    }
}

TEST_F(Drawing, FillAndOutlineTogetherCoverTheRectOnce) {
    context->fillRect(CRect(2, 2, 12, 12));
    context->setFrameColor(kBlueCColor);
    context->drawRect(CRect(2, 2, 12, 12));
    EXPECT_EQ(coverage(surface, kRed).box, CRect(3, 3, 11, 11)) << "the outline covers the fill's last row and column";
    EXPECT_EQ(coverage(surface, kBlue).count, 36) << "outline intact";
}

TEST_F(Drawing, LineLeavesItsEndPixel) {
    context->moveTo(CPoint(2, 5));
    context->lineTo(CPoint(12, 5));
    EXPECT_EQ(coverage(surface, kRed).box, CRect(2, 5, 12, 6)) << "x = 2..11, not 12";
    context->moveTo(CPoint(20, 30));
    context->lineTo(CPoint(20, 20));
    EXPECT_EQ(surface.pixel(20, 20), 0u) << "upward line stops before its end too";
    EXPECT_EQ(surface.pixel(20, 30), kRed) << "and starts on its first pixel";
}

TEST_F(Drawing, DiagonalLineStepsOnePixelPerColumn) {
    context->moveTo(CPoint(0, 0));
    context->lineTo(CPoint(9, 3));
    const Coverage c = coverage(surface, kRed);
    EXPECT_EQ(c.count, 9) << "one pixel for each x of 0..8";
    EXPECT_EQ(c.box, CRect(0, 0, 9, 4)) << "y = round(x / 3) climbs to round(8 / 3) = 3";
    EXPECT_EQ(surface.pixel(1, 0), kRed) << "x = 1: 1/3 rounds to row 0";
    EXPECT_EQ(surface.pixel(2, 1), kRed) << "x = 2: 2/3 rounds to row 1";
}

TEST_F(Drawing, LineWithTheSameEndDrawsNothing) {
    context->moveTo(CPoint(5, 5));
    context->lineTo(CPoint(5, 5));
    EXPECT_EQ(coverage(surface, kRed).count, 0) << "a zero-length line sets no pixel";
}

TEST_F(Drawing, WideAndDashedPens) {
    context->setLineWidth(3);
    context->moveTo(CPoint(2, 5));
    context->lineTo(CPoint(12, 5));
    EXPECT_EQ(coverage(surface, kRed).box, CRect(1, 4, 13, 7)) << "a 3-pixel pen centred on each pixel of x = 2..11";
    surface.fill(surface.bounds(), 0);
    context->setLineWidth(1);
    context->setLineStyle(kLineOnOffDash);
    context->moveTo(CPoint(0, 20));
    context->lineTo(CPoint(12, 20));
    for (int32_t x = 0; x < 12; ++x)
        EXPECT_EQ(surface.pixel(x, 20) == kRed, (x / 3) % 2 == 0) << "3 on, 3 off at x = " << x;
}

TEST_F(Drawing, EllipseSitsOnePixelDownAndRight) {
    context->fillEllipse(CRect(0, 0, 10, 10));
    const Coverage c = coverage(surface, kRed);
    EXPECT_EQ(c.box, CRect(1, 1, 11, 11)) << "bounded by (left+1, top+1, right+1, bottom+1)";
    EXPECT_EQ(surface.pixel(1, 1), 0u) << "corner of the box is outside the ellipse";
    EXPECT_EQ(surface.pixel(6, 6), kRed) << "centre is filled";
}

TEST_F(Drawing, OffsetMovesEveryPrimitive) {
    context->offset = CPoint(10, 20);
    context->fillRect(CRect(0, 0, 4, 4));
    EXPECT_EQ(coverage(surface, kRed).box, CRect(11, 21, 14, 24)) << "fill moved by offset";
}

TEST_F(Drawing, ClipCutsEveryPrimitive) {
    context->offset = CPoint(2, 2);
    context->setClipRect(CRect(3, 3, 8, 8));  // device (5, 5, 10, 10)
    const CRect deviceClip(5, 5, 10, 10);

    context->fillRect(CRect(-10, -10, 50, 50));
    EXPECT_EQ(coverage(surface, kRed).box, deviceClip) << "fillRect clipped";

    surface.fill(surface.bounds(), 0);
    context->drawRect(CRect(0, 0, 30, 30));
    EXPECT_EQ(coverage(surface, kRed).count, 0) << "outline wholly outside the clip draws nothing";
    context->drawRect(CRect(4, 4, 30, 30));
    const Coverage outline = coverage(surface, kRed);
    EXPECT_TRUE(CRect(outline.box).bound(deviceClip) == outline.box) << "outline stays in the clip";

    surface.fill(surface.bounds(), 0);
    context->moveTo(CPoint(-100, 5));
    context->lineTo(CPoint(100000, 5));
    EXPECT_EQ(coverage(surface, kRed).box, CRect(5, 7, 10, 8)) << "a very long line is cut to the clip";

    surface.fill(surface.bounds(), 0);
    context->fillEllipse(CRect(-20, -20, 40, 40));
    EXPECT_EQ(coverage(surface, kRed).box, deviceClip) << "ellipse clipped";

    context->setFontColor(kRedCColor);
    surface.fill(surface.bounds(), 0);
    context->drawString("WWWWWWWW", CRect(-10, -10, 60, 30));
    const Coverage text = coverage(surface, kRed);
    EXPECT_GT(text.count, 0) << "some of the text is inside the clip";
    EXPECT_TRUE(CRect(text.box).bound(deviceClip) == text.box) << "text clipped";
}

TEST_F(Drawing, ClipIsReadBackInCallerCoordinates) {
    context->offset = CPoint(7, 9);
    context->setClipRect(CRect(1, 2, 3, 4));
    CRect clip;
    EXPECT_EQ(context->getClipRect(clip), CRect(1, 2, 3, 4)) << "offset is taken back off";
    EXPECT_EQ(surface.clip(), CRect(8, 11, 10, 13)) << "the device clip includes the offset";
}

TEST(SurfaceCopies, KeyColourKeepsTheDestinationExactly) {
    PixelSurface image(4, 1);
    const Pixel key = toPixel(kWhiteCColor);
    image.data()[0] = key;
    image.data()[1] = 0x102030;
    image.data()[2] = key;
    image.data()[3] = 0xFFFFFE;  // one step from the key: not see-through
    PixelSurface dest(4, 1);
    const Pixel under[4] = {0x0A0B0C, 0x0D0E0F, 0x112233, 0x445566};
    std::copy(under, under + 4, dest.data());
    dest.copyKeyed(image, CRect(0, 0, 4, 1), CPoint(), key);
    EXPECT_EQ(dest.pixel(0, 0), under[0]) << "key pixel keeps the destination";
    EXPECT_EQ(dest.pixel(1, 0), 0x102030u) << "other pixels are copied";
    EXPECT_EQ(dest.pixel(2, 0), under[2]) << "key pixel keeps the destination";
    EXPECT_EQ(dest.pixel(3, 0), 0xFFFFFEu) << "near-white is copied";
}

TEST(SurfaceCopies, ConstantAlphaMixesBySourceOpacity) {
    PixelSurface image(1, 1);
    image.data()[0] = 0xFF0000;
    PixelSurface dest(3, 1);
    std::fill(dest.data(), dest.data() + 3, 0x0000FFu);
    dest.blend(image, CRect(0, 0, 1, 1), CPoint(), 255);
    dest.blend(image, CRect(1, 0, 2, 1), CPoint(), 0);
    dest.blend(image, CRect(2, 0, 3, 1), CPoint(), 51);  // 20 %
    EXPECT_EQ(dest.pixel(0, 0), 0xFF0000u) << "255 is opaque";
    EXPECT_EQ(dest.pixel(1, 0), 0x0000FFu) << "0 leaves the destination";
    EXPECT_EQ(dest.pixel(2, 0), 0x3300CCu) << "51/255 of red over blue: red 51, blue 204";
}

TEST(SurfaceCopies, SourceOutsideTheImageLeavesTheDestination) {
    PixelSurface image(2, 2);
    std::fill(image.data(), image.data() + 4, kRed);
    PixelSurface dest(6, 6);
    dest.copy(image, CRect(0, 0, 6, 6), CPoint(-1, -1));
    EXPECT_EQ(coverage(dest, kRed).box, CRect(1, 1, 3, 3)) << "only the 2 x 2 image lands";
    dest.copy(image, CRect(0, 0, 6, 6), CPoint(INT32_MAX, INT32_MIN));
    EXPECT_EQ(coverage(dest, kRed).count, 4) << "absurd offsets copy nothing and do not overflow";
}

TEST(SurfaceLimits, OversizedOrNegativeSurfacesAreEmptyAndIgnoreDrawing) {
    PixelSurface negative(-5, 10);
    PixelSurface huge(PixelSurface::kMaxSide + 1, 1);
    EXPECT_TRUE(negative.isEmpty()) << "negative width gives no pixels";
    EXPECT_TRUE(huge.isEmpty()) << "beyond the largest side gives no pixels";
    EXPECT_TRUE(PixelSurface(10000, 10000).isEmpty()) << "sides allowed, but too many pixels in all";
    EXPECT_FALSE(PixelSurface(120, 9603).isEmpty()) << "a knob strip drawn three times larger";
    negative.fill(CRect(0, 0, 10, 10), kRed);
    negative.line(CPoint(0, 0), CPoint(10, 10), kRed);
    EXPECT_EQ(negative.pixel(0, 0), 0u) << "drawing on an empty surface is a no-op";
}

TEST(SurfaceDamage, CollectsTheBoxOfChangedPixelsAndKeepsFarApartOnesSeparate) {
    PixelSurface s(50, 50);
    s.fill(CRect(1, 2, 5, 6), kRed);
    s.fill(CRect(10, 20, 11, 21), kRed);
    ASSERT_EQ(s.damageCount(), 2) << "two rectangles far apart";
    EXPECT_EQ(s.damageRect(0), CRect(1, 2, 5, 6));
    EXPECT_EQ(s.damageRect(1), CRect(10, 20, 11, 21));
    s.fill(CRect(5, 6, 10, 20), kRed);
    ASSERT_EQ(s.damageCount(), 1) << "a fill touching both joins them";
    EXPECT_EQ(s.damageRect(0), CRect(1, 2, 11, 21));
    EXPECT_EQ(s.takeDamage(), CRect(1, 2, 11, 21)) << "union of the fills";
    EXPECT_TRUE(s.damage().isEmpty()) << "taking the damage clears it";
    EXPECT_EQ(s.damageCount(), 0);

    // Single pixels three apart: none touches another.
    for (int32_t i = 0; i <= PixelSurface::kMaxDamageRects; ++i) {
        const int32_t x = i % 16 * 3, y = i / 16 * 3;
        s.fill(CRect(x, y, x + 1, y + 1), kBlue);
    }
    ASSERT_EQ(s.damageCount(), 1) << "more rectangles than kept become their bounding box";
    EXPECT_EQ(s.damageRect(0), s.damage());
}

TEST(SurfaceDamage, ACopyCountsOnlyThePixelsWhoseValueItChanged) {
    PixelSurface image(20, 10), window(20, 10);
    image.fill(CRect(0, 0, 20, 10), kRed);
    window.copy(image, image.bounds(), CPoint());
    EXPECT_EQ(window.takeDamage(), image.bounds()) << "every pixel was new";
    window.copy(image, image.bounds(), CPoint());
    EXPECT_TRUE(window.damage().isEmpty()) << "the same pixels again change nothing";
    image.fill(CRect(3, 4, 5, 5), kBlue);
    image.fill(CRect(12, 7, 13, 8), kBlue);
    window.copy(image, image.bounds(), CPoint());
    EXPECT_EQ(window.damage(), CRect(3, 4, 13, 8)) << "the box of the changed pixels alone";
    EXPECT_EQ(window.pixel(12, 7), kBlue) << "and they were copied";
    window.copyKeyed(image, CRect(0, 0, 2, 2), CPoint(), kBlue);
    EXPECT_EQ(window.damage(), CRect(0, 0, 13, 8)) << "other transfers count the area they cover";
}

}  // namespace
