// Which vector width the generator's kernels use. The baseline (SSE2, which
// every x86-64 CPU and the 32-bit build's minimum have) is always there; wider
// paths are chosen at run time. Every path produces the same floats.
#pragma once

enum class SimdLevel { kSse2, kAvx2, kAvx512 };

// The AVX-512 subsets the kernels need (masks to vectors need DQ and BW); all
// AVX-512 desktop and server CPUs have them.
#define NUBBEL_AVX512_TARGET "avx512f,avx512dq,avx512bw,avx512vl"

bool simdLevelSupported(SimdLevel level);

// The widest supported level, detected once.
SimdLevel bestSimdLevel();
