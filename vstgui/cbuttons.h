// The bit set that carries mouse buttons and modifier keys in one int32.
//
// A mouse event with buttons -1 means "not read yet": the receiver asks its
// drawing context (getMouseButtons) for the live state.
#pragma once

#include <cstdint>

namespace VSTGUI {

enum CButton : int32_t {
    kLButton = 1,
    kMButton = 2,
    kRButton = 4,
    kShift = 8,
    kControl = 16,
    kAlt = 32,
};

// Buttons not read yet; see above.
constexpr int32_t kButtonsUnread = -1;

}  // namespace VSTGUI
