// The 44 parameters as a host sees them: names, the values after
// construction (factory program 0), raw storage, and bad values refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "support/ModuleHost.h"

namespace {

const char* const kNames[44] = {
    "VOLUME", "MASTERPITCH", "WARMTHOSC1", "WAVEFORMOSC1", "PWOSC1", "FMOSC1", "WARMTHOSC2",
    "WAVEFORMOSC2", "TUNEOSC2", "FINETUNEOSC2", "PWOSC2", "FMOSC2", "VOLUMEOSC1OSC2",
    "VOLUMESUBOSC", "PORTAMENTO", "PORTAMENTOKEYTRIGGER", "CUTOFF", "RESONANCE",
    "FILTERVELOCITYCONTOUR", "KEYFOLLOW", "FILTERCONTOUR", "FILTERATTACK", "FILTERDECAY",
    "FILTERSUSTAIN", "FILTERRELEASE", "ATTACK", "DECAY", "SUSTAIN", "RELEASE", "LFO1INTENSITY",
    "LFO1RATE", "LFO1WAVEFORM", "LFO1DESTINATION", "LF01KEYTRIGGER", "LFO2INTENSITY",
    "LFO2RATE", "LFO2WAVEFORM", "LFO2DESTINATION", "LF02KEYTRIGGER", "FILTERTYPE",
    "SUBOSCOFFSET", "Param", "Param", "Param"};

// "Saw Bass", applied by the constructor.
const float kProgram0[44] = {
    0.89824283f, 0.5f, 0, 0, 0.5f, 0, 0, 0, 0, 0.5f, 0.5f, 0, 0.74955606f, 0.8714994f, 0, 0,
    0.9606679f, 0, 0, 0, 0, 0, 1, 0, 0, 0, 1, 0, 0, 0, 0, 0, 1, 1, 0, 0, 0, 0, 1, 0, 0, 0, 0, 0};

class Parameters : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error(); }
    ModuleHost host;
};

TEST_F(Parameters, NamesAreTheTableExactly) {
    for (VstInt32 i = 0; i < 44; ++i) EXPECT_EQ(host.parameterName(i), kNames[i]) << "index " << i;
    EXPECT_EQ(host.parameterName(33), "LF01KEYTRIGGER") << "spelled with a zero";
    for (VstInt32 i : {44, 100, -1, std::numeric_limits<VstInt32>::min()})
        EXPECT_EQ(host.parameterName(i), "Param") << "index " << i;
}

TEST_F(Parameters, ConstructionAppliesProgramZero) {
    for (VstInt32 i = 0; i < 44; ++i)
        EXPECT_EQ(host.getParameter(i), kProgram0[i]) << kNames[i];
    EXPECT_EQ(host.getParameter(0), 0.89824283f);
    EXPECT_EQ(host.getParameter(16), 0.9606679f);
    EXPECT_EQ(host.getParameter(43), 0.0f);
}

TEST_F(Parameters, ValuesAreStoredRawWithoutClampingOrScaling) {
    host.setParameter(3, 2.0f);
    EXPECT_EQ(host.getParameter(3), 2.0f) << "choice values are entry numbers ('tri')";
    host.setParameter(16, 1.7f);
    EXPECT_EQ(host.getParameter(16), 1.7f) << "out-of-range values are kept as given";
    host.setParameter(17, -0.25f);
    EXPECT_EQ(host.getParameter(17), -0.25f);
    host.setParameter(39, 0.5f);
    EXPECT_EQ(host.getParameter(39), 0.5f) << "fractions of a choice are not rounded";
}

TEST_F(Parameters, OutOfRangeIndexesChangeNothing) {
    for (VstInt32 i : {44, 45, 46, 47, 1000, -1, std::numeric_limits<VstInt32>::min()}) {
        host.setParameter(i, 0.5f);
        EXPECT_EQ(host.getParameter(i), 0.0f) << "index " << i << " reads 0";
    }
    for (VstInt32 i = 0; i < 44; ++i)
        EXPECT_EQ(host.getParameter(i), kProgram0[i]) << kNames[i] << " untouched";
}

TEST_F(Parameters, NonFiniteValuesAreRefused) {
    for (float bad : {std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
        host.setParameter(16, bad);
        EXPECT_EQ(host.getParameter(16), 0.9606679f) << "the engine never sees " << bad;
    }
    const auto bank = host.getChunk(false);
    float stored;
    std::memcpy(&stored, bank.data() + 24 + 16 * 4, sizeof(stored));
    EXPECT_EQ(stored, 0.9606679f) << "nor does the program record";
}

}  // namespace
