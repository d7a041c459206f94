#include "shells/clap/ClapPlugin.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "clap/ext/audio-ports.h"
#include "clap/ext/latency.h"
#include "clap/ext/note-ports.h"
#include "clap/ext/state.h"
#include "clap/ext/timer-support.h"
#include "shells/clap/ClapParamEvent.h"
#include "shells/clap/ClapWindowApi.h"

namespace {

// How often the host's timer pumps the editor: about 30 times a second.
constexpr uint32_t kEditorTimerMs = 33;
// The most events one block takes from the host; later ones are dropped.
constexpr std::size_t kMaxEvents = 4096;
// The largest state accepted: the bank and its trailer are far smaller.
constexpr std::size_t kLargestState = 1 << 20;

const char* const kFeatures[] = {CLAP_PLUGIN_FEATURE_INSTRUMENT, CLAP_PLUGIN_FEATURE_SYNTHESIZER,
                                 CLAP_PLUGIN_FEATURE_MONO, nullptr};

// A CLAP velocity (0..1) as the 7-bit byte the instrument plays; a note-on
// keeps at least 1, since 0 would end the note.
std::uint8_t velocityByte(double velocity, bool noteOn) {
    const double scaled = std::isfinite(velocity) ? std::round(velocity * 127.0) : 0.0;
    const int byte = static_cast<int>(std::clamp(scaled, 0.0, 127.0));
    return static_cast<std::uint8_t>(noteOn ? std::max(byte, 1) : byte);
}

InstrumentEvent midiEvent(uint32_t frame, std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
    InstrumentEvent e;
    e.frame = frame;
    e.kind = InstrumentEvent::kMidi;
    e.midi[0] = status;
    e.midi[1] = data1;
    e.midi[2] = data2;
    return e;
}

}  // namespace

const clap_plugin_descriptor_t ClapPlugin::descriptor = {
    CLAP_VERSION_INIT,
    "com.orvane.ambrell",
    Instrument::name(),
    Instrument::vendor(),
    "",
    "",
    "",
    Instrument::versionText(),
    "Monophonic analog-style synthesizer",
    const_cast<const char**>(kFeatures),
};

ClapPlugin::ClapPlugin(const clap_host_t* host) : host_(host) {
    plugin_.desc = &descriptor;
    plugin_.plugin_data = this;
    plugin_.init = init;
    plugin_.destroy = destroy;
    plugin_.activate = activate;
    plugin_.deactivate = deactivate;
    plugin_.start_processing = startProcessing;
    plugin_.stop_processing = stopProcessing;
    plugin_.reset = reset;
    plugin_.process = process;
    plugin_.get_extension = extension;
    plugin_.on_main_thread = onMainThread;
    events_.reserve(kMaxEvents);
}

// ---- the plug-in record ----------------------------------------------------

bool ClapPlugin::init(const clap_plugin_t* p) {
    ClapPlugin& s = self(p);
    if (s.host_ && s.host_->get_extension) {
        s.hostParams_ = static_cast<const clap_host_params_t*>(s.host_->get_extension(s.host_, CLAP_EXT_PARAMS));
        s.hostTimer_ = static_cast<const clap_host_timer_support_t*>(
            s.host_->get_extension(s.host_, CLAP_EXT_TIMER_SUPPORT));
    }
    try {
        s.instrument_ = std::make_unique<Instrument>(static_cast<InstrumentListener*>(&s));
    } catch (...) {
        return false;
    }
    return s.instrument_->valid();
}

void ClapPlugin::destroy(const clap_plugin_t* p) {
    ClapPlugin* s = &self(p);
    if (s->guiCreated_) guiDestroy(p);
    delete s;
}

bool ClapPlugin::activate(const clap_plugin_t* p, double rate, uint32_t, uint32_t maxFrames) {
    ClapPlugin& s = self(p);
    if (!s.instrument_ || !(rate > 0.0) || !std::isfinite(rate)) return false;
    s.instrument_->activate(rate, maxFrames);
    return true;
}

void ClapPlugin::deactivate(const clap_plugin_t* p) {
    if (self(p).instrument_) self(p).instrument_->deactivate();
}

clap_process_status ClapPlugin::process(const clap_plugin_t* p, const clap_process_t* pr) {
    ClapPlugin& s = self(p);
    if (!s.instrument_ || !pr) return CLAP_PROCESS_ERROR;
    float* left = nullptr;
    float* right = nullptr;
    if (pr->audio_outputs_count >= 1 && pr->audio_outputs && pr->audio_outputs[0].data32) {
        const clap_audio_buffer_t& out = pr->audio_outputs[0];
        if (out.channel_count >= 1) left = out.data32[0];
        right = out.channel_count >= 2 ? out.data32[1] : nullptr;
    }
    if (!left && !right && pr->frames_count > 0) return CLAP_PROCESS_ERROR;
    const clap_event_transport_t* t = pr->transport;
    s.instrument_->setTempo(t && (t->flags & CLAP_TRANSPORT_HAS_TEMPO) ? t->tempo : 0.0);
    s.readEvents(pr->in_events, true);
    s.instrument_->process(left, right, pr->frames_count, s.events_.data(), s.events_.size());
    s.reportChanges(pr->out_events);
    return CLAP_PROCESS_CONTINUE;
}

const void* ClapPlugin::extension(const clap_plugin_t*, const char* id) {
    static const clap_plugin_params_t params = {paramCount, paramInfo,   paramValue,
                                                valueToText, textToValue, flush};
    static const clap_plugin_state_t state = {saveState, loadState};
    static const clap_plugin_note_ports_t notePorts = {notePortCount, notePortInfo};
    static const clap_plugin_audio_ports_t audioPorts = {audioPortCount, audioPortInfo};
    static const clap_plugin_latency_t latencyExt = {latency};
    static const clap_plugin_gui_t gui = {guiApiSupported, guiPreferredApi, guiCreate,     guiDestroy,
                                          guiSetScale,     guiSize,         guiCanResize,  guiResizeHints,
                                          guiAdjustSize,   guiSetSize,      guiSetParent,  guiSetTransient,
                                          guiSuggestTitle, guiShow,         guiHide};
    static const clap_plugin_timer_support_t timer = {onTimer};
    if (!id) return nullptr;
    if (!std::strcmp(id, CLAP_EXT_PARAMS)) return &params;
    if (!std::strcmp(id, CLAP_EXT_STATE)) return &state;
    if (!std::strcmp(id, CLAP_EXT_NOTE_PORTS)) return &notePorts;
    if (!std::strcmp(id, CLAP_EXT_AUDIO_PORTS)) return &audioPorts;
    if (!std::strcmp(id, CLAP_EXT_LATENCY)) return &latencyExt;
    if (!std::strcmp(id, CLAP_EXT_GUI)) return &gui;
    if (!std::strcmp(id, CLAP_EXT_TIMER_SUPPORT)) return &timer;
    return nullptr;
}

// ---- events ----------------------------------------------------------------

void ClapPlugin::readEvents(const clap_input_events_t* in, bool withNotes) {
    events_.clear();
    const uint32_t count = in && in->size ? in->size(in) : 0;
    for (uint32_t i = 0; i < count && events_.size() < kMaxEvents; ++i) {
        const clap_event_header_t* h = in->get(in, i);
        if (!h || h->space_id != CLAP_CORE_EVENT_SPACE_ID) continue;
        switch (h->type) {
        case CLAP_EVENT_PARAM_VALUE: {
            if (h->size < sizeof(clap_event_param_value_t)) break;
            const auto* e = reinterpret_cast<const clap_event_param_value_t*>(h);
            if (e->param_id >= static_cast<clap_id>(Instrument::parameterCount()) || !std::isfinite(e->value)) break;
            InstrumentEvent v;
            v.frame = h->time;
            v.kind = InstrumentEvent::kParameter;
            v.index = static_cast<std::int32_t>(e->param_id);
            v.value = static_cast<float>(e->value);
            events_.push_back(v);
            break;
        }
        case CLAP_EVENT_NOTE_ON:
        case CLAP_EVENT_NOTE_OFF:
        case CLAP_EVENT_NOTE_CHOKE: {
            if (!withNotes || h->size < sizeof(clap_event_note_t)) break;
            const auto* e = reinterpret_cast<const clap_event_note_t*>(h);
            if (e->key < 0 || e->key > 127) break;  // -1: every key, which a mono voice does not track
            const bool on = h->type == CLAP_EVENT_NOTE_ON;
            const auto channel = static_cast<std::uint8_t>(e->channel >= 0 && e->channel < 16 ? e->channel : 0);
            events_.push_back(midiEvent(h->time, static_cast<std::uint8_t>((on ? 0x90 : 0x80) | channel),
                                        static_cast<std::uint8_t>(e->key), velocityByte(e->velocity, on)));
            break;
        }
        case CLAP_EVENT_MIDI: {
            if (!withNotes || h->size < sizeof(clap_event_midi_t)) break;
            const auto* e = reinterpret_cast<const clap_event_midi_t*>(h);
            events_.push_back(midiEvent(h->time, e->data[0], e->data[1], e->data[2]));
            break;
        }
        case CLAP_EVENT_MIDI_SYSEX: {  // tuning messages; the plug-in reads them at once
            if (!withNotes || h->size < sizeof(clap_event_midi_sysex_t)) break;
            const auto* e = reinterpret_cast<const clap_event_midi_sysex_t*>(h);
            InstrumentEvent x;
            x.frame = h->time;
            x.kind = InstrumentEvent::kSysEx;
            x.sysex = e->buffer;
            x.sysexSize = e->buffer ? e->size : 0;
            events_.push_back(x);
            break;
        }
        default:  // gestures, transport (the block's own is read), MIDI 2
            break;
        }
    }
}

void ClapPlugin::reportChanges(const clap_output_events_t* out) {
    auto pushGesture = [out](uint16_t type, std::int32_t index) {
        clap_event_param_gesture_t e{};
        e.header = {sizeof e, 0, CLAP_CORE_EVENT_SPACE_ID, type, 0};
        e.param_id = static_cast<clap_id>(index);
        out->try_push(out, &e.header);
    };
    auto pushValue = [out](std::int32_t index, float value) {
        const clap_event_param_value_t e = clapParamValue(static_cast<clap_id>(index), value);
        out->try_push(out, &e.header);
    };
    if (!out || !out->try_push) {
        // Nobody to tell: the queue is emptied all the same.
        Gesture g;
        while (gestures_.pop(g)) {}
        int index;
        float value;
        while (instrument_->nextChange(index, value)) {}
        return;
    }
    Gesture g;
    while (gestures_.pop(g)) {
        if (g.kind == Gesture::kValue) {
            pushValue(g.index, g.value);
            instrument_->markReported(g.index, g.value);
        } else {
            pushGesture(g.kind == Gesture::kBegin ? CLAP_EVENT_PARAM_GESTURE_BEGIN : CLAP_EVENT_PARAM_GESTURE_END,
                        g.index);
        }
    }
    int index;
    float value;
    while (instrument_->nextChange(index, value)) pushValue(index, value);
}

// ---- params ----------------------------------------------------------------

uint32_t ClapPlugin::paramCount(const clap_plugin_t*) { return static_cast<uint32_t>(Instrument::parameterCount()); }

bool ClapPlugin::paramInfo(const clap_plugin_t*, uint32_t index, clap_param_info_t* info) {
    if (!info || index >= static_cast<uint32_t>(Instrument::parameterCount())) return false;
    const Instrument::ParameterInfo p = Instrument::parameterInfo(static_cast<int>(index));
    *info = clap_param_info_t{};
    info->id = index;
    info->flags = CLAP_PARAM_IS_AUTOMATABLE | (p.stepped ? CLAP_PARAM_IS_STEPPED : 0);
    std::snprintf(info->name, sizeof info->name, "%s", p.name);
    info->min_value = p.lo;
    info->max_value = p.hi;
    info->default_value = p.defaultValue;
    return true;
}

bool ClapPlugin::paramValue(const clap_plugin_t* p, clap_id id, double* value) {
    if (!value || id >= static_cast<clap_id>(Instrument::parameterCount())) return false;
    *value = self(p).instrument_->parameter(static_cast<int>(id));
    return true;
}

bool ClapPlugin::valueToText(const clap_plugin_t* p, clap_id id, double value, char* text, uint32_t size) {
    if (!text || size == 0 || id >= static_cast<clap_id>(Instrument::parameterCount())) return false;
    std::string shown;
    if (!self(p).instrument_->valueText(static_cast<int>(id), static_cast<float>(value), shown)) return false;
    std::snprintf(text, size, "%s", shown.c_str());
    return true;
}

bool ClapPlugin::textToValue(const clap_plugin_t* p, clap_id id, const char* text, double* value) {
    float v = 0.0f;
    if (!value || id >= static_cast<clap_id>(Instrument::parameterCount())) return false;
    if (!self(p).instrument_->readText(static_cast<int>(id), text, v)) return false;
    *value = v;
    return true;
}

void ClapPlugin::flush(const clap_plugin_t* p, const clap_input_events_t* in, const clap_output_events_t* out) {
    ClapPlugin& s = self(p);
    s.readEvents(in, false);
    s.instrument_->process(nullptr, nullptr, 0, s.events_.data(), s.events_.size());
    s.reportChanges(out);
}

// ---- state -----------------------------------------------------------------

bool ClapPlugin::saveState(const clap_plugin_t* p, const clap_ostream_t* stream) {
    if (!stream || !stream->write) return false;
    const std::vector<unsigned char> state = self(p).instrument_->saveState();
    if (state.empty()) return false;
    for (std::size_t done = 0; done < state.size();) {
        const int64_t n = stream->write(stream, state.data() + done, state.size() - done);
        if (n <= 0) return false;
        done += static_cast<std::size_t>(n);
    }
    return true;
}

bool ClapPlugin::loadState(const clap_plugin_t* p, const clap_istream_t* stream) {
    if (!stream || !stream->read) return false;
    std::vector<unsigned char> state;
    unsigned char buffer[4096];
    for (;;) {
        const int64_t n = stream->read(stream, buffer, sizeof buffer);
        if (n < 0) return false;
        if (n == 0) break;
        state.insert(state.end(), buffer, buffer + n);
        if (state.size() > kLargestState) return false;
    }
    ClapPlugin& s = self(p);
    if (!s.instrument_->loadState(state.data(), state.size())) return false;
    if (s.hostParams_ && s.hostParams_->rescan) s.hostParams_->rescan(s.host_, CLAP_PARAM_RESCAN_VALUES | CLAP_PARAM_RESCAN_TEXT);
    return true;
}

// ---- ports -----------------------------------------------------------------

uint32_t ClapPlugin::notePortCount(const clap_plugin_t*, bool isInput) { return isInput ? 1 : 0; }

bool ClapPlugin::notePortInfo(const clap_plugin_t*, uint32_t index, bool isInput, clap_note_port_info_t* info) {
    if (!info || !isInput || index != 0) return false;
    *info = clap_note_port_info_t{};
    info->id = 0;
    info->supported_dialects = CLAP_NOTE_DIALECT_CLAP | CLAP_NOTE_DIALECT_MIDI;
    info->preferred_dialect = CLAP_NOTE_DIALECT_MIDI;
    std::snprintf(info->name, sizeof info->name, "%s", "Notes");
    return true;
}

uint32_t ClapPlugin::audioPortCount(const clap_plugin_t*, bool isInput) { return isInput ? 0 : 1; }

bool ClapPlugin::audioPortInfo(const clap_plugin_t*, uint32_t index, bool isInput, clap_audio_port_info_t* info) {
    if (!info || isInput || index != 0) return false;
    *info = clap_audio_port_info_t{};
    info->id = 0;
    std::snprintf(info->name, sizeof info->name, "%s", "Output");
    info->flags = CLAP_AUDIO_PORT_IS_MAIN;
    info->channel_count = 2;
    info->port_type = CLAP_PORT_STEREO;
    info->in_place_pair = CLAP_INVALID_ID;
    return true;
}

// ---- gui -------------------------------------------------------------------

bool ClapPlugin::guiApiSupported(const clap_plugin_t*, const char* api, bool floating) {
    return api && !floating && std::strcmp(api, kClapWindowApi) == 0;
}

bool ClapPlugin::guiPreferredApi(const clap_plugin_t*, const char** api, bool* floating) {
    if (!api || !floating) return false;
    *api = kClapWindowApi;
    *floating = false;
    return true;
}

bool ClapPlugin::guiCreate(const clap_plugin_t* p, const char* api, bool floating) {
    ClapPlugin& s = self(p);
    if (s.guiCreated_ || !guiApiSupported(p, api, floating) || !s.instrument_->hasEditor()) return false;
    s.guiCreated_ = true;
    return true;
}

void ClapPlugin::guiDestroy(const clap_plugin_t* p) {
    ClapPlugin& s = self(p);
    if (s.timerRegistered_ && s.hostTimer_ && s.hostTimer_->unregister_timer)
        s.hostTimer_->unregister_timer(s.host_, s.timer_);
    s.timerRegistered_ = false;
    if (s.editorOpen_) s.instrument_->closeEditor();
    s.editorOpen_ = false;
    s.guiCreated_ = false;
}

// The host's scale goes to the editor, which takes it at the next open
// unless the player chose a size.
bool ClapPlugin::guiSetScale(const clap_plugin_t* p, double scale) {
    if (!std::isfinite(scale) || scale <= 0.0) return false;
    self(p).instrument_->setEditorScale(scale);
    return true;
}

bool ClapPlugin::guiSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height) {
    int w = 0, h = 0;
    if (!width || !height || !self(p).instrument_->editorSize(w, h)) return false;
    *width = static_cast<uint32_t>(w);
    *height = static_cast<uint32_t>(h);
    return true;
}

bool ClapPlugin::guiAdjustSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height) {
    return guiSize(p, width, height);
}

bool ClapPlugin::guiSetSize(const clap_plugin_t* p, uint32_t width, uint32_t height) {
    uint32_t w = 0, h = 0;
    return guiSize(p, &w, &h) && w == width && h == height;
}

bool ClapPlugin::guiSetParent(const clap_plugin_t* p, const clap_window_t* window) {
    ClapPlugin& s = self(p);
    if (!s.guiCreated_ || s.editorOpen_ || !window || !window->api || std::strcmp(window->api, kClapWindowApi) != 0)
        return false;
#ifdef _WIN32
    void* parent = window->win32;
#else
    void* parent = reinterpret_cast<void*>(static_cast<uintptr_t>(window->x11));
#endif
    if (!s.instrument_->openEditor(parent)) return false;
    s.editorOpen_ = true;
    if (s.hostTimer_ && s.hostTimer_->register_timer)
        s.timerRegistered_ = s.hostTimer_->register_timer(s.host_, kEditorTimerMs, &s.timer_);
    return true;
}

// The editor's window is shown inside its parent as soon as it opens.
bool ClapPlugin::guiShow(const clap_plugin_t* p) { return self(p).editorOpen_; }
bool ClapPlugin::guiHide(const clap_plugin_t* p) { return self(p).editorOpen_; }

void ClapPlugin::onTimer(const clap_plugin_t* p, clap_id timer) {
    ClapPlugin& s = self(p);
    if (s.editorOpen_ && s.timerRegistered_ && timer == s.timer_) s.instrument_->idleEditor();
}

// ---- the editor's gestures -------------------------------------------------

void ClapPlugin::sendGesture(const Gesture& g) {
    gestures_.push(g);
    if (hostParams_ && hostParams_->request_flush) hostParams_->request_flush(host_);
}

void ClapPlugin::gestureBegan(int index) { sendGesture({Gesture::kBegin, index, 0.0f}); }
void ClapPlugin::parameterEdited(int index, float value) { sendGesture({Gesture::kValue, index, value}); }
void ClapPlugin::gestureEnded(int index) { sendGesture({Gesture::kEnd, index, 0.0f}); }
