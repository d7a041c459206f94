// Fake platform seams for headless toolkit tests: a window that owns a pixel
// buffer and records what it was asked to show, a pointer and button state
// the test sets, a clock the test advances, and a pop-up menu that plays a
// user choosing the entry the test names.
#pragma once

#include <cstring>
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
// choose (searched through the sub-menus, greyed items too, as a user
// could not), or -1 when none has it; records what it was shown.
class Popup : public VSTGUI::PlatformPopup {
public:
    int32_t track(const VSTGUI::PopupMenu& menu, const VSTGUI::PopupPlacement& placement,
                  VSTGUI::PopupItemPainter& painter) override {
        ++shown;
        this->placement = placement;
        texts.clear();
        sizes.clear();
        for (const auto& item : menu.items) {
            texts.push_back(item.text ? item.text : "");
            sizes.push_back(painter.measure(item));
        }
        columnBreaks = 0;
        for (const auto& item : menu.items) columnBreaks += item.columnBreak ? 1 : 0;
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
    std::vector<std::string> texts;  // the top level's items, as last shown
    std::vector<VSTGUI::CPoint> sizes;
    int columnBreaks = 0;
};

// One set of fakes, bundled as a frame takes them.
struct Platform {
    explicit Platform(int32_t width = 600, int32_t height = 500) : window(width, height) {}
    VSTGUI::PlatformServices services() { return {&window, &input, &clock, &popup}; }

    Window window;
    Input input;
    Clock clock;
    Popup popup;
};

}  // namespace fake
