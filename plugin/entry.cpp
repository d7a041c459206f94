// The module's exported entry point, under its two names.
#include "plugin/vst2.h"

#define ORV_EXPORT extern "C" __attribute__((visibility("default")))

ORV_EXPORT AEffect* VSTPluginMain(audioMasterCallback host);
// A shared object cannot define a C++ function named main; an assembler
// label on a second declaration gives the entry its second name.
ORV_EXPORT AEffect* orvMainAlias(audioMasterCallback host) __asm__("main");

AEffect* VSTPluginMain(audioMasterCallback host) {
    if (!host || host(nullptr, audioMasterVersion, 0, 0, nullptr, 0.0f) == 0) return nullptr;
    return nullptr;  // the plug-in object arrives with the shell
}

AEffect* orvMainAlias(audioMasterCallback host) { return VSTPluginMain(host); }
