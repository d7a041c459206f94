#include "host/core/Lv2Record.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "plugin/ParameterText.h"
#include "plugin/ProgramRecord.h"
#include "shells/common/InstrumentState.h"

namespace {

constexpr std::size_t kMaxEvents = 4096;
// The size answered before the UI has named its own.
constexpr int kFirstWidth = 640, kFirstHeight = 480;
// Ambrell's LV2 URI and the unique id of its VST 2.x twin, which preset
// files carry: a file saved through either format loads through the other.
// Its plug-in version goes into those files too.
struct Twin {
    const char* uri;
    VstInt32 vstId, version, vendorVersion;
};
constexpr Twin kTwins[] = {{"https://orvane.example/plugins/ambrell", 0x31313132, 1, 1000}};

}  // namespace

Lv2Record::Lv2Record() {
    midi_.reserve(kMaxEvents, kMaxEvents);
    piece_.reserve(kMaxEvents, kMaxEvents);
}

bool Lv2Record::open(const std::string& bundleOrUri, audioMasterCallback callback, std::string& error) {
    if (!host_.load(bundleOrUri, sampleRate_, std::uint32_t(blockSize_))) {
        error = host_.error();
        return false;
    }
    callback_ = callback;
    open_ = true;
    effect_.numParams = host_.parameterCount();
    effect_.numOutputs = host_.outputCount();
    effect_.flags = effFlagsCanReplacing | effFlagsIsSynth | effFlagsProgramChunks;
    if (host_.hasUi()) effect_.flags |= effFlagsHasEditor;
    const bool programs = hasPrograms();
    effect_.numPrograms = programs ? kNumPrograms : 0;
    for (const Twin& twin : kTwins)
        if (programs && host_.uri() == twin.uri && host_.parameterCount() == param::kCount) {
            ambrell_ = true;
            effect_.uniqueID = twin.vstId;
            effect_.version = twin.version;
            vendorVersion_ = twin.vendorVersion;
        }
    return true;
}

VstIntPtr Lv2Record::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (!open_) return 0;
    VstIntPtr answer = 0;
    if (programRequest(opcode, index, value, ptr, answer)) return answer;
    if (settingRequest(opcode, value, opt)) return 0;
    switch (opcode) {
    case effClose:
        host_.closeUi();
        open_ = false;
        return 1;
    case effMainsChanged:
        if (value) host_.reconfigure(sampleRate_, std::uint32_t(blockSize_));
        return 0;
    case effProcessEvents: {
        const auto* events = static_cast<const VstEvents*>(ptr);
        for (VstInt32 i = 0; events && i < events->numEvents && midi_.size() < kMaxEvents; ++i) {
            const VstEvent* ev = events->events[i];
            if (ev) midi_.add(ev, ev->deltaFrames);
        }
        return 1;
    }
    case effGetParamName:
        return recordText(ptr, host_.parameterName(index));
    case effGetParamDisplay:
    case effGetParamLabel:
        return recordText(ptr, parameterText(opcode, index));
    case effGetEffectName:
    case effGetProductString:
        return recordText(ptr, host_.name());
    case effGetVendorString:
        return recordText(ptr, host_.author());
    case effGetVendorVersion:
        return vendorVersion_;
    case effGetPlugCategory:
        return kPlugCategSynth;
    case effCanDo:
        return recordCanDo(ptr);

    case effEditGetRect: {
        int w = kFirstWidth, h = kFirstHeight;
        if (!ptr || !(effect_.flags & effFlagsHasEditor)) return 0;
        host_.uiSize(w, h);
        rect_ = ERect{0, 0, static_cast<std::int16_t>(h), static_cast<std::int16_t>(w)};
        *static_cast<ERect**>(ptr) = &rect_;
        return 1;
    }
    case effEditOpen:
        return host_.openUi(ptr, this) ? 1 : 0;
    case effEditIdle:
        host_.idleUi();
        return 1;
    case effEditClose:
        host_.closeUi();
        return 1;
    default:
        return 0;
    }
}

// Ambrell's words for its values, through its own table; a plain number
// for any other plug-in.
std::string Lv2Record::parameterText(VstInt32 opcode, VstInt32 index) {
    if (index < 0 || index >= effect_.numParams) return "";
    if (!ambrell_) {
        char text[32];
        std::snprintf(text, sizeof text, "%.3f", double(host_.parameter(index)));
        return opcode == effGetParamDisplay ? text : "";
    }
    ParamBlock block;
    for (int i = 0; i < param::kCount; ++i) block.set(i, host_.parameter(i));
    char display[parameter_text::kTextSize], label[parameter_text::kTextSize];
    parameter_text::describe(index, block, sampleRate_, display, label);
    return opcode == effGetParamDisplay ? display : label;
}

// A state chosen by the host (a program, a bank) changes what the plug-in
// plays, not the ports: they are set to the values it now plays, so that
// what the host reads and writes next is what sounds.
bool Lv2Record::writeState(const std::vector<unsigned char>& state) {
    if (!host_.loadState(state)) return false;
    // Read back: a bare bank keeps the current program, which only the
    // plug-in knows.
    std::vector<unsigned char> now;
    std::vector<unsigned char> bank;
    int program = 0;
    if (ambrell_ && host_.saveState(now) && instrument_state::decode(now.data(), now.size(), bank, program) &&
        program >= 0) {
        ProgramRecord record;
        std::memcpy(&record, bank.data() + program * kProgramChunkSize, sizeof record);
        for (int i = 0; i < param::kCount; ++i) host_.setParameter(i, record.values[i]);
    }
    return true;
}

// The tempo as the host's time answers it; none when it answers no time.
double Lv2Record::hostTempo() {
    if (!callback_) return 0.0;
    const auto* time = reinterpret_cast<const VstTimeInfo*>(
        callback_(&effect_, audioMasterGetTime, 0, kVstTempoValid, nullptr, 0.0f));
    return time && (time->flags & kVstTempoValid) ? time->tempo : 0.0;
}

void Lv2Record::process(float** outputs, VstInt32 frames) {
    // Longer blocks than the plug-in was made for go in pieces, each with
    // its own events.
    const auto longest = static_cast<VstInt32>(std::max<std::uint32_t>(host_.maxFrames(), 1));
    const double tempo = hostTempo();
    for (VstInt32 done = 0; done < frames;) {
        const VstInt32 n = std::min(frames - done, longest);
        piece_.clear();
        for (std::size_t i = 0; i < midi_.size(); ++i) {
            const VstEvent* e = midi_.at(i);
            if ((e->deltaFrames >= done && e->deltaFrames < done + n) || (done == 0 && e->deltaFrames < 0))
                piece_.add(e, std::max(e->deltaFrames - done, 0));
        }
        float* channels[8];
        for (int c = 0; c < std::min(effect_.numOutputs, 8); ++c) channels[c] = outputs[c] + done;
        host_.process(channels, std::uint32_t(n), piece_, tempo);
        done += n;
    }
    midi_.clear();
}

void Lv2Record::touched(int index, bool grabbed) {
    if (callback_) callback_(&effect_, grabbed ? audioMasterBeginEdit : audioMasterEndEdit, index, 0, nullptr, 0.0f);
}

void Lv2Record::written(int index, float value) {
    if (callback_) callback_(&effect_, audioMasterAutomate, index, 0, nullptr, value);
}
