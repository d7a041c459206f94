// The audio block entry: silence without notes, exactly the frames asked
// for, and whatever a host passes for buffers and sizes.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "engine/DenormalGuard.h"
#include "support/ModuleHost.h"

namespace {

class Process : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
        host.resume();
    }
    void processRaw(float** outputs, VstInt32 frames) {
        host.effect()->processReplacing(host.effect(), nullptr, outputs, frames);
    }
    ModuleHost host;
};

constexpr float kGarbage = 123.0f;

TEST_F(Process, WithoutANoteBothOutputsAreReplacedBySilence) {
    const VstInt32 frames = 256;
    std::vector<float> left(frames + 8, kGarbage), right(frames + 8, kGarbage);
    float* outputs[] = {left.data(), right.data()};
    host.process(outputs, frames);
    for (VstInt32 i = 0; i < frames; ++i) {
        ASSERT_EQ(left[i], 0.0f) << "left frame " << i << " replaced, not added to";
        ASSERT_EQ(right[i], 0.0f) << "right frame " << i;
    }
    for (VstInt32 i = frames; i < frames + 8; ++i) {
        EXPECT_EQ(left[i], kGarbage) << "nothing written past the block, frame " << i;
        EXPECT_EQ(right[i], kGarbage);
    }
}

TEST_F(Process, EmptyOrNegativeBlocksWriteNothing) {
    std::vector<float> left(16, kGarbage), right(16, kGarbage);
    float* outputs[] = {left.data(), right.data()};
    for (VstInt32 frames : {0, -1, -1024, std::numeric_limits<VstInt32>::min()}) {
        processRaw(outputs, frames);
        for (float s : left) ASSERT_EQ(s, kGarbage) << frames << " frames";
        for (float s : right) ASSERT_EQ(s, kGarbage) << frames << " frames";
    }
}

TEST_F(Process, MissingOutputBuffersAreSkipped) {
    std::vector<float> channel(64, kGarbage);
    processRaw(nullptr, 64);
    float* leftOnly[] = {channel.data(), nullptr};
    processRaw(leftOnly, 64);
    EXPECT_EQ(channel[63], 0.0f) << "the one buffer given is filled";
    float* rightOnly[] = {nullptr, channel.data()};
    processRaw(rightOnly, 64);
    float* none[] = {nullptr, nullptr};
    processRaw(none, 64);
}

#ifdef ORV_HAS_FLUSH_TO_ZERO
TEST_F(Process, TheHostsFloatingPointModeIsRestored) {
    const fpmode::Word before = fpmode::read();
    std::vector<float> left(32), right(32);
    float* outputs[] = {left.data(), right.data()};
    host.process(outputs, 32);
    EXPECT_EQ(fpmode::read(), before) << "flush-to-zero lasts only for the block";
}
#endif

TEST_F(Process, OldAccumulatingAndDoubleCallsDoNothing) {
    std::vector<float> left(32, kGarbage), right(32, kGarbage);
    float* outputs[] = {left.data(), right.data()};
    host.effect()->process(host.effect(), nullptr, outputs, 32);
    EXPECT_EQ(left[0], kGarbage) << "the old process call is not offered";
    std::vector<double> dl(32, 7.0), dr(32, 7.0);
    double* doubles[] = {dl.data(), dr.data()};
    host.effect()->processDoubleReplacing(host.effect(), nullptr, doubles, 32);
    EXPECT_EQ(dl[0], 7.0) << "double precision is not offered";
}

}  // namespace
