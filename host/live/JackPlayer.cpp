#include "host/live/JackPlayer.h"

#include <jack/midiport.h>
#include <jack/transport.h>

#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <thread>

namespace {

constexpr const char* kMidiPort = "midi_in";
constexpr const char* kOutPorts[2] = {"out_left", "out_right"};
// Without a rolling transport that knows its tempo, the host's answer.
constexpr double kDefaultTempo = 120.0;

// libjack prints its own diagnostics on stderr (several lines when no
// server runs); the player reports failures in one line of its own.
void quiet(const char*) {}

}  // namespace

bool JackPlayer::open(const std::string& clientName, std::string& error) {
    jack_set_error_function(quiet);
    jack_set_info_function(quiet);
    std::string name = clientName;
    const int longest = jack_client_name_size() - 1;
    if (longest > 0 && static_cast<int>(name.size()) > longest) name.resize(longest);
    jack_status_t status{};
    client_ = jack_client_open(name.c_str(), JackNoStartServer, &status);
    if (!client_) {
        if (status & JackServerFailed) {
            const char* server = std::getenv("JACK_DEFAULT_SERVER");
            error = std::string("no JACK server is running") +
                    (server && *server ? std::string(" (server '") + server + "')" : std::string()) +
                    "; start one first, e.g. with scripts/play.sh";
        } else {
            error = "the JACK server refused the client '" + name + "'";
        }
        return false;
    }
    midiIn_ = jack_port_register(client_, kMidiPort, JACK_DEFAULT_MIDI_TYPE, JackPortIsInput, 0);
    for (int c = 0; c < 2; ++c)
        out_[c] = jack_port_register(client_, kOutPorts[c], JACK_DEFAULT_AUDIO_TYPE, JackPortIsOutput, 0);
    if (!midiIn_ || !out_[0] || !out_[1]) {
        error = "cannot make the JACK ports of '" + clientName + "'";
        stop();
        return false;
    }

    events_.reserve(kMaxEvents, kMaxSysEx);
    reconfigure(static_cast<float>(jack_get_sample_rate(client_)), jack_get_buffer_size(client_));

    jack_set_process_callback(client_, onProcess, this);
    jack_set_buffer_size_callback(client_, onBufferSize, this);
    jack_set_sample_rate_callback(client_, onSampleRate, this);
    jack_set_xrun_callback(client_, onXrun, this);
    jack_on_info_shutdown(client_, onShutdown, this);
    return true;
}

bool JackPlayer::start(bool connectPhysical, std::string& error, std::string& warnings) {
    host_.resume();
    host_.dispatch(effStartProcess);
    if (jack_activate(client_) != 0) {
        error = "the JACK server would not start the client";
        return false;
    }
    active_ = true;
    if (!connectPhysical) return true;

    const auto connectAll = [&](const char* type, unsigned long flags, auto&& each) {
        const char** ports = jack_get_ports(client_, nullptr, type, flags);
        int count = 0;
        for (; ports && ports[count]; ++count) each(ports[count], count);
        if (ports) jack_free(ports);
        return count;
    };
    const auto connect = [&](const char* from, const char* to) {
        const int result = jack_connect(client_, from, to);
        if (result != 0 && result != EEXIST) warnings += std::string("cannot connect ") + from + " to " + to + "\n";
    };
    const int playback = connectAll(JACK_DEFAULT_AUDIO_TYPE, JackPortIsPhysical | JackPortIsInput,
                                    [&](const char* port, int index) {
                                        if (index < 2) connect(jack_port_name(out_[index]), port);
                                    });
    if (playback == 0) warnings += "no system playback ports to connect to\n";
    connectAll(JACK_DEFAULT_MIDI_TYPE, JackPortIsPhysical | JackPortIsOutput,
               [&](const char* port, int) { connect(port, jack_port_name(midiIn_)); });
    return true;
}

void JackPlayer::stop() {
    if (!client_) return;
    const bool wasActive = active_;
    if (active_ && !serverGone()) jack_deactivate(client_);
    active_ = false;
    jack_client_close(client_);
    client_ = nullptr;
    if (wasActive) host_.dispatch(effStopProcess);
}

std::string JackPlayer::clientName() const { return client_ ? jack_get_client_name(client_) : ""; }
jack_nframes_t JackPlayer::sampleRate() const { return client_ ? jack_get_sample_rate(client_) : 0; }
jack_nframes_t JackPlayer::periodFrames() const { return client_ ? jack_get_buffer_size(client_) : 0; }
float JackPlayer::dspLoad() const { return client_ && !serverGone() ? jack_cpu_load(client_) : 0.0f; }

void JackPlayer::reconfigure(float rate, jack_nframes_t frames) {
    if (rate == rate_ && frames == capacity_) return;
    hold_.store(true);
    while (inCycle_.load()) std::this_thread::sleep_for(std::chrono::microseconds(200));

    AEffect* effect = host_.effect();
    const std::size_t inputs = effect->numInputs > 0 ? static_cast<std::size_t>(effect->numInputs) : 0;
    const std::size_t outputs = effect->numOutputs > 0 ? static_cast<std::size_t>(effect->numOutputs) : 0;
    silence_.assign(frames, 0.0f);
    inputs_.assign(inputs + 1, silence_.data());
    extra_.assign(outputs > 2 ? outputs - 2 : 0, std::vector<float>(frames));
    outputs_.assign(outputs + 1, nullptr);
    for (std::size_t i = 2; i < outputs; ++i) outputs_[i] = extra_[i - 2].data();
    rate_ = rate;
    capacity_ = frames;
    host_.reconfigure(rate, static_cast<VstInt32>(frames));

    hold_.store(false);
}

int JackPlayer::onProcess(jack_nframes_t frames, void* self) {
    return static_cast<JackPlayer*>(self)->process(frames);
}

int JackPlayer::onBufferSize(jack_nframes_t frames, void* self) {
    auto* player = static_cast<JackPlayer*>(self);
    player->reconfigure(player->rate_, frames);
    return 0;
}

int JackPlayer::onSampleRate(jack_nframes_t rate, void* self) {
    auto* player = static_cast<JackPlayer*>(self);
    player->reconfigure(static_cast<float>(rate), player->capacity_);
    return 0;
}

int JackPlayer::onXrun(void* self) {
    auto* player = static_cast<JackPlayer*>(self);
    player->xruns_.fetch_add(1, std::memory_order_relaxed);
    return 0;
}

void JackPlayer::onShutdown(jack_status_t, const char* reason, void* self) {
    auto* player = static_cast<JackPlayer*>(self);
    std::snprintf(player->shutdownReason_, sizeof(player->shutdownReason_), "%s",
                  reason && *reason ? reason : "no reason given");
    player->serverGone_.store(true, std::memory_order_release);
}

int JackPlayer::process(jack_nframes_t frames) {
    inCycle_.store(true);
    auto* left = static_cast<float*>(jack_port_get_buffer(out_[0], frames));
    auto* right = static_cast<float*>(jack_port_get_buffer(out_[1], frames));
    if (hold_.load() || frames > capacity_ || outputs_.size() < 2) {
        std::memset(left, 0, frames * sizeof(float));
        std::memset(right, 0, frames * sizeof(float));
        inCycle_.store(false);
        return 0;
    }
    passMidi(frames);
    passTime();

    AEffect* effect = host_.effect();
    outputs_[0] = left;
    if (outputs_.size() > 2) outputs_[1] = right;
    effect->processReplacing(effect, inputs_.data(), outputs_.data(), static_cast<VstInt32>(frames));
    if (outputs_.size() == 2) std::memcpy(right, left, frames * sizeof(float));  // one output: both sides
    // A plug-in's NaN or infinity would reach the speakers as a full-scale click.
    for (float* out : {left, right})
        for (jack_nframes_t i = 0; i < frames; ++i)
            if (!std::isfinite(out[i])) out[i] = 0.0f;
    inCycle_.store(false);
    return 0;
}

void JackPlayer::passMidi(jack_nframes_t frames) {
    void* buffer = jack_port_get_buffer(midiIn_, frames);
    const jack_nframes_t count = jack_midi_get_event_count(buffer);
    events_.clear();
    std::size_t sysex = 0;
    for (jack_nframes_t i = 0; i < count; ++i) {
        jack_midi_event_t in;
        if (jack_midi_event_get(&in, buffer, i) != 0) continue;
        const auto at = static_cast<VstInt32>(in.time < frames ? in.time : frames - 1);
        // Channel messages, and system-exclusive ones (tuning): the JACK
        // buffer holds their bytes until this cycle ends. Clock and the
        // other system messages mean nothing to a synthesizer.
        const bool isSysex = in.size > 3 && in.buffer[0] == 0xF0;
        if (!isSysex && (in.size < 1 || in.size > 3 || in.buffer[0] < 0x80 || in.buffer[0] >= 0xF0)) continue;
        if (events_.size() == kMaxEvents || (isSysex && sysex == kMaxSysEx)) {
            eventsDropped_.fetch_add(1, std::memory_order_relaxed);
            continue;
        }
        if (isSysex) {
            events_.addSysEx(at, in.buffer, in.size);
            ++sysex;
            continue;
        }
        const int data1 = in.size > 1 ? in.buffer[1] : 0, data2 = in.size > 2 ? in.buffer[2] : 0;
        events_.addMidi(at, in.buffer[0], data1, data2);
        if ((in.buffer[0] & 0xF0) == 0x90 && data2 > 0) notesIn_.fetch_add(1, std::memory_order_relaxed);
        // A change to a program the plug-in lacks is no change.
        if ((in.buffer[0] & 0xF0) == 0xC0 && in.size > 1 && data1 < host_.effect()->numPrograms)
            programChange_.store(data1, std::memory_order_relaxed);
    }
    if (!events_.empty()) host_.sendEvents(events_);
}

void JackPlayer::passTime() {
    jack_position_t position;
    const bool rolling = jack_transport_query(client_, &position) == JackTransportRolling;
    VstTimeInfo time = host_.timeInfo();
    const bool bbt = (position.valid & JackPositionBBT) && position.beats_per_minute > 0.0;
    time.tempo = rolling && bbt ? position.beats_per_minute : kDefaultTempo;
    if (bbt && position.beats_per_bar > 0.0f && position.beat_type > 0.0f) {
        time.timeSigNumerator = static_cast<VstInt32>(position.beats_per_bar);
        time.timeSigDenominator = static_cast<VstInt32>(position.beat_type);
    }
    time.sampleRate = rate_;
    time.samplePos = double(position.frame);
    time.ppqPos = double(position.frame) / rate_ * time.tempo / 60.0;
    time.flags = (time.flags & ~kVstTransportPlaying) | (rolling ? kVstTransportPlaying : 0);
    host_.setTimeInfo(&time);
}
