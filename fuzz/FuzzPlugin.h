// What the harnesses share: the plug-in created in-process as the entry
// point creates it, a host callback that answers like a plain host, a
// reader that takes typed values off the fuzzer's bytes, and a render that
// checks every sample.
//
// Making a plug-in costs as much as a hundred renders (the editor decodes
// its background picture), so the harnesses whose inputs queue no events
// keep one for the process and bring it back to the factory state before
// each input (reset); the events harness makes a fresh one per input, since
// only that empties its queue. Fuzzers run single-threaded: the callback's
// time record is static.
#pragma once

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "host/core/VstEventList.h"
#include "plugin/OrvVst.h"
#include "plugin/vst2.h"

namespace fuzz {

// Version 2400, a transport at 120 beats per minute, nothing else.
inline VstIntPtr hostCallback(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    static VstTimeInfo time = [] {
        VstTimeInfo t{};
        t.sampleRate = 44100.0;
        t.tempo = 120.0;
        t.flags = kVstTempoValid | kVstPpqPosValid;
        return t;
    }();
    if (opcode == audioMasterVersion) return 2400;
    if (opcode == audioMasterGetTime) return reinterpret_cast<VstIntPtr>(&time);
    return 0;
}

// The plug-in as a host holds it, closed (and deleted) at the end of scope.
class Plugin {
public:
    Plugin() : effect_(createEffectInstance(hostCallback)->getAeffect()) {
        dispatch(effOpen);
        dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        dispatch(effMainsChanged, 0, 1);
    }
    ~Plugin() { dispatch(effClose); }
    Plugin(const Plugin&) = delete;
    Plugin& operator=(const Plugin&) = delete;

    // The factory state again: editor closed, 44.1 kHz, program 0, the
    // factory bank's programs, no note held. What the voice still sounds
    // (a release, the filter's state) carries over.
    void reset() {
        if (factoryBank_.empty()) {
            void* bank = nullptr;
            const VstIntPtr size = dispatch(effGetChunk, 0, 0, &bank);
            factoryBank_.assign(static_cast<std::uint8_t*>(bank),
                                static_cast<std::uint8_t*>(bank) + size);
        }
        dispatch(effEditClose);
        dispatch(effMainsChanged, 0, 0);
        dispatch(effSetSampleRate, 0, 0, nullptr, 44100.0f);
        dispatch(effSetBlockSize, 0, 512);
        dispatch(effMainsChanged, 0, 1);
        dispatch(effSetProgram, 0, 0);
        std::vector<std::uint8_t> copy = factoryBank_;
        dispatch(effSetChunk, 0, static_cast<VstIntPtr>(copy.size()), copy.data());
        sendMidi(0xB0, 123, 0);  // all notes off
    }

    AEffect* effect() const { return effect_; }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f) {
        return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
    }

    // One processReplacing call; aborts (a fault for the fuzzer) on a
    // sample that is not a finite number or on outputs that differ.
    void renderChecked(VstInt32 frames) {
        if (frames <= 0) return;
        left_.assign(static_cast<std::size_t>(frames), 0.0f);
        right_.assign(static_cast<std::size_t>(frames), 0.0f);
        float* outputs[] = {left_.data(), right_.data()};
        effect_->processReplacing(effect_, nullptr, outputs, frames);
        for (std::size_t i = 0; i < left_.size(); ++i)
            if (!std::isfinite(left_[i]) || left_[i] != right_[i]) std::abort();
    }

    // A note at full velocity at frame 0, the way every harness makes the
    // voice sound before it listens.
    void playNote(int note) { sendMidi(0x90, note & 0x7F, 127); }

    // One MIDI message due at frame 0 of the next block.
    void sendMidi(int status, int data1, int data2) {
        const VstMidiEvent e = midiEvent(0, status, data1, data2);
        VstEventList list(&e, 1);
        dispatch(effProcessEvents, 0, 0, list.get());
    }

    // The process's plug-in, reset for the next input.
    static Plugin& shared() {
        static Plugin* plugin = new Plugin;  // lives as long as the process
        plugin->reset();
        return *plugin;
    }

private:
    AEffect* effect_;
    std::vector<std::uint8_t> factoryBank_;
    std::vector<float> left_, right_;
};

// Typed values off the front of the fuzzer's bytes; zeros once they run out.
class Reader {
public:
    Reader(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    template <typename T>
    T take() {
        T value{};
        const std::size_t n = size_ < sizeof(T) ? size_ : sizeof(T);
        std::memcpy(&value, data_, n);
        data_ += n;
        size_ -= n;
        return value;
    }
    bool empty() const { return size_ == 0; }
    std::size_t left() const { return size_; }
    const std::uint8_t* rest() const { return data_; }

private:
    const std::uint8_t* data_;
    std::size_t size_;
};

}  // namespace fuzz
