// How long an instrument's work buffers are for a block size the host announced.
#pragma once

#include <algorithm>
#include <cstdint>

#include "plugin_base/vst2_interface.h"

// Blocks longer than the work buffers are rendered in spans that fit, so a
// huge announced block size (2^30, say) needs no more than this many frames,
// computed without overflow; a size of 0 or less gets one frame.
inline VstInt32 workBufferFrames(VstInt32 blockSize) {
    constexpr int64_t kMaxWorkFrames = 16384;
    return static_cast<VstInt32>(std::min<int64_t>(std::max<int64_t>(blockSize, 1), kMaxWorkFrames));
}
