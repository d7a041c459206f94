#include "host/core/LoadedPlugin.h"

#include "host/core/ClapHost.h"
#ifndef _WIN32  // LV2 is hosted on Linux only, through lilv
#include "host/core/Lv2Record.h"
#endif
#include "host/core/ModuleLibrary.h"

#include <cstdio>
#include <cstring>

namespace {

// A VST 2.x module: its entry point (VSTPluginMain, or main for older
// modules) makes the record.
class VstModule : public LoadedPlugin {
public:
    ~VstModule() override {
        if (library_) module_library::close(library_);
    }

    bool open(const std::string& file, audioMasterCallback callback, std::string& error) {
        library_ = module_library::open(file, error);
        if (!library_) return false;
        using Entry = AEffect* (*)(audioMasterCallback);
        auto entry = reinterpret_cast<Entry>(module_library::find(library_, "VSTPluginMain"));
        if (!entry) entry = reinterpret_cast<Entry>(module_library::find(library_, "main"));
        if (!entry) {
            error = file + ": no VSTPluginMain or main entry point";
            return false;
        }
        AEffect* e = entry(callback);
        if (!e || e->magic != kEffectMagic) {
            error = file + (e ? ": the entry point returned no VST plug-in" : ": the plug-in refused to load");
            return false;
        }
        effect_ = e;
        return true;
    }

    AEffect* effect() override { return effect_; }
    const char* formatName() const override { return "VST 2.x"; }

private:
    void* library_ = nullptr;
    AEffect* effect_ = nullptr;
};

bool endsWith(const std::string& text, const std::string& end) {
    return text.size() >= end.size() && text.compare(text.size() - end.size(), end.size(), end) == 0;
}

}  // namespace

VstIntPtr recordText(void* ptr, const std::string& text) {
    if (!ptr) return 0;
    std::snprintf(static_cast<char*>(ptr), 256, "%s", text.c_str());
    return 1;
}

VstIntPtr recordCanDo(const void* ptr) {
    static const char* const kCapabilities[] = {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents",
                                                "receiveVstTimeInfo"};
    if (!ptr) return 0;
    for (const char* c : kCapabilities)
        if (std::strcmp(static_cast<const char*>(ptr), c) == 0) return 1;
    return -1;
}

std::unique_ptr<LoadedPlugin> openPlugin(const std::string& file, audioMasterCallback callback, std::string& error) {
    if (endsWith(file, ".clap")) {
        auto clap = std::make_unique<ClapHost>();
        if (!clap->open(file, callback, error)) return nullptr;
        return clap;
    }
#ifndef _WIN32
    if (Lv2Host::looksLikeLv2(file)) {
        auto lv2 = std::make_unique<Lv2Record>();
        if (!lv2->open(file, callback, error)) return nullptr;
        return lv2;
    }
#endif
    auto vst = std::make_unique<VstModule>();
    if (!vst->open(file, callback, error)) return nullptr;
    return vst;
}
