// The pictures compiled into the module as BMP files (resources/).
#include "vstgui/resourcebitmap.h"

#include "resources/resources.h"
#include "vstgui/bmpdecoder.h"

namespace VSTGUI {

bool resourceBitmapSize(int32_t id, int32_t& width, int32_t& height) {
    const resources::Resource* found = resources::findBitmap(id);
    BmpLayout layout;
    if (!found || !readBmpLayout(found->data, found->size, layout)) return false;
    width = layout.width;
    height = layout.height;
    return true;
}

std::unique_ptr<PixelSurface> loadResourceBitmap(int32_t id) {
    const resources::Resource* found = resources::findBitmap(id);
    return found ? decodeBmp(found->data, found->size) : nullptr;
}

}  // namespace VSTGUI
