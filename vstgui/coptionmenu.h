// COptionMenu: a choice among text entries, shown as the current entry's
// text and chosen from a pop-up menu.
//
// A display (CParamDisplay) whose value is the 0-based position of the
// chosen entry (2.0 is the third). A left or right click opens the pop-up
// below the control (over it with kPopupStyle); choosing an entry sets the
// value and tells the listener, framed by begin and end of an edit gesture;
// a dismissed pop-up sends nothing but still ends the gesture.
//
// Entries are texts of at most 255 characters; some first characters mean
// more: exactly "-" is a separator, "-M" a sub-menu entry (the sub-menus are
// matched to "-M" entries in order), "-T" a title and "-G" a greyed entry,
// both shown but not choosable. With prefix numbers 2, 3 or 4 each entry is
// stored with its 1-based position in front ("01 abc" for 3) and shown
// without it. At most 1024 entries.
//
// The pop-up is the platform's (PlatformPopup); its items are measured and
// drawn by the menu's COptionMenuScheme, or by the desktop's colours when
// it has none. Items are numbered across the menu and its sub-menus (this
// menu's entries first, then each sub-menu's in turn), so a number names
// one entry of one (sub-)menu: getLastResult, getLastItemMenu.
//
// [ui thread] only; the pop-up is a modal loop inside mouse.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "vstgui/cparamdisplay.h"
#include "vstgui/platform.h"

namespace VSTGUI {

class COptionMenuScheme;

class COptionMenu : public CParamDisplay {
public:
    static constexpr int32_t kMaxEntries = 1024;
    static constexpr int32_t kMaxEntryLength = 255;

    COptionMenu(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background = nullptr,
                CBitmap* bgWhenClick = nullptr, int32_t style = 0);
    // Removes every entry, forgets the sub-menus, bgWhenClick and the scheme.
    ~COptionMenu() override;

    // The current entry's text without its prefix number.
    void draw(CDrawContext* context) override;
    // Left or right click (offered to the listener first with a modifier):
    // begins the edit and pops the menu up (takeFocus).
    void mouse(CDrawContext* context, const CPoint& where, int32_t buttons = kButtonsUnread) override;
    void looseFocus(CDrawContext* context = nullptr) override;
    // The pop-up: shows it, waits for the choice, sets the chosen (sub-)menu's
    // value, tells the listener, then ends the focus and the edit.
    void takeFocus(CDrawContext* context = nullptr) override;
    bool isTypeOf(const char* className) const override;
    // Selects the entry at the value's integer part (toward zero) and marks
    // the menu dirty even when it was current; values outside the entries
    // (and NaN) change nothing at all.
    void setValue(float value) override;

    // Inserts text at index (-1 or past the end: appends). False when full
    // or without text.
    virtual bool addEntry(const char* text, int32_t index = -1);
    // Appends a sub-menu entry ("-M" + text); the menu holds a reference.
    virtual bool addEntry(COptionMenu* subMenu, const char* text);
    // The current position (or, without counting separators, its place among
    // the entries that are neither separators nor titles); -1 for none. text
    // (256 bytes) receives the entry when given.
    virtual int32_t getCurrent(char* text = nullptr, bool countSeparator = true) const;
    virtual bool setCurrent(int32_t index, bool countSeparator = true);
    // text: 256 bytes.
    virtual bool getEntry(int32_t index, char* text) const;
    virtual bool setEntry(int32_t index, const char* text);
    virtual bool removeEntry(int32_t index);
    virtual bool removeAllEntry();
    virtual int32_t getNbEntries() const { return int32_t(entries.size()); }
    // The first entry with exactly text, or -1.
    virtual int32_t getIndex(const char* text) const;
    virtual bool checkEntry(int32_t index, bool checked);
    // Clears every check mark and sets index's.
    virtual bool checkEntryAlone(int32_t index);
    virtual bool isCheckEntry(int32_t index) const;
    // Entries per pop-up column; -1 or 0 for one column.
    virtual void setNbItemsPerColumn(int32_t count) { nbItemsPerColumn = count; }
    virtual int32_t getNbItemsPerColumn() const { return nbItemsPerColumn; }
    virtual COptionMenuScheme* getScheme() const { return scheme; }
    // 0, or 2, 3, 4 for numbered entries (the prefix's width: digits and a
    // space). Affects entries added afterwards.
    virtual void setPrefixNumbers(int32_t width) { prefixNumbers = width; }

    // The scheme that draws the pop-up; the menu takes a reference (the
    // caller keeps its own) and gives back the previous one's.
    void setScheme(COptionMenuScheme* newScheme);
    // The item number of the last choice, -1 when the last pop-up was
    // dismissed.
    int32_t getLastResult() const { return lastResult; }
    // The (sub-)menu whose entry was chosen last (none after a dismissal).
    COptionMenu* getLastItemMenu() const { return lastMenu; }
    COptionMenu* getSubMenu(int32_t index) const;

protected:
    // Appends this menu's items to popup, numbering them from counter
    // (advanced past this menu's and its sub-menus' numbers).
    void buildPopup(PopupMenu& popup, int32_t& counter, int32_t depth) const;
    // The (sub-)menu and entry of item number command; none when no menu
    // claims it.
    COptionMenu* findMenu(int32_t command, int32_t& offset, int32_t& index, int32_t depth);
    // Where the pop-up goes: below the control (over it with kPopupStyle).
    PopupPlacement placement(CDrawContext* context) const;
    const char* shownText() const;

    std::vector<std::string> entries;
    std::vector<uint8_t> check;
    std::vector<COptionMenu*> subMenus;
    int32_t currentIndex = -1;
    CBitmap* bgWhenClick = nullptr;
    int32_t lastButton = kRButton;
    int32_t nbItemsPerColumn = -1;
    int32_t lastResult = -1;
    int32_t prefixNumbers = 0;
    COptionMenu* lastMenu = nullptr;
    COptionMenuScheme* scheme = nullptr;
};

}  // namespace VSTGUI
