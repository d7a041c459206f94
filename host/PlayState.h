// PlayState: what `orv-host play` keeps of a plug-in between runs, in a
// small file of its own: the current program and the whole bank as the
// plug-in hands it out (its bank chunk), or, for a plug-in without chunks,
// the current program's parameter values.
//
// The file is "ORVPLAY1", then little-endian 32-bit fields: the plug-in's
// unique id, the program, the kind (0 bank chunk, 1 parameters), the byte
// count; then the bytes.
// It stands in until the host reads and writes .fxb bank files.
//
// Main thread, with the plug-in loaded and not processing.
#pragma once

#include <string>

class PluginHost;

// False, with one line in error, when the file cannot be written.
bool savePlayState(PluginHost& host, const std::string& path, std::string& error);
// False, with one line in error, when the file is missing, damaged or made
// by another kind of plug-in; the plug-in is then left as it was.
bool loadPlayState(PluginHost& host, const std::string& path, std::string& error);
