// Win32PopupMenu: the option menus' pop-up on Windows, the desktop's own
// menu (CreatePopupMenu, AppendMenuA, TrackPopupMenu).
//
// Each level of the menu becomes a native pop-up with its sub-menus, column
// breaks (MF_MENUBARBREAK), check marks and greyed entries. A menu with a
// scheme has owner-drawn items: the owner window's WM_MEASUREITEM and
// WM_DRAWITEM come here while the menu is open, and each item is measured
// and drawn by the painter into a pixel surface that is then copied onto
// the menu. The desktop places the menu at the placement's top-left (moving
// it to stay on the screen), tracks the left button, or the right one too
// when the menu was opened with it, and runs its own modal loop, which
// also serves the owner window's paints. The chosen item comes back as a
// WM_COMMAND for the owner window, taken from the queue here.
//
// Owned by the frame window; [ui thread] only.
#pragma once

#include <windows.h>

#include "vstgui/platform.h"

namespace VSTGUI::win32 {

class Win32PopupMenu final : public PlatformPopup {
public:
    // Menus owned by owner, the frame's window.
    explicit Win32PopupMenu(HWND owner) : owner_(owner) {}

    int32_t track(const PopupMenu& menu, const PopupPlacement& placement, PopupItemPainter& painter) override;

    // The owner-draw messages of the open menu; false (not handled) when no
    // menu is open or the item is not one of its owner-drawn items.
    bool measureItem(MEASUREITEMSTRUCT& item);
    bool drawItem(const DRAWITEMSTRUCT& item);

private:
    // A native pop-up of level (and its sub-menus); none when one cannot be
    // made.
    HMENU build(const PopupMenu& level);

    HWND owner_;
    PopupItemPainter* painter_ = nullptr;  // while a menu is open
};

}  // namespace VSTGUI::win32
