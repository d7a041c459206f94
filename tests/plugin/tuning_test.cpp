// Tunings as a host and a player meet them, through the built module: the
// pitch of every key measured from the rendered audio, unmapped keys,
// glides, MIDI tuning messages at their sample, and the tuning saved with
// the project (chunk and .fxb).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string>
#include <unistd.h>
#include <vector>

#include "engine/ParamBlock.h"
#include "host/core/PluginPreset.h"
#include "measure/AudioMeasure.h"
#include "plugin/StateTrailer.h"
#include "support/MidiEvents.h"
#include "support/ModuleHost.h"
#include "support/PlainVoice.h"
#include "tuning/Tuning.h"

namespace {

using namespace midi;
using Bytes = std::vector<unsigned char>;

constexpr float kRate = 44100.0f;
constexpr std::size_t kBankRecords = 24400;
constexpr double kMiddleCHz = 261.6255653005986;  // the default layout's degree 0, on key 60

double cents(double hz, double targetHz) { return 1200.0 * std::log2(hz / targetHz); }

std::string nineteenEqual() {
    std::string scl = "! 19-EDO\n19 equal steps to the octave\n19\n";
    char line[32];
    for (int i = 1; i <= 19; ++i) {
        std::snprintf(line, sizeof(line), "%.6f\n", 1200.0 * i / 19.0);
        scl += line;
    }
    return scl;
}

// Just intonation on middle C, A4 at 432 Hz; F# and A# are left unmapped.
const double kJust[12] = {1.0, 16.0 / 15, 9.0 / 8, 6.0 / 5, 5.0 / 4, 4.0 / 3, 45.0 / 32, 3.0 / 2, 8.0 / 5, 5.0 / 3, 9.0 / 5, 15.0 / 8};
const char* const kJustScale =
    "Ptolemy's intense diatonic, chromatic\n12\n16/15\n9/8\n6/5\n5/4\n4/3\n45/32\n3/2\n8/5\n5/3\n9/5\n15/8\n2/1\n";
const char* const kJustMap = "12\n0\n127\n60\n69\n432.0\n12\n0\n1\n2\n3\n4\n5\nx\n7\n8\n9\nx\n11\n";
bool justMaps(int key) { return (key - 60 + 120) % 12 != 6 && (key - 60 + 120) % 12 != 10; }
double justHz(int key) {
    const int offset = key - 60;
    const int octave = static_cast<int>(std::floor(offset / 12.0));
    return 432.0 * kJust[offset - 12 * octave] / kJust[9] * std::pow(2.0, octave);
}

class Tunings : public ::testing::Test {
protected:
    void SetUp() override { load(host); }
    static void load(ModuleHost& h) {
        ASSERT_TRUE(h.load(ORV_MODULE_PATH, kRate)) << h.error();
        h.resume();
        plain::setVoice(h);
    }
    // What a host restoring a project hands over: the bank's records with
    // the tuning's trailer after them.
    static void tune(ModuleHost& h, const std::string& scale, const std::string& map = "") {
        Tuning t;
        std::string error;
        ASSERT_TRUE(Tuning::fromText(scale, "t.scl", map, "t.kbm", t, error)) << error;
        Bytes bank = h.getChunk(false);
        bank.resize(kBankRecords);
        const Bytes trailer = state_trailer::write({{Tuning::kRecordTag, t.toRecord()}});
        bank.insert(bank.end(), trailer.begin(), trailer.end());
        ASSERT_EQ(h.setChunk(bank, false), 1);
    }
    // A key held for half a second, then released and left to die away.
    std::vector<float> play(int key, ModuleHost& h) {
        std::vector<float> out = h.render({noteOn(0, key)}, static_cast<VstInt32>(kRate / 2));
        h.render({noteOff(0, key)}, 2048);
        return out;
    }
    double hzOf(int key) { return measure::frequency(play(key, host), kRate, 2205); }

    void sendSysex(const Bytes& message, VstInt32 offset) {
        VstMidiSysexEvent e{};
        e.type = kVstSysExType;
        e.byteSize = sizeof(e);
        e.deltaFrames = offset;
        e.dumpBytes = static_cast<VstInt32>(message.size());
        e.sysexDump = reinterpret_cast<char*>(const_cast<unsigned char*>(message.data()));
        VstEventList list({reinterpret_cast<VstEvent*>(&e)});
        host.dispatch(effProcessEvents, 0, 0, list.get());
    }

    ModuleHost host;
};

TEST_F(Tunings, NineteenEqualStepsPlayEveryKeyWithinHalfACent) {
    tune(host, nineteenEqual());
    for (int key = 24; key <= 108; ++key) {
        const double target = kMiddleCHz * std::pow(2.0, (key - 60) / 19.0);
        EXPECT_NEAR(cents(hzOf(key), target), 0.0, 0.5) << "key " << key;
    }
}

TEST_F(Tunings, AJustScaleOnAKeyboardMapPlaysItsKeysAndSilencesTheUnmapped) {
    tune(host, kJustScale, kJustMap);
    int silent = 0;
    for (int key = 24; key <= 108; ++key) {
        const std::vector<float> out = play(key, host);
        if (!justMaps(key)) {
            EXPECT_EQ(measure::peak(out), 0.0f) << "unmapped key " << key << " plays nothing";
            ++silent;
            continue;
        }
        EXPECT_NEAR(cents(measure::frequency(out, kRate, 2205), justHz(key)), 0.0, 0.5) << "key " << key;
    }
    EXPECT_EQ(silent, 14);
    EXPECT_NEAR(hzOf(69), 432.0, 432.0 * 0.0003) << "the reference key";
}

TEST_F(Tunings, AGlideRunsBetweenTunedPitchesBothWays) {
    tune(host, nineteenEqual());
    host.setParameter(param::kPortamento, 0.5f);  // about 0.0123 semitones a sample
    const auto hz19 = [](int key) { return kMiddleCHz * std::pow(2.0, (key - 60) / 19.0); };
    host.render({noteOn(0, 60)}, 4410);
    const std::vector<float> up = host.render({noteOn(0, 70)}, 22050);
    EXPECT_NEAR(cents(measure::frequency(up, kRate, 4410), hz19(70)), 0.0, 0.5) << "lands on the second key";
    const std::vector<float> back = host.render({noteOff(0, 70)}, 22050);
    EXPECT_NEAR(cents(measure::frequency(back, kRate, 4410), hz19(60)), 0.0, 0.5)
        << "releasing it glides back to the held one";
}

TEST_F(Tunings, TheFiltersKeyTrackingFollowsTheTunedPitchNotTheKey) {
    // One degree of 0 cents: every key sounds middle C. A bright saw under a
    // closed filter that tracks the key fully: were the key number tracked,
    // key 36 and key 96 would differ by most of the cutoff's range.
    const auto played = [](int key) {
        ModuleHost h;
        load(h);
        plain::setVoice(h, choice::OscWave::kSaw);
        h.setParameter(param::kCutoff, 0.1f);
        tune(h, "unison\n1\n0.0\n");
        return h.render({noteOn(0, key)}, 8192);
    };
    const std::vector<float> low = played(36);
    EXPECT_GT(measure::peak(low), 0.01f);
    EXPECT_TRUE(low == played(96));
}

// F0 7F dev 08 02 program count [key semitone msb lsb] F7.
Bytes singleNoteChange(int key, double pitch) {
    const int semitone = static_cast<int>(pitch);
    const int fraction = static_cast<int>(std::lround((pitch - semitone) * 16384.0));
    return {0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, static_cast<unsigned char>(key),
            static_cast<unsigned char>(semitone), static_cast<unsigned char>(fraction >> 7),
            static_cast<unsigned char>(fraction & 0x7F), 0xF7};
}

TEST_F(Tunings, ASingleNoteChangeMovesAHeldNoteAtItsSample) {
    ModuleHost untouched;
    load(untouched);
    constexpr VstInt32 kAt = 1000;
    host.render({noteOn(0, 69)}, 4096);
    untouched.render({noteOn(0, 69)}, 4096);
    sendSysex(singleNoteChange(69, 70.25), kAt);
    const std::vector<float> moved = host.render(22050);
    const std::vector<float> still = untouched.render(22050);
    std::size_t first = 0;
    while (first < moved.size() && moved[first] == still[first]) ++first;
    EXPECT_EQ(first, static_cast<std::size_t>(kAt)) << "the first sample that differs";
    const double target = 440.0 * std::pow(2.0, 1.25 / 12.0);
    EXPECT_NEAR(cents(measure::frequency(moved, kRate, kAt + 441), target), 0.0, 0.5);
}

TEST_F(Tunings, ABulkDumpRetunesEveryKeyAndBrokenMessagesChangeNothing) {
    // Every key half a semitone up, but key 60 marked "no change".
    Bytes dump = {0xF0, 0x7E, 0x00, 0x08, 0x01, 0x05};
    for (char c : std::string("quarter sharps  ")) dump.push_back(static_cast<unsigned char>(c));
    for (int key = 0; key < 128; ++key) {
        const bool keep = key == 60;
        dump.push_back(keep ? 0x7F : key);
        dump.push_back(keep ? 0x7F : 0x40);
        dump.push_back(keep ? 0x7F : 0x00);
    }
    unsigned char sum = 0;
    for (std::size_t i = 1; i < dump.size(); ++i) sum ^= dump[i];
    dump.push_back(sum & 0x7F);
    dump.push_back(0xF7);

    std::vector<Bytes> broken;
    Bytes badSum = dump;
    badSum[dump.size() - 2] ^= 1;
    broken.push_back(badSum);
    broken.push_back(Bytes(dump.begin(), dump.end() - 1));  // no F7
    Bytes shortDump(dump.begin(), dump.end() - 3);
    shortDump.insert(shortDump.end(), dump.end() - 2, dump.end());
    broken.push_back(shortDump);
    Bytes twoAnnouncedOneSent = singleNoteChange(57, 57.5);
    twoAnnouncedOneSent[6] = 2;
    broken.push_back(twoAnnouncedOneSent);
    Bytes nonRealTimeSingle = singleNoteChange(57, 57.5);
    nonRealTimeSingle[1] = 0x7E;
    broken.push_back(nonRealTimeSingle);
    Bytes statusInside = singleNoteChange(57, 57.5);
    statusInside[8] = 0x90;
    broken.push_back(statusInside);

    for (const Bytes& b : broken) sendSysex(b, 0);
    const double plain57 = plain::noteHz(57);
    EXPECT_NEAR(cents(hzOf(57), plain57), 0.0, 0.5) << "no broken message retuned anything";

    sendSysex(dump, 0);
    EXPECT_NEAR(cents(hzOf(57), plain::noteHz(57.5)), 0.0, 0.5) << "key 57 half a semitone up";
    EXPECT_NEAR(cents(hzOf(60), plain::noteHz(60)), 0.0, 0.5) << "key 60 left as it was";
}

TEST_F(Tunings, TheTuningTravelsWithTheBankAndOnlyThere) {
    const Bytes standardBank = host.getChunk(false);
    ASSERT_EQ(standardBank.size(), kBankRecords) << "no trailer while the tuning is standard";
    tune(host, kJustScale, kJustMap);
    const Bytes bank = host.getChunk(false);
    ASSERT_GT(bank.size(), kBankRecords);
    EXPECT_TRUE(std::equal(standardBank.begin(), standardBank.end(), bank.begin()))
        << "the records come first, unchanged";
    EXPECT_EQ(host.getChunk(true).size(), 1220u) << "a program chunk is its record alone";
    const std::string path = ::testing::TempDir() + "orv-tuning-" + std::to_string(getpid()) + ".fxb";
    std::string error;
    ASSERT_TRUE(preset::save(host, path, true, error)) << error;

    const auto key = [](ModuleHost& h, int k) { return h.render({noteOn(0, k)}, 8192); };
    {
        ModuleHost fromChunk, fromFile, original;
        load(fromChunk);
        load(fromFile);
        load(original);
        tune(original, kJustScale, kJustMap);
        ASSERT_EQ(fromChunk.setChunk(bank, false), 1);
        ASSERT_TRUE(preset::load(fromFile, path, error)) << error;
        const std::vector<float> expected = key(original, 64);
        EXPECT_EQ(key(fromChunk, 64), expected) << "through the host's chunk";
        EXPECT_EQ(key(fromFile, 64), expected) << "through a .fxb";
        fromFile.render({noteOff(0, 64)}, 8192);
        EXPECT_EQ(measure::peak(key(fromFile, 66)), 0.0f) << "unmapped after the round trip too";
    }
    std::remove(path.c_str());

    // The records alone, or with a damaged trailer: every program, and the
    // standard tuning.
    Bytes renamed = bank;
    std::memcpy(renamed.data() + 19 * 1220, "Renamed\0", 8);
    const Bytes damaged = [&] { Bytes d = renamed; d[kBankRecords + 20] ^= 0x40; return d; }();
    const Bytes recordsOnly(renamed.begin(), renamed.begin() + kBankRecords);
    for (const Bytes* b : {&recordsOnly, &damaged}) {
        ModuleHost loaded, standard;
        load(loaded);
        load(standard);
        ASSERT_EQ(loaded.setChunk(*b, false), 1);
        EXPECT_EQ(loaded.programNameIndexed(19), "Renamed");
        plain::setVoice(loaded);
        EXPECT_EQ(key(loaded, 66), key(standard, 66)) << (b == &damaged ? "damaged trailer" : "no trailer");
    }
}

}  // namespace
