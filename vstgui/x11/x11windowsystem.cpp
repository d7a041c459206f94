#include "vstgui/x11/x11windowsystem.h"

#include <X11/Xlib.h>

#include <cstdlib>
#include <cstring>
#include <string>

#include "vstgui/viewscale.h"
#include "vstgui/x11/x11framewindow.h"

namespace VSTGUI::x11 {

namespace {

class X11WindowSystem final : public WindowSystem {
public:
    std::unique_ptr<FrameWindow> openWindow(void* parent, const CRect& size, CFrame& frame) override {
        return X11FrameWindow::open(parent, size, frame);
    }
    PlatformClock& clock() override { return clock_; }
    int32_t desktopScale(void* parent) override;

private:
    SystemClock clock_;
};

// The resource database the desktop loaded into the server (xrdb), as
// "name:\tvalue" lines; Xft.dpi is the one toolkits size their text by.
// It is the whole desktop's, whatever the window.
int32_t X11WindowSystem::desktopScale(void*) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0;
    int32_t scale = 0;
    if (const char* resources = XResourceManagerString(display)) {
        const std::string all(resources);
        for (size_t start = 0; start < all.size();) {
            size_t end = all.find('\n', start);
            if (end == std::string::npos) end = all.size();
            const std::string line = all.substr(start, end - start);
            start = end + 1;
            if (line.compare(0, 8, "Xft.dpi:") != 0) continue;
            const double dpi = std::strtod(line.c_str() + 8, nullptr);
            if (dpi > 0) scale = nearestScaleStep(dpi / 96.0 * 100.0);
        }
    }
    XCloseDisplay(display);
    return scale;
}

}  // namespace

WindowSystem& windowSystem() {
    static X11WindowSystem system;
    return system;
}

}  // namespace VSTGUI::x11

namespace VSTGUI {

WindowSystem& platformWindowSystem() { return x11::windowSystem(); }

}  // namespace VSTGUI
