// The byte language of host scripts, shared by the interpreter and the seed
// writer. A script is a sequence of actions; each starts with one byte (taken
// modulo the number of actions) and reads its arguments after it:
//   Dispatch       instance, opcode (byte modulo 81), index, value (ints),
//                  opt (float); then a text (count byte, bytes) for opcodes
//                  that take one, a chunk (two count bytes, bytes) for
//                  effSetChunk, two channel-count bytes for
//                  effSetSpeakerArrangement, an event list for
//                  effProcessEvents
//   SetChunk       instance, preset byte (bit 0), chunk (two count bytes, bytes)
//   Events         instance, event list: count byte (modulo kMaxEvents + 1),
//                  lie byte (as int8: 0 is honest, n > 0 declares n fewer
//                  events, n < 0 declares the count n), then per event a shape
//                  byte, deltaFrames (int), a size byte (0: the honest
//                  byteSize, else an int follows) and the shape's bytes:
//                  Midi three bytes, Sysex a count byte and the dump, Other a
//                  type (int)
//   Process        instance, accumulating byte (bit 0), frames (int; above
//                  kMaxFrames taken modulo kMaxFrames + 1)
//   SetParameter   instance, index (int), value (float)
//   GetParameter   instance, index (int)
//   Lifecycle      instance, step byte (modulo the steps), then a float for
//                  SampleRate or an int for BlockSize
//   ChunkRoundTrip instance, preset byte (bit 0)
//   LimitMemory    int: from here to the script's end every allocation larger
//                  than this many bytes fails (0 or less: every allocation),
//                  where the replay program can make them fail
// instance is one byte, bit 0 choosing one of two instances; an instance that
// does not exist yet is created on its first use. Ints and floats are read
// through one selector byte (see below); a read past the end gives zeros and
// ends the script.
#pragma once

#include <cstdint>
#include <limits>

namespace fuzzhost {

enum class Action : uint8_t {
    Dispatch,
    SetChunk,
    Events,
    Process,
    SetParameter,
    GetParameter,
    Lifecycle,
    ChunkRoundTrip,
    LimitMemory,
    Count
};

enum class LifecycleStep : uint8_t { Suspend, Resume, Close, SampleRate, BlockSize, Count };

enum class EventShape : uint8_t { Midi, Sysex, Other, Count };

constexpr int kMaxEvents = 64;
// The longest block a script renders: beyond the instruments' own work
// buffers, so blocks are split, and what our output buffers hold.
constexpr int32_t kMaxFrames = 40000;
// The highest opcode a script sends: one past the last one defined.
constexpr int kLastOpcode = 80;

// Selector bytes for ints: below kSmallInts the byte itself, then the table,
// then four raw bytes follow.
constexpr uint8_t kSmallInts = 64;
constexpr int32_t kEdgeInts[] = {-1,
                                 -2,
                                 -512,
                                 std::numeric_limits<int32_t>::min(),
                                 std::numeric_limits<int32_t>::max(),
                                 127,
                                 128,
                                 255,
                                 256,
                                 511,
                                 512,
                                 4096,
                                 16383,
                                 16384,
                                 16385,
                                 32768,
                                 kMaxFrames,
                                 65536,
                                 1 << 20,
                                 1 << 27,
                                 1 << 30,
                                 (1 << 30) + 1};
constexpr uint8_t kRawInt = kSmallInts + sizeof(kEdgeInts) / sizeof(kEdgeInts[0]);

// Selector bytes for floats: the table, then four raw bytes follow.
constexpr float kEdgeFloats[] = {0.0f,
                                 1.0f,
                                 0.5f,
                                 0.25f,
                                 -0.0f,
                                 -1.0f,
                                 1.7f,
                                 44100.0f,
                                 48000.0f,
                                 96000.0f,
                                 192000.0f,
                                 8000.0f,
                                 1.0e9f,
                                 std::numeric_limits<float>::quiet_NaN(),
                                 std::numeric_limits<float>::infinity(),
                                 -std::numeric_limits<float>::infinity(),
                                 std::numeric_limits<float>::max(),
                                 std::numeric_limits<float>::denorm_min(),
                                 std::numeric_limits<float>::min(),
                                 2147483648.0f,
                                 -2147483904.0f};
constexpr uint8_t kRawFloat = sizeof(kEdgeFloats) / sizeof(kEdgeFloats[0]);

}  // namespace fuzzhost
