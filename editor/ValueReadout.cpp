#include "editor/ValueReadout.h"

#include <cstdio>
#include <cstring>

#include "plugin/AudioEffect.h"

namespace readout {
namespace {

// Room for what the plug-in writes for one text. Hosts offer small buffers
// (8 characters by the old convention) but give more in practice, and the
// plug-in's names are longer; what it writes is cut at the terminator here.
constexpr std::size_t kTextRoom = 256;

// Asks one of the plug-in's text calls and trims surrounding blanks.
template <class Ask>
void ask(char (&text)[kTextRoom], Ask asker) {
    std::memset(text, 0, sizeof text);
    asker(text);
    text[kTextRoom - 1] = '\0';
    std::size_t end = std::strlen(text);
    while (end > 0 && text[end - 1] == ' ') text[--end] = '\0';
    std::size_t start = 0;
    while (text[start] == ' ') ++start;
    if (start) std::memmove(text, text + start, end - start + 1);
}

}  // namespace

void describe(AudioEffect& effect, int32_t index, int32_t count, char* out, std::size_t size) {
    if (!out || size == 0) return;
    out[0] = '\0';
    if (index < 0 || index >= count) return;
    char name[kTextRoom], display[kTextRoom], label[kTextRoom];
    ask(name, [&](char* t) { effect.getParameterName(index, t); });
    ask(display, [&](char* t) { effect.getParameterDisplay(index, t); });
    ask(label, [&](char* t) { effect.getParameterLabel(index, t); });
    if (display[0] == '\0') {
        std::snprintf(out, size, "%s  %.2f", name, double(effect.getParameter(index)));
        return;
    }
    std::snprintf(out, size, label[0] ? "%s  %s %s" : "%s  %s", name, display, label);
}

}  // namespace readout
