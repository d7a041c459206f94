// orv-host info PLUGIN.so: loads the plug-in as a host does and prints what
// a host learns about it: identity, flags, parameters (index, name, value,
// and the plug-in's own display text when it gives one) and programs.
#include <cctype>
#include <charconv>
#include <cstdio>
#include <string>
#include <vector>

#include "host/Commands.h"
#include "host/core/CommandLine.h"
#include "host/core/PluginHost.h"

namespace {

const char* categoryName(VstIntPtr category) {
    static const char* const kNames[] = {"unknown",  "effect",      "synth",   "analysis",
                                         "mastering", "spatializer", "room fx", "surround",
                                         "restoration", "offline",   "shell",   "generator"};
    return (category >= 0 && category < 12) ? kNames[category] : "?";
}

std::string flagNames(VstInt32 flags) {
    static const struct {
        VstInt32 bit;
        const char* name;
    } kFlags[] = {{effFlagsHasEditor, "editor"},
                  {effFlagsCanReplacing, "replacing"},
                  {effFlagsProgramChunks, "program chunks"},
                  {effFlagsIsSynth, "synth"},
                  {effFlagsNoSoundInStop, "no sound in stop"},
                  {effFlagsCanDoubleReplacing, "double replacing"}};
    std::string names;
    for (const auto& f : kFlags) {
        if (!(flags & f.bit)) continue;
        if (!names.empty()) names += ", ";
        names += f.name;
    }
    return names;
}

// The unique id as its four packed characters, when they are printable.
std::string idText(VstInt32 id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const unsigned char c = static_cast<unsigned char>((id >> shift) & 0xFF);
        if (!std::isprint(c)) return "";
        text += static_cast<char>(c);
    }
    return " '" + text + "'";
}

// The shortest text that reads back as the same float.
std::string valueText(float value) {
    char text[32];
    const auto end = std::to_chars(text, text + sizeof(text), value).ptr;
    return std::string(text, end);
}

void printParameters(PluginHost& host) {
    const AEffect* e = host.effect();
    std::printf("parameters:     %d\n", e->numParams);
    for (VstInt32 i = 0; i < e->numParams; ++i) {
        std::printf("  %3d  %-22s %s", i, host.parameterName(i).c_str(),
                    valueText(host.getParameter(i)).c_str());
        const std::string display = host.parameterDisplay(i);
        if (!display.empty()) {
            const std::string label = host.parameterLabel(i);
            std::printf("  (%s%s%s)", display.c_str(), label.empty() ? "" : " ", label.c_str());
        }
        std::printf("\n");
    }
}

void printPrograms(PluginHost& host) {
    const AEffect* e = host.effect();
    const VstIntPtr current = host.dispatch(effGetProgram);
    std::printf("programs:       %d (current %d)\n", e->numPrograms, static_cast<int>(current));
    const std::vector<std::string> names = host.programNames();
    for (std::size_t p = 0; p < names.size(); ++p)
        std::printf("  %3d  %s\n", static_cast<int>(p), names[p].c_str());
}

}  // namespace

int runInfo(const Args& args) {
    const char* const usage =
        "usage: orv-host info PLUGIN.so\n"
        "  identity, flags, parameters (value and display text) and programs\n";
    if (printedHelp(args, usage)) return 0;
    if (args.size() != 1) {
        std::fputs(usage, stderr);
        return 2;
    }
    PluginHost host;
    if (!host.load(args[0])) {
        std::fprintf(stderr, "orv-host: %s\n", host.error().c_str());
        return 1;
    }
    printInfo(host, args[0]);
    return 0;
}

void printInfo(PluginHost& host, const std::string& module) {
    const AEffect* e = host.effect();
    std::printf("module:         %s\n", PluginHost::findModule(module).c_str());
    std::printf("effect name:    %s\n", host.effectName().c_str());
    std::printf("vendor:         %s\n", host.vendorString().c_str());
    std::printf("product:        %s\n", host.productString().c_str());
    std::printf("vendor version: %d\n", static_cast<int>(host.dispatch(effGetVendorVersion)));
    std::printf("unique id:      0x%08X%s\n", static_cast<unsigned>(e->uniqueID),
                idText(e->uniqueID).c_str());
    std::printf("version:        %d\n", e->version);
    std::printf("VST version:    %d\n", static_cast<int>(host.dispatch(effGetVstVersion)));
    const VstIntPtr category = host.dispatch(effGetPlugCategory);
    std::printf("category:       %d (%s)\n", static_cast<int>(category), categoryName(category));
    std::printf("flags:          0x%X (%s)\n", static_cast<unsigned>(e->flags),
                flagNames(e->flags).c_str());
    std::printf("inputs:         %d\n", e->numInputs);
    std::printf("outputs:        %d\n", e->numOutputs);
    printParameters(host);
    printPrograms(host);
}
