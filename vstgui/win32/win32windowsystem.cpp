// The Windows window system: frame windows of the class "Plugin%p" inside
// the host's HWND, and the desktop's millisecond clock.
#include <windows.h>

#include "vstgui/platform.h"
#include "vstgui/viewscale.h"
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
    // The screen's logical DPI over 96 (the system's, as this process sees
    // it: a host that is not DPI-aware is shown 96).
    int32_t desktopScale() override {
        HDC screen = GetDC(nullptr);
        const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
        if (screen) ReleaseDC(nullptr, screen);
        return dpi > 0 ? nearestScaleStep(dpi * 100.0 / 96.0) : 0;
    }

private:
    TickClock clock_;
};

}  // namespace

WindowSystem& platformWindowSystem() {
    static Win32WindowSystem system;
    return system;
}

}  // namespace VSTGUI
