// LoadedPlugin: one plug-in of any format, opened from its file, as
// orv-host's commands drive it: through the VST 2.x record (AEffect) and its
// requests, which every command already speaks. A VST 2.x module hands over
// its own record; a plug-in of another format is presented through one its
// host makes (ClapHost.h), answering each request with that format's calls.
//
// openPlugin chooses by the file's form: a ".clap" file is a CLAP plug-in,
// a folder with a manifest.ttl or a URI an LV2 plug-in, anything else a
// VST 2.x module. The plug-in's requests go to callback,
// with the record as their first argument (null while a VST 2.x entry point
// runs its version check).
//
// The record lives until effClose is dispatched; the LoadedPlugin, which
// holds the module, is destroyed after it.
#pragma once

#include <memory>
#include <string>

#include "plugin/vst2.h"

class LoadedPlugin {
public:
    virtual ~LoadedPlugin() = default;
    virtual AEffect* effect() = 0;
    // "VST 2.x", "CLAP", "LV2".
    virtual const char* formatName() const = 0;
};

// What a record made by a host answers alike for every format behind it.
// text into a request's buffer (hosts hand at least 256 bytes): 1, or 0
// without a buffer.
VstIntPtr recordText(void* ptr, const std::string& text);
// effCanDo of an instrument that takes MIDI and the host's time: 1, else -1.
VstIntPtr recordCanDo(const void* ptr);

// Null, with a one-line message in error, when the file cannot be opened
// or holds no plug-in of its format.
std::unique_ptr<LoadedPlugin> openPlugin(const std::string& file, audioMasterCallback callback, std::string& error);
