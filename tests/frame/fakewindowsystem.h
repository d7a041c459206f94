// A window system without a display, for frame and editor tests: each frame
// window owns a pixel buffer, records what the frame asked of it (cursor,
// drop registration, size), and holds a queue of events that the test
// posts and dispatchEvents delivers, as a real window's pump would.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "vstgui/cframe.h"
#include "vstgui/fakeplatform.h"
#include "vstgui/pixelsurface.h"
#include "vstgui/platform.h"

namespace fake {

class FrameWindow : public VSTGUI::FrameWindow {
public:
    using Event = std::function<void()>;

    FrameWindow(int32_t width, int32_t height, bool* destroyed) : surface(width, height), destroyed(destroyed) {}
    ~FrameWindow() override {
        if (destroyed) *destroyed = true;
    }

    VSTGUI::PixelSurface* lockSurface() override { return &surface; }
    void unlockSurface(VSTGUI::PixelSurface*, const VSTGUI::CRect& changed) override { shown.push_back(changed); }
    VSTGUI::CPoint getScreenOrigin() override { return screenOrigin; }
    VSTGUI::PlatformInput* getInput() override { return &input; }
    void dispatchEvents() override {
        ++dispatches;
        std::vector<Event> now;
        now.swap(events);
        for (Event& e : now) e();
    }
    bool dispatchPendingPaint() override { return ++paintRequests, false; }
    void setCursor(VSTGUI::CCursorType type) override { cursor = type; }
    void setDropActive(bool active) override { dropActive = active; }
    bool resize(int32_t width, int32_t height) override {
        surface = VSTGUI::PixelSurface(width, height);
        return true;
    }
    bool getOuterPosition(VSTGUI::CPoint& position) override { return position = outerPosition, true; }
    bool getHostRect(VSTGUI::CRect& rect) override { return rect = hostRect, true; }

    VSTGUI::PixelSurface surface;
    bool* destroyed;
    Input input;
    VSTGUI::CPoint screenOrigin;
    VSTGUI::CPoint outerPosition;
    VSTGUI::CRect hostRect;
    std::vector<VSTGUI::CRect> shown;
    std::vector<Event> events;
    VSTGUI::CCursorType cursor = VSTGUI::kCursorDefault;
    bool dropActive = false;
    int dispatches = 0;
    int paintRequests = 0;
};

// Opens FrameWindows; the last one opened stays reachable as window (until
// its frame destroys it, which sets windowDestroyed).
class WindowSystem : public VSTGUI::WindowSystem {
public:
    std::unique_ptr<VSTGUI::FrameWindow> openWindow(void* parent, const VSTGUI::CRect& size,
                                                    VSTGUI::CFrame&) override {
        lastParent = parent;
        if (refuse) return nullptr;
        windowDestroyed = false;
        auto opened = std::make_unique<FrameWindow>(size.width(), size.height(), &windowDestroyed);
        window = opened.get();
        return opened;
    }
    VSTGUI::PlatformClock& clock() override { return clockSource; }

    Clock clockSource;
    FrameWindow* window = nullptr;
    void* lastParent = nullptr;
    bool refuse = false;
    bool windowDestroyed = false;
};

}  // namespace fake
