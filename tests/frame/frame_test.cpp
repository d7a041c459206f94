// CFrame without a display: its window through a fake window system, its
// editor recorded. Idle and first paint, input entry with focus and modal
// view, Tab walking, cursors, drop registration, geometry, and what the
// frame passes to its editor.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "editor/AEffGUIEditor.h"
#include "fakewindowsystem.h"
#include "vstgui/probeview.h"

using namespace VSTGUI;

namespace {

class RecordingEditor : public AEffGUIEditor {
public:
    explicit RecordingEditor(WindowSystem& windows) : AEffGUIEditor(nullptr, windows) {}
    void beginEdit(VstInt32 index) override { calls.push_back("begin " + std::to_string(index)); }
    void endEdit(VstInt32 index) override { calls.push_back("end " + std::to_string(index)); }
    void doIdleStuff() override { calls.push_back("doIdleStuff"); }
    bool requestHostResize(int32_t width, int32_t height) override {
        calls.push_back("resize " + std::to_string(width) + "x" + std::to_string(height));
        return true;
    }
    std::vector<std::string> calls;
};

VstKeyCode key(unsigned char virt, unsigned char modifier = 0) {
    VstKeyCode k{};
    k.virt = virt;
    k.modifier = modifier;
    return k;
}

class Frame : public ::testing::Test {
protected:
    Frame() {
        frame = new CFrame(CRect(0, 0, 200, 100), parent(), &editor, windows);
        window = windows.window;
        left = new Probe(CRect(10, 10, 50, 50), kRedCColor, &log, "left");
        right = new Probe(CRect(100, 10, 140, 50), kBlueCColor, &log, "right");
        frame->addView(left);
        frame->addView(right);
    }
    ~Frame() override {
        if (frame) frame->forget();
    }
    static void* parent() { return reinterpret_cast<void*>(uintptr_t{0x1234}); }
    void paint() {
        frame->drawRect(nullptr, CRect(0, 0, 200, 100));
        left->draws = right->draws = 0;
    }

    fake::WindowSystem windows;
    RecordingEditor editor{windows};
    CFrame* frame;
    fake::FrameWindow* window;
    Probe* left;
    Probe* right;
    std::vector<std::string> log;
};

TEST_F(Frame, OpensItsWindowInTheHostsWindowAndRegistersForDrops) {
    EXPECT_EQ(windows.lastParent, parent()) << "the host's window is the parent";
    ASSERT_TRUE(frame->hasWindow()) << "the window was made";
    EXPECT_TRUE(window->dropActive && frame->isDropActive()) << "a drop target from construction on";
    EXPECT_TRUE(frame->isOpen()) << "open from construction";
    EXPECT_FALSE(frame->open()) << "nothing to open";
    EXPECT_FALSE(frame->close()) << "nor to close";
    EXPECT_EQ(frame->getSystemWindow(), parent());
}


TEST_F(Frame, DestructionWithdrawsTheWindowAndKeepsTheModalViewAlive) {
    auto* modal = new Probe(CRect(0, 0, 5, 5));
    bool modalDestroyed = false;
    modal->destroyed = &modalDestroyed;
    frame->setModalView(modal);
    frame->setCursor(kCursorHand);
    frame->forget();
    frame = nullptr;
    EXPECT_TRUE(windows.windowDestroyed) << "the window goes with the frame";
    EXPECT_FALSE(modalDestroyed) << "the modal view was removed without forget";
    modal->forget();
    EXPECT_TRUE(modalDestroyed) << "its creator's reference was the last";
}

// --- idle and painting

TEST_F(Frame, IdleDrawsNothingBeforeTheFirstPaint) {
    left->setDirty(true);
    frame->idle();
    frame->idle();
    EXPECT_EQ(left->draws, 0) << "dirty, but the window was never painted";
    EXPECT_EQ(window->dispatches, 2) << "the window's events are still served";
}

TEST_F(Frame, AfterThePaintIdleRedrawsOnlyDirtyViews) {
    window->events.push_back([this] { frame->drawRect(nullptr, CRect(0, 0, 200, 100)); });
    frame->idle();
    EXPECT_EQ(left->draws, 1) << "the window's paint, delivered by idle, drew the view";
    left->draws = right->draws = 0;
    frame->idle();
    EXPECT_EQ(left->draws + right->draws, 0) << "clean: nothing drawn";
    left->setDirty(true);
    window->shown.clear();
    frame->idle();
    EXPECT_EQ(left->draws, 1) << "the dirty view is redrawn at the next idle";
    EXPECT_EQ(right->draws, 0) << "the clean one is not";
    ASSERT_EQ(window->shown.size(), 1u) << "one copy to the window";
    EXPECT_TRUE(window->shown[0].isEmpty()) << "redrawn as it was: no pixel to show anew";
    left->color = kGreenCColor;
    left->setDirty(true);
    window->shown.clear();
    frame->idle();
    ASSERT_EQ(window->shown.size(), 1u) << "one copy to the window";
    EXPECT_EQ(window->shown[0], CRect(10, 10, 50, 50)) << "exactly the changed view's rectangle";
    EXPECT_EQ(window->surface.pixel(10, 10), toPixel(kGreenCColor)) << "painted on the window";
}

TEST_F(Frame, ClosedOrSuspendedFramesDoNotRedraw) {
    paint();
    left->setDirty(true);
    EXPECT_FALSE(frame->updatesDisabled(true)) << "answers the previous setting";
    frame->idle();
    EXPECT_EQ(left->draws, 0) << "updates disabled";
    frame->updatesDisabled(false);
    frame->setOpenFlag(false);
    frame->idle();
    EXPECT_EQ(left->draws, 0) << "window gone";
}

TEST_F(Frame, ADirtyFrameRepaintsWhole) {
    paint();
    frame->setDirty(true);
    frame->idle();
    EXPECT_EQ(left->draws, 1) << "every child";
    EXPECT_EQ(right->draws, 1);
    EXPECT_FALSE(frame->isDirty()) << "clean afterwards";
}

TEST_F(Frame, InvalidateMarksChildrenThatTouchTheRectangle) {
    paint();
    frame->invalidate(CRect(50, 50, 60, 60));
    EXPECT_TRUE(left->isDirty()) << "touching the left view's corner counts";
    EXPECT_FALSE(right->isDirty()) << "the right view is away";
    EXPECT_EQ(left->draws, 0) << "nothing drawn by invalidate";
}

// --- input

TEST_F(Frame, APressClearsTheFocusBeforeItIsRouted) {
    frame->setFocusView(right);
    log.clear();
    window->input.buttons = kLButton | kShift;
    frame->mouse(nullptr, CPoint(20, 20));
    EXPECT_EQ(frame->getFocusView(), nullptr) << "focus cleared";
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "right:looseFocus") << "before the press reached anyone";
    EXPECT_EQ(left->clicks, 1) << "then routed to the view under the point";
    CDrawContext* context = frame->createDrawContext();
    frame->mouse(context, CPoint(20, 20), kButtonsUnread);
    context->forget();
    EXPECT_EQ(left->lastButtons, kLButton | kShift) << "buttons -1 are read from the live state";
}

TEST_F(Frame, AModalViewTakesAllInputAlone) {
    auto* modal = new Probe(CRect(60, 60, 90, 90));
    ASSERT_TRUE(frame->setModalView(modal));
    frame->mouse(nullptr, CPoint(20, 20), kLButton);
    EXPECT_EQ(left->clicks, 0) << "a press outside the modal view is dropped";
    EXPECT_EQ(modal->clicks, 0);
    frame->mouse(nullptr, CPoint(70, 70), kLButton);
    EXPECT_EQ(modal->clicks, 1) << "inside it, the modal view takes it";
    EXPECT_TRUE(frame->onWheel(nullptr, CPoint(20, 20), -1.f)) << "the wheel goes to it wherever the pointer is";
    EXPECT_EQ(modal->lastDistance, -1.f);
    EXPECT_EQ(modal->lastWhere, CPoint(20, 20)) << "in frame coordinates";
    EXPECT_EQ(frame->getCurrentView(), modal) << "the current view is the modal one";
    modal->forget();
}

TEST_F(Frame, SetModalViewRefusesASecondAndEndsWithNone) {
    auto* first = new Probe(CRect(0, 0, 5, 5));
    auto* second = new Probe(CRect(0, 0, 5, 5));
    EXPECT_TRUE(frame->setModalView(first));
    EXPECT_FALSE(frame->setModalView(second)) << "one modal view at a time";
    EXPECT_EQ(frame->getModalView(), first) << "unchanged";
    EXPECT_FALSE(frame->isChild(second));
    EXPECT_TRUE(frame->setModalView(nullptr)) << "none ends the modal state";
    EXPECT_FALSE(frame->isChild(first)) << "and removes the view";
    EXPECT_EQ(first->getNbReference(), 1) << "without forget: the creator's reference stays";
    EXPECT_TRUE(frame->setModalView(second));
    frame->removeView(second, false);
    EXPECT_EQ(frame->getModalView(), nullptr) << "removing the modal view ends the modal state";
    first->forget();
    second->forget();
}


TEST_F(Frame, KeysGoToTheFocusThenTheModalView) {
    left->keyResult = 7;
    frame->setFocusView(left);
    VstKeyCode k = key(VKEY_UP);
    EXPECT_EQ(frame->onKeyDown(k), 7) << "the focus view's answer";
    EXPECT_EQ(frame->onKeyUp(k), 7);
    left->keyResult = -1;
    EXPECT_EQ(frame->onKeyDown(k), -1) << "unhandled, and no other child is asked";
    EXPECT_EQ(std::count(log.begin(), log.end(), "right:keyDown"), 0);
}

TEST_F(Frame, TabWalksTheFocusForwardAndShiftTabBackward) {
    VstKeyCode tab = key(VKEY_TAB);
    EXPECT_EQ(frame->onKeyDown(tab), -1) << "no view wants focus";
    left->setWantsFocus(true);
    right->setWantsFocus(true);
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    EXPECT_EQ(frame->getFocusView(), left) << "first from the start";
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    EXPECT_EQ(frame->getFocusView(), right) << "then the next";
    VstKeyCode back = key(VKEY_TAB, MODIFIER_SHIFT);
    EXPECT_EQ(frame->onKeyDown(back), 1);
    EXPECT_EQ(frame->getFocusView(), left) << "Shift+Tab walks back";
    EXPECT_EQ(frame->onKeyDown(back), -1) << "nothing before the first";
    EXPECT_EQ(frame->getFocusView(), nullptr) << "the focus is cleared at the end";
}

TEST_F(Frame, TabLeavesANestedContainerForTheFramesNextChild) {
    auto* panel = new CViewContainer(CRect(60, 60, 90, 90));
    auto* inner = new Probe(CRect(0, 0, 5, 5));
    inner->setWantsFocus(true);
    panel->addView(inner);
    frame->addView(panel);
    auto* last = new Probe(CRect(150, 60, 160, 70));
    last->setWantsFocus(true);
    frame->addView(last);
    frame->setFocusView(inner);
    VstKeyCode tab = key(VKEY_TAB);
    EXPECT_EQ(frame->onKeyDown(tab), 1);
    EXPECT_EQ(frame->getFocusView(), last) << "after the panel's last view comes the frame's next child";
}

TEST_F(Frame, SettingTheSameFocusStillTellsItToLoseFocus) {
    right->setWantsFocus(true);
    frame->setFocusView(right);
    paint();
    log.clear();
    frame->setFocusView(right);
    EXPECT_EQ(log, std::vector<std::string>{"right:looseFocus"}) << "controls rely on it at every beginEdit";
    EXPECT_TRUE(right->isDirty()) << "a view that wants focus is redrawn";
}


// --- window and editor

TEST_F(Frame, CursorTypesWithoutAShapeShowTheDefault) {
    frame->setCursor(kCursorHand);
    EXPECT_EQ(window->cursor, kCursorHand);
    frame->setCursor(kCursorCopy);
    EXPECT_EQ(window->cursor, kCursorDefault) << "type 7 has no shape of its own";
    frame->setCursor(kCursorWait);
    frame->setCursor(12);
    EXPECT_EQ(window->cursor, kCursorDefault) << "nor has 12";
    frame->setCursor(-3);
    EXPECT_EQ(window->cursor, kCursorDefault) << "nor a negative number";
}


TEST_F(Frame, TicksComeFromTheClockOnlyWithAnEditor) {
    windows.clockSource.now = 123456;
    EXPECT_EQ(frame->getTicks(), 123456u);
    auto* orphan = new CFrame(CRect(0, 0, 10, 10), parent(), nullptr, windows);
    EXPECT_EQ(orphan->getTicks(), 0u) << "no editor, no ticks";
    orphan->forget();
}


TEST_F(Frame, GeometryNeedsAnOpenWindow) {
    int32_t x = 0, y = 0;
    CRect rect;
    EXPECT_TRUE(frame->getPosition(x, y) && frame->getSize(rect)) << "open: from the window";
    EXPECT_FALSE(frame->setPosition(1, 2)) << "the frame cannot move itself";
    frame->setOpenFlag(false);
    EXPECT_FALSE(frame->getPosition(x, y)) << "closed";
    EXPECT_FALSE(frame->getSize(rect)) << "closed";
    EXPECT_FALSE(frame->setSize(300, 200)) << "closed";
}

TEST_F(Frame, SetSizeAsksTheHostAndResizesWindowAndBuffer) {
    EXPECT_FALSE(frame->setSize(200, 100)) << "the size it has";
    EXPECT_FALSE(frame->setSize(0, 100)) << "no pixels";
    EXPECT_FALSE(frame->setSize(200, PixelSurface::kMaxSide + 1)) << "beyond any buffer";
    EXPECT_TRUE(editor.calls.empty()) << "the host was not asked for those";
    ASSERT_TRUE(frame->setSize(300, 150));
    EXPECT_EQ(editor.calls, std::vector<std::string>{"resize 300x150"}) << "the host is asked";
    CRect size;
    EXPECT_EQ(frame->getViewSize(size), CRect(0, 0, 300, 150));
    EXPECT_EQ(window->surface.width(), 300) << "the window follows";
    frame->setViewSize(CRect(0, 0, 250, 120));
    EXPECT_EQ(frame->getViewSize(size), CRect(0, 0, 250, 120)) << "setViewSize resizes through setSize";
    frame->setBackgroundColor(kGreyCColor);
    frame->drawRect(nullptr, CRect(0, 0, 250, 120));
    EXPECT_EQ(window->surface.pixel(249, 119), toPixel(kGreyCColor)) << "drawn to the new corner";
    EXPECT_EQ(window->shown.back().right, 250) << "the buffer has the new size";
    EXPECT_EQ(window->shown.back().bottom, 120);
}


}  // namespace
