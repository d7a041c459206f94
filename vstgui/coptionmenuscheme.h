// COptionMenuScheme: how an option menu's pop-up items look.
//
// Five colours and a font; the pop-up asks the scheme for each item's size
// (getItemSize) and has it draw each item (drawItem) with the item's state:
// checked (a dot at the left), disabled (greyed text), selected (under the
// pointer: highlighted background and text). A separator ("-") is a thin
// sunken line. Text is left-aligned 18 pixels in, leaving room for the dot;
// a tab splits an item into its text and a second column 50 pixels from the
// item's right edge.
//
// SchemePainter adapts a scheme to the platform's pop-up (PopupItemPainter).
//
// Reference counted; the menu that holds it releases it with itself. GUI
// thread only.
#pragma once

#include <cstdint>

#include "vstgui/ccolor.h"
#include "vstgui/creferencecounter.h"
#include "vstgui/crect.h"
#include "vstgui/fonts.h"
#include "vstgui/platform.h"

namespace VSTGUI {

class CDrawContext;

class COptionMenuScheme : public CReferenceCounter {
public:
    // Item state bits given to drawItem.
    enum {
        kChecked = kPopupItemChecked,
        kDisabled = kPopupItemDisabled,
        kSelected = kPopupItemSelected,
    };

    // The desktop's menu colours (light grey items, blue selection) and the
    // small normal font.
    COptionMenuScheme();

    void setColors(const CColor& background, const CColor& selection, const CColor& text,
                   const CColor& hiliteText, const CColor& disableText);

    // "-" is 6 x 18; any other text its width in the scheme's font + 18 by 18.
    virtual void getItemSize(const char* text, CDrawContext* context, CPoint& size);
    // Draws item itemNumber (unused here) with state into rect.
    virtual void drawItem(const char* text, int32_t itemNumber, int32_t state, CDrawContext* context,
                          const CRect& rect);
    // Fills rect (fillRect's rule: not its top row and left column) with the
    // selection or background colour.
    virtual void drawItemBack(CDrawContext* context, const CRect& rect, bool highlighted);

    CColor getBackgroundColor() const { return backgroundColor; }
    CColor getSelectionColor() const { return selectionColor; }
    CColor getTextColor() const { return textColor; }
    CColor getHiliteTextColor() const { return hiliteTextColor; }
    CColor getDisableTextColor() const { return disableTextColor; }
    int32_t getFont() const { return font; }

protected:
    CColor backgroundColor;
    CColor selectionColor;
    CColor textColor;
    CColor hiliteTextColor;
    CColor disableTextColor;
    int32_t font = kNormalFontSmall;
};

// Measures and draws a pop-up's items with scheme, on surfaces the platform
// provides, at the editor's scale: sizes in pixels of that scale, text
// rendered at the scaled height. Holds a reference to the scheme while it
// lives.
class SchemePainter final : public PopupItemPainter {
public:
    explicit SchemePainter(COptionMenuScheme* scheme, int32_t scale = 100);
    ~SchemePainter() override;
    SchemePainter(const SchemePainter&) = delete;
    SchemePainter& operator=(const SchemePainter&) = delete;

    CPoint measure(const PopupItem& item) override;
    void draw(const PopupItem& item, int32_t state, PixelSurface& surface, const CRect& rect) override;
    void drawBackground(PixelSurface& surface, const CRect& rect) override;
    int32_t scale() const override { return scale_; }

private:
    COptionMenuScheme* scheme_;
    int32_t scale_;
};

}  // namespace VSTGUI
