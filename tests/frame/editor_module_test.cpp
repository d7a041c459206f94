// Ambrell's editor through the built module, opened by a host in a real
// X11 window (Xvfb): it shows the background picture, closes without a
// trace, refuses what is no window, and two plug-in instances keep their
// editors apart.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/ModuleHost.h"
#include "vstgui/cbitmap.h"
#include "xhost.h"

namespace {

class EditorModule : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
        ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
    }
    // Idles the editor until its window shows the background's pixel at
    // (300, 440), which no control covers, for at most two seconds.
    bool idleUntilPainted(ModuleHost& h, WindowId parent) {
        const uint32_t expected = background.getImage()->pixel(300, 440);
        for (int i = 0; i < 200; ++i) {
            h.dispatch(effEditIdle);
            if (x.pixel(parent, 300, 440) == expected) return true;
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
        return false;
    }

    XHost x;
    ModuleHost host;
    VSTGUI::CBitmap background{128};  // the module carries the same picture
};

TEST_F(EditorModule, ShowsTheBackgroundInsideTheHostsWindowAndClosesWithoutATrace) {
    const WindowId parent = x.topLevel(0, 0, 600, 500);
    const int descriptors = openFileDescriptors();
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1) << "the editor opened";
    const auto children = x.children(parent);
    ASSERT_EQ(children.size(), 1u) << "one window of its own inside the host's";
    ScreenArea a;
    ASSERT_TRUE(x.geometry(children[0], a));
    EXPECT_EQ(a.width, 600);
    EXPECT_EQ(a.height, 500);
    ASSERT_TRUE(idleUntilPainted(host, parent)) << "the background is on the screen";
    for (int px : {0, 599})
        for (int py : {0, 499})
            EXPECT_EQ(x.pixel(parent, px, py), background.getImage()->pixel(px, py)) << "corner " << px << "," << py;
    host.dispatch(effEditClose);
    EXPECT_TRUE(x.children(parent).empty()) << "its window is gone";
    EXPECT_EQ(openFileDescriptors(), descriptors) << "and its connection closed";
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1) << "it opens again";
    EXPECT_TRUE(idleUntilPainted(host, parent));
    host.dispatch(effEditClose);
}

TEST_F(EditorModule, RefusesAParentThatIsNoWindow) {
    const int descriptors = openFileDescriptors();
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, reinterpret_cast<void*>(uintptr_t{0x7ffffff})), 0)
        << "no such window: answered 0";
    EXPECT_EQ(openFileDescriptors(), descriptors) << "nothing kept open";
    host.dispatch(effEditIdle);
    host.dispatch(effEditClose);
    const WindowId parent = x.topLevel(0, 0, 600, 500);
    EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1) << "a real window afterwards works";
    host.dispatch(effEditClose);
}


TEST_F(EditorModule, ParametersFromAnotherThreadDoNotDisturbOpenAndClose) {
    const WindowId parent = x.topLevel(0, 0, 600, 500);
    std::atomic<bool> stop{false};
    std::thread automation([&] {
        for (int i = 0; !stop; ++i) host.setParameter(i % 44, float(i % 100) / 100.f);
    });
    for (int round = 0; round < 5; ++round) {
        EXPECT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1);
        for (int i = 0; i < 5; ++i) host.dispatch(effEditIdle);
        host.dispatch(effEditClose);
    }
    stop = true;
    automation.join();
}

class TwoInstances : public EditorModule, public ::testing::WithParamInterface<bool> {};

TEST_P(TwoInstances, OpenAndCloseTheirEditorsInEitherOrder) {
    ModuleHost second;
    ASSERT_TRUE(second.load(ORV_MODULE_PATH)) << second.error();
    const WindowId parentA = x.topLevel(0, 0, 600, 500);
    const WindowId parentB = x.topLevel(620, 0, 600, 500);
    ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parentA)), 1);
    ASSERT_EQ(second.dispatch(effEditOpen, 0, 0, XHost::handle(parentB)), 1);
    ASSERT_TRUE(idleUntilPainted(host, parentA));
    ASSERT_TRUE(idleUntilPainted(second, parentB));
    ModuleHost& closing = GetParam() ? host : second;
    ModuleHost& staying = GetParam() ? second : host;
    const WindowId stayingParent = GetParam() ? parentB : parentA;
    closing.dispatch(effEditClose);
    EXPECT_EQ(x.children(stayingParent).size(), 1u) << "the other editor's window stays";
    x.fill(x.children(stayingParent)[0], 0x00FF00);
    x.expose(x.children(stayingParent)[0], ScreenArea{});
    EXPECT_TRUE(idleUntilPainted(staying, stayingParent)) << "and still paints";
    staying.dispatch(effEditClose);
    second.unload();
}

INSTANTIATE_TEST_SUITE_P(EditorModule, TwoInstances, ::testing::Values(true, false));

}  // namespace
