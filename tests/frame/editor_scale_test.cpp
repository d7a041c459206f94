// Ambrell's editor at a scale other than 100 %, through the built module on
// Xvfb with real X input: the window is the panel times the scale, and a
// user's gestures at the scaled places do what the same gestures do on the
// unscaled panel. Where the scale comes from: the saved choice, else the
// host's, else the desktop's Xft.dpi.
#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstdio>
#include <fstream>
#include <functional>
#include <string>
#include <thread>

#include <sys/stat.h>

#include "support/ModuleHost.h"
#include "xhost.h"
#include "support/PrivateConfigHome.h"

// Last: Xlib's macros (None) would break the headers above.
#include <X11/Xatom.h>
#include <X11/Xlib.h>

namespace {

// Unscaled rectangles of the controls used here (the editor's layout).
struct Box {
    int left, top, right, bottom;
};
constexpr Box kCutoff{157, 175, 197, 215};     // parameter 16
constexpr Box kResonance{211, 175, 251, 215};  // parameter 17
constexpr Box kOsc1Wave{197, 80, 230, 95};     // parameter 3, 5 entries

// Runs with a settings folder of its own, so no player's choice applies
// unless a test writes one, and no host scale unless a test gives one.
class EditorScale : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
        ASSERT_TRUE(config.ok()) << "a settings folder of the test's own";
        unsetenv("AMBRELL_EDITOR_SCALE");
    }
    void TearDown() override {
        unsetenv("AMBRELL_EDITOR_SCALE");
    }
    // The editor's rectangle as a freshly loaded module answers it.
    std::pair<int, int> editorSize() {
        ModuleHost fresh;
        EXPECT_TRUE(fresh.load(ORV_MODULE_PATH)) << fresh.error();
        ERect* rect = nullptr;
        fresh.dispatch(effEditGetRect, 0, 0, &rect);
        if (!rect) return {0, 0};
        return {rect->right - rect->left, rect->bottom - rect->top};
    }
    void saveChoice(const std::string& line) {
        const std::string folder = config.path() + "/ambrell";
        mkdir(folder.c_str(), 0700);
        std::ofstream(folder + "/settings") << line << "\n";
    }

    XHost x;
    PrivateConfigHome config;
};

// The desktop's resources as xrdb leaves them, for one test.
class DesktopResources {
public:
    explicit DesktopResources(const char* text) : display_(XOpenDisplay(nullptr)) {
        if (!display_) return;
        const Atom property = XInternAtom(display_, "RESOURCE_MANAGER", False);
        XChangeProperty(display_, DefaultRootWindow(display_), property, XA_STRING, 8, PropModeReplace,
                        reinterpret_cast<const unsigned char*>(text), int(std::string(text).size()));
        XSync(display_, False);
    }
    ~DesktopResources() {
        if (!display_) return;
        XDeleteProperty(display_, DefaultRootWindow(display_), XInternAtom(display_, "RESOURCE_MANAGER", False));
        XCloseDisplay(display_);
    }

private:
    Display* display_;
};

TEST_F(EditorScale, TheSizeComesFromTheChoiceThenTheHostThenTheDesktop) {
    EXPECT_EQ(editorSize(), std::make_pair(600, 500)) << "nothing says otherwise: 100 %";
    {
        DesktopResources desktop("Xft.antialias:\t1\nXft.dpi:\t192\n");
        EXPECT_EQ(editorSize(), std::make_pair(1200, 1000)) << "Xft.dpi 192 is twice 96";
        setenv("AMBRELL_EDITOR_SCALE", "150", 1);
        EXPECT_EQ(editorSize(), std::make_pair(900, 750)) << "the host's scale before the desktop's";
        saveChoice("editor-size = 125");
        EXPECT_EQ(editorSize(), std::make_pair(750, 625)) << "the player's choice before both";
        saveChoice("editor-size = 130");
        EXPECT_EQ(editorSize(), std::make_pair(900, 750)) << "a size not offered is no choice";
    }
    unsetenv("AMBRELL_EDITOR_SCALE");
    {
        DesktopResources desktop("Xft.dpi: 110\n");
        EXPECT_EQ(editorSize(), std::make_pair(750, 625)) << "110 dpi is nearest to 125 %";
    }
}

// The same user at 200 %: every position and distance twice as large.
class EditorAtTwice : public EditorScale {
protected:
    static constexpr int kScale = 2;
    void SetUp() override {
        EditorScale::SetUp();
        setenv("AMBRELL_EDITOR_SCALE", "200", 1);
        ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
        parent = x.topLevel(0, 0, 600 * kScale, 500 * kScale);
        ASSERT_EQ(host.dispatch(effEditOpen, 0, 0, XHost::handle(parent)), 1);
        const auto children = x.children(parent);
        ASSERT_EQ(children.size(), 1u);
        ASSERT_TRUE(x.geometry(children[0], window));
        for (int i = 0; i < 20; ++i) {
            host.dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        }
    }
    void TearDown() override {
        host.dispatch(effEditClose);
        EditorScale::TearDown();
    }
    void userActs(const std::function<void(XHost&)>& act) {
        userActsWhileIdling(act, [&] {
            host.dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(10));
        });
        for (int i = 0; i < 3; ++i) host.dispatch(effEditIdle);
    }
    static int at(double unscaled) { return int(std::lround(unscaled * kScale)); }

    ModuleHost host;
    WindowId parent = 0;
    ScreenArea window;
};

TEST_F(EditorAtTwice, AWindowOfTwiceThePanel) {
    EXPECT_EQ(window.width, 1200);
    EXPECT_EQ(window.height, 1000);
}

TEST_F(EditorAtTwice, ACutoffDragIsTheUnscaledGestureTwiceAsLarge) {
    host.clearRequests();
    const double midX = (kCutoff.left + kCutoff.right) / 2.0, midY = (kCutoff.top + kCutoff.bottom) / 2.0;
    userActs([&](XHost& hand) {
        hand.moveTo(at(midX), at(kCutoff.top + 2));
        hand.button(1, true);
        for (int step = 0; step <= 10; ++step) {
            const double a = M_PI / 2 - step * (M_PI / 2) / 10;  // top to right
            hand.moveTo(at(midX + 18 * std::cos(a)), at(midY - 18 * std::sin(a)));
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
        }
        hand.button(1, false);
    });
    const auto r = host.editRequests(16);
    ASSERT_GE(r.size(), 3u);
    EXPECT_EQ(r.front().opcode, audioMasterBeginEdit);
    EXPECT_EQ(r.back().opcode, audioMasterEndEdit);
    EXPECT_GE(std::count_if(r.begin(), r.end(), [](auto& q) { return q.opcode == audioMasterAutomate; }), 2);
    EXPECT_NEAR(host.getParameter(16), 0.5f + 1.f / 3.f, 0.03f) << "as at 100 %: the pointer at the right";
}

TEST_F(EditorAtTwice, AWheelNotchIsOneTenthAndAMenuOpensUnderItsBox) {
    ASSERT_EQ(host.getParameter(17), 0.f);
    userActs([&](XHost& hand) {
        hand.moveTo(at((kResonance.left + kResonance.right) / 2.0), at((kResonance.top + kResonance.bottom) / 2.0));
        hand.button(4, true);
        hand.button(4, false);
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    });
    EXPECT_NEAR(host.getParameter(17), 0.1f, 1e-6f) << "one wheel notch up";

    userActs([&](XHost& hand) {
        hand.moveTo(at((kOsc1Wave.left + kOsc1Wave.right) / 2.0), at((kOsc1Wave.top + kOsc1Wave.bottom) / 2.0));
        hand.button(1, true);
        hand.button(1, false);
        std::vector<VSTGUI::CRect> popups;
        for (int i = 0; i < 100 && popups.empty(); ++i) {
            std::this_thread::sleep_for(std::chrono::milliseconds(20));
            popups = hand.popups(parent);
        }
        ASSERT_EQ(popups.size(), 1u) << "the menu popped up";
        std::this_thread::sleep_for(std::chrono::milliseconds(200));  // its first paint
        const VSTGUI::CRect& a = popups[0];
        EXPECT_NEAR(a.left, at(kOsc1Wave.left), 2) << "under the box's left edge";
        EXPECT_NEAR(a.top, at(kOsc1Wave.bottom), 2) << "and its bottom";
        EXPECT_EQ(a.height(), (5 * 18 + 2) * kScale) << "five rows and the border at the editor's size";
        const int item = a.height() / 5;
        hand.moveTo(a.left + a.width() / 2, a.top + 2 * item + item / 2);
        hand.button(1, true);
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        hand.button(1, false);
    });
    EXPECT_EQ(host.getParameter(3), 2.f) << "the third entry chosen";
}

}  // namespace
