// LiveBank: the 20 programs as the running plug-in holds and edits them.
//
// The fields are those of ProgramRecord (name, 44 values, controller map,
// reserved bytes), but every field that two threads touch is a relaxed
// atomic of its own width, so a program can be read while another thread
// writes it without a data race and without a lock. Records go in and out
// whole (load, snapshot); a snapshot holds, for every field, either the
// value before a concurrent store or the one after it, never a torn one.
// It is not one consistent moment: a program switch or chunk load running
// at the same time shows as partly done, as the host's own automation does.
//
// Who writes, who reads (all relaxed loads and stores):
//   values       setParameter from any thread (host automation, the editor,
//                mapped controllers on the audio thread) and the main
//                thread's chunk loads; the last store wins. Read by the main
//                thread (program switch, chunk take).
//   controllers  controller learn on the audio thread and chunk loads on
//                the main thread. Read by the audio thread (mapped
//                controllers) and the main thread (chunk take).
//   name         the main thread (program name, chunk loads). Read by the
//                name requests of any thread; a reader never trusts the
//                bytes to hold a terminator and bounds what it copies.
//   reserved     the main thread only (chunk loads and takes): plain bytes.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>

#include "plugin/ProgramRecord.h"

class LiveBank {
public:
    LiveBank();
    LiveBank(const LiveBank&) = delete;
    LiveBank& operator=(const LiveBank&) = delete;

    // [main thread] Programs outside 0..19 are the caller's fault: every
    // entry point checks its index first.
    void load(int program, const ProgramRecord& record);
    void snapshot(int program, ProgramRecord& record) const;

    // [any thread]
    float value(int program, int index) const {
        return slots_[program].values[index].load(std::memory_order_relaxed);
    }
    void setValue(int program, int index, float v) {
        slots_[program].values[index].store(v, std::memory_order_relaxed);
    }
    // controller is 0..127 (a 7-bit data byte).
    std::int32_t target(int program, int controller) const {
        return slots_[program].controllers[controller].load(std::memory_order_relaxed);
    }
    void setTarget(int program, int controller, std::int32_t parameter) {
        slots_[program].controllers[controller].store(parameter, std::memory_order_relaxed);
    }

    // [main thread] The first 23 bytes of text at most, then a terminator;
    // the bytes after it keep what they held.
    void setName(int program, const char* text);
    // [any thread] The name up to its terminator (23 bytes at most) and a
    // terminator, into text of at least 24 bytes.
    void name(int program, char* text) const;

private:
    struct Slot {
        std::atomic<char> name[kProgramNameSize];
        std::atomic<float> values[param::kCount];
        std::atomic<std::int32_t> controllers[kNumControllers];
        std::uint8_t reserved[sizeof(ProgramRecord::reserved)];
    };
    static_assert(std::atomic<char>::is_always_lock_free &&
                      std::atomic<std::int32_t>::is_always_lock_free &&
                      std::atomic<float>::is_always_lock_free,
                  "the audio thread reads and writes programs without a lock");

    std::array<Slot, kNumPrograms> slots_;
};
