#include "vstgui/x11/x11windowsystem.h"

#include "vstgui/x11/x11framewindow.h"

namespace VSTGUI::x11 {

namespace {

class X11WindowSystem final : public WindowSystem {
public:
    std::unique_ptr<FrameWindow> openWindow(void* parent, const CRect& size, CFrame& frame) override {
        return X11FrameWindow::open(parent, size, frame);
    }
    PlatformClock& clock() override { return clock_; }

private:
    SystemClock clock_;
};

}  // namespace

WindowSystem& windowSystem() {
    static X11WindowSystem system;
    return system;
}

}  // namespace VSTGUI::x11

namespace VSTGUI {

WindowSystem& platformWindowSystem() { return x11::windowSystem(); }

}  // namespace VSTGUI
