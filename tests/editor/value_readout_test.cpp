// The readout's text: the panel's words (or, for a parameter without a
// control, the plug-in's name), then its display text and label; two
// decimals of the value while the plug-in has no display text; nothing for
// an index that is no parameter.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editor/ValueReadout.h"
#include "plugin/AudioEffect.h"

namespace {

constexpr int32_t kCount = 44, kCutoff = 16, kWarmthOsc2 = 6;  // the second has no control

class Named : public AudioEffect {
public:
    Named() : AudioEffect(nullptr, 1, kCount) {}
    void processReplacing(float**, float**, VstInt32) override {}
    float getParameter(VstInt32) override { return 0.9606679f; }
    void getParameterName(VstInt32, char* t) override { std::strcpy(t, "WARMTHOSC2"); }
    void getParameterDisplay(VstInt32, char* t) override { std::strcpy(t, display); }
    void getParameterLabel(VstInt32, char* t) override { std::strcpy(t, label); }
    const char* display = "";
    const char* label = "";
};

std::string describe(Named& effect, int32_t index, std::size_t size = 64) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    readout::describe(effect, index, kCount, text, size);
    return text;
}

TEST(ValueReadout, NamesTheParameterWithThePluginsWords) {
    Named effect;
    EXPECT_EQ(describe(effect, kCutoff), "FILTER CUTOFF  0.96") << "no display text yet: the value, two decimals";
    effect.display = "  18.5 ";
    effect.label = "kHz";
    EXPECT_EQ(describe(effect, kCutoff), "FILTER CUTOFF  18.5 kHz") << "display and label, blanks trimmed";
    EXPECT_EQ(describe(effect, kWarmthOsc2), "WARMTHOSC2  18.5 kHz") << "no words on the panel: the plug-in's name";
    effect.label = "";
    EXPECT_EQ(describe(effect, kCutoff), "FILTER CUTOFF  18.5");
    EXPECT_EQ(describe(effect, kCutoff, 5), "FILT") << "cut to the buffer, terminated";
    EXPECT_EQ(describe(effect, kCount), "") << "no such parameter";
    EXPECT_EQ(describe(effect, -1), "");
}

}  // namespace
