// Held notes over a minute: every factory program of both instruments with 1,
// 4 and 16 held voices (and none: the output stage alone), 60 seconds of audio
// in host blocks of 512 frames at 44.1 kHz. Reports the render's CPU time per
// second of audio over the first and the last 10 seconds, with the calling
// thread's flush-to-zero off and on: a render that slows down while notes are
// held, or depends on the host's settings, shows as last/first above 1.
//
// bench_held_notes [nubbel3|nubbel [program [voices]]] narrows the table to
// one instrument, program or voice count, for repeated measurements of one case.
#include <strings.h>
#include <time.h>

#include <cstdio>
#include <cstdlib>
#include <memory>
#include <vector>

#include "engine/output_stage.h"
#include "first_generation/engine/first_gen_engine.h"
#include "first_generation/instrument/factory_bank.h"
#include "instrument/factory_bank.h"
#include "numerics/float_environment.h"

namespace {

constexpr float kHostRate = 44100.0f;
constexpr int32_t kBlock = 512;
constexpr int32_t kSeconds = 60;
constexpr int32_t kWindowSeconds = 10;
constexpr int32_t kBlocksPerWindow = static_cast<int32_t>(kWindowSeconds * kHostRate / kBlock);
constexpr int32_t kTotalBlocks = static_cast<int32_t>(kSeconds * kHostRate / kBlock);
constexpr float kVelocity = 0.8f;

// Keys of a chord of `voices` notes a minor third apart around middle C.
int32_t chordKey(int32_t voices, int32_t n) { return 60 - 3 * (voices / 2) + 3 * n; }

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) + 1e-9 * static_cast<double>(t.tv_nsec);
}

struct Nubbel3Rig {
    std::unique_ptr<SynthEngine> engine = std::make_unique<SynthEngine>();
    std::vector<float> work = std::vector<float>(4 * 2 * kBlock);
    std::vector<float> outL = std::vector<float>(kBlock), outR = outL;
    HalfBandFilter filterL, filterR;

    Nubbel3Rig(int32_t program, int32_t voices) {
        engine->setSampleRate(kHostRate);
        engine->loadAllParameters(kFactoryBank[program].values);
        for (int32_t n = 0; n < voices; ++n) engine->noteOn(chordKey(voices, n), kVelocity, 0);
    }
    void renderBlock() {
        float* w = work.data();
        const RenderBuffers buffers{w, w + 2 * kBlock, w + 4 * kBlock, w + 6 * kBlock, 2 * kBlock};
        renderHostBlock(*engine, filterL, filterR, buffers, outL.data(), outR.data(), kBlock);
    }
};

struct NubbelRig {
    std::unique_ptr<FirstGenEngine> engine = std::make_unique<FirstGenEngine>();
    std::vector<float> scratchL = std::vector<float>(kBlock), scratchR = scratchL, outL = scratchL, outR = scratchL;

    NubbelRig(int32_t program, int32_t voices) {
        constexpr int32_t kKeyOffset = 12;  // the engine's note numbers start an octave above key 0
        engine->setSampleRate(kHostRate);
        for (int32_t i = 0; i < FirstGenEngine::kParamCount; ++i)
            engine->params[i] = firstgen::kFactoryBank[program].values[i];
        engine->paramChanged(FirstGenEngine::kAllParameters);
        for (int32_t n = 0; n < voices; ++n) {
            const int32_t note = chordKey(voices, n) - kKeyOffset;
            engine->noteOn(note, firstGenNoteFrequencies[note], kVelocity, 0);
        }
    }
    void renderBlock() {
        std::fill(outL.begin(), outL.end(), 0.0f);
        std::fill(outR.begin(), outR.end(), 0.0f);
        engine->renderBlock(scratchL.data(), scratchR.data(), outL.data(), outR.data(), kBlock);
    }
};

struct Cost {
    double first;  // ms of CPU per second of audio
    double last;
};

// Renders a minute with the calling thread's MXCSR at `hostControl`.
template <typename Rig>
Cost measure(int32_t program, int32_t voices, unsigned hostControl) {
    Rig rig(program, voices);
    const unsigned saved = _mm_getcsr();
    _mm_setcsr(hostControl);
    double firstStart = 0, firstEnd = 0, lastStart = 0;
    for (int32_t block = 0; block < kTotalBlocks; ++block) {
        if (block == 0) firstStart = threadSeconds();
        if (block == kBlocksPerWindow) firstEnd = threadSeconds();
        if (block == kTotalBlocks - kBlocksPerWindow) lastStart = threadSeconds();
        rig.renderBlock();
    }
    const double lastEnd = threadSeconds();
    _mm_setcsr(saved);
    const double audioSeconds = kBlocksPerWindow * kBlock / kHostRate;
    return Cost{1e3 * (firstEnd - firstStart) / audioSeconds, 1e3 * (lastEnd - lastStart) / audioSeconds};
}

// The cases the command line selects; -1 selects all.
struct Selection {
    const char* instrument = nullptr;
    int32_t program = -1;
    int32_t voices = -1;

    bool wants(const char* name) const { return instrument == nullptr || strcasecmp(instrument, name) == 0; }
    static bool matches(int32_t wanted, int32_t value) { return wanted < 0 || wanted == value; }
};

template <typename Rig>
void reportInstrument(const char* name, const Selection& selection) {
    constexpr int32_t kVoiceCounts[] = {0, 1, 4, 16};
    if (!selection.wants(name)) return;
    constexpr unsigned kHostControls[] = {kDefaultFloatControl, kDefaultFloatControl | kFlushToZero};
    std::printf("\n%s: ms of CPU per second of audio, first / last 10 s of 60 s (per voice-second in brackets)\n",
                name);
    std::printf("%-7s %-6s %-22s %-22s\n", "program", "voices", "host FTZ off", "host FTZ on");
    for (int32_t program = 0; program < kProgramCount; ++program) {
        for (int32_t voices : kVoiceCounts) {
            if (!Selection::matches(selection.program, program) || !Selection::matches(selection.voices, voices))
                continue;
            std::printf("%-7d %-6d", program, voices);
            for (unsigned control : kHostControls) {
                const Cost cost = measure<Rig>(program, voices, control);
                const double perVoice = voices > 0 ? cost.last / voices : 0.0;
                std::printf(" %6.2f / %6.2f (%5.2f)", cost.first, cost.last, perVoice);
            }
            std::printf("\n");
            std::fflush(stdout);
        }
    }
}

}  // namespace

int main(int argc, char** argv) {
    Selection selection;
    if (argc > 1) selection.instrument = argv[1];
    if (argc > 2) selection.program = std::atoi(argv[2]);
    if (argc > 3) selection.voices = std::atoi(argv[3]);
    reportInstrument<Nubbel3Rig>("Nubbel3", selection);
    reportInstrument<NubbelRig>("Nubbel", selection);
    return 0;
}
