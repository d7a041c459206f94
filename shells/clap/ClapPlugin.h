// ClapPlugin: Ambrell as a CLAP plug-in, a thin shell on Instrument.
//
// The plug-in record and its extensions (params, state, note-ports,
// audio-ports, latency, gui, timer-support) are tables of functions that
// find this object through plugin_data and forward to it. Each carries the
// thread tag of the CLAP interface: [main thread], [audio thread], [any
// thread], and for params' flush "[active ? audio thread : main thread]".
// The main thread also runs the editor.
//
// What the plug-in changes itself (the editor's gestures, MIDI learn, a
// mapped controller) reaches the host as output events: the gestures go
// through a GestureQueue and request_flush, every changed value is found by
// Instrument::nextChange at the end of process or flush.
#pragma once

#include <memory>
#include <vector>

#include "clap/ext/audio-ports.h"
#include "clap/ext/gui.h"
#include "clap/ext/note-ports.h"
#include "clap/ext/params.h"
#include "clap/ext/state.h"
#include "clap/ext/timer-support.h"
#include "clap/plugin.h"
#include "shells/clap/GestureQueue.h"
#include "shells/common/Instrument.h"

class ClapPlugin : public InstrumentListener {
public:
    static const clap_plugin_descriptor_t descriptor;

    // [main thread] Inside the factory's create_plugin; init makes the
    // instrument.
    explicit ClapPlugin(const clap_host_t* host);
    const clap_plugin_t* plugin() const { return &plugin_; }

private:
    static ClapPlugin& self(const clap_plugin_t* p) { return *static_cast<ClapPlugin*>(p->plugin_data); }

    // ---- the plug-in record ------------------------------------------------
    static bool init(const clap_plugin_t* p);                   // [main thread]
    static void destroy(const clap_plugin_t* p);                // [main thread]
    static bool activate(const clap_plugin_t* p, double rate, uint32_t minFrames,
                         uint32_t maxFrames);                   // [main thread]
    static void deactivate(const clap_plugin_t* p);             // [main thread]
    static bool startProcessing(const clap_plugin_t*) { return true; }  // [audio thread]
    static void stopProcessing(const clap_plugin_t*) {}         // [audio thread]
    static void reset(const clap_plugin_t*) {}                  // [audio thread]
    static clap_process_status process(const clap_plugin_t* p, const clap_process_t* process);  // [audio thread]
    static const void* extension(const clap_plugin_t* p, const char* id);  // [any thread]
    static void onMainThread(const clap_plugin_t*) {}           // [main thread]

    // ---- params ------------------------------------------------------------
    static uint32_t paramCount(const clap_plugin_t* p);                           // [main thread]
    static bool paramInfo(const clap_plugin_t* p, uint32_t index, clap_param_info_t* info);  // [main thread]
    static bool paramValue(const clap_plugin_t* p, clap_id id, double* value);   // [main thread]
    static bool valueToText(const clap_plugin_t* p, clap_id id, double value, char* text,
                            uint32_t size);                                       // [main thread]
    static bool textToValue(const clap_plugin_t* p, clap_id id, const char* text,
                            double* value);                                       // [main thread]
    // [active ? audio thread : main thread]
    static void flush(const clap_plugin_t* p, const clap_input_events_t* in, const clap_output_events_t* out);

    // ---- state [main thread] -----------------------------------------------
    static bool saveState(const clap_plugin_t* p, const clap_ostream_t* stream);
    static bool loadState(const clap_plugin_t* p, const clap_istream_t* stream);

    // ---- ports and latency [main thread] -----------------------------------
    static uint32_t notePortCount(const clap_plugin_t*, bool isInput);
    static bool notePortInfo(const clap_plugin_t*, uint32_t index, bool isInput, clap_note_port_info_t* info);
    static uint32_t audioPortCount(const clap_plugin_t*, bool isInput);
    static bool audioPortInfo(const clap_plugin_t*, uint32_t index, bool isInput, clap_audio_port_info_t* info);
    static uint32_t latency(const clap_plugin_t*) { return 0; }

    // ---- gui and its timer [main thread] -----------------------------------
    static bool guiApiSupported(const clap_plugin_t*, const char* api, bool floating);
    static bool guiPreferredApi(const clap_plugin_t*, const char** api, bool* floating);
    static bool guiCreate(const clap_plugin_t* p, const char* api, bool floating);
    static void guiDestroy(const clap_plugin_t* p);
    static bool guiSetScale(const clap_plugin_t* p, double scale);
    static bool guiSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height);
    static bool guiCanResize(const clap_plugin_t*) { return false; }
    static bool guiResizeHints(const clap_plugin_t*, clap_gui_resize_hints_t*) { return false; }
    static bool guiAdjustSize(const clap_plugin_t* p, uint32_t* width, uint32_t* height);
    static bool guiSetSize(const clap_plugin_t* p, uint32_t width, uint32_t height);
    static bool guiSetParent(const clap_plugin_t* p, const clap_window_t* window);
    static bool guiSetTransient(const clap_plugin_t*, const clap_window_t*) { return false; }
    static void guiSuggestTitle(const clap_plugin_t*, const char*) {}
    static bool guiShow(const clap_plugin_t* p);
    static bool guiHide(const clap_plugin_t* p);
    static void onTimer(const clap_plugin_t* p, clap_id timer);

    // ---- InstrumentListener [main thread] ----------------------------------
    void gestureBegan(int index) override;
    void parameterEdited(int index, float value) override;
    void gestureEnded(int index) override;
    void displayChanged() override {}
    void sendGesture(const Gesture& g);

    // Reads the host's events for one block (or a flush) into events_.
    void readEvents(const clap_input_events_t* in, bool withNotes);
    // Hands the host the gestures and the values the plug-in changed.
    void reportChanges(const clap_output_events_t* out);

    clap_plugin_t plugin_;
    const clap_host_t* const host_;
    // Asked of the host in init [main thread], constant after.
    const clap_host_params_t* hostParams_ = nullptr;
    const clap_host_timer_support_t* hostTimer_ = nullptr;
    std::unique_ptr<Instrument> instrument_;
    GestureQueue gestures_;
    // The events of the block being processed: [audio thread], or the
    // flush's thread while nothing processes; sized in activate.
    std::vector<InstrumentEvent> events_;
    // The editor [main thread].
    bool guiCreated_ = false;
    bool editorOpen_ = false;
    clap_id timer_ = 0;
    bool timerRegistered_ = false;
};
