// Probe: a test view that paints its rectangle in one colour and records
// every call the tree makes on it.
#pragma once

#include <string>
#include <vector>

#include "vstgui/cdrawcontext.h"
#include "vstgui/cview.h"

class Probe : public VSTGUI::CView {
public:
    using CView::onWheel;

    explicit Probe(const VSTGUI::CRect& size, VSTGUI::CColor color = VSTGUI::kRedCColor,
                   std::vector<std::string>* log = nullptr, const char* name = "probe")
        : CView(size), color(color), log(log), name(name) {}
    ~Probe() override {
        if (destroyed) *destroyed = true;
        note("destroyed");
    }

    // Fills exactly size (fillRect leaves the top row and left column).
    void draw(VSTGUI::CDrawContext* context) override {
        ++draws;
        context->setFillColor(color);
        context->fillRect(VSTGUI::CRect(size.left - 1, size.top - 1, size.right, size.bottom));
        setDirty(false);
    }
    void drawRect(VSTGUI::CDrawContext* context, const VSTGUI::CRect& update) override {
        lastUpdate = update;
        CView::drawRect(context, update);
    }
    void mouse(VSTGUI::CDrawContext*, const VSTGUI::CPoint& where, int32_t buttons) override {
        ++clicks;
        lastWhere = where;
        lastButtons = buttons;
    }
    int32_t onKeyDown(VstKeyCode&) override {
        note("keyDown");
        return keyResult;
    }
    int32_t onKeyUp(VstKeyCode&) override {
        note("keyUp");
        return keyResult;
    }
    bool onWheel(VSTGUI::CDrawContext*, const VSTGUI::CPoint& where, float distance) override {
        lastWhere = where;
        lastDistance = distance;
        return true;
    }
    bool onDrop(VSTGUI::CDrawContext*, VSTGUI::CDragContainer*, const VSTGUI::CPoint& where) override {
        lastWhere = where;
        note("drop");
        return true;
    }
    void onDragEnter(VSTGUI::CDrawContext*, VSTGUI::CDragContainer*, const VSTGUI::CPoint& where) override {
        lastWhere = where;
        note("enter");
    }
    void onDragLeave(VSTGUI::CDrawContext*, VSTGUI::CDragContainer*, const VSTGUI::CPoint&) override {
        note("leave");
    }
    void onDragMove(VSTGUI::CDrawContext*, VSTGUI::CDragContainer*, const VSTGUI::CPoint& where) override {
        lastWhere = where;
        note("move");
    }
    void looseFocus(VSTGUI::CDrawContext*) override { note("looseFocus"); }
    bool removed(VSTGUI::CView* parent) override {
        note("removed");
        return CView::removed(parent);
    }

    void note(const char* what) {
        if (log) log->push_back(name + ":" + what);
    }

    VSTGUI::CColor color;
    std::vector<std::string>* log;
    std::string name;
    bool* destroyed = nullptr;
    int draws = 0;
    int clicks = 0;
    int32_t keyResult = -1;
    int32_t lastButtons = 0;
    float lastDistance = 0.f;
    VSTGUI::CPoint lastWhere;
    VSTGUI::CRect lastUpdate;
};
