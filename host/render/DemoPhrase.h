// The built-in phrase of orv-host render --demo: four bars in C minor that
// show any program off, whatever its role.
//
//   bars 1-2  an 8th-note bass riff around C2 with accents and some legato
//             steps (glides and held envelopes show), for basses, leads,
//             percussion and the FX sounds
//   bar 3     one long held C4, for pads and slow envelopes
//   bar 4     a staccato run high up (C5 to C6), then a long low C1
//
// 16 beats: 8 s at 120 beats per minute, before the release tail.
#pragma once

#include "host/render/MidiFile.h"

MidiFile demoPhrase(double beatsPerMinute);
