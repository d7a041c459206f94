// The plug-in object from the inside: what no host can read through the
// record (the last changed parameter, what the editor was told) and the
// editor's own requests to the host.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <vector>

#include "editor/OrvVstEditor.h"
#include "plugin/OrvVst.h"

namespace {

struct Sent {
    VstInt32 opcode;
    VstInt32 index;
    float opt;
};
std::vector<Sent> sent;

VstIntPtr recordingHost(AEffect*, VstInt32 opcode, VstInt32 index, VstIntPtr, void*, float opt) {
    sent.push_back({opcode, index, opt});
    return opcode == audioMasterVersion ? 2400 : 1;
}

constexpr std::uint64_t kAll44 = (std::uint64_t{1} << 44) - 1;

class Object : public ::testing::Test {
protected:
    void SetUp() override {
        sent.clear();
        vst.reset(static_cast<OrvVst*>(createEffectInstance(recordingHost)));
        ASSERT_NE(vst, nullptr);
        editor = static_cast<OrvVstEditor*>(vst->getEditor());
        ASSERT_NE(editor, nullptr) << "the editor exists from construction on";
        sent.clear();
    }
    std::unique_ptr<OrvVst> vst;
    OrvVstEditor* editor = nullptr;
};

TEST_F(Object, LastChangedParameterFollowsAcceptedStoresOnly) {
    EXPECT_EQ(vst->lastChangedParameter(), 43) << "construction applied 0..43 in order";
    vst->setParameter(5, 0.25f);
    EXPECT_EQ(vst->lastChangedParameter(), 5);
    vst->setParameter(44, 0.5f);
    vst->setParameter(-1, 0.5f);
    vst->setParameter(7, std::nanf(""));
    EXPECT_EQ(vst->lastChangedParameter(), 5) << "refused stores leave it alone";
    vst->setProgram(2);
    EXPECT_EQ(vst->lastChangedParameter(), 43) << "a program change ends on 43";
    vst->setParameter(43, 1.0f);
    EXPECT_EQ(vst->lastChangedParameter(), 43) << "switching learn on makes 43 the target";
}

TEST_F(Object, EditorRecordsEveryAcceptedChange) {
    EXPECT_EQ(editor->takeChangedParameters(), kAll44) << "program 0 was applied through it";
    EXPECT_EQ(editor->takeChangedParameters(), 0u) << "taking forgets";
    vst->setParameter(16, 0.5f);
    vst->setParameter(39, 1.0f);
    vst->setParameter(16, std::nanf(""));
    vst->setParameter(50, 1.0f);
    EXPECT_EQ(editor->takeChangedParameters(), (std::uint64_t{1} << 16) | (std::uint64_t{1} << 39));
    vst->setProgram(7);
    EXPECT_EQ(editor->takeChangedParameters(), kAll44) << "a program change reaches every control";
    vst->setParameter(3, 1.0f);
    editor->idle();
    EXPECT_EQ(editor->takeChangedParameters(), 0u) << "idle takes the pending changes";
}

TEST_F(Object, EditorEditsAreStoredThenReportedToTheHost) {
    vst->beginEdit(16);
    vst->setParameterAutomated(16, 0.75f);
    vst->endEdit(16);
    vst->masterIdle();
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0].opcode, audioMasterBeginEdit);
    EXPECT_EQ(sent[0].index, 16);
    EXPECT_EQ(sent[1].opcode, audioMasterAutomate);
    EXPECT_EQ(sent[1].index, 16);
    EXPECT_EQ(sent[1].opt, 0.75f) << "the new value travels in opt";
    EXPECT_EQ(sent[2].opcode, audioMasterEndEdit);
    EXPECT_EQ(sent[3].opcode, audioMasterIdle);
    EXPECT_EQ(vst->getParameter(16), 0.75f) << "stored before the host hears of it";
}

TEST_F(Object, HostChangesAreNotEchoedToTheHost) {
    vst->setParameter(16, 0.5f);
    vst->setProgram(3);
    EXPECT_TRUE(sent.empty()) << "only the editor's edits are reported";
}

TEST(ObjectWithoutHost, RequestsAreSkippedWithoutACallback) {
    std::unique_ptr<OrvVst> vst(static_cast<OrvVst*>(createEffectInstance(nullptr)));
    ASSERT_NE(vst, nullptr);
    EXPECT_FALSE(vst->beginEdit(1)) << "no host: the answer counts as 0";
    vst->setParameterAutomated(1, 0.25f);
    EXPECT_EQ(vst->getParameter(1), 0.25f);
    vst->resume();
}

}  // namespace
