// ParameterSetting: --set NAME=VALUE, as every orv-host command reads it.
//
// NAME is a parameter's name in any case ("cutoff"), for Ambrell also the
// label on its panel ("osc 1 wave", "osc1wave"), or its index. VALUE is a
// plain number, the value stored as it is, within the parameter's domain;
// for Ambrell also a value as its display shows it ("2kHz", "pulse",
// "62 ms", "LP 24dB"), read by the plug-in's own table
// (plugin/ParameterReading.h). Other plug-ins' display texts are unknown
// to orv-host: a plain number from 0 to 1 only.
#pragma once

#include <string>
#include <vector>

class PluginHost;

struct Setting {
    std::string name, value;
};

// Splits "NAME=VALUE" (the value may be empty or hold '='); false without
// a name or an '='.
bool parseSetting(const std::string& text, Setting& out);

// Sets each parameter in order. Display texts may depend on other
// parameters (an LFO's depth on its destination, the cutoff on the filter
// type), so the whole list is set twice and only the second pass judges:
// the order on the command line does not matter. False, with one line in
// error ("--set NAME=VALUE: why"), at the first that cannot be placed; what
// was set before it stays set.
bool applySettings(PluginHost& host, const std::vector<Setting>& settings, std::string& error);

