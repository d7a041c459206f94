// Ambrell's editor with its controls, through the built module opened
// as a host opens it (a parent X window, effEditOpen with its id,
// effEditIdle about every 10 ms), played by a user with real X input
// (XTest) on Xvfb: edits reach the host as parameters with their gestures,
// and host changes reach the screen at the stated idle call.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <functional>
#include <thread>

#include "editor/ControlLayout.h"
#include "support/ModuleHost.h"
#include "vstgui/cbitmap.h"
#include "xhost.h"

namespace {

using Clock = std::chrono::steady_clock;

// Window rectangles of controls used here (the editor's layout).
struct Box {
    int left, top, right, bottom;
    int midX() const { return (left + right) / 2; }
    int midY() const { return (top + bottom) / 2; }
};
constexpr Box kCutoff{157, 175, 197, 215};     // parameter 16
constexpr Box kResonance{211, 175, 251, 215};  // parameter 17
constexpr Box kVolume{442, 339, 482, 379};     // parameter 0
constexpr Box kOsc1Wave{197, 80, 230, 95};     // parameter 3, 5 entries
constexpr Box kLearn{461, 472, 491, 492};      // parameter 43
// Every knob: left, top, parameter, size and film strip. The LFO depths
// (29, 34) show the bipolar strip while their destination is a pitch.
struct KnobRow {
    int left, top, param, size, strip;
};
constexpr KnobRow kKnobs[] = {
    {193, 16, 2, 40, 129},  {317, 16, 8, 40, 133},  {370, 16, 9, 40, 133},  {317, 87, 11, 40, 129},
    {370, 87, 10, 40, 129}, {442, 16, 12, 40, 129}, {442, 87, 13, 40, 129}, {157, 175, 16, 40, 129},
    {211, 175, 17, 40, 129}, {265, 175, 19, 40, 129}, {317, 175, 20, 40, 129}, {370, 175, 18, 40, 129},
    {211, 246, 21, 40, 129}, {265, 246, 22, 40, 129}, {317, 246, 23, 40, 129}, {370, 246, 24, 40, 129},
    {211, 339, 25, 40, 129}, {265, 339, 26, 40, 129}, {317, 339, 27, 40, 129}, {370, 339, 28, 40, 129},
    {442, 175, 14, 40, 129}, {442, 276, 1, 40, 133},  {442, 339, 0, 40, 129},  {67, 16, 29, 40, 129},
    {121, 16, 30, 40, 129}, {67, 247, 34, 40, 129},  {121, 247, 35, 40, 129}, {189, 104, 4, 26, 132},
    {217, 104, 5, 26, 132},
};

class EditorControls : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
        ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
        parent = x.topLevel(0, 0, 600, 500);
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1);
        ASSERT_TRUE(idleUntilShown()) << "the editor painted";
    }
    void TearDown() override { host.dispatch(effEditClose); }

    void idle(int times = 1) {
        for (int i = 0; i < times; ++i) host.dispatch(effEditIdle);
    }
    // Idles until the window's corner shows the panel (the first paint).
    bool idleUntilShown() {
        for (int i = 0; i < 200; ++i) {
            idle();
            if (x.pixel(parent, 1, 1) == background.getImage()->pixel(1, 1)) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }
    // The user acts on a connection of their own while this thread idles
    // the editor as a host does: a control holds the host's idle call for as
    // long as it holds the mouse.
    void userActs(const std::function<void(XHost&)>& act) {
        userActsWhileIdling(act, [&] {
            idle();
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        });
        idle(3);
    }
    static void click(XHost& hand, int x, int y, unsigned button = 1) {
        hand.moveTo(x, y);
        hand.button(button, true);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));  // taken while held
        hand.button(button, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }

    // The window's pixels in box as 0xRRGGBB, row by row. The editor shows
    // its pixels from its own connection: what an idle call drew may take a
    // moment to reach the screen, so reading waits until the box is stable.
    std::vector<uint32_t> pixels(const Box& b) {
        std::vector<uint32_t> now = grab(b), before;
        for (int i = 0; i < 10 && now != before; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            before = now;
            now = grab(b);
        }
        return now;
    }
    std::vector<uint32_t> grab(const Box& b) {
        return x.pixels(parent, ScreenArea{b.left, b.top, b.right - b.left, b.bottom - b.top});
    }
    // What a knob at (left, top) shows for value: its film-strip frame, with
    // black see-through to the panel.
    std::vector<uint32_t> knobPicture(int left, int top, float value, int size = 40, int stripId = 129) {
        VSTGUI::CBitmap strip(stripId);
        const int frame = value <= 0.f ? 0 : std::min(79, int(value * 79.f * float(size)) / size);
        std::vector<uint32_t> out;
        for (int y = 0; y < size; ++y)
            for (int i = 0; i < size; ++i) {
                const uint32_t p = strip.getImage()->pixel(i, frame * size + y);
                out.push_back(p ? p : background.getImage()->pixel(left + i, top + y));
            }
        return out;
    }
    bool knobShows(int left, int top, float value, int size = 40, int stripId = 129) {
        return pixels({left, top, left + size, top + size}) == knobPicture(left, top, value, size, stripId);
    }
    bool knobShows(const KnobRow& k) {
        int stripId = k.strip;
        if (k.param == 29 || k.param == 34) {
            const float destination = host.getParameter(k.param == 29 ? 32 : 37);
            if (destination >= 1.f && destination < 4.f) stripId = 133;  // osc1, osc2, osc1/2: a pitch
        }
        return knobShows(k.left, k.top, host.getParameter(k.param), k.size, stripId);
    }

    XHost x;
    ModuleHost host;
    WindowId parent = 0;
    VSTGUI::CBitmap background{128};
};

TEST_F(EditorControls, DraggingCutoffIsOneAutomatedGestureOnParameter16) {
    host.clearRequests();
    // Circular knobs: pressing at the top means the middle, the right-hand
    // side three quarters of the sweep further on.
    userActs([&](XHost& hand) {
        hand.moveTo(kCutoff.midX(), kCutoff.top + 2);
        hand.button(1, true);
        for (int step = 0; step <= 10; ++step) {
            const double a = M_PI / 2 - step * (M_PI / 2) / 10;  // top to right
            hand.moveTo(kCutoff.midX() + int(std::lround(18 * std::cos(a))),
                        kCutoff.midY() - int(std::lround(18 * std::sin(a))));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        hand.button(1, false);
    });
    const auto r = host.editRequests(16);
    ASSERT_GE(r.size(), 3u);
    EXPECT_EQ(r.front().opcode, audioMasterBeginEdit) << "the gesture starts";
    EXPECT_EQ(r.back().opcode, audioMasterEndEdit) << "and ends";
    const auto automates = std::count_if(r.begin(), r.end(), [](auto& q) { return q.opcode == audioMasterAutomate; });
    EXPECT_GE(automates, 2) << "with automate requests between";
    EXPECT_NEAR(r[r.size() - 2].opt, 0.5f + 1.f / 3.f, 0.03f) << "the last value sent: the pointer at the right";
    EXPECT_NEAR(host.getParameter(16), 0.5f + 1.f / 3.f, 0.03f);
    EXPECT_TRUE(knobShows(kCutoff.left, kCutoff.top, host.getParameter(16))) << "and the knob shows it";
}

TEST_F(EditorControls, ClicksWheelAndMenusSetTheirParameters) {
    ASSERT_GT(host.getParameter(0), 0.5f) << "program 0 has its volume up";
    userActs([&](XHost& hand) {
        hand.key(XK_Control_L, true);
        click(hand, kVolume.midX(), kVolume.midY());
        hand.key(XK_Control_L, false);
    });
    EXPECT_EQ(host.getParameter(0), 0.f) << "a Ctrl-click sets a knob's parameter to 0.0";

    userActs([&](XHost& hand) { click(hand, kLearn.midX(), kLearn.midY()); });
    EXPECT_EQ(host.getParameter(43), 1.f) << "the learn switch";

    ASSERT_EQ(host.getParameter(17), 0.f);
    userActs([&](XHost& hand) { click(hand, kResonance.midX(), kResonance.midY(), 4); });
    EXPECT_NEAR(host.getParameter(17), 0.1f, 1e-6f) << "one wheel notch up";

    host.clearRequests();
    userActs([&](XHost& hand) {
        const auto before = hand.children(hand.root());
        click(hand, kOsc1Wave.midX(), kOsc1Wave.midY());
        WindowId popup = 0;
        for (int i = 0; i < 100 && popup == 0; ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            for (WindowId w : hand.children(hand.root())) {
                ScreenArea area;
                bool shown = false;
                if (std::find(before.begin(), before.end(), w) == before.end() && hand.geometry(w, area, &shown) &&
                    shown)
                    popup = w;
            }
        }
        ASSERT_NE(popup, 0u) << "the menu popped up";
        ScreenArea a;
        hand.geometry(popup, a);
        // Five items of equal height, with whatever border the window has.
        const int item = a.height / 5;
        click(hand, a.x + a.width / 2, a.y + 2 * item + item / 2);
    });
    EXPECT_EQ(host.getParameter(3), 2.f) << "the third entry of the osc 1 wave menu";
    const auto r = host.editRequests(3);
    ASSERT_EQ(r.size(), 3u);
    EXPECT_EQ(r[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(r[1].opcode, audioMasterAutomate);
    EXPECT_EQ(r[1].opt, 2.f);
    EXPECT_EQ(r[2].opcode, audioMasterEndEdit);
}

TEST_F(EditorControls, HostChangesShowOnKnobsAfterOneIdleAndOnMenusAfterTwo) {
    const auto saw = pixels(kOsc1Wave);
    host.setParameter(16, 0.f);
    host.setParameter(3, 2.f);
    idle();
    EXPECT_TRUE(knobShows(kCutoff.left, kCutoff.top, 0.f)) << "the knob after the next idle";
    EXPECT_EQ(pixels(kOsc1Wave), saw) << "the menu not yet";
    idle();
    const auto tri = pixels(kOsc1Wave);
    EXPECT_NE(tri, saw) << "the menu after the second";
    host.setParameter(3, 0.f);
    idle(2);
    EXPECT_EQ(pixels(kOsc1Wave), saw) << "and back";
}

TEST_F(EditorControls, AProgramChangeShowsEverywhereAndReopeningShowsTheSame) {
    const Box all{0, 0, 600, 500};
    const auto before = pixels(all);
    const auto names = host.programNames();
    const auto pad = std::find(names.begin(), names.end(), "Rising Industry Pad");
    ASSERT_NE(pad, names.end());
    host.dispatch(effSetProgram, 0, pad - names.begin());
    idle(2);
    const auto changed = pixels(all);
    EXPECT_NE(changed, before);
    for (const auto& k : kKnobs) EXPECT_TRUE(knobShows(k)) << "knob of parameter " << k.param;
    host.dispatch(effEditClose);
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1);
    ASSERT_TRUE(idleUntilShown());
    idle(2);
    EXPECT_EQ(pixels(all), changed) << "a new editor shows what the old one showed";
}

// Every knob of the layout table, knobs added later included, dragged as a
// user drags it: the host hears one gesture on the knob's parameter and no
// other. Where the list above places a knob, its parameter is the one
// expected, so a tag swapped in the table fails as well as one swapped in
// the wiring.
TEST_F(EditorControls, EveryKnobDraggedEditsItsOwnParameter) {
    int knobs = 0;
    for (const layout::Control& knob : layout::kControls) {
        if (knob.kind != layout::Kind::knob) continue;
        ++knobs;
        int expected = knob.tag;
        for (const auto& k : kKnobs)
            if (k.left == knob.left && k.top == knob.top) expected = k.param;
        const int midX = (knob.left + knob.right) / 2, midY = (knob.top + knob.bottom) / 2;
        host.clearRequests();
        userActs([&](XHost& hand) {
            hand.moveTo(midX, knob.top + 2);
            hand.button(1, true);
            for (int step = 1; step <= 4; ++step) {
                const double a = M_PI / 2 - step * (M_PI / 2) / 4;  // top to right
                hand.moveTo(midX + int(std::lround(18 * std::cos(a))), midY - int(std::lround(18 * std::sin(a))));
                std::this_thread::sleep_for(std::chrono::milliseconds(15));
            }
            hand.button(1, false);
        });
        const auto r = host.editRequests();
        ASSERT_GE(r.size(), 3u) << "the knob at " << knob.left << ", " << knob.top << " was heard";
        const auto other = std::find_if(r.begin(), r.end(), [&](const HostRequest& q) { return q.index != expected; });
        EXPECT_EQ(other, r.end()) << "the knob at " << knob.left << ", " << knob.top << " edits parameter "
                                  << other->index << ", not " << expected;
        EXPECT_EQ(r.front().opcode, audioMasterBeginEdit);
        EXPECT_EQ(r.back().opcode, audioMasterEndEdit);
        EXPECT_NEAR(host.getParameter(expected), 0.5f + 1.f / 3.f, 0.03f) << "parameter " << expected;
    }
    EXPECT_EQ(knobs, layout::kKnobCount);
}

// In the host's linear knob mode, Shift makes a drag fine: the whole span
// takes 300 pixels instead of 200.
TEST_F(EditorControls, AShiftDragInLinearModeNeedsThreeHundredPixelsForTheSpan) {
    ASSERT_EQ(host.dispatch(effSetEditKnobMode, 0, 2), 1);
    const auto spanOfDrag = [&](bool shift) {
        host.setParameter(16, 0.25f);
        idle();
        userActs([&](XHost& hand) {
            if (shift) hand.key(XK_Shift_L, true);
            hand.moveTo(kCutoff.midX(), kCutoff.midY());
            hand.button(1, true);
            for (int dx = 10; dx <= 60; dx += 10) {
                hand.moveTo(kCutoff.midX() + dx, kCutoff.midY());
                std::this_thread::sleep_for(std::chrono::milliseconds(15));
            }
            hand.button(1, false);
            if (shift) hand.key(XK_Shift_L, false);
        });
        return 60.0 / (host.getParameter(16) - 0.25);  // pixels per unit of value
    };
    EXPECT_NEAR(spanOfDrag(false), 200.0, 2.0) << "a plain drag";
    EXPECT_NEAR(spanOfDrag(true), 300.0, 2.0) << "a Shift-drag";
    host.dispatch(effSetEditKnobMode, 0, 0);
}

TEST_F(EditorControls, AnLfoDepthKnobIsDrawnBipolarWhileItsDestinationIsAPitch) {
    const KnobRow& depth = kKnobs[23];  // LFO 1 depth, parameter 29
    ASSERT_EQ(depth.param, 29);
    host.setParameter(29, 0.5f);
    for (float destination : {0.f, 1.f, 2.f, 3.f, 4.f, 10.f}) {  // cutoff, osc1, osc2, osc1/2, osc1 fm, lfo2 rate
        host.setParameter(32, destination);
        idle(2);
        const bool pitch = destination >= 1.f && destination <= 3.f;
        EXPECT_TRUE(knobShows(depth.left, depth.top, 0.5f, 40, pitch ? 133 : 129)) << "destination " << destination;
    }
}

}  // namespace
