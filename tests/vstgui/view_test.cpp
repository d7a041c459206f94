// The view base class: background references, hit areas, type questions,
// coordinates and the pointer.
#include <gtest/gtest.h>

#include "fakeplatform.h"
#include "probeview.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cframe.h"

using namespace VSTGUI;

namespace {

TEST(ViewBackground, HoldsOneReferenceAndSurvivesBeingSetAgain) {
    auto* bitmap = new CBitmap(130);
    auto* view = new CView(CRect(0, 0, 30, 40));
    view->setBackground(bitmap);
    EXPECT_EQ(bitmap->getNbReference(), 2) << "the view takes a reference";
    EXPECT_TRUE(view->isDirty()) << "a new background marks dirty";
    view->setBackground(bitmap);
    EXPECT_EQ(bitmap->getNbReference(), 2) << "setting the same bitmap again keeps it alive and counted once";
    view->setBackground(nullptr);
    EXPECT_EQ(bitmap->getNbReference(), 1) << "clearing drops the reference";
    view->setBackground(bitmap);
    view->forget();
    EXPECT_EQ(bitmap->getNbReference(), 1) << "destroying the view drops its reference";
    bitmap->forget();
}

TEST(ViewHitTest, MouseableAreaIncludesRightAndBottomEdges) {
    CView view(CRect(10, 10, 20, 20));
    EXPECT_TRUE(view.hitTest(CPoint(20, 20))) << "bottom-right corner";
    EXPECT_FALSE(view.hitTest(CPoint(21, 20))) << "one pixel right";
    view.setViewSize(CRect(100, 100, 110, 110));
    EXPECT_TRUE(view.hitTest(CPoint(15, 15))) << "resizing leaves the mouseable area where it was";
    EXPECT_TRUE(view.isDirty()) << "resizing marks dirty";
}

TEST(ViewTypes, IsTypeOfIsExactAndFollowsTheHierarchy) {
    fake::Platform platform;
    CView view(CRect(0, 0, 1, 1));
    auto* container = new CViewContainer(CRect(0, 0, 1, 1));
    auto* frame = new CFrame(CRect(0, 0, 1, 1), platform.parent(), nullptr, platform);
    EXPECT_TRUE(view.isTypeOf("CView")) << "a view is a CView";
    EXPECT_FALSE(view.isTypeOf("CViewContainer")) << "but not a container";
    EXPECT_FALSE(view.isTypeOf("cview")) << "names compare exactly";
    EXPECT_FALSE(view.isTypeOf(nullptr)) << "no name is no type";
    EXPECT_TRUE(container->isTypeOf("CViewContainer") && container->isTypeOf("CView")) << "container is both";
    EXPECT_FALSE(container->isTypeOf("CFrame")) << "container is no frame";
    EXPECT_TRUE(frame->isTypeOf("CFrame") && frame->isTypeOf("CViewContainer") && frame->isTypeOf("CView"))
        << "the frame answers all three";
    container->forget();
    frame->forget();
}

TEST(ViewNotify, ContainerMessageIsComparedByAddress) {
    static const char sameText[] = "kMsgCheckIfViewContainer";
    CView view(CRect(0, 0, 1, 1));
    auto* container = new CViewContainer(CRect(0, 0, 1, 1));
    EXPECT_EQ(container->notify(&view, kMsgCheckIfViewContainer), kMessageNotified) << "the constant itself";
    EXPECT_EQ(container->notify(&view, sameText), kMessageUnknown) << "same text elsewhere is another message";
    EXPECT_EQ(view.notify(container, kMsgCheckIfViewContainer), kMessageUnknown) << "a plain view is no container";
    container->forget();
}

class Tree : public ::testing::Test {
protected:
    Tree() {
        platform.window.screenOrigin = CPoint(100, 50);
        frame = new CFrame(CRect(0, 0, 200, 100), platform.parent(), editor(), platform);
        nested = new CViewContainer(CRect(10, 10, 110, 90));
        inner = new Probe(CRect(5, 5, 25, 25));
        direct = new Probe(CRect(150, 10, 190, 50));
        nested->addView(inner);
        frame->addView(nested);
        frame->addView(direct);
    }
    ~Tree() override { frame->forget(); }
    static FrameEditor* editor() { return reinterpret_cast<FrameEditor*>(&editorToken); }
    static int editorToken;

    fake::Platform platform;
    CFrame* frame;
    CViewContainer* nested;
    Probe* inner;
    Probe* direct;
};
int Tree::editorToken = 0;

TEST_F(Tree, FrameAndParentPointersReachEveryDescendant) {
    EXPECT_EQ(inner->getFrame(), frame) << "a view added to a container before it joined the frame gets the frame";
    EXPECT_EQ(inner->getParentView(), nested) << "parent is the nested container";
    EXPECT_EQ(inner->getEditor(), editor()) << "the editor comes from the frame";
    CView detached(CRect(0, 0, 1, 1));
    EXPECT_EQ(detached.getEditor(), nullptr) << "no frame, no editor";
}

TEST_F(Tree, FrameAndLocalCoordinatesConvertThroughContainers) {
    CPoint p(20, 30);
    inner->frameToLocal(p);
    EXPECT_EQ(p, CPoint(10, 20)) << "frame (20, 30) is (10, 20) inside the container at (10, 10)";
    inner->localToFrame(p);
    EXPECT_EQ(p, CPoint(20, 30)) << "and back";
}

TEST_F(Tree, MouseLocationIsInTheViewsParentSpace) {
    platform.input.pointer = CPoint(100 + 30, 50 + 40);  // frame (30, 40)
    CDrawContext* context = frame->createDrawContext();
    CPoint where;
    direct->getMouseLocation(context, where);
    EXPECT_EQ(where, CPoint(30, 40)) << "a child of the frame sees frame coordinates";
    inner->getMouseLocation(context, where);
    EXPECT_EQ(where, CPoint(20, 30)) << "a nested child sees its container's local space";
    EXPECT_EQ(context->offset, CPoint(0, 0)) << "the context's translations are restored";
    EXPECT_EQ(context->offsetScreen, CPoint(100, 50)) << "screen translation restored";
    CPoint untouched(7, 7);
    inner->getMouseLocation(nullptr, untouched);
    EXPECT_EQ(untouched, CPoint(7, 7)) << "without a context nothing is read";
    context->forget();
}

TEST_F(Tree, CurrentLocationIsThePointerInFrameSpace) {
    platform.input.pointer = CPoint(100 + 15, 50 + 25);
    CPoint where;
    EXPECT_TRUE(frame->getCurrentLocation(where)) << "input present";
    EXPECT_EQ(where, CPoint(15, 25)) << "screen minus the window's origin";
    EXPECT_EQ(nested->getCurrentView(), inner) << "the pointer at local (5, 15) is over the nested probe";
    EXPECT_EQ(frame->getCurrentView(), nested) << "the frame answers its direct child";
}

TEST_F(Tree, UpdateWithoutAContextDrawsStraightIntoTheWindow) {
    direct->setDirty(true);
    direct->update(nullptr);
    EXPECT_EQ(direct->draws, 1) << "the frame's single-view draw";
    EXPECT_EQ(platform.window.surface.pixel(150, 10), toPixel(kRedCColor)) << "painted at its frame position";
    ASSERT_FALSE(platform.window.shown.empty()) << "the window was asked to show it";
    EXPECT_EQ(platform.window.shown.back(), CRect(150, 10, 190, 50)) << "exactly the view's pixels";
    EXPECT_FALSE(direct->isDirty()) << "clean afterwards";
    direct->update(nullptr);
    EXPECT_EQ(direct->draws, 1) << "a clean view is not drawn again";
}

}  // namespace
