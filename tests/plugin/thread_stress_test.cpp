// The built module under a host's threads at once, for ORV_STRESS_SECONDS
// (20 unless set), one thread for each tag of AudioEffect.h (automation is
// the [any thread] one):
//   audio       blocks of any length with notes, controllers (mapped,
//               learned, channel-mode resets) and bends;
//   automation  random parameters through the record's setParameter, and
//               reads back through getParameter;
//   main        program switches and renames, bank and program chunks taken
//               and loaded back, names and display texts;
//   ui          the editor opened in the host window, idled and closed.
// Meant for the ThreadSanitizer build (label "threads"), where any data
// race is a report and fails the run; in every build no sample may be
// non-finite. A second run leaves automation out: then the sound is that of
// the factory programs, switched and reloaded under the notes, and no
// sample may go beyond what they give on their own. The ui thread looks only
// at the editor's answers, not at what it draws.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "engine/ParamBlock.h"
#include "host/core/PluginHost.h"
#include "host/live/HostWindow.h"
#include "support/MidiEvents.h"
#include "plugin/OscillatorRecord.h"
#include "plugin/StateTrailer.h"
#include "tuning/Tuning.h"

namespace {

using Clock = std::chrono::steady_clock;

// The loudest sample random parameter values within their ranges may give.
// The output stage has no limiter: within the ranges the voice stays within
// a few units (full scale is 1.0), so anything beyond this is a blast, not
// a loud patch.
constexpr float kLoudestAutomated = 8.0f;
// Without automation every sound is a factory program's (with its mapped
// cutoff and resonance controllers), or a moment of a switch between two of
// them. Those reach about +3 dBFS on their own (resonance at its top), not
// +6: a switch or load that left the voice in a state no program gives
// would.
constexpr float kLoudestProgram = 2.0f;

double stressSeconds() {
    const char* text = std::getenv("ORV_STRESS_SECONDS");
    const double seconds = text ? std::atof(text) : 20.0;
    return seconds > 0.0 ? seconds : 20.0;
}

// A host whose callback is safe from any thread and keeps no record: the
// audio thread asks for the time at every note-on for as long as the run
// lasts.
class StressHost : public PluginHost {
protected:
    VstIntPtr onRequest(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                        void* ptr, float opt) override {
        if (opcode == audioMasterAutomate || opcode == audioMasterBeginEdit ||
            opcode == audioMasterEndEdit || opcode == audioMasterIdle)
            return 1;
        return PluginHost::onRequest(effect, opcode, index, value, ptr, opt);
    }
};

struct Counts {
    std::atomic<long> audioBlocks{0};
    std::atomic<long> automationCalls{0};
    std::atomic<long> chunkRoundTrips{0};
    std::atomic<long> editorCycles{0};
};

struct Findings {
    std::atomic<long> nonFinite{0};
    std::atomic<long> blasts{0};
    std::atomic<long> rejectedChunks{0};
    std::atomic<long> failedOpens{0};
    std::atomic<float> peak{0.0f};
};

void audioThread(StressHost& host, const std::atomic<bool>& stop, float loudest, Counts& counts,
                 Findings& found) {
    std::mt19937 rng(1);
    std::vector<float> left(1024), right(1024);
    float* outputs[] = {left.data(), right.data()};
    std::vector<VstMidiEvent> events;
    float peak = 0.0f;
    while (!stop.load(std::memory_order_relaxed)) {
        const VstInt32 frames = 1 + static_cast<VstInt32>(rng() % 1024);
        events.clear();
        const int count = static_cast<int>(rng() % 6);
        for (int i = 0; i < count; ++i) {
            const VstInt32 offset = static_cast<VstInt32>(rng() % (frames + 64));
            const int note = 24 + static_cast<int>(rng() % 72);
            switch (rng() % 8) {
            case 0: case 1: events.push_back(midi::noteOn(offset, note, 1 + rng() % 127)); break;
            case 2: case 3: events.push_back(midi::noteOff(offset, note)); break;
            case 4: events.push_back(midi::controller(offset, 36 + rng() % 4, rng() % 128)); break;
            case 5: events.push_back(midi::controller(offset, rng() % 120, rng() % 128)); break;
            case 6: events.push_back(midi::pitchBend(offset, rng() % 128)); break;
            default:
                if (rng() % 16 == 0) events.push_back(midi::controller(offset, 120 + rng() % 8, 0));
                break;
            }
        }
        if (!events.empty()) host.sendEvents(events);
        host.process(outputs, frames);
        for (VstInt32 i = 0; i < frames; ++i) {
            if (!std::isfinite(left[i]) || !std::isfinite(right[i])) {
                found.nonFinite.fetch_add(1, std::memory_order_relaxed);
                continue;
            }
            const float a = std::fabs(left[i]);
            if (a > peak) peak = a;
            if (a > loudest) found.blasts.fetch_add(1, std::memory_order_relaxed);
        }
        counts.audioBlocks.fetch_add(1, std::memory_order_relaxed);
    }
    found.peak.store(peak, std::memory_order_relaxed);
}

// Entries of each choice parameter's menu (0: continuous 0..1).
int choiceEntries(VstInt32 index) {
    switch (index) {
    case param::kWaveformOsc1: case param::kLfo1Waveform: case param::kLfo2Waveform: return 5;
    case param::kWaveformOsc2: return 4;
    case param::kPortamentoKeyTrigger: return 3;
    case param::kLfo1Destination: return 11;
    case param::kLfo2Destination: return 10;
    case param::kLfo1KeyTrigger: case param::kLfo2KeyTrigger: return 14;
    case param::kFilterType: case param::kSubOscOffset: return 2;
    default: return 0;
    }
}

// Values within each parameter's range: 0..1, or a whole choice number; the
// learn switches are on now and then.
void automationThread(AEffect* effect, const std::atomic<bool>& stop, Counts& counts) {
    std::mt19937 rng(2);
    std::uniform_real_distribution<float> unit(0.0f, 1.0f);
    float sum = 0.0f;
    while (!stop.load(std::memory_order_relaxed)) {
        const VstInt32 index = static_cast<VstInt32>(rng() % param::kCount);
        float value = unit(rng);
        if (index == param::kControllerLearn || index == param::kLearnAllPrograms) {
            value = rng() % 8 == 0 ? 1.0f : 0.0f;
        } else if (const int entries = choiceEntries(index)) {
            value = static_cast<float>(rng() % entries);
        }
        effect->setParameter(effect, index, value);
        sum += effect->getParameter(effect, static_cast<VstInt32>(rng() % param::kCount));
        counts.automationCalls.fetch_add(2, std::memory_order_relaxed);
    }
    EXPECT_TRUE(std::isfinite(sum)) << "getParameter answered numbers";
}

void mainThread(StressHost& host, const std::atomic<bool>& stop, Counts& counts,
                    Findings& found) {
    std::mt19937 rng(3);
    char text[256];
    // A bank goes back as it came, with a tuning and the clean oscillators
    // after its records, or as its records alone (standard and classic),
    // which the audio thread takes up while it plays.
    Tuning quarterTones;
    std::string scale = "24 equal\n24\n", error;
    for (int i = 1; i <= 24; ++i) scale += std::to_string(50 * i) + ".0\n";
    Tuning::fromText(scale, "24.scl", "", "", quarterTones, error);
    const std::vector<unsigned char> trailer = state_trailer::write(
        {{Tuning::kRecordTag, quarterTones.toRecord()}, {oscillator_record::kTag, oscillator_record::kClean}});
    while (!stop.load(std::memory_order_relaxed)) {
        host.dispatch(effSetProgram, 0, static_cast<VstIntPtr>(rng() % 20));
        std::snprintf(text, sizeof(text), "Stress %u", static_cast<unsigned>(rng() % 1000));
        host.dispatch(effSetProgramName, 0, 0, text);
        for (VstInt32 isPreset : {0, 1}) {
            void* data = nullptr;
            const VstIntPtr size = host.dispatch(effGetChunk, isPreset, 0, &data);
            if (size <= 0 || !data) {
                found.rejectedChunks.fetch_add(1, std::memory_order_relaxed);
                continue;
            }
            // The copy a host saves with its project, loaded back.
            std::vector<unsigned char> saved(static_cast<unsigned char*>(data),
                                             static_cast<unsigned char*>(data) + size);
            const unsigned choice = rng() % 3;
            if (!isPreset && choice > 0) {
                saved.resize(24400);
                if (choice == 1) saved.insert(saved.end(), trailer.begin(), trailer.end());
            }
            if (host.dispatch(effSetChunk, isPreset, static_cast<VstIntPtr>(saved.size()), saved.data()) != 1)
                found.rejectedChunks.fetch_add(1, std::memory_order_relaxed);
            counts.chunkRoundTrips.fetch_add(1, std::memory_order_relaxed);
        }
        host.dispatch(effGetProgramName, 0, 0, text);
        host.dispatch(effGetProgramNameIndexed, static_cast<VstInt32>(rng() % 20), 0, text);
        const VstInt32 index = static_cast<VstInt32>(rng() % param::kCount);
        for (VstInt32 opcode : {effGetParamName, effGetParamDisplay, effGetParamLabel})
            host.dispatch(opcode, index, 0, text);
        host.dispatch(effGetProgram);
    }
}

void uiThread(StressHost& host, const std::atomic<bool>& stop, Counts& counts, Findings& found) {
    HostWindow parent;
    ASSERT_TRUE(parent.open(600, 500, "stress", HostWindow::Kind::kScreenshot)) << parent.error();
    parent.show();
    void* handle = parent.parentHandle();
    while (!stop.load(std::memory_order_relaxed)) {
        ERect* rect = nullptr;
        host.dispatch(effEditGetRect, 0, 0, &rect);
        if (host.dispatch(effEditOpen, 0, 0, handle) != 1) {
            found.failedOpens.fetch_add(1, std::memory_order_relaxed);
            continue;
        }
        for (int i = 0; i < 5; ++i) {
            host.dispatch(effEditIdle);
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        host.dispatch(effEditClose);
        counts.editorCycles.fetch_add(1, std::memory_order_relaxed);
    }
}

void runStress(bool automate) {
    // The host, and so the module, stays loaded until the process ends:
    // unloading would orphan the state the font libraries keep for the
    // editor, theirs and not a leak of ours. The plug-in itself is closed
    // and deleted, so its own leaks still show.
    static StressHost* kept[2];
    StressHost*& slot = kept[automate ? 1 : 0];
    if (!slot) slot = new StressHost;
    StressHost& host = *slot;
    ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
    host.resume();
    AEffect* effect = host.effect();

    Counts counts;
    Findings found;
    std::atomic<bool> stop{false};
    const auto start = Clock::now();
    std::vector<std::thread> threads;
    const float loudest = automate ? kLoudestAutomated : kLoudestProgram;
    threads.emplace_back(audioThread, std::ref(host), std::cref(stop), loudest, std::ref(counts),
                         std::ref(found));
    if (automate) threads.emplace_back(automationThread, effect, std::cref(stop), std::ref(counts));
    threads.emplace_back(mainThread, std::ref(host), std::cref(stop), std::ref(counts),
                         std::ref(found));
    threads.emplace_back(uiThread, std::ref(host), std::cref(stop), std::ref(counts),
                         std::ref(found));
    const double seconds = stressSeconds();
    std::this_thread::sleep_for(std::chrono::duration<double>(seconds));
    stop.store(true);
    for (std::thread& t : threads) t.join();
    const double elapsed = std::chrono::duration<double>(Clock::now() - start).count();
    host.suspend();
    host.close();

    std::printf("stress%s %.1f s: %.0f audio blocks/s, %.0f automation calls/s, "
                "%.0f chunk round trips/s, %.1f editor cycles/s, peak %.3f\n",
                automate ? "" : " (no automation)", elapsed, counts.audioBlocks / elapsed, counts.automationCalls / elapsed,
                counts.chunkRoundTrips / elapsed, counts.editorCycles / elapsed,
                found.peak.load());
    EXPECT_EQ(found.nonFinite.load(), 0) << "non-finite samples";
    EXPECT_EQ(found.blasts.load(), 0) << "samples beyond " << loudest;
    EXPECT_EQ(found.rejectedChunks.load(), 0) << "chunks taken that would not load back";
    EXPECT_EQ(found.failedOpens.load(), 0) << "editor opens that failed";
    EXPECT_GT(counts.audioBlocks.load(), 0);
    if (automate) {
        EXPECT_GT(counts.automationCalls.load(), 0);
    }
    EXPECT_GT(counts.chunkRoundTrips.load(), 0);
    EXPECT_GT(counts.editorCycles.load(), 0);
}

TEST(ThreadStress, FourHostThreadsAtOnceLeaveTheSoundSound) { runStress(true); }

TEST(ThreadStress, ProgramSwitchesAndChunkLoadsUnderNotesStayAsLoudAsThePrograms) {
    runStress(false);
}

}  // namespace
