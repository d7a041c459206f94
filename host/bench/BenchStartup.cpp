#include "host/bench/BenchStartup.h"

#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <memory>
#include <vector>

#include "host/bench/BenchRunner.h"
#include "host/core/CommandLine.h"
#include "host/core/ModuleLibrary.h"
#include "host/live/HostWindow.h"
#include "host/core/PluginHost.h"

namespace {

double wallUs() {
    timespec t;
    clock_gettime(CLOCK_MONOTONIC, &t);
    return static_cast<double>(t.tv_sec) * 1e6 + static_cast<double>(t.tv_nsec) * 1e-3;
}

// Resident set size of this process in bytes (second field of statm).
double residentBytes() {
    long pages = 0, resident = 0;
    if (std::FILE* f = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(f, "%ld %ld", &pages, &resident) != 2) resident = 0;
        std::fclose(f);
    }
    return static_cast<double>(resident) * static_cast<double>(sysconf(_SC_PAGESIZE));
}

// Opens one instance and answers the microseconds it took, or -1.
double openTimed(PluginHost& host, const std::string& module, const BenchPlan& plan) {
    const double start = wallUs();
    if (!host.load(module, static_cast<float>(plan.sampleRate), plan.blockSize)) return -1.0;
    host.resume();
    return wallUs() - start;
}

// One block with a note in it, so that the instance's sound path is in use.
void playOneBlock(PluginHost& host, const BenchPlan& plan) {
    BenchPlan one = plan;
    one.kind = BenchPlan::Kind::Phrase;
    one.stress = false;
    one.seconds = static_cast<double>(plan.blockSize) / plan.sampleRate;
    const BenchSchedule schedule(one);
    BenchRunner(host.effect(), plan.blockSize).playTotal(schedule);
}

// Opens an editor in a window of its own for each instance; prints the
// times and the memory. Answers false when there is no display to use.
bool measureEditors(std::vector<std::unique_ptr<PluginHost>>& hosts) {
    if (!std::getenv("DISPLAY")) return false;
    std::vector<std::unique_ptr<HostWindow>> windows;
    std::vector<double> times;
    double memory = 0.0;
    for (auto& host : hosts) {
        ERect* rect = nullptr;
        if (!(host->effect()->flags & effFlagsHasEditor) ||
            !host->dispatch(effEditGetRect, 0, 0, &rect) || !rect)
            return false;
        windows.push_back(std::make_unique<HostWindow>());
        HostWindow& window = *windows.back();
        if (!window.open(rect->right - rect->left, rect->bottom - rect->top, "bench",
                         HostWindow::Kind::kScreenshot))
            return false;
        window.show();
        const double before = residentBytes();
        const double start = wallUs();
        host->dispatch(effEditOpen, 0, 0, window.parentHandle());
        host->dispatch(effEditIdle);
        times.push_back(wallUs() - start);
        if (&host != &hosts.front()) memory += residentBytes() - before;
    }
    const double first = times.front();
    times.erase(times.begin());
    std::printf("first editor (fonts start):  %.3f ms\n", first / 1000.0);
    if (!times.empty()) {
        std::printf("editor ready, %zu more:       median %.3f ms, max %.3f ms\n", times.size(),
                    median(times) / 1000.0, *std::max_element(times.begin(), times.end()) / 1000.0);
        std::printf("resident per open editor:    %.3f MB\n",
                    memory / static_cast<double>(times.size()) / 1048576.0);
    }
    for (auto& host : hosts) host->dispatch(effEditClose);
    return true;
}

}  // namespace

int runStartup(const std::string& module, const BenchPlan& plan, int instances) {
    std::vector<std::unique_ptr<PluginHost>> hosts;
    const double before = residentBytes();
    // The module and the libraries it needs, loaded once by the host before
    // any instance; held here so the instances below find it loaded.
    const double loadStart = wallUs();
    std::string loadError;
    void* library = module_library::open(PluginHost::findModule(module), loadError);
    const double loadUs = wallUs() - loadStart;
    if (!library) {
        std::fprintf(stderr, "orv-host: %s\n", loadError.c_str());
        return 1;
    }
    hosts.push_back(std::make_unique<PluginHost>());
    const double firstUs = openTimed(*hosts.back(), module, plan);
    if (firstUs < 0.0) {
        std::fprintf(stderr, "orv-host: %s\n", hosts.back()->error().c_str());
        return 1;
    }
    playOneBlock(*hosts.back(), plan);
    const double afterFirst = residentBytes();

    std::vector<double> times;
    for (int i = 0; i < instances; ++i) {
        hosts.push_back(std::make_unique<PluginHost>());
        const double us = openTimed(*hosts.back(), module, plan);
        if (us < 0.0) {
            std::fprintf(stderr, "orv-host: %s\n", hosts.back()->error().c_str());
            return 1;
        }
        times.push_back(us);
        playOneBlock(*hosts.back(), plan);
    }
    const double afterAll = residentBytes();
    std::sort(times.begin(), times.end());

    std::printf("module:                      %s\n", PluginHost::findModule(module).c_str());
    std::printf("module load:                 %.3f ms\n", loadUs / 1000.0);
    std::printf("first instance:              %.3f ms, %.2f MB resident with the module\n",
                firstUs / 1000.0, (afterFirst - before) / 1048576.0);
    std::printf("instance ready, %d more:     median %.3f ms, min %.3f ms, max %.3f ms\n",
                instances, median(times) / 1000.0, times.front() / 1000.0, times.back() / 1000.0);
    std::printf("resident per instance:       %.3f MB\n",
                (afterAll - afterFirst) / instances / 1048576.0);
    if (!measureEditors(hosts)) std::printf("editor:                      not measured (no display or no editor)\n");
    hosts.clear();
    module_library::close(library);
    return 0;
}
