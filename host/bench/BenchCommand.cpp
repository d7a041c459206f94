// orv-host bench: how fast a plug-in renders, in nanoseconds of the audio
// thread's CPU time per output sample.
//
//   orv-host bench PLUGIN.so [--program N|NAME|all] [--oscillators classic|clean]
//                  [PLUGIN2.so [--program ...]] ...
//                  [--seconds S] [--block B] [--rate HZ] [--reps R] [--idle] [--stress]
//   orv-host bench PLUGIN.so --program all --golden [--dump DIR] [--seconds S] ...
//   orv-host bench PLUGIN.so --program all --once [--seconds S] ...
//   orv-host bench PLUGIN.so --startup [--instances N]
//   orv-host bench PLUGIN.so --editor [--seconds S]
//
// Every plug-in and program named is a row of one table. The runs go round
// robin (one run of each row, then the next round), so a machine that slows
// down part way hurts every row alike. The first plug-in's median row is the
// reference of the last column. --oscillators sets Ambrell's oscillator mode
// for the plug-in it follows; a plug-in named again with another mode is a
// group of rows of its own. A fresh instance plays each run: it warms up
// on the first two seconds of the schedule, then plays the whole schedule
// once for the total and once more with each block timed. A block's cost is
// its cheapest over the runs (see Subject::blockCost); "ratio" is the
// slowest block over the median block; --worst N lists each row's N slowest
// blocks with what was played in them.
//
// --golden prints a hash of each program's output (a fresh instance, no
// warm-up), to show that a change renders the same bytes; --dump writes the
// samples too. --once plays each program once on a fresh instance and prints
// the frames played: scripts/callgrind.sh counts instructions around it.
// --startup and --editor measure the instance and its editor instead of the
// render (BenchStartup.h, BenchEditor.h).
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "host/bench/BenchEditor.h"
#include "host/bench/BenchRunner.h"
#include "host/bench/BenchSchedule.h"
#include "host/bench/BenchStartup.h"
#include "host/core/CommandLine.h"
#include "host/core/HostState.h"
#include "host/Commands.h"
#include "host/core/PluginHost.h"
#include "host/core/SafeFile.h"

namespace {

constexpr double kWarmUpSeconds = 2.0;
// Each of --editor's two spans, unless --seconds says otherwise.
constexpr double kEditorSeconds = 3.0;

struct Options {
    BenchPlan plan;
    int reps = 5;
    bool golden = false;
    bool once = false;
    int worst = 0;  // slowest blocks listed per row
    std::string dumpDir;
    bool startup = false;
    int instances = 20;
    bool editor = false;
    bool secondsGiven = false;
};

struct Subject {
    std::string module;
    std::string programSelection = "0";
    std::string oscillators;  // as --oscillators gave it; empty: as the plug-in starts
    int program = 0;
    std::string label;
    std::vector<double> nsPerSample;  // one per run
    // Each block's cheapest cost over the runs so far, in ns. Every run
    // plays the same blocks from the same fresh state, so the cheapest run
    // of a block is its own cost, without the interrupts that landed in it.
    std::vector<long long> blockCost;
};

const char* const kUsage =
    "usage: orv-host bench PLUGIN.so [--program N|NAME|all] [--oscillators classic|clean]\n"
    "         [PLUGIN2.so ...]\n"
    "         [--seconds S] [--block B] [--rate HZ] [--reps R] [--idle] [--stress]\n"
    "         [--worst N] [--golden [--dump DIR]] [--once] [--startup [--instances N]]\n"
    "         [--editor [--seconds S]]\n";

int usageError(const std::string& why) {
    std::fprintf(stderr, "orv-host bench: %s\n%s", why.c_str(), kUsage);
    return 2;
}

// The options that take a number: its range and where it goes.
struct NumberOption {
    const char* name;
    double lo, hi;
    void (*store)(Options& o, double v);
};

const NumberOption kNumberOptions[] = {
    {"--seconds", 0.01, 3600.0, [](Options& o, double v) {
         o.plan.seconds = v;
         o.secondsGiven = true;
     }},
    {"--block", 1, 8192, [](Options& o, double v) { o.plan.blockSize = static_cast<int>(v); }},
    {"--rate", 8000, 384000, [](Options& o, double v) { o.plan.sampleRate = v; }},
    {"--reps", 1, 1000, [](Options& o, double v) { o.reps = static_cast<int>(v); }},
    {"--instances", 1, 1000, [](Options& o, double v) { o.instances = static_cast<int>(v); }},
    {"--worst", 1, 100, [](Options& o, double v) { o.worst = static_cast<int>(v); }},
};

const NumberOption* numberOption(const std::string& name) {
    for (const NumberOption& n : kNumberOptions)
        if (name == n.name) return &n;
    return nullptr;
}

// Parses the arguments into options and subjects; empty text when fine.
std::string parse(const Args& args, Options& o, std::vector<Subject>& subjects) {
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        const std::string* value = i + 1 < args.size() ? &args[i + 1] : nullptr;
        if (const NumberOption* n = numberOption(a)) {
            double v = 0.0;
            if (!value || !parseNumber(*value, n->lo, n->hi, v)) {
                char why[64];
                std::snprintf(why, sizeof(why), "%s takes %g to %g", n->name, n->lo, n->hi);
                return why;
            }
            n->store(o, v);
            ++i;
        } else if (a == "--program") {
            if (!value || subjects.empty()) return "--program follows a plug-in";
            subjects.back().programSelection = *value;
            ++i;
        } else if (a == "--oscillators") {
            if (!value || subjects.empty()) return "--oscillators follows a plug-in";
            subjects.back().oscillators = *value;
            ++i;
        } else if (a == "--dump") {
            if (!value) return "--dump takes a folder";
            o.dumpDir = *value;
            ++i;
        } else if (a == "--idle") {
            o.plan.kind = BenchPlan::Kind::Idle;
        } else if (a == "--stress") {
            o.plan.stress = true;
        } else if (a == "--golden") {
            o.golden = true;
        } else if (a == "--once") {
            o.once = true;
        } else if (a == "--startup") {
            o.startup = true;
        } else if (a == "--editor") {
            o.editor = true;
        } else if (a.rfind("--", 0) == 0) {
            return "unknown option " + a;
        } else {
            subjects.push_back(Subject{});
            subjects.back().module = a;
        }
    }
    return subjects.empty() ? "no plug-in named" : "";
}

std::string baseName(const std::string& path) {
    const std::size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Resolves each subject's --program into one subject per program.
bool resolve(std::vector<Subject>& subjects, float rate, int block) {
    std::vector<Subject> resolved;
    for (const Subject& s : subjects) {
        PluginHost host;
        if (!host.load(s.module, rate, block)) {
            std::fprintf(stderr, "orv-host: %s\n", host.error().c_str());
            return false;
        }
        std::vector<std::string> names = host.programNames();
        if (names.empty()) names.push_back(host.programName());
        const int count = static_cast<int>(names.size());
        std::string who = host.effectName();
        if (who.empty()) who = baseName(s.module);
        if (!s.oscillators.empty()) who += " " + s.oscillators;
        std::vector<int> programs;
        if (s.programSelection == "all") {
            for (int p = 0; p < count; ++p) programs.push_back(p);
        } else if (const int p = findProgram(names, s.programSelection); p >= 0) {
            programs.push_back(p);
        }
        if (programs.empty()) {
            std::fprintf(stderr, "orv-host: %s has no program '%s'\n", who.c_str(),
                         s.programSelection.c_str());
            return false;
        }
        for (int p : programs) {
            Subject r = s;
            r.program = p;
            r.label = who + " " + std::to_string(p) + " " + names[static_cast<std::size_t>(p)];
            resolved.push_back(r);
        }
        host.resume();  // some plug-ins insist on being on before they are switched off
    }
    subjects = resolved;
    return true;
}

// A fresh instance of the subject, on its program, switched on.
bool openInstance(PluginHost& host, const Subject& s, const BenchPlan& plan) {
    if (!host.load(s.module, static_cast<float>(plan.sampleRate), plan.blockSize)) {
        std::fprintf(stderr, "orv-host: %s\n", host.error().c_str());
        return false;
    }
    host.dispatch(effSetProgram, 0, s.program);
    std::string error;
    if (!applyOscillators(host, s.oscillators, error)) {
        std::fprintf(stderr, "orv-host: %s\n", error.c_str());
        return false;
    }
    host.resume();
    return true;
}

BenchPlan planFor(const Subject& s, const BenchPlan& base) {
    BenchPlan plan = base;
    plan.program = s.program;
    return plan;
}

bool measure(Subject& s, const BenchPlan& base) {
    const BenchPlan plan = planFor(s, base);
    BenchPlan warmPlan = plan;
    warmPlan.seconds = std::min(plan.seconds, kWarmUpSeconds);
    const BenchSchedule warmUp(warmPlan), schedule(plan);

    PluginHost host;
    if (!openInstance(host, s, plan)) return false;
    BenchRunner runner(host.effect(), plan.blockSize);
    runner.playTotal(warmUp);
    const long long ns = runner.playTotal(schedule);
    s.nsPerSample.push_back(static_cast<double>(ns) / static_cast<double>(schedule.frames()));

    std::vector<long long> blocks;
    runner.playBlocks(schedule, blocks);
    if (s.blockCost.empty()) s.blockCost = blocks;
    for (std::size_t i = 0; i < blocks.size(); ++i)
        s.blockCost[i] = std::min(s.blockCost[i], blocks[i]);
    return true;
}

void printRow(const std::string& label, double med, double lo, double hi, double rate,
              double block, double slowest, double reference) {
    const double realTime = med > 0.0 ? 1e9 / (med * rate) : 0.0;
    std::printf("%-36.36s %9.2f %9.2f %9.2f %9.1f %9.2f %9.2f %6.2f %7.2f\n", label.c_str(), med,
                lo, hi, realTime, block / 1000.0, slowest / 1000.0,
                block > 0.0 ? slowest / block : 0.0, reference > 0.0 ? med / reference : 0.0);
}

// The n slowest blocks of a row: when, how long, and what the plug-in was
// handed in them.
void printWorst(const Subject& s, const Options& o, int n) {
    const BenchSchedule schedule(planFor(s, o.plan));
    std::vector<std::size_t> order(s.blockCost.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    const std::size_t shown = std::min(order.size(), static_cast<std::size_t>(n));
    std::partial_sort(order.begin(), order.begin() + shown, order.end(),
                      [&](std::size_t a, std::size_t b) { return s.blockCost[a] > s.blockCost[b]; });
    for (std::size_t k = 0; k < shown; ++k) {
        const BenchBlock& b = schedule.blocks()[order[k]];
        std::printf("    block %zu at %.3f s: %.2f us, %d events%s\n", order[k],
                    static_cast<double>(order[k]) * o.plan.blockSize / o.plan.sampleRate,
                    static_cast<double>(s.blockCost[order[k]]) / 1000.0,
                    b.events ? b.events->numEvents : 0,
                    b.programChange >= 0 ? (", program " + std::to_string(b.programChange)).c_str()
                                         : "");
    }
}

// Rows of one plug-in in one oscillator mode.
bool sameGroup(const Subject& a, const Subject& b) { return a.module == b.module && a.oscillators == b.oscillators; }

void printTable(const std::vector<Subject>& subjects, const Options& o) {
    const Subject& first = subjects.front();
    std::vector<double> firstModule;
    for (const Subject& s : subjects)
        if (sameGroup(s, first)) firstModule.push_back(median(s.nsPerSample));
    const double reference = median(firstModule);
    const double rate = o.plan.sampleRate;

    const char* what = o.plan.kind == BenchPlan::Kind::Idle ? "idle" : "phrase";
    std::printf("%s%s, %.0f Hz, blocks of %d, %.1f s, %d runs; time per output sample\n", what,
                o.plan.stress ? " with stress" : "", rate, o.plan.blockSize, o.plan.seconds,
                o.reps);
    std::printf("%-36s %9s %9s %9s %9s %9s %9s %6s %7s\n", "", "ns median", "min", "max",
                "x real", "block us", "slowest", "ratio", "vs ref");
    bool medianShown = firstModule.size() < 2;
    for (const Subject& s : subjects) {
        if (!medianShown && !sameGroup(s, first)) {
            printRow("median of " + std::to_string(firstModule.size()), reference, reference,
                     reference, rate, 0.0, 0.0, reference);
            medianShown = true;
        }
        const auto [lo, hi] = std::minmax_element(s.nsPerSample.begin(), s.nsPerSample.end());
        const std::vector<double> blocks(s.blockCost.begin(), s.blockCost.end());
        printRow(s.label, median(s.nsPerSample), *lo, *hi, rate, median(blocks),
                 *std::max_element(blocks.begin(), blocks.end()), reference);
        if (o.worst > 0) printWorst(s, o, o.worst);
    }
    if (!medianShown)
        printRow("median of " + std::to_string(firstModule.size()), reference, reference,
                 reference, rate, 0.0, 0.0, reference);
}

// --once: one pass of the schedule per subject on a fresh instance, no
// warm-up; the frames played and the time.
int runOnce(const std::vector<Subject>& subjects, const Options& o) {
    for (const Subject& s : subjects) {
        const BenchPlan plan = planFor(s, o.plan);
        const BenchSchedule schedule(plan);
        PluginHost host;
        if (!openInstance(host, s, plan)) return 1;
        const long long ns = BenchRunner(host.effect(), plan.blockSize).playTotal(schedule);
        std::printf("%lld frames  %.2f ns/sample  %s\n", schedule.frames(),
                    static_cast<double>(ns) / static_cast<double>(schedule.frames()), s.label.c_str());
    }
    return 0;
}

// --golden: the same pass, with a hash of the output; --dump writes the
// samples to DIR/MODULE-pN.f32 too.
int runGolden(const std::vector<Subject>& subjects, const Options& o) {
    for (const Subject& s : subjects) {
        const BenchPlan plan = planFor(s, o.plan);
        const BenchSchedule schedule(plan);
        PluginHost host;
        if (!openInstance(host, s, plan)) return 1;
        // The dump is written beside its place and put there when whole.
        safefile::AtomicFile dumpFile;
        std::FILE* dump = nullptr;
        std::string error;
        if (!o.dumpDir.empty()) {
            const std::string file =
                o.dumpDir + "/" + baseName(s.module) + "-p" + std::to_string(s.program) + ".f32";
            if (dumpFile.begin(file, error)) dump = fdopen(dup(dumpFile.descriptor()), "wb");
            if (!dump) {
                if (error.empty()) error = file + ": cannot be written";
                std::fprintf(stderr, "orv-host: %s\n", error.c_str());
                return 1;
            }
        }
        const uint64_t hash = BenchRunner(host.effect(), plan.blockSize).playHashed(schedule, dump);
        if (dump && (std::fclose(dump) != 0 || !dumpFile.commit(error))) {
            std::fprintf(stderr, "orv-host: %s\n", error.empty() ? "the dump could not be written" : error.c_str());
            return 1;
        }
        std::printf("%016llx  %s\n", static_cast<unsigned long long>(hash), s.label.c_str());
    }
    return 0;
}

// The timing table: o.reps rounds of one run per subject.
int runTimings(std::vector<Subject>& subjects, const Options& o) {
    for (int rep = 0; rep < o.reps; ++rep)
        for (Subject& s : subjects)
            if (!measure(s, o.plan)) return 1;
    printTable(subjects, o);
    return 0;
}

}  // namespace

int runBench(const Args& args) {
    if (printedHelp(args, kUsage)) return 0;
    Options o;
    std::vector<Subject> subjects;
    const std::string error = parse(args, o, subjects);
    if (!error.empty()) return usageError(error);
    if (o.startup) return runStartup(subjects.front().module, o.plan, o.instances);
    if (o.editor)
        return runEditorBench(subjects.front().module, o.secondsGiven ? o.plan.seconds : kEditorSeconds);
    if (!resolve(subjects, static_cast<float>(o.plan.sampleRate), o.plan.blockSize)) return 1;
    if (o.once) return runOnce(subjects, o);
    if (o.golden) return runGolden(subjects, o);
    return runTimings(subjects, o);
}
