// Writes the seed corpus and the hand-made regression inputs of both
// instruments into a folder laid out like tests/fuzz:
//   make_fuzz_seeds tests/fuzz
// Every file is a host script (script_format.h). The seeds start the fuzzer
// inside each kind of action; the regression inputs are the faults found by
// earlier fuzzing and reading, kept so the replay test runs them forever.
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <limits>
#include <string>
#include <vector>

#include "tests/fuzz/script_writer.h"

namespace {

using fuzzhost::LifecycleStep;
using fuzzhost::Midi;
using fuzzhost::ScriptWriter;

constexpr float kNaN = std::numeric_limits<float>::quiet_NaN();
constexpr float kInf = std::numeric_limits<float>::infinity();
constexpr int32_t kIntMax = std::numeric_limits<int32_t>::max();
constexpr int32_t kIntMin = std::numeric_limits<int32_t>::min();

ScriptWriter playing() {
    ScriptWriter w;
    w.start(0).events(0, {{0x90, 60, 100}, {0x90, 64, 90, 100}}).process(0, 512).process(0, 512);
    w.events(0, {{0x80, 60, 0}, {0x90, 64, 0, 10}}).process(0, 512, true).process(0, 4096);
    return w;
}

ScriptWriter texts() {
    ScriptWriter w;
    for (VstInt32 opcode : {effGetProgramName, effGetEffectName, effGetVendorString, effGetProductString,
                            effGetErrorText, effShellGetNextPlugin})
        w.dispatch(0, opcode);
    for (int32_t index : {0, 22, 48, 49, -1, kIntMax})
        for (VstInt32 opcode : {effGetParamLabel, effGetParamDisplay, effGetParamName}) w.dispatch(0, opcode, index);
    for (int32_t program : {0, 1, 127, 128, -1}) w.dispatch(0, effGetProgramNameIndexed, program);
    w.dispatch(0, effSetProgramName).text("a name longer than twenty-four characters");
    w.dispatch(0, effGetProgramName);
    w.dispatch(0, effCanDo).text("receiveVstEvents");
    w.dispatch(0, effCanDo).text("");
    w.dispatch(0, effString2Parameter, 3).text("0.5");
    return w;
}

ScriptWriter chunks() {
    ScriptWriter w;
    w.start(0).chunkRoundTrip(0, true).chunkRoundTrip(0, false);
    w.setChunk(0, true, {}).setChunk(0, false, {1, 2, 3});
    w.setChunk(0, true, std::vector<uint8_t>(196, 0xff)).setChunk(0, false, std::vector<uint8_t>(1760, 0x7f));
    w.dispatch(0, effGetChunk, 1).dispatch(0, effGetChunk, 0);
    w.events(0, {{0x90, 60, 100}}).process(0, 1024);
    return w;
}

ScriptWriter events() {
    ScriptWriter w;
    w.start(0);
    w.eventList(0, 6, 0)
        .midiEvent({0x90, 60, 127, kIntMax})
        .midiEvent({0x9f, 61, 1, -5}, 4)
        .sysexEvent("\xf0\x7e\x7f\x09\x01\xf7", 3)
        .otherEvent(fuzzhost::kMaxEvents, 0, kIntMin)
        .midiEvent({0xe0, 0x7f, 0x7f, 1})
        .midiEvent({0xb0, 123, 0, 2});
    w.process(0, fuzzhost::kMaxFrames).process(0, 0).process(0, -1);
    w.eventList(0, 2, -3).midiEvent({0x90, 62, 100}).midiEvent({0x90, 63, 100});
    w.eventList(0, 2, 1).midiEvent({0x90, 64, 100}).otherEvent(kVstSysExType, 0, 8);
    w.process(0, 16385);
    return w;
}

ScriptWriter parameters() {
    ScriptWriter w;
    w.start(0);
    for (float value : {kNaN, kInf, -kInf, 1.7f, -1.0f, 0.0f, -0.0f, 1.0f, 1e-40f})
        for (int32_t index : {0, 8, 32, 48}) w.setParameter(0, index, value);
    w.setParameter(0, -1, 0.5f).setParameter(0, 1000, 0.5f).getParameter(0, kIntMin).getParameter(0, 22);
    w.events(0, {{0x90, 60, 100}}).process(0, 2048);
    w.dispatch(0, effSetProgram, 0, 3).dispatch(0, effSetProgram, 0, -1).dispatch(0, effSetProgram, 0, kIntMax);
    w.dispatch(0, effEditKeyDown, 'a', 0, kNaN).dispatch(0, effEditKeyUp, 'a', 0, 3e9f);
    return w;
}

ScriptWriter lifecycle() {
    ScriptWriter w;
    w.start(0).start(1).events(1, {{0x90, 48, 80}}).process(1, 300);
    for (float rate : {0.0f, -1.0f, kNaN, kInf, 1e9f, 1.0f}) w.sampleRate(0, rate).lifecycle(0, LifecycleStep::Resume);
    for (int32_t size : {0, -512, kIntMax, 1}) w.blockSize(0, size).lifecycle(0, LifecycleStep::Resume).process(0, 64);
    w.lifecycle(1, LifecycleStep::Close).process(1, 64).lifecycle(0, LifecycleStep::Suspend).process(0, 64);
    w.lifecycle(0, LifecycleStep::Suspend).lifecycle(0, LifecycleStep::Close);
    return w;
}

ScriptWriter everyOpcode() {
    ScriptWriter w;
    w.start(0);
    for (int opcode = 0; opcode <= fuzzhost::kLastOpcode; ++opcode) {
        if (opcode == effClose) continue;
        w.dispatch(0, opcode);
        if (opcode == effCanDo || opcode == effSetProgramName || opcode == effString2Parameter) w.text("x");
        if (opcode == effSetChunk) w.counted(nullptr, 0, true);
        if (opcode == effProcessEvents) w.byte(0).byte(0);
        if (opcode == effSetSpeakerArrangement) w.byte(2).byte(2);
    }
    return w.dispatch(0, effClose);
}

ScriptWriter memoryLimited() {
    ScriptWriter w;
    w.start(0).limitMemory(4096);
    w.setParameter(0, 32, 0.3f).dispatch(0, effSetProgram, 0, 2).chunkRoundTrip(0, false);
    w.lifecycle(0, LifecycleStep::Suspend).lifecycle(0, LifecycleStep::Resume).process(0, 512);
    return w;
}

// The first finding: a block size of 2^30 overflowed the work buffers' size
// and ended the host with an exception from resume.
ScriptWriter hugeBlockSize() {
    ScriptWriter w;
    w.sampleRate(0, 44100.0f).blockSize(0, 1 << 30).lifecycle(0, LifecycleStep::Resume);
    w.events(0, {{0x90, 60, 100}}).process(0, fuzzhost::kMaxFrames);
    return w.lifecycle(0, LifecycleStep::Close);
}

// The second: a block size of 2^27 with memory short made resume throw
// std::bad_alloc into the host. Here no allocation succeeds after the limit,
// so the new instance after the close cannot be made either.
ScriptWriter largeBlockSizeWithoutMemory() {
    ScriptWriter w;
    w.sampleRate(0, 44100.0f).blockSize(0, 1 << 27).limitMemory(0).lifecycle(0, LifecycleStep::Resume);
    w.events(0, {{0x90, 60, 100}}).process(0, 4096);
    return w.lifecycle(0, LifecycleStep::Close).process(0, 512);
}

// The third: a volume of 1e30 (index 48 here, 22 in the first generation),
// stored as sent and played at that gain; the check afterwards met the tail of
// it in the output stage's filters and took it for its own note.
ScriptWriter loudVolumeThenCheck() {
    ScriptWriter w;
    w.start(0).setParameter(0, 48, 1e30f).setParameter(0, 22, 1e30f);
    w.events(0, {{0x90, 60, 100}}).process(0, 512);
    return w;
}

bool write(const std::filesystem::path& file, const ScriptWriter& script) {
    std::filesystem::create_directories(file.parent_path());
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(script.bytes().data()),
              static_cast<std::streamsize>(script.bytes().size()));
    return out.good();
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_fuzz_seeds FOLDER (tests/fuzz)\n");
        return 2;
    }
    const std::filesystem::path root = argv[1];
    const std::vector<std::pair<const char*, ScriptWriter>> seeds = {{"playing", playing()},
                                                                     {"texts", texts()},
                                                                     {"chunks", chunks()},
                                                                     {"events", events()},
                                                                     {"parameters", parameters()},
                                                                     {"lifecycle", lifecycle()},
                                                                     {"every-opcode", everyOpcode()},
                                                                     {"memory-limited", memoryLimited()}};
    const std::vector<std::pair<const char*, ScriptWriter>> regressions = {
        {"block-size-2p30-resume-process-close", hugeBlockSize()},
        {"block-size-2p27-memory-limited", largeBlockSizeWithoutMemory()},
        {"volume-1e30-then-check", loudVolumeThenCheck()}};
    bool ok = true;
    for (const char* instrument : {"nubbel3", "nubbel"}) {
        for (const auto& [name, script] : seeds) ok = write(root / "corpus" / instrument / name, script) && ok;
        for (const auto& [name, script] : regressions)
            ok = write(root / "regressions" / instrument / name, script) && ok;
    }
    return ok ? 0 : 1;
}
