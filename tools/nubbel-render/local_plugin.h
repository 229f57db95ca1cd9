// A plug-in library loaded into this process through our own host.
#pragma once

#include <memory>
#include <string>

#include "tools/nubbel-render/plugin.h"
#include "tools/testhost/test_host.h"

namespace render {

class LocalPlugin : public Plugin {
public:
    // Loads the library and opens the plug-in; throws Failure naming path.
    explicit LocalPlugin(const std::string& path);
    ~LocalPlugin() override;

    const PluginInfo& info() const override { return info_; }
    void reopen() override;
    VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) override;
    std::string text(VstInt32 opcode, VstInt32 index) override;
    void setProgramName(const std::string& name) override;
    float getParameter(VstInt32 index) override;
    void setParameter(VstInt32 index, float value) override;
    std::vector<unsigned char> getChunk(bool preset) override;
    VstIntPtr setChunk(const std::vector<unsigned char>& bytes, bool preset) override;
    void process(const std::vector<BlockEvent>& events, const std::vector<float>& inputs, std::vector<float>& outputs,
                 VstInt32 frames) override;
    void setSamplePosition(double frames) override { host_.samplePosition = frames; }

private:
    void open();

    std::string path_;
    testhost::TestHost host_;
    PluginInfo info_;
    std::vector<float*> inputPointers_, outputPointers_;
    // Input buffers are handed over writable: some plug-ins process in place.
    std::vector<float> inputCopy_;
    std::vector<float> spareOutputs_;
};

}  // namespace render
