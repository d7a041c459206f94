// orv_jack_load SECONDS [NOTE PORT]: the DSP load of the running JACK
// server (JACK_DEFAULT_SERVER), as jack_cpu_load reports it: the share of
// each period the whole graph took, in per cent. Prints the median of ten
// readings a second over SECONDS, after a second to settle. With NOTE and
// PORT it first holds that note on a MIDI input (an instrument's
// "client:midi_in"), so the instrument plays while it is measured
// (scripts/bench-jack.sh).
#include <jack/jack.h>
#include <jack/midiport.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <thread>
#include <vector>

namespace {

using namespace std::chrono_literals;

constexpr auto kReadingEvery = 100ms;
constexpr auto kSettle = 1s;
// A player that has just started may not have registered its port yet.
constexpr int kConnectTries = 50;
constexpr auto kConnectWait = 100ms;
constexpr unsigned char kVelocity = 100;

struct Sender {
    jack_port_t* port = nullptr;
    unsigned char note = 0;
    std::atomic<bool> connected{false};
    bool sent = false;  // process thread only
};

int process(jack_nframes_t frames, void* arg) {
    auto* s = static_cast<Sender*>(arg);
    if (!s->port) return 0;
    void* buffer = jack_port_get_buffer(s->port, frames);
    jack_midi_clear_buffer(buffer);
    if (!s->sent && s->connected.load(std::memory_order_acquire)) {
        const unsigned char on[3] = {0x90, s->note, kVelocity};
        s->sent = jack_midi_event_write(buffer, 0, on, 3) == 0;
    }
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2 && argc != 4) {
        std::fprintf(stderr, "usage: orv_jack_load SECONDS [NOTE PORT]\n");
        return 2;
    }
    const double seconds = std::atof(argv[1]);
    jack_status_t status;
    jack_client_t* client = jack_client_open("orv-jack-load", JackNoStartServer, &status);
    if (!client) {
        std::fprintf(stderr, "orv_jack_load: no JACK server\n");
        return 1;
    }
    Sender sender;
    if (argc == 4) {
        sender.note = static_cast<unsigned char>(std::atoi(argv[2]) & 0x7F);
        sender.port = jack_port_register(client, "out", JACK_DEFAULT_MIDI_TYPE, JackPortIsOutput, 0);
    }
    jack_set_process_callback(client, process, &sender);
    if (jack_activate(client) != 0) return 1;
    if (sender.port) {
        const std::string from = std::string(jack_get_client_name(client)) + ":out";
        bool linked = false;
        for (int i = 0; i < kConnectTries && !linked; ++i) {
            linked = jack_connect(client, from.c_str(), argv[3]) == 0;
            if (!linked) std::this_thread::sleep_for(kConnectWait);
        }
        if (!linked) {
            std::fprintf(stderr, "orv_jack_load: cannot reach %s\n", argv[3]);
            return 1;
        }
        sender.connected.store(true, std::memory_order_release);
    }
    std::this_thread::sleep_for(kSettle);
    std::vector<float> readings;
    const auto end = std::chrono::steady_clock::now() + std::chrono::duration<double>(seconds);
    while (std::chrono::steady_clock::now() < end) {
        std::this_thread::sleep_for(kReadingEvery);
        readings.push_back(jack_cpu_load(client));
    }
    jack_client_close(client);
    if (readings.empty()) return 1;
    std::nth_element(readings.begin(), readings.begin() + readings.size() / 2, readings.end());
    std::printf("%.3f\n", readings[readings.size() / 2]);
    return 0;
}
