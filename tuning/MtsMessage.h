// MtsMessage: the MIDI Tuning Standard's system-exclusive messages that
// retune keys, read into a TuningChange.
//
//   single-note change  F0 7F dd 08 02 tt ll [kk xx yy zz]...          F7
//                       F0 7E|7F dd 08 07 bb tt ll [kk xx yy zz]...    F7
//   bulk dump           F0 7E dd 08 01 tt name[16] [xx yy zz]x128 cs  F7
//                       F0 7E dd 08 04 bb tt name[16] [xx yy zz]x128 cs F7
//
// xx is the equal-tempered semitone (note 69 = 440 Hz) and yy zz a 14-bit
// fraction of the next one; 7F 7F 7F leaves a key as it is. The voice has
// one table, so every device, bank and tuning program number retunes it.
// A bulk dump's checksum is the exclusive-or of its bytes from 7E to the
// last data byte. Anything else, or a message that breaks its own layout,
// is not read.
//
// Audio thread: reads the bytes in place and allocates nothing.
#pragma once

#include "engine/TuningTable.h"

namespace mts {

// True, with the keys it retunes in change, when bytes hold one of the
// messages above. size counts every byte, F0 and F7 included.
bool read(const unsigned char* bytes, long size, TuningChange& change);

}  // namespace mts
