// Drawing through containers: full and partial redraws, dirty tracking,
// the two update modes and the off-screen buffer.
#include <gtest/gtest.h>

#include "fakeplatform.h"
#include "probeview.h"
#include "vstgui/cframe.h"
#include "vstgui/coffscreencontext.h"

using namespace VSTGUI;

namespace {

constexpr Pixel kRed = toPixel(kRedCColor);
constexpr Pixel kBlue = toPixel(kBlueCColor);
constexpr Pixel kGrey = toPixel(kGreyCColor);
constexpr Pixel kGreen = toPixel(kGreenCColor);

class Redraw : public ::testing::Test {
protected:
    Redraw() {
        frame = new CFrame(CRect(0, 0, 200, 100), platform.parent(), nullptr, platform);
        frame->setBackgroundColor(kGreyCColor);
        left = new Probe(CRect(10, 10, 50, 50), kRedCColor);
        right = new Probe(CRect(100, 10, 140, 50), kBlueCColor);
        frame->addView(left);
        frame->addView(right);
    }
    ~Redraw() override { frame->forget(); }
    Pixel at(int32_t x, int32_t y) const { return platform.window.surface.pixel(x, y); }
    void drawAll() {
        CDrawContext* context = frame->createDrawContext();
        frame->draw(context);
        context->forget();
    }
    void clean() {
        drawAll();
        platform.window.surface.fill(platform.window.surface.bounds(), 0);
        platform.window.surface.takeDamage();
        platform.window.shown.clear();
        left->draws = right->draws = 0;
    }
    // A container at rect holding child, everything drawn once and the
    // child's count started afresh.
    CViewContainer* addPanel(const CRect& rect, Probe* child) {
        auto* panel = new CViewContainer(rect);
        panel->addView(child);
        frame->addView(panel);
        clean();
        child->draws = 0;
        return panel;
    }
    void updateInWindow(CView* view) {
        CDrawContext* context = frame->createDrawContext();
        view->update(context);
        context->forget();
    }

    fake::Platform platform;
    CFrame* frame;
    Probe* left;
    Probe* right;
};

TEST_F(Redraw, FullDrawPaintsBackgroundAndChildrenInOneCopy) {
    drawAll();
    EXPECT_EQ(at(5, 5), kGrey) << "background colour";
    EXPECT_EQ(at(10, 10), kRed) << "left child from its top-left pixel";
    EXPECT_EQ(at(139, 49), kBlue) << "right child to its last pixel";
    EXPECT_EQ(at(140, 50), kGrey) << "past the child is background";
    ASSERT_EQ(platform.window.shown.size(), 1u) << "one show for the whole draw";
    // The buffer's top row and left column stay as they were (black) under
    // the background's fill, so they are no change to show.
    EXPECT_EQ(platform.window.shown[0], CRect(1, 1, 200, 100)) << "the buffer copied whole";
    EXPECT_FALSE(frame->isDirty()) << "everything clean after a full draw";
}

TEST_F(Redraw, PartialRedrawDrawsOnlyOverlappingChildren) {
    clean();
    frame->drawRect(nullptr, CRect(90, 0, 200, 100));
    EXPECT_EQ(right->draws, 1) << "the child inside the rectangle is drawn";
    EXPECT_EQ(left->draws, 0) << "the child outside is not";
    EXPECT_EQ(at(100, 10), kBlue) << "its pixels reach the window";
    EXPECT_EQ(at(10, 10), 0u) << "nothing outside the rectangle is touched";
    ASSERT_EQ(platform.window.shown.size(), 1u) << "one show";
    EXPECT_EQ(CRect(platform.window.shown[0]).bound(CRect(90, 0, 200, 100)), platform.window.shown[0])
        << "shown pixels lie within the update rectangle";
}

TEST_F(Redraw, PartlyDrawnDirtyChildStaysDirty) {
    clean();
    left->setDirty(true);
    right->setDirty(true);
    frame->drawRect(nullptr, CRect(0, 0, 30, 100));  // covers half of left
    EXPECT_EQ(left->draws, 1) << "the overlapping child is drawn";
    EXPECT_TRUE(left->isDirty()) << "drawn only in part: dirty again, to be drawn whole later";
    EXPECT_EQ(right->draws, 0) << "the other child is not drawn";
    EXPECT_TRUE(right->isDirty()) << "and keeps its own dirt";
    EXPECT_EQ(at(29, 20), kRed) << "left part painted";
    EXPECT_EQ(at(30, 20), 0u) << "right part of the child not painted";
}

TEST_F(Redraw, DirtyChildOutsideTheContainerIsIgnored) {
    auto* outside = new Probe(CRect(100, 0, 120, 20));  // local space: beyond the 60-wide panel
    CViewContainer* panel = addPanel(CRect(0, 60, 60, 100), outside);
    outside->setDirty(true);
    EXPECT_FALSE(panel->isDirty()) << "a dirty child wholly outside does not make the container dirty";
    updateInWindow(panel);
    EXPECT_EQ(outside->draws, 0) << "and is not redrawn";
}

TEST_F(Redraw, OnlyDirtyModeRedrawsTheInsidePartOfAStickingOutChild) {
    auto* wide = new Probe(CRect(40, 10, 100, 30), kRedCColor);  // sticks out right of 60
    CViewContainer* panel = addPanel(CRect(0, 60, 60, 100), wide);
    wide->setDirty(true);
    EXPECT_TRUE(panel->isDirty()) << "the inside part makes the container dirty";
    updateInWindow(panel);
    EXPECT_EQ(wide->draws, 1) << "redrawn once";
    EXPECT_EQ(wide->lastUpdate, CRect(40, 10, 60, 30)) << "over the part inside the container";
    EXPECT_EQ(at(59, 75), kRed) << "last inside column painted in frame space";
    EXPECT_EQ(at(60, 75), 0u) << "nothing beyond the container";
}

TEST_F(Redraw, NormalModeRedrawsTheWholeContainer) {
    auto* panel = new CViewContainer(CRect(0, 60, 60, 100));
    auto* a = new Probe(CRect(0, 0, 10, 10));
    auto* b = new Probe(CRect(20, 0, 30, 10));
    panel->addView(a);
    panel->addView(b);
    panel->setMode(kNormalUpdate);
    frame->addView(panel);
    clean();
    a->draws = b->draws = 0;
    a->setDirty(true);
    CDrawContext* context = frame->createDrawContext();
    panel->update(context);
    EXPECT_EQ(a->draws + b->draws, 2) << "one dirty child redraws every child";
    a->draws = b->draws = 0;
    panel->setMode(kOnlyDirtyUpdate);
    a->setDirty(true);
    panel->update(context);
    EXPECT_EQ(a->draws, 1) << "only-dirty mode redraws the dirty child";
    EXPECT_EQ(b->draws, 0) << "and not its clean sibling";
    context->forget();
}

TEST_F(Redraw, RedrawRectOfANestedViewLandsAtItsFramePosition) {
    auto* inner = new Probe(CRect(10, 5, 30, 25), kRedCColor);
    addPanel(CRect(60, 55, 180, 95), inner);
    inner->setDirty(true);
    updateInWindow(inner);
    EXPECT_EQ(at(70, 60), kRed) << "local (10, 5) + panel (60, 55)";
    EXPECT_EQ(at(89, 79), kRed) << "last pixel";
    EXPECT_EQ(at(90, 80), 0u) << "nothing past the view's rectangle";
    EXPECT_FALSE(inner->isDirty()) << "clean after update";
}

TEST_F(Redraw, TransparentContainerLetsItsParentPaintBehind) {
    auto* glass = new CViewContainer(CRect(60, 55, 180, 95));
    glass->setTransparency(true);
    auto* inner = new Probe(CRect(10, 5, 30, 25), kRedCColor);
    glass->addView(inner);
    frame->addView(glass);
    clean();
    left->draws = 0;
    glass->redrawRect(nullptr, CRect(-60, -55, 0, 0));  // frame (0, 0, 60, 55): under left
    EXPECT_EQ(left->draws, 1) << "the frame redrew the area, its own children included";
    EXPECT_EQ(at(5, 5), kGrey) << "with the frame's background";
}

TEST_F(Redraw, WithoutOffscreenChildrenDrawStraightIntoTheCaller) {
    auto* panel = new CViewContainer(CRect(60, 55, 180, 95));
    panel->useOffscreen(false);
    auto* inner = new Probe(CRect(10, 5, 30, 25), kRedCColor);
    panel->addView(inner);
    frame->addView(panel);
    EXPECT_EQ(panel->getOffscreenContext(), nullptr) << "no buffer made";
    PixelSurface target(200, 100);
    auto* context = new CDrawContext(frame, &target, nullptr);
    panel->draw(context);
    EXPECT_EQ(target.pixel(70, 60), kRed) << "child painted through the entered context";
    EXPECT_EQ(context->offset, CPoint(0, 0)) << "translations restored";
    context->forget();
}

TEST_F(Redraw, ResizingAContainerReplacesItsBuffer) {
    auto* panel = new CViewContainer(CRect(0, 0, 50, 50));
    frame->addView(panel);
    ASSERT_NE(panel->getOffscreenContext(), nullptr) << "attaching makes the buffer";
    panel->setViewSize(CRect(0, 0, 80, 30));
    EXPECT_EQ(panel->getOffscreenContext()->getWidth(), 80) << "new width";
    EXPECT_EQ(panel->getOffscreenContext()->getHeight(), 30) << "new height";
    EXPECT_TRUE(panel->isDirty()) << "resizing marks dirty";
}

TEST_F(Redraw, AContainerTooLargeForABufferStillDraws) {
    auto* huge = new CViewContainer(CRect(0, 0, PixelSurface::kMaxSide + 1, 50));
    auto* inner = new Probe(CRect(150, 60, 160, 70), kRedCColor);
    huge->addView(inner);
    frame->addView(huge);
    EXPECT_EQ(huge->getOffscreenContext(), nullptr) << "no buffer of that size";
    drawAll();
    EXPECT_EQ(inner->draws, 1) << "its children are drawn directly instead";
}

}  // namespace
