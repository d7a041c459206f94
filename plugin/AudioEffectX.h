// AudioEffectX: the VST 2.x layer over AudioEffect.
//
// Adds the requests 25..79 (events, names, capabilities, keys for the
// editor, speaker arrangement) and the 2.x requests to the host (MIDI wanted,
// time information). Opcodes below 25 or above 79 fall through to
// AudioEffect. Adds no data.
//
// Threads: as tagged, in the words AudioEffect.h defines.
#pragma once

#include "plugin/AudioEffect.h"

class AudioEffectX : public AudioEffect {
public:
    AudioEffectX(audioMasterCallback host, VstInt32 numPrograms, VstInt32 numParams)
        : AudioEffect(host, numPrograms, numParams) {}

    // Requests 25..79 [main thread], except the editor's keys and knob mode
    // [ui thread] and effProcessEvents [audio thread]; the rest go to
    // AudioEffect.
    VstIntPtr dispatcher(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                         float opt) override;

    // [main thread] Requests MIDI when the plug-in is a synth or takes MIDI
    // events.
    void resume() override;

    // [audio thread] Right before processReplacing for the same block. Answers
    // 1 when the list was taken (the base ignores the events), 0 when it
    // could not be read.
    virtual VstInt32 processEvents(VstEvents*) { return 1; }

    // ---- identity and names [main thread] ----------------------------------
    // 1 for a capability the plug-in has, -1 for any other text; never 0.
    // text is NUL-terminated.
    virtual VstInt32 canDo(const char* text);

    // Text requests write into a host buffer and answer true when they did.
    // Hosts give 32 bytes for the effect name and 64 for the vendor and
    // product strings.
    virtual bool getEffectName(char*) { return false; }
    virtual bool getVendorString(char*) { return false; }
    virtual bool getProductString(char*) { return false; }
    virtual VstInt32 getVendorVersion() { return 0; }
    virtual VstInt32 getPlugCategory() { return kPlugCategUnknown; }
    virtual bool getProgramNameIndexed(VstInt32 /*category*/, VstInt32 /*index*/, char*) {
        return false;
    }
    virtual bool canParameterBeAutomated(VstInt32) { return true; }
    virtual VstInt32 getVstVersion() { return 2400; }

    // ---- requests to the host ----------------------------------------------
    // [ui thread] Asks the host about one of its capabilities
    // (audioMasterCanDo): 1 yes, -1 no, 0 when it does not say.
    VstInt32 canHostDo(const char* text);
    // [ui thread] Asks the host to resize the editor's window
    // (audioMasterSizeWindow); true when it did.
    bool sizeWindow(VstInt32 width, VstInt32 height);

protected:
    // [main thread] Asks the host to send MIDI events (audioMasterWantMidi).
    void wantEvents(VstInt32 filter = 1);
    // [audio thread] Asks the host for its transport; null when it has none
    // to give.
    const VstTimeInfo* getTimeInfo(VstInt32 filter);
};
