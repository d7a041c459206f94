// orv-host edit PLUGIN.so: the plug-in's editor in a window of its own, as a
// DAW shows it: a top-level window whose id goes to effEditOpen, effEditIdle
// about 30 times a second, keys passed on, effEditClose when the window is
// closed (or the program is interrupted).
//
// orv-host screenshot PLUGIN.so OUT.png [--program P] [--click X,Y]: the
// same on the current display without a user, writing the window's pixels
// to a PNG once the editor has painted; with a program chosen first, and
// with a click at a point of the editor (a menu's pop-up is then in the
// picture, and dismissed with Escape afterwards).
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "host/Commands.h"
#include "host/core/HostTuning.h"
#include "host/live/EditorSession.h"
#include "host/render/PngFile.h"

namespace {

// A DAW idles its editors at the screen's pace; 30 a second is enough.
constexpr auto kIdlePeriod = std::chrono::milliseconds(33);
// Idle calls before a screenshot: the first paint comes with the first idle
// after the window is shown; the rest give the editor's redraws time.
constexpr int kScreenshotIdles = 10;

volatile std::sig_atomic_t interrupted = 0;

void onSignal(int) { interrupted = 1; }

// Loads the plug-in and opens its editor in window. Prints why not.
bool openEditor(EditorHost& host, HostWindow& window, const std::string& module, HostWindow::Kind kind) {
    if (!host.load(module)) {
        std::fprintf(stderr, "orv-host: %s\n", host.error().c_str());
        return false;
    }
    std::string title = host.effectName();
    if (title.empty()) title = PluginHost::findModule(module);
    std::string error;
    if (!host.showEditor(window, title, kind, error)) {
        std::fprintf(stderr, "orv-host: %s: %s\n", module.c_str(), error.c_str());
        return false;
    }
    return true;
}

}  // namespace

int runEdit(const Args& args) {
    std::string tuning, keymap;
    const bool tuned = args.size() == 3 && args[1] == "--tuning";
    const bool mapped = args.size() == 5 && args[1] == "--tuning" && args[3] == "--keymap";
    if (args.size() != 1 && !tuned && !mapped) {
        std::fprintf(stderr, "usage: orv-host edit PLUGIN.so [--tuning FILE.scl [--keymap FILE.kbm]]\n");
        return 2;
    }
    if (args.size() >= 3) tuning = args[2];
    if (mapped) keymap = args[4];
    EditorHost host;
    HostWindow window;
    if (!openEditor(host, window, args[0], HostWindow::Kind::kNormal)) return 1;
    if (std::string error; !applyTuning(host, tuning, keymap, error)) {
        std::fprintf(stderr, "orv-host edit: %s\n", error.c_str());
        return 1;
    }
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!interrupted && window.handleEvents(host)) {
        host.dispatch(effEditIdle);
        std::this_thread::sleep_for(kIdlePeriod);
    }
    host.dispatch(effEditClose);
    return 0;
}

namespace {

const char* const kScreenshotUsage =
    "usage: orv-host screenshot PLUGIN.so OUT.png [--program N|NAME] [--click X,Y]\n"
    "  --program P   program number (from 0) or exact program name, chosen first\n"
    "  --click X,Y   click the editor there before the picture (opens a menu)\n";

struct ScreenshotOptions {
    std::string plugin, output, program;
    bool click = false;
    int clickX = 0, clickY = 0;
};

bool parseScreenshot(const Args& args, ScreenshotOptions& o) {
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--program" || a == "--click") {
            if (i + 1 >= args.size()) return false;
            const std::string& v = args[++i];
            if (a == "--program") {
                o.program = v;
            } else {
                char rest = 0;
                if (std::sscanf(v.c_str(), "%d,%d%c", &o.clickX, &o.clickY, &rest) != 2) return false;
                o.click = true;
            }
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) return false;
    o.plugin = positional[0];
    o.output = positional[1];
    return true;
}

// Idles the editor as a DAW does until done is set (or about five seconds
// have passed): a click's pop-up holds the idle call that opened it until
// the user dismisses it.
void idleUntil(EditorHost& host, HostWindow& window, const std::atomic<bool>& done) {
    for (int i = 0; i < 150 && !done; ++i) {
        window.handleEvents(host);
        host.dispatch(effEditIdle);
        std::this_thread::sleep_for(kIdlePeriod);
    }
}

}  // namespace

int runScreenshot(const Args& args) {
    ScreenshotOptions o;
    if (!parseScreenshot(args, o)) {
        std::fprintf(stderr, "%s", kScreenshotUsage);
        return 2;
    }
    EditorHost host;
    HostWindow window;
    if (!openEditor(host, window, o.plugin, HostWindow::Kind::kScreenshot)) return 1;
    std::string error;
    if (!o.program.empty() && !selectProgram(host, o.program, error)) {
        host.dispatch(effEditClose);
        std::fprintf(stderr, "orv-host: %s\n", error.c_str());
        return 1;
    }
    for (int i = 0; i < kScreenshotIdles; ++i) {
        window.handleEvents(host);
        host.dispatch(effEditIdle);
        std::this_thread::sleep_for(kIdlePeriod);
    }
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    bool captured = false;
    if (o.click) {
        // The user clicks, waits for the pop-up, takes the picture and
        // dismisses it, while this thread goes on idling the editor.
        std::atomic<bool> done{false};
        bool usable = true;
        std::thread user([&] {
            ScreenUser screen(window.id());
            usable = screen.ok();
            if (usable) {
                const bool popup = screen.clickAndWaitForPopup(o.clickX, o.clickY);
                captured = screen.capture(rgb, width, height);
                if (popup) screen.pressEscape();
            }
            done = true;
        });
        idleUntil(host, window, done);
        user.join();
        if (!usable) error = "cannot click: no XTest extension on the display";
    } else {
        captured = window.capture(rgb, width, height);
    }
    host.dispatch(effEditClose);
    if (!error.empty()) {
        std::fprintf(stderr, "orv-host: %s\n", error.c_str());
        return 1;
    }
    error = "cannot read the window's pixels";
    if (!captured || !writePng(args[1], rgb, width, height, error)) {
        std::fprintf(stderr, "orv-host: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
