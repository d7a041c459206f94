// The 44 parameters as a host sees them: names, the values after
// construction (factory program 0), raw storage, and bad values refused.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

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

class Parameters : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error(); }
    std::vector<float> parameters() {
        std::vector<float> values;
        for (VstInt32 i = 0; i < 44; ++i) values.push_back(host.getParameter(i));
        return values;
    }
    // Program 0's values as the bank the host saves holds them: its record
    // follows the bank's 24-byte header.
    std::vector<float> savedProgram0() {
        const auto bank = host.getChunk(false);
        std::vector<float> values(44);
        std::memcpy(values.data(), bank.data() + 24, 44 * sizeof(float));
        return values;
    }
    ModuleHost host;
};

TEST_F(Parameters, NamesAreTheTableExactly) {
    for (VstInt32 i = 0; i < 44; ++i) EXPECT_EQ(host.parameterName(i), kNames[i]) << "index " << i;
    EXPECT_EQ(host.parameterName(33), "LF01KEYTRIGGER") << "spelled with a zero";
    for (VstInt32 i : {44, 100, -1, std::numeric_limits<VstInt32>::min()})
        EXPECT_EQ(host.parameterName(i), "Param") << "index " << i;
}

TEST_F(Parameters, ConstructionAppliesProgramZero) {
    const std::vector<float> constructed = parameters();
    EXPECT_EQ(host.dispatch(effGetProgram), 0);
    EXPECT_EQ(constructed, savedProgram0()) << "what program 0 holds";
    EXPECT_NE(constructed, std::vector<float>(44, 0.0f)) << "which is a sound, not zeros";
    host.dispatch(effSetProgram, 0, 7);
    EXPECT_NE(parameters(), constructed) << "another program sounds otherwise";
    host.dispatch(effSetProgram, 0, 0);
    EXPECT_EQ(parameters(), constructed) << "and choosing program 0 gives the same values again";
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
    const std::vector<float> before = parameters();
    for (VstInt32 i : {44, 45, 46, 47, 1000, -1, std::numeric_limits<VstInt32>::min()}) {
        host.setParameter(i, 0.5f);
        EXPECT_EQ(host.getParameter(i), 0.0f) << "index " << i << " reads 0";
    }
    EXPECT_EQ(parameters(), before) << "the 44 untouched";
}

TEST_F(Parameters, NonFiniteValuesAreRefused) {
    const float cutoff = host.getParameter(16);
    for (float bad : {std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
        host.setParameter(16, bad);
        EXPECT_EQ(host.getParameter(16), cutoff) << "the engine never sees " << bad;
    }
    const auto bank = host.getChunk(false);
    float stored;
    std::memcpy(&stored, bank.data() + 24 + 16 * 4, sizeof(stored));
    EXPECT_EQ(stored, cutoff) << "nor does the program record";
}

}  // namespace
