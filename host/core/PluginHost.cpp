#include "host/core/PluginHost.h"

#include <cstdlib>
#include <cstring>
#include <sys/stat.h>

#include "host/core/VstEventList.h"

namespace {

// The plug-in whose entry point is running: its requests come before the
// host knows its AEffect record.
thread_local PluginHost* loadingHost = nullptr;

constexpr VstInt32 kHostVersion = 2400;
constexpr const char* kHostVendor = "ORV - Orvane Instruments";
constexpr const char* kHostProduct = "orv-host";
constexpr VstIntPtr kHostVendorVersion = 1000;
// The buffer for any text request: generous, since plug-ins write past the
// interface's nominal limits.
constexpr std::size_t kTextBuffer = 512;

const char* const kHostCapabilities[] = {"sendVstEvents", "sendVstMidiEvent", "sendVstTimeInfo"};

bool isFile(const std::string& path) {
    struct stat st;
    return stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

VstTimeInfo stoppedTransport(float sampleRate) {
    VstTimeInfo t{};
    t.sampleRate = sampleRate;
    t.tempo = 120.0;
    t.timeSigNumerator = 4;
    t.timeSigDenominator = 4;
    t.flags = kVstPpqPosValid | kVstTempoValid | kVstTimeSigValid | kVstBarsValid;
    return t;
}

}  // namespace

PluginHost::PluginHost() : timeInfo_(stoppedTransport(sampleRate_)) {}

PluginHost::~PluginHost() { unload(); }

std::string PluginHost::findModule(const std::string& nameOrPath) {
    if (nameOrPath.find_first_of("/\\") != std::string::npos) return nameOrPath;
    const bool clap = nameOrPath.size() > 5 && nameOrPath.compare(nameOrPath.size() - 5, 5, ".clap") == 0;
    const std::vector<const char*> vars =
        clap ? std::vector<const char*>{"CLAP_PATH"} : std::vector<const char*>{"VST_PATH", "LXVST_PATH"};
    const std::string folder = clap ? "clap" : "vst";
    std::vector<std::string> dirs{"."};
    for (const char* var : vars) {
        const char* value = std::getenv(var);
        if (!value) continue;
        std::string list = value;
        for (std::size_t start = 0; start <= list.size();) {
            std::size_t end = list.find(':', start);
            if (end == std::string::npos) end = list.size();
            if (end > start) dirs.push_back(list.substr(start, end - start));
            start = end + 1;
        }
    }
    if (const char* home = std::getenv("HOME")) dirs.push_back(std::string(home) + "/." + folder);
    dirs.push_back("/usr/local/lib/" + folder);
    dirs.push_back("/usr/lib/" + folder);
    for (const std::string& dir : dirs)
        if (isFile(dir + "/" + nameOrPath)) return dir + "/" + nameOrPath;
    return "./" + nameOrPath;
}

bool PluginHost::load(const std::string& path, float sampleRate, VstInt32 blockSize) {
    unload();
    error_.clear();
    sampleRate_ = sampleRate;
    blockSize_ = blockSize;
    timeInfo_ = stoppedTransport(sampleRate);
    answerTimeInfo_ = true;

    const std::string file = findModule(path);
    loadingHost = this;
    plugin_ = openPlugin(file, callback, error_);
    loadingHost = nullptr;
    if (!plugin_) {
        unload();
        return false;
    }
    AEffect* e = plugin_->effect();
    effect_ = e;
    effect_->resvd1 = reinterpret_cast<VstIntPtr>(this);  // the host's own slot

    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate_);
    dispatch(effSetBlockSize, 0, blockSize_);
    return true;
}

VstIntPtr PluginHost::close() {
    const VstIntPtr answer = dispatch(effClose);
    effect_ = nullptr;
    return answer;
}

void PluginHost::unload() {
    if (effect_) {
        suspend();
        close();
    }
    plugin_.reset();
}

VstIntPtr PluginHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                               float opt) {
    return effect_ ? effect_->dispatcher(effect_, opcode, index, value, ptr, opt) : 0;
}

std::string PluginHost::textRequest(VstInt32 opcode, VstInt32 index) {
    char text[kTextBuffer] = {};
    dispatch(opcode, index, 0, text);
    text[kTextBuffer - 1] = '\0';
    return text;
}

std::string PluginHost::effectName() { return textRequest(effGetEffectName); }
std::string PluginHost::vendorString() { return textRequest(effGetVendorString); }
std::string PluginHost::productString() { return textRequest(effGetProductString); }
std::string PluginHost::parameterName(VstInt32 i) { return textRequest(effGetParamName, i); }
std::string PluginHost::parameterLabel(VstInt32 i) { return textRequest(effGetParamLabel, i); }
std::string PluginHost::parameterDisplay(VstInt32 i) { return textRequest(effGetParamDisplay, i); }
std::string PluginHost::programName() { return textRequest(effGetProgramName); }

std::string PluginHost::programNameIndexed(VstInt32 index, bool* ok) {
    char text[kTextBuffer] = {};
    const bool answered = dispatch(effGetProgramNameIndexed, index, 0, text) != 0;
    text[kTextBuffer - 1] = '\0';
    if (ok) *ok = answered;
    return answered ? text : "";
}

std::vector<std::string> PluginHost::programNames() {
    std::vector<std::string> names;
    if (!effect_) return names;
    const VstIntPtr current = dispatch(effGetProgram);
    for (VstInt32 p = 0; p < effect_->numPrograms; ++p) {
        bool ok = false;
        std::string name = programNameIndexed(p, &ok);
        if (!ok) {
            dispatch(effSetProgram, 0, p);
            name = programName();
        }
        names.push_back(name);
    }
    if (dispatch(effGetProgram) != current) dispatch(effSetProgram, 0, current);
    return names;
}

void PluginHost::setParameter(VstInt32 index, float value) {
    if (effect_) effect_->setParameter(effect_, index, value);
}

float PluginHost::getParameter(VstInt32 index) {
    return effect_ ? effect_->getParameter(effect_, index) : 0.0f;
}

void PluginHost::resume() { dispatch(effMainsChanged, 0, 1); }
void PluginHost::suspend() { dispatch(effMainsChanged, 0, 0); }

void PluginHost::reconfigure(float sampleRate, VstInt32 blockSize) {
    suspend();
    sampleRate_ = sampleRate;
    blockSize_ = blockSize;
    timeInfo_.sampleRate = sampleRate;
    dispatch(effSetSampleRate, 0, 0, nullptr, sampleRate_);
    dispatch(effSetBlockSize, 0, blockSize_);
    resume();
}

VstIntPtr PluginHost::sendEvents(const std::vector<VstMidiEvent>& events) {
    VstEventList list(events.data(), events.size());
    return dispatch(effProcessEvents, 0, 0, list.get());
}

VstIntPtr PluginHost::sendEvents(VstEventBlock& events) { return dispatch(effProcessEvents, 0, 0, events.list()); }

void PluginHost::process(float** outputs, VstInt32 frames) {
    if (!effect_ || frames <= 0) return;
    const std::size_t inputs = effect_->numInputs > 0 ? static_cast<std::size_t>(effect_->numInputs) : 0;
    if (silence_.size() < static_cast<std::size_t>(frames)) silence_.assign(frames, 0.0f);
    inputs_.assign(inputs + 1, silence_.data());
    effect_->processReplacing(effect_, inputs_.data(), outputs, frames);
    timeInfo_.samplePos += frames;
}

void PluginHost::setTimeInfo(const VstTimeInfo* info) {
    answerTimeInfo_ = info != nullptr;
    if (info) timeInfo_ = *info;
}

VstIntPtr PluginHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value,
                               void* ptr, float opt) {
    PluginHost* host = (effect && effect->resvd1) ? reinterpret_cast<PluginHost*>(effect->resvd1)
                                                  : loadingHost;
    if (!host) return opcode == audioMasterVersion ? kHostVersion : 0;
    return host->onRequest(effect, opcode, index, value, ptr, opt);
}

VstIntPtr PluginHost::onRequest(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void* ptr,
                                float) {
    switch (opcode) {
    case audioMasterVersion:
        return kHostVersion;
    case audioMasterWantMidi:
    case audioMasterAutomate:
    case audioMasterBeginEdit:
    case audioMasterEndEdit:
        return 1;
    case audioMasterGetTime:
        return answerTimeInfo_ ? reinterpret_cast<VstIntPtr>(&timeInfo_) : 0;
    case audioMasterGetSampleRate:
        return static_cast<VstIntPtr>(sampleRate_);
    case audioMasterGetBlockSize:
        return blockSize_;
    case audioMasterGetVendorString:
        if (ptr) std::strcpy(static_cast<char*>(ptr), kHostVendor);
        return ptr ? 1 : 0;
    case audioMasterGetProductString:
        if (ptr) std::strcpy(static_cast<char*>(ptr), kHostProduct);
        return ptr ? 1 : 0;
    case audioMasterGetVendorVersion:
        return kHostVendorVersion;
    case audioMasterCanDo:
        if (!ptr) return 0;
        for (const char* capability : kHostCapabilities)
            if (std::strcmp(static_cast<const char*>(ptr), capability) == 0) return 1;
        return -1;
    default:
        return 0;
    }
}
