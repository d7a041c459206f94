// A stand-in plug-in for tests of the preset files: it keeps its programs
// as chunks and takes a chunk of any size without a word, as some plug-ins
// do, so nothing but the file reader stands between it and a cut-off chunk.
// anyChunkLoads() tells how many chunks it was handed.
#include <cstring>

#include "plugin/vst2.h"

namespace {

int loads = 0;
unsigned char programChunk[100], bankChunk[300];

VstIntPtr dispatcher(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void* ptr, float) {
    switch (opcode) {
    case effGetChunk:
        if (!ptr) return 0;
        *static_cast<void**>(ptr) = index ? programChunk : bankChunk;
        return index ? VstIntPtr(sizeof programChunk) : VstIntPtr(sizeof bankChunk);
    case effSetChunk:
        ++loads;
        return 1;
    case effGetProgram:
        return 0;
    default:
        return 0;
    }
}

void processReplacing(AEffect*, float**, float**, VstInt32) {}
void setParameter(AEffect*, VstInt32, float) {}
float getParameter(AEffect*, VstInt32) { return 0.0f; }

AEffect effect = [] {
    AEffect e{};
    e.magic = kEffectMagic;
    e.dispatcher = dispatcher;
    e.setParameter = setParameter;
    e.getParameter = getParameter;
    e.processReplacing = processReplacing;
    e.numPrograms = 4;
    e.numParams = 3;
    e.numOutputs = 2;
    e.flags = effFlagsProgramChunks | effFlagsCanReplacing;
    e.uniqueID = 0x416E7943;  // 'AnyC'
    e.version = 1;
    return e;
}();

}  // namespace

extern "C" __attribute__((visibility("default"))) AEffect* VSTPluginMain(audioMasterCallback) {
    for (std::size_t i = 0; i < sizeof bankChunk; ++i) bankChunk[i] = static_cast<unsigned char>(i * 7);
    std::memcpy(programChunk, bankChunk + 100, sizeof programChunk);
    return &effect;
}

extern "C" __attribute__((visibility("default"))) int anyChunkLoads() { return loads; }
