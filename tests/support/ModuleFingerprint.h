// ModuleFingerprint: what a host can observe of a loaded module, written to
// a text file so that two builds of it (Linux .so, Windows .dll) can be
// compared across the platforms.
//
// Exact entries: the identity, every parameter's name, label, value and
// display text, every program's name, the bank and program chunks of the
// factory state and of an edited one (a parameter pattern on program 3), as
// hexadecimal bytes. Measured entries: the demo phrase rendered through each
// factory program, its pitch (the strongest spectral peak, in cents) and
// level (RMS, dB) in three stretches: the bass riff, the held C4 and the low
// C1 at the end. The C runtimes' maths differ in the last bits, so renders
// are compared by these measures, not by their samples.
//
// The file: one "key value" line per entry, keys in order.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "support/ModuleHost.h"

struct ModuleFingerprint {
    std::map<std::string, std::string> exact;
    std::map<std::string, double> measured;  // "render.<program>.<stretch>.pitch|level"

    // Reads everything from the loaded plug-in, switched off, from the one
    // thread that drives it (it switches it on to render). The plug-in ends
    // up on program 0 with the factory bank loaded again, switched off.
    static ModuleFingerprint of(ModuleHost& host);

    bool write(const std::string& path) const;
    // False when the file is missing or a line is not "key value".
    static bool read(const std::string& path, ModuleFingerprint& out);
};

// The program that the edited state changes, and the values it is given
// (what the plug-in keeps of them is in "edited.param.<i>.value").
constexpr int kEditedProgram = 3;
float editedValue(int parameter);

// A float's bits as eight hexadecimal digits: values compared exactly.
std::string floatBits(float value);
std::vector<unsigned char> fromHex(const std::string& hex);
std::string toHex(const std::vector<unsigned char>& bytes);
