// ModuleHost: a PluginHost for tests. It records every request the plug-in
// sends (opcode, index, value, opt, and the text of a capability question),
// can play a host that is not there (version answer 0), and offers the chunk
// round trips that tests of saved state need and the renders that tests of
// the sound need.
#pragma once

#include <mutex>
#include <string>
#include <vector>

#include "host/core/PluginHost.h"

struct Stereo {
    std::vector<float> left, right;
};

struct HostRequest {
    VstInt32 opcode;
    VstInt32 index;
    VstIntPtr value;
    float opt;
    bool hadEffect;    // the request named its AEffect (all but the version check)
    std::string text;  // audioMasterCanDo: the capability asked about
};

class ModuleHost : public PluginHost {
public:
    // What audioMasterVersion answers; 0 plays a host without VST support.
    void setVersionAnswer(VstIntPtr version) { versionAnswer_ = version; }

    std::vector<HostRequest> requests() const;
    // The edit gesture's requests (begin edit, automate, end edit), in the
    // order sent; only those for parameter index unless it is -1.
    std::vector<HostRequest> editRequests(VstInt32 index = -1) const;
    int countRequests(VstInt32 opcode) const;
    void clearRequests();

    // effGetChunk: a copy of the bytes the plug-in hands out (empty when it
    // answers 0). The plug-in's own pointer is in *data when asked for.
    std::vector<unsigned char> getChunk(bool preset, const void** data = nullptr);
    VstIntPtr setChunk(const std::vector<unsigned char>& bytes, bool preset);

    // One processReplacing call of `frames` frames into buffers that held
    // `prefill` before; both outputs.
    Stereo renderStereo(VstInt32 frames, float prefill = 0.0f);
    // The same, the left output only (the right carries the same signal).
    std::vector<float> render(VstInt32 frames) { return renderStereo(frames).left; }
    // Sends the events, then renders one block of `frames` frames.
    std::vector<float> render(const std::vector<VstMidiEvent>& events, VstInt32 frames) {
        sendEvents(events);
        return render(frames);
    }

protected:
    VstIntPtr onRequest(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                        void* ptr, float opt) override;

private:
    VstIntPtr versionAnswer_ = 2400;
    mutable std::mutex mutex_;  // the plug-in may call back from an audio path
    std::vector<HostRequest> requests_;
};
