// State chunks: the raw 1220-byte program records a host saves with its
// project, their layout, round trips through a new instance, and chunks
// that must be refused without touching any program.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "support/ModuleHost.h"

namespace {

constexpr std::size_t kRecord = 1220;
constexpr std::size_t kBank = 20 * kRecord;
constexpr std::size_t kValuesAt = 24, kMapAt = 200, kReservedAt = 712;

using Bytes = std::vector<unsigned char>;

float valueIn(const unsigned char* record, int index) {
    float v;
    std::memcpy(&v, record + kValuesAt + 4 * index, sizeof(v));
    return v;
}
void setValueIn(unsigned char* record, int index, float v) {
    std::memcpy(record + kValuesAt + 4 * index, &v, sizeof(v));
}
std::int32_t controllerIn(const unsigned char* record, int controller) {
    std::int32_t t;
    std::memcpy(&t, record + kMapAt + 4 * controller, sizeof(t));
    return t;
}

class Chunks : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(host.load(ORV_MODULE_PATH)) << host.error(); }
    void select(int p) { host.dispatch(effSetProgram, 0, p); }
    ModuleHost host;
};

TEST_F(Chunks, BankIsTwentyRawRecords) {
    const Bytes bank = host.getChunk(false);
    ASSERT_EQ(bank.size(), kBank);
    EXPECT_EQ(std::memcmp(bank.data(), "Saw Bass\0", 9), 0) << "starts with the first name";
    EXPECT_EQ(valueIn(bank.data(), 0), 0.89824283f) << "values follow the 24-byte name";
    EXPECT_EQ(std::memcmp(bank.data() + 7 * kRecord, "Rising Industry Pad\0", 20), 0);
}

TEST_F(Chunks, EveryFactoryRecordMapsControllers36And38ToTheFilter) {
    const Bytes bank = host.getChunk(false);
    ASSERT_EQ(bank.size(), kBank);
    for (int p = 0; p < 20; ++p) {
        const unsigned char* r = bank.data() + p * kRecord;
        for (int c = 0; c < 128; ++c) {
            const std::int32_t expected = c == 36 ? 16 : c == 38 ? 17 : 0;
            ASSERT_EQ(controllerIn(r, c), expected) << "program " << p << " controller " << c;
        }
        for (std::size_t i = kReservedAt; i < kRecord; ++i)
            ASSERT_EQ(r[i], 0) << "program " << p << " reserved byte " << i;
    }
}

TEST_F(Chunks, NamesCarryTheirLeftoverBytes) {
    const Bytes bank = host.getChunk(false);
    ASSERT_EQ(bank.size(), kBank);
    const struct {
        int program;
        char field[24];
    } kLeftovers[] = {{5, "Funky Lead\0ant Lead 2"},
                      {9, "FM FX\0al Clang FX"},
                      {10, "Reverse Industry FX\0 2"}};
    for (const auto& l : kLeftovers)
        EXPECT_EQ(std::memcmp(bank.data() + l.program * kRecord, l.field, 24), 0)
            << "program " << l.program << ": the whole 24-byte name field";
    for (int p = 0; p < 20; ++p) {
        if (p == 5 || p == 9 || p == 10) continue;
        const unsigned char* name = bank.data() + p * kRecord;
        const std::size_t length = strnlen(reinterpret_cast<const char*>(name), 24);
        for (std::size_t i = length; i < 24; ++i)
            ASSERT_EQ(name[i], 0) << "program " << p << " has nothing after its name";
    }
}

TEST_F(Chunks, ProgramChunkIsTheCurrentRecordInItsOwnSlot) {
    select(3);
    const void* data = nullptr;
    const Bytes program = host.getChunk(true, &data);
    ASSERT_EQ(program.size(), kRecord);
    EXPECT_EQ(std::memcmp(program.data(), "Dark Slap Bass", 15), 0);

    // The copy sits in slot 3 of the chunk array; slot 0 has never been
    // written and still holds a fresh record.
    const auto* slot0 = static_cast<const unsigned char*>(data) - 3 * kRecord;
    EXPECT_STREQ(reinterpret_cast<const char*>(slot0), "default");
    for (int i = 0; i < 44; ++i) {
        const bool half = i == 0 || i == 1 || i == 4 || i == 8 || i == 9 || i == 10;
        const bool one = i == 16 || i == 22 || i == 26 || i == 33 || i == 38;
        EXPECT_EQ(valueIn(slot0, i), half ? 0.5f : one ? 1.0f : 0.0f) << "fresh value " << i;
    }
    for (int c = 0; c < 128; ++c)
        EXPECT_EQ(controllerIn(slot0, c), c == 40 ? 16 : c == 42 ? 17 : 0) << "fresh map " << c;

    const void* bankData = nullptr;
    host.getChunk(false, &bankData);
    EXPECT_EQ(bankData, static_cast<const void*>(slot0)) << "bank and programs share one array";
}

TEST_F(Chunks, HandedOutDataStaysAsItWasUntilTheNextRequest) {
    const void* data = nullptr;
    host.getChunk(false, &data);
    host.setParameter(16, 0.25f);
    EXPECT_EQ(valueIn(static_cast<const unsigned char*>(data), 16), 0.9606679f)
        << "a later edit does not reach data the host is still reading";
}

TEST_F(Chunks, BankRoundTripsThroughANewInstance) {
    select(11);
    host.setParameter(17, 0.625f);
    host.dispatch(effSetProgramName, 0, 0, const_cast<char*>("My Random"));
    select(2);
    const Bytes saved = host.getChunk(false);

    ModuleHost other;
    ASSERT_TRUE(other.load(ORV_MODULE_PATH)) << other.error();
    EXPECT_EQ(other.setChunk(saved, false), 1);
    EXPECT_EQ(other.dispatch(effGetProgram), 0) << "a bank load keeps the program number";
    EXPECT_EQ(other.getChunk(false), saved) << "every byte arrives, names' leftovers included";
    other.dispatch(effSetProgram, 0, 11);
    EXPECT_EQ(other.getParameter(17), 0.625f);
    EXPECT_EQ(other.programName(), "My Random");
}

TEST_F(Chunks, BankLoadAppliesTheCurrentProgram) {
    Bytes bank = host.getChunk(false);
    setValueIn(bank.data(), 16, 0.125f);  // program 0, the current one
    ASSERT_EQ(host.setChunk(bank, false), 1);
    EXPECT_EQ(host.getParameter(16), 0.125f) << "the loaded values reach the parameters at once";
}

TEST_F(Chunks, ProgramChunkLandsInTheCurrentProgram) {
    select(2);
    const Bytes acid = host.getChunk(true);
    select(5);
    ASSERT_EQ(host.setChunk(acid, true), 1);
    EXPECT_EQ(host.programName(), "Acid Bass") << "name included";
    EXPECT_EQ(host.dispatch(effGetProgram), 5);
    const Bytes bank = host.getChunk(false);
    EXPECT_EQ(std::memcmp(bank.data() + 5 * kRecord, acid.data(), kRecord), 0)
        << "program 5 is now a byte copy of program 2";
    for (int i = 0; i < 44; ++i)
        EXPECT_EQ(host.getParameter(i), valueIn(acid.data(), i)) << "parameter " << i;
}

TEST_F(Chunks, UnalignedHostBuffersLoad) {
    const Bytes bank = host.getChunk(false);
    Bytes shifted(bank.size() + 1);
    std::memcpy(shifted.data() + 1, bank.data(), bank.size());
    EXPECT_EQ(host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(bank.size()), shifted.data() + 1), 1);
}

// Each case spoils a good chunk; each must be refused with 0 and leave the
// whole bank and the parameters as they were.
TEST_F(Chunks, BadChunksChangeNothing) {
    select(4);
    const Bytes before = host.getChunk(false);
    const float cutoff = host.getParameter(16);
    Bytes program(before.begin() + 4 * kRecord, before.begin() + 5 * kRecord);
    setValueIn(program.data(), 16, 0.5f);  // a visible change, were it loaded
    Bytes bank = before;
    setValueIn(bank.data() + 4 * kRecord, 16, 0.5f);

    struct Case {
        const char* what;
        Bytes bytes;
        VstIntPtr size;
        bool preset;
    };
    std::vector<Case> cases;
    for (VstIntPtr size : {VstIntPtr{0}, VstIntPtr{1219}, VstIntPtr{1221}, VstIntPtr{-1220},
                           VstIntPtr{1220} + (VstIntPtr{1} << 32)})
        cases.push_back({"program chunk of a wrong size", program, size, true});
    // Longer banks carry a trailer after the records (tuning_test.cpp).
    for (VstIntPtr size : {VstIntPtr{1220}, VstIntPtr{24399}, VstIntPtr{24400} + (VstIntPtr{1} << 32)})
        cases.push_back({"bank chunk of a wrong size", bank, size, false});
    cases.push_back({"bank bytes offered as a program", bank, 24400, true});
    for (float bad : {std::numeric_limits<float>::quiet_NaN(),
                      std::numeric_limits<float>::infinity(),
                      -std::numeric_limits<float>::infinity()}) {
        Bytes p = program;
        setValueIn(p.data(), 30, bad);
        cases.push_back({"program with a value that is no number", p, 1220, true});
        Bytes b = bank;
        setValueIn(b.data() + 19 * kRecord, 43, bad);  // the last value of the last record
        cases.push_back({"bank with a value that is no number", b, 24400, false});
    }
    {
        Bytes p = program;
        std::memset(p.data(), 'x', 24);
        cases.push_back({"program name without terminator", p, 1220, true});
        Bytes b = bank;
        std::memset(b.data() + 12 * kRecord, 'x', 24);
        cases.push_back({"bank with a name without terminator", b, 24400, false});
    }

    for (Case& c : cases) {
        // Room for the largest size asked, so a wrong size is refused, not
        // read past.
        c.bytes.resize(kBank + kRecord, 0);
        EXPECT_EQ(host.dispatch(effSetChunk, c.preset ? 1 : 0, c.size, c.bytes.data()), 0)
            << c.what << " (size " << c.size << ")";
        EXPECT_EQ(host.getChunk(false), before) << c.what << ": every program as it was";
        EXPECT_EQ(host.getParameter(16), cutoff) << c.what << ": parameters as they were";
    }
    EXPECT_EQ(host.dispatch(effSetChunk, 0, 24400, nullptr), 0) << "null data";
    EXPECT_EQ(host.dispatch(effGetChunk, 0, 0, nullptr), 0) << "null place for the address";
}

}  // namespace
