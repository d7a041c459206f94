// JackPlayer: a loaded VST 2.x instrument played live as a JACK client.
//
// The client has one MIDI input and two audio outputs ("midi_in",
// "out_left", "out_right"). Each period, JACK's process callback hands the
// period's MIDI channel messages to the plug-in as VstMidiEvents at their
// frame offsets (effProcessEvents), answers time requests with the JACK
// transport (its tempo while it rolls, else 120 beats per minute) and lets
// the plug-in write straight into the output ports (processReplacing). The
// callback allocates nothing, takes no lock and makes no system call. A
// program change is passed on too, and kept for the main thread to select
// the program as hosts do (takeProgramChange).
//
// A new sample rate or period size from the server reaches the plug-in as
// a host passes one on (suspend, effSetSampleRate, effSetBlockSize,
// resume). JACK announces it on its notification thread while the process
// thread may be mid-period, so the two hand over through hold_ and inCycle_
// (see reconfigure). When the server goes away, serverGone() turns true.
//
// Lifecycle, all on the main thread: open, start, then stop (or the
// destructor). The plug-in must be loaded before open and outlive stop.
#pragma once

#include <jack/jack.h>

#include <atomic>
#include <cstdint>
#include <string>
#include <vector>

#include "host/core/PluginHost.h"
#include "host/core/VstEventList.h"

class JackPlayer {
public:
    explicit JackPlayer(PluginHost& host) : host_(host) {}
    ~JackPlayer() { stop(); }
    JackPlayer(const JackPlayer&) = delete;
    JackPlayer& operator=(const JackPlayer&) = delete;

    // Opens the client (never starting a server), makes its ports and
    // brings the plug-in to the server's sample rate and period size. False,
    // with one line in error, when no server runs or a port cannot be made.
    bool open(const std::string& clientName, std::string& error);
    // Resumes the plug-in and activates the client; with connectPhysical,
    // connects the outputs to the system's playback ports and every
    // physical MIDI source to the input (a connection that fails is only
    // reported in warnings).
    bool start(bool connectPhysical, std::string& error, std::string& warnings);
    // Deactivates and closes the client; after it the plug-in is no longer
    // called. Safe to call twice and after the server has gone.
    void stop();

    // The name JACK gave the client (it may differ from the one asked for).
    std::string clientName() const;
    jack_nframes_t sampleRate() const;
    jack_nframes_t periodFrames() const;

    // Any thread.
    bool serverGone() const { return serverGone_.load(std::memory_order_acquire); }
    // Why, as the server said; valid once serverGone() is true.
    const char* shutdownReason() const { return shutdownReason_; }
    std::uint64_t notesIn() const { return notesIn_.load(std::memory_order_relaxed); }
    std::uint64_t xruns() const { return xruns_.load(std::memory_order_relaxed); }
    std::uint64_t eventsDropped() const { return eventsDropped_.load(std::memory_order_relaxed); }
    // Main thread: the program number of the latest MIDI program change to
    // a program the plug-in has, since the last call; -1 for none.
    int takeProgramChange() { return programChange_.exchange(-1, std::memory_order_relaxed); }
    // The server's DSP load, in percent of the period.
    float dspLoad() const;

private:
    // Events one period can bring; more are dropped and counted (a full
    // keyboard sweep at 64 frames is far below it).
    static constexpr int kMaxEvents = 512;
    static constexpr int kMaxSysEx = 64;  // of those, system-exclusive ones

    static int onProcess(jack_nframes_t frames, void* self);
    static int onBufferSize(jack_nframes_t frames, void* self);
    static int onSampleRate(jack_nframes_t rate, void* self);
    static int onXrun(void* self);
    static void onShutdown(jack_status_t code, const char* reason, void* self);

    int process(jack_nframes_t frames);
    void passMidi(jack_nframes_t frames);
    void passTime();
    // Notification (or main) thread: stops the plug-in's processing, sizes
    // the buffers and reconfigures the plug-in, then lets processing go on.
    void reconfigure(float rate, jack_nframes_t frames);

    PluginHost& host_;
    jack_client_t* client_ = nullptr;
    jack_port_t* midiIn_ = nullptr;
    jack_port_t* out_[2] = {nullptr, nullptr};
    bool active_ = false;  // main thread only

    // The hand-over between a reconfiguring thread and the process thread
    // (both sequentially consistent): the process thread sets inCycle_, then
    // reads hold_ and plays silence while it is set; the reconfiguring
    // thread sets hold_, then waits until inCycle_ is clear. So at most one
    // of them touches the plug-in and the members below it.
    std::atomic<bool> hold_{false};
    std::atomic<bool> inCycle_{false};

    // Written only while hold_ keeps the process thread out (or before
    // activation); read by the process thread.
    float rate_ = 0.0f;
    jack_nframes_t capacity_ = 0;           // frames the buffers below hold
    std::vector<float> silence_;            // every audio input of the plug-in
    std::vector<std::vector<float>> extra_; // outputs beyond the two ports
    std::vector<float*> inputs_, outputs_;
    // Process thread only (room made in open): the period's events.
    VstEventBlock events_;

    // Each written by one thread (named), read relaxed by any.
    std::atomic<std::uint64_t> notesIn_{0};        // process thread
    std::atomic<std::uint64_t> eventsDropped_{0};  // process thread
    std::atomic<std::uint64_t> xruns_{0};          // JACK's xrun notification
    // Stored by the process thread, taken (exchanged for -1) by the main one.
    std::atomic<int> programChange_{-1};
    // Written once by the shutdown notification before serverGone_ is set
    // (release); read after serverGone() answers true (acquire).
    std::atomic<bool> serverGone_{false};
    char shutdownReason_[256] = {};
};
