#include "tools/testhost/plugin_library.h"

#if defined(_WIN32)
#include <windows.h>
#else
#include <dlfcn.h>
#endif

#include <fstream>

namespace testhost {

namespace {
#if defined(_WIN32)
// Under wine a Unix path reaches us unchanged; drive Z: maps the Unix root.
std::string nativePath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string converted = "Z:" + path;
    for (char& c : converted)
        if (c == '/') c = '\\';
    return converted;
}

std::string lastErrorText() {
    DWORD code = GetLastError();
    char buffer[256] = {};
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, buffer,
                   sizeof(buffer) - 1, nullptr);
    std::string text = buffer;
    while (!text.empty() && (text.back() == '\n' || text.back() == '\r' || text.back() == ' ')) text.pop_back();
    return text.empty() ? "error " + std::to_string(code) : text;
}
#endif
}  // namespace

std::unique_ptr<PluginLibrary> PluginLibrary::open(const std::string& path, std::string& error) {
    if (!std::ifstream(path, std::ios::binary).good()) {
        error = "no such file";
        return nullptr;
    }
#if defined(_WIN32)
    HMODULE handle = LoadLibraryA(nativePath(path).c_str());
    if (!handle) {
        error = "not a loadable library (" + lastErrorText() + ")";
        return nullptr;
    }
#else
    void* handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) {
        const char* why = dlerror();
        error = std::string("not a loadable library (") + (why ? why : "unknown reason") + ")";
        return nullptr;
    }
#endif
    return std::unique_ptr<PluginLibrary>(new PluginLibrary(reinterpret_cast<void*>(handle), path));
}

PluginLibrary::~PluginLibrary() {
#if defined(_WIN32)
    FreeLibrary(reinterpret_cast<HMODULE>(handle_));
#else
    dlclose(handle_);
#endif
}

PluginEntry PluginLibrary::entry(const char* name) const {
#if defined(_WIN32)
    return reinterpret_cast<PluginEntry>(
        reinterpret_cast<void*>(GetProcAddress(reinterpret_cast<HMODULE>(handle_), name)));
#else
    return reinterpret_cast<PluginEntry>(dlsym(handle_, name));
#endif
}

}  // namespace testhost
