// Program (.fxp) and bank (.fxb) files: round trips through Ambrell and a
// peer (amsynth), orv-host's preset command, and every malformed file
// refused with one line and nothing changed; every lie about sizes and
// counts refused by the reader itself, before any plug-in sees the data.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "engine/ParamBlock.h"
#include "host/core/PluginPreset.h"
#include "support/Command.h"
#include "support/ModuleHost.h"

// amsynth leaves its allocations behind when it is unloaded, which the
// sanitizer build would report as this program's leaks: leak checking is
// off here (the sanitizers' other checks stay on).
extern "C" __attribute__((visibility("default"))) int __lsan_is_turned_off() { return 1; }

namespace {

using Bytes = std::vector<unsigned char>;
// Peers: amsynth keeps its programs as chunks, Kars (DPF) as parameter
// values.
const char* const kPeer = "/usr/lib/vst/amsynth_vst.so";
const char* const kValuesPeer = "/usr/lib/vst/Kars-vst.so";

Bytes saved(PluginHost& host, bool bank) { return preset::write(preset::capture(host, bank)); }

// Reads and applies bytes; the error (empty when it loaded).
std::string applied(PluginHost& host, const Bytes& bytes) {
    preset::Preset p;
    std::string error;
    if (preset::read(bytes, p, error) && preset::apply(host, p, error)) return "";
    return error.empty() ? "refused without a reason" : error;
}

// The program edit() selects: 3, or the last of fewer.
VstInt32 editedProgram(PluginHost& host) { return std::min(3, host.effect()->numPrograms - 1); }

// A state far from the factory's: a program selected, edited and renamed.
void edit(PluginHost& host) {
    host.dispatch(effSetProgram, 0, editedProgram(host));
    for (VstInt32 i = 0; i < host.effect()->numParams; ++i) host.setParameter(i, float(i % 7) / 7.0f);
    char name[] = "Edited";
    host.dispatch(effSetProgramName, 0, 0, name);
}

void putU32(Bytes& b, std::size_t at, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b[at + i] = static_cast<unsigned char>(v >> (24 - 8 * i));
}

class Presets : public ::testing::TestWithParam<const char*> {
protected:
    void SetUp() override {
        ASSERT_TRUE(first.load(GetParam())) << first.error();
        ASSERT_TRUE(fresh.load(GetParam())) << fresh.error();
    }
    ModuleHost first, fresh;
};

TEST_P(Presets, BankAndProgramSurviveAFreshInstanceByteForByte) {
    edit(first);
    const Bytes bank = saved(first, true);
    ASSERT_EQ(applied(fresh, bank), "");
    EXPECT_EQ(fresh.dispatch(effGetProgram), editedProgram(fresh)) << "the bank's current program is restored";
    // amsynth's chunk is its current program as text: names stay with its
    // own programs, and values round to six digits. Kars keeps no names.
    const bool ours = std::string(GetParam()) == ORV_MODULE_PATH || std::string(GetParam()) == ORV_CLAP_PATH;
    if (ours) {
        EXPECT_EQ(fresh.programName(), "Edited");
    }
    for (VstInt32 i = 0; i < fresh.effect()->numParams; ++i)
        EXPECT_NEAR(fresh.getParameter(i), first.getParameter(i), ours ? 0.0 : 1e-5) << "parameter " << i;
    EXPECT_EQ(saved(fresh, true), bank) << "a bank loaded and saved again is the same file";

    first.setParameter(1, 0.25f);
    const Bytes program = saved(first, false);
    ModuleHost other;
    ASSERT_TRUE(other.load(GetParam()));
    other.dispatch(effSetProgram, 0, editedProgram(other));
    ASSERT_EQ(applied(other, program), "");
    EXPECT_NEAR(other.getParameter(1), 0.25f, 1e-5);
    EXPECT_EQ(saved(other, false), program) << "a program loaded and saved again is the same file";
}

INSTANTIATE_TEST_SUITE_P(OursAndPeers, Presets, ::testing::Values(ORV_MODULE_PATH, ORV_CLAP_PATH, kPeer, kValuesPeer));

class BadFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
        edit(host);
        program = saved(host, false);
        bank = saved(host, true);
        before = host.getChunk(false);
    }
    // The file is refused with one line, and the plug-in is as it was. A
    // lie about the file's own sizes and counts is the reader's to find,
    // before any plug-in sees the data: readerSays is the start of its
    // words, or null for what only the plug-in's side can tell.
    void expectRefused(const Bytes& bytes, const std::string& what, const char* readerSays) {
        if (readerSays) {
            preset::Preset p;
            std::string said;
            EXPECT_FALSE(preset::read(bytes, p, said)) << what << " passed the reader";
            EXPECT_EQ(said.rfind(readerSays, 0), 0u) << what << ": the reader said \"" << said << "\"";
        }
        const std::string error = applied(host, bytes);
        EXPECT_NE(error, "") << what << " was loaded";
        EXPECT_EQ(error.find('\n'), std::string::npos) << what << ": " << error;
        EXPECT_EQ(host.getChunk(false), before) << what << " changed the programs";
        EXPECT_EQ(host.dispatch(effGetProgram), 3) << what << " changed the current program";
    }
    ModuleHost host;
    Bytes program, bank, before;
};

TEST_F(BadFiles, TruncatedAnywhereOrLongerThanItSays) {
    for (const Bytes* file : {&program, &bank}) {
        for (std::size_t n = 0; n < file->size(); ++n)
            expectRefused(Bytes(file->begin(), file->begin() + long(n)), "cut at " + std::to_string(n), "");
        Bytes longer = *file;
        longer.push_back(0);
        expectRefused(longer, "a byte past the end", "the header gives");
    }
}

TEST_F(BadFiles, EveryTagSizeAndCountChecked) {
    // Offsets: 0 'CcnK', 4 size, 8 kind, 12 version, 16 id, 24 count;
    // program chunk size at 56, bank program count at 24, current at 28,
    // bank chunk size at 156.
    const struct {
        const Bytes& file;
        std::size_t at;
        std::uint32_t value;
        const char* what;
        const char* readerSays;
    } lies[] = {
        {program, 0, 0x43636E4C, "another file tag", "not a preset file"},
        {program, 4, std::uint32_t(program.size()), "a byte size one too large", "the header gives"},
        {program, 4, std::uint32_t(program.size() - 9), "a byte size one too small", "the header gives"},
        {program, 8, 0x46784B6B, "an unknown kind", "neither a program nor a bank"},
        {program, 8, 0x4678436B, "a parameter list where a chunk is", "44 parameters do not match"},
        {program, 12, 2, "program format version 2", "program format version 2"},
        {program, 16, 0x616D7379, "another plug-in's id", nullptr},
        {program, 24, 0xFFFFFFFF, "a negative parameter count", "negative parameter count"},
        {program, 56, 1221, "a chunk size past the end", "the chunk size 1221 does not match the 1220 bytes"},
        {program, 56, 0xFFFFFFFF, "a negative chunk size", "the chunk size -1 does not match"},
        {program, 56, 1219, "a chunk size short of the end", "the chunk size 1219 does not match the 1220 bytes"},
        {bank, 12, 3, "bank format version 3", "bank format version 3"},
        {bank, 16, 0x616D7379, "another plug-in's bank", nullptr},
        {bank, 24, 19, "19 programs", nullptr},
        {bank, 24, 0x80000000, "a negative program count", "negative program count"},
        {bank, 28, 20, "current program 20 of 20", "the current program 20 is not one of its 20"},
        {bank, 28, 0xFFFFFFFF, "current program -1", "the current program -1"},
        {bank, 156, 24399, "a bank chunk size short of the end", "the chunk size 24399 does not match the 24400"},
        {bank, 156, 0x7FFFFFFF, "a huge bank chunk size", "the chunk size 2147483647 does not match"},
    };
    for (const auto& lie : lies) {
        Bytes b = lie.file;
        putU32(b, lie.at, lie.value);
        expectRefused(b, lie.what, lie.readerSays);
    }
    Bytes badRecord = program;
    const float nan = std::numeric_limits<float>::quiet_NaN();
    std::memcpy(&badRecord[60 + 24], &nan, 4);  // value 0 inside the chunk
    expectRefused(badRecord, "a chunk the plug-in refuses", nullptr);
}

// Files of value lists, refused by the reader alone in its own words.
TEST(PresetReader, ValueListsThatLieAboutTheirCountsAreRefused) {
    preset::Preset honest;
    honest.isBank = true;
    honest.uniqueId = 0x416E7943;
    honest.parameterCount = 3;
    honest.currentProgram = 1;
    for (int p = 0; p < 4; ++p) honest.programs.push_back({"p" + std::to_string(p), {0.1f, 0.2f, float(p)}, {}, false});
    const Bytes bank = preset::write(honest);
    // Each program record is 56 + 3 x 4 = 68 bytes, from offset 156.
    const struct {
        std::size_t at;
        std::uint32_t value;
        const char* readerSays;
    } lies[] = {
        {24, 5, "5 programs cannot fit in 272 bytes"},
        {24, 3, "68 bytes after the last program"},
        {24, 0x7FFFFFFF, "2147483647 programs cannot fit"},
        {28, 4, "the current program 4 is not one of its 4"},
        {156 + 4, 61, "program 0 of the bank: 3 parameters do not match the 13 bytes"},
        {156 + 3 * 68 + 4, 61, "program 3 of the bank is truncated"},
        {156 + 4, 59, "program 0 of the bank: 3 parameters do not match the 11 bytes"},
        {156 + 68 + 24, 4, "program 1 of the bank: 4 parameters do not match the 12 bytes"},
        {156 + 3 * 68 + 24, 0xFFFFFFFF, "program 3 of the bank: negative parameter count"},
        {156 + 3 * 68 + 8, 0x46504368, "program 3 of the bank: a bank entry is not a list of parameter values"},
    };
    preset::Preset p;
    std::string error;
    ASSERT_TRUE(preset::read(bank, p, error)) << error;
    for (const auto& lie : lies) {
        Bytes b = bank;
        putU32(b, lie.at, lie.value);
        error.clear();
        EXPECT_FALSE(preset::read(b, p, error)) << lie.readerSays;
        EXPECT_EQ(error.rfind(lie.readerSays, 0), 0u) << "the reader said \"" << error << "\"";
    }
}

// A plug-in that takes a chunk of any size is never handed one from a file
// that lies: the reader is the only guard there is.
TEST(PresetReader, AFileThatLiesNeverReachesAPluginThatTakesAnyChunk) {
    ModuleHost host;
    ASSERT_TRUE(host.load(ANY_CHUNK_PLUGIN_PATH)) << host.error();
    void* module = dlopen(ANY_CHUNK_PLUGIN_PATH, RTLD_NOW | RTLD_NOLOAD);
    ASSERT_NE(module, nullptr);
    const auto loads = reinterpret_cast<int (*)()>(dlsym(module, "anyChunkLoads"));
    ASSERT_NE(loads, nullptr);
    const std::string path = ::testing::TempDir() + "orv-any-chunk.fxb";
    int handed = 0;
    for (const bool bank : {false, true}) {
        const Bytes honest = saved(host, bank);
        // The chunk's size field: after the 56-byte program or 156-byte bank header.
        const std::size_t sizeAt = bank ? 156 : 56, chunk = honest.size() - sizeAt - 4;
        std::vector<Bytes> lying;
        for (std::uint32_t size : {std::uint32_t(chunk - 1), std::uint32_t(chunk + 1), 0u, 0xFFFFFFFFu}) {
            lying.push_back(honest);
            putU32(lying.back(), sizeAt, size);
        }
        lying.push_back(honest);
        putU32(lying.back(), 4, std::uint32_t(honest.size() - 9));  // the file's own size, one short
        lying.push_back(Bytes(honest.begin(), honest.end() - 1));
        for (const Bytes& file : lying) {
            std::string error;
            ASSERT_TRUE(preset::writeFile(path, file, error)) << error;
            EXPECT_FALSE(preset::load(host, path, error)) << "a lying " << (bank ? "bank" : "program") << " loaded";
        }
        EXPECT_EQ(loads(), handed) << "the plug-in was handed a chunk from a lying " << (bank ? "bank" : "program");
        std::string error;
        ASSERT_TRUE(preset::writeFile(path, honest, error) && preset::load(host, path, error)) << error;
        EXPECT_EQ(loads(), ++handed) << "the honest file reaches it";
    }
    dlclose(module);
}

TEST(PresetFiles, APeersFilesAreRefusedByAmbrellAndTheOtherWayRound) {
    ModuleHost ours, peer;
    ASSERT_TRUE(ours.load(ORV_MODULE_PATH));
    ASSERT_TRUE(peer.load(kPeer)) << peer.error();
    const Bytes oursBefore = ours.getChunk(false);
    EXPECT_NE(applied(ours, saved(peer, true)), "");
    EXPECT_NE(applied(peer, saved(ours, false)), "");
    EXPECT_EQ(ours.getChunk(false), oursBefore);
}

// The command, as a user runs it: save the bank with program 7 current,
// load it and save it again, load it for the listing.
TEST(PresetCommand, SavesLoadsAndRendersThroughFiles) {
    const std::string dir = ::testing::TempDir();
    // The peer's own leaks at unload are not the host's to report.
    const std::string host = std::string("ASAN_OPTIONS=detect_leaks=0 ") + ORV_HOST_PATH + " ";
    const std::string module = std::string(ORV_MODULE_PATH) + " ";
    for (const char* plugin : {ORV_MODULE_PATH, kPeer}) {
        const std::string a = dir + "a.fxb", b = dir + "b.fxb";
        ASSERT_EQ(runCommand(host + "preset save " + plugin + " " + a + " --program 7").status, 0);
        ASSERT_EQ(runCommand(host + "preset save " + plugin + " " + b + " --preset " + a).status, 0);
        EXPECT_EQ(runCommand("cmp -s " + a + " " + b).status, 0) << plugin << ": the bank changed on a round trip";
        const CommandRun load = runCommand(host + "preset load " + plugin + " " + a);
        EXPECT_EQ(load.status, 0);
        EXPECT_NE(load.out.find("(current 7)"), std::string::npos) << load.out;
    }
    const std::string p = dir + "p.fxp";
    ASSERT_EQ(runCommand(host + "preset save " + module + p + " --program 9").status, 0);
    const CommandRun render =
        runCommand(host + "render " + module + "--demo --tail 0 -o " + dir + "p.wav --preset " + p + " 2>&1");
    EXPECT_EQ(render.status, 0) << render.out;
    const CommandRun refused = runCommand(host + "render " + kPeer + " --demo -o " + dir + "q.wav --preset " + p + " 2>&1");
    EXPECT_EQ(refused.status, 1);
    EXPECT_NE(refused.out.find("made for another plug-in"), std::string::npos) << refused.out;
}

}  // namespace
