#include "host/core/Lv2Host.h"

#include <lilv/lilv.h>
#include <lv2/atom/forge.h>
#include <lv2/buf-size/buf-size.h>
#include <lv2/midi/midi.h>
#include <lv2/options/options.h>
#include <lv2/presets/presets.h>
#include <lv2/state/state.h>
#include <lv2/instance-access/instance-access.h>
#include <lv2/time/time.h>
#include <lv2/ui/ui.h>
#include <lv2/urid/urid.h>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>
#include <memory>
#include <dlfcn.h>
#include <sys/stat.h>

namespace {

// Room for a block's events in the atom input.
constexpr std::size_t kAtomBytes = 1 << 16;

struct Control {
    std::uint32_t port;
    std::string symbol, name;
    float value;
};

// One property of a saved state.
struct Property {
    std::uint32_t key = 0, type = 0, flags = 0;
    std::vector<unsigned char> bytes;
};

bool isDirectory(const std::string& path) {
    struct stat s {};
    return stat(path.c_str(), &s) == 0 && S_ISDIR(s.st_mode);
}

}  // namespace

struct Lv2Host::Impl {
    LilvWorld* world = lilv_world_new();
    const LilvPlugin* plugin = nullptr;
    LilvInstance* instance = nullptr;

    // URIDs are indexes into uris, from 1.
    std::vector<std::string> uris;
    LV2_URID_Map map{this, mapUri};
    LV2_URID_Unmap unmap{this, unmapUri};
    std::int32_t minFrames = 1, maxFrames = 0;
    std::vector<LV2_Options_Option> options;
    LV2_Feature mapFeature{LV2_URID__map, &map};
    LV2_Feature unmapFeature{LV2_URID__unmap, &unmap};
    LV2_Feature optionsFeature{LV2_OPTIONS__options, nullptr};
    LV2_Feature boundedFeature{LV2_BUF_SIZE__boundedBlockLength, nullptr};
    const LV2_Feature* features[5] = {&mapFeature, &unmapFeature, &optionsFeature, &boundedFeature, nullptr};

    // The control ports' buffers (Control::value) are the audio thread's:
    // process() copies each port's wanted value into its buffer before the
    // plug-in runs. Every other thread (a setting, the UI, a state restore)
    // stores into wanted, which is read and written relaxed.
    std::vector<Control> controls;
    std::unique_ptr<std::atomic<float>[]> wanted;
    bool described = false;
    std::vector<std::uint32_t> outputs;
    std::int64_t atomIn = -1;
    std::vector<std::uint64_t> atomBuffer = std::vector<std::uint64_t>(kAtomBytes / 8);
    // Whatever else the plug-in has (control outputs, audio inputs) gets a
    // buffer of its own.
    std::vector<std::vector<float>> spare;
    LV2_Atom_Forge forge{};

    ~Impl() {
        if (instance) {
            lilv_instance_deactivate(instance);
            lilv_instance_free(instance);
        }
        lilv_world_free(world);
    }

    static LV2_URID mapUri(LV2_URID_Map_Handle h, const char* uri) {
        auto& uris = static_cast<Impl*>(h)->uris;
        for (std::size_t i = 0; i < uris.size(); ++i)
            if (uris[i] == uri) return LV2_URID(i + 1);
        uris.push_back(uri);
        return LV2_URID(uris.size());
    }
    static const char* unmapUri(LV2_URID_Unmap_Handle h, LV2_URID urid) {
        auto& uris = static_cast<Impl*>(h)->uris;
        return urid >= 1 && urid <= uris.size() ? uris[urid - 1].c_str() : nullptr;
    }
    LV2_URID urid(const char* uri) { return mapUri(this, uri); }

    const LilvPlugin* find(const std::string& text) {
        if (isDirectory(text)) {
            std::string path = text;
            if (path.back() != '/') path += '/';
            LilvNode* bundle = lilv_new_file_uri(world, nullptr, path.c_str());
            lilv_world_load_bundle(world, bundle);
            const LilvPlugins* all = lilv_world_get_all_plugins(world);
            const LilvPlugin* found = nullptr;
            LILV_FOREACH (plugins, i, all) {
                const LilvPlugin* p = lilv_plugins_get(all, i);
                if (lilv_node_equals(lilv_plugin_get_bundle_uri(p), bundle)) found = p;
            }
            lilv_node_free(bundle);
            return found;
        }
        lilv_world_load_all(world);
        LilvNode* uri = lilv_new_uri(world, text.c_str());
        const LilvPlugin* found = lilv_plugins_get_by_uri(lilv_world_get_all_plugins(world), uri);
        lilv_node_free(uri);
        return found;
    }

    // The first required feature this host does not offer, or "".
    std::string missingFeature() {
        std::string missing;
        LilvNodes* required = lilv_plugin_get_required_features(plugin);
        LILV_FOREACH (nodes, i, required) {
            const char* uri = lilv_node_as_uri(lilv_nodes_get(required, i));
            bool offered = false;
            for (const LV2_Feature* f : features)
                if (f && std::strcmp(f->URI, uri) == 0) offered = true;
            if (!offered && missing.empty()) missing = uri;
        }
        lilv_nodes_free(required);
        return missing;
    }

    double sampleRate = 0.0;

    // Makes and activates the instance at rate, its ports connected; the
    // control values are kept from an earlier instance.
    bool start(double rate) {
        instance = lilv_plugin_instantiate(plugin, rate, features);
        if (!instance) return false;
        sampleRate = rate;
        describePorts();
        lv2_atom_forge_init(&forge, &map);
        lilv_instance_activate(instance);
        return true;
    }

    void describePorts() {
        LilvNode* input = lilv_new_uri(world, LV2_CORE__InputPort);
        LilvNode* control = lilv_new_uri(world, LV2_CORE__ControlPort);
        LilvNode* audio = lilv_new_uri(world, LV2_CORE__AudioPort);
        LilvNode* atom = lilv_new_uri(world, LV2_ATOM__AtomPort);
        const std::uint32_t count = lilv_plugin_get_num_ports(plugin);
        outputs.clear();
        atomIn = -1;
        std::vector<float> defaults(count, 0.0f);
        lilv_plugin_get_port_ranges_float(plugin, nullptr, nullptr, defaults.data());
        spare.assign(count, std::vector<float>(std::max<std::int32_t>(maxFrames, 1), 0.0f));
        for (std::uint32_t p = 0; p < count; ++p) {
            const LilvPort* port = lilv_plugin_get_port_by_index(plugin, p);
            const bool in = lilv_port_is_a(plugin, port, input);
            if (in && lilv_port_is_a(plugin, port, control)) {
                LilvNode* name = lilv_port_get_name(plugin, port);
                const float initial = std::isnan(defaults[p]) ? 0.0f : defaults[p];
                if (!described)
                    controls.push_back({p, lilv_node_as_string(lilv_port_get_symbol(plugin, port)),
                                        name ? lilv_node_as_string(name) : "", initial});
                lilv_node_free(name);
            } else if (!in && lilv_port_is_a(plugin, port, audio)) {
                outputs.push_back(p);
            } else if (in && lilv_port_is_a(plugin, port, atom) && atomIn < 0) {
                atomIn = p;
            } else {
                lilv_instance_connect_port(instance, p, spare[p].data());
            }
        }
        described = true;
        if (!wanted) {
            wanted.reset(new std::atomic<float>[controls.size()]);
            for (std::size_t i = 0; i < controls.size(); ++i) wanted[i].store(controls[i].value, std::memory_order_relaxed);
        }
        for (Control& c : controls) lilv_instance_connect_port(instance, c.port, &c.value);
        if (atomIn >= 0) lilv_instance_connect_port(instance, std::uint32_t(atomIn), atomBuffer.data());
        for (LilvNode* n : {input, control, audio, atom}) lilv_node_free(n);
    }

    const LV2_State_Interface* stateInterface() const {
        return static_cast<const LV2_State_Interface*>(
            lilv_instance_get_extension_data(instance, LV2_STATE__interface));
    }

    static LV2_State_Status store(LV2_State_Handle h, std::uint32_t key, const void* value, std::size_t size,
                                  std::uint32_t type, std::uint32_t flags) {
        auto* saved = static_cast<std::vector<Property>*>(h);
        const auto* bytes = static_cast<const unsigned char*>(value);
        saved->push_back({key, type, flags, std::vector<unsigned char>(bytes, bytes + size)});
        return LV2_STATE_SUCCESS;
    }
    static const void* retrieve(LV2_State_Handle h, std::uint32_t key, std::size_t* size, std::uint32_t* type,
                                std::uint32_t* flags) {
        for (const Property& p : *static_cast<const std::vector<Property>*>(h))
            if (p.key == key) {
                *size = p.bytes.size();
                *type = p.type;
                *flags = p.flags;
                return p.bytes.data();
            }
        return nullptr;
    }

    bool restore(std::vector<Property>& saved) {
        const LV2_State_Interface* state = stateInterface();
        return state && state->restore(lilv_instance_get_handle(instance), retrieve, &saved,
                                       LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, features) == LV2_STATE_SUCCESS;
    }

    bool save(std::vector<Property>& saved) {
        const LV2_State_Interface* state = stateInterface();
        return state && state->save(lilv_instance_get_handle(instance), store, &saved,
                                    LV2_STATE_IS_POD | LV2_STATE_IS_PORTABLE, features) == LV2_STATE_SUCCESS;
    }

    static void setPortValue(const char* symbol, void* h, const void* value, std::uint32_t size,
                             std::uint32_t type) {
        auto* self = static_cast<Impl*>(h);
        float v = 0.0f;
        if (type == self->urid(LV2_ATOM__Float) && size == sizeof(float)) {
            std::memcpy(&v, value, sizeof v);
        } else if (type == self->urid(LV2_ATOM__Double) && size == sizeof(double)) {
            double d;
            std::memcpy(&d, value, sizeof d);
            v = float(d);
        } else if ((type == self->urid(LV2_ATOM__Int) || type == self->urid(LV2_ATOM__Bool)) &&
                   size == sizeof(std::int32_t)) {
            std::int32_t i;
            std::memcpy(&i, value, sizeof i);
            v = float(i);
        } else {
            return;
        }
        if (!self->wanted) return;
        for (std::size_t i = 0; i < self->controls.size(); ++i)
            if (self->controls[i].symbol == symbol) self->wanted[i].store(v, std::memory_order_relaxed);
    }

    std::vector<const LilvNode*> presets() const {
        std::vector<const LilvNode*> list;
        LilvNode* type = lilv_new_uri(world, LV2_PRESETS__Preset);
        LilvNodes* related = lilv_plugin_get_related(plugin, type);
        LILV_FOREACH (nodes, i, related) list.push_back(lilv_nodes_get(related, i));
        std::sort(list.begin(), list.end(), [](const LilvNode* a, const LilvNode* b) {
            return std::strcmp(lilv_node_as_uri(a), lilv_node_as_uri(b)) < 0;
        });
        // The nodes live as long as the world's related list: keep it.
        relatedLists.push_back(related);
        lilv_node_free(type);
        return list;
    }
    mutable std::vector<LilvNodes*> relatedLists;
};

Lv2Host::Lv2Host() : impl_(std::make_unique<Impl>()) {}


bool Lv2Host::looksLikeLv2(const std::string& text) {
    if (isDirectory(text)) {
        struct stat s {};
        return stat((text + "/manifest.ttl").c_str(), &s) == 0;
    }
    return text.find("://") != std::string::npos || text.rfind("urn:", 0) == 0;
}

bool Lv2Host::load(const std::string& bundleOrUri, double sampleRate, std::uint32_t maxFrames) {
    Impl& m = *impl_;
    m.plugin = m.find(bundleOrUri);
    if (!m.plugin) {
        error_ = bundleOrUri + ": no LV2 plug-in there";
        return false;
    }
    m.maxFrames = std::int32_t(std::min<std::uint32_t>(maxFrames, 1u << 20));
    const LV2_URID intType = m.urid(LV2_ATOM__Int);
    m.options = {{LV2_OPTIONS_INSTANCE, 0, m.urid(LV2_BUF_SIZE__maxBlockLength), sizeof(std::int32_t), intType,
                  &m.maxFrames},
                 {LV2_OPTIONS_INSTANCE, 0, m.urid(LV2_BUF_SIZE__minBlockLength), sizeof(std::int32_t), intType,
                  &m.minFrames},
                 {LV2_OPTIONS_INSTANCE, 0, 0, 0, 0, nullptr}};
    m.optionsFeature.data = m.options.data();
    const std::string missing = m.missingFeature();
    if (!missing.empty()) {
        error_ = bundleOrUri + ": the plug-in needs " + missing + ", which this host does not offer";
        return false;
    }
    if (!m.start(sampleRate)) {
        error_ = bundleOrUri + ": the plug-in did not start";
        return false;
    }
    return true;
}

bool Lv2Host::reconfigure(double sampleRate, std::uint32_t maxFrames) {
    Impl& m = *impl_;
    const auto frames = std::int32_t(std::min<std::uint32_t>(maxFrames, 1u << 20));
    if (!m.instance || (sampleRate == m.sampleRate && frames == m.maxFrames)) return m.instance != nullptr;
    std::vector<Property> saved;
    const bool hasState = m.save(saved);
    lilv_instance_deactivate(m.instance);
    lilv_instance_free(m.instance);
    m.instance = nullptr;
    m.maxFrames = frames;
    if (!m.start(sampleRate)) return false;
    if (hasState) m.restore(saved);
    return true;
}

std::string Lv2Host::name() const {
    LilvNode* n = impl_->plugin ? lilv_plugin_get_name(impl_->plugin) : nullptr;
    std::string s = n ? lilv_node_as_string(n) : "";
    lilv_node_free(n);
    return s;
}

std::string Lv2Host::author() const {
    LilvNode* n = impl_->plugin ? lilv_plugin_get_author_name(impl_->plugin) : nullptr;
    std::string s = n ? lilv_node_as_string(n) : "";
    lilv_node_free(n);
    return s;
}

std::string Lv2Host::uri() const {
    return impl_->plugin ? lilv_node_as_uri(lilv_plugin_get_uri(impl_->plugin)) : "";
}

int Lv2Host::parameterCount() const { return int(impl_->controls.size()); }

std::string Lv2Host::parameterName(int index) const {
    return index >= 0 && index < parameterCount() ? impl_->controls[index].name : "";
}

std::string Lv2Host::parameterSymbol(int index) const {
    return index >= 0 && index < parameterCount() ? impl_->controls[index].symbol : "";
}

float Lv2Host::parameter(int index) const {
    return index >= 0 && index < parameterCount() ? impl_->wanted[index].load(std::memory_order_relaxed) : 0.0f;
}

void Lv2Host::setParameter(int index, float value) {
    if (index >= 0 && index < parameterCount()) impl_->wanted[index].store(value, std::memory_order_relaxed);
}

std::vector<std::string> Lv2Host::presetNames() const {
    std::vector<std::string> names;
    LilvNode* label = lilv_new_uri(impl_->world, LILV_NS_RDFS "label");
    for (const LilvNode* preset : impl_->presets()) {
        lilv_world_load_resource(impl_->world, preset);
        LilvNode* text = lilv_world_get(impl_->world, preset, label, nullptr);
        names.push_back(text ? lilv_node_as_string(text) : lilv_node_as_uri(preset));
        lilv_node_free(text);
    }
    lilv_node_free(label);
    return names;
}

bool Lv2Host::applyPreset(int index) {
    const std::vector<const LilvNode*> list = impl_->presets();
    if (index < 0 || std::size_t(index) >= list.size()) return false;
    lilv_world_load_resource(impl_->world, list[index]);
    LilvState* state = lilv_state_new_from_world(impl_->world, &impl_->map, list[index]);
    if (!state) return false;
    lilv_state_restore(state, impl_->instance, Impl::setPortValue, impl_.get(), 0, impl_->features);
    lilv_state_free(state);
    return true;
}

bool Lv2Host::saveState(std::vector<unsigned char>& bytes) {
    std::vector<Property> saved;
    if (!impl_->instance || !impl_->save(saved) || saved.size() != 1) return false;
    bytes = saved[0].bytes;
    return true;
}

bool Lv2Host::loadState(const std::vector<unsigned char>& bytes) {
    // The key and type the plug-in saves under are the ones it restores.
    std::vector<Property> saved;
    if (!impl_->instance || !impl_->save(saved) || saved.size() != 1) return false;
    saved[0].bytes = bytes;
    return impl_->restore(saved);
}

int Lv2Host::outputCount() const { return int(impl_->outputs.size()); }

std::uint32_t Lv2Host::maxFrames() const { return std::uint32_t(impl_->maxFrames); }

void Lv2Host::process(float** outputs, std::uint32_t frames, const VstEventBlock& events, double beatsPerMinute) {
    Impl& m = *impl_;
    if (!m.instance) return;
    for (std::size_t i = 0; i < m.controls.size(); ++i) m.controls[i].value = m.wanted[i].load(std::memory_order_relaxed);
    if (m.atomIn >= 0) {
        LV2_Atom_Forge& f = m.forge;
        lv2_atom_forge_set_buffer(&f, reinterpret_cast<std::uint8_t*>(m.atomBuffer.data()), kAtomBytes);
        LV2_Atom_Forge_Frame sequence;
        lv2_atom_forge_sequence_head(&f, &sequence, 0);
        if (beatsPerMinute > 0.0) {
            LV2_Atom_Forge_Frame position;
            lv2_atom_forge_frame_time(&f, 0);
            lv2_atom_forge_object(&f, &position, 0, m.urid(LV2_TIME__Position));
            lv2_atom_forge_key(&f, m.urid(LV2_TIME__beatsPerMinute));
            lv2_atom_forge_double(&f, beatsPerMinute);
            lv2_atom_forge_pop(&f, &position);
        }
        const LV2_URID midi = m.urid(LV2_MIDI__MidiEvent);
        for (std::size_t i = 0; i < events.size(); ++i) {
            const VstEvent* e = events.at(i);
            const void* bytes;
            std::uint32_t size;
            if (e->type == kVstSysExType) {
                const auto* x = reinterpret_cast<const VstMidiSysexEvent*>(e);
                bytes = x->sysexDump;
                size = static_cast<std::uint32_t>(x->dumpBytes);
            } else {
                const auto* m = reinterpret_cast<const VstMidiEvent*>(e);
                const auto status = static_cast<unsigned char>(m->midiData[0]);
                bytes = m->midiData;
                size = (status & 0xF0) == 0xC0 || (status & 0xF0) == 0xD0 ? 2 : 3;
            }
            // A full buffer ends the sequence: later events wait for no one.
            if (!lv2_atom_forge_frame_time(&f, e->deltaFrames) || !lv2_atom_forge_atom(&f, size, midi) ||
                !lv2_atom_forge_write(&f, bytes, size))
                break;
        }
        lv2_atom_forge_pop(&f, &sequence);
    }
    for (std::size_t i = 0; i < m.outputs.size(); ++i)
        lilv_instance_connect_port(m.instance, m.outputs[i], outputs[i]);
    lilv_instance_run(m.instance, frames);
}

// ---- the UI ----------------------------------------------------------------

struct Lv2Host::Ui {
    Impl* host = nullptr;
    UiListener* listener = nullptr;
    void* library = nullptr;
    const LV2UI_Descriptor* descriptor = nullptr;
    LV2UI_Handle handle = nullptr;
    const LV2UI_Idle_Interface* idle = nullptr;
    int width = 0, height = 0;
    LV2UI_Resize resize{this, resized};
    LV2UI_Touch touch{this, touched};

    int controlAt(std::uint32_t port) const {
        for (std::size_t i = 0; i < host->controls.size(); ++i)
            if (host->controls[i].port == port) return int(i);
        return -1;
    }
    static int resized(LV2UI_Feature_Handle h, int width, int height) {
        auto* ui = static_cast<Ui*>(h);
        if (width <= 0 || height <= 0) return 1;
        ui->width = width;
        ui->height = height;
        return 0;
    }
    static void touched(LV2UI_Feature_Handle h, std::uint32_t port, bool grabbed) {
        auto* ui = static_cast<Ui*>(h);
        const int index = ui->controlAt(port);
        if (index >= 0 && ui->listener) ui->listener->touched(index, grabbed);
    }
    static void write(LV2UI_Controller h, std::uint32_t port, std::uint32_t size, std::uint32_t protocol,
                      const void* buffer) {
        auto* ui = static_cast<Ui*>(h);
        const int index = ui->controlAt(port);
        if (protocol != 0 || size != sizeof(float) || index < 0) return;
        float value;
        std::memcpy(&value, buffer, sizeof value);
        ui->host->wanted[index].store(value, std::memory_order_relaxed);
        if (ui->listener) ui->listener->written(index, value);
    }
};

namespace {

// The plug-in's first X11 UI; null when it has none.
const LilvUI* x11Ui(LilvWorld* world, const LilvPlugin* plugin, LilvUIs* uis) {
    LilvNode* x11 = lilv_new_uri(world, LV2_UI__X11UI);
    const LilvUI* found = nullptr;
    LILV_FOREACH (uis, i, uis)
        if (!found && lilv_ui_is_a(lilv_uis_get(uis, i), x11)) found = lilv_uis_get(uis, i);
    lilv_node_free(x11);
    (void)plugin;
    return found;
}

}  // namespace

bool Lv2Host::hasUi() const {
    if (!impl_->plugin) return false;
    LilvUIs* uis = lilv_plugin_get_uis(impl_->plugin);
    const bool has = x11Ui(impl_->world, impl_->plugin, uis) != nullptr;
    lilv_uis_free(uis);
    return has;
}

bool Lv2Host::openUi(void* parent, UiListener* listener) {
    if (ui_ || !impl_->instance) return ui_ != nullptr;
    LilvUIs* uis = lilv_plugin_get_uis(impl_->plugin);
    const LilvUI* found = x11Ui(impl_->world, impl_->plugin, uis);
    auto ui = std::make_unique<Ui>();
    ui->host = impl_.get();
    ui->listener = listener;
    std::string uiUri, bundle;
    if (found) {
        uiUri = lilv_node_as_uri(lilv_ui_get_uri(found));
        char* binary = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_binary_uri(found)), nullptr);
        char* folder = lilv_file_uri_parse(lilv_node_as_uri(lilv_ui_get_bundle_uri(found)), nullptr);
        ui->library = binary ? dlopen(binary, RTLD_NOW | RTLD_LOCAL) : nullptr;
        bundle = folder ? folder : "";
        lilv_free(binary);
        lilv_free(folder);
    }
    lilv_uis_free(uis);
    using Entry = const LV2UI_Descriptor* (*)(std::uint32_t);
    auto entry = ui->library ? reinterpret_cast<Entry>(dlsym(ui->library, "lv2ui_descriptor")) : nullptr;
    for (std::uint32_t i = 0; entry && !ui->descriptor; ++i) {
        const LV2UI_Descriptor* d = entry(i);
        if (!d) break;
        if (uiUri == d->URI) ui->descriptor = d;
    }
    if (!ui->descriptor) {
        if (ui->library) dlclose(ui->library);
        return false;
    }
    const LV2_Feature parentFeature{LV2_UI__parent, parent};
    const LV2_Feature instanceFeature{LV2_INSTANCE_ACCESS_URI, lilv_instance_get_handle(impl_->instance)};
    const LV2_Feature resizeFeature{LV2_UI__resize, &ui->resize};
    const LV2_Feature touchFeature{LV2_UI__touch, &ui->touch};
    const LV2_Feature* features[] = {&parentFeature, &instanceFeature, &resizeFeature, &touchFeature,
                                     &impl_->mapFeature, &impl_->unmapFeature, nullptr};
    LV2UI_Widget widget = nullptr;
    ui->handle = ui->descriptor->instantiate(ui->descriptor, uri().c_str(), bundle.c_str(), Ui::write, ui.get(),
                                             &widget, features);
    if (!ui->handle) {
        dlclose(ui->library);
        return false;
    }
    if (ui->descriptor->extension_data)
        ui->idle = static_cast<const LV2UI_Idle_Interface*>(ui->descriptor->extension_data(LV2_UI__idleInterface));
    ui_ = std::move(ui);
    return true;
}

bool Lv2Host::uiSize(int& width, int& height) const {
    if (!ui_ || ui_->width <= 0) return false;
    width = ui_->width;
    height = ui_->height;
    return true;
}

void Lv2Host::idleUi() {
    if (ui_ && ui_->idle) ui_->idle->idle(ui_->handle);
}

void Lv2Host::closeUi() {
    if (!ui_) return;
    ui_->descriptor->cleanup(ui_->handle);
    dlclose(ui_->library);
    ui_.reset();
}

Lv2Host::~Lv2Host() {
    closeUi();
    if (impl_)
        for (LilvNodes* n : impl_->relatedLists) lilv_nodes_free(n);
}
