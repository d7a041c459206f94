// orv-host preset: program (.fxp) and bank (.fxb) files for any VST 2.x
// plug-in.
//
//   preset save PLUGIN.so FILE.fxp|FILE.fxb [--program N] [--preset IN]
//   preset load PLUGIN.so FILE.fxp|FILE.fxb
//
// save loads IN first (if given), selects program N (if given) and writes
// the current program (.fxp) or the whole bank (.fxb). load applies the
// file to a fresh instance and prints what info prints.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "host/Commands.h"
#include "host/PluginHost.h"
#include "host/PluginPreset.h"

namespace {

const char* const kUsage =
    "usage: orv-host preset save PLUGIN.so FILE.fxp|FILE.fxb [--program N] [--preset IN]\n"
    "       orv-host preset load PLUGIN.so FILE.fxp|FILE.fxb\n";

int fail(const std::string& message) {
    std::fprintf(stderr, "orv-host preset: %s\n", message.c_str());
    return 1;
}

int usageError(const std::string& message) {
    std::fprintf(stderr, "orv-host preset: %s\n%s", message.c_str(), kUsage);
    return 2;
}

bool endsWith(const std::string& s, const char* tail) {
    const std::string t(tail);
    return s.size() > t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

int save(PluginHost& host, const std::string& file, const std::string& program, const std::string& input) {
    std::string error;
    if (!input.empty() && !preset::load(host, input, error)) return fail(error);
    if (!program.empty()) {
        char* end = nullptr;
        const long n = std::strtol(program.c_str(), &end, 10);
        if (end == program.c_str() || *end || n < 0 || n >= host.effect()->numPrograms)
            return fail("no program " + program + " (" + std::to_string(host.effect()->numPrograms) + " programs)");
        host.dispatch(effSetProgram, 0, n);
    }
    const preset::Preset p = preset::capture(host, endsWith(file, ".fxb"));
    if (!preset::writeFile(file, preset::write(p), error)) return fail(error);
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
    if (!endsWith(file, ".fxp") && !endsWith(file, ".fxb")) return usageError(file + ": a .fxp or .fxb file");
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
