// The readout's text: the plug-in's name, display text and label for the
// parameter; two decimals of the value while the plug-in has no display
// text; nothing for an index that is no parameter.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "editor/ValueReadout.h"
#include "plugin/AudioEffect.h"

namespace {

class Named : public AudioEffect {
public:
    Named() : AudioEffect(nullptr, 1, 4) {}
    void processReplacing(float**, float**, VstInt32) override {}
    float getParameter(VstInt32) override { return 0.9606679f; }
    void getParameterName(VstInt32, char* t) override { std::strcpy(t, "CUTOFF"); }
    void getParameterDisplay(VstInt32, char* t) override { std::strcpy(t, display); }
    void getParameterLabel(VstInt32, char* t) override { std::strcpy(t, label); }
    const char* display = "";
    const char* label = "";
};

std::string describe(Named& effect, int32_t index, std::size_t size = 64) {
    char text[64];
    std::memset(text, 'x', sizeof text);
    readout::describe(effect, index, 4, text, size);
    return text;
}

TEST(ValueReadout, NamesTheParameterWithThePluginsWords) {
    Named effect;
    EXPECT_EQ(describe(effect, 0), "CUTOFF  0.96") << "no display text yet: the value, two decimals";
    effect.display = "  18.5 ";
    effect.label = "kHz";
    EXPECT_EQ(describe(effect, 0), "CUTOFF  18.5 kHz") << "display and label, blanks trimmed";
    effect.label = "";
    EXPECT_EQ(describe(effect, 0), "CUTOFF  18.5");
    EXPECT_EQ(describe(effect, 0, 5), "CUTO") << "cut to the buffer, terminated";
    EXPECT_EQ(describe(effect, 4), "") << "no such parameter";
    EXPECT_EQ(describe(effect, -1), "");
}

}  // namespace
