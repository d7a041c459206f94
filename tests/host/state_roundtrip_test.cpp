// Saved state through every path that carries it, with nothing left at its
// factory content: random banks (support/RandomBank.h) from a fixed seed go
// into the built module, out through a path (chunks, .fxb/.fxp files run
// through orv-host, the player's state file) and into a fresh instance,
// which must then hold the same bytes and play every program sample for
// sample as the instance the bank came from; the CLAP and LV2 plug-ins keep
// the same bytes in their state. Every other bank carries a tuning in the
// trailer after its programs, and every third the clean oscillator mode,
// which the bank paths keep too.
//
// ORV_STATE_BANKS sets how many banks each path takes (kBanks unless set);
// the sanitizer build takes a tenth. The fuzz harness state_fuzzer checks
// the same property on inputs of its own for longer runs.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include <unistd.h>

#include "host/core/PluginPreset.h"
#include "plugin/OscillatorRecord.h"
#include "plugin/StateTrailer.h"
#include "support/Command.h"
#include "support/MidiEvents.h"
#include "support/ModuleHost.h"
#include "support/RandomBank.h"
#include "tuning/Tuning.h"

namespace {

using state::Bytes;
using state::kRecordBytes;

constexpr std::uint64_t kSeed = 0x416D6272656C6Cull;  // "Ambrell"
#ifdef ORV_SANITIZER_BUILD
constexpr int kBanks = 30;
#else
constexpr int kBanks = 300;
#endif

int bankCount() {
    const char* n = std::getenv("ORV_STATE_BANKS");
    return n && std::atoi(n) > 0 ? std::atoi(n) : kBanks;
}

std::unique_ptr<ModuleHost> freshInstance() {
    auto host = std::make_unique<ModuleHost>();
    EXPECT_TRUE(host->load(ORV_MODULE_PATH)) << host->error();
    return host;
}

// A fresh instance holding bank, with program current selected.
std::unique_ptr<ModuleHost> holding(const Bytes& bank, int current) {
    auto host = freshInstance();
    host->dispatch(effSetProgram, 0, current);
    EXPECT_EQ(host->setChunk(bank, false), 1) << "the plug-in takes the bank";
    return host;
}

const Bytes& factoryBank() {
    static const Bytes bank = freshInstance()->getChunk(false);
    return bank;
}

// Where two banks first differ, in words; empty when they are the same.
std::string difference(const Bytes& expected, const Bytes& actual) {
    if (actual.size() != expected.size())
        return std::to_string(actual.size()) + " bytes instead of " + std::to_string(expected.size());
    for (std::size_t i = 0; i < expected.size(); ++i) {
        if (expected[i] == actual[i]) continue;
        const std::size_t at = i % kRecordBytes;
        const char* field = at < state::kValuesAt ? "name"
                            : at < state::kMapAt  ? "values"
                            : at < state::kReservedAt ? "controller map"
                                                      : "reserved bytes";
        return "record " + std::to_string(i / kRecordBytes) + ", " + field + " (byte " + std::to_string(at) + ")";
    }
    return "";
}

constexpr VstInt32 kBlock = 256;
constexpr long kFramesPerProgram = 3 * kBlock;

// Program p played: selected, a note held while its controller moves (so
// the map is heard), then released. Controllers 120 and up reset instead.
std::vector<float> soundOf(ModuleHost& host, int p) {
    host.dispatch(effSetProgram, 0, p);
    std::vector<float> sound = host.render({midi::noteOn(0, 36 + 3 * p, 100)}, kBlock);
    for (const auto& events : {std::vector<VstMidiEvent>{midi::controller(17, 6 * p, 99)},
                               std::vector<VstMidiEvent>{midi::noteOff(5, 36 + 3 * p)}}) {
        const std::vector<float> block = host.render(events, kBlock);
        sound.insert(sound.end(), block.begin(), block.end());
    }
    return sound;
}

// Every program played in turn. Two instances sound alike sample for
// sample only after the same calls: each is fresh before its first render.
std::vector<float> soundOfEveryProgram(ModuleHost& host) {
    std::vector<float> sound;
    for (int p = 0; p < int(state::kPrograms); ++p) {
        const std::vector<float> one = soundOf(host, p);
        sound.insert(sound.end(), one.begin(), one.end());
    }
    return sound;
}

// The first sample at which two sounds differ in their bits, or -1.
long firstDifferentSample(const std::vector<float>& a, const std::vector<float>& b) {
    if (a.size() != b.size()) return 0;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (std::memcmp(&a[i], &b[i], sizeof(float)) != 0) return long(i);
    return -1;
}

// copy must hold the bank as generated, byte for byte (not merely what
// source holds: source took the bank through a chunk too), source's
// current program, and sound as source does. Renders change programs
// (mapped controllers write their parameter), so the bytes come first.
bool expectSameState(ModuleHost& source, ModuleHost& copy, const Bytes& bank, const std::string& what) {
    const std::string bytes = difference(bank, copy.getChunk(false));
    EXPECT_EQ(bytes, "") << what << ": differs at " << bytes;
    EXPECT_EQ(copy.dispatch(effGetProgram), source.dispatch(effGetProgram)) << what << ": the current program";
    const std::vector<float> heard = soundOfEveryProgram(source);
    const long sample = firstDifferentSample(heard, soundOfEveryProgram(copy));
    const auto wild = std::find_if(heard.begin(), heard.end(), [](float x) { return !std::isfinite(x); });
    EXPECT_TRUE(wild == heard.end()) << what << ": program " << (wild - heard.begin()) / kFramesPerProgram
                                     << " plays " << *wild;
    EXPECT_EQ(sample, -1) << what << ": sounds different from sample " << sample << " (program "
                          << sample / kFramesPerProgram << ")";
    return bytes.empty() && sample == -1 && wild == heard.end();
}

// A tuning of its own for bank k: an equal division of the octave into 5 to
// 19 steps, each step bent a little, and on every other one a keyboard map
// with a reference of its own and two unmapped keys.
std::string tuningRecord(int k) {
    const int steps = 5 + (k * 5) % 15;
    std::string scale = "! bank " + std::to_string(k) + ".scl\nBank " + std::to_string(k) + " tuning\n" +
                        std::to_string(steps) + "\n";
    for (int i = 1; i < steps; ++i)
        scale += std::to_string(1200.0 * i / steps + ((k + i) % 7 - 3) * 1.25) + "\n";
    scale += "2/1\n";
    std::string map;
    if (k % 4 == 3) {
        map = "! bank.kbm\n" + std::to_string(steps) + "\n0\n127\n60\n69\n" + std::to_string(420 + k % 40) +
              ".5\n" + std::to_string(steps) + "\n";
        for (int i = 0; i < steps; ++i) map += (i == 1 || i == steps - 2) ? "x\n" : std::to_string(i) + "\n";
    }
    Tuning tuning;
    std::string error;
    EXPECT_TRUE(Tuning::fromText(scale, "bank.scl", map, "bank.kbm", tuning, error)) << error;
    return tuning.toRecord();
}

struct Bank {
    Bytes bytes;     // what the bank chunk carries: the programs, and the trailer's records
    Bytes programs;  // the 20 records alone, what program chunks can carry
    int current;
    std::string name;
};
Bank bankNumber(int k) {
    Bank bank{state::randomBank(kSeed + std::uint64_t(k), factoryBank()), {}, (k * 7 + 19) % 20,
              "bank " + std::to_string(k) + " of seed " + std::to_string(kSeed)};
    bank.programs = bank.bytes;
    // In the order the plug-in writes them.
    std::vector<state_trailer::Record> records;
    if (k % 2 == 1) {
        records.push_back({Tuning::kRecordTag, tuningRecord(k)});
        bank.name += " with a tuning";
    }
    if (k % 3 == 1) {
        records.push_back({oscillator_record::kTag, oscillator_record::kClean});
        bank.name += " with clean oscillators";
    }
    const std::vector<unsigned char> trailer = state_trailer::write(records);
    bank.bytes.insert(bank.bytes.end(), trailer.begin(), trailer.end());
    return bank;
}

// Named by process, so that two runs of the suite on one machine keep apart.
std::string tempFile(const std::string& name) {
    return ::testing::TempDir() + "orv-state-" + std::to_string(getpid()) + "-" + name;
}

TEST(StateRoundTrip, GeneratedBanksLeaveNoFieldAsItWas) {
    // The property is only as strong as its banks: each field of each record
    // unlike the factory's and the other records', every name length used.
    bool lengths[24] = {};
    for (int k = 0; k < 10; ++k) {
        const Bytes bank = bankNumber(k).bytes;
        for (std::size_t p = 0; p < state::kPrograms; ++p) {
            const unsigned char* record = bank.data() + p * kRecordBytes;
            lengths[strnlen(reinterpret_cast<const char*>(record), 24)] = true;
            for (std::size_t other = 0; other < state::kPrograms; ++other) {
                const unsigned char* them = other == p ? factoryBank().data() + p * kRecordBytes
                                                       : bank.data() + other * kRecordBytes;
                for (std::size_t f = 0; f < 44 + 128; ++f) {
                    const std::size_t at = state::kValuesAt + 4 * f;
                    ASSERT_NE(std::memcmp(record + at, them + at, 4), 0)
                        << "bank " << k << " program " << p << " field " << f << " as in " << other;
                }
                ASSERT_NE(std::memcmp(record, them, 24), 0) << "name of " << p << " as in " << other;
            }
            for (std::size_t c = 0; c < 128; ++c)
                ASSERT_NE(std::memcmp(record + state::kMapAt + 4 * c, "\0\0\0\0", 4), 0) << "controller " << c;
        }
    }
    for (int n = 0; n < 24; ++n) EXPECT_TRUE(lengths[n]) << "a name of " << n << " characters";
}

TEST(StateRoundTrip, BankAndProgramChunksCarryEveryByteIntoAFreshInstance) {
    for (int k = 0; k < bankCount(); ++k) {
        const Bank bank = bankNumber(k);
        auto source = holding(bank.bytes, bank.current);

        auto copy = freshInstance();
        copy->dispatch(effSetProgram, 0, bank.current);
        ASSERT_EQ(copy->setChunk(source->getChunk(false), false), 1) << bank.name;

        // Program by program: each chunk lands in the program selected.
        auto programs = freshInstance();
        for (int p = 0; p < int(state::kPrograms); ++p) {
            source->dispatch(effSetProgram, 0, p);
            programs->dispatch(effSetProgram, 0, p);
            ASSERT_EQ(programs->setChunk(source->getChunk(true), true), 1) << bank.name << " program " << p;
        }
        source->dispatch(effSetProgram, 0, bank.current);
        programs->dispatch(effSetProgram, 0, bank.current);

        auto reference = holding(bank.programs, bank.current);
        if (!expectSameState(*source, *copy, bank.bytes, bank.name + ", bank chunk") ||
            !expectSameState(*reference, *programs, bank.programs, bank.name + ", program chunks"))
            break;
    }
}

TEST(StateRoundTrip, PresetFilesCarryEveryByteThroughOrvHost) {
    // orv-host reads the bank file and writes it again, writes one of its
    // programs as a program file and reads that back to write it again;
    // the files go into fresh instances.
    const std::string command = std::string("ASAN_OPTIONS=detect_leaks=0 ") + ORV_HOST_PATH + " preset save " +
                                ORV_MODULE_PATH + " ";
    const std::string in = tempFile("in.fxb"), out = tempFile("out.fxb"), one = tempFile("one.fxp"),
                      again = tempFile("again.fxp");
    for (int k = 0; k < bankCount(); ++k) {
        const Bank bank = bankNumber(k);
        const int program = (k * 3) % 20;
        auto source = holding(bank.bytes, bank.current);
        std::string error;
        ASSERT_TRUE(preset::save(*source, in, true, error)) << error;
        const CommandRun run =
            runCommand(command + out + " --preset " + in + " && " + command + one + " --preset " + in + " --program " +
                       std::to_string(program) + " && " + command + again + " --preset " + one + " 2>&1");
        ASSERT_EQ(run.status, 0) << run.out;
        Bytes written, read, programWritten, programRead;
        ASSERT_TRUE(preset::readFile(in, written, error) && preset::readFile(out, read, error) &&
                    preset::readFile(one, programWritten, error) && preset::readFile(again, programRead, error))
            << error;
        EXPECT_EQ(read, written) << bank.name << ": the bank file orv-host wrote is the one it read";
        EXPECT_EQ(programRead, programWritten) << bank.name << ": the program file orv-host wrote is the one it read";

        auto copy = freshInstance();
        ASSERT_TRUE(preset::load(*copy, out, error)) << error;

        // The program file lands in the program selected; its sound is that
        // program's in the source.
        auto single = freshInstance();
        single->dispatch(effSetProgram, 0, program);
        ASSERT_TRUE(preset::load(*single, one, error)) << error;
        const auto record = bank.bytes.begin() + long(program * kRecordBytes);
        const std::string bytes = difference(Bytes(record, record + long(kRecordBytes)), single->getChunk(true));
        EXPECT_EQ(bytes, "") << bank.name << ", program file of program " << program << ": differs at " << bytes;
        auto reference = holding(bank.programs, bank.current);
        EXPECT_EQ(firstDifferentSample(soundOf(*reference, program), soundOf(*single, program)), -1)
            << bank.name << ", program file of program " << program << ": sounds different";

        if (!expectSameState(*source, *copy, bank.bytes, bank.name + ", bank file") || !bytes.empty()) break;
    }
}

TEST(StateRoundTrip, PlayersStateFileCarriesEveryByteToTheNextRun) {
    // What orv-host play does with its state file: saved when it stops,
    // loaded when it starts; a run that changes nothing leaves the same file.
    const std::string path = tempFile("player.fxb");
    for (int k = 0; k < bankCount(); ++k) {
        const Bank bank = bankNumber(k);
        auto source = holding(bank.bytes, bank.current);
        std::string error;
        ASSERT_TRUE(preset::save(*source, path, true, error)) << error;
        Bytes before, after;
        ASSERT_TRUE(preset::readFile(path, before, error)) << error;
        auto next = freshInstance();
        ASSERT_TRUE(preset::load(*next, path, error)) << error;
        ASSERT_TRUE(preset::save(*next, path, true, error)) << error;
        ASSERT_TRUE(preset::readFile(path, after, error)) << error;
        EXPECT_EQ(after, before) << bank.name << ": the state file after a run that changed nothing";
        if (!expectSameState(*source, *next, bank.bytes, bank.name + ", state file")) break;
    }
}

TEST(StateRoundTrip, TheOtherFormatsCarryEveryByteOfTheBank) {
    // The CLAP plug-in and the LV2 bundle keep the same bank chunk (with its
    // tuning and oscillator mode) in their own state: a bank handed to one, read back and handed
    // to the VST 2.x module is the bank as generated, and each plays every
    // program as the module the bank came from.
    for (const char* plugin : {ORV_CLAP_PATH, ORV_LV2_BUNDLE}) {
        for (int k = 0; k < bankCount() / 10 + 1; ++k) {
            const Bank bank = bankNumber(k);
            const std::string what = bank.name + " through " + plugin;
            auto source = holding(bank.bytes, bank.current);
            ModuleHost format;
            ASSERT_TRUE(format.load(plugin)) << format.error();
            format.dispatch(effSetProgram, 0, bank.current);
            ASSERT_EQ(format.setChunk(bank.bytes, false), 1) << what;
            // The bytes come first: playing lets mapped controllers write.
            const Bytes held = format.getChunk(false);
            const std::string bytes = difference(bank.bytes, held);
            EXPECT_EQ(bytes, "") << what << ": its state differs at " << bytes;
            auto back = holding(held, bank.current);
            auto reference = holding(bank.bytes, bank.current);
            EXPECT_EQ(firstDifferentSample(soundOfEveryProgram(*reference), soundOfEveryProgram(format)), -1)
                << what << ": sounds different";
            if (!expectSameState(*source, *back, bank.bytes, what + " and back") || !bytes.empty()) break;
        }
    }
}

}  // namespace
