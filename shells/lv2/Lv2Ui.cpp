// The LV2 UI: the instrument's own editor, embedded in the host's window.
// It reaches the plug-in through instance access (the editor belongs to the
// instrument) and hands the editor's gestures to the host as port writes,
// bracketed by touch where the host offers it. lv2ui_descriptor is the
// only name the UI side of the binary exports.
#include <X11/Xlib.h>
#include <lv2/atom/atom.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/options/options.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <cstring>
#include <new>

#include "shells/lv2/Lv2Identity.h"
#include "shells/lv2/Lv2Instance.h"

namespace {

const void* feature(const LV2_Feature* const* features, const char* uri) {
    for (; features && *features; ++features)
        if (std::strcmp((*features)->URI, uri) == 0) return (*features)->data;
    return nullptr;
}

// The window the editor made in parent: the newest child.
Window editorWindow(Window parent) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return 0;
    Window root = 0, up = 0, found = 0;
    Window* children = nullptr;
    unsigned count = 0;
    if (XQueryTree(display, parent, &root, &up, &children, &count) && count > 0) found = children[count - 1];
    if (children) XFree(children);
    XCloseDisplay(display);
    return found;
}

class Lv2Ui : public Lv2PortWriter {
public:
    Lv2Ui(Lv2Instance& instance, LV2UI_Write_Function write, LV2UI_Controller controller,
          const LV2_Feature* const* features)
        : instance_(instance), write_(write), controller_(controller) {
        touch_ = static_cast<const LV2UI_Touch*>(feature(features, LV2_UI__touch));
        resize_ = static_cast<const LV2UI_Resize*>(feature(features, LV2_UI__resize));
        readScale(features);
    }

    // [ui thread] Opens the editor in parent; false when it cannot.
    bool open(Window parent, LV2UI_Widget* widget) {
        Instrument& instrument = instance_.instrument();
        if (!instrument.hasEditor()) return false;
        if (scaled_) instrument.setEditorScale(scale_);
        if (!instrument.openEditor(reinterpret_cast<void*>(parent))) return false;
        instance_.attachWriter(this);
        int width = 0, height = 0;
        if (resize_ && instrument.editorSize(width, height)) resize_->ui_resize(resize_->handle, width, height);
        *widget = reinterpret_cast<LV2UI_Widget>(editorWindow(parent));
        return true;
    }

    ~Lv2Ui() override {
        instance_.attachWriter(nullptr);
        instance_.instrument().closeEditor();
    }

    void idle() { instance_.instrument().idleEditor(); }

    void touch(int index, bool grabbed) override {
        if (touch_) touch_->touch(touch_->handle, std::uint32_t(index), grabbed);
    }
    void write(int index, float value) override {
        write_(controller_, std::uint32_t(index), sizeof value, 0, &value);
    }

private:
    // The host's scale for the editor (ui:scaleFactor), handed to it at open.
    void readScale(const LV2_Feature* const* features) {
        auto* map = static_cast<const LV2_URID_Map*>(feature(features, LV2_URID__map));
        auto* options = static_cast<const LV2_Options_Option*>(feature(features, LV2_OPTIONS__options));
        if (!map || !options) return;
        const LV2_URID key = map->map(map->handle, LV2_UI__scaleFactor);
        const LV2_URID floatType = map->map(map->handle, LV2_ATOM__Float);
        for (; options->key; ++options)
            if (options->key == key && options->type == floatType && options->size == sizeof(float)) {
                const float s = *static_cast<const float*>(options->value);
                if (s >= 1.0f && s <= 3.0f) scale_ = s, scaled_ = true;
            }
    }

    Lv2Instance& instance_;
    LV2UI_Write_Function write_;
    LV2UI_Controller controller_;
    const LV2UI_Touch* touch_ = nullptr;
    const LV2UI_Resize* resize_ = nullptr;
    float scale_ = 1.0f;
    bool scaled_ = false;
};

LV2UI_Handle instantiate(const LV2UI_Descriptor*, const char* pluginUri, const char*, LV2UI_Write_Function write,
                         LV2UI_Controller controller, LV2UI_Widget* widget, const LV2_Feature* const* features) {
    if (!pluginUri || std::strcmp(pluginUri, lv2_identity::kPluginUri) != 0 || !write || !widget) return nullptr;
    const void* parent = feature(features, LV2_UI__parent);
    auto* instance = static_cast<Lv2Instance*>(const_cast<void*>(feature(features, LV2_INSTANCE_ACCESS_URI)));
    if (!parent || !instance) return nullptr;
    auto* ui = new (std::nothrow) Lv2Ui(*instance, write, controller, features);
    if (ui && !ui->open(reinterpret_cast<Window>(parent), widget)) {
        delete ui;
        return nullptr;
    }
    return ui;
}

void cleanup(LV2UI_Handle h) { delete static_cast<Lv2Ui*>(h); }

// The editor reads its values from the instrument, which takes the ports
// at its next run: nothing to do here.
void portEvent(LV2UI_Handle, uint32_t, uint32_t, uint32_t, const void*) {}

int idle(LV2UI_Handle h) {
    static_cast<Lv2Ui*>(h)->idle();
    return 0;
}

const LV2UI_Idle_Interface kIdle = {idle};

const void* extensionData(const char* uri) {
    return std::strcmp(uri, LV2_UI__idleInterface) == 0 ? &kIdle : nullptr;
}

const LV2UI_Descriptor kDescriptor = {lv2_identity::kUiUri, instantiate, cleanup, portEvent, extensionData};

}  // namespace

extern "C" __attribute__((visibility("default"))) const LV2UI_Descriptor* lv2ui_descriptor(uint32_t index) {
    return index == 0 ? &kDescriptor : nullptr;
}
