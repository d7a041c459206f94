#include "editor/ValueReadout.h"

#include <cstdio>
#include <cstring>
#include <iterator>

#include "engine/Choices.h"
#include "engine/ParamBlock.h"
#include "plugin/AudioEffect.h"

namespace readout {
namespace {

using namespace param;

// The panel's section titles and control labels (resources/draw_artwork.py).
struct Words {
    int32_t index;
    const char* label;
};
constexpr Words kPanelLabels[] = {
    {kVolume, "MASTER VOLUME"},
    {kMasterPitch, "MASTER TUNE"},
    {kWarmthOsc1, "OSC 1 WARMTH"},
    {kWaveformOsc1, "OSC 1 WAVE"},
    {kPwOsc1, "OSC 1 PW"},
    {kFmOsc1, "OSC 1 FM"},
    {kWaveformOsc2, "OSC 2 WAVE"},
    {kTuneOsc2, "OSC 2 TUNE"},
    {kFineTuneOsc2, "OSC 2 FINE"},
    {kPwOsc2, "OSC 2 PW"},
    {kFmOsc2, "OSC 2 FM"},
    {kVolumeOsc1Osc2, "MIX OSC 1+2"},
    {kVolumeSubOsc, "MIX SUB"},
    {kPortamento, "GLIDE TIME"},
    {kPortamentoKeyTrigger, "GLIDE MODE"},
    {kCutoff, "FILTER CUTOFF"},
    {kResonance, "FILTER RESO"},
    {kFilterVelocityContour, "FILTER VEL"},
    {kKeyFollow, "FILTER KEY"},
    {kFilterContour, "FILTER ENV"},
    {kFilterAttack, "FILTER ENV ATTACK"},
    {kFilterDecay, "FILTER ENV DECAY"},
    {kFilterSustain, "FILTER ENV SUSTAIN"},
    {kFilterRelease, "FILTER ENV RELEASE"},
    {kAttack, "AMP ENV ATTACK"},
    {kDecay, "AMP ENV DECAY"},
    {kSustain, "AMP ENV SUSTAIN"},
    {kRelease, "AMP ENV RELEASE"},
    {kLfo1Intensity, "LFO 1 DEPTH"},
    {kLfo1Rate, "LFO 1 RATE"},
    {kLfo1Waveform, "LFO 1 WAVE"},
    {kLfo1Destination, "LFO 1 DEST"},
    {kLfo1KeyTrigger, "LFO 1 SYNC"},
    {kLfo2Intensity, "LFO 2 DEPTH"},
    {kLfo2Rate, "LFO 2 RATE"},
    {kLfo2Waveform, "LFO 2 WAVE"},
    {kLfo2Destination, "LFO 2 DEST"},
    {kLfo2KeyTrigger, "LFO 2 SYNC"},
    {kFilterType, "FILTER TYPE"},
    {kSubOscOffset, "SUB OCTAVE"},
    {kLearnAllPrograms, "MIDI LEARN ALL"},
    {kControllerLearn, "MIDI LEARN"},
};

// What the glide modes do, in the menu's order (engine/Choices.h).
constexpr const char* kGlideModeWords[] = {
    "legato glides, envelopes restart",
    "legato glides, envelopes run on",
    "every note glides",
};
static_assert(std::size(kGlideModeWords) == std::size(choice::kGlideModeTexts));

// Room for what the plug-in writes for one text. Hosts offer small buffers
// (8 characters by the old convention) but give more in practice, and the
// plug-in's names are longer; what it writes is cut at the terminator here.
constexpr std::size_t kTextRoom = 256;

// Asks one of the plug-in's text calls and trims surrounding blanks.
template <class Ask>
void ask(char (&text)[kTextRoom], Ask asker) {
    std::memset(text, 0, sizeof text);
    asker(text);
    text[kTextRoom - 1] = '\0';
    std::size_t end = std::strlen(text);
    while (end > 0 && text[end - 1] == ' ') text[--end] = '\0';
    std::size_t start = 0;
    while (text[start] == ' ') ++start;
    if (start) std::memmove(text, text + start, end - start + 1);
}

}  // namespace

const char* panelLabel(int32_t index) {
    for (const Words& w : kPanelLabels)
        if (w.index == index) return w.label;
    return nullptr;
}

void describe(AudioEffect& effect, int32_t index, int32_t count, char* out, std::size_t size) {
    if (!out || size == 0) return;
    out[0] = '\0';
    if (index < 0 || index >= count) return;
    char name[kTextRoom], display[kTextRoom], label[kTextRoom];
    if (const char* words = panelLabel(index))
        std::snprintf(name, sizeof name, "%s", words);
    else
        ask(name, [&](char* t) { effect.getParameterName(index, t); });
    ask(display, [&](char* t) { effect.getParameterDisplay(index, t); });
    ask(label, [&](char* t) { effect.getParameterLabel(index, t); });
    if (display[0] == '\0') {
        std::snprintf(out, size, "%s  %.2f", name, double(effect.getParameter(index)));
        return;
    }
    if (index == kPortamentoKeyTrigger) {
        const float value = effect.getParameter(index);
        const int mode = value >= 0.f && value < float(std::size(kGlideModeWords)) ? int(value) : -1;
        if (mode >= 0) {
            std::snprintf(out, size, "%s  %s: %s", name, display, kGlideModeWords[mode]);
            return;
        }
    }
    std::snprintf(out, size, label[0] ? "%s  %s %s" : "%s  %s", name, display, label);
}

}  // namespace readout
