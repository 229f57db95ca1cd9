// Runs the built nubbel-render (or another program) as a child process and
// collects its exit code, standard output and standard error.
#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

namespace rendertest {

struct ToolResult {
    int exitCode = -1;  // 128 + signal when the program was killed
    std::string out, err;
    std::vector<std::string> errLines() const;
    std::vector<std::string> outLines() const;
};

// The renderer with these arguments, run in folder.
ToolResult runRenderer(const std::vector<std::string>& args, const std::string& folder);
// Starts the renderer without waiting; stdout and stderr are discarded.
pid_t startRenderer(const std::vector<std::string>& args, const std::string& folder);
int waitFor(pid_t child);

// Paths of what the build made.
std::string rendererPath();
std::string bridgePath();
std::string nubbel3Path();
std::string nubbelPath();
std::string refusingPluginPath();

}  // namespace rendertest
