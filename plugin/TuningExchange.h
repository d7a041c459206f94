// TuningExchange: whole tuning tables from the threads that choose a tuning
// to the audio thread, never half-written.
//
// Three tables. The writer fills the one it holds, then trades it for the
// one in the middle with a single atomic exchange that also marks the
// middle fresh; the reader, finding the middle fresh, trades its own for it
// the same way. Each side only ever touches the table it holds, so neither
// waits and neither sees a table the other is filling.
//
// Threads: publish from the main thread and the ui thread (a chunk load,
// a tuning chosen in the editor), which a mutex puts one after the other;
// take from the audio thread only, which takes no lock.
#pragma once

#include <atomic>
#include <mutex>

#include "engine/TuningTable.h"

class TuningExchange {
public:
    TuningExchange() {
        for (TuningTable& t : tables_) t = TuningTable::standard();
    }

    // [main thread] [ui thread]
    void publish(const TuningTable& table) {
        std::lock_guard<std::mutex> writers(writers_);
        tables_[back_] = table;
        back_ = middle_.exchange(back_ | kFresh, std::memory_order_acq_rel) & kIndex;
    }

    // [audio thread] Copies the table last published into into, once;
    // false when nothing new has come.
    bool take(TuningTable& into) {
        if (!(middle_.load(std::memory_order_relaxed) & kFresh)) return false;
        front_ = middle_.exchange(front_, std::memory_order_acq_rel) & kIndex;
        into = tables_[front_];
        return true;
    }

private:
    static constexpr unsigned kIndex = 3;
    static constexpr unsigned kFresh = 4;

    TuningTable tables_[3];
    std::atomic<unsigned> middle_{1};  // index of the middle table, and kFresh
    unsigned back_ = 0;                // the writers' table (under writers_)
    unsigned front_ = 2;               // the audio thread's table
    std::mutex writers_;
};
