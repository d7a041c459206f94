// The module's bitmap resources: the editor's pictures, compiled into the
// module from the BMP files of this folder.
//
//   128  background, 600 x 500
//   129  knob film strip, 40 x 3201 (80 frames of 40 x 40)
//   130  switch, 30 x 40 (off above, on below)
//   131  switch, 30 x 40
//   132  small knob film strip, 26 x 2081 (80 frames of 26 x 26)
//   133  bipolar knob film strip, 40 x 3201 (arc from the top centre)
//
// Read-only data: safe from any thread.
#pragma once

#include <cstddef>
#include <cstdint>

namespace resources {

struct Resource {
    int32_t id;
    const unsigned char* data;  // a complete BMP file
    std::size_t size;
};

// The bitmap with that id, or none.
const Resource* findBitmap(int32_t id);

// The generated table behind findBitmap.
extern const Resource kBitmapTable[];
extern const std::size_t kBitmapCount;

}  // namespace resources
