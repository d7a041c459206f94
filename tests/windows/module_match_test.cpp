// The Linux module and the Windows one, compared through their fingerprints
// (support/ModuleFingerprint.h). The same test runs on both platforms:
// ORV_FINGERPRINT_OUT names the file this run writes, ORV_FINGERPRINT_OTHER
// the other platform's file to compare with. scripts/wine-tests.sh runs it
// on Linux, then under Wine against the Linux file, then on Linux again
// against the Windows file, so each module loads the other's chunks.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "support/ModuleFingerprint.h"

namespace {

// The C runtimes' maths differ in the last bits; the sound must not.
constexpr double kPitchToleranceCents = 0.1;
constexpr double kLevelToleranceDb = 0.1;

std::string environment(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

class ModuleMatch : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        ModuleHost host;
        ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
        own_ = new ModuleFingerprint(ModuleFingerprint::of(host));
        const std::string out = environment("ORV_FINGERPRINT_OUT");
        if (!out.empty()) {
            ASSERT_TRUE(own_->write(out)) << "cannot write " << out;
        }
        const std::string other = environment("ORV_FINGERPRINT_OTHER");
        if (!other.empty()) {
            other_ = new ModuleFingerprint;
            ASSERT_TRUE(ModuleFingerprint::read(other, *other_)) << "cannot read " << other;
        }
    }
    static void TearDownTestSuite() {
        delete own_;
        delete other_;
        own_ = other_ = nullptr;
    }
    void SetUp() override {
        ASSERT_NE(own_, nullptr);
        if (!other_) GTEST_SKIP() << "no ORV_FINGERPRINT_OTHER to compare with";
    }

    // Every exact entry whose key has the prefix, on both sides.
    static void expectSameEntries(const std::string& prefix) {
        int compared = 0;
        for (const auto& [key, value] : other_->exact) {
            if (key.rfind(prefix, 0) != 0) continue;
            ++compared;
            const auto mine = own_->exact.find(key);
            ASSERT_NE(mine, own_->exact.end()) << key << " is missing here";
            EXPECT_EQ(mine->second, value) << key << " differs between the platforms";
        }
        EXPECT_GT(compared, 0) << "the other fingerprint has entries " << prefix;
    }

    static ModuleFingerprint* own_;
    static ModuleFingerprint* other_;
};
ModuleFingerprint* ModuleMatch::own_ = nullptr;
ModuleFingerprint* ModuleMatch::other_ = nullptr;

TEST_F(ModuleMatch, IdentityParametersAndProgramsAreTheSame) {
    expectSameEntries("effect.");
    expectSameEntries("param.");
    expectSameEntries("program.");
    expectSameEntries("factory.param.");
    expectSameEntries("edited.param.");
    EXPECT_EQ(own_->exact["effect.counts"], "20/44/0/2") << "20 programs, 44 parameters, stereo out";
}

TEST_F(ModuleMatch, ChunksAreByteIdentical) {
    for (const char* key : {"factory.chunk.bank", "factory.chunk.program", "edited.chunk.bank",
                            "edited.chunk.program"}) {
        EXPECT_EQ(own_->exact[key], other_->exact[key]) << key << " differs between the platforms";
        EXPECT_FALSE(own_->exact[key].empty()) << key << " was handed out";
    }
}

TEST_F(ModuleMatch, TheOtherPlatformsChunksLoadAndSaveUnchanged) {
    ModuleHost host;
    ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error();
    const std::vector<unsigned char> bank = fromHex(other_->exact["edited.chunk.bank"]);
    ASSERT_FALSE(bank.empty());
    EXPECT_EQ(host.setChunk(bank, false), 1) << "the other platform's bank is taken";
    EXPECT_EQ(host.getChunk(false), bank) << "and saved again byte for byte";
    host.dispatch(effSetProgram, 0, kEditedProgram);
    for (VstInt32 i = 0; i < host.effect()->numParams; ++i)
        EXPECT_EQ(floatBits(host.getParameter(i)), other_->exact["edited.param." + std::to_string(i) + ".value"])
            << "parameter " << i << " of the edited program";

    ModuleHost fresh;
    ASSERT_TRUE(fresh.load(ORV_MODULE_PATH)) << fresh.error();
    const std::vector<unsigned char> program = fromHex(other_->exact["edited.chunk.program"]);
    EXPECT_EQ(fresh.setChunk(program, true), 1) << "the other platform's program is taken";
    EXPECT_EQ(fresh.getChunk(true), program) << "and saved again byte for byte";
}

TEST_F(ModuleMatch, RendersOfEveryProgramMatchInPitchAndLevel) {
    double worstCents = 0.0, worstDb = 0.0;
    std::string worstCentsKey, worstDbKey;
    int compared = 0;
    for (const auto& [key, theirs] : other_->measured) {
        const auto mine = own_->measured.find(key);
        ASSERT_NE(mine, own_->measured.end()) << key << " is missing here";
        const bool pitch = key.size() > 6 && key.compare(key.size() - 6, 6, ".pitch") == 0;
        ++compared;
        if (std::isinf(theirs) || std::isinf(mine->second)) {
            EXPECT_EQ(theirs, mine->second) << key << ": silent on one platform only";
            continue;
        }
        const double difference = std::fabs(mine->second - theirs);
        if (pitch) {
            EXPECT_LE(difference, kPitchToleranceCents) << key << " (cents)";
            if (difference >= worstCents) worstCents = difference, worstCentsKey = key;
        } else {
            EXPECT_LE(difference, kLevelToleranceDb) << key << " (dB)";
            if (difference >= worstDb) worstDb = difference, worstDbKey = key;
        }
    }
    EXPECT_EQ(compared, 20 * 7) << "every program, the whole phrase and three stretches";
    std::printf("largest differences: pitch %.6f cents (%s), level %.6f dB (%s)\n", worstCents,
                worstCentsKey.c_str(), worstDb, worstDbKey.c_str());
}

}  // namespace
