#include "tools/nubbel-render/open_plugin.h"

#include <fstream>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/nubbel-render/bridged_plugin.h"
#include "tools/nubbel-render/failure.h"
#include "tools/nubbel-render/local_plugin.h"

#ifndef NUBBEL_WINE_RUN
#define NUBBEL_WINE_RUN "wine"
#endif

namespace render {

namespace {

bool isWindowsBinary(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    char magic[2] = {};
    return in.read(magic, 2) && magic[0] == 'M' && magic[1] == 'Z';
}

// The machine field of a Windows binary's PE header (0x14c i386, 0x8664
// x86-64), or 0 when the file has none.
unsigned windowsMachine(const std::string& path) {
    constexpr std::streamoff kHeaderOffsetField = 0x3c;
    std::ifstream in(path, std::ios::binary);
    unsigned char offset[4] = {}, header[6] = {};
    if (!isWindowsBinary(path) || !in.seekg(kHeaderOffsetField) || !in.read(reinterpret_cast<char*>(offset), 4))
        return 0;
    const std::streamoff at =
        offset[0] | offset[1] << 8 | offset[2] << 16 | static_cast<std::streamoff>(offset[3]) << 24;
    if (!in.seekg(at) || !in.read(reinterpret_cast<char*>(header), 6)) return 0;
    if (header[0] != 'P' || header[1] != 'E' || header[2] != 0 || header[3] != 0) return 0;
    return header[4] | header[5] << 8;
}

std::string bitsText(unsigned machine) { return machine == 0x8664 ? "64-bit" : machine == 0x14c ? "32-bit" : "other"; }

bool endsWith(const std::string& s, const std::string& tail) {
    return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

std::string folderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash);
}

// The wine runner of the source tree the tool was built from, else wine.
std::string wineLauncher() {
    const std::string configured = NUBBEL_WINE_RUN;
    if (configured.find('/') == std::string::npos || access(configured.c_str(), X_OK) == 0) return configured;
    return "wine";
}

}  // namespace

std::string defaultBridgeFor(const std::string& dllPath) {
    return folderOf(dllPath) + "/../tools/nubbel-render/nubbel-render-bridge.exe";
}

std::unique_ptr<Plugin> openPlugin(const std::string& path, const std::string& bridge) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) throw Failure(path, "no such file");
    if (S_ISDIR(info.st_mode)) throw Failure(path, "is a folder, not a plug-in library");
    if (bridge.empty() && !isWindowsBinary(path)) return std::make_unique<LocalPlugin>(path);
    const std::string helper = bridge.empty() ? defaultBridgeFor(path) : bridge;
    const unsigned pluginMachine = windowsMachine(path), helperMachine = windowsMachine(helper);
    if (pluginMachine && helperMachine && pluginMachine != helperMachine)
        throw Failure(path, "a " + bitsText(pluginMachine) + " Windows plug-in cannot load into the " +
                                bitsText(helperMachine) + " bridge helper " + helper);
    const std::string launcher = endsWith(helper, ".exe") ? wineLauncher() : std::string();
    return std::make_unique<BridgedPlugin>(launcher, helper, path);
}

}  // namespace render
