#include "tools/nubbel-render/bridge_server.h"

#include <memory>

#include "tools/nubbel-render/bridge_protocol.h"
#include "tools/nubbel-render/failure.h"
#include "tools/nubbel-render/local_plugin.h"

namespace render::bridge {

namespace {

// Bounds of one processed block, far above what the renderer asks for.
constexpr int32_t kMaxFrames = 1 << 16, kMaxEvents = 1 << 16;

void writeInfo(MessageWriter& out, const PluginInfo& info) {
    for (VstInt32 v :
         {info.numPrograms, info.numParams, info.numInputs, info.numOutputs, info.flags, info.uniqueID, info.version})
        out.i32(v);
}

// One request; the reply goes into out. Throws Failure for a reply of kReplyFailed.
void answer(uint32_t command, MessageReader& in, MessageWriter& out, std::unique_ptr<LocalPlugin>& plugin) {
    if (command < kLoad || command > kQuit) throw ProtocolError("unknown request");
    if (command == kLoad) {
        plugin.reset();
        plugin = std::make_unique<LocalPlugin>(in.text());
        writeInfo(out, plugin->info());
        return;
    }
    if (!plugin) throw Failure("bridge", "no plug-in loaded");
    switch (command) {
        case kDispatch: {
            const int32_t opcode = in.i32(), index = in.i32();
            const int64_t value = in.i64();
            const float opt = in.f32();
            out.i64(plugin->dispatch(opcode, index, static_cast<VstIntPtr>(value), opt));
            return;
        }
        case kText: {
            const int32_t opcode = in.i32(), index = in.i32();
            out.text(plugin->text(opcode, index));
            return;
        }
        case kSetProgramName: plugin->setProgramName(in.text()); return;
        case kGetParameter: out.f32(plugin->getParameter(in.i32())); return;
        case kSetParameter: {
            const int32_t index = in.i32();
            plugin->setParameter(index, in.f32());
            return;
        }
        case kGetChunk: out.bytes(plugin->getChunk(in.i32() != 0)); return;
        case kSetChunk: {
            const bool preset = in.i32() != 0;
            out.i64(plugin->setChunk(in.bytes(), preset));
            return;
        }
        case kProcess: {
            plugin->setSamplePosition(in.f64());
            const int32_t frames = in.i32(), count = in.i32();
            if (frames < 0 || frames > kMaxFrames || count < 0 || count > kMaxEvents) throw ProtocolError("bad block");
            std::vector<BlockEvent> events(static_cast<size_t>(count));
            for (BlockEvent& e : events) {
                e.deltaFrames = in.i32();
                in.raw(e.bytes, sizeof e.bytes);
            }
            std::vector<float> inputs = in.floats(), outputs;
            plugin->process(events, inputs, outputs, frames);
            out.floats(outputs);
            return;
        }
        default: throw ProtocolError("unknown request");
    }
}

}  // namespace

int serve(int inFd, int outFd) {
    std::unique_ptr<LocalPlugin> plugin;
    std::vector<unsigned char> request;
    uint32_t command = 0;
    while (readMessage(inFd, command, request)) {
        if (command == kQuit) {
            plugin.reset();
            writeMessage(outFd, kReplyOk, {});
            return 0;
        }
        MessageReader in(request);
        MessageWriter out;
        uint32_t tag = kReplyOk;
        try {
            answer(command, in, out, plugin);
        } catch (const Failure& f) {
            tag = kReplyFailed;
            out = MessageWriter();
            out.text(f.reason);
        } catch (const ProtocolError& e) {
            tag = kReplyFailed;
            out = MessageWriter();
            out.text(std::string("bridge protocol: ") + e.what());
        }
        if (!writeMessage(outFd, tag, out.data())) return 1;
    }
    return 1;
}

}  // namespace render::bridge
