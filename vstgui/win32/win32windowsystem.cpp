// The Windows window system: frame windows of the class "Plugin%p" inside
// the host's HWND, and the desktop's millisecond clock.
#include <windows.h>

#include "vstgui/platform.h"
#include "vstgui/win32/dpi.h"
#include "vstgui/win32/win32framewindow.h"

namespace VSTGUI {

namespace {

class TickClock final : public PlatformClock {
public:
    uint32_t getTicks() override { return uint32_t(GetTickCount()); }
    void sleep(uint32_t milliseconds) override { Sleep(milliseconds); }
};

class Win32WindowSystem final : public WindowSystem {
public:
    std::unique_ptr<FrameWindow> openWindow(void* parent, const CRect& size, CFrame& frame) override {
        return win32::Win32FrameWindow::open(parent, size, frame);
    }
    PlatformClock& clock() override { return clock_; }
    // The DPI of the host's window (its monitor's, for a host aware of
    // them), else the screen's, over 96.
    int32_t desktopScale(void* parent) override { return win32::scaleForWindow(static_cast<HWND>(parent)); }

private:
    TickClock clock_;
};

}  // namespace

WindowSystem& platformWindowSystem() {
    static Win32WindowSystem system;
    return system;
}

}  // namespace VSTGUI
