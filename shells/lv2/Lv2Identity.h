// Lv2Identity: the names the LV2 bundle is known by. The plug-in, its UI
// and the Turtle that describes them must agree on every one, so they are
// spelled once, here.
#pragma once

namespace lv2_identity {

// Stable for as long as the instrument is Ambrell: hosts store it in every
// session that uses the plug-in.
inline constexpr const char* kPluginUri = "https://orvane.example/plugins/ambrell";
inline constexpr const char* kUiUri = "https://orvane.example/plugins/ambrell#ui";
// Factory program n (1-based) is the preset kPresetPrefix + "nn".
inline constexpr const char* kPresetPrefix = "https://orvane.example/plugins/ambrell#program-";
// The bank chunk and its trailer, as one atom:Chunk under this key.
inline constexpr const char* kStateKey = "https://orvane.example/plugins/ambrell#bank";

inline constexpr const char* kBinary = "ORV-Ambrell2.so";

// Port indexes: the 44 parameters by their index, then MIDI in, then the
// two outputs.
inline constexpr int kMidiPort = 44;
inline constexpr int kLeftPort = 45;
inline constexpr int kRightPort = 46;
inline constexpr int kPortCount = 47;

}  // namespace lv2_identity
