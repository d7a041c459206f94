// GestureQueue: the editor's gestures on their way to the CLAP host.
//
// The editor runs on the main thread; the host hears a plug-in's own
// changes only as output events of process (audio thread) or of flush
// (main thread while nothing processes). Gestures wait here in between: one
// writer (the main thread), one reader (whichever thread processes or
// flushes), a ring of fixed size with acquire/release indexes, no lock and
// no allocation. A full ring drops the gesture.
#pragma once

#include <atomic>
#include <cstdint>

struct Gesture {
    enum Kind : std::uint8_t { kBegin, kValue, kEnd };
    Kind kind = kBegin;
    std::int32_t index = 0;
    float value = 0.0f;
};

class GestureQueue {
public:
    static constexpr std::uint32_t kCapacity = 1024;  // a power of two

    // [main thread]
    bool push(const Gesture& g) {
        const std::uint32_t tail = tail_.load(std::memory_order_relaxed);
        if (tail - head_.load(std::memory_order_acquire) >= kCapacity) return false;
        slots_[tail % kCapacity] = g;
        tail_.store(tail + 1, std::memory_order_release);
        return true;
    }

    // [audio thread], or [main thread] while nothing processes.
    bool pop(Gesture& g) {
        const std::uint32_t head = head_.load(std::memory_order_relaxed);
        if (head == tail_.load(std::memory_order_acquire)) return false;
        g = slots_[head % kCapacity];
        head_.store(head + 1, std::memory_order_release);
        return true;
    }

private:
    Gesture slots_[kCapacity];
    std::atomic<std::uint32_t> head_{0};
    std::atomic<std::uint32_t> tail_{0};
};
