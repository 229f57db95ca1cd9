// Measurements on rendered audio, for tests that listen like a person would.
#pragma once

#include <algorithm>
#include <cmath>
#include <vector>

// The pitch of a periodic signal in Hz, from the strongest normalised
// autocorrelation peak between minHz and maxHz, refined by a parabola.
inline double measurePitch(const std::vector<float>& x, double sampleRate, double minHz = 50, double maxHz = 2000) {
    const int minLag = static_cast<int>(sampleRate / maxHz);
    const int maxLag = static_cast<int>(sampleRate / minHz);
    const int n = static_cast<int>(x.size()) - maxLag - 1;
    if (n <= 0) return 0;
    std::vector<double> r(static_cast<size_t>(maxLag + 2), 0.0);
    for (int lag = minLag - 1; lag <= maxLag + 1; ++lag) {
        double sum = 0, e0 = 0, e1 = 0;
        for (int i = 0; i < n; ++i) {
            sum += double(x[i]) * x[i + lag];
            e0 += double(x[i]) * x[i];
            e1 += double(x[i + lag]) * x[i + lag];
        }
        r[static_cast<size_t>(lag)] = sum / std::sqrt(e0 * e1 + 1e-30);
    }
    // The first peak that comes close to the best one is the period (later
    // peaks are its multiples).
    double best = *std::max_element(r.begin() + minLag, r.begin() + maxLag + 1);
    int lag = minLag;
    for (int l = minLag; l <= maxLag; ++l)
        if (r[l] >= 0.9 * best && r[l] >= r[l - 1] && r[l] >= r[l + 1]) {
            lag = l;
            break;
        }
    const double a = r[lag - 1], b = r[lag], c = r[lag + 1];
    const double denom = a - 2 * b + c;
    const double shift = denom != 0 ? 0.5 * (a - c) / denom : 0;
    return sampleRate / (lag + shift);
}

inline double peakOf(const std::vector<float>& x, size_t from = 0, size_t to = SIZE_MAX) {
    double peak = 0;
    for (size_t i = from; i < std::min(to, x.size()); ++i) peak = std::max(peak, std::fabs(double(x[i])));
    return peak;
}

inline double correlation(const std::vector<float>& a, const std::vector<float>& b) {
    double ab = 0, aa = 0, bb = 0;
    for (size_t i = 0; i < std::min(a.size(), b.size()); ++i) {
        ab += double(a[i]) * b[i];
        aa += double(a[i]) * a[i];
        bb += double(b[i]) * b[i];
    }
    return ab / std::sqrt(aa * bb + 1e-30);
}
