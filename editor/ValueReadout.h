// ValueReadout: the line of text the editor's readout shows for the control
// being dragged or last touched, in the words the plug-in gives hosts for
// that parameter: its name, then its display text and unit label
// ("CUTOFF  2.4 kHz"). While the plug-in has no display text for it, the
// raw value with two decimals stands in ("CUTOFF  0.96").
//
// GUI thread: it asks the plug-in object for the name, display text, label
// and value.
#pragma once

#include <cstddef>
#include <cstdint>

class AudioEffect;

namespace readout {

// Writes the text for parameter index into out (size bytes, always
// terminated); an empty text for an index outside 0..count-1.
void describe(AudioEffect& effect, int32_t index, int32_t count, char* out, std::size_t size);

}  // namespace readout
