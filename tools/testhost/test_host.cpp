#include "tools/testhost/test_host.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

namespace testhost {

namespace {
// The plug-in's first call (the version question) comes before its record
// exists, so calls with a null record go to the host that is loading.
thread_local TestHost* loadingHost = nullptr;
std::mutex registryMutex;
std::map<AEffect*, TestHost*>& registry() {
    static std::map<AEffect*, TestHost*> hosts;
    return hosts;
}

TestHost* hostFor(AEffect* effect) {
    if (effect) {
        std::lock_guard<std::mutex> lock(registryMutex);
        auto it = registry().find(effect);
        if (it != registry().end()) return it->second;
    }
    return loadingHost;
}

constexpr const char* kHostCanDo[] = {"sendVstEvents",       "sendVstMidiEvent", "sendVstTimeInfo", "receiveVstEvents",
                                      "receiveVstMidiEvent", "sizeWindow",       "supplyIdle"};
}  // namespace

TestHost::TestHost() = default;

TestHost::~TestHost() {
    if (effect_) close();
}

VstIntPtr VSTCALLBACK TestHost::callback(AEffect* effect, VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr,
                                         float opt) {
    TestHost* host = hostFor(effect);
    if (!host) return opcode == audioMasterVersion ? 2400 : 0;
    HostCall call{opcode, index, value, opt, {}};
    if (opcode == audioMasterCanDo && ptr) call.text = static_cast<const char*>(ptr);
    if (host->recordCalls) host->calls.push_back(call);
    if (host->onCall) host->onCall(call);
    return host->answer(opcode, index, value, ptr, opt);
}

VstIntPtr TestHost::answer(VstInt32 opcode, VstInt32 /*index*/, VstIntPtr /*value*/, void* ptr, float /*opt*/) {
    switch (opcode) {
        case audioMasterVersion: return versionAnswer;
        case audioMasterCurrentId: return effect_ ? effect_->uniqueID : 0;
        case audioMasterWantMidi: return 1;
        case audioMasterGetTime:
            timeInfo_.samplePos = samplePosition;
            timeInfo_.sampleRate = sampleRate;
            timeInfo_.tempo = tempo;
            timeInfo_.timeSigNumerator = 4;
            timeInfo_.timeSigDenominator = 4;
            return reinterpret_cast<VstIntPtr>(&timeInfo_);
        case audioMasterGetSampleRate: return static_cast<VstIntPtr>(sampleRate);
        case audioMasterGetBlockSize: return blockSize;
        case audioMasterGetVendorString:
            if (ptr) std::strcpy(static_cast<char*>(ptr), "Nubbel test bench");
            return 1;
        case audioMasterGetProductString:
            if (ptr) std::strcpy(static_cast<char*>(ptr), "testhost");
            return 1;
        case audioMasterGetVendorVersion: return 1;
        case audioMasterCanDo:
            if (!ptr) return 0;
            for (const char* question : kHostCanDo)
                if (std::strcmp(question, static_cast<const char*>(ptr)) == 0) return 1;
            return 0;
        case audioMasterUpdateDisplay:
        case audioMasterBeginEdit:
        case audioMasterEndEdit:
        case audioMasterSizeWindow:
        case audioMasterIOChanged: return 1;
        case audioMasterGetCurrentProcessLevel: return 0;  // unknown
        default: return 0;
    }
}

bool TestHost::load(const std::string& path, std::string& error, const char* entryName) {
    if (effect_) close();
    library_ = PluginLibrary::open(path, error);
    if (!library_) return false;
    PluginEntry entry = library_->entry(entryName);
    if (!entry) {
        error = std::string("not a VST 2 plug-in (no ") + entryName + " export)";
        library_.reset();
        return false;
    }
    return create(entryName, error);
}

bool TestHost::loadAnyEntry(const std::string& path, std::string& error) {
    if (effect_) close();
    library_ = PluginLibrary::open(path, error);
    if (!library_) return false;
    const char* entryName = library_->entry("VSTPluginMain") ? "VSTPluginMain" : "main";
    if (!library_->entry(entryName)) {
        error = "not a VST 2 plug-in (no VSTPluginMain or main export)";
        library_.reset();
        return false;
    }
    return create(entryName, error);
}

bool TestHost::create(const char* entryName, std::string& error) {
    effect_ = callEntry(entryName);
    if (!effect_) {
        error = std::string(entryName) + " refused to create the plug-in";
        return false;
    }
    if (effect_->magic != kEffectMagic) {
        error = "the plug-in's record has a wrong magic number";
        effect_ = nullptr;
        return false;
    }
    return true;
}

AEffect* TestHost::callEntry(const char* entryName) {
    if (!library_) return nullptr;
    PluginEntry entry = library_->entry(entryName);
    if (!entry) return nullptr;
    TestHost* previous = loadingHost;
    loadingHost = this;
    AEffect* effect = entry(callback);
    loadingHost = previous;
    if (effect && !effect_) {
        std::lock_guard<std::mutex> lock(registryMutex);
        registry()[effect] = this;
    }
    return effect;
}

VstIntPtr TestHost::dispatch(VstInt32 opcode, VstInt32 index, VstIntPtr value, void* ptr, float opt) {
    if (!effect_) return 0;
    return effect_->dispatcher(effect_, opcode, index, value, ptr, opt);
}

std::string TestHost::text(VstInt32 opcode, VstInt32 index, VstIntPtr value) {
    // Generous and pre-filled, so an overlong answer shows as a long text.
    char buffer[512];
    std::memset(buffer, 0, sizeof(buffer));
    dispatch(opcode, index, value, buffer, 0.0f);
    buffer[sizeof(buffer) - 1] = 0;
    return buffer;
}

float TestHost::getParameter(VstInt32 index) { return effect_ ? effect_->getParameter(effect_, index) : 0.0f; }

void TestHost::setParameter(VstInt32 index, float value) {
    if (effect_) effect_->setParameter(effect_, index, value);
}

void TestHost::start(float rate, VstInt32 size) {
    sampleRate = rate;
    blockSize = size;
    dispatch(effOpen);
    dispatch(effSetSampleRate, 0, 0, nullptr, rate);
    dispatch(effSetBlockSize, 0, size);
    resume();
}

VstIntPtr TestHost::close() {
    if (!effect_) return 0;
    AEffect* effect = effect_;
    VstIntPtr result = dispatch(effClose);
    {
        std::lock_guard<std::mutex> lock(registryMutex);
        registry().erase(effect);
    }
    effect_ = nullptr;
    return result;
}

VstIntPtr TestHost::sendMidi(const std::vector<MidiMessage>& messages) {
    MidiEventList events(messages);
    return dispatch(effProcessEvents, 0, 0, events.list());
}

void TestHost::process(float* left, float* right, VstInt32 frames) {
    if (!effect_) return;
    float* outputs[2] = {left, right};
    float* inputs[2] = {nullptr, nullptr};
    effect_->processReplacing(effect_, inputs, outputs, frames);
}

void TestHost::processChannels(float** inputs, float** outputs, VstInt32 frames) {
    if (effect_) effect_->processReplacing(effect_, inputs, outputs, frames);
}

void TestHost::render(std::vector<float>& left, std::vector<float>& right, VstInt32 frames, VstInt32 size) {
    left.assign(static_cast<size_t>(frames), 0.0f);
    right.assign(static_cast<size_t>(frames), 0.0f);
    for (VstInt32 done = 0; done < frames;) {
        VstInt32 n = std::min(size, frames - done);
        process(left.data() + done, right.data() + done, n);
        done += n;
    }
}

std::vector<unsigned char> TestHost::getChunk(bool preset) {
    void* data = nullptr;
    VstIntPtr size = dispatch(effGetChunk, preset ? 1 : 0, 0, &data);
    if (size <= 0 || !data) return {};
    const auto* bytes = static_cast<const unsigned char*>(data);
    return std::vector<unsigned char>(bytes, bytes + size);
}

VstIntPtr TestHost::setChunk(const std::vector<unsigned char>& bytes, bool preset) {
    std::vector<unsigned char> copy = bytes;  // the plug-in may not keep our pointer
    return dispatch(effSetChunk, preset ? 1 : 0, static_cast<VstIntPtr>(copy.size()),
                    copy.empty() ? nullptr : copy.data());
}

int TestHost::countCalls(VstInt32 opcode) const {
    return static_cast<int>(
        std::count_if(calls.begin(), calls.end(), [opcode](const HostCall& c) { return c.opcode == opcode; }));
}

}  // namespace testhost
