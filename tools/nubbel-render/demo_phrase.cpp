#include "tools/nubbel-render/demo_phrase.h"

#include <algorithm>
#include <iterator>

namespace render {

namespace {

// A note in beats from the start; keys are MIDI note numbers (60 = middle C).
struct DemoNote {
    double startBeat, beats;
    unsigned char key, velocity;
};

constexpr double kBeatsPerMinute = 80.0;
constexpr unsigned char kChordVelocity = 72, kMelodyVelocity = 100;
constexpr unsigned char kNoteOn = 0x90, kNoteOff = 0x80;  // channel 1

// One chord a bar, held to the next (A minor, F major 7, C add 9, G 6, then
// A minor add 9 for two bars), and a melody an octave and more above.
constexpr DemoNote kNotes[] = {
    {0, 4, 45, kChordVelocity},   {0, 4, 52, kChordVelocity},   {0, 4, 55, kChordVelocity},
    {0, 4, 60, kChordVelocity},   {4, 4, 41, kChordVelocity},   {4, 4, 48, kChordVelocity},
    {4, 4, 52, kChordVelocity},   {4, 4, 57, kChordVelocity},   {8, 4, 48, kChordVelocity},
    {8, 4, 55, kChordVelocity},   {8, 4, 62, kChordVelocity},   {8, 4, 64, kChordVelocity},
    {12, 4, 43, kChordVelocity},  {12, 4, 50, kChordVelocity},  {12, 4, 59, kChordVelocity},
    {12, 4, 64, kChordVelocity},  {16, 8, 45, kChordVelocity},  {16, 8, 52, kChordVelocity},
    {16, 8, 59, kChordVelocity},  {16, 8, 60, kChordVelocity},

    {0, 2, 76, kMelodyVelocity},  {2, 1, 74, kMelodyVelocity},  {3, 1, 72, kMelodyVelocity},
    {4, 3, 69, kMelodyVelocity},  {7, 1, 72, kMelodyVelocity},  {8, 2, 79, kMelodyVelocity},
    {10, 1, 76, kMelodyVelocity}, {11, 1, 74, kMelodyVelocity}, {12, 2, 74, kMelodyVelocity},
    {14, 1, 71, kMelodyVelocity}, {15, 1, 74, kMelodyVelocity}, {16, 2, 72, kMelodyVelocity},
    {18, 1, 71, kMelodyVelocity}, {19, 1, 72, kMelodyVelocity}, {20, 4, 69, kMelodyVelocity},
};

}  // namespace

Score demoPhrase() {
    constexpr double secondsPerBeat = 60.0 / kBeatsPerMinute;
    Score score;
    score.description = "demo phrase";
    for (const DemoNote& n : kNotes) {
        const double start = n.startBeat * secondsPerBeat, end = (n.startBeat + n.beats) * secondsPerBeat;
        score.messages.push_back({start, {kNoteOn, n.key, n.velocity}});
        score.messages.push_back({end, {kNoteOff, n.key, 0}});
        score.lengthSeconds = std::max(score.lengthSeconds, end);
    }
    // At a chord change the old notes end before the new ones start, so a
    // voice is free for each new note.
    std::stable_sort(score.messages.begin(), score.messages.end(), [](const TimedMessage& a, const TimedMessage& b) {
        if (a.seconds != b.seconds) return a.seconds < b.seconds;
        return (a.bytes[0] & 0xf0) == kNoteOff && (b.bytes[0] & 0xf0) == kNoteOn;
    });
    return score;
}

}  // namespace render
