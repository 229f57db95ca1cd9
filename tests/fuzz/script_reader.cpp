#include "tests/fuzz/script_reader.h"

#include <algorithm>

#include "tests/fuzz/script_format.h"

namespace fuzzhost {

int32_t ScriptReader::interestingInt() {
    const uint8_t selector = byte();
    if (selector < kSmallInts) return selector;
    if (selector < kRawInt) return kEdgeInts[selector - kSmallInts];
    return i32();
}

float ScriptReader::interestingFloat() {
    const uint8_t selector = byte();
    if (selector < kRawFloat) return kEdgeFloats[selector];
    return f32();
}

size_t ScriptReader::bytes(uint8_t* to, size_t room) {
    size_t count = byte();
    if (room > 255) count |= static_cast<size_t>(byte()) << 8;
    count = std::min({count, room, size_ - std::min(at_, size_)});
    if (count > 0) std::memcpy(to, data_ + at_, count);
    at_ += count;
    return count;
}

}  // namespace fuzzhost
