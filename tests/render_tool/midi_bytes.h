// Builds Standard MIDI File bytes by hand, so tests control every byte:
// tempo maps, running status, and the broken files the reader must refuse.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <vector>

namespace rendertest {

class MidiTrack {
public:
    MidiTrack& event(uint32_t deltaPulses, std::initializer_list<unsigned char> bytes) {
        vlq(deltaPulses);
        data.insert(data.end(), bytes);
        return *this;
    }
    // Microseconds per quarter note (500000 = 120 beats a minute).
    MidiTrack& tempo(uint32_t deltaPulses, uint32_t microseconds) {
        return event(deltaPulses,
                     {0xff, 0x51, 0x03, static_cast<unsigned char>(microseconds >> 16),
                      static_cast<unsigned char>(microseconds >> 8), static_cast<unsigned char>(microseconds)});
    }
    MidiTrack& end(uint32_t deltaPulses = 0) { return event(deltaPulses, {0xff, 0x2f, 0x00}); }
    void vlq(uint32_t v) {
        unsigned char groups[5];
        int n = 0;
        do {
            groups[n++] = static_cast<unsigned char>(v & 0x7f);
            v >>= 7;
        } while (v);
        while (n > 1) data.push_back(groups[--n] | 0x80);
        data.push_back(groups[0]);
    }
    std::vector<unsigned char> data;
};

inline void putBigEndian(std::vector<unsigned char>& out, uint32_t v, int bytes) {
    for (int shift = 8 * (bytes - 1); shift >= 0; shift -= 8) out.push_back(static_cast<unsigned char>(v >> shift));
}

inline std::vector<unsigned char> midiFile(uint16_t format, uint16_t pulsesPerQuarter,
                                           const std::vector<MidiTrack>& tracks) {
    std::vector<unsigned char> out = {'M', 'T', 'h', 'd'};
    putBigEndian(out, 6, 4);
    putBigEndian(out, format, 2);
    putBigEndian(out, static_cast<uint32_t>(tracks.size()), 2);
    putBigEndian(out, pulsesPerQuarter, 2);
    for (const MidiTrack& t : tracks) {
        out.insert(out.end(), {'M', 'T', 'r', 'k'});
        putBigEndian(out, static_cast<uint32_t>(t.data.size()), 4);
        out.insert(out.end(), t.data.begin(), t.data.end());
    }
    return out;
}

// One note of half a second at 120 beats a minute: a short piece for tests
// that need any sound at all.
inline std::vector<unsigned char> shortPiece() {
    MidiTrack t;
    t.tempo(0, 500000).event(0, {0x90, 60, 100}).event(480, {0x80, 60, 0}).end();
    return midiFile(0, 480, {t});
}

}  // namespace rendertest
