// Fake platform seams for headless toolkit tests: a window that owns a pixel
// buffer and records what it was asked to show, a pointer and button state
// the test sets, a clock the test advances, and a pop-up menu that plays a
// user choosing the entry the test names.
#pragma once

#include <memory>
#include <string>
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

// Answers each track with the command of the first item whose text is
// choose (searched through the sub-menus; greyed items and titles cannot be
// chosen), or -1 when none has it; records what it was shown.
class Popup : public VSTGUI::PlatformPopup {
public:
    int32_t track(const VSTGUI::PopupMenu& menu, const VSTGUI::PopupPlacement& placement,
                  VSTGUI::PopupItemPainter& painter) override {
        ++shown;
        this->placement = placement;
        texts.clear();
        sizes.clear();
        columnBreaks = 0;
        for (const auto& item : menu.items) {
            texts.push_back(item.text ? item.text : "");
            sizes.push_back(painter.measure(item));
            columnBreaks += item.columnBreak ? 1 : 0;
        }
        top = menu;
        return find(menu);
    }
    int32_t find(const VSTGUI::PopupMenu& menu) const {
        for (const auto& item : menu.items) {
            if (item.subMenu >= 0) {
                const int32_t inside = find(menu.subMenus[size_t(item.subMenu)]);
                if (inside >= 0) return inside;
            } else if (item.text && choose == item.text && item.isCommand()) {
                return item.command;
            }
        }
        return -1;
    }

    std::string choose;  // the text the user picks; empty dismisses
    int shown = 0;
    VSTGUI::PopupPlacement placement{};
    VSTGUI::PopupMenu top;           // as last shown (texts point into the menu)
    std::vector<std::string> texts;  // its items' texts
    std::vector<VSTGUI::CPoint> sizes;
    int columnBreaks = 0;
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
    Popup popup;
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
        VSTGUI::PlatformPopup* getPopup() override { return &p.popup; }

    private:
        Platform& p;
    };
};

}  // namespace fake
