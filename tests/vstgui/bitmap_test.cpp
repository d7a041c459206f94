// Bitmaps from the module's resources, and how they are drawn.
#include <gtest/gtest.h>

#include <cstring>
#include <vector>

#include "resources/resources.h"
#include "vstgui/bmpdecoder.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/resourcebitmap.h"
#include "vstgui/runlengthimage.h"
#include "vstgui/viewscale.h"

using namespace VSTGUI;

namespace {

TEST(BitmapResources, TheFourIdsHaveTheEditorsSizes) {
    struct Expected {
        int32_t id, width, height;
    } table[] = {{128, 600, 500}, {129, 40, 3201}, {130, 30, 40}, {131, 30, 40}};
    for (const Expected& e : table) {
        auto* bitmap = new CBitmap(e.id);
        EXPECT_TRUE(bitmap->isLoaded()) << "resource " << e.id << " loads";
        EXPECT_EQ(bitmap->getWidth(), e.width) << "width of " << e.id;
        EXPECT_EQ(bitmap->getHeight(), e.height) << "height of " << e.id;
        EXPECT_EQ(bitmap->getTransparentColor(), kTransparentCColor) << "key colour defaults to white";
        EXPECT_TRUE(bitmap->getNoAlpha()) << "resource images have no alpha";
        bitmap->forget();
    }
}

TEST(BitmapResources, AMissingIdLeavesTheBitmapEmptyAndDrawingNothing) {
    auto* bitmap = new CBitmap(127);
    EXPECT_FALSE(bitmap->isLoaded()) << "no resource 127";
    EXPECT_EQ(bitmap->getWidth(), 0) << "empty width";
    EXPECT_EQ(bitmap->getHeight(), 0) << "empty height";
    PixelSurface surface(10, 10);
    auto* context = new CDrawContext(nullptr, &surface, nullptr);
    bitmap->draw(context, CRect(0, 0, 10, 10));
    bitmap->drawTransparent(context, CRect(0, 0, 10, 10));
    bitmap->drawAlphaBlend(context, CRect(0, 0, 10, 10), CPoint(), 255);
    EXPECT_TRUE(surface.damage().isEmpty()) << "no pixel changed";
    bitmap->draw(nullptr, CRect(0, 0, 10, 10));  // no context: nothing
    context->forget();
    bitmap->forget();
}

TEST(BitmapResources, PixelsDecodedAtFirstUseAreTheResourcesSharedAndGoWithDispose) {
    auto* bitmap = new CBitmap(128);
    const resources::Resource* file = resources::findBitmap(128);
    ASSERT_TRUE(file) << "the background is a resource";
    auto expected = decodeBmp(file->data, file->size);
    const PixelSurface* image = bitmap->getImage();
    ASSERT_TRUE(image && expected) << "both decode";
    EXPECT_EQ(std::memcmp(image->data(), expected->data(), 600u * 500u * sizeof(Pixel)), 0)
        << "the bitmap's pixels are the file's";
    EXPECT_EQ(bitmap->getImage(), image) << "decoded once, then kept";
    auto* other = new CBitmap(128);
    EXPECT_EQ(other->getImage(), image) << "a second bitmap of the resource shares the pixels";
    other->forget();
    bitmap->dispose();
    EXPECT_FALSE(bitmap->getImage()) << "disposed: no pixels to decode";
    bitmap->forget();
}

TEST(BitmapResources, LoadFromPathIsRefusedAndEmpties) {
    auto* bitmap = new CBitmap(130);
    EXPECT_FALSE(bitmap->loadFromPath("/tmp/anything.bmp")) << "files are not loaded";
    EXPECT_EQ(bitmap->getWidth(), 0) << "the old image is disposed";
    EXPECT_TRUE(bitmap->loadFromResource(130)) << "the resource loads again";
    bitmap->forget();
}

// A bitmap drawn into a pre-filled surface, comparing against the image.
class BitmapDrawing : public ::testing::Test {
protected:
    BitmapDrawing() : surface(30, 20), context(new CDrawContext(nullptr, &surface, nullptr)), knob(new CBitmap(129)) {
        surface.fill(surface.bounds(), kUnder);
    }
    ~BitmapDrawing() override {
        knob->forget();
        context->forget();
    }
    static constexpr Pixel kUnder = 0x123456;
    PixelSurface surface;
    CDrawContext* context;
    CBitmap* knob;
};

TEST_F(BitmapDrawing, DrawCopiesTheRegionAtTheOffset) {
    const CPoint frame3(0, 3 * 40);  // film strip: frame 3 starts 120 rows down
    context->offset = CPoint(-5, 0);
    knob->draw(context, CRect(5, 0, 25, 20), frame3);
    const PixelSurface& image = *knob->getImage();
    int mismatches = 0;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 20; ++x) mismatches += surface.pixel(x, y) != image.pixel(x, 120 + y);
    EXPECT_EQ(mismatches, 0) << "the 20 x 20 region from (0, 120) lands at (0, 0) after the offset";
    EXPECT_EQ(surface.pixel(20, 0), kUnder) << "outside the rectangle untouched";
}

TEST_F(BitmapDrawing, TransparentDrawingKeepsTheDestinationUnderTheKey) {
    knob->setTransparentColor(CColor{0, 0, 0, 77});  // alpha of the key plays no part
    knob->drawTransparent(context, CRect(0, 0, 20, 20), CPoint(10, 0));
    const PixelSurface& image = *knob->getImage();
    int keyed = 0, copied = 0, wrong = 0;
    for (int32_t y = 0; y < 20; ++y)
        for (int32_t x = 0; x < 20; ++x) {
            const Pixel src = image.pixel(10 + x, y);
            if (src == 0) {
                ++keyed;
                wrong += surface.pixel(x, y) != kUnder;
            } else {
                ++copied;
                wrong += surface.pixel(x, y) != src;
            }
        }
    EXPECT_GT(keyed, 0) << "the strip has black surroundings";
    EXPECT_GT(copied, 0) << "and a knob face";
    EXPECT_EQ(wrong, 0) << "black keeps the destination exactly, everything else is copied";
}

TEST_F(BitmapDrawing, AlphaBlendMixesWithConstantOpacity) {
    knob->drawAlphaBlend(context, CRect(0, 0, 1, 1), CPoint(0, 0), 255);
    EXPECT_EQ(surface.pixel(0, 0), knob->getImage()->pixel(0, 0)) << "255 is a plain copy";
    knob->drawAlphaBlend(context, CRect(1, 0, 2, 1), CPoint(0, 0), 0);
    EXPECT_EQ(surface.pixel(1, 0), kUnder) << "0 leaves the destination";
}

// A valid 24-bit BMP of w x h, bottom-up, with pixel (x, y) = x * 16 + y.
std::vector<unsigned char> makeBmp(int32_t w, int32_t h) {
    const uint32_t row = (uint32_t(w) * 3 + 3) & ~3u;
    std::vector<unsigned char> f(54 + row * uint32_t(h), 0);
    auto put32 = [&](size_t at, uint32_t v) { std::memcpy(&f[at], &v, 4); };
    f[0] = 'B', f[1] = 'M';
    put32(2, uint32_t(f.size()));
    put32(10, 54);
    put32(14, 40);
    put32(18, uint32_t(w));
    put32(22, uint32_t(h));
    f[26] = 1, f[28] = 24;
    for (int32_t y = 0; y < h; ++y)
        for (int32_t x = 0; x < w; ++x) f[54 + row * uint32_t(h - 1 - y) + uint32_t(x) * 3] = uint8_t(x * 16 + y);
    return f;
}

TEST(BmpDecoder, ReadsRowsBottomUpWithPadding) {
    const auto file = makeBmp(3, 2);  // 9 bytes a row, padded to 12
    auto image = decodeBmp(file.data(), file.size());
    ASSERT_TRUE(image) << "a plain 24-bit file decodes";
    EXPECT_EQ(image->pixel(2, 1), Pixel(2 * 16 + 1)) << "blue byte of (2, 1) from the first stored row";
    EXPECT_EQ(image->pixel(0, 0), 0u) << "(0, 0) from the last stored row";
}

TEST(BmpDecoder, TheLayoutComesFromTheHeadersAlone) {
    const auto file = makeBmp(3, 2);
    BmpLayout layout;
    ASSERT_TRUE(readBmpLayout(file.data(), file.size(), layout)) << "a plain 24-bit file";
    EXPECT_EQ(layout.width, 3) << "width";
    EXPECT_EQ(layout.height, 2) << "height";
    EXPECT_EQ(layout.rowSize, 12u) << "9 bytes a row, padded to 12";
    EXPECT_FALSE(readBmpLayout(file.data(), file.size() - 1, layout)) << "the last row must fit in the data";
}

TEST(BmpDecoder, RejectsMalformedFiles) {
    const auto good = makeBmp(4, 4);
    auto bad = good;
    bad[0] = 'X';
    EXPECT_FALSE(decodeBmp(bad.data(), bad.size())) << "wrong signature";
    EXPECT_FALSE(decodeBmp(good.data(), good.size() - 1)) << "truncated pixel data";
    EXPECT_FALSE(decodeBmp(good.data(), 20)) << "truncated header";
    EXPECT_FALSE(decodeBmp(nullptr, 100)) << "no data";
    bad = good;
    bad[28] = 8;
    EXPECT_FALSE(decodeBmp(bad.data(), bad.size())) << "palette images are not supported";
    bad = good;
    bad[30] = 1;
    EXPECT_FALSE(decodeBmp(bad.data(), bad.size())) << "compressed images are not supported";
    bad = good;
    const uint32_t huge = 0x7FFFFFFF;
    std::memcpy(&bad[18], &huge, 4);
    EXPECT_FALSE(decodeBmp(bad.data(), bad.size())) << "an absurd width";
    bad = good;
    const uint32_t outside = 0xFFFFFFF0;
    std::memcpy(&bad[10], &outside, 4);
    EXPECT_FALSE(decodeBmp(bad.data(), bad.size())) << "pixel data offset beyond the file";
    bad = good;
    const int32_t minHeight = INT32_MIN;
    std::memcpy(&bad[22], &minHeight, 4);
    EXPECT_FALSE(decodeBmp(bad.data(), bad.size())) << "the most negative height";
}

TEST(BmpDecoder, TopDownFilesKeepTheirRowOrder) {
    auto file = makeBmp(2, 2);
    const int32_t topDown = -2;
    std::memcpy(&file[22], &topDown, 4);
    auto image = decodeBmp(file.data(), file.size());
    ASSERT_TRUE(image) << "negative height is a top-down file";
    EXPECT_EQ(image->pixel(1, 0), Pixel(1 * 16 + 1)) << "first stored row is the top row";
}

}  // namespace

namespace {

// The pictures drawn larger for scaled editors: resource id + 1000 x factor.
TEST(ScaledArtwork, EveryPictureIsDrawnAtTwiceAndThreeTimesItsSize) {
    for (int32_t id = 128; id <= 133; ++id) {
        const auto plain = loadResourceBitmap(id);
        ASSERT_NE(plain, nullptr) << id;
        for (int32_t factor : {2, 3}) {
            const auto larger = loadResourceBitmap(factor * 1000 + id);
            ASSERT_NE(larger, nullptr) << factor << "x of " << id << " decodes";
            EXPECT_EQ(larger->width(), plain->width() * factor) << id;
            EXPECT_EQ(larger->height(), plain->height() * factor) << id;
        }
    }
}

TEST(ScaledArtwork, CodedDataThatEndsEarlyOrOverrunsThePictureGivesNothing) {
    const resources::Resource* coded = resources::findBitmap(2130);
    ASSERT_NE(coded, nullptr);
    std::vector<unsigned char> bytes(coded->data, coded->data + coded->size);
    ASSERT_NE(decodeRunLength(bytes.data(), bytes.size()), nullptr) << "whole, it decodes";
    EXPECT_EQ(decodeRunLength(bytes.data(), bytes.size() - 1), nullptr) << "one byte short";
    std::vector<unsigned char> longer = bytes;
    longer.insert(longer.end(), {0x80, 1, 2, 3});  // two more pixels than the picture has
    EXPECT_EQ(decodeRunLength(longer.data(), longer.size()), nullptr);
    std::vector<unsigned char> huge = bytes;
    huge[6] = 0xFF;  // width beyond any surface
    EXPECT_EQ(decodeRunLength(huge.data(), huge.size()), nullptr);
}

// A knob strip reduced from 2x to 150 %: what was see-through stays so, the
// face keeps its colour, and no face pixel turns see-through.
TEST(ScaledArtwork, AKeyedPictureReducedByAreaKeepsItsKeyApart) {
    constexpr Pixel kKey = 0x000000, kFace = 0x808080;
    PixelSurface src(8, 8);
    src.fill(CRect(0, 0, 8, 8), kKey);
    src.fill(CRect(2, 2, 6, 6), kFace);
    const PixelSurface out = resampleArea(src, 6, 6, &kKey);
    EXPECT_EQ(out.pixel(0, 0), kKey) << "the corner stays see-through";
    EXPECT_EQ(out.pixel(3, 3), kFace) << "the middle keeps the face colour, not darkened by the key";
    for (int32_t y = 0; y < 6; ++y)
        for (int32_t x = 0; x < 6; ++x) {
            const Pixel p = out.pixel(x, y);
            EXPECT_TRUE(p == kKey || p == kFace) << x << "," << y << ": " << std::hex << p;
        }
    const PixelSurface plain = resampleArea(src, 6, 6, nullptr);
    EXPECT_NE(plain.pixel(1, 1), kKey) << "without a key the edge mixes";
    EXPECT_NE(plain.pixel(1, 1), kFace);
}

}  // namespace

TEST(ViewScale, EveryPixelBelongsToTheViewUnitWhosePixelsHoldIt) {
    for (int32_t scale : kScaleSteps) {
        for (int32_t p = -40; p < 1600; ++p) {
            const int32_t v = toViewUnits(p, scale);
            ASSERT_TRUE(toPixels(v, scale) <= p && p < toPixels(v + 1, scale))
                << "pixel " << p << " at " << scale << " % lies in unit " << v << "'s pixels";
        }
        // A rectangle of pixels is covered by the view rectangle made for it.
        const CRect pixels(242, 21, 289, 62);
        const CRect covered = toPixels(coveringViewRect(pixels, scale), scale);
        EXPECT_EQ(CRect(covered).bound(pixels), pixels) << scale << " %";
    }
}
