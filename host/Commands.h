// orv-host's commands, one file each. Each takes the arguments after the
// command's name and answers the process exit status.
#pragma once

#include <string>
#include <vector>

using Args = std::vector<std::string>;

class PluginHost;

// info PLUGIN.so: identity, flags, parameters and programs of a plug-in.
int runInfo(const Args& args);
// What info prints, for a plug-in already loaded from module.
void printInfo(PluginHost& host, const std::string& module);
// preset save|load PLUGIN.so FILE.fxp|FILE.fxb ...: program and bank files.
int runPreset(const Args& args);
// edit PLUGIN.so: the plug-in's editor in a window until it is closed.
int runEdit(const Args& args);
// screenshot PLUGIN.so OUT.png [--program P] [--click X,Y]: a PNG of the
// editor on the current display.
int runScreenshot(const Args& args);
// render PLUGIN.so -o OUT.wav (--demo | --midi FILE.mid) [...]: plays a phrase
// or a MIDI file through a program into an audio file.
int runRender(const Args& args);
// bench PLUGIN.so ...: render speed, start-up time and memory.
int runBench(const Args& args);
// play PLUGIN.so [...]: the plug-in live as a JACK client, MIDI in, audio out.
int runPlay(const Args& args);

class PluginHost;
// Sets the program given by its exact name or its number (from 0); false,
// with the reason in error, when there is none such. (RenderCommand.cpp)
bool selectProgram(PluginHost& host, const std::string& wanted, std::string& error);
