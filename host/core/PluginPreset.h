// PluginPreset: a plug-in's state as a preset (PresetFile.h), and back.
//
// capture takes the current program, or the whole bank, from any VST 2.x
// plug-in: its chunk when the plug-in keeps its programs as chunks
// (effFlagsProgramChunks), else its parameter values and program names.
// apply checks everything it can against the plug-in first (unique id,
// parameter and program counts, the current program) and changes nothing
// when a check fails. A chunk the plug-in refuses is reported too: what it
// does with a refused chunk is up to the plug-in (Ambrell keeps its state).
//
// Call from the thread that drives the host, with no audio running.
#pragma once

#include <string>

#include "host/core/PluginHost.h"
#include "host/core/PresetFile.h"

namespace preset {

Preset capture(PluginHost& host, bool bank);

bool apply(PluginHost& host, const Preset& preset, std::string& error);

// Reads and applies a file; false with a one-line error ("FILE: reason").
bool load(PluginHost& host, const std::string& path, std::string& error);
// Captures the current program or the bank and writes it to path; false
// with a one-line error.
bool save(PluginHost& host, const std::string& path, bool bank, std::string& error);

}  // namespace preset
