#include "tools/nubbel-render/renderer.h"

#include <algorithm>
#include <cmath>

namespace render {

namespace {

// Follows how long the output has stayed below the silence threshold.
struct SilenceWatch {
    float threshold;
    long long quietFrames = 0;
    void add(const float* interleaved, size_t frames, size_t channels) {
        for (size_t f = 0; f < frames; ++f) {
            bool loud = false;
            for (size_t c = 0; c < channels; ++c) loud = loud || std::fabs(interleaved[f * channels + c]) >= threshold;
            quietFrames = loud ? 0 : quietFrames + 1;
        }
    }
};

// Phase-continuous sine for the inputs of an effect.
struct SineSource {
    double hz, amplitude, sampleRate;
    double phase = 0.0;  // in cycles, 0 <= phase < 1
    void fill(std::vector<float>& planar, size_t channels, size_t frames) {
        constexpr double kTwoPi = 6.283185307179586;
        for (size_t f = 0; f < frames; ++f) {
            const auto v = static_cast<float>(amplitude * std::sin(kTwoPi * phase));
            for (size_t c = 0; c < channels; ++c) planar[c * frames + f] = v;
            phase += hz / sampleRate;
            phase -= std::floor(phase);
        }
    }
};

}  // namespace

RenderStats renderScore(Plugin& plugin, const Score& score, const RenderSettings& settings, WavWriter& out,
                        ProgressBar& progress) {
    const PluginInfo& info = plugin.info();
    const auto channels = static_cast<size_t>(info.numOutputs);
    const auto inputs = static_cast<size_t>(info.numInputs);
    const auto block = static_cast<size_t>(settings.blockSize);

    plugin.dispatch(effSetSampleRate, 0, 0, static_cast<float>(settings.sampleRate));
    plugin.dispatch(effSetBlockSize, 0, settings.blockSize, 0.0f);
    plugin.dispatch(effMainsChanged, 0, 1, 0.0f);
    plugin.dispatch(effStartProcess, 0, 0, 0.0f);

    RenderStats stats;
    stats.pieceFrames = frameAt(score.lengthSeconds, settings.sampleRate);
    const long long tailLimit = frameAt(settings.tailLimitSeconds, settings.sampleRate);
    const long long hold = std::max<long long>(1, frameAt(settings.silenceHoldSeconds, settings.sampleRate));
    SilenceWatch silence{static_cast<float>(std::pow(10.0, settings.silenceDb / 20.0))};
    SineSource sine{settings.inputSineHz, settings.inputSineAmplitude, settings.sampleRate};

    std::vector<BlockEvent> events;
    std::vector<float> input(inputs * block, 0.0f), output, interleaved(channels * block);
    size_t next = 0;
    for (long long start = 0;; start += static_cast<long long>(block)) {
        const bool inTail = start >= stats.pieceFrames && next >= score.messages.size();
        if (inTail && silence.quietFrames >= hold) break;
        if (inTail && start - stats.pieceFrames >= tailLimit) {
            stats.tailLimited = true;
            break;
        }
        events.clear();
        const long long end = start + static_cast<long long>(block);
        for (; next < score.messages.size(); ++next) {
            const TimedMessage& m = score.messages[next];
            const long long frame = std::max(0LL, frameAt(m.seconds, settings.sampleRate));
            if (frame >= end) break;
            events.push_back({static_cast<VstInt32>(frame - start), {m.bytes[0], m.bytes[1], m.bytes[2]}});
        }
        if (settings.inputSineHz > 0.0 && !inTail)
            sine.fill(input, inputs, block);
        else
            std::fill(input.begin(), input.end(), 0.0f);
        plugin.setSamplePosition(static_cast<double>(start));
        plugin.process(events, input, output, settings.blockSize);
        for (size_t f = 0; f < block; ++f)
            for (size_t c = 0; c < channels; ++c) interleaved[f * channels + c] = output[c * block + f];
        out.write(interleaved.data(), block);
        silence.add(interleaved.data(), block, channels);
        stats.frames = end;
        const double expected = static_cast<double>(std::max(1LL, stats.pieceFrames));
        progress.update(static_cast<double>(end) / expected, inTail);
    }

    plugin.dispatch(effStopProcess, 0, 0, 0.0f);
    plugin.dispatch(effMainsChanged, 0, 0, 0.0f);
    return stats;
}

}  // namespace render
