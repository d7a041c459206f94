// Writes a PNG of a small view tree drawn through the frame's off-screen
// buffer: the background bitmap, film-strip knobs drawn with a key colour,
// a drawn knob, switches, value displays, a nested container with text in
// every alignment, and shapes.
//
//   vstgui_picture out.png
#include <png.h>

#include <cstdio>
#include <vector>

#include "fakeplatform.h"
#include "vstgui/canimknob.h"
#include "vstgui/cbitmap.h"
#include "vstgui/cdrawcontext.h"
#include "vstgui/cframe.h"
#include "vstgui/conoffbutton.h"
#include "vstgui/cparamdisplay.h"

using namespace VSTGUI;

namespace {

class Label : public CView {
public:
    Label(const CRect& size, const char* text, CHoriTxtAlign align, CFont font, int32_t style = 0)
        : CView(size), text(text), align(align), font(font), style(style) {}
    void draw(CDrawContext* context) override {
        context->setFillColor(CColor{20, 20, 24, 255});
        context->fillRect(CRect(size.left - 1, size.top - 1, size.right, size.bottom));
        context->setFrameColor(CColor{90, 90, 100, 255});
        context->drawRect(size);
        context->setFont(font, 0, style);
        context->setFontColor(CColor{100, 200, 255, 255});
        context->drawString(text, size, false, align);
        setDirty(false);
    }
    const char* text;
    CHoriTxtAlign align;
    CFont font;
    int32_t style;
};

class Shapes : public CView {
public:
    using CView::CView;
    void draw(CDrawContext* context) override {
        context->setFillColor(kYellowCColor);
        context->fillEllipse(CRect(size.left, size.top, size.left + 60, size.top + 40));
        context->setFrameColor(kMagentaCColor);
        context->drawRect(CRect(size.left + 70, size.top, size.left + 130, size.top + 40));
        context->setFrameColor(kCyanCColor);
        for (int i = 0; i < 5; ++i) {
            context->moveTo(CPoint(size.left + 140, size.top + i * 10));
            context->lineTo(CPoint(size.right - 1, size.bottom - 1 - i * 10));
        }
        setDirty(false);
    }
};

bool writePng(const char* path, const PixelSurface& s) {
    FILE* file = std::fopen(path, "wb");
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    png_infop info = png_create_info_struct(png);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        std::fclose(file);
        return false;
    }
    png_init_io(png, file);
    png_set_IHDR(png, info, png_uint_32(s.width()), png_uint_32(s.height()), 8, PNG_COLOR_TYPE_RGB,
                 PNG_INTERLACE_NONE, PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    std::vector<png_byte> row(size_t(s.width()) * 3);
    for (int32_t y = 0; y < s.height(); ++y) {
        for (int32_t x = 0; x < s.width(); ++x) {
            const Pixel p = s.pixel(x, y);
            row[size_t(x) * 3] = png_byte(p >> 16);
            row[size_t(x) * 3 + 1] = png_byte(p >> 8);
            row[size_t(x) * 3 + 2] = png_byte(p);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fclose(file) == 0;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s out.png\n", argv[0]);
        return 2;
    }
    fake::Platform platform(600, 500);
    auto* background = new CBitmap(128);
    auto* strip = new CBitmap(129);
    strip->setTransparentColor(kBlackCColor);
    auto* switchA = new CBitmap(130);
    auto* switchB = new CBitmap(131);

    auto* frame = new CFrame(CRect(0, 0, 600, 500), platform.parent(), nullptr, platform);
    frame->setBackground(background);
    for (int32_t i = 0; i < 8; ++i) {
        auto* knob = new CAnimKnob(CRect(30 + i * 60, 30, 70 + i * 60, 70), nullptr, i, 80, 40, strip, CPoint());
        knob->setTransparency(true);  // see-through where the strip is black
        knob->setValue(float(i) / 7.f);
        frame->addView(knob);
    }
    auto* drawnKnob = new CKnob(CRect(510, 90, 550, 130), nullptr, 8, nullptr, nullptr, CPoint());
    drawnKnob->setValue(0.3f);
    frame->addView(drawnKnob);
    auto* off = new COnOffButton(CRect(30, 100, 60, 120), nullptr, 9, switchA);
    auto* on = new COnOffButton(CRect(80, 100, 110, 120), nullptr, 10, switchB);
    on->setValue(1.f);
    frame->addView(off);
    frame->addView(on);
    auto* display = new CParamDisplay(CRect(140, 95, 240, 125), nullptr, k3DIn);
    display->setBackColor(CColor{40, 40, 40, 255});
    display->setFrameColor(CColor{200, 200, 200, 255});
    display->setValue(0.5f);
    frame->addView(display);
    auto* shadowed = new CParamDisplay(CRect(260, 95, 380, 125), nullptr, kShadowText);
    shadowed->setFont(kNormalFontBig);
    shadowed->setStringConvert([](float value, char* text) { std::snprintf(text, 256, "%d %%", int(value * 100)); });
    shadowed->setValue(0.75f);
    frame->addView(shadowed);

    auto* panel = new CViewContainer(CRect(30, 150, 570, 470));
    panel->setBackgroundColor(CColor{48, 48, 56, 255});
    panel->addView(new Label(CRect(10, 10, 260, 30), "LP 24dB (left)", kLeftText, kNormalFont));
    panel->addView(new Label(CRect(10, 40, 260, 60), "Saw Bass (centre)", kCenterText, kNormalFontBig));
    panel->addView(new Label(CRect(10, 70, 260, 90), "CUTOFF (right)", kRightText, kSystemFont));
    panel->addView(new Label(CRect(280, 10, 530, 30), "Underlined italic", kLeftText, kNormalFont,
                             kUnderlineFace | kItalicFace));
    panel->addView(new Label(CRect(280, 40, 530, 60), "abgdef (Symbol)", kCenterText, kSymbolFont));
    panel->addView(new Label(CRect(280, 70, 530, 90), "Very big 18 px", kCenterText, kNormalFontVeryBig));
    panel->addView(new Shapes(CRect(10, 120, 530, 200)));
    frame->addView(panel);

    CDrawContext* context = frame->createDrawContext();
    frame->draw(context);
    context->forget();
    const bool written = writePng(argv[1], platform.window.surface);

    frame->forget();
    background->forget();
    strip->forget();
    switchA->forget();
    switchB->forget();
    if (!written) {
        std::fprintf(stderr, "could not write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
