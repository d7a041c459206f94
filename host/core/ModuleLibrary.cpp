#include "host/core/ModuleLibrary.h"

#ifdef _WIN32
#include <windows.h>
#else
#include <dlfcn.h>
#endif

namespace module_library {

#ifdef _WIN32
void* open(const std::string& path, std::string& error) {
    HMODULE module = LoadLibraryA(path.c_str());
    if (!module) error = path + ": LoadLibrary failed with error " + std::to_string(GetLastError());
    return reinterpret_cast<void*>(module);
}
void* find(void* library, const char* name) {
    return reinterpret_cast<void*>(GetProcAddress(static_cast<HMODULE>(library), name));
}
void close(void* library) { FreeLibrary(static_cast<HMODULE>(library)); }
#else
void* open(const std::string& path, std::string& error) {
    void* library = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!library) {
        const char* message = dlerror();
        error = message ? message : path + ": dlopen failed";
    }
    return library;
}
void* find(void* library, const char* name) { return dlsym(library, name); }
void close(void* library) { dlclose(library); }
#endif

}  // namespace module_library
