// Fake platform seams for headless toolkit tests: a window that owns a pixel
// buffer and records what it was asked to show, a pointer and button state
// the test sets, and a clock the test advances.
#pragma once

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

// One set of fakes, bundled as a frame takes them.
struct Platform {
    explicit Platform(int32_t width = 600, int32_t height = 500) : window(width, height) {}
    VSTGUI::PlatformServices services() { return {&window, &input, &clock}; }

    Window window;
    Input input;
    Clock clock;
};

}  // namespace fake
