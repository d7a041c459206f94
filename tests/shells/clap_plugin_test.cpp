// ORV-Ambrell2.clap as a CLAP host drives it: loaded with dlopen, found
// through clap_entry alone, its events, state and reports checked against
// the VST 2.x module doing the same.
#include <dlfcn.h>
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "clap/entry.h"
#include "clap/ext/audio-ports.h"
#include "clap/ext/latency.h"
#include "clap/ext/note-ports.h"
#include "clap/ext/params.h"
#include "clap/ext/state.h"
#include "clap/plugin-factory.h"
#include "ClapTestHost.h"
#include "support/MidiEvents.h"
#include "shells/clap/ClapParamEvent.h"
#include "shells/common/InstrumentState.h"
#include "support/ModuleHost.h"

namespace {

using namespace clap_test;
constexpr uint32_t kCutoff = 16, kOsc1Wave = 3, kLearn = 43;
constexpr double kRate = 44100.0;

clap_event_header_t header(uint16_t type, uint32_t size, uint32_t time) {
    return {size, time, CLAP_CORE_EVENT_SPACE_ID, type, 0};
}

Event midiBytes(uint32_t time, uint8_t status, uint8_t data1, uint8_t data2) {
    Event e{};
    e.midi.header = header(CLAP_EVENT_MIDI, sizeof(clap_event_midi_t), time);
    e.midi.data[0] = status;
    e.midi.data[1] = data1;
    e.midi.data[2] = data2;
    return e;
}

Event value(uint32_t time, uint32_t id, double v) {
    Event e{};
    e.value = clapParamValue(id, v, time);
    return e;
}

bool outPush(const clap_output_events_t* l, const clap_event_header_t* h) {
    Event e{};
    std::memcpy(&e, h, std::min<std::size_t>(h->size, sizeof e));
    static_cast<std::vector<Event>*>(l->ctx)->push_back(e);
    return true;
}

const void* noExtension(const clap_host_t*, const char*) { return nullptr; }
void noRequest(const clap_host_t*) {}

// The module and one plug-in of it, activated and processing.
class ClapPlugin : public ::testing::Test {
protected:
    void SetUp() override {
        library = dlopen(ORV_CLAP_PATH, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(library, nullptr) << dlerror();
        entry = static_cast<const clap_plugin_entry_t*>(dlsym(library, "clap_entry"));
        ASSERT_NE(entry, nullptr);
        ASSERT_TRUE(entry->init(ORV_CLAP_PATH));
        factory = static_cast<const clap_plugin_factory_t*>(entry->get_factory(CLAP_PLUGIN_FACTORY_ID));
        ASSERT_NE(factory, nullptr);
        plugin = create();
        ASSERT_NE(plugin, nullptr);
        params = static_cast<const clap_plugin_params_t*>(plugin->get_extension(plugin, CLAP_EXT_PARAMS));
        state = static_cast<const clap_plugin_state_t*>(plugin->get_extension(plugin, CLAP_EXT_STATE));
        ASSERT_TRUE(params && state);
    }
    void TearDown() override {
        for (const clap_plugin_t* p : plugins) {
            p->deactivate(p);
            p->destroy(p);
        }
        if (entry) entry->deinit();
        if (library) dlclose(library);
    }

    const clap_plugin_t* create() {
        const clap_plugin_t* p = factory->create_plugin(factory, &host, "com.orvane.ambrell");
        if (!p || !p->init(p) || !p->activate(p, kRate, 1, 4096) || !p->start_processing(p)) return nullptr;
        plugins.push_back(p);
        return p;
    }

    // One block of frames with events; the left channel (the right is the
    // same signal). Reports land in reported.
    std::vector<float> process(const clap_plugin_t* p, uint32_t frames, std::vector<Event> events = {}) {
        std::vector<float> left(frames, 9.0f), right(frames, 9.0f);
        const clap_output_events_t reports{&reported, outPush};
        EXPECT_EQ(processBlock(p, frames, left.data(), right.data(), events, reports), CLAP_PROCESS_CONTINUE);
        EXPECT_EQ(left, right);
        return left;
    }

    Bytes save(const clap_plugin_t* p) {
        bool saved = false;
        Bytes bytes = saveState(state, p, saved);
        EXPECT_TRUE(saved);
        return bytes;
    }
    bool load(const clap_plugin_t* p, const Bytes& bytes) { return loadState(state, p, bytes); }
    double get(const clap_plugin_t* p, uint32_t id) {
        double v = -1.0;
        EXPECT_TRUE(params->get_value(p, id, &v));
        return v;
    }

    clap_host_t host{CLAP_VERSION_INIT, nullptr, "test", "", "", "1", noExtension, noRequest, noRequest, noRequest};
    void* library = nullptr;
    const clap_plugin_entry_t* entry = nullptr;
    const clap_plugin_factory_t* factory = nullptr;
    const clap_plugin_t* plugin = nullptr;
    const clap_plugin_params_t* params = nullptr;
    const clap_plugin_state_t* state = nullptr;
    std::vector<const clap_plugin_t*> plugins;
    std::vector<Event> reported;
};

TEST_F(ClapPlugin, PresentsTheInstrumentWithItsOneExportAndTheParameterTable) {
    EXPECT_EQ(dlsym(library, "VSTPluginMain"), nullptr) << "only clap_entry is exported";
    EXPECT_EQ(dlsym(library, "main"), nullptr);
    const clap_plugin_descriptor_t* d = plugin->desc;
    EXPECT_STREQ(d->id, "com.orvane.ambrell");
    EXPECT_STREQ(d->name, "Ambrell - ORV");
    EXPECT_STREQ(d->vendor, "ORV - Orvane Instruments");
    EXPECT_STREQ(d->version, "1.0.0") << "the vendor version 1000";
    std::vector<std::string> features;
    for (const char* const* f = d->features; *f; ++f) features.push_back(*f);
    EXPECT_EQ(features, (std::vector<std::string>{"instrument", "synthesizer", "mono"}));

    ModuleHost vst;
    ASSERT_TRUE(vst.load(ORV_MODULE_PATH)) << vst.error();
    ASSERT_EQ(params->count(plugin), 44u);
    for (uint32_t i = 0; i < 44; ++i) {
        clap_param_info_t info{};
        ASSERT_TRUE(params->get_info(plugin, i, &info));
        EXPECT_EQ(info.id, i);
        EXPECT_EQ(info.name, vst.parameterName(VstInt32(i)));
        EXPECT_EQ(get(plugin, i), double(vst.getParameter(VstInt32(i)))) << "program 0 in both, parameter " << i;
        EXPECT_TRUE(info.flags & CLAP_PARAM_IS_AUTOMATABLE);
        // What the VST host shows for the value, the CLAP host shows too,
        // and reads back to a value showing the same.
        char text[64];
        ASSERT_TRUE(params->value_to_text(plugin, i, get(plugin, i), text, sizeof text));
        const std::string label = vst.parameterLabel(VstInt32(i));
        EXPECT_EQ(text, vst.parameterDisplay(VstInt32(i)) + (label.empty() ? "" : " " + label));
        double back = -1.0;
        char again[64];
        ASSERT_TRUE(params->text_to_value(plugin, i, text, &back)) << text;
        ASSERT_TRUE(params->value_to_text(plugin, i, back, again, sizeof again));
        EXPECT_STREQ(again, text);
    }
    clap_param_info_t wave{}, cutoff{};
    ASSERT_TRUE(params->get_info(plugin, kOsc1Wave, &wave) && params->get_info(plugin, kCutoff, &cutoff));
    EXPECT_TRUE(wave.flags & CLAP_PARAM_IS_STEPPED) << "a menu";
    EXPECT_EQ(wave.max_value - wave.min_value, 4.0) << "of five entries";
    EXPECT_FALSE(cutoff.flags & CLAP_PARAM_IS_STEPPED);
    EXPECT_FALSE(params->get_info(plugin, 44, &wave));
    EXPECT_FALSE(params->value_to_text(plugin, 44, 0.0, nullptr, 0));

    const auto* notes = static_cast<const clap_plugin_note_ports_t*>(plugin->get_extension(plugin, CLAP_EXT_NOTE_PORTS));
    const auto* audio = static_cast<const clap_plugin_audio_ports_t*>(plugin->get_extension(plugin, CLAP_EXT_AUDIO_PORTS));
    const auto* latency = static_cast<const clap_plugin_latency_t*>(plugin->get_extension(plugin, CLAP_EXT_LATENCY));
    ASSERT_TRUE(notes && audio && latency);
    clap_note_port_info_t note{};
    ASSERT_EQ(notes->count(plugin, true), 1u);
    ASSERT_TRUE(notes->get(plugin, 0, true, &note));
    EXPECT_EQ(note.supported_dialects, uint32_t(CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI));
    clap_audio_port_info_t out{};
    EXPECT_EQ(audio->count(plugin, true), 0u);
    ASSERT_EQ(audio->count(plugin, false), 1u);
    ASSERT_TRUE(audio->get(plugin, 0, false, &out));
    EXPECT_EQ(out.channel_count, 2u);
    EXPECT_EQ(latency->get(plugin), 0u);
}

TEST_F(ClapPlugin, AParameterEventInsideABlockTakesEffectAtItsSample) {
    // The VST 2.x module cut at the same sample is the reference.
    ModuleHost vst;
    ASSERT_TRUE(vst.load(ORV_MODULE_PATH, float(kRate), 1000)) << vst.error();
    vst.resume();
    std::vector<float> expected = vst.render({midi::noteOn(0, 45, 100)}, 300);
    vst.setParameter(VstInt32(kCutoff), 0.2f);
    const std::vector<float> rest = vst.render(700);
    expected.insert(expected.end(), rest.begin(), rest.end());

    const std::vector<float> atItsSample =
        process(plugin, 1000, {midiBytes(0, 0x90, 45, 100), value(300, kCutoff, 0.2)});
    EXPECT_EQ(atItsSample, expected);
    const clap_plugin_t* other = create();
    ASSERT_NE(other, nullptr);
    const std::vector<float> atTheStart = process(other, 1000, {value(0, kCutoff, 0.2), midiBytes(0, 0x90, 45, 100)});
    EXPECT_NE(std::vector<float>(atTheStart.begin(), atTheStart.begin() + 300),
              std::vector<float>(expected.begin(), expected.begin() + 300))
        << "a change at the start sounds different: the event's sample matters";
    EXPECT_EQ(get(plugin, kCutoff), 0.2f);
    for (const Event& e : reported)
        EXPECT_FALSE(e.header.type == CLAP_EVENT_PARAM_VALUE && e.value.param_id == kCutoff)
            << "the host's own change is not reported back";

    // CLAP notes play as the MIDI notes they stand for.
    const clap_plugin_t* notes = create();
    const clap_plugin_t* bytes = create();
    clap_event_note_t on{header(CLAP_EVENT_NOTE_ON, sizeof(clap_event_note_t), 10), -1, 0, 0, 57, 100.0 / 127.0};
    Event noteEvent{};
    std::memcpy(&noteEvent, &on, sizeof on);
    EXPECT_EQ(process(notes, 512, {noteEvent}), process(bytes, 512, {midiBytes(10, 0x90, 57, 100)}));
}

TEST_F(ClapPlugin, ChangesThePluginMakesItselfAreReportedOnceAndFlushWorksWithoutAudio) {
    // Learn on, CUTOFF the last parameter touched: controller 20 learns it.
    process(plugin, 64, {value(0, kLearn, 1.0), value(0, kCutoff, 0.5), midiBytes(10, 0xB0, 20, 127)});
    int cutoffReports = 0;
    for (const Event& e : reported)
        if (e.header.type == CLAP_EVENT_PARAM_VALUE && e.value.param_id == kCutoff) {
            ++cutoffReports;
            EXPECT_EQ(e.value.value, 1.0f) << "the controller's value";
        }
    EXPECT_EQ(cutoffReports, 1);
    reported.clear();
    process(plugin, 64);
    EXPECT_TRUE(reported.empty()) << "nothing changed since";

    // Not processing: a flush applies the host's values at once.
    plugin->stop_processing(plugin);
    std::vector<Event> in = {value(0, kCutoff, 0.125)};
    const clap_input_events_t list = inputList(in);
    const clap_output_events_t reports{&reported, outPush};
    params->flush(plugin, &list, &reports);
    EXPECT_EQ(get(plugin, kCutoff), 0.125);
    EXPECT_TRUE(reported.empty());
    plugin->start_processing(plugin);
}

TEST_F(ClapPlugin, StateIsTheBankChunkWithTheCurrentProgramAndMovesBetweenFormats) {
    ModuleHost vst;
    ASSERT_TRUE(vst.load(ORV_MODULE_PATH)) << vst.error();
    vst.dispatch(effSetProgram, 0, 6);
    vst.setParameter(VstInt32(kCutoff), 0.25f);
    const Bytes chunk = vst.getChunk(false);
    ASSERT_EQ(chunk.size(), 24400u);

    // A bare chunk loads every program and keeps the current one.
    ASSERT_TRUE(load(plugin, chunk));
    const Bytes saved = save(plugin);
    ASSERT_EQ(saved.size(), 24400u + 28u) << "the chunk and its trailer";
    EXPECT_TRUE(Bytes(saved.begin(), saved.begin() + 24400) == chunk);
    EXPECT_NE(get(plugin, kCutoff), 0.25) << "program 0 still plays";

    // A state naming program 6 selects it, and saves back the same bytes.
    const Bytes six = instrument_state::encode(chunk.data(), chunk.size(), 6);
    const clap_plugin_t* other = create();
    ASSERT_TRUE(load(other, six));
    EXPECT_EQ(get(other, kCutoff), 0.25);
    EXPECT_TRUE(save(other) == six);

    // Damaged or cut state is refused and changes nothing.
    Bytes damaged = instrument_state::encode(chunk.data(), chunk.size(), 2);
    damaged[24400 + 20] = 3;  // the program, under a checksum that no longer matches
    EXPECT_FALSE(load(other, damaged));
    EXPECT_FALSE(load(other, Bytes(six.begin(), six.end() - 1))) << "a cut trailer";
    EXPECT_FALSE(load(other, Bytes(chunk.begin(), chunk.end() - 1))) << "a cut chunk";
    EXPECT_EQ(get(other, kCutoff), 0.25);
    EXPECT_TRUE(save(other) == six);

    // The VST module takes CLAP's bank and saves back what it first saved.
    ModuleHost back;
    ASSERT_TRUE(back.load(ORV_MODULE_PATH));
    ASSERT_EQ(back.setChunk(Bytes(six.begin(), six.begin() + 24400), false), 1);
    EXPECT_TRUE(back.getChunk(false) == chunk);
}

}  // namespace
