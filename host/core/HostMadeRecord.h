// HostMadeRecord: the VST 2.x record (AEffect) that orv-host presents for a
// plug-in of another format (ClapHost, Lv2Record), so that every command
// drives it as it drives a VST 2.x module (LoadedPlugin.h).
//
// The record's entry functions lead to the four members a format fills in;
// the accumulating and double-precision process calls do nothing, as in a
// plug-in that offers neither. The requests every such record answers
// alike are kept here: the sample rate and the block size a host announces,
// which a format takes when it is switched on.
//
// Threads as the record's requests: process (and effProcessEvents) on the
// audio thread, the rest on the thread that drives the host.
#pragma once

#include "host/core/LoadedPlugin.h"

class HostMadeRecord : public LoadedPlugin {
public:
    HostMadeRecord(const HostMadeRecord&) = delete;
    HostMadeRecord& operator=(const HostMadeRecord&) = delete;

protected:
    HostMadeRecord();

    virtual VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) = 0;
    virtual void setValue(VstInt32 index, float value) = 0;
    virtual float value(VstInt32 index) = 0;
    // Only with outputs and at least one frame.
    virtual void process(float** outputs, VstInt32 frames) = 0;

    // effSetSampleRate (a rate above 0) and effSetBlockSize (above 0) are
    // kept and answered 0: true when opcode was one of them.
    bool settingRequest(VstInt32 opcode, VstIntPtr value, float opt);

    AEffect effect_{};
    audioMasterCallback callback_ = nullptr;
    float sampleRate_ = 44100.0f;
    VstInt32 blockSize_ = 512;
};
