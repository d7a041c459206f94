#include "vstgui/win32/dpi.h"

#include "vstgui/viewscale.h"

namespace VSTGUI::win32 {

namespace {

using DpiForWindow = UINT(WINAPI*)(HWND);

DpiForWindow dpiForWindow() {
    static const DpiForWindow function = [] {
        HMODULE user = GetModuleHandleA("user32.dll");
        FARPROC found = user ? GetProcAddress(user, "GetDpiForWindow") : nullptr;
        return reinterpret_cast<DpiForWindow>(reinterpret_cast<void*>(found));
    }();
    return function;
}

// The screen's logical DPI as this process sees it: a host that is not
// DPI-aware is shown 96.
UINT screenDpi() {
    HDC screen = GetDC(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen) ReleaseDC(nullptr, screen);
    return dpi > 0 ? UINT(dpi) : 0;
}

}  // namespace

int32_t scaleForDpi(UINT dpi) { return dpi > 0 ? nearestScaleStep(dpi * 100.0 / 96.0) : 0; }

int32_t scaleForWindow(HWND window) {
    UINT dpi = 0;
    if (window && IsWindow(window))
        if (DpiForWindow function = dpiForWindow()) dpi = function(window);
    return scaleForDpi(dpi ? dpi : screenDpi());
}

}  // namespace VSTGUI::win32
