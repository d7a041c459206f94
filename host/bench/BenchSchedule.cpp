#include "host/bench/BenchSchedule.h"

#include <algorithm>
#include <cmath>

namespace {

// C2 to C5 and back in fifths and fourths: three octaves, twelve notes.
constexpr int kNotes[] = {36, 43, 48, 55, 60, 67, 72, 67, 60, 55, 48, 43};
constexpr double kNoteEvery = 0.5;   // seconds between note-ons
constexpr double kNoteLength = 0.4;  // seconds each note is held
constexpr int kVelocity = 100;

// Stress: a burst of controller pairs each second, 0.2 s in (while a note
// sounds), and a program change every other second, 0.45 s in (between
// two notes, as a musician switches sounds).
constexpr double kBurstEvery = 1.0;
constexpr double kBurstAt = 0.2;
constexpr int kBurstPairs = 32;
constexpr int kCutoffController = 36;
constexpr int kResonanceController = 38;
constexpr double kProgramEvery = 2.0;
constexpr double kProgramAt = 0.45;
// Stress also bends and plays legato each second while a note sounds: a
// bend sweep up, one step per sample, 0.25 s in and back to the centre at
// 0.38 s; a second key held from 0.3 to 0.35 s over the phrase's note (a
// glide there and back where the program glides).
constexpr double kBendAt = 0.25;
constexpr double kBendBackAt = 0.38;
constexpr int kBendSteps = 16;
constexpr int kBendCentre = 64;
constexpr double kLegatoAt = 0.3;
constexpr double kLegatoUntil = 0.35;
constexpr int kLegatoNote = 62;

// The offset within its block is set once the events are in blocks.
VstMidiEvent midi(unsigned char status, int data1, int data2) {
    return midiEvent(0, status, data1 & 0x7F, data2 & 0x7F);
}

long long framesOf(double seconds, double sampleRate) {
    return std::llround(seconds * sampleRate);
}

}  // namespace

BenchSchedule::BenchSchedule(const BenchPlan& plan) : blockSize_(std::max(1, plan.blockSize)) {
    const long long total = std::max<long long>(1, framesOf(plan.seconds, plan.sampleRate));
    const long long blockCount = (total + blockSize_ - 1) / blockSize_;
    blocks_.resize(static_cast<std::size_t>(blockCount));

    std::vector<Timed> timed;
    if (plan.kind == BenchPlan::Kind::Phrase) addPhrase(plan, total, timed);
    if (plan.stress) addStress(plan, total, timed);
    std::stable_sort(timed.begin(), timed.end(),
                     [](const Timed& a, const Timed& b) { return a.frame < b.frame; });

    // The events first, so that the pointers below stay valid.
    events_.reserve(timed.size());
    for (const Timed& t : timed) {
        events_.push_back(t.event);
        events_.back().deltaFrames = static_cast<VstInt32>(t.frame % blockSize_);
    }
    for (std::size_t first = 0; first < timed.size();) {
        const long long block = timed[first].frame / blockSize_;
        std::size_t end = first;
        while (end < timed.size() && timed[end].frame / blockSize_ == block) ++end;
        const std::size_t count = end - first;
        lists_.emplace_back(&events_[first], count);
        blocks_[static_cast<std::size_t>(block)].events = lists_.back().get();
        first = end;
    }

    if (plan.stress) {
        for (double t = kProgramAt; framesOf(t, plan.sampleRate) < total; t += kProgramEvery) {
            const long long block = framesOf(t, plan.sampleRate) / blockSize_;
            blocks_[static_cast<std::size_t>(block)].programChange = plan.program;
        }
    }
}

void BenchSchedule::addPhrase(const BenchPlan& plan, long long total, std::vector<Timed>& out) {
    const long long every = framesOf(kNoteEvery, plan.sampleRate);
    const long long length = framesOf(kNoteLength, plan.sampleRate);
    const int noteCount = static_cast<int>(sizeof(kNotes) / sizeof(kNotes[0]));
    for (long long on = 0, i = 0; on < total; on += std::max<long long>(1, every), ++i) {
        const int note = kNotes[i % noteCount];
        out.push_back({on, midi(0x90, note, kVelocity)});
        ++noteOns_;
        if (on + length < total) out.push_back({on + length, midi(0x80, note, 0)});
    }
}

void BenchSchedule::addStress(const BenchPlan& plan, long long total, std::vector<Timed>& out) {
    for (double t = kBurstAt; framesOf(t, plan.sampleRate) < total; t += kBurstEvery) {
        const long long start = framesOf(t, plan.sampleRate);
        for (int i = 0; i < kBurstPairs && start + i < total; ++i) {
            // A fast sweep down and back up, one pair per sample.
            const int value = 127 - std::abs(127 - i * 8);
            out.push_back({start + i, midi(0xB0, kCutoffController, value)});
            out.push_back({start + i, midi(0xB0, kResonanceController, value / 2)});
        }
    }
    for (double t = 0.0; framesOf(t + kBendAt, plan.sampleRate) < total; t += kBurstEvery) {
        const long long start = framesOf(t + kBendAt, plan.sampleRate);
        for (int i = 0; i < kBendSteps && start + i < total; ++i)
            out.push_back({start + i, midi(0xE0, 0, kBendCentre + 4 * i)});
        const long long back = framesOf(t + kBendBackAt, plan.sampleRate);
        if (back < total) out.push_back({back, midi(0xE0, 0, kBendCentre)});
        const long long on = framesOf(t + kLegatoAt, plan.sampleRate);
        const long long off = framesOf(t + kLegatoUntil, plan.sampleRate);
        if (on < total) out.push_back({on, midi(0x90, kLegatoNote, kVelocity)});
        if (off < total) out.push_back({off, midi(0x80, kLegatoNote, 0)});
    }
}
