// PopupLayout: where the items of one pop-up level lie, and where a level
// goes on the screen. Platform-free, so that every platform that draws its
// own pop-up places and arranges it alike.
//
// A level is a one-pixel border around columns of items. Items stack down a
// column until an item marked columnBreak starts the next column (or the
// column would grow taller than the screen allows); a column
// is as wide as its widest item plus a margin, and the level as tall as its
// tallest column.
//
// Border and margin are those pixels at 100 %: a painter drawing at a
// larger scale (PopupItemPainter::scale) gets them scaled as its items.
//
// Placement keeps a level wholly on the screen: a pop-up that does not fit
// below its anchor goes above it, one near the right edge moves left; a
// sub-menu opens to the right of its entry, or to the left of its parent
// when the right has no room.
#pragma once

#include <cstdint>
#include <climits>
#include <vector>

#include "vstgui/crect.h"
#include "vstgui/pixelsurface.h"
#include "vstgui/platform.h"

namespace VSTGUI {

class PopupLayout {
public:
    static constexpr int32_t kBorder = 1;
    // Room right of every item's measured width, as the desktop gives its
    // owner-drawn menu items (the width of its check mark): text never
    // touches the border, and sub-menu entries draw their arrow there.
    static constexpr int32_t kRightMargin = 12;

    PopupLayout() = default;
    // Measures every item of menu with painter; no level grows taller than
    // maxHeight unless a single item is.
    PopupLayout(const PopupMenu& menu, PopupItemPainter& painter, int32_t maxHeight = INT32_MAX);

    // The level's width and height, border included.
    CPoint size() const { return size_; }
    // The border's width and the room right of the items, in pixels.
    int32_t border() const { return border_; }
    int32_t rightMargin() const { return rightMargin_; }
    // Item i's rectangle in the level's own coordinates.
    const CRect& item(size_t i) const { return items_[i]; }
    size_t count() const { return items_.size(); }
    int32_t columns() const { return columns_; }
    // The item at point (level coordinates), or -1.
    int32_t itemAt(const CPoint& point) const;

private:
    std::vector<CRect> items_;
    CPoint size_;
    int32_t columns_ = 0;
    int32_t border_ = kBorder;
    int32_t rightMargin_ = kRightMargin;
};

// The top-left of a level of size: placement.where when it fits, then
// moved to stay inside screen.
CPoint placePopup(const CPoint& size, const PopupPlacement& placement, const CRect& screen);
// The top-left of a sub-menu of size opened from the entry at entry (screen
// coordinates) of the level at parent (screen coordinates); border is the
// sub-menu's own (PopupLayout::border).
CPoint placeSubMenu(const CPoint& size, const CRect& entry, const CRect& parent, const CRect& screen,
                    int32_t border = PopupLayout::kBorder);

// The next item of menu from item from (exclusive) in direction step (+1 or
// -1) that the keyboard may select, wrapping around; -1 when none. from -1
// starts before the first item (step +1) or after the last (step -1).
int32_t nextSelectable(const PopupMenu& menu, int32_t from, int32_t step);

// Draws a whole level into surface (of layout's size): the background, each
// item (item selected as kPopupItemSelected), an arrow on sub-menu entries
// and the border, the last two in a colour that reads on the background.
void drawPopupLevel(const PopupMenu& menu, const PopupLayout& layout, int32_t selected,
                    PopupItemPainter& painter, PixelSurface& surface);

}  // namespace VSTGUI
