// ControlLayout: where Ambrell's 40 controls sit on the 600 x 500 panel and
// which parameter each one edits.
//
// The table is in creation order, which is also drawing order (later
// controls lie on top; none overlap). A control's tag is the index of the
// parameter it edits. Knobs are 40 x 40 film-strip knobs; a menu lists its
// parameter's entries (engine/Choices.h; its value is the entry's index);
// switches name the bitmap that holds their off and on pictures. The panel artwork
// (resources/draw_artwork.py) frames and labels the same rectangles.
//
// Plain constant data: safe from any thread.
#pragma once

#include <cstdint>

namespace layout {

enum class Kind { knob, menu, learnSwitch };

struct Control {
    Kind kind;
    int16_t left, top, right, bottom;  // window pixels
    int32_t tag;                       // the parameter index
    int32_t bitmap;                    // switches: the off/on picture
};

struct Entries {
    const char* const* texts = nullptr;
    int count = 0;
};

inline constexpr int kControlCount = 40;
inline constexpr int kKnobCount = 27;
inline constexpr int kMenuCount = 11;
inline constexpr int kSwitchCount = 2;
// The plug-in's parameters; tags at or above this are no parameter.
inline constexpr int32_t kParameterCount = 44;

// The controls in creation order.
extern const Control kControls[kControlCount];

// The order in which idle brings the menus up to date from the parameters.
extern const int32_t kMenuRefreshOrder[kMenuCount];

// Bitmap resources: the panel, the knob strip and the two switch pictures.
inline constexpr int32_t kBackgroundBitmap = 128;
inline constexpr int32_t kKnobBitmap = 129;
inline constexpr int32_t kLearnBitmap = 130;     // controller learn (parameter 43)
inline constexpr int32_t kLearnAllBitmap = 131;  // learn in all programs (parameter 42)
// Frames in the knob strip and the height of one.
inline constexpr int32_t kKnobFrames = 80;
inline constexpr int32_t kKnobFrameHeight = 40;

// The value readout: free panel space in the bottom strip, left of the
// learn switches (the artwork draws its slot).
inline constexpr int16_t kReadoutLeft = 200, kReadoutTop = 470, kReadoutRight = 432,
                         kReadoutBottom = 494;

// The position in kControls of the control that edits parameter tag, or -1.
int controlIndexOfTag(int32_t tag);
// A menu's entry texts in order; none for other controls.
Entries entriesOf(const Control& control);

}  // namespace layout
