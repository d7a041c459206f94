// orv-host bench --editor: what an open editor costs the host's ui thread.
//
// The plug-in's editor opens in a real X window (DISPLAY: Xvfb in the tests,
// any display by hand) and gets effEditIdle 30 times a second, as a DAW
// idles it, for a measured span twice: once with nothing changing, once
// while a second thread automates every parameter the way a host plays
// automation back (each one a new value every few milliseconds). For each
// span it prints the CPU time (CLOCK_THREAD_CPUTIME_ID) of the ui thread
// inside the effEditIdle calls as a share of one core ("% core"; what the
// editor costs), the same for the whole thread, its waits between the calls
// included ("thread %"; what a 30 Hz timer alone costs on this machine is
// part of it), the microseconds per idle call, and what the thread sent to
// the X server (bytes and write calls, from /proc: while the editor idles,
// its own connection is the only thing this thread writes to).
// The memory an open editor holds is bench --startup's.
//
// A measuring tool, not a test: the numbers depend on the machine.
#pragma once

#include <string>

// Answers the exit status: 0, or 1 with one line on the error stream when
// the plug-in cannot be loaded, has no editor or there is no display.
int runEditorBench(const std::string& module, double seconds);
