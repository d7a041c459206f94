// orv-host play PLUGIN.so: plays a VST 2.x instrument live through JACK
// (host/live/JackPlayer.h): MIDI in, two audio outputs. The editor shows in a
// window of its own when there is a display (idled 30 times a second on
// this thread; closing it stops the player), else a status line on the
// terminal shows the program, the notes played, the DSP load, the xruns and
// any MIDI events dropped. A MIDI program change selects the program
// (effSetProgram, from this thread, as hosts do). Ctrl-C stops it too. The
// plug-in's state is saved when it stops, as a bank file
// (host/core/PresetFile.h), and restored at the next start; a state file
// that cannot be restored is never replaced unless the player asks for it.
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>

#include "host/core/CommandLine.h"
#include "host/core/HostState.h"
#include "host/core/HostTuning.h"
#include "host/Commands.h"
#include "host/live/EditorSession.h"
#include "host/live/JackPlayer.h"
#include "host/core/PluginPreset.h"
#include "host/core/SafeFile.h"

namespace {

const char* const kUsage =
    "usage: orv-host play PLUGIN.so [--program N|NAME] [--preset FILE] [--no-gui]\n"
    "         [--connect] [--state FILE] [--fresh] [--name CLIENT]\n"
    "         [--tuning FILE.scl [--keymap FILE.kbm]] [--oscillators classic|clean]\n"
    "\n"
    "  --program P    program number (from 0) or exact program name\n"
    "  --preset FILE  a program (.fxp) or bank (.fxb) file, loaded after the\n"
    "                 saved state\n"
    "  --no-gui       no editor window: a status line on the terminal\n"
    "  --connect      connect to the system's playback ports and MIDI sources\n"
    "  --state FILE   where the state is kept between runs, instead of\n"
    "                 ~/.config/ambrell/PLUGIN.fxb\n"
    "  --fresh        start anew when the state file cannot be read, and\n"
    "                 replace it when playing stops\n"
    "  --name CLIENT  the JACK client's name, instead of the plug-in's\n"
    "                 (\"Ambrell\" for Ambrell)\n"
    "  --tuning FILE  a Scala scale the keys play in, after the preset\n"
    "  --keymap FILE  a Scala keyboard map laying the scale out on the keys\n"
    "  --oscillators M  Ambrell's saws and pulses: classic (its own sound) or\n"
    "                 clean (less alias on high notes), after the preset\n"
    "\n"
    "MIDI program changes select the plug-in's programs.\n";

// The editor's idle pace, as `orv-host edit` keeps it.
constexpr auto kTick = std::chrono::milliseconds(33);
// The status line is redrawn every this many ticks (twice a second).
constexpr int kStatusTicks = 15;
// More channels than this are a plug-in's mistake, not a sound to play.
constexpr int kMaxChannels = 64;

volatile std::sig_atomic_t interrupted = 0;
void onSignal(int) { interrupted = 1; }

struct Options {
    std::string plugin, program, preset, state, name, tuning, keymap, oscillators;
    bool noGui = false, connect = false, fresh = false;
};

int fail(const std::string& message) { return commandFailed("play", message); }
int usageError(const std::string& message) { return commandUsageError("play", message, kUsage); }

// Answers 0 when the options are complete, -1 after --help, else the exit status.
int parse(const Args& args, Options& o) {
    if (printedHelp(args, kUsage)) return -1;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--no-gui") o.noGui = true;
        else if (a == "--connect") o.connect = true;
        else if (a == "--fresh") o.fresh = true;
        else if (a.size() > 1 && a[0] == '-') {
            std::string* value = a == "--program" ? &o.program
                                 : a == "--preset" ? &o.preset
                                 : a == "--state"  ? &o.state
                                 : a == "--name"   ? &o.name
                                 : a == "--tuning" ? &o.tuning
                                 : a == "--keymap" ? &o.keymap
                                 : a == "--oscillators" ? &o.oscillators
                                                   : nullptr;
            if (!value) return usageError("unknown option " + a);
            if (i + 1 >= args.size()) return usageError(a + " needs a value");
            *value = args[++i];
        } else if (!o.plugin.empty()) {
            return usageError("one plug-in only ('" + a + "')");
        } else {
            o.plugin = a;
        }
    }
    return o.plugin.empty() ? usageError("which plug-in?") : 0;
}

// The module's file name without its folder and ".so".
std::string moduleStem(const std::string& module) {
    std::string stem = module.substr(module.find_last_of('/') + 1);
    if (hasSuffix(stem, ".so")) stem.resize(stem.size() - 3);
    return stem;
}

// ~/.config/ambrell/STEM.fxb (under XDG_CONFIG_HOME when set), its
// folders made; empty without a home.
std::string defaultStatePath(const std::string& stem) {
    std::string config;
    if (const char* xdg = std::getenv("XDG_CONFIG_HOME"); xdg && *xdg == '/') config = xdg;
    else if (const char* home = std::getenv("HOME"); home && *home) config = std::string(home) + "/.config";
    else return "";
    mkdir(config.c_str(), 0755);
    const std::string folder = config + "/ambrell";
    mkdir(folder.c_str(), 0755);
    return folder + "/" + stem + ".fxb";
}

// The plug-in's name without what follows " - " ("Ambrell - ORV" is
// "Ambrell"), else the module's stem: the JACK client's name.
std::string clientNameFor(const std::string& effectName, const std::string& stem) {
    const std::string name = effectName.substr(0, effectName.find(" - "));
    return name.empty() ? stem : name;
}

// "03  Acid Bass", numbered from 1 as the panel shows it.
std::string programText(PluginHost& host) {
    char number[16];
    std::snprintf(number, sizeof number, "%02d  ", static_cast<int>(host.dispatch(effGetProgram)) + 1);
    return number + host.programName();
}

void showStatus(const JackPlayer& player, const std::string& program) {
    std::fprintf(stderr, "\r%s: %s  notes %llu  DSP %5.1f%%  xruns %llu  MIDI dropped %llu \033[K",
                 player.clientName().c_str(), program.c_str(), static_cast<unsigned long long>(player.notesIn()),
                 player.dspLoad(), static_cast<unsigned long long>(player.xruns()),
                 static_cast<unsigned long long>(player.eventsDropped()));
}

// Selects the program a MIDI program change asked for.
void followProgramChange(JackPlayer& player, PluginHost& host) {
    const int program = player.takeProgramChange();
    if (program >= 0) host.dispatch(effSetProgram, 0, program);
}

// Restores the saved state, if there is one. A state file that is there
// but cannot be restored (another plug-in's, cut short, unreadable) is not
// replaced at the end unless fresh; a path that is not a regular file is
// refused in any case, as writing there would replace something else.
bool restoreState(EditorHost& host, const std::string& path, bool fresh, std::string& error) {
    std::string target;
    if (!safefile::writeTarget(path, target, error)) return false;
    struct stat st;
    if (lstat(target.c_str(), &st) != 0 && errno == ENOENT) return true;
    if (preset::load(host, path, error)) return true;
    if (!fresh) {
        error += "; the state is left as it is (--fresh starts anew and replaces it)";
        return false;
    }
    std::fprintf(stderr, "orv-host play: %s; starting anew\n", error.c_str());
    return true;
}

}  // namespace

int runPlay(const Args& args) {
    Options o;
    if (const int status = parse(args, o)) return status < 0 ? 0 : status;

    EditorHost host;
    if (!host.load(o.plugin)) return fail(host.error());
    AEffect* effect = host.effect();
    if (!(effect->flags & effFlagsCanReplacing)) return fail("the plug-in cannot processReplacing");
    if (effect->numOutputs < 1 || effect->numOutputs > kMaxChannels || effect->numInputs > kMaxChannels)
        return fail("the plug-in has " + std::to_string(effect->numOutputs) + " outputs and " +
                    std::to_string(effect->numInputs) + " inputs");

    const std::string stem = moduleStem(PluginHost::findModule(o.plugin));
    const std::string statePath = o.state.empty() ? defaultStatePath(stem) : o.state;
    std::string error;
    if (!statePath.empty() && !restoreState(host, statePath, o.fresh, error)) return fail(error);
    if (!o.preset.empty() && !preset::load(host, o.preset, error)) return fail(error);
    if (!applyTuning(host, o.tuning, o.keymap, error)) return fail(error);
    if (!applyOscillators(host, o.oscillators, error)) return fail(error);
    if (!o.program.empty()) {
        const int program = findProgram(host.programNames(), o.program);
        if (program < 0)
            return fail("no program '" + o.program + "' (" + std::to_string(effect->numPrograms) + " programs)");
        host.dispatch(effSetProgram, 0, program);
    }

    std::string title = host.effectName();
    if (title.empty()) title = stem;
    JackPlayer player(host);
    if (!player.open(o.name.empty() ? clientNameFor(title, stem) : o.name, error)) return fail(error);
    std::string warnings;
    if (!player.start(o.connect, error, warnings)) return fail(error);
    if (!warnings.empty()) std::fprintf(stderr, "orv-host play: %s", warnings.c_str());
    std::printf("orv-host play: %s as JACK client '%s' (%u Hz, %u frames); Ctrl-C stops\n", title.c_str(),
                player.clientName().c_str(), player.sampleRate(), player.periodFrames());
    std::fflush(stdout);

    HostWindow window;
    bool editor = false;
    if (!o.noGui && std::getenv("DISPLAY")) {
        editor = host.showEditor(window, title, HostWindow::Kind::kNormal, error);
        if (!editor) std::fprintf(stderr, "orv-host play: no editor window (%s)\n", error.c_str());
    }
    const bool status = !editor && isatty(STDERR_FILENO);

    std::signal(SIGINT, onSignal);
    std::signal(SIGTERM, onSignal);
    double loadSum = 0.0, loadPeak = 0.0;
    std::uint64_t droppedTold = 0;
    int tick = 0;
    for (; !interrupted && !player.serverGone(); ++tick) {
        const double load = player.dspLoad();
        loadSum += load;
        loadPeak = std::max(loadPeak, load);
        followProgramChange(player, host);
        if (editor) {
            if (!window.handleEvents(host)) break;
            host.dispatch(effEditIdle);
        }
        if (tick % kStatusTicks == 0) {
            const std::uint64_t dropped = player.eventsDropped();
            if (status) {
                showStatus(player, programText(host));
            } else if (dropped > droppedTold) {
                // Without the status line, dropped MIDI is told as it happens.
                std::fprintf(stderr, "orv-host play: %llu MIDI events dropped (more than a period holds)\n",
                             static_cast<unsigned long long>(dropped - droppedTold));
            }
            droppedTold = dropped;
        }
        std::this_thread::sleep_for(kTick);
    }
    if (status) std::fprintf(stderr, "\r\033[K");
    if (editor) host.dispatch(effEditClose);

    const bool lost = player.serverGone();
    std::printf("orv-host play: %llu notes, DSP load %.1f%% on average, %.1f%% at most, %llu xruns, "
                "%llu MIDI events dropped; program %s\n",
                static_cast<unsigned long long>(player.notesIn()), tick ? loadSum / tick : 0.0, loadPeak,
                static_cast<unsigned long long>(player.xruns()),
                static_cast<unsigned long long>(player.eventsDropped()), programText(host).c_str());
    player.stop();
    if (lost) std::fprintf(stderr, "orv-host play: the JACK server has gone (%s)\n", player.shutdownReason());
    if (!statePath.empty() && !preset::save(host, statePath, true, error)) return fail(error);
    return lost ? 1 : 0;
}
