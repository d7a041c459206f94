// The LV2 plug-in's entry: lv2_descriptor, the only name the plug-in side
// of the binary exports, and its state interface.
#include <lv2/state/state.h>

#include <cstring>
#include <new>
#include <vector>

#include "shells/lv2/Lv2Identity.h"
#include "shells/lv2/Lv2Instance.h"

namespace {

Lv2Instance* self(LV2_Handle handle) { return static_cast<Lv2Instance*>(handle); }

// [main thread]
LV2_Handle instantiate(const LV2_Descriptor*, double rate, const char*, const LV2_Feature* const* features) {
    if (!(rate > 0.0)) return nullptr;
    auto* instance = new (std::nothrow) Lv2Instance(rate, features);
    if (instance && !instance->valid()) {
        delete instance;
        return nullptr;
    }
    return instance;
}

void connectPort(LV2_Handle h, uint32_t port, void* data) { self(h)->connect(port, data); }
void activate(LV2_Handle h) { self(h)->activate(); }
void run(LV2_Handle h, uint32_t frames) { self(h)->run(frames); }
void deactivate(LV2_Handle h) { self(h)->deactivate(); }
void cleanup(LV2_Handle h) { delete self(h); }

LV2_State_Status save(LV2_Handle h, LV2_State_Store_Function store, LV2_State_Handle handle, uint32_t,
                      const LV2_Feature* const*) {
    std::vector<unsigned char> bytes;
    if (!self(h)->save(bytes)) return LV2_STATE_ERR_UNKNOWN;
    return store(handle, self(h)->stateKey(), bytes.data(), bytes.size(), self(h)->chunkType(),
                 LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE);
}

LV2_State_Status restore(LV2_Handle h, LV2_State_Retrieve_Function retrieve, LV2_State_Handle handle, uint32_t,
                         const LV2_Feature* const*) {
    std::size_t size = 0;
    uint32_t type = 0, flags = 0;
    const void* data = retrieve(handle, self(h)->stateKey(), &size, &type, &flags);
    if (!data) return LV2_STATE_ERR_NO_PROPERTY;
    return self(h)->restore(data, size, type) ? LV2_STATE_SUCCESS : LV2_STATE_ERR_BAD_TYPE;
}

const LV2_State_Interface kState = {save, restore};

const void* extensionData(const char* uri) {
    return std::strcmp(uri, LV2_STATE__interface) == 0 ? &kState : nullptr;
}

const LV2_Descriptor kDescriptor = {lv2_identity::kPluginUri, instantiate, connectPort, activate, run,
                                    deactivate, cleanup, extensionData};

}  // namespace

extern "C" __attribute__((visibility("default"))) const LV2_Descriptor* lv2_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
