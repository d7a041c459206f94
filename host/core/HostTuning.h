// HostTuning: the --tuning FILE.scl [--keymap FILE.kbm] options of orv-host.
//
// The files are read and checked here, so a faulty one is refused with its
// line before anything changes; the tuning then reaches Ambrell the way a
// saved project brings it, as a record of its saved state (HostState.h).
// Other plug-ins keep no tuning in their state and are refused.
#pragma once

#include <string>

#include "host/core/PluginHost.h"

// Nothing to do when scalePath is empty (and mapPath too). False with a
// one-line error otherwise.
bool applyTuning(PluginHost& host, const std::string& scalePath, const std::string& mapPath, std::string& error);
