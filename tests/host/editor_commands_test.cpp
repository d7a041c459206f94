// orv-host edit and screenshot, run as a user runs them, on Xvfb.
#include <gtest/gtest.h>
#include <png.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

#include "editor/ControlLayout.h"
#include "frame/xhost.h"
#include "vstgui/cbitmap.h"

extern char** environ;

namespace {

struct Picture {
    int width = 0;
    int height = 0;
    std::vector<uint8_t> rgb;
};

bool readPng(const std::string& path, Picture& picture) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path.c_str())) return false;
    image.format = PNG_FORMAT_RGB;
    picture.width = int(image.width);
    picture.height = int(image.height);
    picture.rgb.resize(PNG_IMAGE_SIZE(image));
    return png_image_finish_read(&image, nullptr, picture.rgb.data(), 0, nullptr) != 0;
}

// Unloading the module orphans the state of the font libraries it was the
// only user of; that is theirs, not a leak of ours (the editor's own leaks
// are checked in-process by frame_editor_module_test).
const std::string kQuietLeaks = "ASAN_OPTIONS=detect_leaks=0";

int run(const std::string& command) {
    const int status = std::system((kQuietLeaks + " " + command).c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

const std::string kHost = ORV_HOST_PATH;
const std::string kModule = ORV_MODULE_PATH;

TEST(OrvHostScreenshot, WritesTheEditorsPixelsAsA600By500Png) {
    const std::string out = testing::TempDir() + "orv_screenshot.png";
    std::remove(out.c_str());
    ASSERT_EQ(run(kHost + " screenshot " + kModule + " " + out), 0) << "the command succeeds";
    Picture picture;
    ASSERT_TRUE(readPng(out, picture)) << "a PNG file";
    ASSERT_EQ(picture.width, 600);
    ASSERT_EQ(picture.height, 500);
    VSTGUI::CBitmap background(128);
    const VSTGUI::PixelSurface* expected = background.getImage();
    ASSERT_NE(expected, nullptr);
    // Controls and the readout lie over the panel; everywhere else the
    // picture is the panel's.
    auto covered = [](int x, int y) {
        for (const layout::Control& c : layout::kControls)
            if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) return true;
        return x >= layout::kReadoutLeft && x < layout::kReadoutRight && y >= layout::kReadoutTop &&
               y < layout::kReadoutBottom;
    };
    int differing = 0, compared = 0;
    for (int y = 0; y < 500; ++y)
        for (int x = 0; x < 600; ++x) {
            if (covered(x, y)) continue;
            const uint8_t* p = &picture.rgb[(size_t(y) * 600 + size_t(x)) * 3];
            const uint32_t rgb = (uint32_t(p[0]) << 16) | (uint32_t(p[1]) << 8) | p[2];
            differing += rgb != expected->pixel(x, y);
            ++compared;
        }
    EXPECT_GT(compared, 600 * 500 / 2);
    EXPECT_EQ(differing, 0) << "every pixel around the controls is the panel's";
}

TEST(OrvHostScreenshot, ClickingAMenuPutsItsPopupInThePicture) {
    const std::string plain = testing::TempDir() + "orv_plain.png", open = testing::TempDir() + "orv_menu.png";
    ASSERT_EQ(run(kHost + " screenshot " + kModule + " " + plain), 0);
    // The osc 1 wave menu spans (197, 80) to (230, 95); its pop-up opens below.
    ASSERT_EQ(run(kHost + " screenshot " + kModule + " " + open + " --click 213,87"), 0);
    Picture before, after;
    ASSERT_TRUE(readPng(plain, before));
    ASSERT_TRUE(readPng(open, after));
    int changedBelow = 0;
    for (int y = 100; y < 150; ++y)
        for (int x = 200; x < 230; ++x) {
            const size_t i = (size_t(y) * 600 + size_t(x)) * 3;
            changedBelow += std::memcmp(&before.rgb[i], &after.rgb[i], 3) != 0;
        }
    EXPECT_GT(changedBelow, 30 * 50 / 2) << "the pop-up covers the panel below the menu";
}

TEST(OrvHostScreenshot, OpensOnTheStateEditTakesWithOptionsBeforeOrAfterTheFiles) {
    const std::string dir = testing::TempDir(), closed = dir + "orv_cutoff0.png", open = dir + "orv_cutoff1.png";
    std::remove((dir + "100").c_str());
    // Options first: the picture goes to OUT.png, never to a file named
    // after an option's value.
    ASSERT_EQ(run("cd " + dir + " && " + kHost + " screenshot --scale 100 --set 16=0 " + kModule + " " + closed), 0);
    ASSERT_EQ(run(kHost + " screenshot " + kModule + " " + open + " --set 16=1"), 0);
    EXPECT_NE(access((dir + "100").c_str(), F_OK), 0) << "no file named after --scale's value";
    Picture low, high;
    ASSERT_TRUE(readPng(closed, low));
    ASSERT_TRUE(readPng(open, high));
    const layout::Control& cutoff = layout::kControls[layout::controlIndexOfTag(16)];
    int changed = 0;
    for (int y = cutoff.top; y < cutoff.bottom; ++y)
        for (int x = cutoff.left; x < cutoff.right; ++x) {
            const size_t i = (size_t(y) * 600 + size_t(x)) * 3;
            changed += std::memcmp(&low.rgb[i], &high.rgb[i], 3) != 0;
        }
    EXPECT_GT(changed, 20) << "the CUTOFF knob shows the value --set gave it";
}

TEST(OrvHostScreenshot, ReportsWhatItCannotDo) {
    const std::string out = testing::TempDir() + "orv_no_display.png";
    EXPECT_EQ(run("DISPLAY= " + kHost + " screenshot " + kModule + " " + out + " 2>/dev/null"), 1)
        << "no display";
    EXPECT_NE(access(out.c_str(), F_OK), 0) << "and no file";
    EXPECT_EQ(run(kHost + " screenshot " + kModule + " 2>/dev/null"), 2) << "a missing argument";
    EXPECT_EQ(run(kHost + " screenshot /nonexistent.so " + out + " 2>/dev/null"), 1) << "no module";
    EXPECT_EQ(run(kHost + " screenshot " + kModule + " " + out + " --click 3 2>/dev/null"), 2) << "a click needs X,Y";
    EXPECT_EQ(run(kHost + " screenshot " + kModule + " " + out + " --set nonsense 2>/dev/null"), 2) << "--set needs NAME=VALUE";
    EXPECT_EQ(run(kHost + " screenshot " + kModule + " " + out + " --program 'No Such' 2>/dev/null"), 1)
        << "an unknown program";
    EXPECT_NE(access(out.c_str(), F_OK), 0) << "and no file";
}

// Starts orv-host edit with arguments; its window, or 0.
WindowId startEdit(XHost& x, const std::vector<std::string>& arguments, pid_t& pid) {
    std::vector<char*> argv{const_cast<char*>(kHost.c_str()), const_cast<char*>("edit")};
    for (const std::string& a : arguments) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    std::vector<char*> environment{const_cast<char*>(kQuietLeaks.c_str())};  // found first
    for (char** e = environ; *e; ++e) environment.push_back(*e);
    environment.push_back(nullptr);
    if (posix_spawn(&pid, kHost.c_str(), nullptr, nullptr, argv.data(), environment.data()) != 0) return 0;
    WindowId window = 0;
    for (int i = 0; i < 300 && !window; ++i) {
        window = x.findTopLevel("Ambrell - ORV");
        if (!window) std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    return window;
}

// Closes window as a window manager asks; the exit status of pid.
int closeEdit(XHost& x, WindowId window, pid_t pid) {
    x.askToClose(window);
    int status = -1;
    for (int i = 0; i < 300 && waitpid(pid, &status, WNOHANG) == 0; ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    if (!WIFEXITED(status)) kill(pid, SIGKILL), waitpid(pid, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// The line preset load lists for parameter `name` of a program file.
std::string listed(const std::string& file, const std::string& name) {
    const std::string out = testing::TempDir() + "orv_edit_listing.txt";
    run(kHost + " preset load " + kModule + " " + file + " >" + out);
    FILE* f = std::fopen(out.c_str(), "r");
    char line[256];
    std::string found;
    while (f && std::fgets(line, sizeof line, f))
        if (std::strstr(line, (" " + name + " ").c_str())) found = line;
    if (f) std::fclose(f);
    return found;
}

TEST(OrvHostEdit, ClosesTheEditorWhenTheWindowIsClosed) {
    XHost x;
    ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
    pid_t pid = 0;
    const WindowId window = startEdit(x, {kModule}, pid);
    ASSERT_NE(window, 0u) << "a window titled with the plug-in's name";
    EXPECT_EQ(closeEdit(x, window, pid), 0) << "it closed and exited cleanly";
}

TEST(OrvHostEdit, SavesWhatThePlayerEditedWhenTheWindowCloses) {
    XHost x;
    ASSERT_TRUE(x.ok()) << "an X server (DISPLAY) with XTest";
    const std::string factory = testing::TempDir() + "orv_edit_factory.fxp";
    const std::string edited = testing::TempDir() + "orv_edit_saved.fxp";
    std::remove(edited.c_str());
    ASSERT_EQ(run(kHost + " preset save " + kModule + " " + factory + " --program 'Acid Bass'"), 0);
    pid_t pid = 0;
    const WindowId window =
        startEdit(x, {kModule, "--program", "Acid Bass", "--set", "resonance=50%", "--save", edited}, pid);
    ASSERT_NE(window, 0u);
    EXPECT_NE(access(edited.c_str(), F_OK), 0) << "nothing is written before the window closes";
    // Two wheel notches down over the cutoff knob.
    const int row = layout::controlIndexOfTag(16);
    ASSERT_GE(row, 0);
    const layout::Control& cutoff = layout::kControls[row];
    // The editor's own window inside the host's takes the wheel.
    for (int i = 0; i < 300 && x.children(window).empty(); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    std::this_thread::sleep_for(std::chrono::milliseconds(200));
    ScreenArea at;
    ASSERT_TRUE(x.geometry(window, at));
    x.moveTo(at.x + (cutoff.left + cutoff.right) / 2, at.y + (cutoff.top + cutoff.bottom) / 2);
    for (int notch = 0; notch < 2; ++notch) {
        x.button(5, true);
        x.button(5, false);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(300));
    ASSERT_EQ(closeEdit(x, window, pid), 0);

    EXPECT_NE(listed(edited, "CUTOFF"), "") << "the program file is written";
    EXPECT_NE(listed(edited, "CUTOFF"), listed(factory, "CUTOFF")) << "with the wheel's edit";
    EXPECT_NE(listed(edited, "RESONANCE").find("(50.0 %)"), std::string::npos) << "and the setting";
    EXPECT_EQ(listed(edited, "ATTACK"), listed(factory, "ATTACK")) << "of the program chosen";
}

}  // namespace
