#include "host/core/ParameterSetting.h"

#include <cctype>
#include <cstdio>
#include <set>

#include "engine/ParamBlock.h"
#include "host/core/CommandLine.h"
#include "host/core/PluginHost.h"
#include "plugin/ParameterReading.h"
#include "plugin/ParameterText.h"

namespace {

// Ambrell's identity: its unique id, 44 parameters of the names its table
// gives. Only then are its display texts read through that table.
constexpr VstInt32 kAmbrellId = 0x31313132;

bool isAmbrell(PluginHost& host) {
    const AEffect* e = host.effect();
    if (e->uniqueID != kAmbrellId || e->numParams != param::kCount) return false;
    for (int i = 0; i < param::kCount; ++i)
        if (host.parameterName(i) != parameter_text::name(i)) return false;
    return true;
}

// Lower case without spaces, as names are compared.
std::string folded(const std::string& text) {
    std::string k;
    for (char c : text)
        if (!std::isspace(static_cast<unsigned char>(c)))
            k += static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return k;
}

// The parameter a name means, or -1 with the reason in error.
VstInt32 findParameter(PluginHost& host, bool ambrell, const std::string& name, std::string& error) {
    const VstInt32 count = host.effect()->numParams;
    const std::string wanted = folded(name);
    std::set<VstInt32> matches;
    for (VstInt32 i = 0; i < count; ++i) {
        const char* panel = ambrell ? parameter_text::panelName(i) : nullptr;
        if (folded(host.parameterName(i)) == wanted || (panel && folded(panel) == wanted)) matches.insert(i);
    }
    long index;
    if (matches.empty() && parseWholeNumber(name, 0, static_cast<long>(count) - 1, index))
        return static_cast<VstInt32>(index);
    if (matches.size() == 1) return *matches.begin();
    error = matches.empty() ? "no such parameter" : "several parameters have that name; use the index";
    return -1;
}

// "8.18 Hz" and the like: what the display of index shows for value.
std::string shownText(const ParamBlock& params, VstInt32 index, float value, float rate) {
    char display[parameter_text::kTextSize], label[parameter_text::kTextSize];
    parameter_text::describeValue(index, value, params, rate, display, label);
    return std::string(display) + (*label ? " " : "") + label;
}

// The value for Ambrell's parameter index, read through its table against
// the plug-in's current values.
bool readAmbrellValue(PluginHost& host, VstInt32 index, const std::string& text, float& value,
                      std::string& error) {
    ParamBlock params;
    for (int i = 0; i < param::kCount; ++i) params.set(i, host.getParameter(i));
    const float rate = host.sampleRate();
    const parameter_text::Domain d = parameter_text::domain(index);
    switch (parameter_text::read(index, text.c_str(), params, rate, value)) {
        case parameter_text::Reading::kValue: return true;
        case parameter_text::Reading::kOutsideDomain: {
            char range[48];
            std::snprintf(range, sizeof range, "%g to %g", double(d.lo), double(d.hi));
            error = parameter_text::name(index) + std::string(" takes ") + range + ", shown as " +
                    shownText(params, index, d.lo, rate) + " to " + shownText(params, index, d.hi, rate);
            return false;
        }
        case parameter_text::Reading::kUnknown: break;
    }
    error = "not a value of " + std::string(parameter_text::name(index)) + ", which shows values such as '" +
            shownText(params, index, params.get(index), rate) + "'";
    if (d.whole) {
        error += "; its entries are";
        for (float v = d.lo; v <= d.hi; v += 1.0f) error += " '" + shownText(params, index, v, rate) + "'";
    }
    return false;
}

bool readPlainValue(const std::string& text, float& value, std::string& error) {
    double v;
    if (!parseNumber(text, 0.0, 1.0, v)) {
        error = "a number from 0 to 1 (orv-host knows no display texts of this plug-in)";
        return false;
    }
    value = static_cast<float>(v);
    return true;
}

bool applyOne(PluginHost& host, bool ambrell, const Setting& s, std::string& error) {
    const VstInt32 index = findParameter(host, ambrell, s.name, error);
    float value = 0.0f;
    const bool read = index >= 0 && (ambrell ? readAmbrellValue(host, index, s.value, value, error)
                                             : readPlainValue(s.value, value, error));
    if (!read) {
        error = "--set " + s.name + "=" + s.value + ": " + error;
        return false;
    }
    host.setParameter(index, value);
    return true;
}

}  // namespace

bool parseSetting(const std::string& text, Setting& out) {
    const std::size_t eq = text.find('=');
    if (eq == std::string::npos || eq == 0) return false;
    out = {text.substr(0, eq), text.substr(eq + 1)};
    return true;
}

bool applySettings(PluginHost& host, const std::vector<Setting>& settings, std::string& error) {
    if (settings.empty()) return true;
    const bool ambrell = isAmbrell(host);
    std::string ignored;
    for (const Setting& s : settings) applyOne(host, ambrell, s, ignored);
    for (const Setting& s : settings)
        if (!applyOne(host, ambrell, s, error)) return false;
    return true;
}
