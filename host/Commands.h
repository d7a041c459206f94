// orv-host's commands, one file each. Each takes the arguments after the
// command's name and answers the process exit status.
#pragma once

#include <string>
#include <vector>

using Args = std::vector<std::string>;

// info PLUGIN.so: identity, flags, parameters and programs of a plug-in.
int runInfo(const Args& args);
int runBench(const Args& args);  // bench PLUGIN.so ...: render speed, start-up, memory
