// The module's exported entry point, under its two names.
#include "plugin/OrvVst.h"
#include "plugin/vst2.h"

// On Windows, plugin/exports.def names the exports; elsewhere everything is
// hidden but what is marked.
#ifdef _WIN32
#define ORV_EXPORT extern "C"
#else
#define ORV_EXPORT extern "C" __attribute__((visibility("default")))
#endif

ORV_EXPORT AEffect* VSTPluginMain(audioMasterCallback host);
// A shared object cannot define a C++ function named main; an assembler
// label on a second declaration gives the entry its second name.
ORV_EXPORT AEffect* orvMainAlias(audioMasterCallback host) __asm__("main");

// [main thread] A host that does not answer the version request (answer 0)
// gets nothing, and nothing is created.
AEffect* VSTPluginMain(audioMasterCallback host) {
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    AudioEffect* effect = createEffectInstance(host);
    return effect ? effect->getAeffect() : nullptr;
}

AEffect* orvMainAlias(audioMasterCallback host) { return VSTPluginMain(host); }
