#include "tools/nubbel-render/midi_file.h"

#include <algorithm>
#include <cmath>
#include <fstream>
#include <glib.h>
#include <smf.h>

#include "tools/nubbel-render/failure.h"
#include "tools/nubbel-render/midi_file_check.h"

namespace render {

long long frameAt(double seconds, double sampleRate) { return std::llround(seconds * sampleRate); }

namespace {

constexpr long long kMaxFileBytes = 64ll << 20;

// libsmf reports its complaints through glib's log; they are collected here
// and the first one becomes the reason in our one-line message.
struct LogCapture {
    LogCapture() { previous = g_log_set_default_handler(&LogCapture::collect, this); }
    ~LogCapture() { g_log_set_default_handler(previous, nullptr); }
    static void collect(const gchar*, GLogLevelFlags, const gchar* message, gpointer self) {
        auto* capture = static_cast<LogCapture*>(self);
        if (capture->first.empty() && message) capture->first = message;
    }
    GLogFunc previous;
    std::string first;
};

std::string tidyReason(std::string text) {
    const std::string prefix = "SMF error: ";
    if (text.compare(0, prefix.size(), prefix) == 0) text.erase(0, prefix.size());
    while (!text.empty() && (text.back() == '.' || text.back() == '\n' || text.back() == ' ')) text.pop_back();
    return text.empty() ? "not a readable MIDI file" : "not a valid MIDI file (" + text + ")";
}

// Bytes of a channel message by its status, or 0 for anything else.
int channelMessageLength(unsigned char status) {
    if (status < 0x80 || status >= 0xf0) return 0;
    const unsigned char kind = status & 0xf0;
    return (kind == 0xc0 || kind == 0xd0) ? 2 : 3;
}

}  // namespace

Score readMidiFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw Failure(path, "cannot open the MIDI file");
    in.seekg(0, std::ios::end);
    const auto size = static_cast<long long>(in.tellg());
    if (size < 0 || size > kMaxFileBytes) throw Failure(path, "too large for a MIDI file");
    in.seekg(0);
    std::vector<unsigned char> bytes(static_cast<size_t>(size));
    if (!in.read(reinterpret_cast<char*>(bytes.data()), size)) throw Failure(path, "cannot read the MIDI file");
    return readMidiBytes(bytes, path);
}

Score readMidiBytes(const std::vector<unsigned char>& bytes, const std::string& path) {
    std::vector<unsigned char> plain;
    try {
        plain = plainMidiFile(bytes);
    } catch (const std::runtime_error& e) {
        throw Failure(path, e.what());
    }

    LogCapture log;
    smf_t* smf = smf_load_from_memory(plain.data(), static_cast<int>(plain.size()));
    if (!smf) throw Failure(path, tidyReason(log.first));
    struct Release {
        smf_t* smf;
        ~Release() { smf_delete(smf); }
    } release{smf};
    smf_rewind(smf);

    Score score;
    score.description = path;
    while (smf_event_t* event = smf_get_next_event(smf)) {
        score.lengthSeconds = std::max(score.lengthSeconds, event->time_seconds);
        if (event->midi_buffer_length < 1 || smf_event_is_metadata(event) || smf_event_is_sysex(event)) continue;
        const unsigned char status = event->midi_buffer[0];
        const int length = channelMessageLength(status);
        if (length == 0 || event->midi_buffer_length < length) continue;
        TimedMessage m{event->time_seconds, {status, 0, 0}};
        for (int i = 1; i < length; ++i) m.bytes[i] = event->midi_buffer[i] & 0x7f;
        score.messages.push_back(m);
    }
    if (!log.first.empty()) throw Failure(path, tidyReason(log.first));
    std::stable_sort(score.messages.begin(), score.messages.end(),
                     [](const TimedMessage& a, const TimedMessage& b) { return a.seconds < b.seconds; });
    return score;
}

}  // namespace render
