// Fake platform seams for headless toolkit tests: a window that owns a pixel
// buffer and records what it was asked to show, a pointer and button state
// the test sets, and a clock the test advances.
#pragma once

#include <memory>
#include <vector>

#include "vstgui/cbuttons.h"
#include "vstgui/pixelsurface.h"
#include "vstgui/platform.h"

namespace fake {

class Window : public VSTGUI::PlatformWindow {
public:
    Window(int32_t width, int32_t height) : surface(width, height) {}
    VSTGUI::PixelSurface* lockSurface() override {
        ++locks;
        return &surface;
    }
    void unlockSurface(VSTGUI::PixelSurface*, const VSTGUI::CRect& changed) override {
        shown.push_back(changed);
    }
    VSTGUI::CPoint getScreenOrigin() override { return screenOrigin; }

    VSTGUI::PixelSurface surface;
    VSTGUI::CPoint screenOrigin;
    int locks = 0;
    std::vector<VSTGUI::CRect> shown;
};

class Input : public VSTGUI::PlatformInput {
public:
    VSTGUI::CPoint getPointerPosition() override { return pointer; }
    int32_t getMouseButtons() override { return buttons; }

    VSTGUI::CPoint pointer;
    int32_t buttons = 0;
};

class Clock : public VSTGUI::PlatformClock {
public:
    uint32_t getTicks() override { return now; }
    void sleep(uint32_t milliseconds) override { now += milliseconds; }

    uint32_t now = 0;
};

// One set of fakes as a window system: every frame window it opens draws
// into window and reads input, which the test owns and scripts before and
// after the frame exists. The window's events, cursor and drop registration
// are no-ops; tests/frame/fakewindowsystem.h fakes those.
class Platform : public VSTGUI::WindowSystem {
public:
    explicit Platform(int32_t width = 600, int32_t height = 500) : window(width, height) {}

    // What a test passes as the host's window: any non-null handle opens.
    void* parent() { return this; }

    std::unique_ptr<VSTGUI::FrameWindow> openWindow(void*, const VSTGUI::CRect&, VSTGUI::CFrame&) override {
        return std::make_unique<Opened>(*this);
    }
    VSTGUI::PlatformClock& clock() override { return clockSource; }

    Window window;
    Input input;
    Clock clockSource;
    // Called by the frame's idle pump for pending paints (doIdleStuff).
    int paintRequests = 0;

private:
    class Opened : public VSTGUI::FrameWindow {
    public:
        explicit Opened(Platform& platform) : p(platform) {}
        VSTGUI::PixelSurface* lockSurface() override { return p.window.lockSurface(); }
        void unlockSurface(VSTGUI::PixelSurface* surface, const VSTGUI::CRect& changed) override {
            p.window.unlockSurface(surface, changed);
        }
        VSTGUI::CPoint getScreenOrigin() override { return p.window.getScreenOrigin(); }
        VSTGUI::PlatformInput* getInput() override { return &p.input; }
        void dispatchEvents() override {}
        bool dispatchPendingPaint() override { return ++p.paintRequests, false; }
        void setCursor(VSTGUI::CCursorType) override {}
        void setDropActive(bool) override {}
        bool resize(int32_t, int32_t) override { return false; }
        bool getOuterPosition(VSTGUI::CPoint&) override { return false; }
        bool getHostRect(VSTGUI::CRect&) override { return false; }

    private:
        Platform& p;
    };
};

}  // namespace fake
