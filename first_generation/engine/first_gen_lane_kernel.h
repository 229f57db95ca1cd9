// The first generation's lane kernel, written once for every vector width.
// Include only from a first_gen_lanes_*.cpp file inside its target region:
// everything here has internal linkage, so each instruction set gets its own
// copy. The width is the number of float lanes of the instruction set.
//
// Per lane and sample this is the per-voice render after the table reads and
// envelope ticks: two smoothed sub-steps per channel, the ladder coefficients
// from the filter level, both ladders, the amplitude level times the gain.
#pragma once

#include <cstdint>
#include <cstring>
#include <initializer_list>

#include "first_generation/engine/first_gen_lanes.h"
#include "first_generation/engine/ladder_filter.h"

namespace {

// The float vector of each width (spelled out: GCC drops a vector attribute
// that depends on a template parameter).
template <int32_t kWidth>
struct FirstGenFloatVector;
template <>
struct FirstGenFloatVector<4> {
    typedef float F __attribute__((vector_size(16)));
};
template <>
struct FirstGenFloatVector<8> {
    typedef float F __attribute__((vector_size(32)));
};
template <>
struct FirstGenFloatVector<16> {
    typedef float F __attribute__((vector_size(64)));
};

template <int32_t kWidth>
struct FirstGenLaneKernelOf {
    using F = typename FirstGenFloatVector<kWidth>::F;

    static F load(const float* from) {
        F value;
        std::memcpy(&value, from, sizeof value);
        return value;
    }
    static void store(float* to, F value) { std::memcpy(to, &value, sizeof value); }
    static F splat(float x) { return F{} + x; }

    struct Reader {
        F s1, s2, s3, s4;

        // Two sub-steps from the prepared reads; the output starts at 0 and
        // adds each smoothed value, as the scalar reader does.
        F next(const float* first, const float* second, F k) { return next(load(first), load(second), k); }

        F next(F first, F second, F k) {
            F out = splat(0.0f);
            for (const F v : {first, second}) {
                s1 = s1 + (v - s1) * k;
                s2 = s2 + (s1 - s2) * k;
                s3 = s3 + (s2 - s3) * k;
                s4 = s4 + (s3 - s4) * k;
                out = out + s4;
            }
            return out;
        }
    };

    using Ladder = LadderStateOf<F>;
    using Coefficients = LadderCoefficientsOf<F>;

    static void run(FirstGenLanes& lanes, const FirstGenLaneUniforms& u, int32_t first, int32_t count) {
        if (lanes.levelsHold) {
            runWith<true>(lanes, u, first, count);
        } else {
            runWith<false>(lanes, u, first, count);
        }
    }

    // kLevelsHold: the coefficients and gains of the first sample serve all.
    template <bool kLevelsHold>
    static void runWith(FirstGenLanes& lanes, const FirstGenLaneUniforms& u, int32_t first, int32_t count) {
        Reader readers[2];
        Ladder ladders[2];
        for (int32_t c = 0; c < 2; ++c) {
            float(*s)[kFirstGenMaxLanes] = lanes.smoothing[c];
            readers[c] = Reader{load(&s[0][first]), load(&s[1][first]), load(&s[2][first]), load(&s[3][first])};
            float(*l)[kFirstGenMaxLanes] = lanes.ladder[c];
            ladders[c] = Ladder{load(&l[0][first]), load(&l[1][first]), load(&l[2][first]), load(&l[3][first]),
                                load(&l[4][first])};
        }
        const F smooth = load(&lanes.smooth[first]);
        const F velocity = load(&lanes.velocity[first]);
        const F gain = load(&lanes.gain[first]);
        const F amount = splat(u.filterAmount);
        const F filterVelocity = splat(u.filterVelocity);
        const F cut = splat(u.cutSquared);
        Coefficients coefficients{load(&lanes.coefficients[0][first]), load(&lanes.coefficients[1][first]),
                                  load(&lanes.coefficients[2][first])};

        auto coefficientsAt = [&](int32_t n) {
            const F c1 = amount * load(&lanes.filterLevel[n][first]) * 0.5f;
            return Coefficients::forControl((velocity * c1 - c1) * filterVelocity + c1 + cut);
        };
        auto gainAt = [&](int32_t n) { return load(&lanes.ampLevel[n][first]) * gain; };
        F g{};
        if (kLevelsHold && count > 0) {
            coefficients = coefficientsAt(0);
            g = gainAt(0);
        }

        for (int32_t n = 0; n < count; ++n) {
            F left = readers[0].next(&lanes.readL[2 * n][first], &lanes.readL[2 * n + 1][first], smooth);
            F right = readers[1].next(&lanes.readR[2 * n][first], &lanes.readR[2 * n + 1][first], smooth);

            if (!kLevelsHold) {
                coefficients = coefficientsAt(n);
                g = gainAt(n);
            }
            ladders[0].process(left, coefficients);
            ladders[1].process(right, coefficients);

            store(&lanes.outL[n][first], left * g);
            store(&lanes.outR[n][first], right * g);
        }

        for (int32_t c = 0; c < 2; ++c) {
            const Reader& s = readers[c];
            store(&lanes.smoothing[c][0][first], s.s1);
            store(&lanes.smoothing[c][1][first], s.s2);
            store(&lanes.smoothing[c][2][first], s.s3);
            store(&lanes.smoothing[c][3][first], s.s4);
            const Ladder& l = ladders[c];
            store(&lanes.ladder[c][0][first], l.x1);
            store(&lanes.ladder[c][1][first], l.y1);
            store(&lanes.ladder[c][2][first], l.y2);
            store(&lanes.ladder[c][3][first], l.y3);
            store(&lanes.ladder[c][4][first], l.y4);
        }
        store(&lanes.coefficients[0][first], coefficients.r);
        store(&lanes.coefficients[1][first], coefficients.f);
        store(&lanes.coefficients[2][first], coefficients.k);
    }
};

template <int32_t kWidth>
void runFirstGenLaneKernel(FirstGenLanes& lanes, const FirstGenLaneUniforms& uniforms, int32_t first, int32_t count) {
    FirstGenLaneKernelOf<kWidth>::run(lanes, uniforms, first, count);
}

}  // namespace
