// What the renderer needs of a loaded VST 2 plug-in, whether it runs in this
// process or in a helper process behind a pipe (the Windows bridge).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "plugin_base/vst2_interface.h"

namespace render {

// The plug-in's identity as its record states it.
struct PluginInfo {
    VstInt32 numPrograms = 0;
    VstInt32 numParams = 0;
    VstInt32 numInputs = 0;
    VstInt32 numOutputs = 0;
    VstInt32 flags = 0;
    VstInt32 uniqueID = 0;
    VstInt32 version = 0;

    bool hasChunks() const { return (flags & effFlagsProgramChunks) != 0; }
    bool isSynth() const { return (flags & effFlagsIsSynth) != 0; }
};

// A short MIDI message at a frame offset into the next processed block.
struct BlockEvent {
    VstInt32 deltaFrames;
    unsigned char bytes[3];
};

class Plugin {
public:
    virtual ~Plugin() = default;
    virtual const PluginInfo& info() const = 0;
    // Closes the plug-in and opens a fresh instance from the same file.
    virtual void reopen() = 0;
    // Opcodes whose pointer argument is unused (programs, rate, block size,
    // mains, process start and stop).
    virtual VstIntPtr dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) = 0;
    // A text the plug-in writes for an opcode (names, labels).
    virtual std::string text(VstInt32 opcode, VstInt32 index) = 0;
    virtual void setProgramName(const std::string& name) = 0;
    virtual float getParameter(VstInt32 index) = 0;
    virtual void setParameter(VstInt32 index, float value) = 0;
    virtual std::vector<unsigned char> getChunk(bool preset) = 0;
    virtual VstIntPtr setChunk(const std::vector<unsigned char>& bytes, bool preset) = 0;
    // Delivers the block's events, then one processReplacing call. inputs
    // holds numInputs × frames samples, outputs numOutputs × frames, channel
    // after channel.
    virtual void process(const std::vector<BlockEvent>& events, const std::vector<float>& inputs,
                         std::vector<float>& outputs, VstInt32 frames) = 0;
    // The transport position that the plug-in sees when it asks for the time.
    virtual void setSamplePosition(double frames) = 0;
};

}  // namespace render
