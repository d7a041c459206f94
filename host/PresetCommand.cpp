// orv-host preset: program (.fxp) and bank (.fxb) files for any VST 2.x
// plug-in.
//
//   preset save PLUGIN.so FILE.fxp|FILE.fxb [--preset IN] [--program N|NAME]
//               [--set NAME=VALUE]... [--name NAME]
//   preset load PLUGIN.so FILE.fxp|FILE.fxb
//
// save loads IN first (if given), selects program N, sets the parameters,
// renames the program (each if given) and writes the current program
// (.fxp) or the whole bank (.fxb). load applies the file to a fresh
// instance and prints what info prints.
#include <cstdio>
#include <string>
#include <vector>

#include "host/core/CommandLine.h"
#include "host/Commands.h"
#include "host/core/ParameterSetting.h"
#include "host/core/PluginHost.h"
#include "host/core/PluginPreset.h"

namespace {

const char* const kUsage =
    "usage: orv-host preset save PLUGIN.so FILE.fxp|FILE.fxb [--preset IN] [--program N|NAME]\n"
    "                            [--set NAME=VALUE]... [--name NAME]\n"
    "       orv-host preset load PLUGIN.so FILE.fxp|FILE.fxb\n"
    "\n"
    "  save writes the current program (.fxp) or the whole bank (.fxb):\n"
    "  --preset IN      a program or bank file, loaded first\n"
    "  --program P      program number (from 0) or exact program name\n"
    "  --set NAME=VAL   a parameter, as render takes it (cutoff=2kHz); repeatable\n"
    "  --name NAME      renames the program (at most 23 characters)\n"
    "  load applies the file to a fresh instance and lists it as info does.\n";

// A program name fills at most 24 bytes with its terminator.
constexpr std::size_t kLongestName = 23;

struct SaveOptions {
    std::string input, program, name;
    std::vector<Setting> sets;
};

int fail(const std::string& message) { return commandFailed("preset", message); }
int usageError(const std::string& message) { return commandUsageError("preset", message, kUsage); }

int save(PluginHost& host, const std::string& file, const SaveOptions& o) {
    std::string error;
    if (!o.input.empty() && !preset::load(host, o.input, error)) return fail(error);
    if (!o.program.empty() && !selectProgram(host, o.program, error)) return fail(error);
    if (!applySettings(host, o.sets, error)) return commandRefused("preset", error);
    if (!o.name.empty()) {
        std::string name = o.name;
        host.dispatch(effSetProgramName, 0, 0, name.data());
    }
    if (!preset::save(host, file, hasSuffix(file, ".fxb"), error)) return fail(error);
    return 0;
}

// Answers 0 when the save options are complete, else the exit status.
int parseSave(const Args& args, SaveOptions& o) {
    for (std::size_t i = 3; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (i + 1 >= args.size()) return usageError("unexpected '" + a + "'");
        const std::string& v = args[++i];
        if (a == "--program") o.program = v;
        else if (a == "--preset") o.input = v;
        else if (a == "--set") {
            if (!parseSetting(v, o.sets.emplace_back())) return usageError("--set needs NAME=VALUE");
        } else if (a == "--name") {
            if (v.empty() || v.size() > kLongestName)
                return commandRefused("preset", "--name: a program name has 1 to 23 characters");
            o.name = v;
        } else {
            return usageError("unexpected '" + a + "'");
        }
    }
    return 0;
}

}  // namespace

int runPreset(const Args& args) {
    if (printedHelp(args, kUsage)) return 0;
    if (args.size() < 3 || (args[0] != "save" && args[0] != "load")) return usageError("save or load what?");
    const std::string& file = args[2];
    if (!hasSuffix(file, ".fxp") && !hasSuffix(file, ".fxb")) return usageError(file + ": a .fxp or .fxb file");
    SaveOptions o;
    if (args[0] == "load" && args.size() > 3) return usageError("unexpected '" + args[3] + "'");
    if (const int status = args[0] == "save" ? parseSave(args, o) : 0) return status;
    PluginHost host;
    if (!host.load(args[1])) return fail(host.error());
    if (args[0] == "save") return save(host, file, o);
    std::string error;
    if (!preset::load(host, file, error)) return fail(error);
    printInfo(host, args[1]);
    return 0;
}
