// Peak and RMS level of everything written, over all channels, in dBFS
// (0 dBFS = a sample of magnitude 1; a full-scale sine reads -3 dB RMS).
#pragma once

#include <cmath>
#include <cstddef>
#include <string>

namespace render {

struct LevelMeter {
    double peak = 0.0;        // largest magnitude
    double sumSquares = 0.0;  // over every sample of every channel
    size_t samples = 0;

    void add(const float* samples_, size_t count) {
        for (size_t i = 0; i < count; ++i) {
            const double v = samples_[i];
            peak = std::fmax(peak, std::fabs(v));
            sumSquares += v * v;
        }
        samples += count;
    }
    double peakDb() const { return toDb(peak); }
    double rmsDb() const { return toDb(samples ? std::sqrt(sumSquares / static_cast<double>(samples)) : 0.0); }

    static double toDb(double magnitude) { return magnitude > 0.0 ? 20.0 * std::log10(magnitude) : -INFINITY; }
};

// "-3.1 dBFS", or "-inf dBFS" for silence.
std::string dbText(double db);

}  // namespace render
