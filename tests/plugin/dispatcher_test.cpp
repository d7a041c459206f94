// Every request of the dispatcher table, answered as a host expects, and the
// requests the plug-in sends back.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <string>

#include "support/ModuleHost.h"

namespace {

class Dispatcher : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error(); }
    VstIntPtr canDo(const char* text) { return host.dispatch(effCanDo, 0, 0, const_cast<char*>(text)); }

    ModuleHost host;
};

TEST_F(Dispatcher, IdentityAnswers) {
    EXPECT_EQ(host.dispatch(effIdentify), 0x4E764566) << "'NvEf'";
    EXPECT_EQ(host.dispatch(effGetVstVersion), 2400);
    EXPECT_EQ(host.dispatch(effGetVendorVersion), 1000);
    EXPECT_EQ(host.dispatch(effGetPlugCategory), kPlugCategEffect)
        << "category 1 (effect), although the synth flag is set";
    EXPECT_EQ(host.dispatch(effGetCurrentMidiProgram), -1);

    char text[256] = {};
    EXPECT_EQ(host.dispatch(effGetEffectName, 0, 0, text), 1);
    EXPECT_STREQ(text, "Ambrell - ORV");
    EXPECT_EQ(host.dispatch(effGetVendorString, 0, 0, text), 1);
    EXPECT_STREQ(text, "ORV - Orvane Instruments");
    EXPECT_EQ(host.dispatch(effGetProductString, 0, 0, text), 1);
    EXPECT_STREQ(text, "Ambrell - ORV") << "the product is named like the effect";
}

TEST_F(Dispatcher, CanDoMatchesWholeCapabilityNames) {
    for (const char* yes : {"receiveVstEvents", "receiveVstMidiEvent", "receiveVstMidiEvents",
                            "receiveVstTimeInfo"})
        EXPECT_EQ(canDo(yes), 1) << yes;
    for (const char* no : {"receiveVstEventsX", "receiveVstEvents ", "receiveVstMidi", "",
                           "sendVstEvents", "sendVstMidiEvent", "offline", "bypass"})
        EXPECT_EQ(canDo(no), -1) << "'" << no << "' is not one of ours: -1, never 0";
}

TEST_F(Dispatcher, LifecycleRequestsAnswerZero) {
    EXPECT_EQ(host.dispatch(effOpen), 0);
    EXPECT_EQ(host.dispatch(effSetSampleRate, 0, 0, nullptr, 48000.0f), 0);
    EXPECT_EQ(host.dispatch(effSetBlockSize, 0, 256), 0);
    EXPECT_EQ(host.dispatch(effMainsChanged, 0, 0), 0);
    EXPECT_EQ(host.dispatch(effMainsChanged, 0, 1), 0);
    EXPECT_EQ(host.dispatch(effSetTotalSampleToProcess, 0, 12345), 12345)
        << "the offline sample count comes back unchanged";
}

TEST_F(Dispatcher, EveryResumeAsksForMidi) {
    host.clearRequests();
    host.dispatch(effMainsChanged, 0, 1);
    host.dispatch(effMainsChanged, 0, 1);
    host.dispatch(effMainsChanged, 0, 0);
    const auto requests = host.requests();
    ASSERT_EQ(requests.size(), 2u) << "one request per switch-on, none for switch-off";
    for (const HostRequest& r : requests) {
        EXPECT_EQ(r.opcode, audioMasterWantMidi);
        EXPECT_EQ(r.value, 1);
    }
}

TEST_F(Dispatcher, CloseAnswersOne) {
    EXPECT_EQ(host.close(), 1) << "effClose deletes the plug-in and answers 1";
}

TEST_F(Dispatcher, EditorRequests) {
    ERect* rect = nullptr;
    ASSERT_EQ(host.dispatch(effEditGetRect, 0, 0, &rect), 1) << "size known before any open";
    ASSERT_NE(rect, nullptr);
    EXPECT_EQ(rect->top, 0);
    EXPECT_EQ(rect->left, 0);
    EXPECT_EQ(rect->bottom, 500);
    EXPECT_EQ(rect->right, 600);

    EXPECT_EQ(host.dispatch(effEditIdle), 0);
    EXPECT_EQ(host.dispatch(effEditClose), 0);
    EXPECT_EQ(host.dispatch(effSetEditKnobMode, 0, 2), 1) << "the editor takes a knob mode";
    EXPECT_EQ(host.dispatch(effEditKeyDown, 'a', VKEY_LEFT, nullptr, 1.0f), 0)
        << "no window, so no key is used";
    EXPECT_EQ(host.dispatch(effEditKeyUp, 'a', VKEY_LEFT, nullptr, 1.0f), 0);
}

TEST_F(Dispatcher, LabelsAndDisplaysStayWithinNineBytes) {
    // The interface's customary limit: 8 characters and the terminator.
    for (VstInt32 opcode : {effGetParamLabel, effGetParamDisplay}) {
        for (VstInt32 index = 0; index < 44; ++index) {
            char text[64];
            std::memset(text, 0x5A, sizeof(text));
            EXPECT_EQ(host.dispatch(opcode, index, 0, text), 0);
            EXPECT_LT(strnlen(text, sizeof(text)), 9u) << "opcode " << opcode << ", parameter " << index;
            for (std::size_t i = 9; i < sizeof(text); ++i)
                ASSERT_EQ(text[i], 0x5A) << "opcode " << opcode << " wrote past 9 bytes";
        }
    }
}

TEST_F(Dispatcher, EventsAreAcceptedAndEveryParameterAutomatable) {
    EXPECT_EQ(host.sendEvents({}), 1) << "an empty event list is taken";
    for (VstInt32 i : {0, 16, 43})
        EXPECT_EQ(host.dispatch(effCanBeAutomated, i), 1) << "parameter " << i;
}

TEST_F(Dispatcher, SpeakerArrangementIsNone) {
    int dummy = 0;
    void* inputArrangement = &dummy;
    void* outputArrangement = &dummy;
    EXPECT_EQ(host.dispatch(effGetSpeakerArrangement, 0,
                            reinterpret_cast<VstIntPtr>(&inputArrangement), &outputArrangement),
              0);
    EXPECT_EQ(inputArrangement, nullptr) << "null stored through value";
    EXPECT_EQ(outputArrangement, nullptr) << "null stored through ptr";
}

TEST_F(Dispatcher, OpcodesOutsideTheTableDoNothingAndAnswerZero) {
    const VstInt32 silent[] = {9,  16, 17, 18, 20, 21, 27, 28, 30, 31, 32, 33, 34, 36, 37, 38,
                               39, 40, 41, 42, 43, 44, 46, 50, 52, 53, 54, 55, 56, 57, 62, 64,
                               65, 66, 67, 68, 70, 71, 72, 74, 75, 76, 77, 78, 79, 80, 81, 200,
                               -1, -100, std::numeric_limits<VstInt32>::max()};
    const float before = host.getParameter(16);
    for (VstInt32 opcode : silent) {
        char buffer[256];
        std::memset(buffer, 0x33, sizeof(buffer));
        EXPECT_EQ(host.dispatch(opcode, 16, 1, buffer, 0.25f), 0) << "opcode " << opcode;
        for (char c : buffer) ASSERT_EQ(c, 0x33) << "opcode " << opcode << " wrote into ptr";
    }
    EXPECT_EQ(host.getParameter(16), before) << "no silent opcode changed a parameter";
    EXPECT_EQ(host.dispatch(effGetProgram), 0) << "nor the program";
}

TEST_F(Dispatcher, NullBuffersAreRefusedWithZero) {
    for (VstInt32 opcode :
         {effSetProgramName, effGetProgramName, effGetParamLabel, effGetParamDisplay,
          effGetParamName, effEditGetRect, effEditOpen, effGetChunk, effSetChunk,
          effProcessEvents, effGetProgramNameIndexed, effGetEffectName, effGetVendorString,
          effGetProductString, effCanDo, effGetSpeakerArrangement})
        EXPECT_EQ(host.dispatch(opcode, 0, 0, nullptr), 0) << "opcode " << opcode;
    char name[32] = {};
    host.dispatch(effGetProgramName, 0, 0, name);
    EXPECT_STREQ(name, "Saw Bass") << "the program name survived a null effSetProgramName";
}

TEST_F(Dispatcher, KeyModifiersThatAreNoNumberAreHarmless) {
    const float odd[] = {std::nanf(""), std::numeric_limits<float>::infinity(), -1e30f, 1e30f};
    for (float opt : odd) {
        EXPECT_EQ(host.dispatch(effEditKeyDown, 0, VKEY_UP, nullptr, opt), 0);
        EXPECT_EQ(host.dispatch(effEditKeyUp, 0, VKEY_UP, nullptr, opt), 0);
    }
}

}  // namespace
