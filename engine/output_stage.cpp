#include "engine/output_stage.h"

#include <algorithm>
#include <cstring>

#include "engine/render_block.h"
#include "numerics/float_environment.h"

namespace {

typedef uint32_t Bits4 __attribute__((vector_size(16)));

}  // namespace

void sanitizeMix(float* mix, int32_t count) {
    constexpr uint32_t kExponentMask = 0x7F800000u;  // all ones: infinity or NaN
    // The check runs on every block and almost always finds nothing: four
    // samples per step.
    Bits4 nonFinite4{};
    int32_t i = 0;
    for (; i + 4 <= count; i += 4) {
        Bits4 bits;
        std::memcpy(&bits, &mix[i], sizeof bits);
        nonFinite4 |= (Bits4)((bits & kExponentMask) == kExponentMask);
    }
    uint32_t nonFinite = nonFinite4[0] | nonFinite4[1] | nonFinite4[2] | nonFinite4[3];
    for (; i < count; ++i) {
        uint32_t bits;
        std::memcpy(&bits, &mix[i], sizeof bits);
        nonFinite |= static_cast<uint32_t>((bits & kExponentMask) == kExponentMask);
    }
    if (nonFinite == 0) return;
    for (int32_t i = 0; i < count; ++i) {
        uint32_t bits;
        std::memcpy(&bits, &mix[i], sizeof bits);
        if ((bits & kExponentMask) == kExponentMask) mix[i] = 0.0f;
    }
}

void foldToHostRate(HalfBandFilter& filterL, HalfBandFilter& filterR, float* mixL, float* mixR, float* outL,
                    float* outR, int32_t frames) {
    processStereo(filterL, filterR, mixL, mixR, 2 * frames);
    for (int32_t j = 0; j < frames; ++j) {
        outL[j] = (0.0f + mixL[2 * j] * 0.5f) + mixL[2 * j + 1] * 0.5f;
        outR[j] = (0.0f + mixR[2 * j] * 0.5f) + mixR[2 * j + 1] * 0.5f;
    }
}

void renderHostBlock(SynthEngine& engine, HalfBandFilter& filterL, HalfBandFilter& filterR,
                     const RenderBuffers& buffers, float* outL, float* outR, int32_t frames) {
    if (frames <= 0) return;
    RenderFloatEnvironment environment;
    const int32_t pieceFrames = buffers.capacity / 2;
    if (pieceFrames < 1 || !buffers.mixL || !buffers.mixR || !outL || !outR) {
        if (outL) std::fill(outL, outL + frames, 0.0f);
        if (outR) std::fill(outR, outR + frames, 0.0f);
        engine.eventCount = 0;
        return;
    }
    clampEventFrames(engine, 2 * static_cast<int64_t>(frames));
    const MixBuffers mix{buffers.scratchL, buffers.scratchR, buffers.mixL, buffers.mixR};
    for (int32_t done = 0; done < frames;) {
        const int32_t piece = std::min(pieceFrames, frames - done);
        const int32_t count = 2 * piece;
        std::fill(buffers.mixL, buffers.mixL + count, 0.0f);
        std::fill(buffers.mixR, buffers.mixR + count, 0.0f);
        renderQueuedPiece(engine, mix, count, done + piece == frames, renderVoicesInLanes);
        sanitizeMix(buffers.mixL, count);
        sanitizeMix(buffers.mixR, count);
        foldToHostRate(filterL, filterR, buffers.mixL, buffers.mixR, outL + done, outR + done, piece);
        done += piece;
    }
}
