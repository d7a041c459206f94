// CDragContainer: what a drag over the editor carries, as far as the toolkit
// looks at it: how many items (1 for text, one per file of a file list).
//
// Made by the window's drag-and-drop layer when a drag enters the window,
// handed to the frame's drag operations, forgotten when the drag leaves or
// drops. The item count may arrive after the drag entered: the layer asks
// the drag's source for its data and fills it in then. Reference counted;
// [ui thread] only.
#pragma once

#include <cstdint>

#include "vstgui/creferencecounter.h"

namespace VSTGUI {

class CDragContainer : public CReferenceCounter {
public:
    // platformDrag: the window system's handle of the drag (not owned).
    explicit CDragContainer(void* platformDrag, int32_t count = 0)
        : platformDrag(platformDrag), nbItems(count) {}

    int32_t getCount() const { return nbItems; }
    void setCount(int32_t count) { nbItems = count; }

private:
    // The drag's identity, kept with it; nothing in the toolkit reads it.
    [[maybe_unused]] void* platformDrag;
    int32_t nbItems;
};

}  // namespace VSTGUI
