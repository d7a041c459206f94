// Points, rectangles, colours and reference counting.
#include <gtest/gtest.h>

#include "vstgui/ccolor.h"
#include "vstgui/creferencecounter.h"
#include "vstgui/crect.h"
#include "vstgui/pixelsurface.h"

using namespace VSTGUI;

namespace {

TEST(CRect, SizesCountRightAndBottomAsOnePast) {
    const CRect r(3, 4, 13, 24);
    EXPECT_EQ(r.width(), 10) << "width is right - left";
    EXPECT_EQ(r.height(), 20) << "height is bottom - top";
    CRect moved = r;
    moved.offset(-3, 6);
    EXPECT_EQ(moved, CRect(0, 10, 10, 30)) << "offset moves all four edges";
}

TEST(CRect, BoundIntersectsAndNeverTurnsNegative) {
    CRect a(0, 0, 10, 10);
    a.bound(CRect(5, -5, 20, 7));
    EXPECT_EQ(a, CRect(5, 0, 10, 7)) << "plain intersection";

    CRect apart(0, 0, 10, 10);
    apart.bound(CRect(20, 20, 30, 30));
    EXPECT_EQ(apart, CRect(20, 20, 20, 20)) << "disjoint rectangles collapse to zero size";
    EXPECT_EQ(apart.width(), 0) << "never a negative width";
    EXPECT_EQ(apart.height(), 0) << "never a negative height";
}

TEST(CRect, OverlapCountsTouchingEdges) {
    const CRect a(0, 0, 10, 10);
    EXPECT_TRUE(a.rectOverlap(CRect(10, 0, 20, 10))) << "sharing the edge x = 10 overlaps";
    EXPECT_TRUE(a.rectOverlap(CRect(0, 10, 10, 20))) << "sharing the edge y = 10 overlaps";
    EXPECT_FALSE(a.rectOverlap(CRect(11, 0, 20, 10))) << "one pixel apart does not";
    EXPECT_FALSE(a.rectOverlap(CRect(0, -20, 10, -1))) << "above does not";
}

TEST(CRect, PointInsideIncludesRightAndBottom) {
    const CRect r(0, 0, 10, 10);
    EXPECT_TRUE(r.pointInside(CPoint(10, 10))) << "bottom-right corner is a hit";
    EXPECT_TRUE(r.pointInside(CPoint(0, 0))) << "top-left corner is a hit";
    EXPECT_FALSE(r.pointInside(CPoint(11, 5))) << "right of the edge misses";
    EXPECT_FALSE(r.pointInside(CPoint(5, -1))) << "above the edge misses";
}

TEST(CColor, AlphaTakesPartInComparison) {
    EXPECT_NE(kTransparentCColor, kWhiteCColor) << "white with alpha 0 and 255 differ";
    EXPECT_EQ(toPixel(kTransparentCColor), toPixel(kWhiteCColor)) << "but they draw alike";
    EXPECT_EQ(toPixel(CColor{0x12, 0x34, 0x56, 0}), 0x123456u) << "pixels are 0x00RRGGBB";
    EXPECT_EQ(kGreyCColor, (CColor{127, 127, 127, 255})) << "grey is 127, not 128";
}

struct Tracked : CReferenceCounter {
    explicit Tracked(bool& destroyed) : destroyed(destroyed) {}
    ~Tracked() override { destroyed = true; }
    bool& destroyed;
};

TEST(CReferenceCounter, LastForgetDestroys) {
    bool destroyed = false;
    auto* object = new Tracked(destroyed);
    EXPECT_EQ(object->getNbReference(), 1) << "the creator holds the first reference";
    object->remember();
    object->forget();
    EXPECT_FALSE(destroyed) << "after one remember it takes two forgets";
    object->forget();
    EXPECT_TRUE(destroyed) << "the forget that finds the count at 1 destroys through the derived destructor";
}

TEST(CReferenceCounter, ScopedReferenceKeepsAlive) {
    bool destroyed = false;
    auto* object = new Tracked(destroyed);
    {
        ScopedReference<Tracked> keep(object);
        object->forget();
        EXPECT_FALSE(destroyed) << "the scope's reference keeps it alive";
    }
    EXPECT_TRUE(destroyed) << "leaving the scope drops the last reference";
}

}  // namespace
