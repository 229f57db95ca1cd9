// Which state chunks an instrument takes, decided by the claimed size and the
// preset flag alone: one table for both instruments, checked on the bank
// itself and through the host.
#pragma once

#include <climits>
#include <vector>

#include "plugin_base/vst2_interface.h"

struct ChunkSizeCase {
    VstInt32 byteSize;
    bool isPreset;
    bool taken;
};

inline std::vector<ChunkSizeCase> chunkSizeCases(VstInt32 presetSize, VstInt32 bankSize) {
    const VstInt32 recordSize = bankSize / 8;
    return {
        // A preset needs its flag; a bank is a bank whatever the flag says.
        {presetSize, true, true},
        {bankSize, false, true},
        {bankSize, true, true},
        {presetSize, false, false},
        // Neighbours of the valid sizes, where faults hide.
        {presetSize - 1, true, false},
        {presetSize + 1, true, false},
        {bankSize - 1, false, false},
        {bankSize + 1, false, false},
        {bankSize + 1, true, false},
        {recordSize, true, false},
        {2 * bankSize, false, false},
        {0, false, false},
        {0, true, false},
        {1, true, false},
        // Claims no block can back: never read.
        {-presetSize, true, false},
        {-bankSize, false, false},
        {INT_MIN, true, false},
        {INT_MAX, false, false},
        {INT_MAX, true, false},
    };
}
