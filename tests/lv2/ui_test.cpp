// The LV2 UI as orv-host's host embeds it (the bundle opened by its form,
// the UI given the host's window, idled about every 10 ms), on Xvfb with
// real X input: a CUTOFF drag reaches the host as a touched port written
// with the values the knob moved through, and the UI opens and closes
// cleanly again and again.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <thread>

#include "frame/xhost.h"
#include "support/ModuleHost.h"
#include "vstgui/cbitmap.h"

namespace {

constexpr int kCutoffIndex = 16;
constexpr int kCutoffX = 177, kCutoffTop = 175, kCutoffY = 195;  // the knob's middle and top

class Lv2Ui : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
        ASSERT_TRUE(host.load(ORV_LV2_BUNDLE)) << host.error();
        ASSERT_TRUE(host.effect()->flags & effFlagsHasEditor);
        parent = x.topLevel(0, 0, 600, 500);
    }

    void idle() { host.dispatch(effEditIdle); }
    // Idles until the window's corner shows the panel (the first paint).
    bool idleUntilShown() {
        return waitFor([&] { return idle(), x.pixel(parent, 1, 1) == background.getImage()->pixel(1, 1); });
    }

    XHost x;
    ModuleHost host;
    WindowId parent = 0;
    VSTGUI::CBitmap background{128};
};

TEST_F(Lv2Ui, ACutoffDragIsOneTouchedGestureOnItsPort) {
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1);
    ASSERT_TRUE(idleUntilShown());
    host.clearRequests();
    // Pressing at the knob's top means the middle; a quarter turn to the
    // right goes a third of the sweep further.
    userActsWhileIdling([&](XHost& hand) {
        hand.moveTo(kCutoffX, kCutoffTop + 2);
        hand.button(1, true);
        for (int step = 0; step <= 10; ++step) {
            const double a = M_PI / 2 - step * (M_PI / 2) / 10;
            hand.moveTo(kCutoffX + int(std::lround(18 * std::cos(a))), kCutoffY - int(std::lround(18 * std::sin(a))));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        hand.button(1, false);
    }, [&] {
        idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    });
    for (int i = 0; i < 3; ++i) idle();
    const auto r = host.editRequests(kCutoffIndex);
    ASSERT_GE(r.size(), 3u);
    EXPECT_EQ(r.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(r.back().opcode, audioMasterEndEdit);
    EXPECT_GE(std::count_if(r.begin(), r.end(), [](auto& q) { return q.opcode == audioMasterAutomate; }), 2);
    EXPECT_NEAR(r[r.size() - 2].opt, 0.5f + 1.f / 3.f, 0.03f);
    EXPECT_EQ(host.getParameter(kCutoffIndex), r[r.size() - 2].opt) << "the port holds the last value written";
    EXPECT_TRUE(host.editRequests(-1).size() == r.size()) << "no other port moved";
    host.dispatch(effEditClose);
}

TEST_F(Lv2Ui, OpensAndClosesAHundredTimesWithoutATrace) {
    const int descriptors = openFileDescriptors();
    for (int round = 0; round < 100; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1);
        ASSERT_EQ(x.children(parent).size(), 1u);
        ASSERT_TRUE(idleUntilShown());
        host.dispatch(effEditClose);
        ASSERT_TRUE(x.children(parent).empty()) << "its window is gone";
        // Painted over, so that the next round sees its own UI paint.
        x.fill(parent, 0x00FF00);
        ASSERT_TRUE(waitFor([&] { return x.pixel(parent, 1, 1) == 0x00FF00u; }));
    }
    EXPECT_EQ(openFileDescriptors(), descriptors) << "and every connection closed";
}

}  // namespace
