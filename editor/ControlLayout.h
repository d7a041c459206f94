// ControlLayout: where Ambrell's 42 controls sit on the 600 x 500 panel and
// which parameter each one edits.
//
// The table is in creation order, which is also drawing order (later
// controls lie on top; none overlap). A control's tag is the index of the
// parameter it edits. Knobs are square film-strip knobs whose strip is the
// row's bitmap (its frames are as high as the row); a menu lists its
// parameter's entries (engine/Choices.h; its value is the entry's index);
// switches name the bitmap that holds their off and on pictures, stacked.
// The panel artwork (resources/draw_artwork.py) frames and labels the same
// rectangles.
//
// Plain constant data: safe from any thread.
#pragma once

#include <cstdint>

#include "engine/ParamBlock.h"

namespace layout {

enum class Kind { knob, menu, learnSwitch };

struct Control {
    Kind kind;
    int16_t left, top, right, bottom;  // window pixels
    int32_t tag;                       // the parameter index
    int32_t bitmap;                    // knobs: the film strip; switches: the off/on picture

    int16_t width() const { return int16_t(right - left); }
    int16_t height() const { return int16_t(bottom - top); }
};

struct Entries {
    const char* const* texts = nullptr;
    int count = 0;
};

inline constexpr int kControlCount = 42;
inline constexpr int kKnobCount = 29;
inline constexpr int kMenuCount = 11;
inline constexpr int kSwitchCount = 2;
// The plug-in's parameters; tags at or above this are no parameter.
inline constexpr int32_t kParameterCount = param::kCount;
// Tags of the editor's own controls, which edit no parameter: the program
// readout and the panel menu.
inline constexpr int32_t kProgramTag = 1000;
inline constexpr int32_t kPanelMenuTag = 1001;
inline constexpr int32_t kTuningTag = 1002;  // the panel menu's tuning choices
inline constexpr int32_t kSizeMenuTag = 1003;  // the panel menu's editor sizes

// The controls in creation order.
extern const Control kControls[kControlCount];

// The order in which idle brings the menus up to date from the parameters.
extern const int32_t kMenuRefreshOrder[kMenuCount];

// Bitmap resources: the panel, the knob strips and the two switch pictures.
inline constexpr int32_t kBackgroundBitmap = 128;
inline constexpr int32_t kKnobBitmap = 129;
inline constexpr int32_t kLearnBitmap = 130;     // controller learn (parameter 43)
inline constexpr int32_t kLearnAllBitmap = 131;  // learn in all programs (parameter 42)
inline constexpr int32_t kSmallKnobBitmap = 132;    // 26 x 26 frames
inline constexpr int32_t kBipolarKnobBitmap = 133;  // arc from the top centre
inline constexpr int32_t kBitmapIds[] = {kBackgroundBitmap, kKnobBitmap,      kLearnBitmap,
                                         kLearnAllBitmap,   kSmallKnobBitmap, kBipolarKnobBitmap};
// Frames in every knob strip.
inline constexpr int32_t kKnobFrames = 80;

// The value readout: free panel space in the bottom strip, left of the
// learn switches (the artwork draws its slot).
inline constexpr int16_t kReadoutLeft = 200, kReadoutTop = 470, kReadoutRight = 432,
                         kReadoutBottom = 494;

// The position in kControls of the control that edits parameter tag, or -1.
int controlIndexOfTag(int32_t tag);
// An LFO depth knob's destination parameter, -1 for any other tag. While
// the destination is a pitch, the depth's middle is no modulation.
int32_t destinationOfDepth(int32_t tag);
bool isPitchDestination(float destination);
// The strip a knob shows: the row's, or the bipolar one for an LFO depth
// while its destination (value) is a pitch.
int32_t knobStrip(const Control& knob, float destination);
// A menu's entry texts in order; none for other controls.
Entries entriesOf(const Control& control);

}  // namespace layout
