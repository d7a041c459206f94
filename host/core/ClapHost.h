// ClapHost: a CLAP plug-in, hosted, and presented to orv-host's commands as
// the VST 2.x record they drive (LoadedPlugin.h).
//
// The module's clap_entry gives the factory, and its first plug-in is
// created, initialised and then driven through its extensions: each request
// of the record becomes the matching CLAP call. Parameters are the
// plug-in's params; effMainsChanged activates and deactivates; MIDI events
// and parameter values reach process as CLAP events (values queued while
// the plug-in is on, flushed at once while it is off); the editor is its gui,
// pumped by the timers it registers each time effEditIdle comes. What the
// plug-in reports (gesture begin, value, end, from process or a flush) comes
// back as audioMasterBeginEdit, audioMasterAutomate and audioMasterEndEdit.
//
// CLAP has no programs: a plug-in whose state is Ambrell's (InstrumentState.h)
// shows its programs, bank and program chunks, the current program
// included, through that state, and carries the VST 2.x unique id of its
// twin, so presets move between the two formats.
//
// Threads as the record's requests: effProcessEvents, processReplacing and
// the queued parameter values on the audio thread, the rest on the thread
// that drives the host.
#pragma once

#include <atomic>
#include <string>
#include <vector>

#include "clap/entry.h"
#include "clap/events.h"
#include "clap/host.h"
#include "clap/plugin.h"
#include "host/core/HostMadeRecord.h"
#include "host/core/StatePrograms.h"

struct clap_plugin_params;
struct clap_plugin_state;
struct clap_plugin_gui;
struct clap_plugin_timer_support;
struct clap_plugin_audio_ports;

class ClapHost : public HostMadeRecord, private StatePrograms {
public:
    ClapHost();
    ~ClapHost() override;

    // Opens the module and creates its first plug-in; false with a one-line
    // error.
    bool open(const std::string& file, audioMasterCallback callback, std::string& error);

    AEffect* effect() override { return plugin_ ? &effect_ : nullptr; }
    const char* formatName() const override { return "CLAP"; }

    // The CLAP plug-in itself, for those that speak CLAP.
    const clap_plugin_t* plugin() const { return plugin_; }

private:
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;
    void setValue(VstInt32 index, float value) override;
    float value(VstInt32 index) override;
    void process(float** outputs, VstInt32 frames) override;
    void destroyPlugin();
    void activate(bool on);
    void queueMidi(const VstEvents* events);
    // The values queued for the next block, into values_.
    void takeQueued();
    // Flushes what was queued: the plug-in was switched off before a block
    // took it.
    void drainQueued();
    // A flush of one event, or none, or a list, while the plug-in is off;
    // its reports go to the callback.
    void flushNow(const clap_event_header_t* event);
    void flushList(std::vector<const clap_event_header_t*>& events);
    void report(const clap_event_header_t* event);
    static bool pushReport(const clap_output_events_t* list, const clap_event_header_t* event);
    std::string parameterText(VstInt32 index);

    // Programs, through the state of a plug-in in Ambrell's form.
    bool readState(std::vector<unsigned char>& state) override;
    bool writeState(const std::vector<unsigned char>& state) override;

    // The host record and its extensions, answering the plug-in.
    static const void* hostExtension(const clap_host_t* host, const char* id);
    static void requestNothing(const clap_host_t*) {}
    static void requestFlush(const clap_host_t* host);
    static void rescan(const clap_host_t*, uint32_t) {}
    static void clear(const clap_host_t*, clap_id, uint32_t) {}
    static bool registerTimer(const clap_host_t* host, uint32_t periodMs, clap_id* id);
    static bool unregisterTimer(const clap_host_t* host, clap_id id);
    static void markDirty(const clap_host_t*) {}

    clap_host_t host_;
    void* library_ = nullptr;
    const clap_plugin_entry_t* entry_ = nullptr;
    const clap_plugin_t* plugin_ = nullptr;
    const clap_plugin_params* params_ = nullptr;
    const clap_plugin_state* state_ = nullptr;
    const clap_plugin_gui* gui_ = nullptr;
    const clap_plugin_timer_support* timer_ = nullptr;
    const char* windowApi_ = nullptr;
    bool ambrellState_ = false;

    // Written by effMainsChanged on the driving thread; read where a
    // parameter value is set, from any thread: while on, values wait for
    // the next block, while off they are flushed at once (no block runs).
    std::atomic<bool> active_{false};
    // Written by the audio thread as it starts processing and by the
    // driving thread as it stops the plug-in.
    std::atomic<bool> processing_{false};

    // The audio thread's events of the next block, preallocated.
    std::vector<clap_event_midi_t> midi_;
    std::vector<clap_event_midi_sysex_t> sysex_;
    // Both kinds in the order the host's lists gave them, which the block
    // keeps for events at one frame. (midi_ and sysex_ never grow past
    // what they reserved, so the pointers hold.)
    std::vector<clap_event_header_t*> arrived_;
    std::vector<clap_event_param_value_t> values_;
    std::vector<const clap_event_header_t*> order_;
    // Parameter values from the driving thread for the next block: one
    // writer, one reader, indexes handed over with release/acquire.
    static constexpr std::uint32_t kQueued = 1024;
    struct Queued {
        VstInt32 index;
        float value;
    };
    Queued queued_[kQueued];
    std::atomic<std::uint32_t> queuedHead_{0}, queuedTail_{0};

    // The editor [main thread].
    bool guiCreated_ = false;
    ERect rect_{};
    std::vector<clap_id> timers_;
    clap_id nextTimer_ = 1;
    std::atomic<bool> flushRequested_{false};

};
