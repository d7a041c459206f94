// The module's one export, clap_entry, and its factory of one plug-in.
#include <cstring>
#include <new>

#include "clap/entry.h"
#include "clap/plugin-factory.h"
#include "shells/clap/ClapPlugin.h"

namespace {

// [main thread] Nothing to set up or tear down: every plug-in owns all it
// uses.
bool entryInit(const char*) { return true; }
void entryDeinit() {}

uint32_t pluginCount(const clap_plugin_factory_t*) { return 1; }

const clap_plugin_descriptor_t* pluginDescriptor(const clap_plugin_factory_t*, uint32_t index) {
    return index == 0 ? &ClapPlugin::descriptor : nullptr;
}

// [main thread]
const clap_plugin_t* createPlugin(const clap_plugin_factory_t*, const clap_host_t* host, const char* id) {
    if (!host || !id || std::strcmp(id, ClapPlugin::descriptor.id) != 0) return nullptr;
    if (!clap_version_is_compatible(host->clap_version)) return nullptr;
    ClapPlugin* plugin = new (std::nothrow) ClapPlugin(host);
    return plugin ? plugin->plugin() : nullptr;
}

const clap_plugin_factory_t factory = {pluginCount, pluginDescriptor, createPlugin};

const void* entryFactory(const char* id) {
    return id && std::strcmp(id, CLAP_PLUGIN_FACTORY_ID) == 0 ? &factory : nullptr;
}

}  // namespace

extern "C" {
#ifdef _WIN32
#define ORV_CLAP_EXPORT
#else
#define ORV_CLAP_EXPORT __attribute__((visibility("default")))
#endif
ORV_CLAP_EXPORT extern const clap_plugin_entry_t clap_entry = {CLAP_VERSION_INIT, entryInit, entryDeinit,
                                                               entryFactory};
}
