// Controls in a real X11 window (Xvfb), driven by real X input (XTest): a
// knob drag and a switch click reach the editor as the host would hear them,
// the window keeps being painted while a drag holds the mouse, and a host
// that destroys its window mid-drag ends the drag.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "editor/AEffGUIEditor.h"
#include "vstgui/canimknob.h"
#include "vstgui/cbitmap.h"
#include "vstgui/conoffbutton.h"
#include "vstgui/x11/x11windowsystem.h"
#include "xhost.h"

using namespace VSTGUI;

namespace {

constexpr int kHostX = 120;
constexpr int kHostY = 90;
constexpr int kKnobTag = 4;
constexpr int kSwitchTag = 7;
const CRect kKnob(20, 20, 60, 60);
const CRect kSwitch(100, 20, 130, 40);

// An editor with a knob and a switch, its idle pump the real one; each turn
// of a control's loop first runs the test's step.
class ControlsEditor : public AEffGUIEditor, public CControlListener {
public:
    ControlsEditor() : AEffGUIEditor(nullptr, x11::windowSystem()) {}
    ~ControlsEditor() override { close(); }

    bool open(void* window) override {
        AEffGUIEditor::open(window);
        frame = new CFrame(CRect(0, 0, 300, 200), window, this, windowSystem());
        frame->setBackgroundColor(kGreyCColor);
        auto* strip = new CBitmap(129);
        auto* picture = new CBitmap(130);
        knob = new CAnimKnob(kKnob, this, kKnobTag, 80, 40, strip, CPoint());
        button = new COnOffButton(kSwitch, this, kSwitchTag, picture);
        strip->forget();
        picture->forget();
        frame->addView(knob);
        frame->addView(button);
        return frame->hasWindow();
    }
    void close() override {
        if (frame) frame->forget();
        frame = nullptr;
        AEffGUIEditor::close();
    }

    void beginEdit(VstInt32 index) override { log.push_back("begin " + std::to_string(index)); }
    void endEdit(VstInt32 index) override { log.push_back("end " + std::to_string(index)); }
    void doIdleStuff() override {
        ++turns;
        if (step) step(turns);
        AEffGUIEditor::doIdleStuff();
    }
    void valueChanged(CDrawContext*, CControl* control) override {
        values.push_back(control->getValue());
        if (log.empty() || log.back() != "value " + std::to_string(control->getTag()))
            log.push_back("value " + std::to_string(control->getTag()));  // repeats folded
    }

    CAnimKnob* knob = nullptr;
    COnOffButton* button = nullptr;
    std::function<void(int)> step;
    int turns = 0;
    std::vector<std::string> log;
    std::vector<float> values;
};

class X11Controls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
        host = x.topLevel(kHostX, kHostY, 300, 200);
        ASSERT_TRUE(editor.open(XHost::handle(host)));
        ASSERT_TRUE(idleUntil(editor.getFrame(), [&] { return !editor.knob->isDirty(); })) << "first paint";
    }
    void TearDown() override {
        editor.setKnobMode(kCircularMode);  // one value for every editor of the process
        editor.close();
        if (host) x.destroy(host);
    }
    // The screen's pixels of rect in the editor's window.
    std::vector<uint32_t> screen(const CRect& r) {
        return x.pixels(window(), ScreenArea{r.left, r.top, r.width(), r.height()});
    }
    WindowId window() {
        auto kids = x.children(host);
        return kids.empty() ? 0 : kids[0];
    }
    void at(int frameX, int frameY) { x.moveTo(kHostX + frameX, kHostY + frameY); }

    XHost x;
    WindowId host = 0;
    ControlsEditor editor;
};

TEST_F(X11Controls, ALinearDragMovesTheKnobInsideOneEditGesture) {
    editor.setKnobMode(kLinearMode);
    const std::vector<uint32_t> before = screen(kKnob);
    at(40, 40);
    editor.step = [&](int turn) {
        // 30 right, then 20 up (a quarter of the span), then let go.
        if (turn == 2) at(70, 40);
        if (turn == 4) at(70, 20);
        if (turn == 6) x.button(1, false);
    };
    x.button(1, true);
    ASSERT_TRUE(idleUntil(editor.getFrame(), [&] { return editor.log.size() >= 3; })) << "the drag ran";
    EXPECT_EQ(editor.log, (std::vector<std::string>{"begin 4", "value 4", "end 4"}))
        << "begin edit, value changes, end edit";
    EXPECT_FLOAT_EQ(editor.knob->getValue(), 0.25f) << "50 pixels of 200";
    EXPECT_FLOAT_EQ(editor.values.back(), 0.25f) << "the last value the host heard";
    editor.getFrame()->idle();
    EXPECT_NE(screen(kKnob), before) << "the knob shows its new frame";
}

TEST_F(X11Controls, ExposesArePaintedWhileADragHoldsTheMouse) {
    const WindowId w = window();
    bool repaintedDuringDrag = false;
    at(40, 40);
    editor.step = [&](int turn) {
        if (turn == 2) {
            x.fill(w, 0x00FF00);
            x.expose(w, ScreenArea{150, 100, 20, 20});  // the server asks for a repaint
        }
        if (turn > 2 && x.pixel(w, 160, 110) == toPixel(kGreyCColor)) repaintedDuringDrag = true;
        if (repaintedDuringDrag || turn > 200) x.button(1, false);
    };
    x.button(1, true);
    ASSERT_TRUE(idleUntil(editor.getFrame(), [&] { return !editor.log.empty() && editor.log.back() == "end 4"; }));
    EXPECT_TRUE(repaintedDuringDrag) << "the exposed area was painted from the buffer inside the drag";
}

TEST_F(X11Controls, AClickTogglesTheSwitch) {
    at(110, 30);
    x.button(1, true);
    x.button(1, false);
    ASSERT_TRUE(idleUntil(editor.getFrame(), [&] { return !editor.values.empty(); })) << "the click arrived";
    EXPECT_EQ(editor.values, std::vector<float>{1.f}) << "off to on";
    EXPECT_EQ(editor.log, (std::vector<std::string>{"begin 7", "value 7", "end 7"}));
    editor.getFrame()->idle();
    const uint32_t on = x.pixel(window(), 115, 30);
    x.button(1, true);
    x.button(1, false);
    ASSERT_TRUE(idleUntil(editor.getFrame(), [&] { return editor.values.size() == 2; }));
    EXPECT_EQ(editor.values.back(), 0.f) << "and off again";
    editor.getFrame()->idle();
    EXPECT_NE(x.pixel(window(), 115, 30), on) << "the screen shows the other picture";
}

TEST_F(X11Controls, AHostDestroyingItsWindowMidDragEndsTheDrag) {
    int destroyedAt = 0;
    at(40, 40);
    editor.step = [&](int turn) {
        at(40 + turn % 10, 30);  // the user keeps dragging
        if (turn == 3) {
            x.destroy(host);
            host = 0;
            destroyedAt = turn;
        }
        if (turn > 500) x.button(1, false);  // a drag that never ends would hang the test
    };
    x.button(1, true);
    ASSERT_TRUE(idleUntil(editor.getFrame(), [&] { return !editor.log.empty() && editor.log.back() == "end 4"; }));
    x.button(1, false);
    EXPECT_EQ(destroyedAt, 3);
    EXPECT_LT(editor.turns, 100) << "the drag ended soon after, with the button still held";
    EXPECT_FALSE(editor.getFrame()->isOpen()) << "the frame knows its window is gone";
    editor.close();  // destroys the controls; nothing of the drag is left to touch them
}

}  // namespace
