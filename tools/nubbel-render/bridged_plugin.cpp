#include "tools/nubbel-render/bridged_plugin.h"

#include <climits>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "tools/nubbel-render/failure.h"

namespace render {

using bridge::MessageReader;
using bridge::MessageWriter;

namespace {
template <typename Read>
auto decode(const std::string& subject, const std::vector<unsigned char>& reply, Read read) {
    MessageReader in(reply);
    try {
        return read(in);
    } catch (const bridge::ProtocolError& e) {
        throw Failure(subject, std::string("bridge helper answered nonsense: ") + e.what());
    }
}
}  // namespace

BridgedPlugin::BridgedPlugin(const std::string& launcher, const std::string& helper, const std::string& pluginPath)
    : pluginPath_(pluginPath) {
    if (access(helper.c_str(), R_OK) != 0)
        throw Failure(pluginPath, "no bridge helper at " + helper + " (build the Windows flavour, or give --bridge)");
    int down[2], up[2];
    if (pipe(down) != 0 || pipe(up) != 0) throw Failure(pluginPath, "cannot make pipes for the bridge helper");
    // The helper's stderr (wine's and the plug-in's chatter) is kept aside and
    // only its last line is shown, when the helper fails.
    helperErrors_ = std::tmpfile();
    // A helper that dies must not kill us with SIGPIPE on the next write.
    std::signal(SIGPIPE, SIG_IGN);
    child_ = fork();
    if (child_ < 0) throw Failure(pluginPath, "cannot start the bridge helper");
    if (child_ == 0) {
        dup2(down[0], 0);
        dup2(up[1], 1);
        if (helperErrors_) dup2(fileno(helperErrors_), 2);
        for (int fd : {down[0], down[1], up[0], up[1]}) close(fd);
        if (launcher.empty())
            execl(helper.c_str(), helper.c_str(), static_cast<char*>(nullptr));
        else
            execl(launcher.c_str(), launcher.c_str(), helper.c_str(), static_cast<char*>(nullptr));
        std::fprintf(stderr, "cannot run %s: %s\n", launcher.empty() ? helper.c_str() : launcher.c_str(),
                     std::strerror(errno));
        _exit(127);
    }
    close(down[0]);
    close(up[1]);
    toHelper_ = down[1];
    fromHelper_ = up[0];
    fcntl(toHelper_, F_SETFD, FD_CLOEXEC);
    fcntl(fromHelper_, F_SETFD, FD_CLOEXEC);

    try {
        load();
    } catch (...) {
        quitHelper();
        throw;
    }
}

void BridgedPlugin::load() {
    char absolute[PATH_MAX];
    MessageWriter message;
    message.text(realpath(pluginPath_.c_str(), absolute) ? absolute : pluginPath_);
    info_ = decode(pluginPath_, request(bridge::kLoad, message), [](MessageReader& in) {
        PluginInfo info;
        info.numPrograms = in.i32();
        info.numParams = in.i32();
        info.numInputs = in.i32();
        info.numOutputs = in.i32();
        info.flags = in.i32();
        info.uniqueID = in.i32();
        info.version = in.i32();
        return info;
    });
}

BridgedPlugin::~BridgedPlugin() { quitHelper(); }

void BridgedPlugin::quitHelper() {
    if (toHelper_ >= 0) {
        uint32_t tag;
        std::vector<unsigned char> reply;
        if (bridge::writeMessage(toHelper_, bridge::kQuit, {})) bridge::readMessage(fromHelper_, tag, reply);
    }
    stopHelper();
    if (helperErrors_) std::fclose(helperErrors_);
    helperErrors_ = nullptr;
}

void BridgedPlugin::stopHelper() {
    if (toHelper_ >= 0) close(toHelper_);
    if (fromHelper_ >= 0) close(fromHelper_);
    toHelper_ = fromHelper_ = -1;
    if (child_ > 0) {
        int status = 0;
        waitpid(child_, &status, 0);
        child_ = -1;
    }
}

std::string BridgedPlugin::helperLastLine() {
    if (!helperErrors_) return "";
    std::fflush(helperErrors_);
    std::rewind(helperErrors_);
    std::string last, line;
    char buffer[512];
    while (std::fgets(buffer, sizeof buffer, helperErrors_)) {
        line += buffer;
        if (!line.empty() && line.back() == '\n') {
            while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
            if (!line.empty()) last = line;
            line.clear();
        }
    }
    if (!line.empty()) last = line;
    return last;
}

std::vector<unsigned char> BridgedPlugin::request(bridge::Command command, const MessageWriter& message) {
    uint32_t tag = 0;
    std::vector<unsigned char> reply;
    if (toHelper_ < 0 || !bridge::writeMessage(toHelper_, command, message.data()) ||
        !bridge::readMessage(fromHelper_, tag, reply)) {
        stopHelper();
        std::string why = helperLastLine();
        throw Failure(pluginPath_, "the bridge helper stopped" + (why.empty() ? std::string() : " (" + why + ")"));
    }
    if (tag == bridge::kReplyFailed) {
        MessageReader in(reply);
        std::string reason;
        try {
            reason = in.text();
        } catch (const bridge::ProtocolError&) {
            reason = "the bridge helper failed";
        }
        throw Failure(pluginPath_, reason);
    }
    if (tag != bridge::kReplyOk) throw Failure(pluginPath_, "bridge helper answered nonsense");
    return reply;
}

VstIntPtr BridgedPlugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) {
    MessageWriter out;
    out.i32(opcode);
    out.i32(index);
    out.i64(value);
    out.f32(opt);
    return decode(pluginPath_, request(bridge::kDispatch, out),
                  [](MessageReader& in) { return static_cast<VstIntPtr>(in.i64()); });
}

std::string BridgedPlugin::text(VstInt32 opcode, VstInt32 index) {
    MessageWriter out;
    out.i32(opcode);
    out.i32(index);
    return decode(pluginPath_, request(bridge::kText, out), [](MessageReader& in) { return in.text(); });
}

void BridgedPlugin::setProgramName(const std::string& name) {
    MessageWriter out;
    out.text(name);
    request(bridge::kSetProgramName, out);
}

float BridgedPlugin::getParameter(VstInt32 index) {
    MessageWriter out;
    out.i32(index);
    return decode(pluginPath_, request(bridge::kGetParameter, out), [](MessageReader& in) { return in.f32(); });
}

void BridgedPlugin::setParameter(VstInt32 index, float value) {
    MessageWriter out;
    out.i32(index);
    out.f32(value);
    request(bridge::kSetParameter, out);
}

std::vector<unsigned char> BridgedPlugin::getChunk(bool preset) {
    MessageWriter out;
    out.i32(preset ? 1 : 0);
    return decode(pluginPath_, request(bridge::kGetChunk, out), [](MessageReader& in) { return in.bytes(); });
}

VstIntPtr BridgedPlugin::setChunk(const std::vector<unsigned char>& bytes, bool preset) {
    MessageWriter out;
    out.i32(preset ? 1 : 0);
    out.bytes(bytes);
    return decode(pluginPath_, request(bridge::kSetChunk, out),
                  [](MessageReader& in) { return static_cast<VstIntPtr>(in.i64()); });
}

void BridgedPlugin::process(const std::vector<BlockEvent>& events, const std::vector<float>& inputs,
                            std::vector<float>& outputs, VstInt32 frames) {
    MessageWriter out;
    out.f64(samplePosition_);
    out.i32(frames);
    out.i32(static_cast<int32_t>(events.size()));
    for (const BlockEvent& e : events) {
        out.i32(e.deltaFrames);
        out.raw(e.bytes, sizeof e.bytes);
    }
    out.floats(inputs);
    outputs = decode(pluginPath_, request(bridge::kProcess, out), [](MessageReader& in) { return in.floats(); });
    if (outputs.size() != static_cast<size_t>(info_.numOutputs) * static_cast<size_t>(frames))
        throw Failure(pluginPath_, "bridge helper returned a block of the wrong size");
}

}  // namespace render
