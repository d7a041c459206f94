// Instrument: Ambrell as every format's shell sees it.
//
// It creates one plug-in object through the module's own entry point, with
// a host callback of its own, and from then on reaches it only as a host
// reaches it: the AEffect record's dispatcher, parameter and process
// functions. So the parameters, programs, chunk and editor stay where they
// live, and a shell cannot make the instrument behave other than the VST
// 2.x module does. The parameter table (names, domains, texts) is the one
// the plug-in uses itself.
//
// What a shell adds is its format's vocabulary; what it must hear from the
// plug-in (the editor's gestures, a display to refresh) comes back through
// InstrumentListener.
//
// Threads, tagged as plugin/AudioEffect.h defines the tags: each call
// carries the tag of the plug-in request it makes.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "plugin/vst2.h"

// What the plug-in tells its host, in every format's terms.
class InstrumentListener {
public:
    virtual ~InstrumentListener() = default;
    // [ui thread] A gesture on the editor's control for parameter index
    // begins; the edited values follow, then the end.
    virtual void gestureBegan(int index) = 0;
    virtual void parameterEdited(int index, float value) = 0;
    virtual void gestureEnded(int index) = 0;
    // [any thread] Names or texts changed (a program, a chunk loaded).
    virtual void displayChanged() {}
};

// One event of a block, at its frame: three MIDI bytes, a parameter value,
// or a system-exclusive message (F0 .. F7) whose bytes the shell's host
// keeps until the process call that carries it returns.
struct InstrumentEvent {
    enum Kind : std::uint8_t { kMidi, kParameter, kSysEx };
    std::uint32_t frame = 0;
    Kind kind = kMidi;
    std::uint8_t midi[3] = {0, 0, 0};
    std::int32_t index = 0;
    float value = 0.0f;
    const std::uint8_t* sysex = nullptr;
    std::uint32_t sysexSize = 0;
};

class Instrument {
public:
    // The most MIDI events one block hands the plug-in, and of those the
    // most system-exclusive ones (tuning messages); more are dropped.
    static constexpr int kMaxMidiEvents = 1024;
    static constexpr int kMaxSysExEvents = 64;

    struct ParameterInfo {
        const char* name;
        float lo, hi, defaultValue;
        bool stepped;  // menus and switches: whole numbers only
    };

    // [main thread] listener may be null; it must outlive the instrument.
    explicit Instrument(InstrumentListener* listener = nullptr);
    ~Instrument();
    Instrument(const Instrument&) = delete;
    Instrument& operator=(const Instrument&) = delete;

    // False when the plug-in could not be created; nothing else works then.
    bool valid() const { return effect_ != nullptr; }

    // ---- identity [any thread]: the VST 2.x module's ----------------------
    static const char* name();
    static const char* vendor();
    // "1.0.0" for the vendor version 1000.
    static const char* versionText();

    // ---- parameters --------------------------------------------------------
    static int parameterCount();
    // [any thread] Index outside the table: "Param", 0..1.
    static ParameterInfo parameterInfo(int index);
    float parameter(int index);                    // [any thread]
    void setParameter(int index, float value);     // [any thread]
    // [main thread] The value as the editor and the VST host show it,
    // display and unit ("2.15 kHz"); false for an index outside the table.
    bool valueText(int index, float value, std::string& text);
    // [main thread] A text as a player writes it, back to a value.
    bool readText(int index, const char* text, float& value);

    // ---- programs [main thread] --------------------------------------------
    int programCount() const;
    std::string programName(int index);
    int currentProgram();
    void selectProgram(int index);

    // ---- state [main thread] -----------------------------------------------
    // The bank chunk followed by the trailer naming the current program
    // (InstrumentState.h).
    std::vector<unsigned char> saveState();
    // Bytes saveState wrote, or a bare bank chunk (the current program then
    // stays). False, and nothing changed, for anything else.
    bool loadState(const unsigned char* data, std::size_t size);

    // ---- audio -------------------------------------------------------------
    // [main thread] [not while processing]
    void activate(double sampleRate, std::uint32_t maxFrames);
    void deactivate();
    // [audio thread] The tempo audioMasterGetTime answers during the next
    // process call; none when bpm is not a positive number.
    void setTempo(double bpm);
    // [audio thread] Renders frames into left and right. events are in
    // frame order; a parameter value takes effect at its frame, MIDI is
    // played at its frame; at one frame values come first. Splitting the
    // block there keeps the render identical to one the VST 2.x host makes
    // with the same events.
    void process(float* left, float* right, std::uint32_t frames, const InstrumentEvent* events,
                 std::size_t count);

    // ---- what the plug-in changed itself ----------------------------------
    // [audio thread], or [main thread] while not processing: the thread
    // that processes. A parameter whose value differs from the one last
    // reported (a MIDI controller, learn, the editor, a program, a state):
    // answers true once for each, with its index and value, until all are
    // reported. Values process applied from its events count as reported.
    bool nextChange(int& index, float& value);
    // The same thread: value of index is known to the host already.
    void markReported(int index, float value);

    // ---- editor [ui thread] ------------------------------------------------
    bool hasEditor() const;
    bool editorSize(int& width, int& height);
    // The host's scale for the editor (1.0 is 100 %), taken at the next open;
    // a scale the editor does not offer leaves its own choice.
    void setEditorScale(double scale);
    bool openEditor(void* parent);
    void idleEditor();
    void closeEditor();

private:
    static VstIntPtr hostCallback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                  void* ptr, float opt);
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                       float opt = 0.0f);
    void renderSegment(float* left, float* right, std::uint32_t frames);

    InstrumentListener* const listener_;
    AEffect* effect_ = nullptr;
    // Main thread; what valueText and readText are computed at.
    float sampleRate_ = 44100.0f;
    // Audio thread only: the block's MIDI as the plug-in takes it, built in
    // place (no allocation while processing). The list's entry k is midi_[k]
    // or one of the first sysexCount_ of sysex_.
    std::vector<VstMidiEvent> midi_;
    std::vector<VstMidiSysexEvent> sysex_;
    std::vector<unsigned char> midiList_;
    int midiCount_ = 0;
    int sysexCount_ = 0;
    VstTimeInfo time_{};
    bool hasTempo_ = false;
    // The values last reported by nextChange: touched only by the thread
    // that processes, or flushes while nothing processes.
    float reported_[64] = {};
    int nextScan_ = 0;
};
