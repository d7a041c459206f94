// The option menus' pop-up on a real X server (Xvfb): the frame window's
// PlatformPopup, driven by a user on another connection through XTest
// while the GUI thread waits in track, as it would inside a click.
#include <gtest/gtest.h>

#include <X11/Xutil.h>

#include <algorithm>
#include <atomic>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "vstgui/coptionmenu.h"
#include "vstgui/coptionmenuscheme.h"
#include "vstgui/popuplayout.h"
#include "vstgui/x11/x11popupmenu.h"
#include "vstgui/x11/x11windowsystem.h"
#include "xhost.h"

using namespace VSTGUI;

namespace {

constexpr int kHostX = 100;
constexpr int kHostY = 80;
constexpr CColor kSelection{150, 100, 40, 255};  // the editor's menu colours
constexpr CColor kText{100, 100, 100, 255};

// The pop-up's windows come and go while the user's connection looks at
// them: a window gone between two requests is no error.
int ignoreError(Display*, XErrorEvent*) { return 0; }

std::vector<CRect> popups(XHost& x, Window host) { return x.popups(host); }

// The pop-up holds the pointer and the keyboard once nobody else can grab
// them: only then do the user's moves and keys reach it.
bool grabbedElsewhere(XHost& hand) {
    const Window root = DefaultRootWindow(hand.display());
    const int pointer = XGrabPointer(hand.display(), root, False, 0, GrabModeAsync, GrabModeAsync, None, None,
                                     CurrentTime);
    const int keyboard = XGrabKeyboard(hand.display(), root, False, GrabModeAsync, GrabModeAsync, CurrentTime);
    if (pointer == GrabSuccess) XUngrabPointer(hand.display(), CurrentTime);
    if (keyboard == GrabSuccess) XUngrabKeyboard(hand.display(), CurrentTime);
    XSync(hand.display(), False);
    return pointer == AlreadyGrabbed && keyboard == AlreadyGrabbed;
}

PopupMenu menuOf(std::vector<const char*> texts, int perColumn = 0) {
    PopupMenu menu;
    for (size_t i = 0; i < texts.size(); ++i) {
        PopupItem item;
        item.text = texts[i];
        item.command = int32_t(i);
        if (texts[i][0] == '-' && texts[i][1] == 0) item.separator = true, item.command = -1;
        if (texts[i][0] == '-' && (texts[i][1] == 'G' || texts[i][1] == 'T'))
            item.text += 2, item.state = kPopupItemDisabled, item.command = -1;
        item.columnBreak = perColumn > 0 && i > 0 && i % size_t(perColumn) == 0;
        menu.items.push_back(item);
    }
    return menu;
}

class X11Popup : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
        previousHandler = XSetErrorHandler(ignoreError);
        screen = CRect(0, 0, DisplayWidth(x.display(), DefaultScreen(x.display())),
                       DisplayHeight(x.display(), DefaultScreen(x.display())));
        scheme->setColors(kBlackCColor, kSelection, kText, kWhiteCColor, CColor{60, 60, 60, 255});
        open(kHostX, kHostY);
    }
    void TearDown() override {
        frame->forget();
        XDestroyWindow(x.display(), host);
        XSync(x.display(), False);
        scheme->forget();
        XSetErrorHandler(previousHandler);
    }
    void open(int hostX, int hostY) {
        host = x.topLevel(hostX, hostY, 300, 200);
        frame = new CFrame(CRect(0, 0, 300, 200), XHost::handle(host), nullptr, x11::windowSystem());
        ASSERT_NE(frame->getPlatformPopup(), nullptr) << "the X11 frame window offers pop-ups";
    }

    // Runs gui (which opens a pop-up and waits in it) while act plays the
    // user, on a thread and a connection of its own, with the pop-up's
    // windows once they show and hold the pointer. A menu still open after
    // act is closed with Escape, so no test hangs.
    void userWhile(std::function<void()> gui, std::function<void(XHost&, std::vector<CRect>&)> act) {
        std::atomic<bool> acted{false};
        std::thread user([&] {
            XHost hand;
            std::vector<CRect> shown;
            if (waitFor([&] { return !(shown = popups(hand, host)).empty(); }) &&
                waitFor([&] { return grabbedElsewhere(hand); }))
                act(hand, shown);
            acted = true;
            // A menu still open is closed, so that a missed gesture fails
            // the test instead of holding it: Escape, else a click away from
            // it (the pointer is always grabbed).
            if (!waitFor([&] { return popups(hand, host).empty(); })) {
                hand.key(XK_Escape, true), hand.key(XK_Escape, false);
                if (!waitFor([&] { return popups(hand, host).empty(); })) {
                    hand.moveTo(1, 1);
                    hand.button(1, true), hand.button(1, false);
                }
            }
        });
        gui();
        user.join();
        EXPECT_TRUE(acted);
    }
    // Tracks menu at placement, drawn by with (else the fixture's painter),
    // while act plays the user.
    int32_t trackWhile(const PopupMenu& menu, const PopupPlacement& placement,
                       std::function<void(XHost&, std::vector<CRect>&)> act, PopupItemPainter* with = nullptr) {
        int32_t result = -2;
        userWhile([&] { result = frame->getPlatformPopup()->track(menu, placement, with ? *with : painter); }, act);
        return result;
    }

    XHost x;
    XErrorHandler previousHandler = nullptr;
    CRect screen;
    Window host = None;
    CFrame* frame = nullptr;
    COptionMenuScheme* scheme = new COptionMenuScheme;
    SchemePainter painter{scheme};
    const std::vector<const char*> waves{"saw", "rec", "tri", "sin", "noise"};
    const PopupPlacement below{CPoint(kHostX + 50, kHostY + 55), kHostY + 40, false};
};

// The centre of item i (one column of 18-pixel items) of a pop-up at r.
CPoint itemCentre(const CRect& r, int i) {
    return CPoint(r.left + r.width() / 2, r.top + PopupLayout::kBorder + 18 * i + 9);
}

void click(XHost& hand, const CPoint& p, unsigned button = 1) {
    hand.moveTo(p.h, p.v);
    hand.button(button, true);
    hand.button(button, false);
}

TEST_F(X11Popup, AClickOnTheThirdItemChoosesItAndTheItemUnderThePointerIsSelected) {
    CRect at;
    uint32_t under = 0;
    const int32_t chosen = trackWhile(menuOf(waves), below, [&](XHost& hand, std::vector<CRect>& shown) {
        at = shown[0];
        const CPoint third = itemCentre(at, 2);
        hand.moveTo(third.h, third.v);
        waitFor([&] { return (under = hand.pixel(DefaultRootWindow(hand.display()), at.left + 2, third.v)) ==
                             toPixel(kSelection); });
        click(hand, third);
    });
    EXPECT_EQ(chosen, 2) << "the third item's command";
    EXPECT_EQ(at.topLeft(), below.where) << "top-left at the placement: it fits below";
    EXPECT_EQ(under, toPixel(kSelection)) << "the item under the pointer is drawn selected";
    EXPECT_TRUE(popups(x, host).empty()) << "the pop-up is gone";
}

TEST_F(X11Popup, EscapeOrAPressOutsideDismissesIt) {
    EXPECT_EQ(trackWhile(menuOf(waves), below, [](XHost& hand, std::vector<CRect>&) {
                  hand.key(XK_Escape, true);
                  hand.key(XK_Escape, false);
              }),
              -1)
        << "Escape";
    EXPECT_EQ(trackWhile(menuOf(waves), below, [](XHost& hand, std::vector<CRect>&) { click(hand, CPoint(5, 5)); }),
              -1)
        << "a click elsewhere on the screen";
    EXPECT_TRUE(popups(x, host).empty());
}

TEST_F(X11Popup, GreyedTitleAndSeparatorItemsCannotBeChosen) {
    const PopupMenu menu = menuOf({"-Ttitle", "a", "-", "-Ggrey", "b"});
    EXPECT_EQ(trackWhile(menu, below,
                         [](XHost& hand, std::vector<CRect>& shown) {
                             for (int i : {0, 2, 3}) click(hand, itemCentre(shown[0], i));
                             hand.key(XK_Escape, true), hand.key(XK_Escape, false);
                         }),
              -1)
        << "clicks on the title, the separator and the greyed item choose nothing";
    EXPECT_EQ(trackWhile(menu, below,
                         [](XHost& hand, std::vector<CRect>&) {
                             for (KeySym k : {XK_Down, XK_Down, XK_Return}) hand.key(k, true), hand.key(k, false);
                         }),
              4)
        << "Down, Down, Return: past the title to a, past the separator and greyed item to b";
}

TEST_F(X11Popup, APressDragReleaseChooses) {
    // The press that opened the menu is still held when it shows.
    x.moveTo(below.where.h + 5, below.where.v - 8);
    x.button(1, true);
    const int32_t chosen = trackWhile(menuOf(waves), below, [](XHost& hand, std::vector<CRect>& shown) {
        const CPoint fourth = itemCentre(shown[0], 3);
        hand.moveTo(fourth.h, fourth.v - 4);
        hand.moveTo(fourth.h, fourth.v);
        hand.button(1, false);
    });
    EXPECT_EQ(chosen, 3);
}

TEST_F(X11Popup, TheRightButtonChoosesOnlyWhenThePopupTracksIt) {
    PopupPlacement right = below;
    right.rightButton = true;
    EXPECT_EQ(trackWhile(menuOf(waves), right,
                         [](XHost& hand, std::vector<CRect>& shown) { click(hand, itemCentre(shown[0], 1), 3); }),
              1)
        << "opened by a right click: the right button chooses";
    EXPECT_EQ(trackWhile(menuOf(waves), below,
                         [](XHost& hand, std::vector<CRect>& shown) {
                             click(hand, itemCentre(shown[0], 1), 3);
                             click(hand, itemCentre(shown[0], 4), 1);
                         }),
              4)
        << "opened by a left click: the right button chooses nothing, the left does";
}

TEST_F(X11Popup, ASubMenuOpensBesideItsEntry) {
    PopupMenu menu = menuOf({"a", "more", "b"});
    menu.items[1].command = -1;
    menu.items[1].subMenu = 0;
    menu.subMenus.push_back(menuOf({"x", "y"}));
    menu.subMenus[0].items[0].command = 3, menu.subMenus[0].items[1].command = 4;
    std::vector<CRect> levels;
    const int32_t chosen = trackWhile(menu, below, [&](XHost& hand, std::vector<CRect>& shown) {
        const CPoint entry = itemCentre(shown[0], 1);
        hand.moveTo(entry.h, entry.v);
        waitFor([&] { return (levels = popups(hand, host)).size() == 2; });
        if (levels.size() == 2) click(hand, itemCentre(levels[1], 1));
    });
    ASSERT_EQ(levels.size(), 2u) << "pointing at the entry opens its sub-menu";
    EXPECT_EQ(levels[1].left, levels[0].right) << "at the menu's right edge";
    EXPECT_EQ(levels[1].top, levels[0].top + 18) << "its first item level with the entry";
    EXPECT_EQ(chosen, 4) << "the sub-menu's second item";
}

TEST_F(X11Popup, NearTheBottomRightCornerItStaysOnTheScreen) {
    const PopupPlacement corner{CPoint(screen.right - 20, screen.bottom - 10), screen.bottom - 25, true};
    CRect at;
    trackWhile(menuOf(waves), corner, [&](XHost& hand, std::vector<CRect>& shown) {
        at = shown[0];
        hand.key(XK_Escape, true), hand.key(XK_Escape, false);
    });
    EXPECT_EQ(at.bottom, corner.flipBottom) << "above the control: it does not fit below";
    EXPECT_EQ(at.right, screen.right) << "moved left to the screen's edge";
    EXPECT_EQ(at.height(), 5 * 18 + 2) << "whole";
}

TEST_F(X11Popup, FortyItemsFifteenToAColumnShowInThreeColumns) {
    std::vector<std::string> names;
    for (int i = 1; i <= 40; ++i) names.push_back("entry " + std::to_string(i));
    std::vector<const char*> texts;
    int32_t widest[3] = {};
    for (size_t i = 0; i < names.size(); ++i) {
        texts.push_back(names[i].c_str());
        PopupItem item;
        item.text = texts.back();
        widest[i / 15] = std::max(widest[i / 15], painter.measure(item).h);
    }
    CRect at;
    trackWhile(menuOf(texts, 15), below, [&](XHost& hand, std::vector<CRect>& shown) {
        at = shown[0];
        hand.key(XK_Escape, true), hand.key(XK_Escape, false);
    });
    EXPECT_EQ(at.width(), widest[0] + widest[1] + widest[2] + 3 * PopupLayout::kRightMargin + 2)
        << "three columns side by side";
    EXPECT_EQ(at.height(), 15 * 18 + 2) << "fifteen items tall";
}

// Whether any 2 x 2 block of a picture `width` wide has two colours: a
// picture enlarged from half its size has none.
bool hasFinerDetailThanTwoPixelBlocks(const std::vector<uint32_t>& picture, int width) {
    const int height = int(picture.size()) / width;
    for (int y = 0; y + 1 < height; y += 2)
        for (int x = 0; x + 1 < width; x += 2) {
            const uint32_t p = picture[size_t(y * width + x)];
            if (picture[size_t(y * width + x + 1)] != p || picture[size_t((y + 1) * width + x)] != p ||
                picture[size_t((y + 1) * width + x + 1)] != p)
                return true;
        }
    return false;
}

TEST_F(X11Popup, AtTwiceTheSizeItsRowsAreTwiceAsTallAndItsTextIsRenderedAtThatSize) {
    SchemePainter twice{scheme, 200};
    struct Shown {
        CRect at;
        std::vector<uint32_t> firstRow;  // inside the border
        int32_t chosen = -2;
    } one, two;
    auto show = [&](PopupItemPainter& with, int factor, Shown& shown) {
        const int border = PopupLayout::kBorder * factor, row = 18 * factor;
        shown.chosen = trackWhile(menuOf(waves), below, [&](XHost& hand, std::vector<CRect>& levels) {
            const CRect& at = shown.at = levels[0];
            const ScreenArea firstRow{int(at.left) + border, int(at.top) + border, int(at.width()) - 2 * border, row};
            waitFor([&] {
                shown.firstRow = hand.pixels(hand.root(), firstRow);
                return std::count(shown.firstRow.begin(), shown.firstRow.end(), toPixel(kText)) > 0;
            });
            click(hand, CPoint(at.left + at.width() / 2, at.top + border + 2 * row + row / 2));
        }, &with);
    };
    show(painter, 1, one);
    show(twice, 2, two);
    EXPECT_EQ(one.chosen, 2);
    EXPECT_EQ(two.chosen, 2) << "the third row, where it lies at twice the size";
    EXPECT_EQ(two.at.topLeft(), below.where) << "placed as given: the frame scales the placement";
    EXPECT_EQ(two.at.height(), 2 * one.at.height()) << "rows and border twice as tall";
    EXPECT_NEAR(two.at.width(), 2 * one.at.width(), 2) << "text, indent and margin twice as wide";

    auto ink = [](const std::vector<uint32_t>& row) {
        return std::count_if(row.begin(), row.end(), [](uint32_t p) { return p != toPixel(kBlackCColor); });
    };
    ASSERT_GT(ink(one.firstRow), 20) << "the first entry's text shows";
    EXPECT_NEAR(double(ink(two.firstRow)) / double(ink(one.firstRow)), 4.0, 1.2)
        << "text covering four times the pixels";
    EXPECT_TRUE(hasFinerDetailThanTwoPixelBlocks(two.firstRow, int(two.at.width()) - 4))
        << "drawn by the font at the larger size, not enlarged";
}

// --- an option menu in the frame

class Chosen : public CControlListener {
public:
    void valueChanged(CDrawContext*, CControl* control) override { values.push_back(control->getValue()); }
    std::vector<float> values;
};

TEST_F(X11Popup, AClickOnAMenuOpensItsPopupAndAClickOnTheThirdItemChoosesIt) {
    Chosen listener;
    auto* menu = new COptionMenu(CRect(50, 40, 100, 55), &listener, 3);
    menu->setScheme(scheme);
    for (const char* wave : waves) menu->addEntry(wave);
    frame->addView(menu);
    ASSERT_TRUE(idleUntil(frame, [] { return true; }));
    CRect at;
    userWhile(
        [&] {
            x.moveTo(kHostX + 60, kHostY + 45);
            click(x, CPoint(kHostX + 60, kHostY + 45));
            idleUntil(frame, [&] { return !listener.values.empty(); });
        },
        [&](XHost& hand, std::vector<CRect>& shown) {
            at = shown[0];
            click(hand, itemCentre(at, 2));
        });
    EXPECT_EQ(at.topLeft(), CPoint(kHostX + 50, kHostY + 55)) << "below the menu";
    EXPECT_EQ(listener.values, std::vector<float>{2.f}) << "the third entry";
    EXPECT_EQ(menu->getCurrent(), 2);

    userWhile(
        [&] {
            click(x, CPoint(kHostX + 60, kHostY + 45));
            idleUntil(frame, [&] { return menu->getLastResult() == -1; });
        },
        [](XHost& hand, std::vector<CRect>&) { hand.key(XK_Escape, true), hand.key(XK_Escape, false); });
    EXPECT_EQ(listener.values.size(), 1u) << "Escape dismissed it: nothing sent";
    EXPECT_EQ(menu->getCurrent(), 2) << "nothing changed";
    EXPECT_TRUE(popups(x, host).empty());
}

}  // namespace
