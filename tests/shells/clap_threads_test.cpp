// ORV-Ambrell2.clap under a CLAP host's two threads at once, each doing
// only what CLAP allows it, for ORV_STRESS_SECONDS (5 unless set):
//   audio  blocks of any length with notes, controllers (learn switched on
//          and off), bends, tuning messages and parameter values, its
//          reports taken each block;
//   main   the state saved and loaded back, parameter values and texts
//          read, and the editor created, put in a window, pumped by the
//          host's timer and destroyed.
// Meant for the ThreadSanitizer build (label "threads"), where any data
// race is a report and fails the run; in every build no sample may be
// non-finite.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "clap/entry.h"
#include "clap/ext/gui.h"
#include "clap/ext/params.h"
#include "clap/ext/state.h"
#include "clap/ext/timer-support.h"
#include "clap/plugin-factory.h"
#include "ClapTestHost.h"
#include "host/live/HostWindow.h"
#include "shells/clap/ClapParamEvent.h"

namespace {

using namespace clap_test;
using Clock = std::chrono::steady_clock;
constexpr double kRate = 48000.0;
constexpr uint32_t kLongestBlock = 512;
constexpr uint32_t kLearn = 43;  // MIDI learn: the next controller takes the last knob touched

double stressSeconds() {
    const char* text = std::getenv("ORV_STRESS_SECONDS");
    const double s = text ? std::atof(text) : 0.0;
    return s > 0.0 ? s : 5.0;
}

bool outPush(const clap_output_events_t* l, const clap_event_header_t*) {
    ++*static_cast<int*>(l->ctx);
    return true;
}

// The host's timer: one, registered by the editor, fired by the main loop.
std::atomic<bool> timerOn{false};
bool registerTimer(const clap_host_t*, uint32_t, clap_id* id) {
    *id = 1;
    timerOn = true;
    return true;
}
bool unregisterTimer(const clap_host_t*, clap_id) {
    timerOn = false;
    return true;
}
const clap_host_timer_support_t kTimer{registerTimer, unregisterTimer};
const void* hostExtension(const clap_host_t*, const char* id) {
    return std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0 ? &kTimer : nullptr;
}
void noRequest(const clap_host_t*) {}

// A real-time single-note tuning change of key to a random pitch near it.
const unsigned char* retune(std::mt19937& rng, unsigned char (&message)[12]) {
    const unsigned char key = static_cast<unsigned char>(30 + rng() % 60);
    const unsigned char bytes[12] = {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, key, key, uint8_t(rng() % 128), 0, 0xF7};
    std::memcpy(message, bytes, sizeof bytes);
    return message;
}

struct Audio {
    long blocks = 0, reports = 0;
    bool finite = true;
};

void audioThread(const clap_plugin_t* plugin, const std::atomic<bool>& stop, Audio& result) {
    std::mt19937 rng(7);
    std::vector<float> left(kLongestBlock), right(kLongestBlock);
    std::vector<Event> events;
    events.reserve(16);
    unsigned char message[12];
    while (!stop.load(std::memory_order_relaxed)) {
        const uint32_t frames = 1 + rng() % kLongestBlock;
        events.clear();
        for (int n = int(rng() % 4); n > 0; --n) {
            Event e{};
            const uint32_t at = uint32_t(rng() % frames);
            switch (rng() % 5) {
            case 0:
                e.value = clapParamValue(uint32_t(rng() % 64), double(rng() % 1000) / 1000.0, at);
                break;
            case 1:
                e.value = clapParamValue(kLearn, double(rng() % 2), at);
                break;
            case 2:
                e.sysex.header = {sizeof(clap_event_midi_sysex_t), at, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI_SYSEX, 0};
                e.sysex.buffer = retune(rng, message);  // one message a block: the buffer is reused
                e.sysex.size = sizeof message;
                break;
            default: {
                static const uint8_t kStatus[] = {0x90, 0x80, 0xB0, 0xE0};
                e.midi.header = {sizeof(clap_event_midi_t), at, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI, 0};
                e.midi.data[0] = kStatus[rng() % 4];
                e.midi.data[1] = uint8_t(rng() % 128);
                e.midi.data[2] = uint8_t(rng() % 128);
            }
            }
            if (e.header.type == CLAP_EVENT_MIDI_SYSEX)
                for (const Event& other : events)
                    if (other.header.type == CLAP_EVENT_MIDI_SYSEX) e.header.type = 0xFFFF;  // one a block
            if (e.header.type != 0xFFFF) events.push_back(e);
        }
        std::sort(events.begin(), events.end(),
                  [](const Event& a, const Event& b) { return a.header.time < b.header.time; });
        int reports = 0;
        const clap_output_events_t back{&reports, outPush};
        processBlock(plugin, frames, left.data(), right.data(), events, back);
        for (uint32_t i = 0; i < frames; ++i) result.finite = result.finite && std::isfinite(left[i]) && std::isfinite(right[i]);
        result.reports += reports;
        ++result.blocks;
    }
}

}  // namespace

TEST(ClapThreads, AudioAndMainThreadsTogetherRaceNowhereAndPlayOnlyNumbers) {
    void* library = dlopen(ORV_CLAP_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(library, nullptr) << dlerror();
    const auto* entry = static_cast<const clap_plugin_entry_t*>(dlsym(library, "clap_entry"));
    ASSERT_TRUE(entry && entry->init(ORV_CLAP_PATH));
    const auto* factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
    const clap_host_t host{CLAP_VERSION_INIT, nullptr, "stress", "", "", "1", hostExtension, noRequest, noRequest, noRequest};
    const clap_plugin_t* plugin = factory->create_plugin(factory, &host, "com.orvane.ambrell");
    ASSERT_TRUE(plugin && plugin->init(plugin) && plugin->activate(plugin, kRate, 1, kLongestBlock));
    const auto* params = static_cast<const clap_plugin_params_t*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
    const auto* state = static_cast<const clap_plugin_state_t*>(plugin->get_extension(plugin, CLAP_EXT_STATE));
    const auto* gui = static_cast<const clap_plugin_gui_t*>(plugin->get_extension(plugin, CLAP_EXT_GUI));
    const auto* timer =
        static_cast<const clap_plugin_timer_support_t*>(plugin->get_extension(plugin, CLAP_EXT_TIMER_SUPPORT));
    ASSERT_TRUE(params && state && gui && timer);
    HostWindow window;
    ASSERT_TRUE(window.open(600, 500, "clap stress", HostWindow::Kind::kScreenshot)) << window.error();
    window.show();

    std::atomic<bool> stop{false};
    Audio audio;
    std::thread audioRunner([&] {
        ASSERT_TRUE(plugin->start_processing(plugin));
        audioThread(plugin, stop, audio);
        plugin->stop_processing(plugin);
    });

    std::mt19937 rng(11);
    long loads = 0, editorCycles = 0;
    const auto end = Clock::now() + std::chrono::duration<double>(stressSeconds());
    while (Clock::now() < end) {
        bool saved = false;
        const Bytes bytes = saveState(state, plugin, saved);
        ASSERT_TRUE(saved);
        EXPECT_TRUE(loadState(state, plugin, bytes)) << "the state it saved loads back";
        ++loads;
        for (int i = 0; i < 8; ++i) {
            const auto id = clap_id(rng() % 64);
            double value = 0.0;
            char text[64];
            if (params->get_value(plugin, id, &value)) params->value_to_text(plugin, id, value, text, sizeof text);
        }
        if (rng() % 4 == 0 && gui->create(plugin, CLAP_WINDOW_API_X11, false)) {
            clap_window_t parent{};
            parent.api = CLAP_WINDOW_API_X11;
            parent.x11 = window.id();
            if (gui->set_parent(plugin, &parent) && gui->show(plugin))
                for (int i = 0; i < 5 && timerOn; ++i) timer->on_timer(plugin, 1);
            gui->destroy(plugin);
            ++editorCycles;
        }
    }
    stop = true;
    audioRunner.join();
    EXPECT_TRUE(audio.finite) << "every sample a number";
    EXPECT_GT(audio.blocks, 100) << "the audio thread ran";
    EXPECT_GT(loads, 10) << "the main thread ran";
    EXPECT_GT(editorCycles, 0) << "the editor opened";
    std::printf("blocks %ld, reports %ld, states %ld, editor cycles %ld\n", audio.blocks, audio.reports, loads,
                editorCycles);
    plugin->deactivate(plugin);
    plugin->destroy(plugin);
    entry->deinit();
    // The module stays loaded: the font libraries keep state for the editor.
}
