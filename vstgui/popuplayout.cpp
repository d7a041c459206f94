#include "vstgui/popuplayout.h"

#include <algorithm>

#include "vstgui/viewscale.h"

namespace VSTGUI {

PopupLayout::PopupLayout(const PopupMenu& menu, PopupItemPainter& painter, int32_t maxHeight)
    : border_(std::max(1, toPixels(kBorder, painter.scale()))),
      rightMargin_(toPixels(kRightMargin, painter.scale())) {
    items_.reserve(menu.items.size());
    int32_t x = border_, y = border_, bottom = border_;
    size_t columnStart = 0;
    // Gives the finished column [columnStart, end) its common width; answers
    // its right edge.
    auto closeColumn = [&](size_t end) {
        int32_t width = 0;
        for (size_t i = columnStart; i < end; ++i) width = std::max(width, items_[i].width());
        width += rightMargin_;
        for (size_t i = columnStart; i < end; ++i) items_[i].right = items_[i].left + width;
        ++columns_;
        return x + width;
    };
    for (size_t i = 0; i < menu.items.size(); ++i) {
        const CPoint measured = painter.measure(menu.items[i]);
        const CPoint itemSize(std::max(measured.h, 0), std::max(measured.v, 0));
        const bool full = int64_t(y) + itemSize.v + border_ > maxHeight;
        if ((menu.items[i].columnBreak || full) && i > columnStart) {
            x = closeColumn(i);
            columnStart = i;
            y = border_;
        }
        items_.emplace_back(x, y, x + itemSize.h, y + itemSize.v);
        y += itemSize.v;
        bottom = std::max(bottom, y);
    }
    const int32_t right = items_.empty() ? x : closeColumn(items_.size());
    size_ = CPoint(right + border_, bottom + border_);
}

int32_t PopupLayout::itemAt(const CPoint& point) const {
    for (size_t i = 0; i < items_.size(); ++i)
        if (items_[i].pointInside(point)) return int32_t(i);
    return -1;
}

namespace {

// A colour that reads on background: halfway to black or to white.
Pixel inkOn(Pixel background) {
    const int r = int(background >> 16) & 0xFF, g = int(background >> 8) & 0xFF, b = int(background) & 0xFF;
    const bool light = r * 3 + g * 6 + b > 10 * 128;  // luma, weights 0.3, 0.6, 0.1
    const int target = light ? 0 : 255;
    auto mix = [&](int c) { return Pixel((c + target) / 2); };
    return (mix(r) << 16) | (mix(g) << 8) | mix(b);
}

// start moved so that [start, start + length) lies in [low, high), or at low
// when it cannot.
int32_t fitInto(int32_t start, int32_t length, int32_t low, int32_t high) {
    return std::max(low, std::min(start, high - length));
}

}  // namespace

CPoint placePopup(const CPoint& size, const PopupPlacement& placement, const CRect& screen) {
    int32_t y = placement.where.v;
    if (y + size.v > screen.bottom) y = placement.flipBottom - size.v;
    return CPoint(fitInto(placement.where.h, size.h, screen.left, screen.right),
                  fitInto(y, size.v, screen.top, screen.bottom));
}

CPoint placeSubMenu(const CPoint& size, const CRect& entry, const CRect& parent, const CRect& screen,
                    int32_t border) {
    int32_t x = parent.right;
    if (x + size.h > screen.right) x = parent.left - size.h;
    // Its first item level with the entry.
    return CPoint(fitInto(x, size.h, screen.left, screen.right),
                  fitInto(entry.top - border, size.v, screen.top, screen.bottom));
}

int32_t nextSelectable(const PopupMenu& menu, int32_t from, int32_t step) {
    const int32_t n = int32_t(menu.items.size());
    if (n == 0) return -1;
    int32_t i = from;
    if (i < 0 || i >= n) i = step > 0 ? -1 : n;
    for (int32_t tries = 0; tries < n; ++tries) {
        i = ((i + step) % n + n) % n;
        if (menu.items[size_t(i)].isSelectable()) return i;
    }
    return -1;
}

void drawPopupLevel(const PopupMenu& menu, const PopupLayout& layout, int32_t selected,
                    PopupItemPainter& painter, PixelSurface& surface) {
    const CPoint size = layout.size();
    surface.resetClip();
    painter.drawBackground(surface, CRect(0, 0, size.h, size.v));
    for (size_t i = 0; i < layout.count() && i < menu.items.size(); ++i) {
        const PopupItem& item = menu.items[i];
        const CRect& rect = layout.item(i);
        surface.setClip(rect);
        painter.draw(item, item.state | (int32_t(i) == selected ? kPopupItemSelected : 0), surface, rect);
        if (item.subMenu >= 0) {
            // A small triangle pointing right, 7 pixels tall at 100 %: its
            // columns shrink by one pixel at each end.
            const Pixel ink = inkOn(surface.pixel(rect.right - 2, rect.top + rect.height() / 2));
            const int32_t columns = std::max(1, toPixels(4, painter.scale()));
            const int32_t x = rect.right - layout.rightMargin() + toPixels(4, painter.scale());
            const int32_t y = rect.top + rect.height() / 2;
            for (int32_t dx = 0; dx < columns; ++dx)
                surface.line(CPoint(x + dx, y - (columns - 1) + dx), CPoint(x + dx, y + columns - dx), ink);
        }
    }
    surface.resetClip();
    const int32_t b = layout.border();
    const Pixel border = inkOn(surface.pixel(size.h / 2, b));
    surface.fill(CRect(0, 0, size.h, b), border);
    surface.fill(CRect(0, size.v - b, size.h, size.v), border);
    surface.fill(CRect(0, 0, b, size.v), border);
    surface.fill(CRect(size.h - b, 0, size.h, size.v), border);
    surface.takeDamage();
}

}  // namespace VSTGUI
