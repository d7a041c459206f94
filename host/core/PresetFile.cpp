#include "host/core/PresetFile.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "host/core/SafeFile.h"

namespace preset {
namespace {

constexpr std::uint32_t tag(const char (&t)[5]) {
    return std::uint32_t(std::uint8_t(t[0])) << 24 | std::uint32_t(std::uint8_t(t[1])) << 16 |
           std::uint32_t(std::uint8_t(t[2])) << 8 | std::uint32_t(std::uint8_t(t[3]));
}
constexpr std::uint32_t kFile = tag("CcnK");
constexpr std::uint32_t kParamProgram = tag("FxCk");
constexpr std::uint32_t kChunkProgram = tag("FPCh");
constexpr std::uint32_t kParamBank = tag("FxBk");
constexpr std::uint32_t kChunkBank = tag("FBCh");

// Fixed parts: a program's header up to its data is 56 bytes, a bank's 156
// (of which 124 are reserved).
constexpr std::size_t kProgramHeader = 56;
constexpr std::size_t kBankHeader = 156;
constexpr std::size_t kBankReserved = 124;
constexpr std::size_t kMaxFileBytes = 64u << 20;

class Writer {
public:
    void u32(std::uint32_t v) {
        for (int shift = 24; shift >= 0; shift -= 8) bytes.push_back(std::uint8_t(v >> shift));
    }
    void i32(std::int32_t v) { u32(std::uint32_t(v)); }
    void f32(float v) {
        std::uint32_t bits;
        std::memcpy(&bits, &v, 4);
        u32(bits);
    }
    void raw(const unsigned char* p, std::size_t n) { bytes.insert(bytes.end(), p, p + n); }
    void zeros(std::size_t n) { bytes.insert(bytes.end(), n, 0); }
    void name(const std::string& text) {
        const std::size_t n = std::min(text.size(), std::size_t(kNameSize - 1));
        raw(reinterpret_cast<const unsigned char*>(text.data()), n);
        zeros(kNameSize - n);
    }
    // A record's common header: its byte size (filled in by closeRecord),
    // kind, format version and the plug-in it belongs to.
    void header(std::uint32_t kind, std::int32_t formatVersion, const Preset& p) {
        u32(kFile);
        u32(0);
        u32(kind);
        i32(formatVersion);
        i32(p.uniqueId);
        i32(p.pluginVersion);
    }
    // Fills in the byte size of the record that starts at `start`.
    void closeRecord(std::size_t start) {
        const std::uint32_t size = std::uint32_t(bytes.size() - start - 8);
        for (int i = 0; i < 4; ++i) bytes[start + 4 + i] = std::uint8_t(size >> (24 - 8 * i));
    }
    std::vector<unsigned char> bytes;
};

// Reads within [pos, end); every read is checked against end first.
class Reader {
public:
    Reader(const unsigned char* data, std::size_t size) : p_(data), end_(size) {}
    std::size_t position() const { return pos_; }
    std::size_t left() const { return end_ - pos_; }
    bool u32(std::uint32_t& v) {
        if (left() < 4) return false;
        v = std::uint32_t(p_[pos_]) << 24 | std::uint32_t(p_[pos_ + 1]) << 16 | std::uint32_t(p_[pos_ + 2]) << 8 |
            std::uint32_t(p_[pos_ + 3]);
        pos_ += 4;
        return true;
    }
    bool i32(std::int32_t& v) {
        std::uint32_t u;
        if (!u32(u)) return false;
        v = std::int32_t(u);
        return true;
    }
    bool f32(float& v) {
        std::uint32_t u;
        if (!u32(u)) return false;
        std::memcpy(&v, &u, 4);
        return true;
    }
    bool bytes(std::size_t n, std::vector<unsigned char>& out) {
        if (left() < n) return false;
        out.assign(p_ + pos_, p_ + pos_ + n);
        pos_ += n;
        return true;
    }
    bool name(std::string& out) {
        if (left() < std::size_t(kNameSize)) return false;
        const char* text = reinterpret_cast<const char*>(p_ + pos_);
        out.assign(text, strnlen(text, kNameSize - 1));
        pos_ += kNameSize;
        return true;
    }
    bool skip(std::size_t n) {
        if (left() < n) return false;
        pos_ += n;
        return true;
    }
    // A sub-reader over the next n bytes, which this one skips.
    bool record(std::size_t n, Reader& sub) {
        if (left() < n) return false;
        sub = Reader(p_ + pos_, n);
        pos_ += n;
        return true;
    }

private:
    const unsigned char* p_;
    std::size_t end_;
    std::size_t pos_ = 0;
};

// The 'CcnK' header: the byte size must account for exactly the bytes
// after it. Answers the kind tag.
bool readHeader(Reader& r, std::uint32_t& kind, std::string& error) {
    std::uint32_t magic, size;
    if (!r.u32(magic) || magic != kFile) return error = "not a preset file (no 'CcnK' tag)", false;
    if (!r.u32(size)) return error = "truncated header", false;
    if (size != r.left()) {
        error = "the header gives " + std::to_string(size) + " bytes after it, the file has " +
                std::to_string(r.left());
        return false;
    }
    if (!r.u32(kind)) return error = "truncated header", false;
    return true;
}

// A chunk: its size, then exactly that many bytes up to the end.
bool readChunk(Reader& r, std::vector<unsigned char>& chunk, std::string& error) {
    std::int32_t size;
    if (!r.i32(size)) return error = "truncated chunk size", false;
    if (size < 0 || std::size_t(size) != r.left())
        return error = "the chunk size " + std::to_string(size) + " does not match the " + std::to_string(r.left()) +
                       " bytes there",
               false;
    return r.bytes(std::size_t(size), chunk);
}

bool readProgramRecord(Reader& r, Preset& p, Program& program, bool inBank, std::string& error) {
    std::uint32_t kind, version;
    if (!readHeader(r, kind, error)) return false;
    if (inBank && kind != kParamProgram) return error = "a bank entry is not a list of parameter values", false;
    if (kind != kParamProgram && kind != kChunkProgram) return error = "neither a program nor a bank", false;
    std::int32_t id, pluginVersion, count;
    if (!r.u32(version) || !r.i32(id) || !r.i32(pluginVersion) || !r.i32(count) || !r.name(program.name))
        return error = "truncated program header", false;
    if (version != 1) return error = "program format version " + std::to_string(version) + " (not 1)", false;
    if (inBank && id != p.uniqueId) return error = "a bank entry belongs to another plug-in", false;
    p.uniqueId = id;
    p.pluginVersion = pluginVersion;
    if (count < 0) return error = "negative parameter count", false;
    p.parameterCount = count;
    program.isChunk = kind == kChunkProgram;
    if (program.isChunk) {
        return readChunk(r, program.chunk, error);
    }
    if (std::size_t(count) * 4 != r.left())
        return error = std::to_string(count) + " parameters do not match the " + std::to_string(r.left()) +
                       " bytes there",
               false;
    program.values.resize(std::size_t(count));
    for (float& v : program.values) r.f32(v);
    return true;
}

bool readBank(Reader& r, Preset& p, std::string& error) {
    std::uint32_t version;
    std::int32_t count, current;
    if (!r.u32(version) || !r.i32(p.uniqueId) || !r.i32(p.pluginVersion) || !r.i32(count) || !r.i32(current) ||
        !r.skip(kBankReserved))
        return error = "truncated bank header", false;
    if (version != 1 && version != 2)
        return error = "bank format version " + std::to_string(version) + " (not 1 or 2)", false;
    if (count < 0) return error = "negative program count", false;
    p.programCount = count;
    p.currentProgram = version == 2 ? current : 0;
    if (p.currentProgram < 0 || (count > 0 && p.currentProgram >= count))
        return error = "the current program " + std::to_string(p.currentProgram) + " is not one of its " +
                       std::to_string(count),
               false;
    if (p.isChunk) {
        return readChunk(r, p.chunk, error);
    }
    // Every entry takes at least a program header: a count beyond what
    // the file can hold is found before anything is allocated for it.
    if (std::size_t(count) > r.left() / kProgramHeader)
        return error = std::to_string(count) + " programs cannot fit in " + std::to_string(r.left()) + " bytes",
               false;
    p.programs.resize(std::size_t(count));
    std::int32_t parameters = -1;
    for (int i = 0; i < count; ++i) {
        Reader entry(nullptr, 0);
        std::uint32_t size = 0;
        Reader peek = r;
        if (!peek.skip(4) || !peek.u32(size) || !r.record(std::size_t(size) + 8, entry))
            return error = "program " + std::to_string(i) + " of the bank is truncated", false;
        if (!readProgramRecord(entry, p, p.programs[std::size_t(i)], true, error))
            return error = "program " + std::to_string(i) + " of the bank: " + error, false;
        if (parameters >= 0 && p.parameterCount != parameters)
            return error = "the bank's programs have different parameter counts", false;
        parameters = p.parameterCount;
    }
    if (r.left() != 0) return error = std::to_string(r.left()) + " bytes after the last program", false;
    if (parameters < 0) p.parameterCount = 0;
    return true;
}

void writeProgram(Writer& w, const Preset& p, const Program& program) {
    const std::size_t start = w.bytes.size();
    w.header(program.isChunk ? kChunkProgram : kParamProgram, 1, p);
    w.i32(p.parameterCount);
    w.name(program.name);
    if (program.isChunk) {
        w.i32(std::int32_t(program.chunk.size()));
        w.raw(program.chunk.data(), program.chunk.size());
    } else {
        for (float v : program.values) w.f32(v);
    }
    w.closeRecord(start);
}

}  // namespace

std::vector<unsigned char> write(const Preset& p) {
    Writer w;
    if (!p.isBank) {
        writeProgram(w, p, p.program);
        return std::move(w.bytes);
    }
    w.header(p.isChunk ? kChunkBank : kParamBank, 2, p);
    w.i32(p.isChunk ? p.programCount : std::int32_t(p.programs.size()));
    w.i32(p.currentProgram);
    w.zeros(kBankReserved);
    if (p.isChunk) {
        w.i32(std::int32_t(p.chunk.size()));
        w.raw(p.chunk.data(), p.chunk.size());
    } else {
        for (const Program& program : p.programs) writeProgram(w, p, program);
    }
    w.closeRecord(0);
    return std::move(w.bytes);
}

bool read(const std::vector<unsigned char>& bytes, Preset& preset, std::string& error) {
    Preset p;
    Reader r(bytes.data(), bytes.size());
    Reader peek = r;
    std::uint32_t kind;
    if (!readHeader(peek, kind, error)) return false;
    if (kind == kParamBank || kind == kChunkBank) {
        p.isBank = true;
        p.isChunk = kind == kChunkBank;
        if (!readBank(peek, p, error)) return false;
    } else if (!readProgramRecord(r, p, p.program, false, error)) {
        return false;
    }
    preset = std::move(p);
    return true;
}

bool readFile(const std::string& path, std::vector<unsigned char>& bytes, std::string& error) {
    return safefile::readWholeFile(path, kMaxFileBytes, "preset", bytes, error);
}

bool writeFile(const std::string& path, const std::vector<unsigned char>& bytes, std::string& error) {
    return safefile::writeWholeFile(path, bytes, error);
}

}  // namespace preset
