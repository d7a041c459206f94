// orv-host play against a real JACK server: each test starts a private
// dummy-driver server (its own JACK_DEFAULT_SERVER name, so tests cannot
// meet each other or a user's server), runs `orv-host play --no-gui` on it,
// sends notes from a test client to its MIDI input and records its outputs
// with a second one. The sender feeds the player and the player the
// recorder, so all three run in the same period, in that order.
#include <gtest/gtest.h>
#include <jack/jack.h>
#include <jack/midiport.h>
#include <signal.h>
#include <fcntl.h>
#include <glob.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "host/core/PluginPreset.h"
#include "measure/AudioMeasure.h"
#include "support/MidiEvents.h"
#include "support/ModuleHost.h"
#include "support/PlainVoice.h"
#include "support/RandomBank.h"

extern char** environ;

namespace {

using namespace std::chrono_literals;

constexpr double kRate = 48000.0;
// A period the sanitizer build keeps up with on a busy machine.
constexpr int kPeriod = 256;
// Where in its period the sender places each event: not on a boundary.
constexpr jack_nframes_t kEventOffset = 37;
const std::string kModule = ORV_MODULE_PATH;

std::string tempPath(const std::string& name) {
    return ::testing::TempDir() + "orv-play-" + std::to_string(getpid()) + "-" + name;
}

std::string slurp(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

pid_t spawn(const std::vector<std::string>& argv, const std::string& errFile,
            const std::string& outFile = "/dev/null") {
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, outFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t pid = -1;
    if (posix_spawnp(&pid, args[0], &files, nullptr, args.data(), environ) != 0) pid = -1;
    posix_spawn_file_actions_destroy(&files);
    return pid;
}

// The exit status once the process ends within `limit`; -1 when it was
// killed by a signal, -2 when it had to be killed for hanging.
int waitExit(pid_t pid, std::chrono::milliseconds limit) {
    int status = 0;
    for (auto end = std::chrono::steady_clock::now() + limit; std::chrono::steady_clock::now() < end;) {
        if (waitpid(pid, &status, WNOHANG) == pid) return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        std::this_thread::sleep_for(20ms);
    }
    kill(pid, SIGKILL);
    waitpid(pid, &status, 0);
    return -2;
}

void quiet(const char*) {}

jack_client_t* openClient(const char* name) {
    jack_set_error_function(quiet);  // "cannot connect" while a server starts
    jack_set_info_function(quiet);
    return jack_client_open(name, JackNoStartServer, nullptr);
}

// A dummy-driver jackd under a name of its own, set as this process's
// default server for the clients it starts and opens. It is stopped with
// SIGTERM: a server that dies otherwise keeps its slot in JACK's registry
// of servers (eight at most) and its shared memory until a server of the
// same name starts again, so after kill9 the destructor does just that.
class JackServer {
public:
    explicit JackServer(const std::string& tag) : name_("orv-play-test-" + std::to_string(getpid()) + "-" + tag) {
        setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
        start();
    }
    ~JackServer() {
        if (killed_) start();
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
            waitExit(pid_, 30s);
        }
        glob_t leftovers;
        if (glob(("/dev/shm/jack_sem.*_" + name_ + "_*").c_str(), 0, nullptr, &leftovers) == 0)
            for (std::size_t i = 0; i < leftovers.gl_pathc; ++i) unlink(leftovers.gl_pathv[i]);
        globfree(&leftovers);
    }
    bool ready() const { return ready_; }
    void kill9() {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        killed_ = true;
    }

private:
    void start() {
        ready_ = false;
        // A client late by up to 2 s is waited for, not dropped from the
        // graph: a busy machine may stall one that long.
        pid_ = spawn({"jackd", "-n", name_, "--no-realtime", "--timeout", "2000", "-d", "dummy", "-r",
                      "48000", "-p", std::to_string(kPeriod)},
                     tempPath("jackd.txt"));
        for (int i = 0; i < 300 && pid_ > 0 && !ready_; ++i) {
            if (jack_client_t* probe = openClient("probe")) {
                jack_client_close(probe);
                ready_ = true;
            } else {
                std::this_thread::sleep_for(50ms);
            }
        }
    }

    std::string name_;
    pid_t pid_ = -1;
    bool ready_ = false, killed_ = false;
};

// `orv-host play --no-gui --name CLIENT ARGS` on the current server; with
// no CLIENT, the name it chooses.
class Player {
public:
    explicit Player(const std::vector<std::string>& extra, const std::string& client = "orvplay")
        : errFile_(tempPath("play-stderr.txt")), outFile_(tempPath("play-stdout.txt")) {
        std::vector<std::string> argv{ORV_HOST_PATH, "play", kModule, "--no-gui"};
        if (!client.empty()) argv.insert(argv.end(), {"--name", client});
        argv.insert(argv.end(), extra.begin(), extra.end());
        pid_ = spawn(argv, errFile_, outFile_);
    }
    ~Player() {
        if (pid_ > 0) waitExit(pid_, 0ms);
    }
    // Ctrl-C; the exit status (see waitExit).
    int stop() {
        kill(pid_, SIGINT);
        return exit();
    }
    int exit(std::chrono::milliseconds limit = 10s) {
        const int status = waitExit(pid_, limit);
        pid_ = -1;
        return status;
    }
    std::string err() const { return slurp(errFile_); }
    std::string out() const { return slurp(outFile_); }

private:
    std::string errFile_, outFile_;
    pid_t pid_ = -1;
};

// The test's two clients: "sender" puts one queued MIDI message per period
// at kEventOffset and notes its absolute frame; "recorder" keeps what the
// player's left output brings, from the frame it started at, up to 20 s.
class Rig {
public:
    Rig() : samples_(static_cast<std::size_t>(kRate * 20)) {
        sender_ = openClient("sender");
        recorder_ = openClient("recorder");
        if (!sender_ || !recorder_) return;
        out_ = jack_port_register(sender_, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
        in_ = jack_port_register(recorder_, "in", JACK_DEFAULT_AUDIO_TYPE, JackPortIsInput, 0);
        jack_set_process_callback(sender_, onSend, this);
        jack_set_process_callback(recorder_, onRecord, this);
        jack_set_xrun_callback(recorder_, onXrun, this);
        ok_ = out_ && in_ && jack_activate(sender_) == 0 && jack_activate(recorder_) == 0;
    }
    ~Rig() {
        for (jack_client_t* c : {sender_, recorder_})
            if (c) jack_client_close(c);
    }

    // Waits for the player's ports (a busy machine may take seconds to load
    // the plug-in), connects them and starts recording.
    // The player's ports appear when it registers them, but take
    // connections only once it has activated: until then, try again.
    bool connect(const std::string& player = "orvplay") {
        const std::string left = player + ":out_left", midi = player + ":midi_in";
        for (int i = 0; i < 600; ++i) {
            if (jack_port_by_name(recorder_, left.c_str()) && linked(sender_, "sender:out", midi.c_str()) &&
                linked(recorder_, left.c_str(), "recorder:in")) {
                listening_.store(true);
                return true;
            }
            std::this_thread::sleep_for(50ms);
        }
        return false;
    }
    // Sends a message in the next period; answers the absolute frame it lands on.
    jack_nframes_t send(unsigned char status, unsigned char data1, unsigned char data2) {
        return send({status, data1, data2});
    }
    // The same for any message of at most 16 bytes (system exclusive).
    jack_nframes_t send(const std::vector<unsigned char>& message) {
        size_ = std::min(message.size(), sizeof message_);
        std::copy(message.begin(), message.begin() + long(size_), message_);
        sentAt_.store(0);
        pending_.store(true);
        while (pending_.load()) std::this_thread::sleep_for(1ms);
        return sentAt_.load();
    }
    // Sends the message `copies` times in one period; answers how many the
    // port took.
    int burst(unsigned char status, unsigned char data1, unsigned char data2, int copies) {
        copies_.store(copies);
        send(status, data1, data2);
        copies_.store(1);
        return written_.load();
    }
    // The recording so far, frame 0 being absolute frame start().
    std::vector<float> take() const {
        return std::vector<float>(samples_.begin(), samples_.begin() + long(recorded_.load()));
    }
    jack_nframes_t start() const { return start_.load(); }
    long frames() const { return long(recorded_.load()); }
    // Waits until the recording holds `frames` frames (a busy machine's
    // server may run slower than the clock).
    void waitFor(long frames) {
        for (int i = 0; i < 30000 && long(recorded_.load()) < frames; ++i) std::this_thread::sleep_for(1ms);
    }
    // Periods the server could not finish in time, so far.
    int xruns() const { return xruns_.load(); }
    bool ok() const { return ok_; }
    jack_client_t* client() { return recorder_; }

private:
    // Connected now, or already by an earlier try.
    static bool linked(jack_client_t* client, const char* from, const char* to) {
        const int result = jack_connect(client, from, to);
        return result == 0 || result == EEXIST;
    }
    static int onSend(jack_nframes_t frames, void* arg) {
        auto* rig = static_cast<Rig*>(arg);
        void* buffer = jack_port_get_buffer(rig->out_, frames);
        jack_midi_clear_buffer(buffer);
        if (rig->pending_.load()) {
            int written = 0;
            for (int i = 0; i < rig->copies_.load(); ++i)
                written += jack_midi_event_write(buffer, kEventOffset, rig->message_, rig->size_) == 0;
            rig->written_.store(written);
            rig->sentAt_.store(jack_last_frame_time(rig->sender_) + kEventOffset);
            rig->pending_.store(false);
        }
        return 0;
    }
    static int onXrun(void* arg) {
        static_cast<Rig*>(arg)->xruns_.fetch_add(1);
        return 0;
    }
    // Each period lands where its frame time says, so a period the server
    // skipped leaves silence rather than pulling the rest forward.
    static int onRecord(jack_nframes_t frames, void* arg) {
        auto* rig = static_cast<Rig*>(arg);
        if (!rig->listening_.load()) return 0;
        const auto* in = static_cast<const float*>(jack_port_get_buffer(rig->in_, frames));
        const jack_nframes_t now = jack_last_frame_time(rig->recorder_);
        if (rig->recorded_.load() == 0) rig->start_.store(now);
        const std::size_t at = now - rig->start_.load();
        if (at + frames > rig->samples_.size()) return 0;
        std::copy(in, in + frames, rig->samples_.begin() + at);
        rig->recorded_.store(at + frames);
        return 0;
    }

    jack_client_t* sender_ = nullptr;
    jack_client_t* recorder_ = nullptr;
    jack_port_t* out_ = nullptr;
    jack_port_t* in_ = nullptr;
    bool ok_ = false;
    unsigned char message_[16] = {};
    std::size_t size_ = 3;  // both written before pending_ is set
    std::atomic<bool> pending_{false};
    std::atomic<int> copies_{1}, written_{0};
    std::atomic<jack_nframes_t> sentAt_{0};
    std::vector<float> samples_;
    std::atomic<bool> listening_{false};
    std::atomic<std::size_t> recorded_{0};
    std::atomic<jack_nframes_t> start_{0};
    std::atomic<int> xruns_{0};
};

// Holds note `key` for `held` seconds, then lets it go for `after`
// seconds (of the server's frames); the recording, with the frames of the
// note-on and note-off in it. A take that an xrun spoiled (a machine too
// busy to keep time: a late client's output is missing or repeated) is
// played again, up to five times.
struct Take {
    std::vector<float> sound;
    long on = 0, off = 0;
};
Take playNote(Rig& rig, int key, double held, double after) {
    Take t;
    for (int attempt = 0; attempt < 5; ++attempt) {
        rig.waitFor(rig.frames() + long(0.1 * kRate));
        const int xruns = rig.xruns();
        t.on = long(rig.send(0x90, static_cast<unsigned char>(key), 100) - rig.start());
        rig.waitFor(t.on + long(held * kRate));
        t.off = long(rig.send(0x80, static_cast<unsigned char>(key), 0) - rig.start());
        rig.waitFor(t.off + long(after * kRate));
        if (rig.xruns() == xruns) break;
    }
    t.sound = rig.take();
    return t;
}

// The pitch of most periods: a period the server skipped does not move it.
double medianHz(const std::vector<float>& x, std::size_t from, std::size_t to) {
    std::vector<double> hz;
    for (const measure::Period& p : measure::periods(x, kRate, from, to)) hz.push_back(p.hz);
    if (hz.empty()) return 0.0;
    std::nth_element(hz.begin(), hz.begin() + hz.size() / 2, hz.end());
    return hz[hz.size() / 2];
}

// A saved state (a bank file) holding program 0 set up as a plain sine.
std::string plainSineState() {
    ModuleHost host;
    const std::string path = tempPath("sine.fxb");
    std::string error;
    EXPECT_TRUE(host.load(kModule, float(kRate)) && (plain::setVoice(host), preset::save(host, path, true, error)))
        << error;
    return path;
}

// Loudness, in dB down to -60, of 20 ms stretches from `from` on: a sound's
// outline. The floor keeps the last faint stretches of a release, which a
// period's shift changes most, from outweighing the rest.
std::vector<double> outline(const std::vector<float>& x, std::size_t from, int stretches) {
    std::vector<double> db;
    const std::size_t step = std::size_t(kRate * 0.02);
    for (int i = 0; i < stretches; ++i)
        db.push_back(std::max(-60.0, measure::db(measure::rms(x, from + i * step, from + (i + 1) * step))));
    return db;
}
// How far apart two outlines are, in dB: the median of the stretches'
// differences.
double distance(const std::vector<double>& a, const std::vector<double>& b) {
    std::vector<double> d;
    for (std::size_t i = 0; i < a.size(); ++i) d.push_back(std::fabs(a[i] - b[i]));
    std::nth_element(d.begin(), d.begin() + d.size() / 2, d.end());
    return d[d.size() / 2];
}
// The outline of `program` holding middle C for 0.3 s, rendered in this
// process period by period.
std::vector<double> renderedOutline(const std::string& program) {
    ModuleHost host;
    EXPECT_TRUE(host.load(kModule, float(kRate), kPeriod));
    const std::vector<std::string> names = host.programNames();
    host.dispatch(effSetProgram, 0, std::find(names.begin(), names.end(), program) - names.begin());
    host.resume();
    std::vector<float> sound;
    for (int period = 0; period < int(0.6 * kRate / kPeriod); ++period) {
        std::vector<VstMidiEvent> events;
        if (period == 0) events.push_back(midi::noteOn(0, 60));
        if (period == int(0.3 * kRate / kPeriod)) events.push_back(midi::noteOff(0, 60));
        const std::vector<float> block = host.render(events, kPeriod);
        sound.insert(sound.end(), block.begin(), block.end());
    }
    return outline(sound, 0, 30);
}

TEST(Play, PlaysANoteAtItsPitchOnTimeAndStopsItOnNoteOffAcrossAPeriodChange) {
    JackServer server("note");
    ASSERT_TRUE(server.ready()) << slurp(tempPath("jackd.txt"));
    Player player({"--state", plainSineState()});
    Rig rig;
    ASSERT_TRUE(rig.ok());
    ASSERT_TRUE(rig.connect()) << player.err();

    for (int period : {kPeriod, 2 * kPeriod}) {
        SCOPED_TRACE("period " + std::to_string(period));
        if (period != kPeriod) {
            ASSERT_EQ(jack_set_buffer_size(rig.client(), jack_nframes_t(period)), 0);
            std::this_thread::sleep_for(200ms);
        }
        const Take t = playNote(rig, 69, 0.6, 0.2);
        ASSERT_GT(t.on, 0);
        const long onset = measure::firstNonZero(t.sound, std::size_t(t.on - period));
        EXPECT_GE(onset, t.on) << "nothing sounds before the note-on";
        EXPECT_LT(onset, t.on + period) << "the note starts within one period of its event";

        const double hz = medianHz(t.sound, t.on + 2400, t.off);
        EXPECT_NEAR(1200.0 * std::log2(hz / 440.0), 0.0, 1.0) << "A4 sounds at 440 Hz within a cent: " << hz;

        EXPECT_GT(measure::peak(t.sound, t.off - 4800, t.off), 0.3) << "the held note sounds";
        EXPECT_LT(measure::peak(t.sound, t.off + 4800), 1e-4f) << "0.1 s after its note-off it is gone";
    }
    EXPECT_EQ(player.stop(), 0) << player.err();
}

TEST(Play, ATuningMessageFromTheMidiInputMovesTheHeldNote) {
    JackServer server("tuning");
    ASSERT_TRUE(server.ready()) << slurp(tempPath("jackd.txt"));
    Player player({"--state", plainSineState()});
    Rig rig;
    ASSERT_TRUE(rig.ok());
    ASSERT_TRUE(rig.connect()) << player.err();
    rig.waitFor(rig.frames() + long(0.1 * kRate));
    const long on = long(rig.send(0x90, 69, 100) - rig.start());
    rig.waitFor(on + long(0.4 * kRate));
    // A real-time single-note change: key 69 to semitone 70, fraction 0.
    const long retuned = long(rig.send({0xF0, 0x7F, 0x7F, 0x08, 0x02, 0x00, 0x01, 69, 70, 0, 0, 0xF7}) - rig.start());
    rig.waitFor(retuned + long(0.4 * kRate));
    const long off = long(rig.send(0x80, 69, 0) - rig.start());
    rig.waitFor(off + long(0.1 * kRate));
    const std::vector<float> sound = rig.take();
    const double before = medianHz(sound, std::size_t(on + 2400), std::size_t(retuned));
    const double after = medianHz(sound, std::size_t(retuned + 2400), std::size_t(off));
    EXPECT_NEAR(1200.0 * std::log2(before / 440.0), 0.0, 1.0) << "A4 before the message: " << before;
    EXPECT_NEAR(1200.0 * std::log2(after / 440.0), 100.0, 1.0) << "a semitone up after it: " << after;
    EXPECT_EQ(player.stop(), 0) << player.err();
}

TEST(Play, TheProgramChosenIsHeardAndTheStateSavedAtExitIsRestored) {
    JackServer server("program");
    ASSERT_TRUE(server.ready());
    // Short and dry, unlike the first program, a bass.
    const std::string chosen = "Wood Percusion";
    const std::vector<double> expected = renderedOutline(chosen), other = renderedOutline("Saw Bass");
    // Twice the 2 dB a match may miss by: a levelled bank brings programs'
    // loudness together, so their outlines differ by shape more than level.
    ASSERT_GT(distance(expected, other), 4.0) << "the two programs sound apart";
    const std::string state = tempPath("saved.fxb");
    std::remove(state.c_str());

    for (const auto& args : {std::vector<std::string>{"--state", state, "--program", chosen},
                             std::vector<std::string>{"--state", state}}) {
        SCOPED_TRACE(args.size() == 4 ? "chosen by --program" : "restored from the saved state");
        Player player(args);
        Rig rig;
        ASSERT_TRUE(rig.ok());
        ASSERT_TRUE(rig.connect()) << player.err();
        const Take t = playNote(rig, 60, 0.3, 0.4);
        const std::vector<double> heard = outline(t.sound, std::size_t(t.on), 30);
        EXPECT_LT(distance(heard, expected), 2.0) << "the chosen program's outline, within 2 dB";
        EXPECT_EQ(player.stop(), 0) << player.err();
    }
}

TEST(Play, AProgramChangeSelectsTheProgramAndDroppedEventsAreCountedAsTheClientNamedAfterThePlugin) {
    JackServer server("change");
    ASSERT_TRUE(server.ready());
    const std::string state = tempPath("changed.fxb");
    std::remove(state.c_str());
    Player player({"--state", state}, "");
    Rig rig;
    ASSERT_TRUE(rig.ok());
    ASSERT_TRUE(rig.connect("Ambrell")) << "the client is called Ambrell\n" << player.err();
    rig.send(0xC0, 2, 0);
    rig.send(0xC0, 127, 0);  // beyond the bank: ignored
    // More note-offs in one period than the player passes on (512).
    const int sent = rig.burst(0x80, 60, 0, 700);
    ASSERT_GT(sent, 512) << "the sender's port holds them";
    // The player takes the change on its main thread, at its next tick.
    std::this_thread::sleep_for(500ms);
    EXPECT_EQ(player.stop(), 0) << player.err();
    // The closing line counts what did not fit: all of the burst past 512
    // when it arrived in one period, less when a loaded machine split it.
    const std::string out = player.out(), tail = " MIDI events dropped; program 03  Acid Bass\n";
    const std::size_t at = out.find(tail);
    ASSERT_NE(at, std::string::npos) << out;
    const std::size_t from = out.find_last_of(", ", at - 1) + 1;
    const long dropped = std::strtol(out.c_str() + from, nullptr, 10);
    EXPECT_GT(dropped, 0) << out;
    EXPECT_LE(dropped, sent - 512) << out;
    ModuleHost saved;
    std::string error;
    ASSERT_TRUE(saved.load(kModule) && preset::load(saved, state, error)) << error;
    EXPECT_EQ(saved.dispatch(effGetProgram), 2) << "the state keeps the program selected";
}

TEST(Play, AStateFileWithEveryProgramChangedComesBackWhole) {
    // The player reads its state file when it starts and writes it when it
    // stops: a run that changes nothing leaves every byte of every program.
    JackServer server("state");
    ASSERT_TRUE(server.ready());
    ModuleHost source;
    ASSERT_TRUE(source.load(kModule, float(kRate)));
    ASSERT_EQ(source.setChunk(state::randomBank(29, source.getChunk(false)), false), 1);
    source.dispatch(effSetProgram, 0, 13);
    const std::string path = tempPath("random.fxb");
    std::string error;
    ASSERT_TRUE(preset::save(source, path, true, error)) << error;
    const std::string before = slurp(path);

    Player player({"--state", path});
    {
        Rig rig;
        ASSERT_TRUE(rig.ok());
        ASSERT_TRUE(rig.connect()) << player.err();
    }
    EXPECT_EQ(player.stop(), 0) << player.err();
    EXPECT_EQ(player.err().find("starting afresh"), std::string::npos) << player.err();
    EXPECT_TRUE(slurp(path) == before) << "the state file after the run";
}

TEST(Play, EndsWithAMessageWhenTheServerDies) {
    JackServer server("killed");
    ASSERT_TRUE(server.ready());
    Player player({"--state", tempPath("killed.fxb")});
    {
        Rig rig;
        ASSERT_TRUE(rig.ok());
        ASSERT_TRUE(rig.connect()) << player.err();
    }
    server.kill9();
    EXPECT_EQ(player.exit(5s), 1) << "a non-zero exit, neither a hang nor a crash";
    EXPECT_NE(player.err().find("the JACK server has gone"), std::string::npos) << player.err();
}

#ifdef ORV_LV2_BUNDLE
// jalv, a peer LV2 host, runs the bundle on the test server: a note sent
// to its MIDI input sounds while held, and nothing sounds before notes
// come. Its console reads commands from its input, which stays open (a
// pipe) until the test ends.
TEST(Play, JalvRunsTheLv2Bundle) {
#ifdef ORV_SANITIZER_BUILD
    GTEST_SKIP() << "a sanitizer-built bundle cannot load into jalv, which was built without the sanitizer runtime";
#endif
    JackServer server("jalv");
    ASSERT_TRUE(server.ready());
    setenv("LV2_PATH", (std::string(ORV_LV2_BUNDLE) + "/..:/usr/lib/lv2").c_str(), 1);
    int input[2];
    ASSERT_EQ(pipe(input), 0);
    const std::vector<std::string> argv{"jalv", "-x", "-n", "orvjalv", "https://orvane.example/plugins/ambrell"};
    std::vector<char*> args;
    for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
    args.push_back(nullptr);
    posix_spawn_file_actions_t files;
    posix_spawn_file_actions_init(&files);
    posix_spawn_file_actions_adddup2(&files, input[0], STDIN_FILENO);
    posix_spawn_file_actions_addclose(&files, input[1]);
    posix_spawn_file_actions_addopen(&files, STDOUT_FILENO, "/dev/null", O_WRONLY, 0);
    const std::string errFile = tempPath("jalv-stderr.txt");
    posix_spawn_file_actions_addopen(&files, STDERR_FILENO, errFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    pid_t jalv = -1;
    ASSERT_EQ(posix_spawnp(&jalv, "jalv", &files, nullptr, args.data(), environ), 0);
    posix_spawn_file_actions_destroy(&files);
    close(input[0]);

    {
        Rig rig;
        ASSERT_TRUE(rig.ok());
        ASSERT_TRUE(rig.connect("orvjalv")) << slurp(errFile);
        const Take t = playNote(rig, 45, 0.5, 0.1);
        // A take played again after an xrun has the earlier notes in it:
        // only the recording's start comes before every note.
        EXPECT_LT(measure::peak(t.sound, 0, std::size_t(0.05 * kRate)), 1e-6f) << "silence before the notes";
        EXPECT_GT(measure::peak(t.sound, t.on + 2400, t.off), 0.05f) << "the held note sounds";
    }
    close(input[1]);
    kill(jalv, SIGTERM);
    EXPECT_NE(waitExit(jalv, 10s), -2) << "jalv stops when asked";
}
#endif

TEST(Play, RefusesInOneLineWithoutAServerOrAModule) {
    setenv("JACK_DEFAULT_SERVER", ("orv-play-test-none-" + std::to_string(getpid())).c_str(), 1);
    Player noServer({"--state", tempPath("none.fxb")});
    EXPECT_EQ(noServer.exit(), 1);
    EXPECT_EQ(noServer.err(), "orv-host play: no JACK server is running (server 'orv-play-test-none-" +
                                  std::to_string(getpid()) + "'); start one first, e.g. with scripts/play.sh\n");

    const std::string err = tempPath("missing-stderr.txt");
    const pid_t pid = spawn({ORV_HOST_PATH, "play", "/nonexistent/plugin.so", "--no-gui"}, err);
    EXPECT_EQ(waitExit(pid, 10s), 1);
    const std::string message = slurp(err);
    EXPECT_EQ(std::count(message.begin(), message.end(), '\n'), 1) << message;
}

}  // namespace
