#include "resources/resources.h"

namespace resources {

const Resource* findBitmap(int32_t id) {
    for (std::size_t i = 0; i < kBitmapCount; ++i)
        if (kBitmapTable[i].id == id) return &kBitmapTable[i];
    return nullptr;
}

}  // namespace resources
