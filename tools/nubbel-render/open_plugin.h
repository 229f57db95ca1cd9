// Opens a plug-in file the right way for its kind: a Linux shared object in
// this process, a Windows DLL through the bridge helper under wine.
#pragma once

#include <memory>
#include <string>

#include "tools/nubbel-render/plugin.h"

namespace render {

// bridge: a helper program to host the plug-in in, or empty to choose by the
// file's kind. Throws Failure naming path when the file is missing, is not a
// plug-in, or its entry point refuses.
std::unique_ptr<Plugin> openPlugin(const std::string& path, const std::string& bridge);

// Where a Windows build puts the helper next to its plug-ins:
// <build>/plugins/X.dll → <build>/tools/nubbel-render/nubbel-render-bridge.exe.
std::string defaultBridgeFor(const std::string& dllPath);

}  // namespace render
