// CBitmap: a picture from the module's resources, drawn plainly, with a key
// colour as see-through, or blended with a constant opacity.
//
// Drawing copies the region of the target rectangle's size that starts at
// the given offset inside the image, so one frame of a film strip is drawn
// by passing its position as the offset. The key colour defaults to pure
// white (the red, green and blue of kTransparentCColor; its alpha is never
// compared). Reference counted; [ui thread] only.
//
// Loading reads only the file's headers, which give the size; the pixels
// are decoded the first time they are needed (drawn or asked for) and kept
// from then on. An editor that is created but never opened thus costs no
// image memory, and bitmaps of the same resource share one decoded copy.
#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <vector>

#include "vstgui/ccolor.h"
#include "vstgui/creferencecounter.h"
#include "vstgui/crect.h"
#include "vstgui/pixelsurface.h"

namespace VSTGUI {

class CDrawContext;

class CBitmap : public CReferenceCounter {
public:
    // Loads the resource; a missing id leaves the bitmap empty (0 x 0).
    explicit CBitmap(int32_t resourceID);
    ~CBitmap() override;

    // Each draws nothing without a context or without an image.
    virtual void draw(CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint());
    virtual void drawTransparent(CDrawContext* context, const CRect& rect,
                                 const CPoint& offset = CPoint());
    virtual void drawAlphaBlend(CDrawContext* context, const CRect& rect,
                                const CPoint& offset = CPoint(), uint8_t alpha = 128);
    virtual void dispose();
    // False, and empty, when the module has no bitmap of that id.
    virtual bool loadFromResource(int32_t resourceID);
    // Always false: pictures come from the module only. Empties the bitmap.
    virtual bool loadFromPath(const void* platformPath);

    int32_t getWidth() const { return width; }
    int32_t getHeight() const { return height; }
    // True once a resource with a readable picture is loaded, decoded or not.
    bool isLoaded() const { return loaded; }
    // Scaled pictures of a bitmap with a transparent colour keep it clear.
    void setTransparentColor(const CColor& color) {
        transparentCColor = color;
        keyed = true;
        scaledHandle.reset();
        stripSteps.clear();
    }
    CColor getTransparentColor() const { return transparentCColor; }
    bool getNoAlpha() const { return noAlpha; }
    // The pixels, decoded now if this is their first use; none when not
    // loaded (or when the image cannot be allocated).
    const PixelSurface* getImage() const;
    // The pixels for a frame drawn at scale percent.
    const PixelSurface* getImage(int32_t scale) const;
    // Read as a film strip of frames, frameHeight tall, drawn width x height
    // pixels at scale: what each frame changes from the one before
    // (stripSteps), worked out at first use and kept until the picture or
    // its transparent colour changes. Empty when unknown.
    const std::vector<CRect>& getStripSteps(int32_t scale, int32_t frames, int32_t frameHeight, int32_t width,
                                            int32_t height) const;

private:
    int32_t resourceID = 0;
    int32_t width = 0;
    int32_t height = 0;
    CColor transparentCColor = kTransparentCColor;
    bool noAlpha = true;
    bool loaded = false;  // the module has a readable picture of resourceID
    mutable std::shared_ptr<const PixelSurface> pHandle;  // its pixels once first used
    mutable std::shared_ptr<const PixelSurface> scaledHandle;  // those of the last other scale
    mutable int32_t scaledPercent = 100;
    bool keyed = false;
    struct Steps {
        int32_t scale, frames, frameHeight, width, height;
        std::vector<CRect> steps;
    };
    // One for each way the strip is drawn; a deque keeps answers in place.
    mutable std::deque<Steps> stripSteps;
};

}  // namespace VSTGUI
