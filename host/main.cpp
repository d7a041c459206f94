// orv-host: the project's command-line host of VST 2.x and CLAP plug-ins.
//
//   orv-host COMMAND [ARGS...]
//
// Each command lives in a file of its own (InfoCommand.cpp, ...) and is
// listed in the table below.
#include <cstdio>
#include <cstring>
#include <exception>
#include <new>

#include "host/Commands.h"

namespace {

struct Command {
    const char* name;
    int (*run)(const Args&);
    const char* usage;
};

const Command kCommands[] = {
    {"info", runInfo, "info PLUGIN.so      identity, parameters and programs"},
    {"edit", runEdit, "edit PLUGIN.so [...] the editor in a window; --save keeps the edit"},
    {"screenshot", runScreenshot, "screenshot PLUGIN.so OUT.png [...]\n"
                                  "                      a picture of the editor"},
    {"render", runRender, "render PLUGIN.so -o OUT.wav (--demo | --midi FILE.mid) [...]\n"
                          "                      play a phrase through a program into a file"},
    {"play", runPlay, "play PLUGIN.so [...]  live through JACK: MIDI in, audio out, the editor"},
    {"preset", runPreset, "preset save|load PLUGIN.so FILE.fxp|FILE.fxb [...]\n"
                          "                      a program or the bank to or from a file"},
    {"bench", runBench, "bench PLUGIN.so ... render speed, start-up time and memory"},
};

// Runs a command; whatever it throws ends it with one line and status 1.
int run(const Command& c, const Args& args) {
    try {
        return c.run(args);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "orv-host %s: out of memory\n", c.name);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "orv-host %s: %s\n", c.name, e.what());
    } catch (...) {
        std::fprintf(stderr, "orv-host %s: stopped by an unexpected failure\n", c.name);
    }
    return 1;
}

int usage(FILE* out) {
    std::fprintf(out, "usage: orv-host COMMAND [ARGS...]\n       orv-host --version\n\ncommands:\n");
    for (const Command& c : kCommands) std::fprintf(out, "  %s\n", c.usage);
    std::fprintf(out, "\nPLUGIN.so is a VST 2.x module; a CLAP plug-in (PLUGIN.clap) is taken alike.\n"
                      "orv-host COMMAND --help tells more about each.\n");
    return out == stdout ? 0 : 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2) return usage(stderr);
    if (!std::strcmp(argv[1], "-h") || !std::strcmp(argv[1], "--help")) return usage(stdout);
    if (!std::strcmp(argv[1], "--version")) {
        std::printf("orv-host (Ambrell) %s\n", ORV_VERSION);
        return 0;
    }
    for (const Command& c : kCommands)
        if (!std::strcmp(argv[1], c.name)) return run(c, Args(argv + 2, argv + argc));
    std::fprintf(stderr, "orv-host: unknown command '%s'\n\n", argv[1]);
    return usage(stderr);
}
