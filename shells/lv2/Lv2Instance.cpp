#include "shells/lv2/Lv2Instance.h"

#include <lv2/atom/atom.h>
#include <lv2/atom/util.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/options/options.h>
#include <lv2/time/time.h>

#include <algorithm>
#include <cstring>

#include "shells/lv2/Lv2Identity.h"

namespace {

// Room for one block's events: every control port and this many MIDI
// events; a block with more drops the rest.
constexpr std::size_t kEventRoom = param::kCount + Instrument::kMaxMidiEvents;

const void* feature(const LV2_Feature* const* features, const char* uri) {
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, uri) == 0) return (*features)->data;
    return nullptr;
}

}  // namespace

Lv2Instance::Lv2Instance(double sampleRate, const LV2_Feature* const* features)
    : map_(static_cast<LV2_URID_Map*>(const_cast<void*>(feature(features, LV2_URID__map)))),
      sampleRate_(sampleRate),
      instrument_(this) {
    if (!map_) return;
    auto map = [this](const char* uri) { return map_->map(map_->handle, uri); };
    urids_ = {map(LV2_ATOM__Chunk),     map(LV2_ATOM__Sequence),  map(LV2_ATOM__Object),
              map(LV2_ATOM__Blank),     map(LV2_ATOM__Float),     map(LV2_ATOM__Double),
              map(LV2_MIDI__MidiEvent), map(LV2_TIME__Position), map(LV2_TIME__beatsPerMinute),
              map(lv2_identity::kStateKey)};
    // A host that names its longest block lets the instrument size for it.
    auto* options = static_cast<const LV2_Options_Option*>(feature(features, LV2_OPTIONS__options));
    const LV2_URID maxLength = map(LV2_BUF_SIZE__maxBlockLength);
    const LV2_URID intType = map(LV2_ATOM__Int);
    for (; options && options->key; ++options)
        if (options->key == maxLength && options->type == intType && options->size == sizeof(int32_t)) {
            const int32_t n = *static_cast<const int32_t*>(options->value);
            if (n > 0) maxFrames_ = std::uint32_t(n);
        }
    for (int i = 0; i < param::kCount; ++i) taken_[i] = instrument_.parameter(i);
    events_.reserve(kEventRoom);
}

void Lv2Instance::connect(std::uint32_t port, void* data) {
    if (port < std::uint32_t(param::kCount))
        controls_[port] = static_cast<const float*>(data);
    else if (port == lv2_identity::kMidiPort)
        midiIn_ = data;
    else if (port == lv2_identity::kLeftPort || port == lv2_identity::kRightPort)
        outputs_[port - lv2_identity::kLeftPort] = static_cast<float*>(data);
}

void Lv2Instance::run(std::uint32_t frames) {
    if (!outputs_[0] || !outputs_[1]) return;
    events_.clear();
    // Port values first: at frame 0 the instrument takes values before notes.
    for (int i = 0; i < param::kCount; ++i) {
        if (!controls_[i]) continue;
        const float v = *controls_[i];
        if (v == taken_[i] || (v != v && taken_[i] != taken_[i])) continue;
        taken_[i] = v;
        InstrumentEvent e;
        e.kind = InstrumentEvent::kParameter;
        e.index = i;
        e.value = v;
        events_.push_back(e);
    }
    readEvents(frames);
    render(frames);
}

void Lv2Instance::readEvents(std::uint32_t frames) {
    const auto* sequence = static_cast<const LV2_Atom_Sequence*>(midiIn_);
    if (!sequence || sequence->atom.type != urids_.sequence) return;
    std::uint32_t last = 0;
    LV2_ATOM_SEQUENCE_FOREACH(sequence, ev) {
        if (ev->body.type == urids_.object || ev->body.type == urids_.blank) {
            takeTempo(&ev->body);
            continue;
        }
        if (ev->body.type != urids_.midiEvent || ev->body.size == 0) continue;
        const auto* bytes = static_cast<const std::uint8_t*>(LV2_ATOM_BODY_CONST(&ev->body));
        // Longer messages are system-exclusive ones (tuning), or nothing.
        const bool sysex = ev->body.size > 3;
        if (sysex && bytes[0] != 0xF0) continue;
        if (events_.size() >= kEventRoom) break;
        // Frames outside the block or out of order are the host's fault:
        // clamp them so the events stay in order and inside.
        std::uint32_t frame = ev->time.frames < 0 ? 0 : std::uint32_t(ev->time.frames);
        frame = std::min(std::max(frame, last), frames ? frames - 1 : 0);
        last = frame;
        InstrumentEvent e;
        e.frame = frame;
        if (sysex) {
            e.kind = InstrumentEvent::kSysEx;
            e.sysex = bytes;
            e.sysexSize = ev->body.size;
        } else {
            e.kind = InstrumentEvent::kMidi;
            std::memcpy(e.midi, bytes, ev->body.size);
        }
        events_.push_back(e);
    }
}

// A time:Position names the tempo the synced LFOs follow.
void Lv2Instance::takeTempo(const void* object) {
    const auto* obj = static_cast<const LV2_Atom_Object*>(object);
    if (obj->body.otype != urids_.position) return;
    const LV2_Atom* bpm = nullptr;
    lv2_atom_object_get(obj, urids_.bpm, &bpm, 0);
    if (!bpm) return;
    if (bpm->type == urids_.float_ && bpm->size == sizeof(float))
        instrument_.setTempo(reinterpret_cast<const LV2_Atom_Float*>(bpm)->body);
    else if (bpm->type == urids_.double_ && bpm->size == sizeof(double))
        instrument_.setTempo(reinterpret_cast<const LV2_Atom_Double*>(bpm)->body);
}

// The instrument takes at most maxFrames_ at once: longer blocks go in
// pieces, each with its own events.
void Lv2Instance::render(std::uint32_t frames) {
    std::size_t first = 0;
    for (std::uint32_t done = 0; done < frames;) {
        const std::uint32_t n = std::min(frames - done, maxFrames_);
        std::size_t end = first;
        while (end < events_.size() && events_[end].frame < done + n) events_[end++].frame -= done;
        instrument_.process(outputs_[0] + done, outputs_[1] + done, n, events_.data() + first, end - first);
        first = end;
        done += n;
    }
}

bool Lv2Instance::restore(const void* data, std::size_t size, std::uint32_t type) {
    if (type != urids_.chunk || !data) return false;
    if (!instrument_.loadState(static_cast<const unsigned char*>(data), size)) return false;
    // The restored values stand until the host writes a port again.
    for (int i = 0; i < param::kCount; ++i)
        if (controls_[i]) taken_[i] = *controls_[i];
    return true;
}

void Lv2Instance::gestureBegan(int index) {
    if (writer_) writer_->touch(index, true);
}
void Lv2Instance::parameterEdited(int index, float value) {
    if (writer_) writer_->write(index, value);
}
void Lv2Instance::gestureEnded(int index) {
    if (writer_) writer_->touch(index, false);
}
