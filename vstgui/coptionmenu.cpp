#include "vstgui/coptionmenu.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <new>

#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/coptionmenuscheme.h"

namespace VSTGUI {

namespace {

// Pop-up columns are honoured only below this many entries: a huge menu in
// narrow columns would be wider than any screen.
constexpr int32_t kMaxEntriesForColumns = 160;
// Sub-menus nest at most this deep: a menu that (indirectly) holds itself
// shows up to here instead of recursing without end.
constexpr int32_t kMaxDepth = 16;
// Bit 64 (a button of other platforms, never set here) opens the pop-up too.
constexpr int32_t kOpeningButtons = kLButton | kRButton | 64;

bool isSeparator(const std::string& text) { return text == "-"; }
bool hasMarker(const std::string& text, const char* marker) { return text.compare(0, 2, marker) == 0; }
bool isTitle(const std::string& text) { return hasMarker(text, "-T"); }

std::string cut(const char* text) { return std::string(text, strnlen(text, COptionMenu::kMaxEntryLength)); }

// text numbered with position (1-based) for a prefix of width digits and a
// space; marker ("-M" or "") goes first.
std::string numbered(const char* marker, int32_t width, int32_t position, const char* text) {
    const char* format = width == 2 ? "%s%1d %s" : width == 3 ? "%s%02d %s" : "%s%03d %s";
    char buffer[COptionMenu::kMaxEntryLength + 1];
    std::snprintf(buffer, sizeof buffer, format, marker, position, text);
    return buffer;
}

bool numbers(int32_t width) { return width >= 2 && width <= 4; }

}  // namespace

COptionMenu::COptionMenu(const CRect& size, CControlListener* listener, int32_t tag, CBitmap* background,
                         CBitmap* bgWhenClick, int32_t style)
    : CParamDisplay(size, background, style), bgWhenClick(bgWhenClick) {
    setListener(listener);
    setTag(tag);
    if (bgWhenClick) bgWhenClick->remember();
}

COptionMenu::~COptionMenu() {
    removeAllEntry();
    if (bgWhenClick) bgWhenClick->forget();
    if (scheme) scheme->forget();
}

bool COptionMenu::isTypeOf(const char* className) const {
    return (className && std::strcmp(className, "COptionMenu") == 0) || CParamDisplay::isTypeOf(className);
}

void COptionMenu::setScheme(COptionMenuScheme* newScheme) {
    if (newScheme) newScheme->remember();
    if (scheme) scheme->forget();
    scheme = newScheme;
}

COptionMenu* COptionMenu::getSubMenu(int32_t index) const {
    return index >= 0 && index < int32_t(subMenus.size()) ? subMenus[size_t(index)] : nullptr;
}

// --- entries

bool COptionMenu::addEntry(const char* text, int32_t index) {
    const int32_t count = getNbEntries();
    if (!text || count >= kMaxEntries) return false;
    const int32_t position = index >= 0 && index < count ? index : count;
    try {
        entries.insert(entries.begin() + position,
                       numbers(prefixNumbers) ? numbered("", prefixNumbers, position + 1, text) : cut(text));
        check.insert(check.begin() + position, 0);
    } catch (const std::bad_alloc&) {
        if (int32_t(entries.size()) > count) entries.erase(entries.begin() + position);
        return false;
    }
    if (index >= 0 && currentIndex >= position) ++currentIndex;
    if (currentIndex == -1) currentIndex = 0;
    return true;
}

bool COptionMenu::addEntry(COptionMenu* subMenu, const char* text) {
    const int32_t count = getNbEntries();
    if (!subMenu || !text || count >= kMaxEntries) return false;
    try {
        subMenus.reserve(subMenus.size() + 1);
        entries.push_back(numbers(prefixNumbers) ? numbered("-M", prefixNumbers, count + 1, text)
                                                 : cut((std::string("-M") + text).c_str()));
        check.push_back(0);
    } catch (const std::bad_alloc&) {
        if (int32_t(entries.size()) > count) entries.pop_back();
        return false;
    }
    subMenu->remember();
    subMenus.push_back(subMenu);
    if (currentIndex == -1) currentIndex = 0;
    return true;
}

bool COptionMenu::getEntry(int32_t index, char* text) const {
    if (index < 0 || index >= getNbEntries()) return false;
    if (text) std::strcpy(text, entries[size_t(index)].c_str());
    return true;
}

bool COptionMenu::setEntry(int32_t index, const char* text) {
    if (!text || index < 0 || index >= getNbEntries()) return false;
    entries[size_t(index)] = cut(text);
    return true;
}

bool COptionMenu::removeEntry(int32_t index) {
    if (index < 0 || index >= getNbEntries()) return false;
    entries.erase(entries.begin() + index);
    check.erase(check.begin() + index);
    if (currentIndex >= index) --currentIndex;
    if (entries.empty()) currentIndex = -1;
    return true;
}

bool COptionMenu::removeAllEntry() {
    entries.clear();
    check.clear();
    for (COptionMenu* subMenu : subMenus) subMenu->forget();
    subMenus.clear();
    currentIndex = -1;
    return true;
}

int32_t COptionMenu::getIndex(const char* text) const {
    if (!text) return -1;
    for (size_t i = 0; i < entries.size(); ++i)
        if (entries[i] == text) return int32_t(i);
    return -1;
}

bool COptionMenu::checkEntry(int32_t index, bool checked) {
    if (index < 0 || index >= getNbEntries()) return false;
    check[size_t(index)] = checked ? 1 : 0;
    return true;
}

bool COptionMenu::checkEntryAlone(int32_t index) {
    if (index < 0 || index >= getNbEntries()) return false;
    std::fill(check.begin(), check.end(), 0);
    check[size_t(index)] = 1;
    return true;
}

bool COptionMenu::isCheckEntry(int32_t index) const {
    return index >= 0 && index < getNbEntries() && check[size_t(index)] != 0;
}

// --- selection

bool COptionMenu::setCurrent(int32_t index, bool countSeparator) {
    if (index < 0 || index >= getNbEntries()) return false;
    int32_t position = index;
    if (countSeparator) {
        if (isSeparator(entries[size_t(index)])) return false;
    } else {
        // The index-th entry that is neither a separator nor a title.
        position = -1;
        for (int32_t i = 0, n = 0; i < getNbEntries(); ++i) {
            if (isSeparator(entries[size_t(i)]) || isTitle(entries[size_t(i)])) continue;
            if (n++ == index) {
                position = i;
                break;
            }
        }
        if (position < 0) return false;
    }
    currentIndex = position;
    if ((style & kMultipleCheckStyle) == kMultipleCheckStyle) check[size_t(position)] ^= 1;
    setDirty(true);
    return true;
}

int32_t COptionMenu::getCurrent(char* text, bool countSeparator) const {
    if (currentIndex < 0 || currentIndex >= getNbEntries()) return -1;
    if (text) std::strcpy(text, entries[size_t(currentIndex)].c_str());
    if (countSeparator) return currentIndex;
    int32_t n = 0;
    for (int32_t i = 0; i < currentIndex; ++i)
        if (!isSeparator(entries[size_t(i)]) && !isTitle(entries[size_t(i)])) ++n;
    return n;
}

void COptionMenu::setValue(float newValue) {
    // The integer part (toward zero) lies in 0..n-1 exactly when the value
    // lies in (-1, n); NaN fails both tests.
    if (!(newValue > -1.f && newValue < float(getNbEntries()))) return;
    const int32_t index = int32_t(newValue);
    currentIndex = index;
    if ((style & kMultipleCheckStyle) == kMultipleCheckStyle) check[size_t(index)] ^= 1;
    CParamDisplay::setValue(newValue);
    setDirty(true);
}

// --- drawing

const char* COptionMenu::shownText() const {
    if (currentIndex < 0 || currentIndex >= getNbEntries()) return nullptr;
    const std::string& text = entries[size_t(currentIndex)];
    // An entry added before the numbering was switched on has no prefix to skip.
    return text.c_str() + std::min(size_t(std::max(prefixNumbers, 0)), text.size());
}

void COptionMenu::draw(CDrawContext* context) { drawText(context, shownText()); }

// --- the pop-up

void COptionMenu::mouse(CDrawContext* context, const CPoint&, int32_t buttons) {
    if (!bMouseEnabled || !getFrame() || !context) return;
    lastButton = buttons == kButtonsUnread ? context->getMouseButtons() : buttons;
    if (offerModifierClick(context, buttons)) return;
    if (!(lastButton & kOpeningButtons)) return;
    if (bgWhenClick) drawText(context, shownText(), bgWhenClick);
    beginEdit();
    takeFocus(context);
}

void COptionMenu::looseFocus(CDrawContext* context) { CParamDisplay::looseFocus(context); }

PopupPlacement COptionMenu::placement(CDrawContext* context) const {
    CFrame* frame = getFrame();
    CPoint origin;
    if (context)
        origin = context->offsetScreen;
    else if (PlatformWindow* window = frame->getPlatformWindow())
        origin = window->getScreenOrigin();
    // The control's size is in its parent's coordinates: add each
    // container's top-left on the way up.
    for (CView* parent = getParentView(); parent; parent = parent->getParentView()) {
        if (parent->notify(const_cast<COptionMenu*>(this), kMsgCheckIfViewContainer) == kMessageNotified) {
            CRect parentSize;
            parent->getViewSize(parentSize);
            origin.offset(parentSize.left, parentSize.top);
        }
    }
    const bool over = (style & kPopupStyle) != 0;
    PopupPlacement result;
    result.where = CPoint(origin.h + size.left, origin.v + (over ? size.top : size.bottom));
    result.flipBottom = origin.v + (over ? size.bottom : size.top);
    result.rightButton = (lastButton & kRButton) != 0;
    return result;
}

void COptionMenu::buildPopup(PopupMenu& popup, int32_t& counter, int32_t depth) const {
    const int32_t first = counter;
    counter += getNbEntries();
    popup.ownerDrawn = scheme != nullptr;
    const bool columns = getNbEntries() < kMaxEntriesForColumns && nbItemsPerColumn > 0;
    const bool multiple = (style & kMultipleCheckStyle) == kMultipleCheckStyle;
    int32_t items = 0;  // appended so far: columns count them
    size_t nextSubMenu = 0;
    for (int32_t i = 0; i < getNbEntries(); ++i) {
        const std::string& text = entries[size_t(i)];
        PopupItem item;
        item.text = text.c_str();
        if (isSeparator(text)) {
            item.separator = true;
            popup.items.push_back(item);
            ++items;
            continue;
        }
        item.columnBreak = columns && items > 0 && items % nbItemsPerColumn == 0;
        if (hasMarker(text, "-M")) {
            // Left out when no sub-menu remains for it (or nesting is too deep).
            if (nextSubMenu >= subMenus.size() || depth >= kMaxDepth) continue;
            PopupMenu sub;
            subMenus[nextSubMenu++]->buildPopup(sub, counter, depth + 1);
            item.text += 2;
            item.subMenu = int32_t(popup.subMenus.size());
            popup.subMenus.push_back(std::move(sub));
        } else if (hasMarker(text, "-G") || isTitle(text)) {
            item.text += 2;
            item.state = kPopupItemDisabled;
        } else {
            item.command = first + i;
            if (multiple ? check[size_t(i)] != 0 : (style & kCheckStyle) && i == currentIndex)
                item.state = kPopupItemChecked;
        }
        popup.items.push_back(item);
        ++items;
    }
}

COptionMenu* COptionMenu::findMenu(int32_t command, int32_t& offset, int32_t& index, int32_t depth) {
    const int32_t first = offset;
    offset += getNbEntries();
    if (command < offset) {
        index = command - first;
        return this;
    }
    if (depth >= kMaxDepth) return nullptr;
    for (COptionMenu* subMenu : subMenus)
        if (COptionMenu* found = subMenu->findMenu(command, offset, index, depth + 1)) return found;
    return nullptr;
}

void COptionMenu::takeFocus(CDrawContext* context) {
    CFrame* frame = getFrame();
    if (!frame) return;
    // The listener may remove the menu from its frame: hold both.
    ScopedReference<CFrame> keepFrame(frame);
    ScopedReference<COptionMenu> keep(this);
    lastResult = -1;
    lastMenu = nullptr;

    int32_t result = -1;
    if (PlatformPopup* popup = frame->getPlatformPopup()) {
        PopupMenu menu;
        int32_t counter = 0;
        buildPopup(menu, counter, 0);
        // Without a scheme of its own the pop-up shows the desktop's colours.
        // Its items are as large as the frame's controls.
        COptionMenuScheme* painterScheme = scheme ? scheme : new COptionMenuScheme;
        SchemePainter painter(painterScheme, frame->getScale());
        if (!scheme) painterScheme->forget();
        result = popup->track(menu, placement(context), painter);
        if (result >= 0) lastResult = result;
    }

    if (result != -1 || bgWhenClick) {
        CDrawContext* temporary = !context && result != -1 ? frame->createDrawContext() : nullptr;
        CDrawContext* used = context ? context : temporary;
        if (bgWhenClick) setDirty(true);
        if (result != -1) {
            int32_t offset = 0, index = -1;
            if (COptionMenu* chosen = findMenu(result, offset, index, 0)) {
                lastMenu = chosen;
                chosen->setValue(float(index));
                if (listener) listener->valueChanged(used, chosen);
            }
        }
        if (temporary) temporary->forget();
    }
    frame->setFocusView(nullptr);
    endEdit();
}

}  // namespace VSTGUI
