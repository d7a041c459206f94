// PopupLayout: columns for menus taller than the screen, placement where the
// screen leaves no room, and the keyboard's way through the items.
#include <gtest/gtest.h>

#include <algorithm>

#include "vstgui/coptionmenuscheme.h"
#include "vstgui/popuplayout.h"

using namespace VSTGUI;

namespace {

// Every item 40 x 18; sub-menu entries too.
class FixedPainter : public PopupItemPainter {
public:
    CPoint measure(const PopupItem&) override { return CPoint(40, 18); }
    void draw(const PopupItem&, int32_t, PixelSurface&, const CRect&) override {}
    void drawBackground(PixelSurface&, const CRect&) override {}
};

PopupMenu menuOf(int items, int perColumn) {
    PopupMenu menu;
    for (int i = 0; i < items; ++i) {
        PopupItem item;
        item.text = "x";
        item.command = i;
        item.columnBreak = perColumn > 0 && i > 0 && i % perColumn == 0;
        menu.items.push_back(item);
    }
    return menu;
}

constexpr int32_t kB = PopupLayout::kBorder;
const CRect kScreen(0, 0, 1280, 1024);

TEST(PopupLayout, AMenuTallerThanTheScreenContinuesInANewColumn) {
    FixedPainter painter;
    const PopupLayout layout(menuOf(100, 0), painter, 1024);
    const int32_t perColumn = (1024 - 2 * kB) / 18;  // 56
    EXPECT_EQ(layout.columns(), 2);
    EXPECT_EQ(layout.item(size_t(perColumn)).top, kB) << "the first item that would not fit starts column 2";
    EXPECT_LE(layout.size().v, 1024);
}

// Where it fits below, and near the bottom or right edge: x11popup_test.
TEST(PopupLayout, APopupWithoutRoomAboveOrTallerThanTheScreenStartsAtItsTop) {
    EXPECT_EQ(placePopup(CPoint(100, 200), {CPoint(300, 900), 150, false}, kScreen), CPoint(300, 0))
        << "no room below nor above the control";
    EXPECT_EQ(placePopup(CPoint(100, 2000), {CPoint(300, 400), 385, false}, kScreen).v, 0);
}

TEST(PopupLayout, ASubMenuOpensBesideItsEntryOrLeftWhenTheRightIsFull) {
    const CPoint size(100, 60);
    const CRect parent(500, 300, 600, 500);
    const CRect entry(501, 337, 599, 355);
    EXPECT_EQ(placeSubMenu(size, entry, parent, kScreen), CPoint(600, 336)) << "right, first item level";
    const CRect atRight(1150, 300, 1250, 500);
    EXPECT_EQ(placeSubMenu(size, CRect(1151, 337, 1249, 355), atRight, kScreen), CPoint(1050, 336))
        << "to the left of the parent";
    EXPECT_EQ(placeSubMenu(size, CRect(501, 1000, 599, 1018), parent, kScreen).v, 1024 - 60) << "bottom edge";
}

TEST(PopupLayout, TheLongestEntriesTextEndsWellInsideItsColumn) {
    // The modulation menus' longest entries, drawn as the editor draws them.
    const char* texts[] = {"osc1/2 fm", "osc1/2 pw", "lfo2 rate", "1/16T", "LP 24dB"};
    PopupMenu menu;
    for (const char* text : texts) {
        PopupItem item;
        item.text = text;
        item.command = int32_t(menu.items.size());
        menu.items.push_back(item);
    }
    auto* scheme = new COptionMenuScheme;
    scheme->setColors(kBlackCColor, kBlackCColor, kWhiteCColor, kWhiteCColor, kWhiteCColor);
    SchemePainter painter(scheme);
    scheme->forget();
    const PopupLayout layout(menu, painter);
    PixelSurface surface(layout.size().h, layout.size().v);
    drawPopupLevel(menu, layout, -1, painter, surface);
    for (size_t i = 0; i < layout.count(); ++i) {
        const CRect& item = layout.item(i);
        int32_t lastInk = -1;
        for (int32_t y = item.top; y < item.bottom; ++y)
            for (int32_t x = item.left; x < item.right; ++x)
                if (surface.pixel(x, y) != 0) lastInk = std::max(lastInk, x);
        ASSERT_GE(lastInk, item.left) << texts[i] << " is drawn";
        EXPECT_LE(lastInk, item.right - 1 - PopupLayout::kRightMargin / 2)
            << texts[i] << ": its last pixel keeps a margin from the column's edge";
    }
}

TEST(PopupLayout, KeysSkipWhatCannotBeChosenAndWrap) {
    PopupMenu menu = menuOf(5, 0);
    menu.items[0].state = kPopupItemDisabled;  // a title
    menu.items[2].separator = true;
    menu.items[4].state = kPopupItemDisabled;  // greyed
    EXPECT_EQ(nextSelectable(menu, -1, +1), 1) << "Down from nothing: the first choosable";
    EXPECT_EQ(nextSelectable(menu, 1, +1), 3) << "over the separator";
    EXPECT_EQ(nextSelectable(menu, 3, +1), 1) << "wraps over the greyed end and the title";
    EXPECT_EQ(nextSelectable(menu, -1, -1), 3) << "Up from nothing: the last choosable";
    EXPECT_EQ(nextSelectable(PopupMenu{}, -1, +1), -1) << "an empty menu has none";
}

}  // namespace
