// An instrument's work buffers and how long they are for a block size the host
// announced.
#pragma once

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <new>

#include "plugin_base/vst2_interface.h"

// Blocks longer than the work buffers are rendered in spans that fit, so a
// huge announced block size (2^30, say) needs no more than this many frames,
// computed without overflow; a size of 0 or less gets one frame.
inline VstInt32 workBufferFrames(VstInt32 blockSize) {
    constexpr int64_t kMaxWorkFrames = 16384;
    return static_cast<VstInt32>(std::min<int64_t>(std::max<int64_t>(blockSize, 1), kMaxWorkFrames));
}

// Count zeroed buffers of one length, owned here, that exist only while the
// plug-in is resumed. Invariant: either all are there and length() is their
// length, or none is and length() is 0, so the render sees no buffers (and
// stays silent) rather than some.
template <int Count>
class WorkBuffers {
public:
    WorkBuffers() = default;
    WorkBuffers(const WorkBuffers&) = delete;
    WorkBuffers& operator=(const WorkBuffers&) = delete;
    ~WorkBuffers() { release(); }

    // Replaces the buffers, so a second call without a release loses none.
    // Without the memory for all of them none is kept, instead of failing.
    void allocate(VstInt32 length) {
        release();
        for (float*& buffer : buffers) {
            buffer = new (std::nothrow) float[static_cast<size_t>(std::max<VstInt32>(length, 0))]();
            if (!buffer) {
                release();
                return;
            }
        }
        floats = length;
    }

    void release() {
        for (float*& buffer : buffers) {
            delete[] buffer;
            buffer = nullptr;
        }
        floats = 0;
    }

    float* operator[](int which) const { return buffers[which]; }
    VstInt32 length() const { return floats; }

private:
    float* buffers[Count] = {};
    VstInt32 floats = 0;
};
