#include "support/ModuleHost.h"

std::vector<HostRequest> ModuleHost::requests() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return requests_;
}

std::vector<HostRequest> ModuleHost::editRequests(VstInt32 index) const {
    std::vector<HostRequest> edits;
    for (const HostRequest& r : requests())
        if ((r.opcode == audioMasterBeginEdit || r.opcode == audioMasterAutomate || r.opcode == audioMasterEndEdit) &&
            (index < 0 || r.index == index))
            edits.push_back(r);
    return edits;
}

int ModuleHost::countRequests(VstInt32 opcode) const {
    std::lock_guard<std::mutex> lock(mutex_);
    int n = 0;
    for (const HostRequest& r : requests_) n += r.opcode == opcode;
    return n;
}

void ModuleHost::clearRequests() {
    std::lock_guard<std::mutex> lock(mutex_);
    requests_.clear();
}

std::vector<unsigned char> ModuleHost::getChunk(bool preset, const void** data) {
    void* chunk = nullptr;
    const VstIntPtr size = dispatch(effGetChunk, preset ? 1 : 0, 0, &chunk);
    if (data) *data = chunk;
    if (size <= 0 || !chunk) return {};
    const auto* bytes = static_cast<const unsigned char*>(chunk);
    return std::vector<unsigned char>(bytes, bytes + size);
}

VstIntPtr ModuleHost::setChunk(const std::vector<unsigned char>& bytes, bool preset) {
    // The plug-in takes a non-const pointer; hand it a copy of its own.
    std::vector<unsigned char> copy = bytes;
    return dispatch(effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(copy.size()),
                    copy.empty() ? nullptr : copy.data());
}

Stereo ModuleHost::renderStereo(VstInt32 frames, float prefill) {
    Stereo out{std::vector<float>(frames, prefill), std::vector<float>(frames, prefill)};
    float* outputs[] = {out.left.data(), out.right.data()};
    process(outputs, frames);
    return out;
}

VstIntPtr ModuleHost::onRequest(AEffect* effect, VstInt32 opcode, VstInt32 index,
                                VstIntPtr value, void* ptr, float opt) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        HostRequest r{opcode, index, value, opt, effect != nullptr, {}};
        if (opcode == audioMasterCanDo && ptr) r.text = static_cast<const char*>(ptr);
        requests_.push_back(r);
    }
    if (opcode == audioMasterVersion) return versionAnswer_;
    return PluginHost::onRequest(effect, opcode, index, value, ptr, opt);
}
