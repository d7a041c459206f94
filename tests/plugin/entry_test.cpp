// The module as a host first meets it: its exported names, the entry point's
// version check and the AEffect record it hands back.
#include <gtest/gtest.h>

#include <cstdio>
#include <set>
#include <sstream>
#include <string>

#include "host/core/ModuleLibrary.h"
#include "support/ModuleHost.h"

namespace {

// The DLL's export table is read from outside, with objdump
// (scripts/check-dll.sh), when the Windows tests run.
#ifndef _WIN32
// Names the module defines in its dynamic symbol table. Sanitizer builds
// also carry the sanitizers' own hooks, which are not ours.
std::set<std::string> exportedNames() {
    std::set<std::string> names;
    FILE* nm = popen("nm -D --defined-only " ORV_MODULE_PATH, "r");
    if (!nm) return names;
    char line[512];
    while (std::fgets(line, sizeof(line), nm)) {
        std::istringstream fields(line);
        std::string address, kind, name;
        if (!(fields >> address >> kind >> name)) continue;
#ifdef ORV_SANITIZER_BUILD
        if (name.rfind("__asan", 0) == 0 || name.rfind("__ubsan", 0) == 0 ||
            name.rfind("__odr_asan", 0) == 0 || name.rfind("__sanitizer", 0) == 0)
            continue;
#endif
        names.insert(name);
    }
    pclose(nm);
    return names;
}

TEST(ModuleEntry, ExportsOnlyItsTwoEntryNames) {
    EXPECT_EQ(exportedNames(), (std::set<std::string>{"VSTPluginMain", "main"}))
        << "the module exports VSTPluginMain and main and nothing else of ours";
}
#endif

VstIntPtr plainHost(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    return opcode == audioMasterVersion ? 2400 : 0;
}

TEST(ModuleEntry, BothNamesBuildAPlugin) {
    std::string error;
    void* lib = module_library::open(ORV_MODULE_PATH, error);
    ASSERT_NE(lib, nullptr) << error;
    using Entry = AEffect* (*)(audioMasterCallback);
    for (const char* name : {"VSTPluginMain", "main"}) {
        auto entry = reinterpret_cast<Entry>(module_library::find(lib, name));
        ASSERT_NE(entry, nullptr) << name << " is exported";
        AEffect* e = entry(plainHost);
        ASSERT_NE(e, nullptr) << name << " returns a record";
        EXPECT_EQ(e->uniqueID, 0x31313132) << name << " builds Ambrell";
        EXPECT_EQ(e->dispatcher(e, effClose, 0, 0, nullptr, 0.0f), 1);
    }
    module_library::close(lib);
}

TEST(ModuleEntry, HostWithoutVersionGetsNothingAndNothingIsBuilt) {
    ModuleHost host;
    host.setVersionAnswer(0);
    EXPECT_FALSE(host.load(ORV_MODULE_PATH)) << "a host answering version 0 gets a null record";
    const auto requests = host.requests();
    ASSERT_EQ(requests.size(), 1u) << "only the version question is asked";
    EXPECT_EQ(requests[0].opcode, audioMasterVersion);
    EXPECT_FALSE(requests[0].hadEffect) << "the version question names no effect";
    EXPECT_EQ(host.countRequests(audioMasterWantMidi), 0)
        << "no plug-in object was constructed (its constructor asks for MIDI)";
}

TEST(ModuleEntry, RecordReadsAsTheHostExpects) {
    ModuleHost host;
    ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
    const AEffect* e = host.effect();
    EXPECT_EQ(e->magic, 0x56737450) << "magic 'VstP'";
    EXPECT_EQ(e->numPrograms, 20);
    EXPECT_EQ(e->numParams, 44);
    EXPECT_EQ(e->numInputs, 0) << "an instrument has no audio inputs";
    EXPECT_EQ(e->numOutputs, 2);
    EXPECT_EQ(e->flags, 0x131) << "editor, replacing, program chunks, synth";
    EXPECT_EQ(e->uniqueID, 0x31313132) << "unique id '1112'";
    EXPECT_EQ(e->version, 1);
    EXPECT_EQ(e->initialDelay, 0);
    EXPECT_EQ(e->realQualities, 0);
    EXPECT_EQ(e->offQualities, 0);
    EXPECT_EQ(e->ioRatio, 1.0f);
    EXPECT_NE(e->object, nullptr) << "object points at the plug-in";
    EXPECT_EQ(e->user, nullptr);
    EXPECT_NE(e->dispatcher, nullptr);
    EXPECT_NE(e->process, nullptr);
    EXPECT_NE(e->setParameter, nullptr);
    EXPECT_NE(e->getParameter, nullptr);
    EXPECT_NE(e->processReplacing, nullptr);
    EXPECT_NE(e->processDoubleReplacing, nullptr);
    EXPECT_EQ(e->flags & effFlagsCanDoubleReplacing, 0) << "double precision is not offered";
    for (char c : e->future) EXPECT_EQ(c, 0) << "the future bytes stay zero";
}

TEST(ModuleEntry, ConstructionAsksForMidiWithItsOwnRecord) {
    ModuleHost host;
    ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
    const auto requests = host.requests();
    ASSERT_GE(requests.size(), 2u);
    EXPECT_EQ(requests[0].opcode, audioMasterVersion) << "the version question comes first";
    EXPECT_EQ(requests[1].opcode, audioMasterWantMidi) << "then the constructor wants MIDI";
    EXPECT_EQ(requests[1].value, 1);
    EXPECT_TRUE(requests[1].hadEffect) << "requests after the version name the effect";
}

}  // namespace
