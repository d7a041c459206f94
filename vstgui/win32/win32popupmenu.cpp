#include "vstgui/win32/win32popupmenu.h"

#include "vstgui/pixelsurface.h"
#include "vstgui/win32/pixelblit.h"

namespace VSTGUI::win32 {

HMENU Win32PopupMenu::build(const PopupMenu& level) {
    HMENU menu = CreatePopupMenu();
    if (!menu) return nullptr;
    const UINT drawn = level.ownerDrawn ? MF_OWNERDRAW : 0;
    for (const PopupItem& item : level.items) {
        // Owner-drawn items carry the item itself as their data.
        const auto data = reinterpret_cast<LPCSTR>(&item);
        if (item.separator) {
            AppendMenuA(menu, MF_SEPARATOR | drawn, 0, drawn ? data : nullptr);
            continue;
        }
        UINT flags = drawn | (item.columnBreak ? MF_MENUBARBREAK : 0);
        if (item.state & kPopupItemChecked) flags |= MF_CHECKED;
        if (item.state & kPopupItemDisabled) flags |= MF_GRAYED;
        UINT_PTR id = item.command >= 0 ? UINT_PTR(item.command) : 0;
        if (item.subMenu >= 0 && size_t(item.subMenu) < level.subMenus.size()) {
            HMENU sub = build(level.subMenus[size_t(item.subMenu)]);
            if (!sub) continue;  // left out, as a sub-menu that cannot be made
            flags |= MF_POPUP;
            id = reinterpret_cast<UINT_PTR>(sub);
        }
        AppendMenuA(menu, flags, id, drawn ? data : item.text);
    }
    return menu;
}

int32_t Win32PopupMenu::track(const PopupMenu& menu, const PopupPlacement& placement, PopupItemPainter& painter) {
    if (painter_) return -1;  // one menu at a time
    HMENU native = build(menu);
    if (!native) return -1;
    painter_ = &painter;
    const UINT flags = placement.rightButton ? TPM_RIGHTBUTTON : 0;
    int32_t result = -1;
    MSG message;
    if (TrackPopupMenu(native, flags, placement.where.h, placement.where.v, 0, owner_, nullptr) &&
        PeekMessageA(&message, owner_, WM_COMMAND, WM_COMMAND, PM_REMOVE) && HIWORD(message.wParam) == 0)
        result = int32_t(LOWORD(message.wParam));
    painter_ = nullptr;
    DestroyMenu(native);  // and the sub-menus attached to it
    return result;
}

bool Win32PopupMenu::measureItem(MEASUREITEMSTRUCT& item) {
    if (!painter_ || item.CtlType != ODT_MENU || !item.itemData) return false;
    const CPoint size = painter_->measure(*reinterpret_cast<const PopupItem*>(item.itemData));
    item.itemWidth = UINT(size.h > 0 ? size.h : 0);
    item.itemHeight = UINT(size.v > 0 ? size.v : 0);
    return true;
}

bool Win32PopupMenu::drawItem(const DRAWITEMSTRUCT& item) {
    if (!painter_ || item.CtlType != ODT_MENU || !item.itemData) return false;
    const CRect rect(item.rcItem.left, item.rcItem.top, item.rcItem.right, item.rcItem.bottom);
    if (rect.isEmpty()) return true;
    int32_t state = 0;
    if (item.itemState & ODS_CHECKED) state |= kPopupItemChecked;
    if (item.itemState & (ODS_DISABLED | ODS_GRAYED)) state |= kPopupItemDisabled;
    if (item.itemState & ODS_SELECTED) state |= kPopupItemSelected;
    PixelSurface surface(rect.width(), rect.height());
    painter_->draw(*reinterpret_cast<const PopupItem*>(item.itemData), state, surface,
                   CRect(0, 0, rect.width(), rect.height()));
    showPixels(item.hDC, surface, surface.bounds(), rect.topLeft());
    return true;
}

}  // namespace VSTGUI::win32
