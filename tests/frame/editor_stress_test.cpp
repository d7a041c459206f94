// The editor opened and closed 1000 times while another thread automates
// all 44 parameters and the audio thread renders: the host may set
// parameters from any thread while close destroys the controls. Meant for
// the sanitizer builds, where a use after free, a leak or a data race is
// reported; in the optimised build it still must not crash.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "support/ModuleHost.h"
#include "xhost.h"

namespace {

TEST(EditorStress, OpenAndCloseWhileParametersChangeAndAudioRuns) {
    XHost x;
    ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
    ModuleHost host;
    ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
    // The module stays loaded to the end, as in a host that never unloads
    // it: the font libraries' state that its text started stays reachable
    // (not a leak of ours), and a leak of ours is reported with its names.
    ASSERT_NE(dlopen(ORV_MODULE_PATH, RTLD_NOW | RTLD_NOLOAD | RTLD_NODELETE), nullptr);
    const WindowId parent = x.topLevel(0, 0, 600, 500);

    std::atomic<bool> stop{false};
    std::atomic<long> automated{0}, rendered{0};
    std::thread automation([&] {
        for (long i = 0; !stop; ++i) {
            const VstInt32 index = VstInt32(i % 44);
            // Menus and switches get whole numbers in and beyond their range.
            host.setParameter(index, float(i % 17) / 16.f * (index >= 31 ? 12.f : 1.f));
            automated = i;
        }
    });
    std::thread audio([&] {
        while (!stop) {
            host.render(64);
            ++rendered;
        }
    });
    for (int cycle = 0; cycle < 1000; ++cycle) {
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1) << "cycle " << cycle;
        host.dispatch(effEditIdle);  // applies the recorded changes to the controls
        host.dispatch(effEditClose);
    }
    stop = true;
    automation.join();
    audio.join();
    EXPECT_GT(automated.load(), 1000) << "the automation ran alongside";
    EXPECT_GT(rendered.load(), 10) << "and so did the audio";
}

}  // namespace
