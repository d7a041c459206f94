// lv2-turtle OUTDIR: writes the bundle's manifest.ttl, the plug-in's
// ORV-Ambrell2.ttl and presets.ttl into OUTDIR. Run by the build: the ports
// come from the parameter table (names, domains, menu texts) and the
// presets from the factory bank, so the bundle cannot drift from the module.
#include <cctype>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>

#include "engine/Choices.h"
#include "plugin/FactoryBank.h"
#include "plugin/OrvVst.h"
#include "plugin/ParameterReading.h"
#include "plugin/ParameterText.h"
#include "shells/lv2/Lv2Identity.h"

namespace {

using namespace lv2_identity;

const char* const kPrefixes =
    "@prefix atom: <http://lv2plug.in/ns/ext/atom#> .\n"
    "@prefix doap: <http://usefulinc.com/ns/doap#> .\n"
    "@prefix foaf: <http://xmlns.com/foaf/0.1/> .\n"
    "@prefix lv2: <http://lv2plug.in/ns/lv2core#> .\n"
    "@prefix midi: <http://lv2plug.in/ns/ext/midi#> .\n"
    "@prefix opts: <http://lv2plug.in/ns/ext/options#> .\n"
    "@prefix pset: <http://lv2plug.in/ns/ext/presets#> .\n"
    "@prefix rdf: <http://www.w3.org/1999/02/22-rdf-syntax-ns#> .\n"
    "@prefix rdfs: <http://www.w3.org/2000/01/rdf-schema#> .\n"
    "@prefix state: <http://lv2plug.in/ns/ext/state#> .\n"
    "@prefix time: <http://lv2plug.in/ns/ext/time#> .\n"
    "@prefix ui: <http://lv2plug.in/ns/extensions/ui#> .\n"
    "@prefix urid: <http://lv2plug.in/ns/ext/urid#> .\n"
    "\n";

// A Turtle string literal.
std::string quoted(const std::string& text) {
    std::string q = "\"";
    for (char c : text) {
        if (c == '"' || c == '\\') q += '\\';
        q += c;
    }
    return q + "\"";
}

// A decimal literal that reads back to the same float.
std::string number(float v) {
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", double(v));
    std::string s = text;
    if (s.find_first_of(".e") == std::string::npos) s += ".0";
    return s;
}

// Symbols are C identifiers: the parameter's name in lower case, or its
// panel name for the ones without a name of their own.
std::string symbol(int index) {
    std::string from = parameter_text::name(index);
    if (from == "Param") from = parameter_text::panelName(index) ? parameter_text::panelName(index) : "unused";
    std::string s;
    for (char c : from) s += std::isalnum(static_cast<unsigned char>(c)) ? char(std::tolower(c)) : '_';
    if (from == "unused") s += std::to_string(index);
    return s;
}

// The name every format shows, as the VST 2.x module names it, so that
// sessions and tools find a parameter by the same name in each.
std::string portName(int index) { return parameter_text::name(index); }

bool isSwitch(int index) { return index == param::kLearnAllPrograms || index == param::kControllerLearn; }

void controlPort(std::ostream& out, int index, float initial) {
    const parameter_text::Domain d = parameter_text::domain(index);
    const choice::Menu menu = choice::menuFor(index);
    out << "  [\n"
        << "    a lv2:InputPort , lv2:ControlPort ;\n"
        << "    lv2:index " << index << " ;\n"
        << "    lv2:symbol \"" << symbol(index) << "\" ;\n"
        << "    lv2:name " << quoted(portName(index)) << " ;\n";
    if (d.whole) {
        out << "    lv2:default " << int(initial) << " ;\n"
            << "    lv2:minimum " << int(d.lo) << " ;\n"
            << "    lv2:maximum " << int(d.hi) << " ;\n"
            << "    lv2:portProperty lv2:integer";
        if (isSwitch(index)) out << " , lv2:toggled";
        if (menu.count > 0) out << " , lv2:enumeration";
        out << " ;\n";
        for (int i = 0; i < menu.count; ++i)
            out << "    lv2:scalePoint [ rdfs:label " << quoted(menu.texts[i]) << " ; rdf:value " << i
                << " ] ;\n";
    } else {
        out << "    lv2:default " << number(initial) << " ;\n"
            << "    lv2:minimum " << number(d.lo) << " ;\n"
            << "    lv2:maximum " << number(d.hi) << " ;\n";
    }
    out << "  ] ,\n";
}

void pluginTurtle(std::ostream& out) {
    const ProgramRecord& first = factoryBank()[0];
    out << kPrefixes;
    out << "<" << kPluginUri << ">\n"
        << "  a lv2:Plugin , lv2:InstrumentPlugin ;\n"
        << "  doap:name " << quoted(OrvVst::kEffectName) << " ;\n"
        << "  doap:license <https://spdx.org/licenses/GPL-3.0-or-later> ;\n"
        << "  lv2:project [ a doap:Project ; doap:name \"Ambrell\" ;\n"
        << "                doap:maintainer [ a foaf:Person ; foaf:name " << quoted(OrvVst::kVendorName) << " ] ] ;\n"
        << "  lv2:minorVersion 0 ;\n"
        << "  lv2:microVersion 0 ;\n"
        << "  lv2:requiredFeature urid:map ;\n"
        << "  lv2:optionalFeature lv2:hardRTCapable ;\n"
        << "  lv2:extensionData state:interface ;\n"
        << "  ui:ui <" << kUiUri << "> ;\n"
        << "  lv2:port\n";
    for (int i = 0; i < param::kCount; ++i) controlPort(out, i, first.values[i]);
    out << "  [\n"
        << "    a lv2:InputPort , atom:AtomPort ;\n"
        << "    atom:bufferType atom:Sequence ;\n"
        << "    atom:supports midi:MidiEvent , time:Position ;\n"
        << "    lv2:designation lv2:control ;\n"
        << "    lv2:index " << kMidiPort << " ;\n"
        << "    lv2:symbol \"midi_in\" ;\n"
        << "    lv2:name \"MIDI in\"\n"
        << "  ] , [\n"
        << "    a lv2:OutputPort , lv2:AudioPort ;\n"
        << "    lv2:index " << kLeftPort << " ;\n"
        << "    lv2:symbol \"out_left\" ;\n"
        << "    lv2:name \"Left\"\n"
        << "  ] , [\n"
        << "    a lv2:OutputPort , lv2:AudioPort ;\n"
        << "    lv2:index " << kRightPort << " ;\n"
        << "    lv2:symbol \"out_right\" ;\n"
        << "    lv2:name \"Right\"\n"
        << "  ] .\n\n";
    out << "<" << kUiUri << ">\n"
        << "  a ui:X11UI ;\n"
        << "  ui:binary <" << kBinary << "> ;\n"
        << "  lv2:requiredFeature ui:parent , <http://lv2plug.in/ns/ext/instance-access> ;\n"
        << "  lv2:optionalFeature ui:resize , ui:touch , opts:options , urid:map ;\n"
        << "  opts:supportedOption ui:scaleFactor ;\n"
        << "  lv2:extensionData ui:idleInterface .\n";
}

std::string presetUri(int program) {
    char n[8];
    std::snprintf(n, sizeof n, "%02d", program + 1);
    return std::string(kPresetPrefix) + n;
}

void presetsTurtle(std::ostream& out) {
    out << kPrefixes;
    const ProgramBank& bank = factoryBank();
    for (int p = 0; p < kNumPrograms; ++p) {
        out << "<" << presetUri(p) << ">\n"
            << "  a pset:Preset ;\n"
            << "  lv2:appliesTo <" << kPluginUri << "> ;\n"
            << "  rdfs:label " << quoted(bank[p].name) << " ;\n"
            << "  lv2:port";
        for (int i = 0; i < param::kCount; ++i) {
            const float v = bank[p].values[i];
            out << (i ? " , " : " ") << "[ lv2:symbol \"" << symbol(i) << "\" ; pset:value "
                << (parameter_text::domain(i).whole ? std::to_string(int(v)) : number(v)) << " ]";
        }
        out << " .\n\n";
    }
}

void manifestTurtle(std::ostream& out) {
    out << kPrefixes;
    out << "<" << kPluginUri << ">\n"
        << "  a lv2:Plugin , lv2:InstrumentPlugin ;\n"
        << "  lv2:binary <" << kBinary << "> ;\n"
        << "  rdfs:seeAlso <ORV-Ambrell2.ttl> .\n\n";
    out << "<" << kUiUri << ">\n"
        << "  a ui:X11UI ;\n"
        << "  ui:binary <" << kBinary << "> ;\n"
        << "  rdfs:seeAlso <ORV-Ambrell2.ttl> .\n\n";
    for (int p = 0; p < kNumPrograms; ++p)
        out << "<" << presetUri(p) << ">\n"
            << "  a pset:Preset ;\n"
            << "  lv2:appliesTo <" << kPluginUri << "> ;\n"
            << "  rdfs:seeAlso <presets.ttl> .\n\n";
}

// Writes only when the text changed, so the build does not redo the steps
// that depend on the bundle.
bool write(const std::string& path, void (*make)(std::ostream&)) {
    std::ostringstream text;
    make(text);
    std::ifstream old(path, std::ios::binary);
    std::ostringstream oldText;
    oldText << old.rdbuf();
    if (old && oldText.str() == text.str()) return true;
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text.str();
    return bool(out.flush());
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: lv2-turtle OUTDIR\n");
        return 2;
    }
    const std::string dir = argv[1];
    for (int i = 0; i < param::kCount; ++i) {
        const parameter_text::Domain d = parameter_text::domain(i);
        for (int p = 0; p < kNumPrograms; ++p) {
            const float v = factoryBank()[p].values[i];
            if (!(v >= d.lo && v <= d.hi) || (d.whole && v != std::floor(v))) {
                std::fprintf(stderr, "lv2-turtle: program %d's %s (%g) is outside its port's range\n", p + 1,
                             symbol(i).c_str(), double(v));
                return 1;
            }
        }
    }
    if (!write(dir + "/manifest.ttl", manifestTurtle) || !write(dir + "/ORV-Ambrell2.ttl", pluginTurtle) ||
        !write(dir + "/presets.ttl", presetsTurtle)) {
        std::fprintf(stderr, "lv2-turtle: cannot write into %s\n", dir.c_str());
        return 1;
    }
    return 0;
}
