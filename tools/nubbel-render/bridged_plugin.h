// A plug-in hosted by a helper process (nubbel-render-bridge) and driven over
// its stdin and stdout; used for Windows DLLs, which load only under wine.
#pragma once

#include <cstdio>
#include <string>
#include <sys/types.h>

#include "tools/nubbel-render/bridge_protocol.h"
#include "tools/nubbel-render/plugin.h"

namespace render {

class BridgedPlugin : public Plugin {
public:
    // Starts the helper (through launcher when it is not empty, e.g. the wine
    // runner) and has it load pluginPath. Throws Failure naming pluginPath.
    BridgedPlugin(const std::string& launcher, const std::string& helper, const std::string& pluginPath);
    ~BridgedPlugin() override;
    BridgedPlugin(const BridgedPlugin&) = delete;
    BridgedPlugin& operator=(const BridgedPlugin&) = delete;

    const PluginInfo& info() const override { return info_; }
    void reopen() override { load(); }
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) override;
    std::string text(VstInt32 opcode, VstInt32 index) override;
    void setProgramName(const std::string& name) override;
    float getParameter(VstInt32 index) override;
    void setParameter(VstInt32 index, float value) override;
    std::vector<unsigned char> getChunk(bool preset) override;
    VstIntPtr setChunk(const std::vector<unsigned char>& bytes, bool preset) override;
    void process(const std::vector<BlockEvent>& events, const std::vector<float>& inputs, std::vector<float>& outputs,
                 VstInt32 frames) override;
    void setSamplePosition(double frames) override { samplePosition_ = frames; }

private:
    // Has the helper load (or load again) the plug-in.
    void load();
    // Sends one request and returns the reply's payload; throws Failure when
    // the helper refuses or is gone.
    std::vector<unsigned char> request(bridge::Command command, const bridge::MessageWriter& message);
    // The helper's last words on stderr, for the error line when it died.
    std::string helperLastLine();
    void stopHelper();
    // Asks the helper to close the plug-in and end, then waits for it.
    void quitHelper();

    std::string pluginPath_;
    PluginInfo info_;
    pid_t child_ = -1;
    int toHelper_ = -1, fromHelper_ = -1;
    std::FILE* helperErrors_ = nullptr;
    double samplePosition_ = 0.0;
};

}  // namespace render
