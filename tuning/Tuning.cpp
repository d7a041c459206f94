#include "tuning/Tuning.h"

#include <sys/stat.h>

#include <cstdint>
#include <cstdio>

#include "tuning/ScalaFiles.h"

namespace {

std::string refusal(const std::string& name, const scala::ParseError& e) {
    return name + ":" + std::to_string(e.line) + ": " + e.message;
}

void putLength(std::string& out, std::size_t n) {
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<char>((n >> (8 * i)) & 0xFF));
}

bool takeText(const std::string& in, std::size_t& at, std::string& text) {
    if (in.size() - at < 4) return false;
    std::uint32_t n = 0;
    for (int i = 0; i < 4; ++i) n |= static_cast<std::uint32_t>(static_cast<unsigned char>(in[at + i])) << (8 * i);
    at += 4;
    if (n > in.size() - at) return false;
    text.assign(in, at, n);
    at += n;
    return true;
}

}  // namespace

bool Tuning::fromText(const std::string& scaleText, const std::string& scaleName, const std::string& mapText,
                      const std::string& mapName, Tuning& out, std::string& error) {
    scala::Scale scale;
    scala::KeyboardMap map;
    scala::ParseError e;
    if (!scala::parseScale(scaleText, scale, e)) {
        error = refusal(scaleName, e);
        return false;
    }
    if (!mapText.empty() && !scala::parseKeyboardMap(mapText, map, e)) {
        error = refusal(mapName, e);
        return false;
    }
    Tuning result;
    if (!scala::layOut(scale, map, result.table, e)) {
        error = refusal(mapName, e);
        return false;
    }
    result.scale = scaleText;
    result.keyboardMap = mapText;
    result.description = scale.description;
    out = std::move(result);
    return true;
}

// Two texts, each a 32-bit little-endian length and its bytes.
std::string Tuning::toRecord() const {
    std::string out;
    putLength(out, scale.size());
    out += scale;
    putLength(out, keyboardMap.size());
    out += keyboardMap;
    return out;
}

bool Tuning::fromRecord(const std::string& record, Tuning& out) {
    std::size_t at = 0;
    std::string scaleText, mapText, error;
    if (!takeText(record, at, scaleText) || !takeText(record, at, mapText) || at != record.size()) return false;
    if (scaleText.empty()) {
        if (!mapText.empty()) return false;
        out = Tuning();
        return true;
    }
    return fromText(scaleText, "scale", mapText, "map", out, error);
}

bool readTuningFile(const std::string& path, std::string& text, std::string& error) {
    struct stat info {};
    if (stat(path.c_str(), &info) != 0) {
        error = path + ": cannot be read";
        return false;
    }
    if (!S_ISREG(info.st_mode)) {
        error = path + ": not a regular file";
        return false;
    }
    if (info.st_size > kLargestTuningFile) {
        error = path + ": larger than " + std::to_string(kLargestTuningFile / 1024) + " KiB, too large for a tuning";
        return false;
    }
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (!file) {
        error = path + ": cannot be read";
        return false;
    }
    std::string result;
    char buffer[8192];
    std::size_t n = 0;
    while ((n = std::fread(buffer, 1, sizeof(buffer), file)) > 0) {
        result.append(buffer, n);
        if (static_cast<long>(result.size()) > kLargestTuningFile) break;  // grew since it was looked at
    }
    const bool failed = std::ferror(file) != 0;
    std::fclose(file);
    if (failed || static_cast<long>(result.size()) > kLargestTuningFile) {
        error = path + (failed ? ": cannot be read" : ": too large for a tuning");
        return false;
    }
    text = std::move(result);
    return true;
}
