#include "host/core/ClapHost.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "clap/ext/audio-ports.h"
#include "clap/ext/gui.h"
#include "clap/ext/params.h"
#include "clap/ext/state.h"
#include "clap/ext/timer-support.h"
#include "clap/plugin-factory.h"
#include "host/core/ModuleLibrary.h"
#include "plugin/ProgramRecord.h"
#include "shells/clap/ClapParamEvent.h"
#include "shells/clap/ClapWindowApi.h"

namespace {

// CLAP plug-ins whose VST 2.x twin orv-host knows: they carry its unique
// id and version, so that its preset files and settings apply to both.
struct Twin {
    const char* clapId;
    VstInt32 vstId, version;
};
constexpr Twin kTwins[] = {{"com.orvane.ambrell", 0x31313132, 1}};

constexpr std::size_t kMaxEvents = 4096;
constexpr VstInt32 kListLimit = 500;
// Of those, system-exclusive messages (tuning) one block passes on.
constexpr std::size_t kMaxSysEx = 256;
constexpr std::size_t kLargestState = 1 << 24;

// The streams state save and load are handed.
struct ReadStream {
    const std::vector<unsigned char>* data;
    std::size_t pos;
};

int64_t writeToVector(const clap_ostream_t* s, const void* buffer, uint64_t size) {
    auto* out = static_cast<std::vector<unsigned char>*>(s->ctx);
    if (out->size() + size > kLargestState) return -1;
    const auto* bytes = static_cast<const unsigned char*>(buffer);
    out->insert(out->end(), bytes, bytes + size);
    return static_cast<int64_t>(size);
}

int64_t readFromVector(const clap_istream_t* s, void* buffer, uint64_t size) {
    auto* in = static_cast<ReadStream*>(s->ctx);
    const std::size_t n = std::min<std::size_t>(size, in->data->size() - in->pos);
    std::memcpy(buffer, in->data->data() + in->pos, n);
    in->pos += n;
    return static_cast<int64_t>(n);
}

uint32_t eventCount(const clap_input_events_t* list) {
    return static_cast<uint32_t>(static_cast<std::vector<const clap_event_header_t*>*>(list->ctx)->size());
}

const clap_event_header_t* eventAt(const clap_input_events_t* list, uint32_t index) {
    const auto& order = *static_cast<std::vector<const clap_event_header_t*>*>(list->ctx);
    return index < order.size() ? order[index] : nullptr;
}

// The host that is creating a plug-in: its record is found through
// host_data at any other time.
ClapHost* hostOf(const clap_host_t* host) { return static_cast<ClapHost*>(host->host_data); }

clap_event_param_value_t parameterEvent(VstInt32 index, float value) {
    return clapParamValue(static_cast<clap_id>(index), value);
}

// "1.2.3" as 1203, the VST 2.x way of counting versions.
VstIntPtr versionNumber(const char* text) {
    int major = 0, minor = 0, patch = 0;
    if (!text || std::sscanf(text, "%d.%d.%d", &major, &minor, &patch) < 1) return 0;
    return major * 1000 + minor * 100 + patch;
}

}  // namespace

ClapHost::ClapHost() {
    host_ = clap_host_t{};
    host_.clap_version = CLAP_VERSION;
    host_.host_data = this;
    host_.name = "orv-host";
    host_.vendor = "ORV - Orvane Instruments";
    host_.url = "";
    host_.version = "1.0.0";
    host_.get_extension = hostExtension;
    host_.request_restart = requestNothing;
    host_.request_process = requestNothing;
    host_.request_callback = requestNothing;
    midi_.reserve(kMaxEvents);
    sysex_.reserve(kMaxSysEx);
    arrived_.reserve(kMaxEvents + kMaxSysEx);
    values_.reserve(kQueued);
    order_.reserve(kMaxEvents + kMaxSysEx + kQueued);
}

ClapHost::~ClapHost() {
    destroyPlugin();
    if (entry_) entry_->deinit();
    if (library_) module_library::close(library_);
}

bool ClapHost::open(const std::string& file, audioMasterCallback callback, std::string& error) {
    callback_ = callback;
    library_ = module_library::open(file, error);
    if (!library_) return false;
    entry_ = static_cast<const clap_plugin_entry_t*>(module_library::find(library_, "clap_entry"));
    if (!entry_ || !clap_version_is_compatible(entry_->clap_version)) {
        entry_ = nullptr;
        error = file + ": no clap_entry of a CLAP version this host speaks";
        return false;
    }
    if (!entry_->init(file.c_str())) {
        entry_ = nullptr;
        error = file + ": the CLAP module refused to start";
        return false;
    }
    const auto* factory = static_cast<const clap_plugin_factory_t*>(entry_->get_factory(CLAP_PLUGIN_FACTORY_ID));
    const clap_plugin_descriptor_t* desc =
        factory && factory->get_plugin_count(factory) > 0 ? factory->get_plugin_descriptor(factory, 0) : nullptr;
    if (!desc || !desc->id) {
        error = file + ": the CLAP module holds no plug-in";
        return false;
    }
    plugin_ = factory->create_plugin(factory, &host_, desc->id);
    if (!plugin_ || !plugin_->init(plugin_)) {
        if (plugin_) plugin_->destroy(plugin_);
        plugin_ = nullptr;
        error = file + ": the plug-in refused to load";
        return false;
    }
    params_ = static_cast<const clap_plugin_params_t*>(plugin_->get_extension(plugin_, CLAP_EXT_PARAMS));
    state_ = static_cast<const clap_plugin_state_t*>(plugin_->get_extension(plugin_, CLAP_EXT_STATE));
    gui_ = static_cast<const clap_plugin_gui_t*>(plugin_->get_extension(plugin_, CLAP_EXT_GUI));
    timer_ = static_cast<const clap_plugin_timer_support_t*>(plugin_->get_extension(plugin_, CLAP_EXT_TIMER_SUPPORT));
    const auto* ports = static_cast<const clap_plugin_audio_ports_t*>(plugin_->get_extension(plugin_, CLAP_EXT_AUDIO_PORTS));

    effect_.numParams = params_ ? static_cast<VstInt32>(params_->count(plugin_)) : 0;
    effect_.numOutputs = 2;
    clap_audio_port_info_t port{};
    if (ports && ports->count(plugin_, false) > 0 && ports->get(plugin_, 0, false, &port))
        effect_.numOutputs = static_cast<VstInt32>(std::min<uint32_t>(port.channel_count, 8));
    effect_.flags = effFlagsCanReplacing;
    for (const char* const* f = desc->features; f && *f; ++f)
        if (std::strcmp(*f, CLAP_PLUGIN_FEATURE_INSTRUMENT) == 0) effect_.flags |= effFlagsIsSynth;
    if (gui_ && gui_->is_api_supported(plugin_, kClapWindowApi, false)) effect_.flags |= effFlagsHasEditor;
    if (state_) effect_.flags |= effFlagsProgramChunks;

    ambrellState_ = hasPrograms();
    for (const Twin& twin : kTwins)
        if (ambrellState_ && std::strcmp(desc->id, twin.clapId) == 0) {
            effect_.uniqueID = twin.vstId;
            effect_.version = twin.version;
        }
    effect_.numPrograms = ambrellState_ ? kNumPrograms : 0;
    return true;
}

void ClapHost::destroyPlugin() {
    if (!plugin_) return;
    if (guiCreated_) gui_->destroy(plugin_);
    guiCreated_ = false;
    activate(false);
    plugin_->destroy(plugin_);
    plugin_ = nullptr;
}

void ClapHost::activate(bool on) {
    if (!plugin_ || on == active_.load(std::memory_order_relaxed)) return;
    if (on) {
        active_.store(plugin_->activate(plugin_, sampleRate_, 1, static_cast<uint32_t>(std::max<VstInt32>(blockSize_, 1))),
                      std::memory_order_release);
        return;
    }
    if (processing_.exchange(false)) plugin_->stop_processing(plugin_);
    plugin_->deactivate(plugin_);
    active_.store(false, std::memory_order_release);
    // What was queued for a block that never came is applied now.
    drainQueued();
}

// ---- the record's requests -------------------------------------------------

void ClapHost::setValue(VstInt32 index, float value) {
    if (!plugin_ || !params_ || index < 0 || index >= effect_.numParams) return;
    if (active_.load(std::memory_order_acquire)) {
        const std::uint32_t tail = queuedTail_.load(std::memory_order_relaxed);
        if (tail - queuedHead_.load(std::memory_order_acquire) >= kQueued) return;
        queued_[tail % kQueued] = {index, value};
        queuedTail_.store(tail + 1, std::memory_order_release);
        return;
    }
    const clap_event_param_value_t v = parameterEvent(index, value);
    flushNow(&v.header);
}

float ClapHost::value(VstInt32 index) {
    double value = 0.0;
    if (!plugin_ || !params_ || index < 0 || index >= effect_.numParams) return 0.0f;
    clap_param_info_t info{};
    if (!params_->get_info(plugin_, static_cast<uint32_t>(index), &info)) return 0.0f;
    return params_->get_value(plugin_, info.id, &value) ? static_cast<float>(value) : 0.0f;
}

VstIntPtr ClapHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (!plugin_) return 0;
    const clap_plugin_descriptor_t* desc = plugin_->desc;
    VstIntPtr answer = 0;
    if (programRequest(opcode, index, value, ptr, answer)) return answer;
    if (settingRequest(opcode, value, opt)) return 0;
    switch (opcode) {
    case effClose:
        destroyPlugin();
        return 1;
    case effMainsChanged:
        activate(value != 0);
        return 0;
    case effStopProcess:
        if (processing_.exchange(false)) plugin_->stop_processing(plugin_);
        return 0;
    case effProcessEvents:
        queueMidi(static_cast<const VstEvents*>(ptr));
        return 1;
    case effGetParamName:
    case effGetParamDisplay: {
        clap_param_info_t info{};
        if (!params_ || index < 0 || index >= effect_.numParams ||
            !params_->get_info(plugin_, static_cast<uint32_t>(index), &info))
            return recordText(ptr, "");
        return recordText(ptr, opcode == effGetParamName ? std::string(info.name) : parameterText(index));
    }
    case effGetParamLabel:
        return recordText(ptr, "");
    case effGetEffectName:
    case effGetProductString:
        return recordText(ptr, desc->name ? desc->name : "");
    case effGetVendorString:
        return recordText(ptr, desc->vendor ? desc->vendor : "");
    case effGetVendorVersion:
        return versionNumber(desc->version);
    case effGetPlugCategory:
        return (effect_.flags & effFlagsIsSynth) ? kPlugCategSynth : kPlugCategUnknown;
    case effCanDo:
        return recordCanDo(ptr);

    // ---- the editor
    case effEditGetRect: {
        uint32_t w = 0, h = 0;
        if (!ptr || !(effect_.flags & effFlagsHasEditor)) return 0;
        if (!guiCreated_) guiCreated_ = gui_->create(plugin_, kClapWindowApi, false);
        if (!guiCreated_ || !gui_->get_size(plugin_, &w, &h)) return 0;
        rect_ = ERect{0, 0, static_cast<std::int16_t>(h), static_cast<std::int16_t>(w)};
        *static_cast<ERect**>(ptr) = &rect_;
        return 1;
    }
    case effEditOpen: {
        if (!(effect_.flags & effFlagsHasEditor)) return 0;
        if (!guiCreated_) guiCreated_ = gui_->create(plugin_, kClapWindowApi, false);
        if (!guiCreated_) return 0;
        clap_window_t window{};
        window.api = kClapWindowApi;
        window.ptr = ptr;
        if (!gui_->set_parent(plugin_, &window)) return 0;
        gui_->show(plugin_);
        return 1;
    }
    case effEditIdle: {
        const std::vector<clap_id> timers = timers_;
        if (timer_)
            for (clap_id t : timers) timer_->on_timer(plugin_, t);
        // While active, the next block reports what the plug-in has to say.
        if (!active_.load(std::memory_order_acquire) && flushRequested_.exchange(false)) flushNow(nullptr);
        return 1;
    }
    case effEditClose:
        if (guiCreated_) gui_->destroy(plugin_);
        guiCreated_ = false;
        return 1;
    default:
        return 0;
    }
}

std::string ClapHost::parameterText(VstInt32 index) {
    clap_param_info_t info{};
    double value = 0.0;
    char text[256] = {};
    if (!params_->get_info(plugin_, static_cast<uint32_t>(index), &info) ||
        !params_->get_value(plugin_, info.id, &value) ||
        !params_->value_to_text(plugin_, info.id, value, text, sizeof text))
        return "";
    return text;
}

// ---- audio -----------------------------------------------------------------

void ClapHost::queueMidi(const VstEvents* events) {
    if (!events || events->numEvents <= 0) return;
    // No further than a VST 2.x plug-in reads a list (its queue's 500
    // slots): a host's count may promise more pointers than it holds.
    for (VstInt32 i = 0; i < events->numEvents && i < kListLimit && midi_.size() < kMaxEvents; ++i) {
        const VstEvent* e = events->events[i];
        if (e && e->type == kVstSysExType) {
            const auto* x = reinterpret_cast<const VstMidiSysexEvent*>(e);
            if (x->dumpBytes <= 0 || !x->sysexDump || sysex_.size() == kMaxSysEx) continue;
            clap_event_midi_sysex_t c{};
            c.header = {sizeof c, static_cast<uint32_t>(std::max<VstInt32>(x->deltaFrames, 0)),
                        CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_MIDI_SYSEX, 0};
            c.buffer = reinterpret_cast<const uint8_t*>(x->sysexDump);  // the host's, until the block
            c.size = static_cast<uint32_t>(x->dumpBytes);
            sysex_.push_back(c);
            arrived_.push_back(&sysex_.back().header);
            continue;
        }
        if (!e || e->type != kVstMidiType) continue;
        const auto* m = reinterpret_cast<const VstMidiEvent*>(e);
        clap_event_midi_t c{};
        c.header = {sizeof c, static_cast<uint32_t>(std::max<VstInt32>(m->deltaFrames, 0)), CLAP_CORE_EVENT_SPACE_ID,
                    CLAP_EVENT_MIDI, 0};
        c.port_index = 0;
        for (int b = 0; b < 3; ++b) c.data[b] = static_cast<uint8_t>(m->midiData[b]);
        midi_.push_back(c);
        arrived_.push_back(&midi_.back().header);
    }
}

void ClapHost::process(float** outputs, VstInt32 frames) {
    if (!plugin_) return;
    if (!active_.load(std::memory_order_relaxed)) activate(true);  // a host that never resumed
    if (!active_.load(std::memory_order_relaxed)) return;
    if (!processing_.load(std::memory_order_relaxed)) {
        if (!plugin_->start_processing(plugin_)) return;
        processing_.store(true, std::memory_order_release);
    }
    // The values queued first, at the block's start; then the MIDI events
    // in time order (a stable insertion sort: lists are short and mostly
    // sorted), each no later than the block's last frame.
    takeQueued();
    order_.clear();
    for (const auto& v : values_) order_.push_back(&v.header);
    const std::size_t firstMidi = order_.size();
    auto insert = [&](clap_event_header_t& h) {
        h.time = std::min<uint32_t>(h.time, static_cast<uint32_t>(frames - 1));
        order_.push_back(&h);
        for (std::size_t k = order_.size() - 1; k > firstMidi && order_[k - 1]->time > order_[k]->time; --k)
            std::swap(order_[k - 1], order_[k]);
    };
    for (clap_event_header_t* h : arrived_) insert(*h);

    clap_event_transport_t transport{};
    transport.header = {sizeof transport, 0, CLAP_CORE_EVENT_SPACE_ID, CLAP_EVENT_TRANSPORT, 0};
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        callback_(&effect_, audioMasterGetTime, 0, kVstTempoValid | kVstPpqPosValid, nullptr, 0.0f));
    if (time && (time->flags & kVstTempoValid)) {
        transport.flags |= CLAP_TRANSPORT_HAS_TEMPO;
        transport.tempo = time->tempo;
    }
    if (time && (time->flags & kVstTransportPlaying)) transport.flags |= CLAP_TRANSPORT_IS_PLAYING;

    clap_audio_buffer_t out{};
    out.data32 = outputs;
    out.channel_count = static_cast<uint32_t>(effect_.numOutputs);
    const clap_input_events_t in = {&order_, eventCount, eventAt};
    const clap_output_events_t reports = {this, pushReport};
    clap_process_t p{};
    p.steady_time = -1;
    p.frames_count = static_cast<uint32_t>(frames);
    p.transport = &transport;
    p.audio_outputs = &out;
    p.audio_outputs_count = 1;
    p.in_events = &in;
    p.out_events = &reports;
    plugin_->process(plugin_, &p);
    midi_.clear();
    sysex_.clear();
    arrived_.clear();
}

void ClapHost::takeQueued() {
    values_.clear();
    for (std::uint32_t head = queuedHead_.load(std::memory_order_relaxed);
         head != queuedTail_.load(std::memory_order_acquire); ++head) {
        const Queued& q = queued_[head % kQueued];
        values_.push_back(parameterEvent(q.index, q.value));
        queuedHead_.store(head + 1, std::memory_order_release);
    }
}

void ClapHost::drainQueued() {
    takeQueued();
    if (values_.empty()) return;
    std::vector<const clap_event_header_t*> all;
    for (const auto& v : values_) all.push_back(&v.header);
    flushList(all);
}

void ClapHost::flushNow(const clap_event_header_t* event) {
    std::vector<const clap_event_header_t*> one;
    if (event) one.push_back(event);
    flushList(one);
}

void ClapHost::flushList(std::vector<const clap_event_header_t*>& events) {
    if (!params_) return;
    const clap_input_events_t in = {&events, eventCount, eventAt};
    const clap_output_events_t reports = {this, pushReport};
    params_->flush(plugin_, &in, &reports);
}

void ClapHost::report(const clap_event_header_t* event) {
    if (event->space_id != CLAP_CORE_EVENT_SPACE_ID) return;
    if (event->type == CLAP_EVENT_PARAM_VALUE && event->size >= sizeof(clap_event_param_value_t)) {
        const auto* v = reinterpret_cast<const clap_event_param_value_t*>(event);
        callback_(&effect_, audioMasterAutomate, static_cast<VstInt32>(v->param_id), 0, nullptr,
                  static_cast<float>(v->value));
    } else if ((event->type == CLAP_EVENT_PARAM_GESTURE_BEGIN || event->type == CLAP_EVENT_PARAM_GESTURE_END) &&
               event->size >= sizeof(clap_event_param_gesture_t)) {
        const auto* g = reinterpret_cast<const clap_event_param_gesture_t*>(event);
        callback_(&effect_, event->type == CLAP_EVENT_PARAM_GESTURE_BEGIN ? audioMasterBeginEdit : audioMasterEndEdit,
                  static_cast<VstInt32>(g->param_id), 0, nullptr, 0.0f);
    }
}

bool ClapHost::pushReport(const clap_output_events_t* list, const clap_event_header_t* event) {
    if (!event) return false;
    static_cast<ClapHost*>(list->ctx)->report(event);
    return true;
}

// ---- state -----------------------------------------------------------------

bool ClapHost::readState(std::vector<unsigned char>& state) {
    state.clear();
    if (!state_) return false;
    const clap_ostream_t out = {&state, writeToVector};
    return state_->save(plugin_, &out);
}

bool ClapHost::writeState(const std::vector<unsigned char>& state) {
    if (!state_) return false;
    ReadStream stream{&state, 0};
    const clap_istream_t in = {&stream, readFromVector};
    return state_->load(plugin_, &in);
}

// ---- the host's side -------------------------------------------------------

const void* ClapHost::hostExtension(const clap_host_t*, const char* id) {
    static const clap_host_params_t params = {rescan, clear, requestFlush};
    static const clap_host_timer_support_t timers = {registerTimer, unregisterTimer};
    static const clap_host_state_t state = {markDirty};
    if (!id) return nullptr;
    if (std::strcmp(id, CLAP_EXT_PARAMS) == 0) return &params;
    if (std::strcmp(id, CLAP_EXT_TIMER_SUPPORT) == 0) return &timers;
    if (std::strcmp(id, CLAP_EXT_STATE) == 0) return &state;
    return nullptr;
}

void ClapHost::requestFlush(const clap_host_t* host) { hostOf(host)->flushRequested_.store(true); }

bool ClapHost::registerTimer(const clap_host_t* host, uint32_t, clap_id* id) {
    ClapHost* h = hostOf(host);
    if (!id) return false;
    *id = h->nextTimer_++;
    h->timers_.push_back(*id);
    return true;
}

bool ClapHost::unregisterTimer(const clap_host_t* host, clap_id id) {
    ClapHost* h = hostOf(host);
    const auto it = std::find(h->timers_.begin(), h->timers_.end(), id);
    if (it == h->timers_.end()) return false;
    h->timers_.erase(it);
    return true;
}
