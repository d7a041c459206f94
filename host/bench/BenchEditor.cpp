#include "host/bench/BenchEditor.h"

#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <thread>

#include "host/core/CommandLine.h"
#include "host/live/EditorSession.h"

namespace {

// A DAW idles its editors at about the screen's pace.
constexpr auto kIdlePeriod = std::chrono::microseconds(33333);
// Idle calls before measuring: the first paint and whatever the editor does
// once after opening.
constexpr int kSettleIdles = 10;
// Automation as a host plays it back: every parameter gets a new value once
// per audio block (256 frames at 44.1 kHz is 5.8 ms)...
constexpr auto kAutomationPeriod = std::chrono::microseconds(5805);
// ...moving slowly, each parameter a little ahead of the one before.
constexpr double kAutomationHz = 0.5;

double threadCpuSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) * 1e-9;
}

// This thread's bytes written and write calls so far (/proc/thread-self/io);
// zero where the kernel does not tell. (Xlib reads its replies with
// recvmsg, which the kernel does not count there.)
struct ThreadIo {
    long long wchar = 0, syscw = 0;
};

ThreadIo threadIo() {
    ThreadIo io;
    if (std::FILE* f = std::fopen("/proc/thread-self/io", "r")) {
        char name[32];
        long long value = 0;
        while (std::fscanf(f, "%31s %lld", name, &value) == 2) {
            const std::string key = name;
            if (key == "wchar:") io.wchar = value;
            else if (key == "syscw:") io.syscw = value;
        }
        std::fclose(f);
    }
    return io;
}

struct Span {
    int idles = 0;
    double seconds = 0.0;
    double cpuSeconds = 0.0;      // the ui thread's, waiting between the calls included
    double inIdleSeconds = 0.0;   // inside the effEditIdle calls alone
    ThreadIo io;
};

// effEditIdle at 30 Hz for the given time, on this thread; what it cost.
// The time it takes to read /proc is outside the span.
Span idleFor(PluginHost& host, double seconds) {
    Span span;
    const ThreadIo ioBefore = threadIo();
    const auto start = std::chrono::steady_clock::now();
    const double cpuBefore = threadCpuSeconds();
    auto next = start;
    const auto end = start + std::chrono::duration_cast<std::chrono::steady_clock::duration>(
                                 std::chrono::duration<double>(seconds));
    while (next < end) {
        const double before = threadCpuSeconds();
        host.dispatch(effEditIdle);
        span.inIdleSeconds += threadCpuSeconds() - before;
        ++span.idles;
        next += kIdlePeriod;
        std::this_thread::sleep_until(next);
    }
    span.cpuSeconds = threadCpuSeconds() - cpuBefore;
    span.seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    const ThreadIo ioAfter = threadIo();
    span.io = {ioAfter.wchar - ioBefore.wchar, ioAfter.syscw - ioBefore.syscw};
    return span;
}

void printSpan(const char* label, const Span& s) {
    const double perSecond = s.seconds > 0.0 ? 1.0 / s.seconds : 0.0;
    std::printf("%-22s %8.3f %8.3f %8.1f %7d %11.0f %9.1f\n", label, 100.0 * s.inIdleSeconds * perSecond,
                100.0 * s.cpuSeconds * perSecond, s.idles ? 1e6 * s.inIdleSeconds / s.idles : 0.0, s.idles,
                double(s.io.wchar) * perSecond, double(s.io.syscw) * perSecond);
}

// Sets every parameter of effect along its own slow sine in 0..1, once per
// block, until stop is set. Runs on a thread of its own, as a host's
// automation playback does.
void automate(AEffect* effect, const std::atomic<bool>& stop, long long& changes) {
    const auto start = std::chrono::steady_clock::now();
    auto next = start;
    const int count = effect->numParams;
    constexpr double kTwoPi = 6.283185307179586;
    while (!stop.load(std::memory_order_relaxed)) {
        const double t = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        for (int i = 0; i < count; ++i) {
            const double phase = kTwoPi * (kAutomationHz * t + double(i) / count);
            effect->setParameter(effect, i, float(0.5 - 0.5 * std::cos(phase)));
            ++changes;
        }
        next += kAutomationPeriod;
        std::this_thread::sleep_until(next);
    }
}

}  // namespace

int runEditorBench(const std::string& module, double seconds) {
    EditorHost host;
    if (!host.load(module)) return commandFailed("bench", host.error());
    HostWindow window;
    std::string error;
    if (!host.showEditor(window, "orv-host bench", HostWindow::Kind::kScreenshot, error))
        return commandFailed("bench", module + ": " + error);
    for (int i = 0; i < kSettleIdles; ++i) {
        host.dispatch(effEditIdle);
        std::this_thread::sleep_for(kIdlePeriod);
    }

    const Span quiet = idleFor(host, seconds);

    std::atomic<bool> stop{false};
    long long changes = 0;
    std::thread automation(automate, host.effect(), std::cref(stop), std::ref(changes));
    const Span automated = idleFor(host, seconds);
    stop.store(true, std::memory_order_relaxed);
    automation.join();
    host.dispatch(effEditClose);

    std::printf("editor idle at 30 Hz, %.1f s a span; the ui thread's CPU time and X traffic\n", seconds);
    std::printf("%-22s %8s %8s %8s %7s %11s %9s\n", "", "% core", "thread %", "us/idle", "idles",
                "X bytes/s", "writes/s");
    printSpan("quiet", quiet);
    char label[32];
    std::snprintf(label, sizeof(label), "automating %d", host.effect() ? host.effect()->numParams : 0);
    printSpan(label, automated);
    std::printf("parameter changes:     %.0f a second\n", automated.seconds > 0.0 ? changes / automated.seconds : 0.0);
    return 0;
}
