// Loads a plug-in library the way hosts do (dlopen, or LoadLibrary on
// Windows) and looks up its entry point by name.
#pragma once

#include <memory>
#include <string>

#include "plugin_base/vst2_interface.h"

namespace testhost {

using PluginEntry = AEffect*(VSTCALLBACK*)(audioMasterCallback);

class PluginLibrary {
public:
    // Null with a reason in error when the file is missing or not a library.
    static std::unique_ptr<PluginLibrary> open(const std::string& path, std::string& error);
    ~PluginLibrary();
    PluginLibrary(const PluginLibrary&) = delete;
    PluginLibrary& operator=(const PluginLibrary&) = delete;

    // "VSTPluginMain", or "main" for older hosts; null when not exported.
    PluginEntry entry(const char* name) const;
    const std::string& path() const { return path_; }

private:
    PluginLibrary(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
    void* handle_;
    std::string path_;
};

}  // namespace testhost
