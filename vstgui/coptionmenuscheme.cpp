#include "vstgui/coptionmenuscheme.h"

#include <cstring>
#include <string>

#include "vstgui/cdrawcontext.h"
#include "vstgui/pixelsurface.h"
#include "vstgui/viewscale.h"

namespace VSTGUI {

namespace {

// Room left of the text for the check dot, and the item height.
constexpr int32_t kTextIndent = 18;
constexpr int32_t kItemHeight = 18;
constexpr int32_t kSeparatorWidth = 6;
// The second (tab) column starts this far left of the item's right edge.
constexpr int32_t kTabColumn = 50;
// The separator's two lines: a shadow over a light edge, each 150/255
// opaque over the item's background.
constexpr CColor kSeparatorShadow{0, 0, 0, 150};
constexpr CColor kSeparatorLight{255, 255, 255, 150};

// c over background by c's alpha: surfaces draw opaque colours only.
CColor over(const CColor& c, const CColor& background) {
    auto mix = [&](uint8_t top, uint8_t bottom) {
        return uint8_t((top * c.alpha + bottom * (255 - c.alpha) + 127) / 255);
    };
    return CColor{mix(c.red, background.red), mix(c.green, background.green), mix(c.blue, background.blue), 255};
}

bool isSeparator(const char* text) { return text && std::strcmp(text, "-") == 0; }

// Drawing contexts are reference counted: one for the length of a call.
class ScopedContext {
public:
    ScopedContext(PixelSurface* surface, int32_t scale) : context_(new CDrawContext(surface, scale)) {}
    ~ScopedContext() { context_->forget(); }
    ScopedContext(const ScopedContext&) = delete;
    ScopedContext& operator=(const ScopedContext&) = delete;
    CDrawContext* get() const { return context_; }

private:
    CDrawContext* context_;
};

}  // namespace

// The classic desktop's COLOR_MENU, COLOR_HIGHLIGHT, COLOR_MENUTEXT,
// COLOR_HIGHLIGHTTEXT and COLOR_GRAYTEXT, taken with alpha 0 as the system
// colours are.
COptionMenuScheme::COptionMenuScheme()
    : backgroundColor{240, 240, 240, 0},
      selectionColor{0, 120, 215, 0},
      textColor{0, 0, 0, 0},
      hiliteTextColor{255, 255, 255, 0},
      disableTextColor{109, 109, 109, 0} {}

void COptionMenuScheme::setColors(const CColor& background, const CColor& selection, const CColor& text,
                                  const CColor& hiliteText, const CColor& disableText) {
    backgroundColor = background;
    selectionColor = selection;
    textColor = text;
    hiliteTextColor = hiliteText;
    disableTextColor = disableText;
}

void COptionMenuScheme::getItemSize(const char* text, CDrawContext* context, CPoint& size) {
    if (isSeparator(text)) {
        size = CPoint(kSeparatorWidth, kItemHeight);
        return;
    }
    int32_t width = 0;
    if (context && text) {
        context->setFont(CFont(font));
        width = context->getStringWidth(text);
    }
    size = CPoint(width + kTextIndent, kItemHeight);
}

void COptionMenuScheme::drawItemBack(CDrawContext* context, const CRect& rect, bool highlighted) {
    context->setFillColor(highlighted ? selectionColor : backgroundColor);
    context->fillRect(rect);
}

void COptionMenuScheme::drawItem(const char* text, int32_t, int32_t state, CDrawContext* context,
                                 const CRect& rect) {
    if (!context) return;
    const bool highlighted = (state & kSelected) != 0;
    drawItemBack(context, rect, highlighted);
    if (!text) return;

    if (isSeparator(text)) {
        const int32_t y = rect.top + (rect.bottom - rect.top) / 2;
        context->setLineWidth(1);
        const CColor& background = highlighted ? selectionColor : backgroundColor;
        context->setFrameColor(over(kSeparatorShadow, background));
        context->moveTo(CPoint(rect.left + 2, y - 1));
        context->lineTo(CPoint(rect.right - 2, y - 1));
        context->setFrameColor(over(kSeparatorLight, background));
        context->moveTo(CPoint(rect.left + 2, y));
        context->lineTo(CPoint(rect.right - 2, y));
        return;
    }

    if (state & kChecked) {
        context->setFillColor(highlighted ? hiliteTextColor : textColor);
        context->fillEllipse(CRect(rect.left + 6, rect.top + 4, rect.left + 14, rect.top + 12));
    }

    CRect textRect = rect;
    textRect.left += kTextIndent;
    context->setFont(CFont(font));
    context->setFontColor((state & kDisabled) ? disableTextColor : highlighted ? hiliteTextColor : textColor);
    if (const char* tab = std::strchr(text, '\t')) {
        const std::string before(text, tab);
        context->drawString(before.c_str(), textRect, false, kLeftText);
        CRect second = rect;
        second.left = rect.right - kTabColumn;
        context->drawString(tab + 1, second, false, kLeftText);
    } else {
        context->drawString(text, textRect, false, kLeftText);
    }
}

// --- SchemePainter

SchemePainter::SchemePainter(COptionMenuScheme* scheme, int32_t scale)
    : scheme_(scheme), scale_(isScaleStep(scale) ? scale : 100) {
    if (scheme_) scheme_->remember();
}

SchemePainter::~SchemePainter() {
    if (scheme_) scheme_->forget();
}

CPoint SchemePainter::measure(const PopupItem& item) {
    CPoint size;
    ScopedContext context(nullptr, scale_);
    scheme_->getItemSize(item.text, context.get(), size);
    return scale_ == 100 ? size : toPixels(size, scale_);
}

void SchemePainter::draw(const PopupItem& item, int32_t state, PixelSurface& surface, const CRect& rect) {
    // Items are drawn as the desktop's owner-drawn items are: into their
    // rectangle made one pixel taller.
    if (scale_ == 100) {
        ScopedContext context(&surface, 100);
        scheme_->drawItem(item.text, item.command, state, context.get(),
                          CRect(rect.left, rect.top, rect.right, rect.bottom + 1));
        return;
    }
    // A scaled item may start at any pixel, not only at a scaled view
    // coordinate: it is drawn in view units on a surface of its own, over
    // what lies there already, and copied into place.
    PixelSurface own(rect.width(), rect.height());
    own.copy(surface, own.bounds(), rect.topLeft());
    {
        ScopedContext context(&own, scale_);
        const CRect units = coveringViewRect(own.bounds(), scale_);
        scheme_->drawItem(item.text, item.command, state, context.get(),
                          CRect(0, 0, units.right, units.bottom + 1));
    }
    surface.copy(own, rect, CPoint(0, 0));
}

void SchemePainter::drawBackground(PixelSurface& surface, const CRect& rect) {
    ScopedContext context(&surface, 100);
    // fillRect leaves the top row and left column: start one pixel earlier.
    scheme_->drawItemBack(context.get(), CRect(rect.left - 1, rect.top - 1, rect.right, rect.bottom), false);
}

}  // namespace VSTGUI
