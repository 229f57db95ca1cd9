#include "tools/nubbel-render/wav_writer.h"

#include <cstdio>
#include <sndfile.h>

#include "tools/nubbel-render/failure.h"

namespace render {

std::string dbText(double db) {
    if (!std::isfinite(db)) return "-inf dBFS";
    char text[32];
    std::snprintf(text, sizeof text, "%.1f dBFS", db);
    return text;
}

namespace {
int sndfileFormat(SampleFormat format) {
    switch (format) {
        case SampleFormat::Pcm16: return SF_FORMAT_WAV | SF_FORMAT_PCM_16;
        case SampleFormat::Pcm24: return SF_FORMAT_WAV | SF_FORMAT_PCM_24;
        case SampleFormat::Float32: return SF_FORMAT_WAV | SF_FORMAT_FLOAT;
    }
    return 0;
}
}  // namespace

WavWriter::WavWriter(const std::string& path, int channels, int sampleRate, SampleFormat format)
    : file_(path), channels_(channels) {
    SF_INFO info{};
    info.channels = channels;
    info.samplerate = sampleRate;
    info.format = sndfileFormat(format);
    if (!sf_format_check(&info)) throw Failure(path, "libsndfile cannot write this format");
    sound_ = sf_open_fd(file_.fd(), SFM_WRITE, &info, SF_TRUE);
    if (!sound_) throw Failure(path, std::string("cannot write a WAV file (") + sf_strerror(nullptr) + ")");
    file_.releaseDescriptor();
    // Integer output saturates at full scale instead of wrapping around.
    sf_command(sound_, SFC_SET_CLIPPING, nullptr, SF_TRUE);
}

WavWriter::~WavWriter() {
    if (sound_) sf_close(sound_);
}

void WavWriter::write(const float* interleaved, size_t frames) {
    levels_.add(interleaved, frames * static_cast<size_t>(channels_));
    const sf_count_t written = sf_writef_float(sound_, interleaved, static_cast<sf_count_t>(frames));
    if (written != static_cast<sf_count_t>(frames))
        throw Failure(path(), std::string("cannot write (") + sf_strerror(sound_) + ")");
}

void WavWriter::finish() {
    const int closed = sf_close(sound_);
    sound_ = nullptr;
    if (closed != 0) throw Failure(path(), std::string("cannot finish writing (") + sf_error_number(closed) + ")");
    file_.commit();
}

}  // namespace render
