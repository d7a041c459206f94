// HostState: orv-host's settings that Ambrell keeps in its saved state,
// beside the programs (plugin/StateTrailer.h): they reach the plug-in the
// way a saved project brings them, as a record of the trailer after its
// bank chunk. The bank is read, the one record put in or taken out, the
// others kept, and the bank handed back. Other plug-ins keep no such
// records and are refused.
#pragma once

#include <string>

#include "host/core/PluginHost.h"

// Sets Ambrell's record tagged tag to bytes, or removes it when bytes is
// null. False with a one-line error: what names the setting ("tuning").
bool putStateRecord(PluginHost& host, const char* tag, const std::string* bytes, const std::string& what,
                    std::string& error);

// --oscillators classic|clean. Nothing to do when mode is empty.
bool applyOscillators(PluginHost& host, const std::string& mode, std::string& error);
