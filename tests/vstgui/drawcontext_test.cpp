// Drawing context state, window contexts, off-screen contexts.
#include <gtest/gtest.h>

#include "fakeplatform.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/coffscreencontext.h"

using namespace VSTGUI;

namespace {

TEST(DrawContextState, StartsWithTheDocumentedDrawingState) {
    PixelSurface surface(10, 10);
    auto* context = new CDrawContext(nullptr, &surface, nullptr);
    EXPECT_EQ(context->getFrameColor(), kWhiteCColor) << "white pen";
    EXPECT_EQ(context->getFillColor(), kBlackCColor) << "black fill";
    EXPECT_EQ(context->getFontColor(), kWhiteCColor) << "white text";
    EXPECT_EQ(context->getLineStyle(), kLineSolid) << "solid lines";
    EXPECT_EQ(context->getLineWidth(), 1) << "one-pixel lines";
    EXPECT_EQ(context->getDrawMode(), kCopyMode) << "copy mode";
    EXPECT_EQ(context->getFont(), kSystemFont) << "system font";
    EXPECT_EQ(context->getFontSize(), 12) << "at its table height";
    CRect clip;
    EXPECT_EQ(context->getClipRect(clip), CRect(0, 0, 1000, 1000)) << "clip without a frame";
    context->forget();
}

TEST(DrawContextState, SetFontNormalisesAndKeepsAnUnchangedFont) {
    PixelSurface surface(10, 10);
    auto* context = new CDrawContext(nullptr, &surface, nullptr);
    context->setFont(CFont(12));
    EXPECT_EQ(context->getFont(), kSystemFont) << "an index outside the table is the system font";

    context->setFont(kNormalFontVeryBig);
    EXPECT_EQ(context->getFontSize(), 18) << "size 0 takes the table height";
    const Font* first = context->getFontObject();
    context->setFont(kNormalFontVeryBig, 18, 0);
    EXPECT_EQ(context->getFontObject(), first) << "the same font asked twice is made once";
    context->setFont(kNormalFontVeryBig, 18, kBoldFace);
    EXPECT_NE(context->getFontObject(), first) << "a new style makes a new font";
    context->setFont(kNormalFont, 1 << 30);
    EXPECT_LE(context->getFontSize(), 500) << "absurd heights are capped";
    context->forget();
}

TEST(DrawContextInput, MouseButtonsComeFromTheFramesInput) {
    fake::Platform platform;
    auto* frame = new CFrame(CRect(0, 0, 600, 500), platform.parent(), nullptr, platform);
    CDrawContext* context = frame->createDrawContext();
    platform.input.buttons = kLButton | kShift;
    EXPECT_EQ(context->getMouseButtons(), kLButton | kShift) << "live state, as the seam reports it";
    platform.input.buttons = kRButton;
    EXPECT_EQ(context->getMouseButtons(), kRButton) << "read afresh at every call";
    context->forget();
    frame->forget();

    PixelSurface surface(1, 1);
    auto* bare = new CDrawContext(nullptr, &surface, nullptr);
    EXPECT_EQ(bare->getMouseButtons(), 0) << "no frame, no input: nothing held";
    bare->forget();
}

TEST(WindowContext, BorrowsTheWindowBufferAndShowsWhatItDrew) {
    fake::Platform platform;
    platform.window.screenOrigin = CPoint(300, 200);
    auto* frame = new CFrame(CRect(0, 0, 600, 500), platform.parent(), nullptr, platform);
    CDrawContext* context = frame->createDrawContext();
    EXPECT_EQ(context->getSystemContext(), &platform.window.surface) << "draws into the window's buffer";
    EXPECT_EQ(context->offsetScreen, CPoint(300, 200)) << "offsetScreen is the window's screen origin";
    CRect clip;
    EXPECT_EQ(context->getClipRect(clip), CRect(0, 0, 600, 500)) << "clip starts as the frame's size";
    context->setFillColor(kRedCColor);
    context->fillRect(CRect(10, 10, 20, 20));
    EXPECT_TRUE(platform.window.shown.empty()) << "nothing is shown while drawing";
    context->forget();
    ASSERT_EQ(platform.window.shown.size(), 1u) << "the last forget shows the drawing";
    EXPECT_EQ(platform.window.shown[0], CRect(11, 11, 20, 20)) << "exactly the changed pixels";
    frame->forget();
}

TEST(OffscreenContext, StartsInItsBackgroundColourIncludingRowAndColumnZero) {
    auto* black = new COffscreenContext(nullptr, 600, 500, kBlackCColor);
    PixelSurface* s = black->getSystemContext();
    ASSERT_EQ(s->width(), 600);
    ASSERT_EQ(s->height(), 500);
    bool allBlack = true;
    for (int32_t y = 0; y < 500; ++y)
        for (int32_t x = 0; x < 600; ++x) allBlack = allBlack && s->pixel(x, y) == 0;
    EXPECT_TRUE(allBlack) << "600 x 500 black buffer is black everywhere";
    black->forget();

    auto* green = new COffscreenContext(nullptr, 30, 20, kGreenCColor);
    s = green->getSystemContext();
    int notGreen = 0;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 30; ++x) notGreen += s->pixel(x, y) != toPixel(kGreenCColor);
    EXPECT_EQ(notGreen, 0) << "fill plus outline cover every pixel, top row and left column too";
    green->forget();
}

TEST(OffscreenContext, NegativeSizeGivesAnEmptyBufferWithASpanningClip) {
    auto* context = new COffscreenContext(nullptr, -20, 10);
    CRect clip;
    EXPECT_EQ(context->getClipRect(clip), CRect(-20, 0, 0, 10)) << "clip spans from the negative width to 0";
    EXPECT_FALSE(context->hasBuffer()) << "no pixels";
    context->fillRect(CRect(-20, 0, 0, 10));  // must not touch memory
    context->forget();
}

TEST(OffscreenContext, CopyFromMovesARegionToTheDestination) {
    auto* buffer = new COffscreenContext(nullptr, 20, 20, kBlackCColor);
    buffer->setFillColor(kRedCColor);
    buffer->fillRect(CRect(4, 4, 8, 8));  // red at 5..7
    PixelSurface window(40, 40);
    auto* dest = new CDrawContext(nullptr, &window, nullptr);
    dest->offset = CPoint(10, 0);
    buffer->copyFrom(dest, CRect(0, 0, 10, 10), CPoint(5, 5));
    EXPECT_EQ(window.pixel(10, 0), toPixel(kRedCColor)) << "source (5, 5) lands at the rect's corner plus offset";
    EXPECT_EQ(window.pixel(12, 2), toPixel(kRedCColor)) << "source (7, 7)";
    EXPECT_EQ(window.pixel(13, 3), 0u) << "source (8, 8) is black";
    EXPECT_EQ(window.pixel(0, 0), 0u) << "left of the offset rect untouched";
    buffer->copyFrom(nullptr, CRect(0, 0, 10, 10));  // no destination: nothing
    dest->forget();
    buffer->forget();
}

}  // namespace
