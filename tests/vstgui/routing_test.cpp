// Event routing through containers: mouse, keys, wheel, lookup, drags,
// focus, and what removal does to references and focus.
#include <gtest/gtest.h>

#include "fakeplatform.h"
#include "probeview.h"
#include "vstgui/cframe.h"

using namespace VSTGUI;

namespace {

class Routing : public ::testing::Test {
protected:
    Routing() {
        frame = new CFrame(CRect(0, 0, 200, 100), platform.parent(), nullptr, platform);
        bottom = add(new Probe(CRect(10, 10, 50, 50), kRedCColor, &log, "bottom"));
        top = add(new Probe(CRect(30, 30, 70, 70), kBlueCColor, &log, "top"));
    }
    ~Routing() override { frame->forget(); }
    Probe* add(Probe* probe, CViewContainer* into = nullptr) {
        (into ? into : frame)->addView(probe);
        return probe;
    }
    // A container at (100, 20) with a 20 x 20 probe at its top-left.
    Probe* addPanelWithProbe() {
        panel = new CViewContainer(CRect(100, 20, 180, 90));
        frame->addView(panel);
        return add(new Probe(CRect(0, 0, 20, 20)), panel);
    }
    void click(const CPoint& where, int32_t buttons = kLButton) {
        CDrawContext* context = frame->createDrawContext();
        frame->mouse(context, where, buttons);
        context->forget();
    }

    fake::Platform platform;
    std::vector<std::string> log;
    CFrame* frame;
    CViewContainer* panel = nullptr;
    Probe* bottom;
    Probe* top;
};

TEST_F(Routing, ClickGoesToTheTopmostChildEdgesIncluded) {
    click(CPoint(40, 40));
    EXPECT_EQ(top->clicks, 1) << "overlap: the later child is on top";
    EXPECT_EQ(bottom->clicks, 0) << "only one child receives a click";
    click(CPoint(70, 70));
    EXPECT_EQ(top->clicks, 2) << "bottom-right edge of the mouseable area hits";
    EXPECT_EQ(top->lastWhere, CPoint(70, 70)) << "frame children receive frame coordinates";
    click(CPoint(71, 71));
    EXPECT_EQ(top->clicks + bottom->clicks, 2) << "outside every child: nobody";
}

TEST_F(Routing, DisabledChildrenAreSkipped) {
    top->setMouseEnabled(false);
    click(CPoint(40, 40));
    EXPECT_EQ(top->clicks, 0) << "disabled top child ignores the click";
    EXPECT_EQ(bottom->clicks, 1) << "the child below receives it";
}

TEST_F(Routing, UnreadButtonsAreReadFromTheContext) {
    platform.input.buttons = kRButton | kControl;
    click(CPoint(40, 40), kButtonsUnread);
    EXPECT_EQ(top->lastButtons, kRButton | kControl) << "-1 becomes the live state";
}

TEST_F(Routing, NestedChildrenReceiveLocalCoordinates) {
    Probe* inner = addPanelWithProbe();
    click(CPoint(110, 35));
    EXPECT_EQ(inner->clicks, 1) << "routed down through the panel";
    EXPECT_EQ(inner->lastWhere, CPoint(10, 15)) << "in the panel's local space";
}

TEST_F(Routing, KeysGoFromTheTopAndStopAtTheFirstAnswer) {
    VstKeyCode key{};
    EXPECT_EQ(frame->CViewContainer::onKeyDown(key), -1) << "nobody handles it";
    EXPECT_EQ(log, (std::vector<std::string>{"top:keyDown", "bottom:keyDown"})) << "offered from the top down";
    log.clear();
    bottom->keyResult = 7;
    top->keyResult = 3;
    EXPECT_EQ(frame->CViewContainer::onKeyUp(key), 3) << "the top child's answer";
    EXPECT_EQ(log, (std::vector<std::string>{"top:keyUp"})) << "the walk stops at the first answer";
}

TEST_F(Routing, WheelGoesToTheViewUnderThePoint) {
    Probe* inner = addPanelWithProbe();
    CDrawContext* context = frame->createDrawContext();
    EXPECT_TRUE(panel->onWheel(context, CPoint(105, 25), 1.f)) << "the child under the point takes it";
    EXPECT_EQ(inner->lastWhere, CPoint(5, 5)) << "in the panel's local space";
    EXPECT_EQ(inner->lastDistance, 1.f) << "one notch";
    EXPECT_EQ(context->offset, CPoint(0, 0)) << "context restored";
    EXPECT_FALSE(panel->onWheel(context, CPoint(170, 80), 1.f)) << "no child there: not handled";
    context->forget();
}

TEST_F(Routing, ViewAtDescendsOnlyWhenDeep) {
    Probe* inner = addPanelWithProbe();
    inner->setMouseEnabled(false);
    EXPECT_EQ(frame->getViewAt(CPoint(110, 30), false), panel) << "shallow: the nested container";
    EXPECT_EQ(frame->getViewAt(CPoint(110, 30), true), inner) << "deep: the view inside, mouse-enabled or not";
    EXPECT_EQ(frame->getViewAt(CPoint(50, 50), false), top) << "edge point of the top child";

    auto* loose = new CViewContainer(CRect(0, 0, 100, 100));
    loose->addView(new Probe(CRect(0, 0, 10, 10)));
    EXPECT_EQ(loose->getViewAt(CPoint(5, 5)), nullptr) << "without a frame there is no answer";
    loose->forget();
}

TEST_F(Routing, DragsEnterMoveLeaveAndDrop) {
    CDrawContext* context = frame->createDrawContext();
    frame->onDragEnter(context, nullptr, CPoint(15, 15));
    frame->onDragMove(context, nullptr, CPoint(20, 20));
    frame->onDragMove(context, nullptr, CPoint(60, 60));
    frame->onDragMove(context, nullptr, CPoint(150, 90));
    frame->onDragLeave(context, nullptr, CPoint(150, 90));
    EXPECT_EQ(log, (std::vector<std::string>{"bottom:enter", "bottom:move", "bottom:leave", "top:enter",
                                             "top:leave"}))
        << "enter, move while over the same view, leave and enter on crossing, leave at the end";
    log.clear();
    frame->onDragEnter(context, nullptr, CPoint(15, 15));
    EXPECT_TRUE(frame->onDrop(context, nullptr, CPoint(60, 60))) << "the view under the drop answers";
    EXPECT_EQ(log, (std::vector<std::string>{"bottom:enter", "bottom:leave", "top:drop", "top:leave"}))
        << "a drop elsewhere leaves the old view, drops on the new one without entering, then leaves";
    EXPECT_FALSE(frame->onDrop(context, nullptr, CPoint(150, 90))) << "a drop on no view is refused";
    context->forget();
}

TEST_F(Routing, TabWalksToTheNextViewThatWantsFocus) {
    Probe* third = add(new Probe(CRect(100, 0, 110, 10), kRedCColor, &log, "third"));
    bottom->setWantsFocus(true);
    third->setWantsFocus(true);
    EXPECT_TRUE(frame->advanceNextFocusView(nullptr)) << "from the start";
    EXPECT_EQ(frame->getFocusView(), bottom) << "the first child that wants focus";
    EXPECT_TRUE(frame->advanceNextFocusView(bottom)) << "after the old focus";
    EXPECT_EQ(frame->getFocusView(), third) << "top does not want focus and is skipped";
    EXPECT_FALSE(frame->advanceNextFocusView(third)) << "nothing after the last";
    EXPECT_TRUE(frame->advanceNextFocusView(third, true)) << "backwards";
    EXPECT_EQ(frame->getFocusView(), bottom) << "Shift+Tab walks back";
}

TEST_F(Routing, FocusWalkEntersNestedContainers) {
    Probe* inner = addPanelWithProbe();
    inner->setWantsFocus(true);
    EXPECT_TRUE(frame->advanceNextFocusView(nullptr)) << "found inside the panel";
    EXPECT_EQ(frame->getFocusView(), inner) << "the nested view has the focus";
}

TEST_F(Routing, RemovingTheFocusViewClearsTheFocusFirst) {
    top->setWantsFocus(true);
    frame->setFocusView(top);
    log.clear();
    top->remember();  // keep it to look at afterwards
    frame->removeView(top);
    EXPECT_EQ(frame->getFocusView(), nullptr) << "focus cleared";
    EXPECT_EQ(log, (std::vector<std::string>{"top:looseFocus", "top:removed"})) << "focus goes before removal";
    EXPECT_EQ(top->getNbReference(), 1) << "creator's and container's references dropped; ours remains";
    EXPECT_EQ(top->getParentView(), nullptr) << "a removed view no longer points into the tree";
    top->forget();
}

TEST_F(Routing, RemovingAContainerClearsAFocusInsideIt) {
    Probe* inner = addPanelWithProbe();
    frame->setFocusView(inner);
    frame->removeView(panel);
    EXPECT_EQ(frame->getFocusView(), nullptr) << "no focus left on a destroyed view";
}

TEST_F(Routing, RemoveViewReleasesReferencesAsAsked) {
    bool destroyed = false;
    auto* gone = new Probe(CRect(0, 0, 5, 5));
    gone->destroyed = &destroyed;
    frame->addView(gone);
    frame->removeView(gone, true);
    EXPECT_TRUE(destroyed) << "with forget: creator's and container's references both dropped";

    auto* kept = new Probe(CRect(0, 0, 5, 5));
    frame->addView(kept);
    EXPECT_EQ(kept->getNbReference(), 2) << "the container holds its own reference";
    frame->removeView(kept, false);
    EXPECT_EQ(kept->getNbReference(), 1) << "without forget the creator's reference survives";
    EXPECT_FALSE(frame->isChild(kept)) << "unlinked";
    frame->removeView(kept, true);
    EXPECT_EQ(kept->getNbReference(), 1) << "removing a view that is not a child changes nothing";
    kept->forget();
}

TEST_F(Routing, BadAdditionsAreIgnored) {
    auto* box = new CViewContainer(CRect(0, 0, 10, 10));
    frame->addView(box);
    frame->addView(nullptr);
    frame->addView(nullptr, CRect(0, 0, 1, 1), true);
    box->addView(box);
    box->addView(frame);
    EXPECT_EQ(frame->getNbViews(), 3) << "no view added to the frame";
    EXPECT_EQ(box->getNbViews(), 0) << "a container is not added to itself or under its own child";
}

TEST_F(Routing, DestroyingTheTreeReleasesEveryView) {
    bool destroyedBottom = false, destroyedTop = false;
    bottom->destroyed = &destroyedBottom;
    top->destroyed = &destroyedTop;
    frame->forget();
    frame = new CFrame(CRect(0, 0, 1, 1), platform.parent(), nullptr, platform);
    EXPECT_TRUE(destroyedBottom && destroyedTop) << "the frame takes over the creators' references";
}

}  // namespace
