// orv-host preset: program (.fxp) and bank (.fxb) files for any VST 2.x
// plug-in.
//
//   preset save PLUGIN.so FILE.fxp|FILE.fxb [--program N|NAME] [--preset IN]
//   preset load PLUGIN.so FILE.fxp|FILE.fxb
//
// save loads IN first (if given), selects program N (if given) and writes
// the current program (.fxp) or the whole bank (.fxb). load applies the
// file to a fresh instance and prints what info prints.
#include <cstdio>
#include <string>

#include "host/core/CommandLine.h"
#include "host/Commands.h"
#include "host/core/PluginHost.h"
#include "host/core/PluginPreset.h"

namespace {

const char* const kUsage =
    "usage: orv-host preset save PLUGIN.so FILE.fxp|FILE.fxb [--program N|NAME] [--preset IN]\n"
    "       orv-host preset load PLUGIN.so FILE.fxp|FILE.fxb\n";

int fail(const std::string& message) { return commandFailed("preset", message); }
int usageError(const std::string& message) { return commandUsageError("preset", message, kUsage); }

int save(PluginHost& host, const std::string& file, const std::string& program, const std::string& input) {
    std::string error;
    if (!input.empty() && !preset::load(host, input, error)) return fail(error);
    if (!program.empty() && !selectProgram(host, program, error)) return fail(error);
    if (!preset::save(host, file, hasSuffix(file, ".fxb"), error)) return fail(error);
    return 0;
}

}  // namespace

int runPreset(const Args& args) {
    if (args.size() == 1 && (args[0] == "-h" || args[0] == "--help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (args.size() < 3 || (args[0] != "save" && args[0] != "load")) return usageError("save or load what?");
    const std::string& file = args[2];
    if (!hasSuffix(file, ".fxp") && !hasSuffix(file, ".fxb")) return usageError(file + ": a .fxp or .fxb file");
    std::string program, input;
    for (std::size_t i = 3; i < args.size(); ++i) {
        if (args[0] == "save" && i + 1 < args.size() && args[i] == "--program") program = args[++i];
        else if (args[0] == "save" && i + 1 < args.size() && args[i] == "--preset") input = args[++i];
        else return usageError("unexpected '" + args[i] + "'");
    }
    PluginHost host;
    if (!host.load(args[1])) return fail(host.error());
    if (args[0] == "save") return save(host, file, program, input);
    std::string error;
    if (!preset::load(host, file, error)) return fail(error);
    printInfo(host, args[1]);
    return 0;
}
