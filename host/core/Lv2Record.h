// Lv2Record: an LV2 plug-in, hosted through Lv2Host, presented to orv-host's
// commands as the VST 2.x record they drive (LoadedPlugin.h).
//
// Parameters are the control inputs; MIDI events and the tempo the host's
// time answers reach the atom input at their frames; effMainsChanged makes
// the plug-in again when the rate or the longest block changed; programs
// and chunks go through the plug-in's state where it is Ambrell's
// (StatePrograms.h), else the whole state is the chunk; the editor is the
// plug-in's X11 UI, whose gestures come back as audioMasterBeginEdit,
// audioMasterAutomate and audioMasterEndEdit.
//
// One thread drives it, except that processReplacing and effProcessEvents
// come from the audio thread; a value set while audio runs is read by the
// plug-in at its next block.
#pragma once

#include <string>
#include <vector>

#include "host/core/HostMadeRecord.h"
#include "host/core/Lv2Host.h"
#include "host/core/StatePrograms.h"

class Lv2Record : public HostMadeRecord, private StatePrograms, private Lv2Host::UiListener {
public:
    Lv2Record();
    // A bundle folder or a plug-in URI; false with a one-line error.
    bool open(const std::string& bundleOrUri, audioMasterCallback callback, std::string& error);

    AEffect* effect() override { return &effect_; }
    const char* formatName() const override { return "LV2"; }

private:
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) override;
    void setValue(VstInt32 index, float value) override { host_.setParameter(index, value); }
    float value(VstInt32 index) override { return host_.parameter(index); }
    void process(float** outputs, VstInt32 frames) override;
    double hostTempo();
    std::string parameterText(VstInt32 opcode, VstInt32 index);

    bool readState(std::vector<unsigned char>& state) override { return host_.saveState(state); }
    bool writeState(const std::vector<unsigned char>& state) override;
    void touched(int index, bool grabbed) override;
    void written(int index, float value) override;

    Lv2Host host_;
    bool open_ = false;
    bool ambrell_ = false;  // Ambrell's twin: its table gives the texts
    VstInt32 vendorVersion_ = 0;
    // The audio thread's MIDI for the next block and for one piece of it,
    // room reserved up front.
    VstEventBlock midi_, piece_;
    ERect rect_{};
};
