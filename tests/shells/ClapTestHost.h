// What the CLAP plug-in's tests play as a host: events kept whole in a
// vector that serves as the block's input list, and the state saved into
// and loaded from bytes.
#pragma once

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <vector>

#include "clap/events.h"
#include "clap/ext/state.h"
#include "clap/plugin.h"

namespace clap_test {

using Bytes = std::vector<unsigned char>;

// One event of any kind, kept whole.
struct Event {
    union {
        clap_event_header_t header;
        clap_event_midi_t midi;
        clap_event_midi_sysex_t sysex;
        clap_event_param_value_t value;
        clap_event_param_gesture_t gesture;
    };
};

// A vector of events as the input list of a block.
inline clap_input_events_t inputList(std::vector<Event>& events) {
    return {&events,
            [](const clap_input_events_t* l) { return uint32_t(static_cast<std::vector<Event>*>(l->ctx)->size()); },
            [](const clap_input_events_t* l, uint32_t i) {
                return static_cast<const clap_event_header_t*>(&(*static_cast<std::vector<Event>*>(l->ctx))[i].header);
            }};
}

inline Bytes saveState(const clap_plugin_state_t* state, const clap_plugin_t* p, bool& saved) {
    Bytes bytes;
    const clap_ostream_t out{&bytes, [](const clap_ostream_t* s, const void* b, uint64_t n) -> int64_t {
                                 auto* v = static_cast<Bytes*>(s->ctx);
                                 v->insert(v->end(), static_cast<const unsigned char*>(b),
                                           static_cast<const unsigned char*>(b) + n);
                                 return int64_t(n);
                             }};
    saved = state->save(p, &out);
    return bytes;
}

inline bool loadState(const clap_plugin_state_t* state, const clap_plugin_t* p, const Bytes& bytes) {
    struct Reader {
        const Bytes* bytes;
        std::size_t at;
    } reader{&bytes, 0};
    const clap_istream_t in{&reader, [](const clap_istream_t* s, void* b, uint64_t n) -> int64_t {
                                auto* r = static_cast<Reader*>(s->ctx);
                                const std::size_t k = std::min<std::size_t>(n, r->bytes->size() - r->at);
                                std::memcpy(b, r->bytes->data() + r->at, k);
                                r->at += k;
                                return int64_t(k);
                            }};
    return state->load(p, &in);
}

// One block of frames into two channels, with the events as its input;
// reports go to out.
inline clap_process_status processBlock(const clap_plugin_t* p, uint32_t frames, float* left, float* right,
                                        std::vector<Event>& events, const clap_output_events_t& out) {
    float* channels[2] = {left, right};
    clap_audio_buffer_t audio{};
    audio.data32 = channels;
    audio.channel_count = 2;
    const clap_input_events_t in = inputList(events);
    clap_process_t pr{};
    pr.steady_time = -1;
    pr.frames_count = frames;
    pr.audio_outputs = &audio;
    pr.audio_outputs_count = 1;
    pr.in_events = &in;
    pr.out_events = &out;
    return p->process(p, &pr);
}

}  // namespace clap_test
