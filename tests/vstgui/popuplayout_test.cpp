// PopupLayout: columns of items, and pop-ups kept on the screen.
#include <gtest/gtest.h>

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

TEST(PopupLayout, FortyItemsFifteenToAColumnMakeThreeColumns) {
    FixedPainter painter;
    const PopupLayout layout(menuOf(40, 15), painter);
    EXPECT_EQ(layout.columns(), 3);
    EXPECT_EQ(layout.size(), CPoint(3 * 40 + 2 * kB, 15 * 18 + 2 * kB)) << "as tall as a full column";
    EXPECT_EQ(layout.item(15), CRect(kB + 40, kB, kB + 80, kB + 18)) << "item 15 tops the second column";
    EXPECT_EQ(layout.item(39).left, kB + 80) << "the last in the third";
    EXPECT_EQ(layout.itemAt(CPoint(kB + 85, kB + 18 * 9 + 1)), 39) << "hit test: column 3, row 10";
    EXPECT_EQ(layout.itemAt(CPoint(kB + 85, kB + 18 * 10 + 1)), -1) << "below the short column: nothing";
}

TEST(PopupLayout, AColumnWithASubMenuEntryLeavesRoomForTheArrow) {
    FixedPainter painter;
    PopupMenu menu = menuOf(3, 0);
    menu.items[1].subMenu = 0;
    menu.subMenus.push_back(menuOf(2, 0));
    const PopupLayout layout(menu, painter);
    EXPECT_EQ(layout.item(0).width(), 40 + PopupLayout::kArrowSpace);
}

TEST(PopupLayout, APopupStaysOnTheScreen) {
    const CPoint size(100, 200);
    EXPECT_EQ(placePopup(size, {CPoint(300, 400), 385, false}, kScreen), CPoint(300, 400)) << "fits below";
    EXPECT_EQ(placePopup(size, {CPoint(300, 900), 885, false}, kScreen), CPoint(300, 685))
        << "near the bottom: above the control, its bottom at flipBottom";
    EXPECT_EQ(placePopup(size, {CPoint(1250, 400), 385, false}, kScreen), CPoint(1180, 400))
        << "near the right edge: moved left until it fits";
    EXPECT_EQ(placePopup(size, {CPoint(300, 900), 150, false}, kScreen), CPoint(300, 0))
        << "no room above either: kept on the screen";
    EXPECT_EQ(placePopup(CPoint(100, 2000), {CPoint(300, 400), 385, false}, kScreen).v, 0)
        << "taller than the screen: from its top";
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
