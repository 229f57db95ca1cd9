// The output stage's anti-alias filter: a polyphase IIR half-band low-pass
// built from two chains of allpass sections, in double precision.
#pragma once

#include <cstdint>

// Second-order allpass in z^-2: out = x[n-2] + (x[n] - y[n-2]) x a. Stable for
// |a| < 1; unity gain at every frequency. State in double.
struct AllpassStage {
    double a = 0.0;
    double x0 = 0.0, x1 = 0.0, x2 = 0.0;
    double y0 = 0.0, y1 = 0.0, y2 = 0.0;

    double process(double v) {
        x2 = x1;
        x1 = x0;
        x0 = v;
        y2 = y1;
        y1 = y0;
        const double out = x2 + (v - y2) * a;
        y0 = out;
        return out;
    }
};

// Output = the mean of chain A and chain B delayed by one sample: a low-pass
// with its cut at a quarter of the (oversampled) rate and unity gain at DC.
// 1e-15 is added in double before the chains and taken off after them, which
// keeps the recursive states out of the denormal range in silence. The states
// run on across blocks and are never reset.
struct HalfBandFilter {
    AllpassStage chainA[2];
    AllpassStage chainB[2];
    double prevB = 0.0;

    HalfBandFilter();

    // Filters buffer[0..count-1] in place, one sample at a time.
    void process(float* buffer, int32_t count);
};

// The same filtering for a left and a right filter at once (the two channels
// share every instruction); each channel's samples equal process() on it.
void processStereo(HalfBandFilter& left, HalfBandFilter& right, float* bufferL, float* bufferR, int32_t count);
