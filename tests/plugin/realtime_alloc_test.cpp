// The audio path allocates nothing: the C allocator is replaced in this test
// program and counts every call while the audio path runs.
//
// The module carries its own static C++ runtime with hidden symbols, so a
// replaced operator new here would never see its allocations. Its runtime
// does call malloc and friends through the dynamic linker, though, and a
// definition in the executable comes first in that lookup: counting there
// sees every heap call the module makes. The sanitizer build keeps its own
// allocator, so this test is skipped there.
#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <cstddef>
#include <vector>

#include "engine/ParamBlock.h"
#include "host/core/PluginHost.h"
#include "support/MidiEvents.h"

#ifndef ORV_SANITIZER_BUILD

extern "C" {
void* __libc_malloc(std::size_t size);
void* __libc_calloc(std::size_t count, std::size_t size);
void* __libc_realloc(void* p, std::size_t size);
void __libc_free(void* p);
void* __libc_memalign(std::size_t alignment, std::size_t size);
}

namespace {
std::atomic<bool> counting{false};
std::atomic<long> heapCalls{0};
void count() {
    if (counting.load(std::memory_order_relaxed)) heapCalls.fetch_add(1, std::memory_order_relaxed);
}
}  // namespace

extern "C" {
void* malloc(std::size_t size) {
    count();
    return __libc_malloc(size);
}
void* calloc(std::size_t n, std::size_t size) {
    count();
    return __libc_calloc(n, size);
}
void* realloc(void* p, std::size_t size) {
    count();
    return __libc_realloc(p, size);
}
void free(void* p) {
    if (p) count();
    __libc_free(p);
}
void* memalign(std::size_t alignment, std::size_t size) {
    count();
    return __libc_memalign(alignment, size);
}
void* aligned_alloc(std::size_t alignment, std::size_t size) {
    count();
    return __libc_memalign(alignment, size);
}
int posix_memalign(void** out, std::size_t alignment, std::size_t size) {
    count();
    void* p = __libc_memalign(alignment, size);
    if (!p) return ENOMEM;
    *out = p;
    return 0;
}
}

#endif

namespace {

using namespace midi;

// Counts the heap calls made while `run` runs.
template <typename F>
long heapCallsDuring(F&& run) {
#ifdef ORV_SANITIZER_BUILD
    run();
    return 0;
#else
    heapCalls.store(0);
    counting.store(true);
    run();
    counting.store(false);
    return heapCalls.load();
#endif
}

class Realtime : public ::testing::Test {
protected:
    void SetUp() override {
#ifdef ORV_SANITIZER_BUILD
        GTEST_SKIP() << "the sanitizers own malloc in this build";
#endif
        ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
        host.resume();
    }
    // The host's own side prepared up front, so that only the plug-in runs
    // while counting: a plain PluginHost answers without allocating.
    PluginHost host;
};

TEST_F(Realtime, TheCounterSeesTheModulesAllocations) {
    // Without this the zero below would prove nothing.
    PluginHost second;
    const long calls = heapCallsDuring([&] { second.load(ORV_MODULE_PATH); });
    EXPECT_GT(calls, 0) << "creating a plug-in allocates, and the hook counts it";
}

TEST_F(Realtime, TheAudioPathAllocatesNothing) {
    AEffect* effect = host.effect();
    constexpr VstInt32 kBlock = 256;
    std::vector<float> left(kBlock), right(kBlock);
    float* outputs[] = {left.data(), right.data()};

    // Every kind of event the audio thread handles, in a few lists.
    std::vector<VstMidiEvent> notes{noteOn(0, 36, 127), noteOn(17, 48, 90), noteOff(40, 48),
                                    noteOn(80, 60, 0), noteOff(100, 36), pitchBend(120, 0),
                                    pitchBend(121, 127), noteOn(200, 72)};
    std::vector<VstMidiEvent> controls{controller(0, 36, 10), controller(3, 38, 100),
                                       controller(5, 20, 64), controller(9, 1, 1),
                                       controller(250, 123, 0), noteOn(255, 40)};
    std::vector<VstMidiEvent> flood(600, controller(0, 36, 64));
    VstEventList noteList(notes.data(), notes.size());
    VstEventList controlList(controls.data(), controls.size());
    VstEventList floodList(flood.data(), flood.size());
    // A tuning message (key 60 a quarter tone up) between two notes.
    unsigned char retune[] = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 60, 60, 0x20, 0x00, 0xF7};
    VstMidiSysexEvent sysex{};
    sysex.type = kVstSysExType;
    sysex.byteSize = sizeof(sysex);
    sysex.deltaFrames = 30;
    sysex.dumpBytes = sizeof(retune);
    sysex.sysexDump = reinterpret_cast<char*>(retune);
    VstMidiEvent around[] = {noteOn(10, 60), noteOff(90, 60)};
    VstEventList tuningList({reinterpret_cast<VstEvent*>(&around[0]), reinterpret_cast<VstEvent*>(&sysex),
                             reinterpret_cast<VstEvent*>(&around[1])});
    VstTimeInfo time = host.timeInfo();

    const long calls = heapCallsDuring([&] {
        for (int block = 0; block < 4000; ++block) {
            switch (block % 50) {
            case 0:
                effect->dispatcher(effect, effProcessEvents, 0, 0, noteList.get(), 0.0f);
                break;
            case 10:
                // Controller learn in both forms, then the mapped controllers.
                effect->setParameter(effect, param::kControllerLearn, 1.0f);
                effect->setParameter(effect, param::kLearnAllPrograms, 1.0f);
                effect->dispatcher(effect, effProcessEvents, 0, 0, controlList.get(), 0.0f);
                break;
            case 20:
                effect->dispatcher(effect, effSetProgram, 0, (block / 50) % 20, nullptr, 0.0f);
                break;
            case 30:
                effect->dispatcher(effect, effProcessEvents, 0, 0, floodList.get(), 0.0f);
                break;
            case 35:
                effect->dispatcher(effect, effProcessEvents, 0, 0, tuningList.get(), 0.0f);
                break;
            case 40:
                // A host without time information half of the time.
                host.setTimeInfo((block / 50) % 2 ? nullptr : &time);
                effect->dispatcher(effect, effProcessEvents, 0, 0, noteList.get(), 0.0f);
                break;
            }
            effect->processReplacing(effect, nullptr, outputs, kBlock);
        }
    });
    EXPECT_EQ(calls, 0) << "4000 blocks with notes, controllers, learn and program changes";
}

}  // namespace
