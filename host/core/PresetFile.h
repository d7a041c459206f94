// PresetFile: the common program (.fxp) and bank (.fxb) file layouts.
//
// A file is a 'CcnK' header (byte size, kind, format version, the plug-in's
// unique id and version) and then either parameter values ('FxCk' program,
// 'FxBk' bank of such programs) or the opaque chunk the plug-in gives for
// effGetChunk ('FPCh' program, 'FBCh' bank). Every number is big-endian.
//
// This unit only turns bytes into a Preset and back; it knows no plug-in.
// Reading checks every tag, size and count against the bytes actually there
// (and a bank's current program against its count) before it uses them, so
// a truncated file, or one that lies about its sizes, is refused with a
// one-line reason and nothing half-read escapes: no plug-in is asked to
// judge a chunk the file itself misstates.
// Writing and reading back give the same bytes. Any thread; no state.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace preset {

constexpr int kNameSize = 28;  // program name field, terminator included

// One program: its name and either its parameter values or its chunk.
struct Program {
    std::string name;                  // at most 27 characters
    std::vector<float> values;         // 'FxCk'
    std::vector<unsigned char> chunk;  // 'FPCh'
    bool isChunk = false;
};

struct Preset {
    bool isBank = false;
    std::int32_t uniqueId = 0;
    std::int32_t pluginVersion = 0;
    // A program file: program. A bank: programs ('FxBk') or chunk ('FBCh')
    // with programCount, and the current program (format version 2).
    Program program;
    std::vector<Program> programs;
    std::vector<unsigned char> chunk;
    bool isChunk = false;
    std::int32_t programCount = 0;
    std::int32_t currentProgram = 0;
    std::int32_t parameterCount = 0;  // of each 'FxCk' program
};

// The file's bytes. Bank files are written in format version 2.
std::vector<unsigned char> write(const Preset& preset);

// False, with the reason in error, when bytes are not a well-formed
// program or bank file.
bool read(const std::vector<unsigned char>& bytes, Preset& preset, std::string& error);

// A whole regular file, up to a size no preset comes near (64 MiB); false
// with error when it is anything else or cannot be read. Written as
// host/core/SafeFile.h writes: whole or not at all.
bool readFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& error);
bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error);

}  // namespace preset
