// A picture of controls in a real X window with an option menu's pop-up
// open over it, for a person to look at: a film-strip knob, a switch, a
// value display and two menus drawn in the editor's colours, the lower one
// open with the pointer on its third entry.
//
//   scripts/with-xvfb.sh build/release/tests/frame/frame_menu_picture menu.png
//
// The user (click, pointer move, Escape) plays through XTest on a second
// connection while the GUI thread waits in the pop-up; the picture is the
// screen's pixels around the window and the pop-up.
#include <atomic>
#include <cstdio>
#include <string>
#include <thread>
#include <vector>

#include "host/render/PngFile.h"
#include "vstgui/canimknob.h"
#include "vstgui/cbitmap.h"
#include "vstgui/conoffbutton.h"
#include "vstgui/coptionmenu.h"
#include "vstgui/coptionmenuscheme.h"
#include "vstgui/cparamdisplay.h"
#include "vstgui/x11/x11windowsystem.h"
#include "xhost.h"

using namespace VSTGUI;

namespace {

constexpr int kHostX = 40, kHostY = 30, kWidth = 320, kHeight = 240;

// The editor's look of a menu: grey text on black, a dark amber selection.
COptionMenu* editorMenu(const CRect& size, const std::vector<const char*>& entries, int32_t current) {
    auto* scheme = new COptionMenuScheme;
    scheme->setColors(kBlackCColor, CColor{150, 100, 40, 255}, CColor{100, 100, 100, 255}, kWhiteCColor,
                      CColor{60, 60, 60, 255});
    auto* menu = new COptionMenu(size, nullptr, 0);
    menu->setFontColor(CColor{100, 100, 100, 255});
    menu->setBackColor(kBlackCColor);
    menu->setScheme(scheme);
    scheme->forget();
    for (const char* entry : entries) menu->addEntry(entry);
    menu->setCurrent(current);
    return menu;
}

// The pop-up's windows (outermost and sub-menus) together.
CRect popupArea(XHost& x, WindowId host) {
    CRect area;
    for (const CRect& r : x.popups(host))
        area = area.isEmpty() ? r : CRect(std::min(area.left, r.left), std::min(area.top, r.top),
                                          std::max(area.right, r.right), std::max(area.bottom, r.bottom));
    return area;
}

bool capture(XHost& x, const CRect& r, std::vector<uint8_t>& rgb) {
    const std::vector<uint32_t> pixels = x.pixels(x.root(), ScreenArea{r.left, r.top, r.width(), r.height()});
    if (pixels.empty()) return false;
    rgb.clear();
    for (uint32_t p : pixels) rgb.insert(rgb.end(), {uint8_t(p >> 16), uint8_t(p >> 8), uint8_t(p)});
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s OUT.png\n", argv[0]);
        return 2;
    }
    XHost x;
    if (!x.ok()) {
        std::fprintf(stderr, "%s: no X display (run it under scripts/with-xvfb.sh)\n", argv[0]);
        return 1;
    }
    const WindowId host = x.topLevel(kHostX, kHostY, kWidth, kHeight);
    auto* frame = new CFrame(CRect(0, 0, kWidth, kHeight), XHost::handle(host), nullptr, x11::windowSystem());
    auto* background = new CBitmap(128);
    auto* strip = new CBitmap(129);
    strip->setTransparentColor(kBlackCColor);  // the strip's black shows the background
    auto* switchPicture = new CBitmap(130);
    frame->setBackground(background);

    auto* knob = new CAnimKnob(CRect(30, 30, 70, 70), nullptr, 0, 80, 40, strip, CPoint(0, 0));
    knob->setValue(0.65f);
    knob->setTransparency(true);
    frame->addView(knob);
    frame->addView(new COnOffButton(CRect(100, 40, 100 + switchPicture->getWidth(),
                                          40 + switchPicture->getHeight() / 2),
                                    nullptr, 0, switchPicture, 0));
    auto* display = new CParamDisplay(CRect(30, 90, 90, 106));
    display->setValue(0.5f);
    frame->addView(display);
    frame->addView(editorMenu(CRect(140, 90, 240, 105), {"LP 12dB", "LP 24dB"}, 1));
    COptionMenu* open =
        editorMenu(CRect(140, 115, 240, 130), {"sin", "tri", "saw", "rec", "noise"}, 2);
    open->setStyle(kCheckStyle);
    frame->addView(open);
    for (int i = 0; i < 40; ++i) {  // the first paint
        frame->idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(5));
    }

    std::vector<uint8_t> rgb;
    CRect area;
    std::atomic<bool> done{false};
    std::thread user([&] {
        XHost hand;
        hand.moveTo(kHostX + 180, kHostY + 122);
        hand.button(1, true);
        hand.button(1, false);
        CRect popup;
        if (waitFor([&] { return !(popup = popupArea(hand, host)).isEmpty(); })) {
            hand.moveTo(popup.left + 40, popup.top + 1 + 18 * 2 + 9);
            std::this_thread::sleep_for(std::chrono::milliseconds(200));
            area = CRect(kHostX, kHostY, std::max(kHostX + kWidth, int(popup.right)),
                         std::max(kHostY + kHeight, int(popup.bottom)));
            capture(hand, area, rgb);
        }
        done = true;
        // Escape closes the innermost level: as often as levels are open.
        for (size_t open = hand.popups(host).size(); open > 0; --open) {
            hand.key(XK_Escape, true);
            hand.key(XK_Escape, false);
            waitFor([&] { return hand.popups(host).size() < open; });
        }
    });
    for (int i = 0; i < 300 && !done; ++i) {
        frame->idle();
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    user.join();
    frame->forget();
    background->forget();
    strip->forget();
    switchPicture->forget();
    x.destroy(host);

    std::string error;
    if (rgb.empty()) {
        std::fprintf(stderr, "%s: the pop-up did not open\n", argv[0]);
        return 1;
    }
    if (!writePng(argv[1], rgb, area.width(), area.height(), error)) {
        std::fprintf(stderr, "%s: %s\n", argv[0], error.c_str());
        return 1;
    }
    return 0;
}
