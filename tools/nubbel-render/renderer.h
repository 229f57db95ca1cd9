// Plays a Score into a plug-in block by block, each message at its exact
// frame (deltaFrames inside its block), and writes what comes out. After the
// piece it renders on until the output stays below the silence level, or a
// tail limit is reached.
#pragma once

#include "tools/nubbel-render/plugin.h"
#include "tools/nubbel-render/progress_bar.h"
#include "tools/nubbel-render/score.h"
#include "tools/nubbel-render/wav_writer.h"

namespace render {

struct RenderSettings {
    double sampleRate = 44100.0;
    VstInt32 blockSize = 512;
    double tailLimitSeconds = 30.0;    // at most this long after the piece
    double silenceDb = -90.0;          // the tail ends below this ...
    double silenceHoldSeconds = 0.05;  // ... held for this long (a wave's zero crossings do not count)
    double inputSineHz = 0.0;          // > 0: a sine into every input while the piece plays
    double inputSineAmplitude = 0.5;
};

struct RenderStats {
    long long frames = 0;       // written
    long long pieceFrames = 0;  // of them, the piece itself
    bool tailLimited = false;   // the tail limit cut the release off
};

RenderStats renderScore(Plugin& plugin, const Score& score, const RenderSettings& settings, WavWriter& out,
                        ProgressBar& progress);

}  // namespace render
