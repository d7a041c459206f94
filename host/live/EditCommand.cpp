// orv-host edit PLUGIN.so: the plug-in's editor in a window of its own, as a
// DAW shows it: a top-level window whose id goes to effEditOpen, effEditIdle
// about 30 times a second, keys passed on, effEditClose when the window is
// closed (or the program is interrupted). It opens on a preset, a program
// and settings when given, and can write the edited program or bank on
// close.
//
// orv-host screenshot PLUGIN.so OUT.png [...]: the same on the current
// display without a user, writing the window's pixels to a PNG once the
// editor has painted; it opens on the state edit takes, and may click (left
// or right) at a point of the editor first (a menu's pop-up is then in the
// picture, and dismissed with Escape afterwards).
//
// Both take --scale: the editor's size in percent, handed to the plug-in
// through the environment (the plug-in interface has no call for it).
#include <atomic>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "host/Commands.h"
#include "host/core/CommandLine.h"
#include "host/core/HostState.h"
#include "host/core/HostTuning.h"
#include "host/core/ParameterSetting.h"
#include "host/core/PluginPreset.h"
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

// Opens the loaded plug-in's editor in window. Prints why not.
bool openEditor(EditorHost& host, HostWindow& window, const std::string& module, HostWindow::Kind kind) {
    std::string title = host.effectName();
    if (title.empty()) title = PluginHost::findModule(module);
    std::string error;
    if (!host.showEditor(window, title, kind, error)) {
        std::fprintf(stderr, "orv-host: %s: %s\n", module.c_str(), error.c_str());
        return false;
    }
    return true;
}

// The editor sizes the plug-in offers, in percent.
constexpr int kScaleSteps[] = {100, 125, 150, 175, 200, 250, 300};

// Hands scale (a percentage of kScaleSteps) to the plug-in loaded next;
// false when it is not one of them.
bool offerScale(const std::string& scale) {
    char* end = nullptr;
    const long percent = std::strtol(scale.c_str(), &end, 10);
    bool offered = false;
    for (int step : kScaleSteps) offered = offered || (end && *end == 0 && percent == step);
    return offered && setenv("AMBRELL_EDITOR_SCALE", scale.c_str(), 1) == 0;
}

}  // namespace

namespace {

const char* const kEditUsage =
    "usage: orv-host edit PLUGIN.so [--preset FILE] [--program N|NAME] [--set NAME=VALUE]...\n"
    "         [--tuning FILE.scl [--keymap FILE.kbm]] [--oscillators classic|clean]\n"
    "         [--save FILE.fxp|FILE.fxb] [--scale PERCENT]\n"
    "\n"
    "  --preset FILE   a program (.fxp) or bank (.fxb) file, loaded first\n"
    "  --program P     program number (from 0) or exact program name\n"
    "  --set NAME=VAL  a parameter, as render takes it (cutoff=2kHz); repeatable\n"
    "  --tuning FILE   a Scala scale the keys play in, after the preset\n"
    "  --keymap FILE   a Scala keyboard map laying the scale out on the keys\n"
    "  --oscillators M Ambrell's saws and pulses: classic (its own sound) or clean\n"
    "                  (less alias on high notes), after the preset\n"
    "  --save FILE     when the window closes, writes the edited program (.fxp)\n"
    "                  or the whole bank (.fxb) there\n"
    "  --scale PERCENT the editor's size: 100 125 150 175 200 250 300, unless the\n"
    "                  player chose one in its panel menu\n";

struct EditOptions {
    std::string plugin, preset, program, save, tuning, keymap, oscillators;
    std::vector<Setting> sets;
};

// Takes one of the options that set up the state the editor opens on (and
// its size): true when a is one of them; error says what is wrong with v.
bool takeStateOption(const std::string& a, const std::string& v, EditOptions& o, std::string& error) {
    if (a == "--preset") o.preset = v;
    else if (a == "--program") o.program = v;
    else if (a == "--tuning") o.tuning = v;
    else if (a == "--keymap") o.keymap = v;
    else if (a == "--oscillators") o.oscillators = v;
    else if (a == "--scale") {
        if (!offerScale(v)) error = "--scale is one of 100 125 150 175 200 250 300";
    } else if (a == "--set") {
        if (!parseSetting(v, o.sets.emplace_back())) error = "--set needs NAME=VALUE";
    } else {
        return false;
    }
    return true;
}

// Answers 0 when the options are complete, -1 after --help, else the exit status.
int parseEdit(const Args& args, EditOptions& o) {
    if (printedHelp(args, kEditUsage)) return -1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            if (i + 1 >= args.size()) return commandUsageError("edit", a + " needs a value", kEditUsage);
            const std::string& v = args[++i];
            std::string error;
            if (a == "--save") o.save = v;
            else if (!takeStateOption(a, v, o, error)) return commandUsageError("edit", "unknown option " + a, kEditUsage);
            if (!error.empty()) return commandUsageError("edit", error, kEditUsage);
        } else if (!o.plugin.empty()) {
            return commandUsageError("edit", "one plug-in only ('" + a + "')", kEditUsage);
        } else {
            o.plugin = a;
        }
    }
    if (o.plugin.empty()) return commandUsageError("edit", "which plug-in?", kEditUsage);
    if (!o.save.empty() && !hasSuffix(o.save, ".fxp") && !hasSuffix(o.save, ".fxb"))
        return commandUsageError("edit", o.save + ": save to a .fxp or .fxb file", kEditUsage);
    return 0;
}

// The state the editor opens on: the preset, the program, the settings.
int prepareEdit(EditorHost& host, const EditOptions& o, const char* command) {
    std::string error;
    if (!o.preset.empty() && !preset::load(host, o.preset, error)) return commandFailed(command, error);
    if (!applyTuning(host, o.tuning, o.keymap, error) || !applyOscillators(host, o.oscillators, error))
        return commandFailed(command, error);
    if (!o.program.empty() && !selectProgram(host, o.program, error)) return commandFailed(command, error);
    if (!applySettings(host, o.sets, error)) return commandRefused(command, error);
    return 0;
}

}  // namespace

int runEdit(const Args& args) {
    EditOptions o;
    if (const int status = parseEdit(args, o)) return status < 0 ? 0 : status;
    EditorHost host;
    if (!host.load(o.plugin)) return commandFailed("edit", host.error());
    if (const int status = prepareEdit(host, o, "edit")) return status;
    HostWindow window;
    if (!openEditor(host, window, o.plugin, HostWindow::Kind::kNormal)) return 1;
    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    while (!interrupted && window.handleEvents(host)) {
        host.dispatch(effEditIdle);
        std::this_thread::sleep_for(kIdlePeriod);
    }
    host.dispatch(effEditClose);
    std::string error;
    if (!o.save.empty() && !preset::save(host, o.save, hasSuffix(o.save, ".fxb"), error))
        return commandFailed("edit", error);
    return 0;
}

namespace {

const char* const kScreenshotUsage =
    "usage: orv-host screenshot PLUGIN.so OUT.png [--preset FILE] [--program N|NAME] [--set NAME=VALUE]...\n"
    "         [--tuning FILE.scl [--keymap FILE.kbm]] [--oscillators classic|clean]\n"
    "         [--click X,Y | --right-click X,Y] [--scale PERCENT]\n"
    "\n"
    "  --preset, --program, --set, --tuning, --keymap, --oscillators\n"
    "                     the state the editor opens on, as edit takes them\n"
    "  --click X,Y        click the editor there before the picture (opens a menu)\n"
    "  --right-click X,Y  the same with the right button (the panel menu)\n"
    "  --scale PERCENT    the editor's size: 100 125 150 175 200 250 300\n";

struct ScreenshotOptions {
    EditOptions state;
    std::string output;
    unsigned clickButton = 0;  // none
    int clickX = 0, clickY = 0;
};

// Answers 0 when the options are complete, -1 after --help, else the exit status.
int parseScreenshot(const Args& args, ScreenshotOptions& o) {
    if (printedHelp(args, kScreenshotUsage)) return -1;
    std::vector<std::string> positional;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a.size() > 1 && a[0] == '-') {
            if (i + 1 >= args.size()) return commandUsageError("screenshot", a + " needs a value", kScreenshotUsage);
            const std::string& v = args[++i];
            std::string error;
            if (a == "--click" || a == "--right-click") {
                char rest = 0;
                if (std::sscanf(v.c_str(), "%d,%d%c", &o.clickX, &o.clickY, &rest) != 2)
                    error = a + " needs X,Y";
                o.clickButton = a == "--click" ? 1 : 3;
            } else if (!takeStateOption(a, v, o.state, error)) {
                return commandUsageError("screenshot", "unknown option " + a, kScreenshotUsage);
            }
            if (!error.empty()) return commandUsageError("screenshot", error, kScreenshotUsage);
        } else {
            positional.push_back(a);
        }
    }
    if (positional.size() != 2) return commandUsageError("screenshot", "a plug-in and a picture to write", kScreenshotUsage);
    o.state.plugin = positional[0];
    o.output = positional[1];
    return 0;
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
    if (const int status = parseScreenshot(args, o)) return status < 0 ? 0 : status;
    EditorHost host;
    if (!host.load(o.state.plugin)) return commandFailed("screenshot", host.error());
    if (const int status = prepareEdit(host, o.state, "screenshot")) return status;
    std::string error;
    HostWindow window;
    if (!openEditor(host, window, o.state.plugin, HostWindow::Kind::kScreenshot)) return 1;
    for (int i = 0; i < kScreenshotIdles; ++i) {
        window.handleEvents(host);
        host.dispatch(effEditIdle);
        std::this_thread::sleep_for(kIdlePeriod);
    }
    std::vector<uint8_t> rgb;
    int width = 0, height = 0;
    bool captured = false;
    if (o.clickButton) {
        // The user clicks, waits for the pop-up, takes the picture and
        // dismisses it, while this thread goes on idling the editor.
        std::atomic<bool> done{false};
        bool usable = true;
        std::thread user([&] {
            ScreenUser screen(window.id());
            usable = screen.ok();
            if (usable) {
                const bool popup = screen.clickAndWaitForPopup(o.clickX, o.clickY, o.clickButton);
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
    error = "cannot read the window's pixels (is the window larger than the screen?)";
    if (!captured || !writePng(o.output, rgb, width, height, error)) {
        std::fprintf(stderr, "orv-host: %s\n", error.c_str());
        return 1;
    }
    return 0;
}
