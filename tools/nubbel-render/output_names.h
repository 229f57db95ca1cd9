// File names for rendered programs: "<plug-in>-<number>-<program>.wav", with
// the program name reduced to characters that are safe in any file system.
#pragma once

#include <string>

namespace render {

std::string programFileName(const std::string& pluginPath, int program, int programCount,
                            const std::string& programName);

}  // namespace render
