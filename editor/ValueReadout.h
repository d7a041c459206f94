// ValueReadout: the words the editor's readout shows for the control being
// moved: the label printed on the panel with its section ("FILTER ENV
// DECAY"), then the value as the plug-in shows it to hosts, with its unit
// ("412 ms"). Menus whose entries are bare numbers ("mode 2") get a few words
// on what the entry does. A parameter without a control on the panel is
// named as hosts name it; while the plug-in has no display text for one, the
// raw value with two decimals stands in ("CUTOFF  0.96").
//
// [ui thread] It asks the plug-in object for the display text, label and value.
#pragma once

#include <cstddef>
#include <cstdint>

class AudioEffect;

namespace readout {

// The panel's words for parameter index: section and label, or none.
const char* panelLabel(int32_t index);

// Writes the text for parameter index into out (size bytes, always
// terminated); an empty text for an index outside 0..count-1.
void describe(AudioEffect& effect, int32_t index, int32_t count, char* out, std::size_t size);

}  // namespace readout
