// Stands in for the toolkit's Win32 layer (vstgui/win32/) in the Windows
// build until that layer is in the tree: a window system that opens no
// window, so the editor answers 0 to open, and fonts without faces, which
// draw nothing and measure 0. Everything else of the module is real.
#include "vstgui/fonts.h"
#include "vstgui/platform.h"
#include "vstgui/x11/x11windowsystem.h"

namespace VSTGUI {

struct Library {};
struct Typeface {};

const StandardFont& standardFont(int32_t) {
    static const StandardFont system{"Arial", 12};
    return system;
}

Font::Font(int32_t id, int32_t height, int32_t style) : id_(id), height_(height), style_(style) {}
Font::~Font() = default;
bool Font::isUsable() const { return false; }
int32_t Font::getStringWidth(const char*) const { return 0; }
int32_t Font::getLineHeight() const { return 0; }
int32_t Font::getAscent() const { return 0; }
void Font::drawString(PixelSurface&, const char*, const CRect&, CHoriTxtAlign, Pixel, const Pixel*) const {}

namespace {
class NoWindowSystem final : public WindowSystem {
public:
    std::unique_ptr<FrameWindow> openWindow(void*, const CRect&, CFrame&) override { return nullptr; }
    PlatformClock& clock() override { return clock_; }

private:
    SystemClock clock_;
};
}  // namespace

namespace x11 {
WindowSystem& windowSystem() {
    static NoWindowSystem windows;
    return windows;
}
}  // namespace x11

}  // namespace VSTGUI
