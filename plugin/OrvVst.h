// OrvVst: Ambrell as the host sees it.
//
// Owns the engine, the editor (through AudioEffect), the 20 programs with
// their chunk copies, and the ParamBlock the engine reads on every sample.
// Every parameter change, whatever its source (host, program change, chunk,
// editor, MIDI controller), goes through setParameter, which stores the raw
// value in the current program and in the ParamBlock and tells the editor.
//
// Lifetime: created by createEffectInstance inside the entry point, deleted
// by the host's effClose. Threads as tagged (AudioEffect.h says what the
// tags mean): the main thread's requests run while audio runs. Each member
// says who writes it and how the others read it.
#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "engine/ParamBlock.h"
#include "engine/SynthEngine.h"
#include "plugin/AudioEffectX.h"
#include "plugin/FactoryBank.h"
#include "plugin/LiveBank.h"
#include "plugin/MidiEventQueue.h"
#include "plugin/TuningExchange.h"
#include "tuning/Tuning.h"

class OrvVst : public AudioEffectX {
public:
    static constexpr VstInt32 kUniqueId = 0x31313132;  // '1112'
    static constexpr VstInt32 kVendorVersion = 1000;
    static constexpr const char* kEffectName = "Ambrell - ORV";
    static constexpr const char* kVendorName = "ORV - Orvane Instruments";

    // Attaches an editor to a new plug-in object (the editor's constructor
    // attaches itself, AEffEditor); called first thing in the constructor, so
    // the editor hears the initial program.
    using EditorFactory = void (*)(AudioEffect* effect);

    // [main thread] Inside the entry point. attachEditor may be null: no
    // editor.
    explicit OrvVst(audioMasterCallback host, EditorFactory attachEditor = nullptr);
    ~OrvVst() override;

    // ---- audio [audio thread] ----------------------------------------------
    // Queues the block's MIDI events at their sample offsets.
    VstInt32 processEvents(VstEvents* events) override;
    // For every frame: releases the events due at it, renders one sample and
    // writes it to both outputs (replacing what they held). Denormals are
    // flushed for the length of the call; the host's mode is restored.
    void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) override;
    // [main thread] [not while processing] Rates that are no rate (0,
    // negative, NaN, inf) are ignored and the previous one stays.
    void setSampleRate(float rate) override;

    // ---- parameters [any thread] -------------------------------------------
    void setParameter(VstInt32 index, float value) override;
    float getParameter(VstInt32 index) override;
    void getParameterName(VstInt32 index, char* text) override;
    // The value as a musician reads it and its unit (ParameterText.h), at
    // most 8 characters each plus the terminator; the sample rate is the one
    // set while no audio ran.
    void getParameterLabel(VstInt32 index, char* text) override;
    void getParameterDisplay(VstInt32 index, char* text) override;
    // The index most recently stored by setParameter.
    VstInt32 lastChangedParameter() const {
        return lastChangedParam_.load(std::memory_order_relaxed);
    }

    // ---- programs and chunks [main thread] --------------------------------
    void setProgram(VstInt32 program) override;
    void setProgramName(char* name) override;
    // [any thread] Names are read as LiveBank allows any thread to.
    void getProgramName(char* text) override;
    bool getProgramNameIndexed(VstInt32 category, VstInt32 index, char* text) override;
    // A bank chunk is the 20 records and, while a tuning other than the
    // standard one or the clean oscillators are set, the state trailer with
    // the tuning's texts and the mode after them (StateTrailer.h). A bank
    // chunk without a sound trailer loads the standard tuning and classic
    // oscillators; a mode record naming no mode keeps the mode playing.
    // Program chunks are the one record alone.
    VstInt32 getChunk(void** data, bool isPreset) override;
    VstInt32 setChunk(void* data, VstInt32 byteSize, bool isPreset) override;

    // ---- tuning [main thread] [ui thread] ----------------------------------
    // The tuning the keys play in, from the next audio block on. Tuning
    // messages arriving as MIDI retune single keys of it until the next
    // choice; they are not part of the saved state.
    void setTuning(const Tuning& tuning);
    Tuning tuning() const;

    // ---- oscillators [main thread] [ui thread] -----------------------------
    // How the saws, pulses and sub-oscillator are band-limited (classic is
    // the instrument's own sound), from the next audio block on; saved with
    // the bank.
    void setOscillatorMode(OscillatorMode mode);
    OscillatorMode oscillatorMode() const;

    // ---- identity [main thread] --------------------------------------------
    VstInt32 canDo(const char* text) override;
    bool getEffectName(char* text) override;
    bool getVendorString(char* text) override;
    bool getProductString(char* text) override;
    VstInt32 getVendorVersion() override { return kVendorVersion; }
    VstInt32 getPlugCategory() override { return kPlugCategEffect; }

private:
    // The audio path (OrvVstAudio.cpp) [audio thread].
    void handleMidiEvent(const VstMidiEvent& event);
    void controlChange(int controller, int value, unsigned char rawController);
    void passHostTempo();
    void loadTrailer(const unsigned char* bytes, std::size_t size);

    // The current program (curProgram_): written by setProgram [main
    // thread], read with a relaxed load by every thread.
    VstInt32 getCurrentIndex() const { return curProgram_.load(std::memory_order_relaxed); }

    // Audio thread only, like the tempo it is handed at each note-on.
    std::unique_ptr<SynthEngine> engine_;
    // Audio thread only (effProcessEvents and processReplacing); its longest
    // wait is set by setSampleRate [not while processing].
    MidiEventQueue events_;
    // Stored by setParameter on any thread, read by controller learn on the
    // audio thread: relaxed atomic, the last store wins.
    std::atomic<VstInt32> lastChangedParam_{0};
    // The programs; the current one is edited in place (see LiveBank for
    // who writes which field).
    LiveBank programs_;
    // What getChunk hands out, stable until the next call: main thread only.
    // A bank with a trailer is handed out from bankChunk_.
    ProgramBank chunkCopy_;
    std::vector<unsigned char> bankChunk_;
    // The tuning as chosen (texts and table): main and ui thread, under
    // tuningLock_; the audio thread never reads it. Its table reaches the
    // engine through tuningExchange_, taken at the start of each block.
    mutable std::mutex tuningLock_;
    Tuning tuning_;
    TuningExchange tuningExchange_;
    // The oscillator mode: stored by setOscillatorMode, whose last store
    // wins (relaxed atomic); the audio thread loads it at the start of each
    // block and hands it to the engine.
    std::atomic<int> oscillatorMode_{static_cast<int>(OscillatorMode::kClassic)};
    // Stored by setParameter on any thread, read by the engine on the audio
    // thread and by getParameter anywhere: relaxed atomics (ParamBlock).
    ParamBlock params_;
};

// [main thread] Allocates one OrvVst with its editor for the host; null when
// that fails. Defined with the editor (editor/OrvVstInstance.cpp), the layer
// that knows both.
AudioEffect* createEffectInstance(audioMasterCallback host);
