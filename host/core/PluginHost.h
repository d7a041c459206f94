// PluginHost: loads any VST 2.x module, or a CLAP plug-in, and drives it the
// way a host does.
//
// The plug-in is opened by its file's form (LoadedPlugin.h): a VST 2.x
// module's entry point is called with this host's callback, a CLAP plug-in
// is presented through the same record and requests. Then effOpen, the
// sample rate and block size.
// The callback answers what a plain host answers: version 2400, its sample
// rate and block size, time information (or none), its name, and the
// capabilities to send MIDI events and time information. Subclasses override
// onRequest to watch or change the answers (tests record them there).
//
// One PluginHost holds at most one plug-in. All calls come from one thread,
// except that the plug-in may call back from its audio path (process).
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "host/core/LoadedPlugin.h"
#include "host/core/VstEventList.h"
#include "plugin/vst2.h"

class PluginHost {
public:
    PluginHost();
    virtual ~PluginHost();

    PluginHost(const PluginHost&) = delete;
    PluginHost& operator=(const PluginHost&) = delete;

    // Loads the module at path and opens its plug-in. False, with a message
    // in error(), when the module or its entry point is missing or the entry
    // returns no valid AEffect.
    bool load(const std::string& path, float sampleRate = 44100.0f, VstInt32 blockSize = 512);
    // effClose: the plug-in deletes itself; the record is forgotten. Answers
    // the plug-in's answer.
    VstIntPtr close();
    // Switches the plug-in off, closes it and unloads the module.
    void unload();

    AEffect* effect() const { return effect_; }
    // "VST 2.x" or "CLAP"; empty while nothing is loaded.
    const char* formatName() const { return plugin_ ? plugin_->formatName() : ""; }
    const std::string& error() const { return error_; }
    float sampleRate() const { return sampleRate_; }
    VstInt32 blockSize() const { return blockSize_; }

    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0,
                       void* ptr = nullptr, float opt = 0.0f);

    // Text requests, each through a zeroed buffer far larger than the
    // interface's limits; the answer up to the terminator.
    std::string effectName();
    std::string vendorString();
    std::string productString();
    std::string parameterName(VstInt32 index);
    std::string parameterLabel(VstInt32 index);
    std::string parameterDisplay(VstInt32 index);
    std::string programName();
    // Empty with ok false when the plug-in does not answer the request.
    std::string programNameIndexed(VstInt32 index, bool* ok = nullptr);
    // Every program's name, by index. Plug-ins that name only their current
    // program have each one selected in turn; the current one is restored.
    std::vector<std::string> programNames();

    void setParameter(VstInt32 index, float value);
    float getParameter(VstInt32 index);

    // effMainsChanged 1 / 0.
    void resume();
    void suspend();
    // A new sample rate or block size, as a host passes one on: suspend,
    // effSetSampleRate, effSetBlockSize, resume. What the callback answers
    // follows. Never while the plug-in processes.
    void reconfigure(float sampleRate, VstInt32 blockSize);

    // Hands MIDI events to the plug-in (effProcessEvents) and answers its
    // answer.
    VstIntPtr sendEvents(const std::vector<VstMidiEvent>& events);
    VstIntPtr sendEvents(VstEventBlock& events);
    // One processReplacing call with silent inputs; advances the transport.
    void process(float** outputs, VstInt32 frames);

    // What audioMasterGetTime answers: a copy of info, or nothing (0) when
    // info is null. At load: 120 beats per minute, 4/4, transport stopped.
    void setTimeInfo(const VstTimeInfo* info);
    const VstTimeInfo& timeInfo() const { return timeInfo_; }

    // A path is used as given; a bare file name ("amsynth_vst.so") is looked
    // up in ., VST_PATH, LXVST_PATH, ~/.vst, /usr/local/lib/vst, /usr/lib/vst;
    // a bare ".clap" name in ., CLAP_PATH, ~/.clap, /usr/local/lib/clap,
    // /usr/lib/clap.
    static std::string findModule(const std::string& nameOrPath);

protected:
    // Answers one request from the plug-in. effect is null while the entry
    // point runs its version check.
    virtual VstIntPtr onRequest(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                VstIntPtr value, void* ptr, float opt);

private:
    static VstIntPtr callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                              void* ptr, float opt);
    std::string textRequest(VstInt32 opcode, VstInt32 index = 0);

    std::unique_ptr<LoadedPlugin> plugin_;
    AEffect* effect_ = nullptr;
    std::string error_;
    float sampleRate_ = 44100.0f;
    VstInt32 blockSize_ = 512;
    VstTimeInfo timeInfo_{};
    bool answerTimeInfo_ = true;
    std::vector<float> silence_;
    std::vector<float*> inputs_;
};
