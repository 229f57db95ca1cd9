#include "engine/half_band_filter.h"

#include <cstring>

namespace {
constexpr double kDenormalGuard = 1e-15;
}  // namespace

HalfBandFilter::HalfBandFilter() {
    chainA[0].a = 0.07986642623635751;
    chainA[1].a = 0.5453536510711322;
    chainB[0].a = 0.28382934487410993;
    chainB[1].a = 0.8344118914807379;
}

void HalfBandFilter::process(float* buffer, int32_t count) {
    for (int32_t i = 0; i < count; ++i) {
        const double d = static_cast<double>(buffer[i]) + kDenormalGuard;
        const double ya = chainA[1].process(chainA[0].process(d));
        buffer[i] = static_cast<float>((ya - kDenormalGuard) + prevB) * 0.5f;
        const double yb = chainB[1].process(chainB[0].process(d));
        prevB = yb - kDenormalGuard;
    }
}

namespace {

typedef double Pair __attribute__((vector_size(16)));  // lane 0 left, lane 1 right
typedef float FloatPair __attribute__((vector_size(8)));

// AllpassStage::process on both channels.
struct AllpassPair {
    Pair a, x0, x1, x2, y0, y1, y2;

    static AllpassPair of(const AllpassStage& l, const AllpassStage& r) {
        return AllpassPair{Pair{l.a, r.a},   Pair{l.x0, r.x0}, Pair{l.x1, r.x1}, Pair{l.x2, r.x2},
                           Pair{l.y0, r.y0}, Pair{l.y1, r.y1}, Pair{l.y2, r.y2}};
    }

    void storeTo(AllpassStage& l, AllpassStage& r) const {
        l.x0 = x0[0], l.x1 = x1[0], l.x2 = x2[0], l.y0 = y0[0], l.y1 = y1[0], l.y2 = y2[0];
        r.x0 = x0[1], r.x1 = x1[1], r.x2 = x2[1], r.y0 = y0[1], r.y1 = y1[1], r.y2 = y2[1];
    }

    Pair process(Pair v) {
        x2 = x1;
        x1 = x0;
        x0 = v;
        y2 = y1;
        y1 = y0;
        const Pair out = x2 + (v - y2) * a;
        y0 = out;
        return out;
    }

    // Two samples in a row: the even one and the odd one each depend only on
    // the states of their own parity, so their arithmetic overlaps instead of
    // waiting out one recursion per sample. The same operations as two
    // calls of process(), states included.
    void processTwo(Pair& first, Pair& second) {
        const Pair outFirst = x1 + (first - y1) * a;
        const Pair outSecond = x0 + (second - y0) * a;
        x2 = x0;
        x1 = first;
        x0 = second;
        y2 = y0;
        y1 = outFirst;
        y0 = outSecond;
        first = outFirst;
        second = outSecond;
    }
};

}  // namespace

void processStereo(HalfBandFilter& left, HalfBandFilter& right, float* bufferL, float* bufferR, int32_t count) {
    AllpassPair a0 = AllpassPair::of(left.chainA[0], right.chainA[0]);
    AllpassPair a1 = AllpassPair::of(left.chainA[1], right.chainA[1]);
    AllpassPair b0 = AllpassPair::of(left.chainB[0], right.chainB[0]);
    AllpassPair b1 = AllpassPair::of(left.chainB[1], right.chainB[1]);
    Pair prevB = Pair{left.prevB, right.prevB};
    int32_t i = 0;
    for (; i + 1 < count; i += 2) {
        Pair ya0 = Pair{bufferL[i], bufferR[i]} + kDenormalGuard;
        Pair ya1 = Pair{bufferL[i + 1], bufferR[i + 1]} + kDenormalGuard;
        Pair yb0 = ya0, yb1 = ya1;
        a0.processTwo(ya0, ya1);
        a1.processTwo(ya0, ya1);
        b0.processTwo(yb0, yb1);
        b1.processTwo(yb0, yb1);
        const FloatPair out0 = __builtin_convertvector((ya0 - kDenormalGuard) + prevB, FloatPair) * 0.5f;
        prevB = yb0 - kDenormalGuard;
        const FloatPair out1 = __builtin_convertvector((ya1 - kDenormalGuard) + prevB, FloatPair) * 0.5f;
        prevB = yb1 - kDenormalGuard;
        bufferL[i] = out0[0];
        bufferR[i] = out0[1];
        bufferL[i + 1] = out1[0];
        bufferR[i + 1] = out1[1];
    }
    for (; i < count; ++i) {
        const Pair d = Pair{bufferL[i], bufferR[i]} + kDenormalGuard;
        const Pair ya = a1.process(a0.process(d));
        const FloatPair out = __builtin_convertvector((ya - kDenormalGuard) + prevB, FloatPair) * 0.5f;
        bufferL[i] = out[0];
        bufferR[i] = out[1];
        const Pair yb = b1.process(b0.process(d));
        prevB = yb - kDenormalGuard;
    }
    a0.storeTo(left.chainA[0], right.chainA[0]);
    a1.storeTo(left.chainA[1], right.chainA[1]);
    b0.storeTo(left.chainB[0], right.chainB[0]);
    b1.storeTo(left.chainB[1], right.chainB[1]);
    left.prevB = prevB[0];
    right.prevB = prevB[1];
}
