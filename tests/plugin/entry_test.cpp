// The module as a host sees it: dlopen, look up the entry, call it.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include "plugin/vst2.h"

namespace {

VstIntPtr hostWithoutVersion(AEffect*, VstInt32, VstInt32, VstIntPtr, void*, float) { return 0; }

TEST(ModuleEntry, ExportsBothNames) {
    void* lib = dlopen(ORV_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    EXPECT_NE(dlsym(lib, "VSTPluginMain"), nullptr) << "the customary entry name";
    EXPECT_NE(dlsym(lib, "main"), nullptr) << "the older hosts' entry name";
    dlclose(lib);
}

TEST(ModuleEntry, HostThatAnswersNoVersionGetsNothing) {
    void* lib = dlopen(ORV_MODULE_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(lib, nullptr) << dlerror();
    using Entry = AEffect* (*)(audioMasterCallback);
    auto entry = reinterpret_cast<Entry>(dlsym(lib, "VSTPluginMain"));
    ASSERT_NE(entry, nullptr);
    EXPECT_EQ(entry(hostWithoutVersion), nullptr);
    dlclose(lib);
}

}  // namespace
