#include "tests/render_tool/tool_runner.h"

#include <cstdio>
#include <fcntl.h>
#include <sstream>
#include <sys/wait.h>
#include <unistd.h>

#include "tests/render_tool/test_files.h"

namespace rendertest {

std::string rendererPath() { return NUBBEL_RENDER; }
std::string bridgePath() { return NUBBEL_RENDER_BRIDGE; }
std::string nubbel3Path() { return NUBBEL3_PLUGIN; }
std::string nubbelPath() { return NUBBEL_PLUGIN; }
std::string refusingPluginPath() { return REFUSING_PLUGIN; }

namespace {

std::vector<std::string> lines(const std::string& text) {
    std::vector<std::string> out;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
}

pid_t spawn(const std::vector<std::string>& args, const std::string& folder, const std::string& outPath,
            const std::string& errPath) {
    const pid_t child = fork();
    if (child != 0) return child;
    if (chdir(folder.c_str()) != 0) _exit(126);
    const int out = open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    const int err = open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0 || err < 0) _exit(126);
    dup2(out, 1);
    dup2(err, 2);
    const int devNull = open("/dev/null", O_RDONLY);
    dup2(devNull, 0);
    std::vector<char*> argv;
    const std::string program = rendererPath();
    argv.push_back(const_cast<char*>(program.c_str()));
    for (const std::string& a : args) argv.push_back(const_cast<char*>(a.c_str()));
    argv.push_back(nullptr);
    execv(program.c_str(), argv.data());
    _exit(127);
}

}  // namespace

std::vector<std::string> ToolResult::errLines() const { return lines(err); }
std::vector<std::string> ToolResult::outLines() const { return lines(out); }

int waitFor(pid_t child) {
    int status = 0;
    if (waitpid(child, &status, 0) != child) return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
}

ToolResult runRenderer(const std::vector<std::string>& args, const std::string& folder) {
    // Captured outside the folder under test, whose contents the tests check.
    TempFolder capture;
    const std::string outPath = capture.file("out"), errPath = capture.file("err");
    ToolResult r;
    r.exitCode = waitFor(spawn(args, folder, outPath, errPath));
    const std::vector<unsigned char> out = readBytes(outPath), err = readBytes(errPath);
    r.out.assign(out.begin(), out.end());
    r.err.assign(err.begin(), err.end());
    return r;
}

pid_t startRenderer(const std::vector<std::string>& args, const std::string& folder) {
    return spawn(args, folder, "/dev/null", "/dev/null");
}

}  // namespace rendertest
