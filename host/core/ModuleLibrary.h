// ModuleLibrary: a plug-in module loaded as a shared library and its named
// entry points: dlopen and dlsym on Linux, LoadLibrary and GetProcAddress on
// Windows, as a host of each platform loads a plug-in. PluginHost loads
// every module through it; tests that call an entry point themselves do too.
// Any thread; the platform's loader serialises the calls.
#pragma once

#include <string>

namespace module_library {

// The loaded library, or null with the loader's message in error.
void* open(const std::string& path, std::string& error);
// The entry point called name, or null.
void* find(void* library, const char* name);
void close(void* library);

}  // namespace module_library
