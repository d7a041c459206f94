// StatePrograms: the VST 2.x program and chunk requests of a plug-in whose
// format has no programs but whose state is Ambrell's (InstrumentState.h):
// the programs, their names, the current program, bank and program chunks
// are all read from that state and written back as one. The CLAP and the
// LV2 records (LoadedPlugin.h) answer those requests through it, so a
// preset file or a program moves between the formats unchanged.
//
// Every call reads (and a change writes) the whole state: orv-host asks
// for programs seldom, and never while audio runs.
#pragma once

#include <vector>

#include "plugin/vst2.h"

class StatePrograms {
public:
    virtual ~StatePrograms() = default;

    // Whether the plug-in's state is Ambrell's; programs exist only then.
    bool hasPrograms();
    // Answers effGetProgram, effSetProgram, effGetProgramName,
    // effGetProgramNameIndexed, effSetProgramName, effGetChunk and
    // effSetChunk into answer; false for any other request. A plug-in of
    // another state hands its whole state over as the chunk.
    bool programRequest(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, VstIntPtr& answer);

protected:
    // The plug-in's state through its format; false when it has none.
    virtual bool readState(std::vector<unsigned char>& state) = 0;
    virtual bool writeState(const std::vector<unsigned char>& state) = 0;

private:
    bool readBank(std::vector<unsigned char>& bank, int& program);
    bool writeBank(const std::vector<unsigned char>& bank, int program);

    std::vector<unsigned char> chunk_;  // what effGetChunk hands out
};
