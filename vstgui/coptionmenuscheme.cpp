#include "vstgui/coptionmenuscheme.h"

#include <cstring>
#include <string>

#include "vstgui/cdrawcontext.h"
#include "vstgui/pixelsurface.h"

namespace VSTGUI {

namespace {

// Room left of the text for the check dot, and the item height.
constexpr int32_t kTextIndent = 18;
constexpr int32_t kItemHeight = 18;
constexpr int32_t kSeparatorWidth = 6;
// The second (tab) column starts this far left of the item's right edge.
constexpr int32_t kTabColumn = 50;
// The separator's two lines: a shadow over a light edge, half transparent
// where the platform can blend (ours draws them opaque).
constexpr CColor kSeparatorShadow{0, 0, 0, 150};
constexpr CColor kSeparatorLight{255, 255, 255, 150};

bool isSeparator(const char* text) { return text && std::strcmp(text, "-") == 0; }

// Drawing contexts are reference counted: one for the length of a call.
class ScopedContext {
public:
    explicit ScopedContext(PixelSurface* surface) : context_(new CDrawContext(nullptr, surface, nullptr)) {}
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
        context->setFrameColor(kSeparatorShadow);
        context->moveTo(CPoint(rect.left + 2, y - 1));
        context->lineTo(CPoint(rect.right - 2, y - 1));
        context->setFrameColor(kSeparatorLight);
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

SchemePainter::SchemePainter(COptionMenuScheme* scheme) : scheme_(scheme) {
    if (scheme_) scheme_->remember();
}

SchemePainter::~SchemePainter() {
    if (scheme_) scheme_->forget();
}

CPoint SchemePainter::measure(const PopupItem& item) {
    CPoint size;
    ScopedContext context(nullptr);
    scheme_->getItemSize(item.text, context.get(), size);
    return size;
}

void SchemePainter::draw(const PopupItem& item, int32_t state, PixelSurface& surface, const CRect& rect) {
    ScopedContext context(&surface);
    // Items are drawn as the desktop's owner-drawn items are: into their
    // rectangle made one pixel taller.
    scheme_->drawItem(item.text, item.command, state, context.get(),
                      CRect(rect.left, rect.top, rect.right, rect.bottom + 1));
}

void SchemePainter::drawBackground(PixelSurface& surface, const CRect& rect) {
    ScopedContext context(&surface);
    // fillRect leaves the top row and left column: start one pixel earlier.
    scheme_->drawItemBack(context.get(), CRect(rect.left - 1, rect.top - 1, rect.right, rect.bottom), false);
}

}  // namespace VSTGUI
