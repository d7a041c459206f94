// orv-host render: plays a MIDI file, or the built-in demo phrase, through
// a VST 2.x instrument exactly as a host plays it (events per block with
// their sample offsets, the transport answered to time requests), and
// writes what comes out to a WAV or FLAC file with a tail for the release,
// and on request a picture of it (host/render/SoundPicture.h). The MIDI
// file's tempo map reaches the plug-in's time requests to the frame. On a
// terminal it shows its progress; at the end it prints the file's length,
// format, peak and RMS level, and says what passed full scale.
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cerrno>
#include <csignal>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "engine/Choices.h"
#include "host/render/AudioFile.h"
#include "host/core/CommandLine.h"
#include "host/Commands.h"
#include "host/render/DemoPhrase.h"
#include "host/render/EventSchedule.h"
#include "host/render/Loudness.h"
#include "host/render/MidiFile.h"
#include "host/core/HostState.h"
#include "host/core/HostTuning.h"
#include "host/render/RenderOutput.h"
#include "host/render/Transport.h"
#include "host/core/PluginHost.h"
#include "host/core/ParameterSetting.h"
#include "host/core/PluginPreset.h"
#include "host/core/SafeFile.h"
#include "host/render/SoundPicture.h"

namespace {

const char* const kUsage =
    "usage: orv-host render PLUGIN.so -o OUT.wav|OUT.flac (--demo | --midi FILE.mid)\n"
    "         [--preset FILE.fxp|FILE.fxb] [--program N|NAME] [--set NAME=VALUE]...\n"
    "         [--tuning FILE.scl [--keymap FILE.kbm]] [--oscillators classic|clean]\n"
    "         [--rate HZ] [--tempo BPM] [--bits 16|24|32] [--gain DB | --normalize]\n"
    "         [--block FRAMES] [--tail SECONDS] [--picture OUT.png]\n"
    "\n"
    "  --demo           the built-in phrase (4 bars, 8 s at 120 BPM)\n"
    "  --midi FILE      a Standard MIDI File, format 0 or 1\n"
    "  --preset FILE    a program or bank file, loaded first\n"
    "  --program P      program number (from 0) or exact program name\n"
    "  --set NAME=VAL   a parameter by name, panel label or index, after the program,\n"
    "                   to a value as info shows it (cutoff=2kHz, osc1wave=pulse)\n"
    "                   or a plain stored value; repeatable\n"
    "  --tuning FILE    a Scala scale the keys play in, after the preset\n"
    "  --keymap FILE    a Scala keyboard map laying the scale out on the keys\n"
    "  --oscillators M  Ambrell's saws and pulses: classic (its own sound) or clean\n"
    "                   (less alias on high notes), after the preset\n"
    "  --rate HZ        sample rate, default 44100\n"
    "  --tempo BPM      tempo throughout, instead of the MIDI file's tempo map\n"
    "                   (the demo's default is 120)\n"
    "  --bits N         16 or 24 for an integer WAV or FLAC, 32 for float WAV\n"
    "  --gain DB        scales the output before it is written\n"
    "  --normalize      scales the output so its peak is at -1 dBFS\n"
    "  --block FRAMES   frames per processReplacing call, default 256\n"
    "  --tail SECONDS   at most this much after the last event, default 8;\n"
    "                   the render stops sooner once the sound has died away\n"
    "  --picture PNG    also draw the sound: spectrogram, waveform and levels\n"
    "\n"
    ".wav is written as 32-bit float WAV, .flac as 24-bit FLAC, unless --bits\n"
    "says otherwise. Integer formats clip at full scale; the render says how much.\n";

// After the last event the render goes on until the output has stayed
// below -100 dBFS for a quarter of a second (or the tail limit is reached).
constexpr float kSilence = 1e-5f;
constexpr double kSilentHoldSeconds = 0.25;
// A MIDI file that claims to last longer than this is refused rather than
// filling the disk.
constexpr double kLongestRenderSeconds = 6.0 * 3600.0;
constexpr int kMaxChannels = 64;

struct Options {
    std::string plugin, output, midiPath, program, picture, preset, tuning, keymap, oscillators;
    bool demo = false, normalize = false, tempoGiven = false;
    std::vector<Setting> sets;
    double rate = 44100.0;
    double tempo = 120.0;
    double tail = 8.0;
    double block = 256.0;
    double gainDb = 0.0;
    double bits = 0.0;
};

int fail(const std::string& message) { return commandFailed("render", message); }
int usageError(const std::string& message) { return commandUsageError("render", message, kUsage); }

// Answers 0 when the options are complete, else the exit status.
int parse(const Args& args, Options& o) {
    if (printedHelp(args, kUsage)) return -1;
    const auto number = [](const std::string& name, const std::string& text, double low,
                           double high, double& value) {
        if (parseNumber(text, low, high, value)) return true;
        std::fprintf(stderr, "orv-host render: %s must be a number from %g to %g, not '%s'\n",
                     name.c_str(), low, high, text.c_str());
        return false;
    };
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--demo" || a == "--normalize") {
            (a == "--demo" ? o.demo : o.normalize) = true;
            continue;
        }
        if (a.size() > 1 && a[0] == '-') {
            if (i + 1 >= args.size()) return usageError(a + " needs a value");
            const std::string& v = args[++i];
            if (a == "-o" || a == "--output") o.output = v;
            else if (a == "--midi") o.midiPath = v;
            else if (a == "--program") o.program = v;
            else if (a == "--preset") o.preset = v;
            else if (a == "--tuning") o.tuning = v;
            else if (a == "--keymap") o.keymap = v;
            else if (a == "--oscillators") o.oscillators = v;
            else if (a == "--picture") o.picture = v;
            else if (a == "--set") {
                if (!parseSetting(v, o.sets.emplace_back())) return usageError("--set needs NAME=VALUE");
            } else if (a == "--rate") {
                if (!number(a, v, 8000, 384000, o.rate)) return 2;
            } else if (a == "--tempo") {
                if (!number(a, v, 1, 999, o.tempo)) return 2;
                o.tempoGiven = true;
            } else if (a == "--gain") {
                if (!number(a, v, -100, 100, o.gainDb)) return 2;
            } else if (a == "--bits") {
                if (v != "16" && v != "24" && v != "32") return usageError("--bits is 16, 24 or 32");
                o.bits = std::stod(v);
            } else if (a == "--block") {
                if (!number(a, v, 1, 65536, o.block) || o.block != std::floor(o.block)) return 2;
            } else if (a == "--tail") {
                if (!number(a, v, 0, 600, o.tail)) return 2;
            } else {
                return usageError("unknown option " + a);
            }
            continue;
        }
        if (!o.plugin.empty()) return usageError("one plug-in only ('" + a + "')");
        o.plugin = a;
    }
    if (o.plugin.empty()) return usageError("which plug-in?");
    if (o.output.empty()) return usageError("-o OUT.wav or OUT.flac is needed");
    if (!AudioFileWriter::knowsFormat(o.output))
        return usageError(o.output + ": write .wav or .flac");
    if (!AudioFileWriter::knowsFormat(o.output, static_cast<int>(o.bits)))
        return usageError(o.output + ": .wav takes --bits 16, 24 or 32, .flac 16 or 24");
    if (o.normalize && o.gainDb != 0.0) return usageError("--gain or --normalize, not both");
    if (o.demo == !o.midiPath.empty()) return usageError("give either --demo or --midi FILE");
    // A picture's name ends in .png, in any case.
    if (!o.picture.empty() && !hasSuffix(o.picture, ".png"))
        return usageError(o.picture + ": the picture is a .png");
    return 0;
}

// "\r"-updated status line on a terminal, at most five times a second.
class Progress {
public:
    explicit Progress(double totalSeconds)
        : enabled_(isatty(STDERR_FILENO) != 0), total_(totalSeconds) {}
    void show(double seconds) {
        if (!enabled_) return;
        const auto now = std::chrono::steady_clock::now();
        if (now - last_ < std::chrono::milliseconds(200)) return;
        last_ = now;
        if (seconds <= total_)
            std::fprintf(stderr, "\rrendering %7.1f / %.1f s", seconds, total_);
        else
            std::fprintf(stderr, "\rrendering %7.1f s (release tail)   ", seconds);
    }
    ~Progress() {
        if (enabled_) std::fprintf(stderr, "\r\033[K");
    }

private:
    bool enabled_;
    double total_;
    std::chrono::steady_clock::time_point last_{};
};

std::string levelText(double db, const char* unit) {
    char text[32];
    if (std::isnan(db)) return std::string("? ") + unit;
    if (!std::isfinite(db)) return std::string("-inf ") + unit;
    std::snprintf(text, sizeof(text), "%.1f %s", db, unit);
    return text;
}

std::string dbText(double db) { return levelText(db, "dBFS"); }

// The phrase to play: the demo at the tempo, or the MIDI file (at its own
// tempo map unless --tempo is given).
bool loadMusic(const Options& o, MidiFile& music, std::string& error) {
    if (o.demo) {
        music = demoPhrase(o.tempo);
    } else {
        MidiReadOptions read;
        if (o.tempoGiven) read.fixedBpm = o.tempo;
        if (!readMidiFile(o.midiPath, music, error, read)) return false;
    }
    if (music.lengthSeconds > kLongestRenderSeconds) {
        error = o.midiPath + ": longer than six hours; not rendered";
        return false;
    }
    return true;
}

// Loads the plug-in and checks that it can play into a file, then loads
// the preset and selects the program.
bool preparePlugin(PluginHost& host, const Options& o, std::string& error) {
    if (!host.load(o.plugin, static_cast<float>(o.rate), static_cast<VstInt32>(o.block))) {
        error = host.error();
        return false;
    }
    const AEffect* effect = host.effect();
    if (!(effect->flags & effFlagsCanReplacing)) {
        error = "the plug-in cannot processReplacing";
        return false;
    }
    if (effect->numOutputs < 1 || effect->numOutputs > kMaxChannels) {
        error = "the plug-in has " + std::to_string(effect->numOutputs) + " outputs";
        return false;
    }
    if (!o.preset.empty() && !preset::load(host, o.preset, error)) return false;
    if (!applyTuning(host, o.tuning, o.keymap, error) || !applyOscillators(host, o.oscillators, error)) return false;
    return o.program.empty() || selectProgram(host, o.program, error);
}

// Ctrl-C, or a stop asked of the process: the render ends cleanly, so its
// unfinished file is removed and a previous one stays.
volatile std::sig_atomic_t stopAsked = 0;
void onStop(int) { stopAsked = 1; }

// Where the render ends: the music's last frame, then at most the tail,
// which ends sooner once the output has stayed silent for silentHold.
struct Span {
    std::int64_t endFrame, tailLimit, silentHold;
};

Span spanOf(const EventSchedule& schedule, const MidiFile& music, const Options& o) {
    return {std::max<std::int64_t>(schedule.lastFrame() + 1, std::llround(music.lengthSeconds * o.rate)),
            std::llround(o.tail * o.rate), std::llround(kSilentHoldSeconds * o.rate)};
}

// Plays the schedule block by block as a host does (events, then the
// transport, then processReplacing) and hands each block, interleaved, to
// the output. A block ends early where the tempo or the time signature
// changes. Answers the frames played, -1 when the file could not be
// written, or -2 when a stop was asked.
std::int64_t play(PluginHost& host, EventSchedule& schedule, const Transport& transport, const Span& span,
                  const Options& o, RenderOutput& output) {
    const int channels = host.effect()->numOutputs;
    const auto block = static_cast<VstInt32>(o.block);
    std::vector<std::vector<float>> buffers(channels, std::vector<float>(block));
    std::vector<float*> outputs;
    for (auto& b : buffers) outputs.push_back(b.data());
    std::vector<float> interleaved(static_cast<std::size_t>(block) * channels);
    VstEventBlock events;
    VstTimeInfo time = host.timeInfo();
    Progress progress(double(span.endFrame) / o.rate);

    std::int64_t start = 0, silentRun = 0;
    while (start < span.endFrame || (silentRun < span.silentHold && start - span.endFrame < span.tailLimit)) {
        const auto frames = static_cast<VstInt32>(std::min<std::int64_t>(block, transport.nextChange(start) - start));
        schedule.eventsFor(start, frames, events);
        if (!events.empty()) host.sendEvents(events);
        transport.describe(start, time);
        host.setTimeInfo(&time);
        host.process(outputs.data(), frames);

        for (VstInt32 i = 0; i < frames; ++i) {
            bool silent = true;
            for (int c = 0; c < channels; ++c) {
                const float x = buffers[c][i];
                interleaved[static_cast<std::size_t>(i) * channels + c] = x;
                silent = silent && std::fabs(x) < kSilence;
            }
            silentRun = silent ? silentRun + 1 : 0;
        }
        if (!output.add(interleaved.data(), frames)) return -1;
        if (stopAsked) return -2;
        start += frames;
        progress.show(double(start) / o.rate);
    }
    return start;
}

// One line on what passed full scale, if anything did.
void reportOverFullScale(const AudioFileWriter& file, const std::string& path) {
    if (file.overFullScale() == 0) return;
    const double overDb = toDbfs(file.largestOver());
    if (file.isFloat()) {
        std::fprintf(stderr,
                     "orv-host render: %s: %lld samples pass full scale, by up to %.1f dB; kept in float, "
                     "but players and integer formats clip them (--normalize or --gain -%.1f)\n",
                     path.c_str(), file.overFullScale(), overDb, std::ceil(overDb * 10) / 10);
    } else {
        std::fprintf(stderr,
                     "orv-host render: %s: %lld samples clipped, by up to %.1f dB (--normalize or --gain -%.1f "
                     "keeps them)\n",
                     path.c_str(), file.overFullScale(), overDb, std::ceil(overDb * 10) / 10);
    }
}

}  // namespace

int runRender(const Args& args) {
    Options o;
    if (const int status = parse(args, o)) return status < 0 ? 0 : status;

    MidiFile music;
    std::string error;
    if (!loadMusic(o, music, error)) return fail(error);
    PluginHost host;
    if (!preparePlugin(host, o, error)) return fail(error);
    if (!applySettings(host, o.sets, error)) return commandRefused("render", error);
    const int channels = host.effect()->numOutputs;

    // A place the picture cannot be written to is found out before
    // anything is rendered.
    if (!o.picture.empty()) {
        safefile::AtomicFile probe;
        if (!probe.begin(o.picture, error)) return fail(error);
    }
    std::signal(SIGINT, onStop);
    std::signal(SIGTERM, onStop);
    std::signal(SIGHUP, onStop);
    AudioFileWriter file;
    if (!file.open(o.output, static_cast<int>(o.bits), channels, static_cast<int>(o.rate), error))
        return fail(error);

    host.resume();
    host.dispatch(effStartProcess);
    EventSchedule schedule(music.events, o.rate, music.sysex);
    const Transport transport(music.tempos, music.meters, o.tempo, o.rate);
    const Span span = spanOf(schedule, music, o);
    std::unique_ptr<SoundPicture> picture;
    if (!o.picture.empty()) {
        const std::int64_t frames = span.endFrame + span.tailLimit + std::llround(o.block);
        picture = std::make_unique<SoundPicture>(o.rate, frames);
    }
    RenderOutput output(file, channels, static_cast<unsigned long>(o.rate), picture.get(), o.gainDb, o.normalize);
    if (!output.begin(o.output, error)) return fail(error);
    const std::int64_t frames = play(host, schedule, transport, span, o, output);
    if (frames == -2) return fail("stopped; " + o.output + " is not written");
    if (frames < 0) return fail(o.output + ": cannot be written (" + std::strerror(errno) + ")");
    host.dispatch(effStopProcess);
    if (!output.finish(error)) return fail(error);

    const Levels& levels = output.levels();
    const double seconds = double(frames) / o.rate;
    std::printf("%s: %.2f s, %d Hz, %d channel%s, %s; peak %s, RMS %s, loudness %s, true peak %s\n",
                o.output.c_str(), seconds, static_cast<int>(o.rate), channels,
                channels == 1 ? "" : "s", file.formatName(), dbText(levels.peakDbfs()).c_str(),
                dbText(levels.rmsDbfs()).c_str(), levelText(output.loudness().integratedLufs(), "LUFS").c_str(),
                levelText(output.loudness().truePeakDbtp(), "dBTP").c_str());
    if (o.normalize) std::printf("%s: normalized by %+.1f dB\n", o.output.c_str(), output.gainDb());
    reportOverFullScale(file, o.output);
    if (!picture) return 0;

    std::string title = host.programName();
    if (title.empty()) title = host.effectName();
    char details[160];
    std::snprintf(details, sizeof(details), "peak %s    RMS %s    %.2f s    %d Hz",
                  dbText(levels.peakDbfs()).c_str(), dbText(levels.rmsDbfs()).c_str(), seconds,
                  static_cast<int>(o.rate));
    if (!picture->write(o.picture, title, details, error)) return fail(error);
    std::printf("%s: spectrogram and waveform\n", o.picture.c_str());
    return 0;
}

bool selectProgram(PluginHost& host, const std::string& wanted, std::string& error) {
    const std::vector<std::string> names = host.programNames();
    const int p = findProgram(names, wanted);
    if (p < 0) {
        error = "no program '" + wanted + "' (" + std::to_string(names.size()) + " programs)";
        return false;
    }
    host.dispatch(effSetProgram, 0, p);
    return true;
}
