#include "tests/fuzz/host_script.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "plugin_base/vst2_interface.h"
#include "tests/fuzz/allocation_limit.h"
#include "tests/fuzz/script_format.h"
#include "tests/fuzz/script_reader.h"
#include "tools/testhost/plugin_library.h"

namespace fuzzhost {

namespace {

// `detail` is an index, a size or a measured value: ten digits show any
// integer the checks report exactly, and a value beyond every integer type.
[[noreturn]] void fail(const char* what, double detail) {
    // The fuzzer's crash report allocates on this thread.
    liftAllocationLimit();
    std::fprintf(stderr, "host script: %s (%.10g)\n", what, detail);
    std::fflush(stderr);
    std::abort();
}

uint32_t bitsOf(float v) {
    uint32_t bits;
    std::memcpy(&bits, &v, sizeof(bits));
    return bits;
}

// Limits of this host's own storage; a record beyond them is refused at load.
constexpr int kMaxChannels = 8;
constexpr int kMaxParams = 256;

VstTimeInfo transport() {
    VstTimeInfo t{};
    t.sampleRate = 44100.0;
    t.tempo = 120.0;
    t.timeSigNumerator = 4;
    t.timeSigDenominator = 4;
    return t;
}
VstTimeInfo timeInfo = transport();

VstIntPtr VSTCALLBACK answerPlugin(AEffect*, VstInt32 opcode, VstInt32, VstIntPtr, void*, float) {
    switch (opcode) {
        case audioMasterVersion: return kVstVersion;
        case audioMasterGetSampleRate: return 44100;
        case audioMasterGetBlockSize: return 512;
        case audioMasterGetTime: return reinterpret_cast<VstIntPtr>(&timeInfo);
        default: return 0;
    }
}

VstIntPtr dispatch(AEffect* e, VstInt32 opcode, VstInt32 index = 0, VstIntPtr value = 0, void* ptr = nullptr,
                   float opt = 0.0f) {
    return e->dispatcher(e, opcode, index, value, ptr, opt);
}

// Every buffer a script hands to the plug-in, made once: a script allocates
// nothing itself, so a memory limit meets only the plug-in's allocations.
struct Storage {
    float channels[2 * kMaxChannels][kMaxFrames];
    float* inputs[kMaxChannels];
    float* outputs[kMaxChannels];

    // Event records as hosts lay them out: one room per event, large enough
    // for every kind, and the list header followed by the pointer array.
    union EventRoom {
        VstEvent plain;
        VstMidiEvent midi;
        VstMidiSysexEvent sysex;
    };
    EventRoom events[kMaxEvents];
    char dumps[kMaxEvents][256];
    alignas(VstEvents) unsigned char list[offsetof(VstEvents, events) + kMaxEvents * sizeof(VstEvent*)];

    // Texts the plug-in writes get their documented room plus a canary behind it.
    static constexpr size_t kCanaryBytes = 64;
    static constexpr unsigned char kCanary = 0xa5;
    char textOut[256 + kCanaryBytes];
    char textIn[256];

    uint8_t chunk[65535];
    // The plug-in's own chunk copied for a round trip, as hosts copy it.
    static constexpr size_t kSavedChunkBytes = 1 << 20;
    uint8_t saved[kSavedChunkBytes];

    // Room for any record of the interface a pointer opcode takes.
    alignas(16) unsigned char record[1024];
    alignas(VstSpeakerArrangement) unsigned char arrangements[2][sizeof(VstSpeakerArrangement)];
};

Storage& storage() {
    static Storage* s = [] {
        Storage* made = new Storage();
        for (int c = 0; c < kMaxChannels; ++c) {
            made->inputs[c] = made->channels[c];
            made->outputs[c] = made->channels[kMaxChannels + c];
        }
        return made;
    }();
    return *s;
}

// The documented room of the text an opcode writes, terminator included; 0
// for opcodes that write none.
size_t textRoom(VstInt32 opcode) {
    switch (opcode) {
        case effGetParamLabel:
        case effGetParamDisplay:
        case effGetParamName: return kVstMaxParamStrLen + 1;
        case effGetProgramName:
        case effGetProgramNameIndexed: return kVstMaxProgNameLen + 1;
        case effGetEffectName: return kVstMaxEffectNameLen + 1;
        case effGetVendorString: return kVstMaxVendorStrLen + 1;
        case effGetProductString:
        case effShellGetNextPlugin: return kVstMaxProductStrLen + 1;
        case effGetErrorText: return 256;
        default: return 0;
    }
}

bool takesText(VstInt32 opcode) {
    return opcode == effSetProgramName || opcode == effString2Parameter || opcode == effCanDo;
}

// Opcodes whose ptr is a record the host fills or provides; they get a zeroed one.
bool takesRecord(VstInt32 opcode) {
    switch (opcode) {
        case effEditDraw:
        case effGetInputProperties:
        case effGetOutputProperties:
        case effOfflineNotify:
        case effOfflinePrepare:
        case effOfflineRun:
        case effProcessVarIo:
        case effVendorSpecific:
        case effGetParameterProperties:
        case effGetMidiProgramName:
        case effGetCurrentMidiProgram:
        case effGetMidiProgramCategory:
        case effGetMidiKeyName:
        case effBeginLoadBank:
        case effBeginLoadProgram: return true;
        default: return false;
    }
}

void checkText(const char* text, size_t room, VstInt32 opcode) {
    for (size_t i = room; i < room + Storage::kCanaryBytes; ++i)
        if (static_cast<unsigned char>(text[i]) != Storage::kCanary) fail("text beyond its documented size", opcode);
    bool written = false;
    for (size_t i = 0; i < room; ++i) {
        if (text[i] == 0) return;
        written = written || static_cast<unsigned char>(text[i]) != Storage::kCanary;
    }
    if (written) fail("text without its terminator inside its documented size", opcode);
}

// A chunk the plug-in hands out: its bytes must all be readable.
void touchChunk(const void* data, VstIntPtr size) {
    constexpr VstIntPtr kPlausibleChunkBytes = VstIntPtr(64) << 20;
    if (size <= 0) return;
    if (!data || size > kPlausibleChunkBytes) fail("chunk without bytes or of implausible size", size);
    unsigned sum = 0;
    for (VstIntPtr i = 0; i < size; ++i) sum += static_cast<const unsigned char*>(data)[i];
    volatile unsigned sink = sum;
    (void)sink;
}

// A replacing render writes every sample; this pattern (a NaN no arithmetic
// produces) marks the ones it left.
constexpr uint32_t kUnwrittenBits = 0x7fa5a5a5u;

struct Library {
    std::unique_ptr<testhost::PluginLibrary> module;
    testhost::PluginEntry entry = nullptr;
    VstInt32 numParams = -1;
    // A fresh instance's parameters and its program chunk: the sound every
    // check plays, loaded at once (parameter by parameter, each spectral one
    // would regenerate the wavetable).
    float sound[kMaxParams] = {};
    std::vector<uint8_t> soundChunk;
};

AEffect* createInstance(const Library& library) {
    AEffect* e = library.entry(answerPlugin);
    // Null is the plug-in's answer when its construction failed (memory
    // limited); a host reports that and lives on.
    if (!e) return nullptr;
    if (e->magic != kEffectMagic || e->numInputs < 0 || e->numInputs > kMaxChannels || e->numOutputs < 0 ||
        e->numOutputs > kMaxChannels || e->numParams < 0 || e->numParams > kMaxParams || !e->processReplacing)
        fail("implausible plug-in record, parameters", e->numParams);
    if (library.numParams >= 0 && e->numParams != library.numParams)
        fail("the parameter count changed between instances", e->numParams);
    dispatch(e, effOpen);
    return e;
}

// Renders `blocks` host blocks; each sample must be finite. Returns the peak.
float renderChecked(AEffect* e, VstInt32 blockFrames, int blocks, const char* what) {
    Storage& s = storage();
    float peak = 0.0f;
    for (int block = 0; block < blocks; ++block) {
        e->processReplacing(e, s.inputs, s.outputs, blockFrames);
        for (VstInt32 c = 0; c < e->numOutputs; ++c)
            for (VstInt32 i = 0; i < blockFrames; ++i) {
                const float x = s.outputs[c][i];
                if (!std::isfinite(x)) fail(what, block);
                peak = std::max(peak, std::fabs(x));
            }
    }
    return peak;
}

void sendMessages(AEffect* e, const unsigned char (*bytes)[3], int count) {
    constexpr int kMaxMessages = 3;
    VstMidiEvent messages[kMaxMessages] = {};
    alignas(VstEvents) unsigned char list[offsetof(VstEvents, events) + kMaxMessages * sizeof(VstEvent*)] = {};
    VstEvents* events = reinterpret_cast<VstEvents*>(list);
    events->numEvents = count;
    // The record declares two entries; hosts fill as many as they send.
    VstEvent** entries = events->events;
    for (int i = 0; i < count && i < kMaxMessages; ++i) {
        messages[i].type = kVstMidiType;
        messages[i].byteSize = sizeof(VstMidiEvent);
        for (int b = 0; b < 3; ++b) messages[i].midiData[b] = static_cast<char>(bytes[i][b]);
        entries[i] = reinterpret_cast<VstEvent*>(&messages[i]);
    }
    dispatch(e, effProcessEvents, 0, 0, events);
}

// Sane settings, the reference sound, no held notes and no bend, then one
// note: it must come out finite, audible and bounded.
void checkPlays(AEffect* e, const Library& library) {
    constexpr VstInt32 kBlock = 512;
    constexpr int kBlocks = 16;
    // The output stage's filters run on across suspend and resume, so a script
    // that played loud (a volume far beyond 1 is stored as sent) leaves a tail
    // there. It fades by about 0.9 per sample at the slowest; two blocks take
    // even the largest float below the audible bound before the note starts.
    constexpr int kTailBlocks = 2;
    constexpr float kAudible = 1e-3f;
    constexpr float kBound = 8.0f;

    dispatch(e, effMainsChanged, 0, 0);
    dispatch(e, effSetSampleRate, 0, 0, nullptr, 44100.0f);
    dispatch(e, effSetBlockSize, 0, kBlock);
    bool changed = false;
    for (VstInt32 i = 0; i < e->numParams; ++i)
        changed = changed || bitsOf(e->getParameter(e, i)) != bitsOf(library.sound[i]);
    if (changed) {
        // A copy, as hosts hand over chunks: the plug-in may keep nothing of it.
        Storage& s = storage();
        std::memcpy(s.saved, library.soundChunk.data(), library.soundChunk.size());
        dispatch(e, effSetChunk, 1, static_cast<VstIntPtr>(library.soundChunk.size()), s.saved);
        for (VstInt32 i = 0; i < e->numParams; ++i)
            if (bitsOf(e->getParameter(e, i)) != bitsOf(library.sound[i]))
                fail("a program chunk did not set parameter", i);
    }
    dispatch(e, effMainsChanged, 0, 1);

    const unsigned char silence[2][3] = {{0xb0, 123, 0}, {0xe0, 0x00, 0x40}};
    sendMessages(e, silence, 2);
    renderChecked(e, kBlock, kTailBlocks, "the tail of the script is not finite, block");

    const unsigned char note[1][3] = {{0x90, 60, 100}};
    sendMessages(e, note, 1);
    const float peak = renderChecked(e, kBlock, kBlocks, "the note after the script is not finite, block");
    if (!(peak > kAudible)) fail("the note after the script is not audible, peak", peak);
    if (!(peak < kBound)) fail("the note after the script is too loud, peak", peak);
}

Library& library(const char* path) {
    static Library* loaded = nullptr;  // kept until the process ends
    if (loaded) return *loaded;
    auto made = std::make_unique<Library>();
    std::string error;
    made->module = testhost::PluginLibrary::open(path, error);
    if (!made->module) {
        std::fprintf(stderr, "host script: %s: %s\n", path, error.c_str());
        std::abort();
    }
    made->entry = made->module->entry("VSTPluginMain");
    if (!made->entry) fail("no VSTPluginMain", 0);
    AEffect* fresh = createInstance(*made);
    if (!fresh) fail("a fresh instance could not be made", 0);
    made->numParams = fresh->numParams;
    for (VstInt32 i = 0; i < fresh->numParams; ++i) made->sound[i] = fresh->getParameter(fresh, i);
    void* chunk = nullptr;
    const VstIntPtr chunkBytes = dispatch(fresh, effGetChunk, 1, 0, &chunk);
    if (chunkBytes <= 0 || !chunk || static_cast<size_t>(chunkBytes) > Storage::kSavedChunkBytes)
        fail("no program chunk from a fresh instance", chunkBytes);
    made->soundChunk.assign(static_cast<const uint8_t*>(chunk), static_cast<const uint8_t*>(chunk) + chunkBytes);
    // The check itself must pass on an untouched instance.
    checkPlays(fresh, *made);
    dispatch(fresh, effClose);
    loaded = made.release();
    return *loaded;
}

class ScriptRun {
public:
    ScriptRun(Library& library, ScriptReader& in) : library_(library), in_(in) {}

    void run() {
        while (!in_.finished()) step();
    }

    // Memory back, then every instance must play; all are closed afterwards.
    void settle() {
        liftAllocationLimit();
        if (!slots_[0] && !slots_[1]) {
            slots_[0] = createInstance(library_);
            if (!slots_[0]) fail("no instance even with memory back", 0);
        }
        for (AEffect*& e : slots_) {
            if (!e) continue;
            checkPlays(e, library_);
            dispatch(e, effClose);
            e = nullptr;
        }
    }

private:
    void step() {
        switch (static_cast<Action>(in_.byte() % static_cast<uint8_t>(Action::Count))) {
            case Action::Dispatch: dispatchAny(); break;
            case Action::SetChunk: setChunk(); break;
            case Action::Events: sendEvents(); break;
            case Action::Process: process(); break;
            case Action::SetParameter: setParameter(); break;
            case Action::GetParameter: getParameter(); break;
            case Action::Lifecycle: lifecycle(); break;
            case Action::ChunkRoundTrip: chunkRoundTrip(); break;
            case Action::LimitMemory: limitAllocations(in_.interestingInt()); break;
            case Action::Count: break;
        }
    }

    // The instance an action names, made on first use; null while memory is
    // too short to make one.
    AEffect*& instance() {
        AEffect*& slot = slots_[in_.byte() & 1];
        if (!slot) slot = createInstance(library_);
        return slot;
    }

    // effClose destroys the instance; a host that closes one makes a new one.
    void closeAndReopen(AEffect*& e) {
        dispatch(e, effClose);
        e = createInstance(library_);
    }

    VstEvents* readEvents() {
        Storage& s = storage();
        const int count = in_.byte() % (kMaxEvents + 1);
        const int8_t lie = static_cast<int8_t>(in_.byte());
        VstEvents* list = reinterpret_cast<VstEvents*>(s.list);
        VstEvent** entries = list->events;
        for (int i = 0; i < count; ++i) entries[i] = readEvent(s.events[i], s.dumps[i]);
        list->numEvents = lie >= 0 ? count - std::min<int>(lie, count) : lie;
        return list;
    }

    // Any type, size and frame, but never a wild pointer: a sysex event's
    // dump is always there and as long as it says.
    VstEvent* readEvent(Storage::EventRoom& room, char* dump) {
        std::memset(&room, 0, sizeof(room));
        const auto shape = static_cast<EventShape>(in_.byte() % static_cast<uint8_t>(EventShape::Count));
        const int32_t deltaFrames = in_.interestingInt();
        const bool honestSize = in_.byte() == 0;
        const int32_t size = honestSize ? 0 : in_.interestingInt();
        VstInt32 type = kVstMidiType;
        switch (shape) {
            case EventShape::Midi:
                for (int b = 0; b < 3; ++b) room.midi.midiData[b] = static_cast<char>(in_.byte());
                break;
            case EventShape::Sysex:
                type = kVstSysExType;
                room.sysex.dumpBytes = static_cast<VstInt32>(in_.bytes(reinterpret_cast<uint8_t*>(dump), 255));
                break;
            case EventShape::Other: type = in_.interestingInt(); break;
            case EventShape::Count: break;
        }
        room.plain.type = type;
        room.plain.deltaFrames = deltaFrames;
        if (type == kVstSysExType) room.sysex.sysexDump = dump;
        room.plain.byteSize = honestSize ? (type == kVstSysExType  ? sizeof(VstMidiSysexEvent)
                                            : type == kVstMidiType ? sizeof(VstMidiEvent)
                                                                   : sizeof(VstEvent))
                                         : size;
        return &room.plain;
    }

    size_t readScriptChunk() { return in_.bytes(storage().chunk, sizeof(storage().chunk)); }

    void dispatchAny() {
        Storage& s = storage();
        AEffect*& e = instance();
        const VstInt32 opcode = in_.byte() % (kLastOpcode + 1);
        const VstInt32 index = in_.interestingInt();
        VstIntPtr value = in_.interestingInt();
        const float opt = in_.interestingFloat();
        void* ptr = nullptr;
        void* slot = nullptr;  // where an opcode writes a pointer back
        const size_t room = textRoom(opcode);
        if (room > 0) {
            std::memset(s.textOut, Storage::kCanary, sizeof(s.textOut));
            ptr = s.textOut;
        } else if (takesText(opcode)) {
            const size_t length = in_.bytes(reinterpret_cast<uint8_t*>(s.textIn), sizeof(s.textIn) - 1);
            s.textIn[length] = 0;
            ptr = s.textIn;
        } else if (takesRecord(opcode)) {
            std::memset(s.record, 0, sizeof(s.record));
            ptr = s.record;
        } else if (opcode == effSetChunk) {
            value = static_cast<VstIntPtr>(readScriptChunk());
            ptr = s.chunk;
        } else if (opcode == effProcessEvents) {
            ptr = readEvents();
        } else if (opcode == effSetSpeakerArrangement) {
            std::memset(s.arrangements, 0, sizeof(s.arrangements));
            auto* in = reinterpret_cast<VstSpeakerArrangement*>(s.arrangements[0]);
            auto* out = reinterpret_cast<VstSpeakerArrangement*>(s.arrangements[1]);
            in->numChannels = in_.byte() % 9;
            out->numChannels = in_.byte() % 9;
            value = reinterpret_cast<VstIntPtr>(in);
            ptr = out;
        } else if (opcode == effEditGetRect || opcode == effGetChunk || opcode == effGetSpeakerArrangement) {
            ptr = &slot;
            // effGetSpeakerArrangement answers through both value and ptr.
            if (opcode == effGetSpeakerArrangement) value = reinterpret_cast<VstIntPtr>(&s.record);
            std::memset(s.record, 0, sizeof(s.record));
        }
        // effEditOpen gets a null window: there is no display in a script
        // run, and a host never passes anything but a real window.
        if (!e) return;
        if (opcode == effClose) return closeAndReopen(e);

        const VstIntPtr answer = dispatch(e, opcode, index, value, ptr, opt);
        if (room > 0) checkText(s.textOut, room, opcode);
        if (opcode == effGetChunk) touchChunk(slot, answer);
        if (opcode == effEditGetRect && answer && slot) {
            volatile VstInt16 right = static_cast<ERect*>(slot)->right;
            (void)right;
        }
    }

    void setChunk() {
        AEffect* e = instance();
        const bool preset = in_.byte() & 1;
        const size_t size = readScriptChunk();
        if (e) dispatch(e, effSetChunk, preset, static_cast<VstIntPtr>(size), storage().chunk);
    }

    void sendEvents() {
        AEffect* e = instance();
        VstEvents* events = readEvents();
        if (e) dispatch(e, effProcessEvents, 0, 0, events);
    }

    void process() {
        Storage& s = storage();
        AEffect* e = instance();
        const bool accumulating = in_.byte() & 1;
        int32_t frames = in_.interestingInt();
        if (frames > kMaxFrames) frames %= kMaxFrames + 1;
        if (!e) return;
        if (accumulating) return e->process(e, s.inputs, s.outputs, frames);

        float unwritten;
        std::memcpy(&unwritten, &kUnwrittenBits, sizeof(unwritten));
        const VstInt32 filled = std::max(frames, 0);
        for (VstInt32 c = 0; c < e->numOutputs; ++c) std::fill(s.outputs[c], s.outputs[c] + filled, unwritten);
        e->processReplacing(e, s.inputs, s.outputs, frames);
        for (VstInt32 c = 0; c < e->numOutputs; ++c)
            for (VstInt32 i = 0; i < filled; ++i)
                if (bitsOf(s.outputs[c][i]) == kUnwrittenBits) fail("a replacing render left a sample unwritten", i);
    }

    void setParameter() {
        AEffect* e = instance();
        const VstInt32 index = in_.interestingInt();
        const float value = in_.interestingFloat();
        if (!e) return;
        e->setParameter(e, index, value);
        // Compared as numbers: -0 may leave a stored 0 as it is.
        if (index >= 0 && index < e->numParams && value >= 0.0f && value <= 1.0f && e->getParameter(e, index) != value)
            fail("getParameter does not return the value set, index", index);
    }

    void getParameter() {
        AEffect* e = instance();
        const VstInt32 index = in_.interestingInt();
        if (e) e->getParameter(e, index);
    }

    void lifecycle() {
        AEffect*& e = instance();
        const auto step = static_cast<LifecycleStep>(in_.byte() % static_cast<uint8_t>(LifecycleStep::Count));
        const float sampleRate = step == LifecycleStep::SampleRate ? in_.interestingFloat() : 0.0f;
        const VstIntPtr blockSize = step == LifecycleStep::BlockSize ? in_.interestingInt() : 0;
        if (!e) return;
        switch (step) {
            case LifecycleStep::Suspend: dispatch(e, effMainsChanged, 0, 0); break;
            case LifecycleStep::Resume: dispatch(e, effMainsChanged, 0, 1); break;
            case LifecycleStep::Close: closeAndReopen(e); break;
            case LifecycleStep::SampleRate: dispatch(e, effSetSampleRate, 0, 0, nullptr, sampleRate); break;
            case LifecycleStep::BlockSize: dispatch(e, effSetBlockSize, 0, blockSize); break;
            case LifecycleStep::Count: break;
        }
    }

    // A host saving and restoring the state at once: the plug-in's own chunk
    // read back leaves every parameter as it was.
    void chunkRoundTrip() {
        Storage& s = storage();
        AEffect* e = instance();
        const bool preset = in_.byte() & 1;
        if (!e) return;
        void* data = nullptr;
        const VstIntPtr size = dispatch(e, effGetChunk, preset, 0, &data);
        touchChunk(data, size);
        if (size <= 0 || static_cast<size_t>(size) > Storage::kSavedChunkBytes) return;
        std::memcpy(s.saved, data, static_cast<size_t>(size));
        uint32_t before[kMaxParams];
        for (VstInt32 i = 0; i < e->numParams; ++i) before[i] = bitsOf(e->getParameter(e, i));
        dispatch(e, effSetChunk, preset, size, s.saved);
        for (VstInt32 i = 0; i < e->numParams; ++i)
            if (bitsOf(e->getParameter(e, i)) != before[i]) fail("a chunk round trip changed parameter", i);
    }

    Library& library_;
    ScriptReader& in_;
    AEffect* slots_[2] = {};
};

}  // namespace

void runHostScript(const char* pluginPath, const uint8_t* data, size_t size) {
    Library& loaded = library(pluginPath);
    ScriptReader in(data, size);
    ScriptRun run(loaded, in);
    run.run();
    run.settle();
}

}  // namespace fuzzhost
