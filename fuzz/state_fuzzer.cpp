// Saved state on banks made of the fuzzer's bytes (any bytes, made
// loadable: support/RandomBank.h): the bank goes into one plug-in, out as
// a bank chunk and as one program's chunk, through the bank and program
// file layouts, and into a second plug-in, which must then hold every byte
// and sound as the first, sample for sample. The first byte picks the
// current program, the second the program saved alone.
//
// The two plug-ins live as long as the process and get the same calls for
// every input, so what still sounds from the last input is the same in
// both and their renders stay comparable.
#include "fuzz/FuzzPlugin.h"
#include "host/core/PresetFile.h"
#include "support/RandomBank.h"

namespace {

using state::Bytes;

Bytes chunkOf(fuzz::Plugin& plugin, bool program) {
    void* data = nullptr;
    const VstIntPtr size = plugin.dispatch(effGetChunk, program ? 1 : 0, 0, &data);
    if (size <= 0 || !data) std::abort();
    return Bytes(static_cast<unsigned char*>(data), static_cast<unsigned char*>(data) + size);
}

void setChunk(fuzz::Plugin& plugin, Bytes chunk, bool program) {
    if (plugin.dispatch(effSetChunk, program ? 1 : 0, VstIntPtr(chunk.size()), chunk.data()) != 1) std::abort();
}

// A chunk written into a program or bank file and read back out.
Bytes throughFile(const Bytes& chunk, bool bank, int current) {
    preset::Preset p;
    p.isBank = bank;
    p.uniqueId = 0x31313132;
    p.parameterCount = 44;
    if (bank) {
        p.isChunk = true;
        p.chunk = chunk;
        p.programCount = 20;
        p.currentProgram = current;
    } else {
        p.program.isChunk = true;
        p.program.chunk = chunk;
    }
    preset::Preset back;
    std::string error;
    if (!preset::read(preset::write(p), back, error)) std::abort();
    if (bank && back.currentProgram != current) std::abort();
    return bank ? back.chunk : back.program.chunk;
}

// Program p: a note held while controller 6p moves, then released.
std::vector<float> soundOf(fuzz::Plugin& plugin, int p) {
    plugin.dispatch(effSetProgram, 0, p);
    std::vector<float> sound, right(64);
    for (int block = 0; block < 3; ++block) {
        if (block == 0) plugin.sendMidi(0x90, 36 + 3 * p, 100);
        if (block == 1) plugin.sendMidi(0xB0, 6 * p, 99);
        if (block == 2) plugin.sendMidi(0x80, 36 + 3 * p, 64);
        const std::size_t at = sound.size();
        sound.resize(at + right.size());
        float* outputs[] = {sound.data() + at, right.data()};
        plugin.effect()->processReplacing(plugin.effect(), nullptr, outputs, VstInt32(right.size()));
    }
    return sound;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    static fuzz::Plugin* source = new fuzz::Plugin;  // live as long as the process
    static fuzz::Plugin* copy = new fuzz::Plugin;
    source->reset();
    copy->reset();
    const int current = data[0] % 20, alone = data[1] % 20;
    const Bytes bank = state::loadableBank(data + 2, size - 2);

    source->dispatch(effSetProgram, 0, current);
    setChunk(*source, bank, false);
    if (chunkOf(*source, false) != bank) std::abort();

    // The program saved alone lands in the copy's program of that number
    // first; the bank then brings every program, that one included.
    source->dispatch(effSetProgram, 0, alone);
    copy->dispatch(effSetProgram, 0, alone);
    const Bytes program = chunkOf(*source, true);
    setChunk(*copy, throughFile(program, false, 0), true);
    if (chunkOf(*copy, true) != program) std::abort();
    source->dispatch(effSetProgram, 0, current);
    copy->dispatch(effSetProgram, 0, current);
    setChunk(*copy, throughFile(chunkOf(*source, false), true, current), false);
    if (chunkOf(*copy, false) != bank) std::abort();

    for (int p = 0; p < 20; ++p) {
        const std::vector<float> a = soundOf(*source, p), b = soundOf(*copy, p);
        if (std::memcmp(a.data(), b.data(), a.size() * sizeof(float)) != 0) std::abort();
        for (float x : a)
            if (!std::isfinite(x)) std::abort();
    }
    return 0;
}
