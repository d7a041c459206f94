#include "support/ModuleFingerprint.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

#include "host/render/DemoPhrase.h"
#include "host/render/EventSchedule.h"
#include "measure/AudioMeasure.h"
#include "measure/SignalProbe.h"

namespace {

constexpr float kRate = 44100.0f;
constexpr VstInt32 kBlock = 256;
constexpr double kTempo = 120.0;     // the phrase's 16 beats take 8 s
constexpr double kTailSeconds = 2.0;  // enough for every factory release to show

// Stretches of the phrase at 120 beats per minute, each a power of two long
// for the FFT: the riff of bars 1-2, the C4 held from 4 s, the C1 from 7 s.
struct Stretch {
    const char* name;
    double startSeconds;
    std::size_t frames;
};
constexpr Stretch kStretches[] = {{"riff", 0.0, 1u << 17}, {"held", 4.1, 1u << 16}, {"low", 7.0, 1u << 15}};

// Below this RMS a stretch is taken as silent: no pitch to speak of. Its
// pitch is its strongest component between C0 and the phrase's top harmonics.
constexpr double kSilentRms = 1e-6;
constexpr double kLowestHz = 16.0, kHighestHz = 8000.0;

std::string number(double value) {
    char text[64];
    std::snprintf(text, sizeof(text), "%.17g", value);
    return text;
}

// The demo phrase through the current program, with a fixed tail; left
// output (the right carries the same voice).
std::vector<float> renderPhrase(ModuleHost& host) {
    const MidiFile music = demoPhrase(kTempo);
    EventSchedule schedule(music.events, kRate);
    const auto total = static_cast<std::size_t>(std::llround((music.lengthSeconds + kTailSeconds) * kRate));
    std::vector<float> out;
    out.reserve(total + kBlock);
    VstEventBlock events;
    for (std::int64_t start = 0; out.size() < total; start += kBlock) {
        schedule.eventsFor(start, kBlock, events);
        if (!events.empty()) host.sendEvents(events);
        const std::vector<float> block = host.render(kBlock);
        out.insert(out.end(), block.begin(), block.end());
    }
    return out;
}

void readParameters(ModuleHost& host, ModuleFingerprint& f, const std::string& prefix) {
    for (VstInt32 i = 0; i < host.effect()->numParams; ++i) {
        const std::string key = prefix + "param." + std::to_string(i) + ".";
        f.exact[key + "value"] = floatBits(host.getParameter(i));
        f.exact[key + "display"] = host.parameterDisplay(i);
    }
}

}  // namespace

std::string floatBits(float value) {
    std::uint32_t bits;
    std::memcpy(&bits, &value, sizeof(bits));
    char text[16];
    std::snprintf(text, sizeof(text), "%08x", unsigned(bits));
    return text;
}

float editedValue(int parameter) { return std::fmod(0.137f * float(parameter + 1), 1.0f); }

std::string toHex(const std::vector<unsigned char>& bytes) {
    static const char digits[] = "0123456789abcdef";
    std::string text;
    text.reserve(bytes.size() * 2);
    for (unsigned char b : bytes) {
        text += digits[b >> 4];
        text += digits[b & 15];
    }
    return text;
}

std::vector<unsigned char> fromHex(const std::string& hex) {
    std::vector<unsigned char> bytes;
    for (std::size_t i = 0; i + 1 < hex.size(); i += 2)
        bytes.push_back(static_cast<unsigned char>(std::stoi(hex.substr(i, 2), nullptr, 16)));
    return bytes;
}

ModuleFingerprint ModuleFingerprint::of(ModuleHost& host) {
    ModuleFingerprint f;
    const AEffect* e = host.effect();
    f.exact["effect.name"] = host.effectName();
    f.exact["effect.vendor"] = host.vendorString();
    f.exact["effect.product"] = host.productString();
    f.exact["effect.vendorVersion"] = std::to_string(host.dispatch(effGetVendorVersion));
    f.exact["effect.uniqueID"] = std::to_string(e->uniqueID);
    f.exact["effect.version"] = std::to_string(e->version);
    f.exact["effect.flags"] = std::to_string(e->flags);
    f.exact["effect.counts"] = std::to_string(e->numPrograms) + "/" + std::to_string(e->numParams) + "/" +
                               std::to_string(e->numInputs) + "/" + std::to_string(e->numOutputs);
    for (VstInt32 i = 0; i < e->numParams; ++i) {
        f.exact["param." + std::to_string(i) + ".name"] = host.parameterName(i);
        f.exact["param." + std::to_string(i) + ".label"] = host.parameterLabel(i);
    }
    readParameters(host, f, "factory.");
    const std::vector<std::string> names = host.programNames();
    for (std::size_t p = 0; p < names.size(); ++p) f.exact["program." + std::to_string(p) + ".name"] = names[p];
    const std::vector<unsigned char> factoryBank = host.getChunk(false);
    f.exact["factory.chunk.bank"] = toHex(factoryBank);
    f.exact["factory.chunk.program"] = toHex(host.getChunk(true));

    host.dispatch(effSetProgram, 0, kEditedProgram);
    for (VstInt32 i = 0; i < e->numParams; ++i) host.setParameter(i, editedValue(i));
    readParameters(host, f, "edited.");
    f.exact["edited.chunk.bank"] = toHex(host.getChunk(false));
    f.exact["edited.chunk.program"] = toHex(host.getChunk(true));
    host.setChunk(factoryBank, false);

    host.resume();
    for (VstInt32 p = 0; p < e->numPrograms; ++p) {
        host.dispatch(effSetProgram, 0, p);
        const std::vector<float> sound = renderPhrase(host);
        const std::string key = "render." + std::to_string(p) + ".";
        f.measured[key + "all.level"] = measure::dbfs(measure::rms(sound));
        for (const Stretch& s : kStretches) {
            const auto from = static_cast<std::size_t>(s.startSeconds * kRate);
            const double level = measure::rms(sound, from, from + s.frames);
            f.measured[key + s.name + ".level"] = measure::dbfs(level);
            const std::vector<float> stretch(sound.begin() + from, sound.begin() + from + s.frames);
            const double hz = level > kSilentRms ? probe::peakFrequency(stretch, kRate, kLowestHz, kHighestHz) : 0.0;
            f.measured[key + s.name + ".pitch"] = hz > 0.0 ? 1200.0 * std::log2(hz / 440.0) : 0.0;
        }
        // What the last program left ringing does not leak into the next.
        host.suspend();
        host.resume();
    }
    host.suspend();
    host.dispatch(effSetProgram, 0, 0);
    return f;
}

bool ModuleFingerprint::write(const std::string& path) const {
    std::ofstream out(path, std::ios::binary);
    for (const auto& [key, value] : exact) out << key << ' ' << value << '\n';
    for (const auto& [key, value] : measured) out << key << ' ' << number(value) << '\n';
    return bool(out);
}

bool ModuleFingerprint::read(const std::string& path, ModuleFingerprint& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return false;
    out = ModuleFingerprint{};
    std::string line;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const std::size_t space = line.find(' ');
        if (space == std::string::npos) return false;
        const std::string key = line.substr(0, space), value = line.substr(space + 1);
        if (key.rfind("render.", 0) == 0) out.measured[key] = std::strtod(value.c_str(), nullptr);
        else out.exact[key] = value;
    }
    return true;
}
