#include "host/core/PluginPreset.h"

#include <cctype>
#include <vector>

namespace preset {
namespace {

bool keepsChunks(const AEffect* e) { return (e->flags & effFlagsProgramChunks) != 0; }

// The bytes of effGetChunk (index 1: the current program, 0: the bank).
std::vector<unsigned char> chunkOf(PluginHost& host, bool program) {
    void* data = nullptr;
    const VstIntPtr size = host.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    if (!data || size <= 0) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

Program programOf(PluginHost& host) {
    Program p;
    p.name = host.programName();
    const AEffect* e = host.effect();
    p.isChunk = keepsChunks(e);
    if (p.isChunk) {
        p.chunk = chunkOf(host, true);
    } else {
        for (VstInt32 i = 0; i < e->numParams; ++i) p.values.push_back(host.getParameter(i));
    }
    return p;
}

std::string idText(VstInt32 id) {
    std::string text;
    for (int shift = 24; shift >= 0; shift -= 8) {
        const char c = char((id >> shift) & 0xFF);
        text += std::isprint(static_cast<unsigned char>(c)) ? c : '?';
    }
    return "'" + text + "'";
}

// Many plug-ins answer 0 to every effSetChunk, loaded or not: an answer of
// 0 counts as a refusal only when the plug-in's chunk is not now the one
// it was given.
bool setChunk(PluginHost& host, const std::vector<unsigned char>& chunk, bool program) {
    // The plug-in may keep the pointer only for the call. A zero byte after
    // the chunk (not counted in its size) keeps plug-ins that read their
    // chunk as text (amsynth does) from reading past it.
    std::vector<unsigned char> copy = chunk;
    copy.push_back(0);
    if (host.dispatch(effSetChunk, program ? 1 : 0, VstIntPtr(chunk.size()), copy.data()) != 0) return true;
    return chunkOf(host, program) == chunk;
}

void setValues(PluginHost& host, const Program& p) {
    std::vector<char> name(p.name.begin(), p.name.end());
    name.push_back('\0');
    host.dispatch(effSetProgramName, 0, 0, name.data());
    for (std::size_t i = 0; i < p.values.size(); ++i) host.setParameter(VstInt32(i), p.values[i]);
}

// Every check that needs no change to the plug-in.
bool check(const AEffect* e, const Preset& p, std::string& error) {
    if (p.uniqueId != e->uniqueID)
        return error = "made for another plug-in (id " + idText(p.uniqueId) + ", this one is " +
                       idText(e->uniqueID) + ")",
               false;
    const bool chunk = p.isBank ? p.isChunk : p.program.isChunk;
    if (chunk && !keepsChunks(e)) return error = "holds a chunk, but the plug-in keeps no chunks", false;
    if (!chunk && p.parameterCount != e->numParams)
        return error = "holds " + std::to_string(p.parameterCount) + " parameters, the plug-in has " +
                       std::to_string(e->numParams),
               false;
    if (!p.isBank) return true;
    const std::int32_t count = p.isChunk ? p.programCount : std::int32_t(p.programs.size());
    if (count != e->numPrograms)
        return error = "holds " + std::to_string(count) + " programs, the plug-in has " +
                       std::to_string(e->numPrograms),
               false;
    if (p.currentProgram < 0 || p.currentProgram >= count)
        return error = "its current program " + std::to_string(p.currentProgram) + " is not one of its " +
                       std::to_string(count),
               false;
    return true;
}

}  // namespace

Preset capture(PluginHost& host, bool bank) {
    const AEffect* e = host.effect();
    Preset p;
    p.isBank = bank;
    p.uniqueId = e->uniqueID;
    p.pluginVersion = e->version;
    p.parameterCount = e->numParams;
    if (!bank) {
        p.program = programOf(host);
        return p;
    }
    p.programCount = e->numPrograms;
    p.currentProgram = VstInt32(host.dispatch(effGetProgram));
    p.isChunk = keepsChunks(e);
    if (p.isChunk) {
        p.chunk = chunkOf(host, false);
        return p;
    }
    for (VstInt32 i = 0; i < e->numPrograms; ++i) {
        host.dispatch(effSetProgram, 0, i);
        p.programs.push_back(programOf(host));
    }
    host.dispatch(effSetProgram, 0, p.currentProgram);
    return p;
}

bool apply(PluginHost& host, const Preset& p, std::string& error) {
    if (!check(host.effect(), p, error)) return false;
    if (!p.isBank) {
        if (p.program.isChunk) {
            if (!setChunk(host, p.program.chunk, true)) return error = "the plug-in refused the program's chunk", false;
        } else {
            setValues(host, p.program);
        }
        return true;
    }
    if (p.isChunk) {
        // The current program is selected first: some plug-ins' bank chunk
        // is the state of their current program only, which selecting a
        // program afterwards would replace.
        const VstIntPtr previous = host.dispatch(effGetProgram);
        host.dispatch(effSetProgram, 0, p.currentProgram);
        if (!setChunk(host, p.chunk, false)) {
            host.dispatch(effSetProgram, 0, previous);
            return error = "the plug-in refused the bank's chunk", false;
        }
        return true;
    }
    for (std::size_t i = 0; i < p.programs.size(); ++i) {
        host.dispatch(effSetProgram, 0, VstIntPtr(i));
        setValues(host, p.programs[i]);
    }
    host.dispatch(effSetProgram, 0, p.currentProgram);
    return true;
}

bool load(PluginHost& host, const std::string& path, std::string& error) {
    std::vector<unsigned char> bytes;
    Preset p;
    if (!readFile(path, bytes, error)) return false;
    if (!read(bytes, p, error) || !apply(host, p, error)) return error = path + ": " + error, false;
    return true;
}

bool save(PluginHost& host, const std::string& path, bool bank, std::string& error) {
    return writeFile(path, write(capture(host, bank)), error);
}

}  // namespace preset
