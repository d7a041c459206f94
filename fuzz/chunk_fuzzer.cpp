// The chunk loader: any bytes of any length as a bank or a program chunk
// (the first byte chooses), in a buffer exactly that long. A chunk that
// loads must come back out and sound as numbers: a program whole, a bank's
// records to the byte (the trailer after them comes back only when it held
// a tuning).
#include "fuzz/FuzzPlugin.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size == 0) return 0;
    const bool preset = (data[0] & 1) != 0;
    std::vector<std::uint8_t> chunk(data + 1, data + size);
    fuzz::Plugin& plugin = fuzz::Plugin::shared();
    const VstIntPtr loaded =
        plugin.dispatch(effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(chunk.size()),
                        chunk.empty() ? nullptr : chunk.data());
    void* out = nullptr;
    const VstIntPtr taken = plugin.dispatch(effGetChunk, preset ? 1 : 0, 0, &out);
    if (loaded == 1) {
        // What loaded is what a host saves next time.
        constexpr std::size_t kBankRecords = 24400;
        const std::size_t records = preset ? chunk.size() : kBankRecords;
        if (!out || taken < static_cast<VstIntPtr>(records) || (preset && taken != static_cast<VstIntPtr>(records)) ||
            std::memcmp(out, chunk.data(), records) != 0)
            std::abort();
    }
    plugin.playNote(60);
    plugin.renderChecked(256);
    return 0;
}
