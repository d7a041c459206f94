// orv-host edit PLUGIN.so: the plug-in's editor in a window of its own, as a
// DAW shows it: a top-level window whose id goes to effEditOpen, effEditIdle
// about 30 times a second, keys passed on, effEditClose when the window is
// closed (or the program is interrupted).
//
// orv-host screenshot PLUGIN.so OUT.png: the same on the current display
// without a user, writing the window's pixels to a PNG once the editor has
// painted.
#include <chrono>
#include <csignal>
#include <cstdio>
#include <thread>

#include "host/Commands.h"
#include "host/EditorSession.h"
#include "host/PngFile.h"

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
    if (args.size() != 1) {
        std::fprintf(stderr, "usage: orv-host edit PLUGIN.so\n");
        return 2;
    }
    EditorHost host;
    HostWindow window;
    if (!openEditor(host, window, args[0], HostWindow::Kind::kNormal)) return 1;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!interrupted && window.handleEvents(host)) {
        host.dispatch(effEditIdle);
        std::this_thread::sleep_for(kIdlePeriod);
    }
    host.dispatch(effEditClose);
    return 0;
}

int runScreenshot(const Args& args) {
    if (args.size() != 2) {
        std::fprintf(stderr, "usage: orv-host screenshot PLUGIN.so OUT.png\n");
        return 2;
    }
    EditorHost host;
    HostWindow window;
    if (!openEditor(host, window, args[0], HostWindow::Kind::kScreenshot)) return 1;
    for (int i = 0; i < kScreenshotIdles; ++i) {
        window.handleEvents(host);
        host.dispatch(effEditIdle);
        std::this_thread::sleep_for(kIdlePeriod);
    }
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    const bool captured = window.capture(rgb, width, height);
    host.dispatch(effEditClose);
    std::string error = "cannot read the window's pixels";
    if (!captured || !writePng(args[1], rgb, width, height, error)) {
        std::fprintf(stderr, "orv-host: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
