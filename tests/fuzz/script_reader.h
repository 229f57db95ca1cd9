// Reads a host script's bytes defensively: any byte string is a valid script.
// Reads past the end give zeros and mark the script finished, so a truncated
// action still runs with neutral arguments and the interpreter stops after it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

namespace fuzzhost {

class ScriptReader {
public:
    ScriptReader(const uint8_t* data, size_t size) : data_(data), size_(size) {}

    bool finished() const { return at_ >= size_; }

    uint8_t byte() { return at_ < size_ ? data_[at_++] : 0; }

    uint32_t u32() {
        uint32_t v = 0;
        for (int shift = 0; shift < 32; shift += 8) v |= static_cast<uint32_t>(byte()) << shift;
        return v;
    }

    int32_t i32() { return static_cast<int32_t>(u32()); }

    float f32() {
        const uint32_t bits = u32();
        float v;
        std::memcpy(&v, &bits, sizeof(v));
        return v;
    }

    // One selector byte: a small number, an entry of a table of values at the
    // edges (see script_format.h), or four raw bytes that follow. Short
    // scripts and the seeds reach the edges without spelling them out.
    int32_t interestingInt();
    float interestingFloat();

    // Up to `room` bytes copied out of the script, the count first (one byte
    // for room below 256, two bytes otherwise); returns how many were copied.
    size_t bytes(uint8_t* to, size_t room);

private:
    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace fuzzhost
