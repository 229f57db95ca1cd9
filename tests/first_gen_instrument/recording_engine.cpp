// A FirstGenEngine that records what it is asked to do, linked in place of
// the real one so the plug-in layer's calls can be checked exactly.
#include "tests/first_gen_instrument/recording_engine.h"

namespace {
float noteTable[128];
const float* fillNoteTable() {
    // Any distinct values do: the tests only check which entry was read.
    for (int n = 0; n < 128; ++n) noteTable[n] = 1000.0f + float(n);
    return noteTable;
}
}  // namespace

const float* const firstGenNoteFrequencies = fillNoteTable();

std::vector<EngineCall>& engineCalls() {
    static std::vector<EngineCall> calls;
    return calls;
}

FirstGenEngine::FirstGenEngine(int32_t count) : params(new float[count]()), paramCount(count) {}
FirstGenEngine::~FirstGenEngine() { delete[] params; }
void FirstGenEngine::generateWavetable(const float*, float) { engineCalls().push_back({"generate"}); }
void FirstGenEngine::paramChanged(int32_t index) { engineCalls().push_back({"paramChanged", index}); }
void FirstGenEngine::setSampleRate(float rate) { engineCalls().push_back({"setSampleRate", 0, 0, rate}); }
void FirstGenEngine::noteOn(int32_t note, float frequency, float velocity, int32_t frame) {
    engineCalls().push_back({"noteOn", note, frame, velocity, frequency});
}
void FirstGenEngine::noteOff(int32_t note, int32_t frame) { engineCalls().push_back({"noteOff", note, frame}); }
void FirstGenEngine::pitchBend(float bend, int32_t frame) { engineCalls().push_back({"pitchBend", 0, frame, bend}); }
void FirstGenEngine::cutAllVoices() { engineCalls().push_back({"cutAllVoices"}); }
void FirstGenEngine::renderBlock(float* scratchL, float* scratchR, float* outL, float* outR, int32_t frames) {
    renderBlock(scratchL, scratchR, frames, outL, outR, frames);
}
void FirstGenEngine::renderBlock(float* scratchL, float* scratchR, int32_t scratchFrames, float* outL, float* outR,
                                 int32_t frames) {
    // Touches every float it is promised, so a short buffer shows in the
    // sanitizer build, and marks the output to show what was rendered.
    for (int32_t i = 0; i < frames; ++i) {
        if (i < scratchFrames) scratchL[i] = scratchR[i] = 0.0f;
        outL[i] += 1.0f;
        outR[i] += 1.0f;
    }
    engineCalls().push_back({"renderBlock", scratchFrames, frames});
}
