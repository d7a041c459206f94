// AudioEffect: the generic plug-in object behind the host's AEffect record.
//
// It owns the AEffect record the host sees, turns the host's numbered
// requests 0..24 (programs, parameters, editor, chunks) into virtual calls,
// and sends the plug-in's requests back through the host callback. It knows
// nothing of synthesis: a subclass overrides what it needs and keeps the
// defaults (answer 0, do nothing) for the rest.
//
// Lifetime: constructed by the entry point, owned by the host through the
// AEffect record until effClose, whose static dispatcher deletes it. The
// editor attached with setEditor is owned here and deleted last.
//
// Threads. Every entry point of the plug-in and its editor, and every call
// of the toolkit's platform seam, carries one of these tags:
//   [main thread]   the host's main thread: construction, the lifecycle,
//                   programs, chunks, names and capabilities. It may run
//                   while the audio thread processes.
//   [ui thread]     the thread that runs the editor: its requests (rect,
//                   open, idle, keys, close) and every toolkit and window
//                   call they lead to. Mostly the main thread itself;
//                   nothing here relies on that.
//   [audio thread]  the host's processing thread: effProcessEvents, then
//                   processReplacing for the same block, never overlapping.
//                   No allocation, no lock, no system call.
//   [any thread]    any host thread, the audio thread included, at any time.
//   [not while processing]  added to a tag: the host makes the call only
//                   while no audio is processed (before the first resume or
//                   while suspended), so nothing else reads what it writes.
// The host never overlaps effClose with another call.
#pragma once

#include <atomic>

#include "plugin/vst2.h"

class AEffEditor;

class AudioEffect {
public:
    // [main thread] Inside the entry point.
    AudioEffect(audioMasterCallback host, VstInt32 numPrograms, VstInt32 numParams);
    virtual ~AudioEffect();

    AudioEffect(const AudioEffect&) = delete;
    AudioEffect& operator=(const AudioEffect&) = delete;

    // The record handed to the host; its object field points back here.
    AEffect* getAeffect() { return &cEffect_; }

    // The host's request with opcode 0..24; anything else is 0. [main
    // thread], except the editor's requests [ui thread] and the opcodes a
    // subclass documents otherwise (effProcessEvents [audio thread]).
    virtual VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                 float opt);

    // ---- lifecycle [main thread] -------------------------------------------
    virtual void open() {}
    virtual void close() {}
    virtual void suspend() {}
    virtual void resume() {}
    // [main thread] [not while processing]
    virtual void setSampleRate(float rate) { sampleRate_ = rate; }
    virtual void setBlockSize(VstInt32 size) { blockSize_ = size; }

    // ---- audio [audio thread] ----------------------------------------------
    virtual void processReplacing(float** inputs, float** outputs, VstInt32 sampleFrames) = 0;
    virtual void processDoubleReplacing(double**, double**, VstInt32) {}

    // ---- programs [main thread] --------------------------------------------
    virtual void setProgram(VstInt32 program) {
        curProgram_.store(program, std::memory_order_relaxed);
    }
    virtual VstInt32 getProgram() { return curProgram_.load(std::memory_order_relaxed); }
    virtual void setProgramName(char*) {}
    virtual void getProgramName(char*) {}
    // Answers the chunk's size in bytes and stores its address in *data.
    virtual VstInt32 getChunk(void** /*data*/, bool /*isPreset*/) { return 0; }
    virtual VstInt32 setChunk(void* /*data*/, VstInt32 /*byteSize*/, bool /*isPreset*/) {
        return 0;
    }

    // ---- parameters [any thread] -------------------------------------------
    virtual void setParameter(VstInt32, float) {}
    virtual float getParameter(VstInt32) { return 0.0f; }
    // [ui thread] Edits made by the editor: store, then tell the host.
    virtual void setParameterAutomated(VstInt32 index, float value);
    virtual void getParameterLabel(VstInt32, char*) {}
    virtual void getParameterDisplay(VstInt32, char*) {}
    virtual void getParameterName(VstInt32, char*) {}

    // ---- requests to the host ----------------------------------------------
    // Each is skipped, and answers 0, while there is no host callback.
    bool beginEdit(VstInt32 index);  // [ui thread] start of a gesture
    bool endEdit(VstInt32 index);    // [ui thread] end of a gesture
    void masterIdle();               // [ui thread] while a control holds the mouse
    // [ui thread] The current program or the program names changed, so the
    // host's own lists should follow (audioMasterUpdateDisplay).
    bool updateDisplay();

    // ---- editor ------------------------------------------------------------
    // [main thread] Called by the editor's constructor (inside the
    // plug-in's): takes ownership, sets the flag.
    void setEditor(AEffEditor* editor);
    AEffEditor* getEditor() const { return editor_; }

    float getSampleRate() const { return sampleRate_; }
    VstInt32 getBlockSize() const { return blockSize_; }

protected:
    // Sends one request; 0 when there is no host callback.
    VstIntPtr callHost(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);

    void setFlag(VstInt32 flag, bool on);
    bool hasFlag(VstInt32 flag) const { return (cEffect_.flags & flag) != 0; }
    void setUniqueID(VstInt32 id) { cEffect_.uniqueID = id; }
    void setNumInputs(VstInt32 n) { cEffect_.numInputs = n; }
    void setNumOutputs(VstInt32 n) { cEffect_.numOutputs = n; }
    VstInt32 numPrograms() const { return numPrograms_; }
    VstInt32 numParams() const { return numParams_; }

    audioMasterCallback host_;
    // Set while the plug-in is constructed, read from any thread after.
    AEffEditor* editor_ = nullptr;
    // Written [main thread] [not while processing]: no other thread reads
    // them while they change.
    float sampleRate_ = 44100.0f;
    VstInt32 blockSize_ = 1024;
    const VstInt32 numPrograms_;
    const VstInt32 numParams_;
    // The current program: written by program changes [main thread],
    // read with relaxed loads on every thread (the audio thread's mapped
    // controllers and learn, automation storing into the current program).
    std::atomic<VstInt32> curProgram_{0};
    AEffect cEffect_;

private:
    // The functions the AEffect record points at: each finds the object
    // through effect->object and forwards the call, on the caller's thread
    // (as dispatcher, processReplacing and setParameter say).
    static VstIntPtr dispatchEntry(AEffect* e, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                                   void* ptr, float opt);
    static void processEntry(AEffect* e, float** in, float** out, VstInt32 frames);
    static void processReplacingEntry(AEffect* e, float** in, float** out, VstInt32 frames);
    static void processDoubleReplacingEntry(AEffect* e, double** in, double** out,
                                            VstInt32 frames);
    static void setParameterEntry(AEffect* e, VstInt32 index, float value);
    static float getParameterEntry(AEffect* e, VstInt32 index);
};
