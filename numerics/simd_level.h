// Which vector width the kernels use. The baseline (SSE2, which every x86-64
// CPU and the 32-bit build's minimum have) is always there; wider paths are
// chosen at run time. Every path produces the same floats.
#pragma once

enum class SimdLevel { kSse2, kAvx2, kAvx512 };

// The AVX-512 subsets a kAvx512 kernel may use (masks to vectors need DQ and
// BW); all AVX-512 desktop and server CPUs have them, and the CPU detection
// asks for exactly these.
#define NUBBEL_AVX512_TARGET "avx512f,avx512dq,avx512bw,avx512vl"

// Whether this CPU runs code of `level`, detected once. Each level includes
// the ones below it.
bool simdLevelSupported(SimdLevel level);

// The widest supported level.
SimdLevel bestSimdLevel();

// The widest supported level not above `requested`.
SimdLevel usableSimdLevel(SimdLevel requested);

// One variant of a kernel per level, as function pointers of the same type:
// the one for usableSimdLevel(requested).
template <class Function>
Function simdVariant(SimdLevel requested, Function sse2, Function avx2, Function avx512) {
    switch (usableSimdLevel(requested)) {
        case SimdLevel::kAvx512: return avx512;
        case SimdLevel::kAvx2: return avx2;
        case SimdLevel::kSse2: break;
    }
    return sse2;
}
