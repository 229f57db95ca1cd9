#include "tools/nubbel-render/midi_file_check.h"

#include <climits>
#include <cstdint>
#include <stdexcept>
#include <string>

namespace render {

namespace {

constexpr size_t kHeaderChunkBytes = 14;  // "MThd", length 6, format, tracks, division
constexpr size_t kChunkHeaderBytes = 8;
constexpr unsigned char kMeta = 0xff, kSysex = 0xf0, kEscape = 0xf7;
constexpr unsigned char kEndOfTrack = 0x2f, kTempo = 0x51, kTimeSignature = 0x58;
// Pulses per track stay well inside the int that libsmf counts them in.
constexpr uint64_t kMaxTrackPulses = INT_MAX / 2;

[[noreturn]] void fail(const std::string& why) { throw std::runtime_error(why); }

uint32_t bigEndian(const std::vector<unsigned char>& b, size_t at, int bytes) {
    uint32_t v = 0;
    for (int i = 0; i < bytes; ++i) v = (v << 8) | b[at + static_cast<size_t>(i)];
    return v;
}

void putVlq(std::vector<unsigned char>& out, uint32_t v) {
    unsigned char groups[5];
    int n = 0;
    do {
        groups[n++] = static_cast<unsigned char>(v & 0x7f);
        v >>= 7;
    } while (v);
    while (n > 1) out.push_back(groups[--n] | 0x80);
    out.push_back(groups[0]);
}

// Reads one track's events between at and end and writes the plain form.
class TrackWalk {
public:
    TrackWalk(const std::vector<unsigned char>& file, size_t at, size_t end, int number)
        : file_(file), at_(at), end_(end), where_("track " + std::to_string(number)) {}

    std::vector<unsigned char> run() {
        unsigned char runningStatus = 0;
        for (;;) {
            if (at_ >= end_) fail("truncated: " + where_ + " ends without an end-of-track event");
            pendingDelta_ += vlq();
            if (pendingDelta_ > kMaxTrackPulses) fail(where_ + " is too long");
            const unsigned char first = byte("an event");
            if (first == kMeta) {
                const unsigned char type = byte("a meta event");
                const uint32_t length = vlq();
                if (length > end_ - at_) fail("truncated: a meta event runs past the end of " + where_);
                const size_t data = at_;
                at_ += length;
                if (type == kEndOfTrack) {
                    emit({kMeta, kEndOfTrack, 0});
                    return out_;
                }
                if (type == kTempo) {
                    if (length != 3)
                        fail(where_ + " has a tempo change of " + std::to_string(length) + " bytes, not 3");
                    if (bigEndian(file_, data, 3) == 0) fail(where_ + " has a tempo of zero");
                    emit({kMeta, kTempo, 3, file_[data], file_[data + 1], file_[data + 2]});
                } else if (type == kTimeSignature && length == 4) {
                    emit({kMeta, kTimeSignature, 4, file_[data], file_[data + 1], file_[data + 2], file_[data + 3]});
                }
                continue;
            }
            if (first == kSysex || first == kEscape) {
                const uint32_t length = vlq();
                if (length > end_ - at_) fail("truncated: a system-exclusive event runs past the end of " + where_);
                at_ += length;
                continue;
            }
            if (first >= 0xf0) fail(where_ + " holds a system message (0x" + hex(first) + ") a file may not hold");
            unsigned char status = first;
            if (first < 0x80) {
                if (runningStatus == 0) fail(where_ + " starts with a data byte where a status byte belongs");
                status = runningStatus;
                --at_;  // the byte read was the first data byte
            }
            runningStatus = status;
            const int dataBytes = ((status & 0xf0) == 0xc0 || (status & 0xf0) == 0xd0) ? 1 : 2;
            unsigned char message[3] = {status, 0, 0};
            for (int i = 1; i <= dataBytes; ++i) {
                message[i] = byte("a channel message");
                if (message[i] >= 0x80) fail(where_ + " has a channel message cut short");
            }
            emit(std::vector<unsigned char>(message, message + 1 + dataBytes));
        }
    }

private:
    unsigned char byte(const char* inside) {
        if (at_ >= end_) fail(std::string("truncated: ") + where_ + " ends inside " + inside);
        return file_[at_++];
    }
    uint32_t vlq() {
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) {
            const unsigned char b = byte("a length or time");
            v = (v << 7) | (b & 0x7f);
            if (!(b & 0x80)) return v;
        }
        fail(where_ + " has a length or time of more than four bytes");
    }
    void emit(const std::vector<unsigned char>& event) {
        putVlq(out_, static_cast<uint32_t>(pendingDelta_));
        pendingDelta_ = 0;
        out_.insert(out_.end(), event.begin(), event.end());
    }
    static std::string hex(unsigned char b) {
        const char digits[] = "0123456789abcdef";
        return {digits[b >> 4], digits[b & 15]};
    }

    const std::vector<unsigned char>& file_;
    size_t at_, end_;
    std::string where_;
    uint64_t pendingDelta_ = 0;
    std::vector<unsigned char> out_;
};

}  // namespace

std::vector<unsigned char> plainMidiFile(const std::vector<unsigned char>& file) {
    if (file.size() < kHeaderChunkBytes || bigEndian(file, 0, 4) != 0x4d546864)  // "MThd"
        fail(file.size() < 4 ? "not a MIDI file (too short)" : "not a MIDI file (no MThd header)");
    const uint32_t headerLength = bigEndian(file, 4, 4);
    if (headerLength < 6 || headerLength > file.size() - kChunkHeaderBytes)
        fail("not a MIDI file (header of " + std::to_string(headerLength) + " bytes)");
    const uint32_t format = bigEndian(file, 8, 2), tracks = bigEndian(file, 10, 2), division = bigEndian(file, 12, 2);
    if (format > 2) fail("not a MIDI file (type " + std::to_string(format) + ")");
    if (format == 2) fail("MIDI file type 2 (independent patterns) is not supported");
    if (tracks == 0) fail("the MIDI file has no tracks");
    if (division & 0x8000) fail("SMPTE time division is not supported");
    if (division == 0) fail("the MIDI file has zero pulses per quarter note");

    std::vector<unsigned char> out(file.begin(), file.begin() + kHeaderChunkBytes);
    out[7] = 6;  // header length: any extra header bytes are dropped
    size_t at = kChunkHeaderBytes + headerLength;
    for (uint32_t track = 1; track <= tracks;) {
        if (at == file.size())
            fail("truncated: the header announces " + std::to_string(tracks) + " tracks, the file holds " +
                 std::to_string(track - 1));
        if (file.size() - at < kChunkHeaderBytes) fail("truncated: the file ends inside a chunk header");
        const uint32_t id = bigEndian(file, at, 4), length = bigEndian(file, at + 4, 4);
        const size_t body = at + kChunkHeaderBytes;
        if (length > file.size() - body)
            fail("truncated: track " + std::to_string(track) + " needs " + std::to_string(length) +
                 " bytes, the file has " + std::to_string(file.size() - body) + " left");
        at = body + length;
        if (id != 0x4d54726b) continue;  // not "MTrk": chunks of other kinds are skipped
        std::vector<unsigned char> events = TrackWalk(file, body, body + length, static_cast<int>(track)).run();
        const unsigned char header[] = {'M', 'T', 'r', 'k'};
        out.insert(out.end(), header, header + 4);
        for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(events.size() >> shift));
        out.insert(out.end(), events.begin(), events.end());
        ++track;
    }
    return out;
}

}  // namespace render
