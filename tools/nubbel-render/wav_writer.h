// Writes interleaved float frames into a WAV file through libsndfile, as
// 16-bit or 24-bit integers (clipped at full scale) or 32-bit floats. The file
// appears only when finish() succeeds.
#pragma once

#include <memory>
#include <string>

#include "tools/nubbel-render/level_meter.h"
#include "tools/nubbel-render/pending_file.h"

struct sf_private_tag;

namespace render {

enum class SampleFormat { Pcm16, Pcm24, Float32 };

class WavWriter {
public:
    // Throws Failure naming path when the file cannot be created.
    WavWriter(const std::string& path, int channels, int sampleRate, SampleFormat format);
    ~WavWriter();
    WavWriter(const WavWriter&) = delete;
    WavWriter& operator=(const WavWriter&) = delete;

    void write(const float* interleaved, size_t frames);
    // Closes the file and puts it in place; throws Failure.
    void finish();
    const LevelMeter& levels() const { return levels_; }
    const std::string& path() const { return file_.path(); }

private:
    PendingFile file_;
    sf_private_tag* sound_ = nullptr;
    int channels_;
    LevelMeter levels_;
};

}  // namespace render
