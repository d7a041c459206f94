// The panel's own controls through the built module on Xvfb, played with
// real X input as a host's user would: the program readout with its steps
// and pop-up, the panel menu on the background with the knob behaviour it
// keeps per user, and oscillator 1's two knobs.
#include <gtest/gtest.h>

#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <sstream>
#include <thread>

#include "support/ModuleHost.h"
#include "xhost.h"
#include "support/PrivateConfigHome.h"

namespace {

using std::chrono::milliseconds;

// The readout at the panel's foot and its step buttons, 18 pixels each.
constexpr int kReadoutLeft = 200, kReadoutRight = 432, kReadoutMidY = 482;
constexpr int kStepBackX = kReadoutLeft + 9, kStepForwardX = kReadoutRight - 9;
constexpr int kBackgroundX = 300, kBackgroundY = 440;  // bare panel under the maker's name
constexpr int kPrograms = 20;
// Menu items are 18 pixels high, separators too.
constexpr int kItem = 18, kSeparator = 18;
// The panel menu: two knob choices, a gap, the programs, the tunings, two
// oscillator modes, the sizes, a gap, about.
constexpr int kPanelMenuHeight = 8 * kItem + 2 * kSeparator;
constexpr int kOscillatorsClassic = 5, kOscillatorsClean = 6;

// A host that lets the editor resize its window, or (by default) cannot.
class SizingHost : public ModuleHost {
public:
    bool acceptsSize = false;

protected:
    VstIntPtr onRequest(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                        float opt) override {
        const VstIntPtr answer = ModuleHost::onRequest(effect, opcode, index, value, ptr, opt);  // recorded
        if (opcode == audioMasterCanDo && ptr && std::strcmp(static_cast<const char*>(ptr), "sizeWindow") == 0)
            return acceptsSize ? 1 : -1;
        if (opcode == audioMasterSizeWindow) return acceptsSize ? 1 : 0;
        return answer;
    }
};

class EditorPanel : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(config.ok()) << "a settings folder of the test's own";
        ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
        ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
        parent = x.topLevel(0, 0, 600, 500);
        open();
    }
    void TearDown() override {
        host.dispatch(effEditClose);
    }
    void open() {
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1);
        for (int i = 0; i < 30; ++i) idle();  // the first paint
    }
    void idle(int times = 1) {
        for (int i = 0; i < times; ++i) {
            host.dispatch(effEditIdle);
            std::this_thread::sleep_for(milliseconds(10));
        }
    }
    // The user acts on a connection of their own while this thread idles
    // the editor as a host does (a pop-up or a drag holds the idle call).
    void userActs(const std::function<void(XHost&)>& act) {
        userActsWhileIdling(act, [&] { idle(); });
        idle(3);
    }
    static void click(XHost& hand, int x, int y, unsigned button = 1) {
        hand.moveTo(x, y);
        hand.button(button, true);
        std::this_thread::sleep_for(milliseconds(100));
        hand.button(button, false);
        std::this_thread::sleep_for(milliseconds(50));
    }
    // The top-level window that appears after a click, or 0 within a second.
    static WindowId newPopup(XHost& hand, const std::vector<WindowId>& before) {
        for (int i = 0; i < 50; ++i) {
            std::this_thread::sleep_for(milliseconds(20));
            for (WindowId w : hand.children(hand.root())) {
                ScreenArea a;
                bool shown = false;
                if (std::find(before.begin(), before.end(), w) == before.end() && hand.geometry(w, a, &shown) && shown)
                    return w;
            }
        }
        return 0;
    }
    // Clicks at (x, y) with button and, when a pop-up of contentHeight
    // pixels (plus its border) opens, clicks the item whose top is at
    // itemTop inside it; dismisses it with a click outside when itemTop < 0.
    bool clickIntoPopup(int x, int y, unsigned button, int contentHeight, int itemTop) {
        bool opened = false;
        userActs([&](XHost& hand) {
            const auto before = hand.children(hand.root());
            click(hand, x, y, button);
            const WindowId popup = newPopup(hand, before);
            if (!popup) return;
            opened = true;
            ScreenArea a;
            hand.geometry(popup, a);
            const int border = (a.height - contentHeight) / 2;
            if (itemTop >= 0) click(hand, a.x + a.width / 2, a.y + border + itemTop + kItem / 2);
            dismiss(hand, popup);
        });
        return opened;
    }
    // A pop-up still open after a missed item holds the host's idle call for
    // good: a click far off closes it.
    static void dismiss(XHost& hand, WindowId popup) {
        std::this_thread::sleep_for(milliseconds(100));
        ScreenArea a;
        bool shown = false;
        if (hand.geometry(popup, a, &shown) && shown) click(hand, 1000, 1000);
    }
    bool choosePanelItem(int item) {
        const int tops[] = {0, kItem, -1, 2 * kItem + kSeparator, 3 * kItem + kSeparator, 4 * kItem + kSeparator,
                            5 * kItem + kSeparator, 6 * kItem + kSeparator, -1, 7 * kItem + 2 * kSeparator};
        return clickIntoPopup(kBackgroundX, kBackgroundY, 3, kPanelMenuHeight, tops[item]);
    }
    // Opens the panel menu, then its sub-menu whose item starts itemTop
    // pixels down, and clicks entry (from 0) of its count; answers the panel
    // menu's height. extraLines: information lines the menu shows besides.
    int chooseInSubMenu(int itemTop, int count, int entry, int extraLines = 0) {
        int menuHeight = 0;
        userActs([&](XHost& hand) {
            const auto before = hand.children(hand.root());
            click(hand, kBackgroundX, kBackgroundY, 3);
            const WindowId menu = newPopup(hand, before);
            ASSERT_NE(menu, 0u);
            ScreenArea a;
            hand.geometry(menu, a);
            menuHeight = a.height;
            const int border = (a.height - kPanelMenuHeight - extraLines * kItem) / 2;
            const auto withMenu = hand.children(hand.root());
            click(hand, a.x + a.width / 2, a.y + border + itemTop + kItem / 2);
            const WindowId sub = newPopup(hand, withMenu);
            ASSERT_NE(sub, 0u) << "the sub-menu opens beside it";
            hand.geometry(sub, a);
            const int inner = (a.height - count * kItem) / 2;
            click(hand, a.x + a.width / 2, a.y + inner + entry * kItem + kItem / 2);
            dismiss(hand, menu);
        });
        return menuHeight;
    }
    // Entry 0 is 100 %.
    int chooseSize(int entry, int extraLines = 0) {
        return chooseInSubMenu(6 * kItem + kSeparator, 7, entry, extraLines);
    }
    ScreenArea editorWindow() {
        ScreenArea a;
        const auto children = x.children(parent);
        if (children.size() == 1) x.geometry(children[0], a);
        return a;
    }
    // Presses on the knob of (left, top, size) and drags straight up.
    void dragUp(int left, int top, int size, int pixels) {
        userActs([&](XHost& hand) {
            const int x0 = left + size / 2, y0 = top + size / 4;
            hand.moveTo(x0, y0);
            hand.button(1, true);
            for (int step = 1; step <= 10; ++step) {
                hand.moveTo(x0, y0 - pixels * step / 10);
                std::this_thread::sleep_for(milliseconds(20));
            }
            hand.button(1, false);
        });
    }
    std::string settingsFile() const {
        std::ifstream in(config.path() + "/ambrell/settings");
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }
    int program() { return int(host.dispatch(effGetProgram)); }

    PrivateConfigHome config;
    XHost x;
    SizingHost host;
    WindowId parent = 0;
};

TEST_F(EditorPanel, TheReadoutChoosesProgramsAsTheHostWouldAndTellsIt) {
    ASSERT_EQ(program(), 0);
    host.clearRequests();
    ASSERT_TRUE(clickIntoPopup(316, kReadoutMidY, 1, kPrograms * kItem, 4 * kItem)) << "the programs pop up";
    EXPECT_EQ(program(), 4) << "the fifth entry";
    EXPECT_EQ(host.countRequests(audioMasterUpdateDisplay), 1) << "the host's list follows";

    host.clearRequests();
    userActs([&](XHost& hand) { click(hand, kStepForwardX, kReadoutMidY); });
    EXPECT_EQ(program(), 5) << "a step forward";
    host.dispatch(effSetProgram, 0, kPrograms - 1);
    userActs([&](XHost& hand) { click(hand, kStepForwardX, kReadoutMidY); });
    EXPECT_EQ(program(), 0) << "past the last program: the first";
    userActs([&](XHost& hand) { click(hand, kStepBackX, kReadoutMidY); });
    EXPECT_EQ(program(), kPrograms - 1) << "before the first: the last";
    EXPECT_EQ(host.countRequests(audioMasterUpdateDisplay), 3) << "each step tells the host";
    EXPECT_TRUE(host.editRequests().empty()) << "a program is no parameter gesture";
}

TEST_F(EditorPanel, AHostsProgramChangeShowsInTheReadoutAtTheNextIdle) {
    auto readout = [&] {
        std::vector<uint32_t> out;
        for (int py = kReadoutMidY - 8; py < kReadoutMidY + 8; ++py)
            for (int px = kReadoutLeft + 20; px < kReadoutRight - 20; ++px) out.push_back(x.pixel(parent, px, py));
        return out;
    };
    const auto first = readout();
    host.dispatch(effSetProgram, 0, 7);
    host.dispatch(effEditIdle);
    std::this_thread::sleep_for(milliseconds(100));  // the editor's own connection shows it
    EXPECT_NE(readout(), first);
}

TEST_F(EditorPanel, ARightClickOnTheBackgroundOpensThePanelMenuAndOnAControlNothing) {
    EXPECT_TRUE(clickIntoPopup(kBackgroundX, kBackgroundY, 3, kPanelMenuHeight, -1));
    EXPECT_FALSE(clickIntoPopup(177, 195, 3, 0, -1)) << "the cutoff knob";
    EXPECT_FALSE(clickIntoPopup(kBackgroundX, kBackgroundY, 1, 0, -1)) << "a left click on the background";
}

TEST_F(EditorPanel, VerticalKnobsChosenInThePanelMenuRaiseAKnobDraggedUpAndLastAcrossAReopen) {
    constexpr int kCutoffLeft = 157, kCutoffTop = 175;
    // Circular, pressing above the centre and going up means the middle.
    host.setParameter(16, 0.8f);
    dragUp(kCutoffLeft, kCutoffTop, 40, 20);
    EXPECT_NEAR(host.getParameter(16), 0.5f, 0.05f) << "circular by default";

    ASSERT_TRUE(choosePanelItem(1)) << "knobs: vertical drag";
    EXPECT_NE(settingsFile().find("knobs = vertical"), std::string::npos) << settingsFile();
    host.setParameter(16, 0.8f);
    dragUp(kCutoffLeft, kCutoffTop, 40, 20);
    const float raised = host.getParameter(16);
    EXPECT_GT(raised, 0.8f) << "straight up raises the value";

    host.dispatch(effEditClose);
    open();
    host.setParameter(16, 0.8f);
    dragUp(kCutoffLeft, kCutoffTop, 40, 20);
    EXPECT_NEAR(host.getParameter(16), raised, 1e-6f) << "still vertical after a reopen";

    ASSERT_TRUE(choosePanelItem(0)) << "back to the host's way";
    EXPECT_NE(settingsFile().find("knobs = circular"), std::string::npos);
}

TEST_F(EditorPanel, ThePanelMenuChoosesProgramsFromItsSubMenu) {
    host.clearRequests();
    chooseInSubMenu(2 * kItem + kSeparator, kPrograms, 2);  // "Program", the third
    EXPECT_EQ(program(), 2);
    EXPECT_EQ(host.countRequests(audioMasterUpdateDisplay), 1);
}

// The tunings are the .scl files of $XDG_DATA_HOME/ambrell/tunings after
// the standard tuning; the one chosen is saved with the bank.
TEST_F(EditorPanel, ThePanelMenuChoosesATuningFromTheTuningFolder) {
    const std::string folder = config.path() + "/tunings";
    std::filesystem::create_directories(folder + "/ambrell/tunings");
    std::ofstream(folder + "/ambrell/tunings/nineteen.scl") << "nineteen equal steps\n1\n63.157895\n";
    setenv("XDG_DATA_HOME", folder.c_str(), 1);
    const auto bankSize = [&] { return host.getChunk(false).size(); };
    ASSERT_EQ(bankSize(), 24400u);
    chooseInSubMenu(3 * kItem + kSeparator, 2, 1);  // "Tuning", after the standard one
    unsetenv("XDG_DATA_HOME");
    EXPECT_GT(bankSize(), 24400u) << "the tuning travels with the bank";
}

TEST_F(EditorPanel, OscillatorOnesPulseWidthAndFmKnobsAreAutomatedGestures) {
    constexpr int kKnobs[][3] = {{189, 104, 4}, {217, 104, 5}};  // left, top, parameter; 26 x 26
    for (const auto& k : kKnobs) {
        host.setParameter(k[2], 0.f);
        host.clearRequests();
        dragUp(k[0], k[1], 26, 10);  // circular: above the centre is the middle
        const auto r = host.editRequests(k[2]);
        ASSERT_GE(r.size(), 3u) << "parameter " << k[2];
        EXPECT_EQ(r.front().opcode, audioMasterBeginEdit);
        EXPECT_EQ(r[1].opcode, audioMasterAutomate);
        EXPECT_EQ(r.back().opcode, audioMasterEndEdit);
        EXPECT_NEAR(host.getParameter(k[2]), 0.5f, 0.05f);
    }
}

// Per instance, so saved with the bank rather than in the player's settings.
TEST_F(EditorPanel, ThePanelMenuSwitchesTheOscillatorModeOfThisInstance) {
    const auto saved = [&] {
        const std::vector<unsigned char> bank = host.getChunk(false);
        return std::string(bank.begin() + std::min<std::size_t>(bank.size(), 24400), bank.end());
    };
    EXPECT_EQ(saved(), "") << "classic: the bank's records alone";
    ASSERT_TRUE(choosePanelItem(kOscillatorsClean));
    EXPECT_NE(saved().find("clean"), std::string::npos) << "clean travels with the bank";
    EXPECT_EQ(settingsFile().find("clean"), std::string::npos) << "not a player's setting";
    ASSERT_TRUE(choosePanelItem(kOscillatorsClassic));
    EXPECT_EQ(saved(), "") << "back to classic";
}

TEST_F(EditorPanel, AnOpenMenuMarksItsCurrentEntry) {
    host.setParameter(3, 2.f);  // oscillator 1's wave: "tri" of five
    idle(2);
    std::vector<uint32_t> marks;  // where each item shows its mark, left of its text
    userActs([&](XHost& hand) {
        const auto before = hand.children(hand.root());
        click(hand, 213, 87);
        const WindowId popup = newPopup(hand, before);
        ASSERT_NE(popup, 0u);
        std::this_thread::sleep_for(milliseconds(200));  // its first paint
        ScreenArea a;
        hand.geometry(popup, a);
        const int border = (a.height - 5 * kItem) / 2;
        for (int item = 0; item < 5; ++item) marks.push_back(hand.pixel(popup, border + 10, border + item * kItem + 8));
        click(hand, 1000, 1000);
    });
    ASSERT_EQ(marks.size(), 5u);
    for (size_t item : {1, 3, 4}) EXPECT_EQ(marks[item], marks[0]) << "item " << item << " is not marked";
    EXPECT_NE(marks[2], marks[0]) << "the current entry, the third, is";
}

}  // namespace

namespace {

TEST_F(EditorPanel, AnEditorSizeTheHostRefusesShowsAtTheNextOpenAndTheMenuSaysSo) {
    const int menuHeight = chooseSize(4);  // 200 %
    EXPECT_NE(settingsFile().find("editor-size = 200"), std::string::npos) << settingsFile();
    EXPECT_EQ(host.countRequests(audioMasterSizeWindow), 0) << "a host that cannot resize is not asked";
    EXPECT_EQ(editorWindow().width, 600) << "the window stays as it is";
    EXPECT_EQ(chooseSize(4, 1), menuHeight + kItem) << "the panel menu has one line more, saying why";

    host.dispatch(effEditClose);
    open();
    EXPECT_EQ(editorWindow().width, 1200) << "the next open is at 200 %";
    EXPECT_EQ(editorWindow().height, 1000);
}

TEST_F(EditorPanel, AnEditorSizeTheHostAcceptsResizesTheOpenEditor) {
    host.acceptsSize = true;
    chooseSize(2);  // 150 %
    idle(5);
    const auto sized = host.requests();
    const auto request = std::find_if(sized.begin(), sized.end(),
                                      [](const HostRequest& r) { return r.opcode == audioMasterSizeWindow; });
    ASSERT_NE(request, sized.end()) << "the host is asked";
    EXPECT_EQ(request->index, 900);
    EXPECT_EQ(request->value, 750);
    EXPECT_EQ(editorWindow().width, 900) << "and the editor is at 150 % at once";
    EXPECT_EQ(editorWindow().height, 750);
}

}  // namespace
