// COptionMenu with a scripted pop-up (fake::Popup plays the user): what the
// listener and the editor hear of a choice or a dismissal, where the pop-up
// is asked to go, how items are numbered across sub-menus, which entries
// cannot be chosen, and the value rules the editor's menu refresh relies on.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/coptionmenu.h"
#include "vstgui/coptionmenuscheme.h"
#include "controlrig.h"

using namespace VSTGUI;

namespace {

constexpr int32_t kTag = 3;
const CRect kMenuRect(20, 30, 120, 45);

class OptionMenu : public ::testing::Test {
protected:
    OptionMenu() {
        rig.context->offsetScreen = CPoint(200, 100);  // the window's top-left on the screen
        menu = rig.add(new COptionMenu(kMenuRect, &rig, kTag));
        for (const char* wave : {"saw", "rec", "tri", "sin", "noise"}) menu->addEntry(wave);
    }

    // A click on the menu with buttons held.
    void click(int32_t buttons = kLButton) {
        rig.press(menu, CPoint(kMenuRect.left + 5, kMenuRect.top + 5), buttons);
    }

    fake::ControlRig rig{CRect(0, 0, 300, 200)};
    fake::Platform& platform = rig.platform;
    CFrame* frame = rig.frame;
    std::vector<std::string>& calls = rig.log;
    COptionMenu* menu;
};

TEST_F(OptionMenu, ChoosingTriSendsTwoFramedByTheEditGesture) {
    platform.popup.choose = "tri";
    click();
    EXPECT_EQ(calls, (std::vector<std::string>{"begin 3", "value 3", "end 3"}))
        << "a value, between begin and end of the edit";
    EXPECT_EQ(rig.values, std::vector<float>{2.0f}) << "the entry's position";
    EXPECT_EQ(menu->getValue(), 2.0f);
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_EQ(menu->getLastResult(), 2);
    EXPECT_EQ(menu->getLastItemMenu(), menu);
    EXPECT_EQ(frame->getFocusView(), nullptr) << "the focus is given back";
    EXPECT_EQ(platform.popup.texts, (std::vector<std::string>{"saw", "rec", "tri", "sin", "noise"}));
    EXPECT_EQ(platform.popup.placement.where, CPoint(200 + 20, 100 + 45)) << "below the control, on the screen";
    EXPECT_EQ(platform.popup.placement.flipBottom, 100 + 30) << "or above it";
    EXPECT_FALSE(platform.popup.placement.rightButton) << "a left click tracks the left button";
}

TEST_F(OptionMenu, ADismissedPopupSendsNothingButEndsTheEdit) {
    menu->setValue(1.f);
    platform.popup.choose = "";
    click();
    EXPECT_EQ(calls, (std::vector<std::string>{"begin 3", "end 3"}));
    EXPECT_EQ(menu->getValue(), 1.f) << "unchanged";
    EXPECT_EQ(menu->getLastResult(), -1);
    EXPECT_EQ(menu->getLastItemMenu(), nullptr);
    EXPECT_EQ(frame->getFocusView(), nullptr);
}

TEST_F(OptionMenu, ARightClickTracksTheRightButtonAndPopupStyleOpensOverTheControl) {
    menu->setStyle(kPopupStyle);
    platform.popup.choose = "sin";
    click(kRButton);
    EXPECT_EQ(platform.popup.shown, 1) << "a right click opens it too";
    EXPECT_TRUE(platform.popup.placement.rightButton);
    EXPECT_EQ(platform.popup.placement.where, CPoint(200 + 20, 100 + 30)) << "over the control";
    EXPECT_EQ(menu->getValue(), 3.f);
    click(kMButton);
    EXPECT_EQ(platform.popup.shown, 1) << "the middle button opens nothing";
}

TEST_F(OptionMenu, AModifierClickIsOfferedToTheListenerFirst) {
    rig.takeModifierClicks = 1;
    click(kLButton | kControl);
    EXPECT_EQ(rig.modifierClicks, std::vector<int32_t>{kLButton | kControl}) << "offered";
    EXPECT_TRUE(calls.empty()) << "taken: nothing else happens";
    EXPECT_EQ(platform.popup.shown, 0);
    rig.takeModifierClicks = 0;
    platform.popup.choose = "rec";
    click(kLButton | kControl);
    EXPECT_EQ(rig.modifierClicks.size(), 2u);
    EXPECT_EQ(calls, (std::vector<std::string>{"begin 3", "value 3", "end 3"})) << "declined: the pop-up opens";
}

TEST_F(OptionMenu, SetValueSelectsByTheIntegerPartAndIgnoresValuesOutsideTheMenu) {
    char text[256] = {};
    menu->setDirty(false);
    menu->setValue(4.7f);
    EXPECT_EQ(menu->getCurrent(text), 4);
    EXPECT_STREQ(text, "noise");
    EXPECT_EQ(menu->getValue(), 4.7f) << "the value is kept as given";
    for (float outside : {5.0f, -1.0f, std::nanf("")}) {
        menu->setDirty(false);
        menu->setValue(outside);
        EXPECT_EQ(menu->getCurrent(), 4) << outside;
        EXPECT_EQ(menu->getValue(), 4.7f) << outside;
        EXPECT_FALSE(menu->isDirty()) << outside << " changes nothing at all";
    }
    menu->setValue(-0.5f);
    EXPECT_EQ(menu->getCurrent(), 0) << "-0.5 truncates to entry 0";
    menu->setDirty(false);
    menu->setValue(-0.5f);
    EXPECT_TRUE(menu->isDirty()) << "marked dirty even when the entry was already current";
}

TEST_F(OptionMenu, PrefixNumbersAreStoredButNotShown) {
    auto* numbered = new COptionMenu(CRect(0, 0, 100, 15), nullptr, 0);
    numbered->setPrefixNumbers(3);
    numbered->addEntry("abc");
    char text[256] = {};
    numbered->getEntry(0, text);
    EXPECT_STREQ(text, "01 abc");
    auto* plain = new COptionMenu(CRect(0, 0, 100, 15), nullptr, 0);
    plain->addEntry("abc");
    PixelSurface a(100, 15), b(100, 15);
    CDrawContext* onA = new CDrawContext(nullptr, &a, nullptr);
    CDrawContext* onB = new CDrawContext(nullptr, &b, nullptr);
    numbered->draw(onA);
    plain->draw(onB);
    int differing = 0, lit = 0;
    for (int32_t y = 0; y < 15; ++y)
        for (int32_t x = 0; x < 100; ++x) {
            differing += a.pixel(x, y) != b.pixel(x, y);
            lit += a.pixel(x, y) != 0;
        }
    EXPECT_GT(lit, 0) << "text was drawn";
    EXPECT_EQ(differing, 0) << "the numbered menu shows abc, exactly as the plain one";
    onA->forget(), onB->forget(), numbered->forget(), plain->forget();
}

TEST_F(OptionMenu, ItemsAreNumberedAcrossSubMenusAndTheChoiceReachesTheSubMenu) {
    auto* sub = new COptionMenu(CRect(), &rig, 7);
    sub->addEntry("x");
    sub->addEntry("y");
    menu->addEntry(sub, "more");  // entry 5
    menu->addEntry("-Ggrey");     // 6
    menu->addEntry("-Ttitle");    // 7
    menu->addEntry("-");          // 8
    menu->addEntry("last");       // 9
    sub->forget();
    platform.popup.choose = "y";
    click();
    EXPECT_EQ(menu->getLastResult(), 10 + 1) << "the sub-menu's items follow all ten of the menu's";
    EXPECT_EQ(menu->getLastItemMenu(), sub);
    EXPECT_EQ(sub->getValue(), 1.f);
    EXPECT_EQ(calls, (std::vector<std::string>{"begin 3", "value 7", "end 3"}))
        << "the listener hears of the sub-menu";

    const PopupMenu& shown = platform.popup.top;
    ASSERT_EQ(shown.items.size(), 10u);
    EXPECT_STREQ(shown.items[5].text, "more") << "markers are not shown";
    EXPECT_FALSE(shown.items[6].isCommand()) << "greyed";
    EXPECT_FALSE(shown.items[7].isCommand()) << "title";
    EXPECT_TRUE(shown.items[8].separator);
    EXPECT_EQ(shown.items[9].command, 9) << "an entry's number is its position";

    calls.clear();
    for (const char* notChoosable : {"grey", "title"}) {
        platform.popup.choose = notChoosable;
        click();
        EXPECT_EQ(menu->getLastResult(), -1) << notChoosable;
    }
    EXPECT_EQ(calls, (std::vector<std::string>{"begin 3", "end 3", "begin 3", "end 3"}));
}

TEST_F(OptionMenu, CheckStylesMarkTheCurrentOrEachCheckedEntry) {
    menu->setStyle(kCheckStyle);
    menu->setCurrent(1);
    click();
    EXPECT_EQ(platform.popup.top.items[1].state, kPopupItemChecked);
    EXPECT_EQ(platform.popup.top.items[0].state, 0);
    menu->setStyle(kMultipleCheckStyle);
    menu->checkEntry(0, true);
    menu->checkEntry(3, true);
    menu->checkEntry(1, false);
    click();
    EXPECT_EQ(platform.popup.top.items[0].state, kPopupItemChecked);
    EXPECT_EQ(platform.popup.top.items[1].state, 0);
    EXPECT_EQ(platform.popup.top.items[3].state, kPopupItemChecked);
}

TEST_F(OptionMenu, ColumnsBreakEveryNItemsBelowOneHundredSixtyEntries) {
    menu->removeAllEntry();
    for (int i = 0; i < 40; ++i) menu->addEntry(("entry " + std::to_string(i)).c_str());
    menu->setNbItemsPerColumn(15);
    click();
    EXPECT_EQ(platform.popup.columnBreaks, 2) << "items 15 and 30 start columns two and three";
    for (int i = 40; i < 160; ++i) menu->addEntry("more");
    click();
    EXPECT_EQ(platform.popup.columnBreaks, 0) << "160 entries: one column";
}

TEST_F(OptionMenu, EntryOperationsKeepTheCurrentEntryAndTheLimits) {
    menu->setCurrent(2);
    menu->addEntry("first", 0);
    EXPECT_EQ(menu->getCurrent(), 3) << "inserting before moves the current entry along";
    EXPECT_EQ(menu->getIndex("first"), 0);
    menu->removeEntry(0);
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_FALSE(menu->removeEntry(5)) << "outside";
    EXPECT_FALSE(menu->setCurrent(5));
    menu->addEntry("-", 1);
    EXPECT_FALSE(menu->setCurrent(1)) << "a separator cannot be current";
    EXPECT_TRUE(menu->setCurrent(1, false)) << "without counting separators, 1 is the next entry";
    EXPECT_EQ(menu->getCurrent(), 2);
    EXPECT_EQ(menu->getCurrent(nullptr, false), 1);
    const std::string longText(300, 'a');
    menu->setEntry(0, longText.c_str());
    char text[256];
    menu->getEntry(0, text);
    EXPECT_EQ(std::string(text).size(), 255u) << "cut to 255 characters";
    menu->removeAllEntry();
    EXPECT_EQ(menu->getCurrent(), -1);
    for (int i = 0; i < 1024; ++i) ASSERT_TRUE(menu->addEntry("x"));
    EXPECT_FALSE(menu->addEntry("one too many"));
    EXPECT_EQ(menu->getNbEntries(), 1024);
}

}  // namespace
