#include "tools/nubbel-render/local_plugin.h"

#include <algorithm>

#include "tools/nubbel-render/failure.h"

namespace render {

LocalPlugin::LocalPlugin(const std::string& path) : path_(path) {
    host_.recordCalls = false;
    open();
}

void LocalPlugin::reopen() {
    host_.close();
    open();
}

void LocalPlugin::open() {
    const std::string& path = path_;
    std::string error;
    if (!host_.loadAnyEntry(path, error)) {
        // Windows system messages keep their insert marks ("... for %1.").
        const size_t mark = error.find(" for %1");
        if (mark != std::string::npos) error.erase(mark, 7);
        throw Failure(path, error);
    }
    const AEffect* e = host_.effect();
    info_.numPrograms = e->numPrograms;
    info_.numParams = e->numParams;
    info_.numInputs = e->numInputs;
    info_.numOutputs = e->numOutputs;
    info_.flags = e->flags;
    info_.uniqueID = e->uniqueID;
    info_.version = e->version;
    if (!e->processReplacing || !(e->flags & effFlagsCanReplacing))
        throw Failure(path, "the plug-in does not offer processReplacing");
    host_.dispatch(effOpen);
    // A record may be completed in effOpen; counts are read again after it.
    info_.numPrograms = e->numPrograms;
    info_.numParams = e->numParams;
    info_.numInputs = e->numInputs;
    info_.numOutputs = e->numOutputs;
    if (info_.numInputs < 0 || info_.numOutputs < 0 || info_.numParams < 0 || info_.numPrograms < 0)
        throw Failure(path, "the plug-in's record states negative counts");
}

LocalPlugin::~LocalPlugin() { host_.close(); }

VstIntPtr LocalPlugin::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, float opt) {
    if (opcode == effSetSampleRate) host_.sampleRate = opt;
    if (opcode == effSetBlockSize) host_.blockSize = static_cast<VstInt32>(value);
    return host_.dispatch(opcode, index, value, nullptr, opt);
}

std::string LocalPlugin::text(VstInt32 opcode, VstInt32 index) { return host_.text(opcode, index); }

void LocalPlugin::setProgramName(const std::string& name) {
    // Room for an overlong write by the plug-in; it should stop at 24 characters.
    std::vector<char> buffer(std::max<size_t>(name.size() + 1, 256), 0);
    std::copy(name.begin(), name.end(), buffer.begin());
    host_.dispatch(effSetProgramName, 0, 0, buffer.data());
}

float LocalPlugin::getParameter(VstInt32 index) { return host_.getParameter(index); }

void LocalPlugin::setParameter(VstInt32 index, float value) { host_.setParameter(index, value); }

std::vector<unsigned char> LocalPlugin::getChunk(bool preset) { return host_.getChunk(preset); }

VstIntPtr LocalPlugin::setChunk(const std::vector<unsigned char>& bytes, bool preset) {
    return host_.setChunk(bytes, preset);
}

void LocalPlugin::process(const std::vector<BlockEvent>& events, const std::vector<float>& inputs,
                          std::vector<float>& outputs, VstInt32 frames) {
    if (!events.empty()) {
        std::vector<testhost::MidiMessage> messages;
        messages.reserve(events.size());
        for (const BlockEvent& e : events) messages.push_back({e.deltaFrames, e.bytes[0], e.bytes[1], e.bytes[2]});
        host_.sendMidi(messages);
    }
    // Hosts hand at least two channel pointers each way; some plug-ins touch
    // them whatever their record says, so the spare ones lead to scratch.
    constexpr size_t kMinimumChannels = 2;
    const size_t n = static_cast<size_t>(frames);
    const size_t ins = static_cast<size_t>(info_.numInputs), outs = static_cast<size_t>(info_.numOutputs);
    inputCopy_.assign(inputs.begin(), inputs.end());
    inputCopy_.resize(std::max(ins, kMinimumChannels) * n, 0.0f);
    outputs.assign(outs * n, 0.0f);
    spareOutputs_.assign(kMinimumChannels * n, 0.0f);
    inputPointers_.resize(std::max(ins, kMinimumChannels));
    outputPointers_.resize(std::max(outs, kMinimumChannels));
    for (size_t c = 0; c < inputPointers_.size(); ++c) inputPointers_[c] = inputCopy_.data() + c * n;
    for (size_t c = 0; c < outputPointers_.size(); ++c)
        outputPointers_[c] = c < outs ? outputs.data() + c * n : spareOutputs_.data() + (c - outs) * n;
    host_.processChannels(inputPointers_.data(), outputPointers_.data(), frames);
}

}  // namespace render
