// The pictures compiled into the module (resources/): BMP files, and the
// run-length coded ones drawn larger for scaled editors.
#include "vstgui/resourcebitmap.h"

#include "resources/resources.h"
#include "vstgui/bmpdecoder.h"
#include "vstgui/runlengthimage.h"

namespace VSTGUI {

bool resourceBitmapSize(int32_t id, int32_t& width, int32_t& height) {
    const resources::Resource* found = resources::findBitmap(id);
    if (!found) return false;
    if (readRunLengthSize(found->data, found->size, width, height)) return true;
    BmpLayout layout;
    if (!readBmpLayout(found->data, found->size, layout)) return false;
    width = layout.width;
    height = layout.height;
    return true;
}

std::unique_ptr<PixelSurface> loadResourceBitmap(int32_t id) {
    const resources::Resource* found = resources::findBitmap(id);
    if (!found) return nullptr;
    int32_t width = 0, height = 0;
    if (readRunLengthSize(found->data, found->size, width, height)) return decodeRunLength(found->data, found->size);
    return decodeBmp(found->data, found->size);
}

}  // namespace VSTGUI
