// What gets played: short MIDI messages at times in seconds, in the order
// they are to be delivered, and how long the piece lasts.
#pragma once

#include <string>
#include <vector>

namespace render {

struct TimedMessage {
    double seconds;
    unsigned char bytes[3];  // status and up to two data bytes; unused ones zero
};

struct Score {
    std::vector<TimedMessage> messages;  // sorted by time; ties keep file order
    double lengthSeconds = 0.0;          // the end of the piece (last event or end of track)
    std::string description;             // for messages: the file name or "demo phrase"
};

// Frame of a time at a sample rate, rounded to the nearest frame.
long long frameAt(double seconds, double sampleRate);

}  // namespace render
