// The test's hands on a real X server: the host (top-level windows that
// editors open inside, orv-host's own HostWindow), the user (pointer and
// keys through XTest) and the reader of the screen, all through the one
// host window of host/live/HostWindow.h.
#pragma once

#include <X11/keysym.h>

#include <dirent.h>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <thread>
#include <vector>

#include "host/live/HostWindow.h"
#include "vstgui/cframe.h"

class XHost : public ScreenUser {
public:
    // An unmanaged top-level window placed exactly where asked, shown when
    // map is set; it lives as long as this XHost, unless destroyed first.
    WindowId topLevel(int x, int y, int width, int height, bool map = true) {
        windows_.push_back(std::make_unique<HostWindow>());
        HostWindow& window = *windows_.back();
        if (!window.open(width, height, "", HostWindow::Kind::kScreenshot, x, y)) return 0;
        if (map) window.show();
        return window.id();
    }
    // Shows a window topLevel made unmapped.
    void show(WindowId w) {
        for (auto& window : windows_)
            if (window->id() == w) window->show();
    }
    static void* handle(WindowId w) { return reinterpret_cast<void*>(uintptr_t(w)); }

    // Shown pop-up menus (see ScreenUser::popups) as rectangles of the screen.
    std::vector<VSTGUI::CRect> popups(WindowId except) {
        std::vector<VSTGUI::CRect> found;
        for (const ScreenArea& a : ScreenUser::popups(except)) found.emplace_back(a.x, a.y, a.x + a.width, a.y + a.height);
        return found;
    }

private:
    std::vector<std::unique_ptr<HostWindow>> windows_;
};

// Open file descriptors of this process: each X connection holds one.
inline int openFileDescriptors() {
    int n = 0;
    if (DIR* dir = opendir("/proc/self/fd")) {
        while (readdir(dir)) ++n;
        closedir(dir);
    }
    return n;
}

// Waits until done() holds, for at most two seconds.
template <class Done>
bool waitFor(Done done) {
    for (int i = 0; i < 400; ++i) {
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Idles frame until done() holds, for at most two seconds: events from
// another connection take a moment to arrive.
template <class Done>
bool idleUntil(VSTGUI::CFrame* frame, Done done) {
    for (int i = 0; i < 400; ++i) {
        frame->idle();
        if (done()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }
    return false;
}

// Runs act as a user on a connection of their own while the calling thread
// keeps calling idle, as a host idles an editor: a control holds the host's
// idle call for as long as it holds the mouse, a pop-up until it closes.
inline void userActsWhileIdling(const std::function<void(XHost&)>& act, const std::function<void()>& idle) {
    std::atomic<bool> done{false};
    std::thread user([&] {
        XHost hand;
        if (hand.ok()) act(hand);
        done = true;
    });
    while (!done) idle();
    user.join();
}
