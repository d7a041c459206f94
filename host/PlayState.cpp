#include "host/PlayState.h"

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <vector>

#include "host/PluginHost.h"

namespace {

constexpr char kMagic[8] = {'O', 'R', 'V', 'P', 'L', 'A', 'Y', '1'};
enum Kind : std::uint32_t { kBankChunk = 0, kParameters = 1 };
// A saved state larger than this is not one of ours.
constexpr std::uint32_t kLargest = 64u << 20;

void put(std::vector<unsigned char>& out, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<unsigned char>(v >> (8 * i)));
}

bool get(const std::vector<unsigned char>& in, std::size_t& at, std::uint32_t& v) {
    if (in.size() - at < 4) return false;
    v = 0;
    for (int i = 0; i < 4; ++i) v |= std::uint32_t(in[at + i]) << (8 * i);
    at += 4;
    return true;
}

}  // namespace

bool savePlayState(PluginHost& host, const std::string& path, std::string& error) {
    AEffect* effect = host.effect();
    std::vector<unsigned char> out(kMagic, kMagic + sizeof(kMagic));
    put(out, static_cast<std::uint32_t>(effect->uniqueID));
    put(out, static_cast<std::uint32_t>(host.dispatch(effGetProgram)));
    void* chunk = nullptr;
    const VstIntPtr size = (effect->flags & effFlagsProgramChunks) ? host.dispatch(effGetChunk, 0, 0, &chunk) : 0;
    if (chunk && size > 0 && size <= VstIntPtr(kLargest)) {
        put(out, kBankChunk);
        put(out, static_cast<std::uint32_t>(size));
        out.insert(out.end(), static_cast<unsigned char*>(chunk), static_cast<unsigned char*>(chunk) + size);
    } else {
        const VstInt32 count = effect->numParams > 0 ? effect->numParams : 0;
        put(out, kParameters);
        put(out, static_cast<std::uint32_t>(count) * 4);
        for (VstInt32 i = 0; i < count; ++i) {
            const float value = host.getParameter(i);
            std::uint32_t bits;
            std::memcpy(&bits, &value, 4);
            put(out, bits);
        }
    }
    // Written aside and renamed over the old state: a run stopped half-way
    // through leaves the last state whole.
    const std::string aside = path + ".new";
    std::ofstream file(aside, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(out.data()), static_cast<std::streamsize>(out.size()));
    file.close();
    if (!file || std::rename(aside.c_str(), path.c_str()) != 0) {
        std::remove(aside.c_str());
        error = "cannot write " + path;
        return false;
    }
    return true;
}

bool loadPlayState(PluginHost& host, const std::string& path, std::string& error) {
    std::ifstream file(path, std::ios::binary);
    if (!file) {
        error = "cannot read " + path;
        return false;
    }
    const std::vector<unsigned char> in((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    AEffect* effect = host.effect();
    std::size_t at = sizeof(kMagic);
    std::uint32_t id, program, kind, size;
    if (in.size() < at || std::memcmp(in.data(), kMagic, at) != 0 || !get(in, at, id) ||
        !get(in, at, program) || !get(in, at, kind) || !get(in, at, size) || size != in.size() - at || size > kLargest) {
        error = path + ": not a saved state of orv-host play";
        return false;
    }
    if (id != static_cast<std::uint32_t>(effect->uniqueID)) {
        error = path + ": saved from another plug-in";
        return false;
    }
    if (kind == kBankChunk && (effect->flags & effFlagsProgramChunks)) {
        // A plug-in copies what it takes before it answers.
        std::vector<unsigned char> chunk(in.begin() + static_cast<std::ptrdiff_t>(at), in.end());
        if (!host.dispatch(effSetChunk, 0, static_cast<VstIntPtr>(size), chunk.data())) {
            error = path + ": the plug-in refused the saved bank";
            return false;
        }
    } else if (kind == kParameters && size == std::uint32_t(effect->numParams) * 4) {
        if (program < std::uint32_t(effect->numPrograms)) host.dispatch(effSetProgram, 0, program);
        for (VstInt32 i = 0; i < effect->numParams; ++i) {
            std::uint32_t bits = 0;
            get(in, at, bits);
            float value;
            std::memcpy(&value, &bits, 4);
            host.setParameter(i, value);
        }
        return true;
    } else {
        error = path + ": the saved state does not fit this plug-in";
        return false;
    }
    if (program < std::uint32_t(effect->numPrograms)) host.dispatch(effSetProgram, 0, program);
    return true;
}
