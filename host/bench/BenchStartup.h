// orv-host bench --startup: how long a host waits for a new instance and how
// much resident memory each one adds.
//
// Loading the module (through ModuleLibrary, with the libraries it needs) is timed on its
// own; then each instance from the entry point to an instance that is open,
// has its sample rate and block size and is switched on (the host's effOpen,
// effSetSampleRate, effSetBlockSize, effMainsChanged), in wall-clock time
// since page faults and first touches are part of the wait. The first
// instance also builds what all instances share, and is shown apart. Each instance then plays one
// block of a note (untimed), so the memory counted is memory in use.
//
// With a display (DISPLAY set), the same for the editor: each instance gets
// a host window, and the time from effEditOpen until the first effEditIdle
// has returned (the editor is up and drawn) is measured, with the resident
// memory each open editor adds. The first editor also pays for the font
// machinery's start and is shown apart.
#pragma once

#include <string>

#include "host/bench/BenchSchedule.h"

int runStartup(const std::string& module, const BenchPlan& plan, int instances);
