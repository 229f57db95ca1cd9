#include "tools/nubbel-render/output_names.h"

#include <cctype>
#include <cstdio>

namespace render {

namespace {

std::string stem(const std::string& path) {
    const size_t slash = path.rfind('/');
    std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    const size_t dot = name.rfind('.');
    if (dot != std::string::npos && dot > 0) name.erase(dot);
    return name;
}

// Letters, digits, '.', '_' and '-' stay; runs of anything else become one '-'.
std::string safe(const std::string& text) {
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '_' || c == '.')
            out += static_cast<char>(c);
        else if (!out.empty() && out.back() != '-')
            out += '-';
    }
    while (!out.empty() && (out.back() == '-' || out.back() == '.')) out.pop_back();
    while (!out.empty() && out.front() == '.') out.erase(0, 1);
    return out;
}

}  // namespace

std::string programFileName(const std::string& pluginPath, int program, int programCount,
                            const std::string& programName) {
    const int digits = programCount > 100 ? 3 : 2;
    char number[16];
    std::snprintf(number, sizeof number, "%0*d", digits, program);
    std::string name = safe(stem(pluginPath));
    if (name.empty()) name = "plugin";
    const std::string program_ = safe(programName);
    return name + "-" + number + (program_.empty() ? "" : "-" + program_) + ".wav";
}

}  // namespace render
