// The first generation's voice filter: a four-pole ladder low-pass per channel.
#pragma once

#include <cmath>

// Coefficients from a cutoff control c (clamped to -1..1 on the way in):
// f is the stage gain, k the stage feedback, r the resonance feedback from the
// last stage; d = 1 - c shapes the resonance so that it grows as the cutoff
// falls. Float arithmetic in the order written.
struct LadderCoefficients {
    float r = 0.0f, f = 0.0f, k = 0.0f;

    static LadderCoefficients forControl(float c) {
        c = (std::fabs(c + 1.0f) - std::fabs(c - 1.0f)) * 0.5f;
        const float d = 1.0f - c;
        LadderCoefficients out;
        out.f = (d * 0.8f + 1.0f) * c;
        out.k = out.f * 2.0f - 1.0f;
        out.r = ((d * d * 5.6f + (1.0f - d)) * d * 0.5f + 1.0f) * 0.089f;
        return out;
    }
};

// One channel: x1 is the previous stage input, y1..y4 the stage outputs (the
// output is y4). Each stage is a bilinear one-pole: y' = (in + in_prev) f - k y.
struct LadderState {
    float x1 = 0.0f, y1 = 0.0f, y2 = 0.0f, y3 = 0.0f, y4 = 0.0f;

    float process(float input, const LadderCoefficients& c) {
        const float x = input - c.r * y4;
        const float n1 = (x + x1) * c.f - c.k * y1;
        const float n2 = (y1 + n1) * c.f - c.k * y2;
        const float n3 = (y2 + n2) * c.f - c.k * y3;
        const float n4 = (y3 + n3) * c.f - c.k * y4;
        x1 = x;
        y1 = n1;
        y2 = n2;
        y3 = n3;
        y4 = n4;
        return n4;
    }
};
