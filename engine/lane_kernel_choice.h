// Choosing a lane kernel by the number of sounding voices.
#pragma once

#include <cstdint>

// Index of the narrowest of kernels[0..widest] whose width covers `lanes`, or
// `widest` when none does. The kernels are ordered narrowest first and give
// the same samples at every width, so a few voices need not pay for the
// widest vectors: one voice on 16-lane vectors costs nearly what 16 do.
template <class KernelInfo>
int32_t narrowestCovering(const KernelInfo* kernels, int32_t widest, int32_t lanes) {
    for (int32_t k = 0; k < widest; ++k) {
        if (kernels[k].width >= lanes) return k;
    }
    return widest;
}
