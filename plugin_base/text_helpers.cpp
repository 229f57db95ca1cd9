// Value-to-text helpers of the plug-in base. Every text is cut at maxLen
// characters and terminated; the buffer holds maxLen + 1 bytes.
#include <cmath>
#include <cstring>

#include "plugin_base/audio_effect.h"

void vst_strncpy(char* dst, const char* src, VstInt32 maxLen) {
    if (!dst || maxLen < 0) return;
    VstInt32 n = 0;
    if (src)
        while (n < maxLen && src[n]) {
            dst[n] = src[n];
            ++n;
        }
    dst[n] = 0;
}

void vst_strncat(char* dst, const char* src, VstInt32 maxLen) {
    if (!dst || !src || maxLen < 0) return;
    VstInt32 n = static_cast<VstInt32>(strnlen(dst, static_cast<size_t>(maxLen)));
    for (VstInt32 i = 0; n < maxLen && src[i]; ++i) dst[n++] = src[i];
    dst[n] = 0;
}

namespace {
constexpr int kPositions = 8;  // characters a value may take, sign and point included
constexpr char kTooLarge[] = "Huge!";
}  // namespace

void AudioEffect::float2string(float value, char* text, VstInt32 maxLen) {
    if (!text) return;
    if (std::isnan(value)) {
        vst_strncpy(text, "NaN", maxLen);
        return;
    }
    if (value < -9999999.0f || value > 99999999.0f) {
        vst_strncpy(text, kTooLarge, maxLen);
        return;
    }
    // An integer part that fills all eight positions (with its sign) leaves no
    // room for the point: it is shown whole, without point or fraction.
    bool noRoomForPoint = value >= 10000000.0f || value <= -1000000.0f;

    char out[kPositions + 2] = {};
    int used = 0;
    double magnitude = std::fabs(static_cast<double>(value));
    double integral = std::floor(magnitude);

    // Integer part, least significant digit first, then reversed.
    char digits[kPositions + 1];
    int ndigits = 0;
    double rest = integral;
    do {
        digits[ndigits++] = static_cast<char>('0' + static_cast<int>(std::fmod(rest, 10.0)));
        rest = std::floor(rest / 10.0);
    } while (rest >= 1.0 && ndigits < kPositions);
    if (value < 0) out[used++] = '-';
    while (ndigits > 0) out[used++] = digits[--ndigits];
    if (noRoomForPoint) {
        out[used] = 0;
        vst_strncpy(text, out, maxLen);
        return;
    }
    out[used++] = '.';

    int fractionDigits = kPositions - used;
    if (fractionDigits > 0) {
        double running = (magnitude - integral) * std::pow(10.0, fractionDigits);
        for (int i = fractionDigits - 1; i >= 0; --i) {
            if (running <= 0) {
                out[used + i] = '0';
            } else {
                out[used + i] = static_cast<char>('0' + static_cast<int>(std::fmod(running, 10.0)));
                running /= 10.0;
            }
        }
        used += fractionDigits;
    }
    out[used] = 0;
    vst_strncpy(text, out, maxLen);
}

void AudioEffect::int2string(VstInt32 value, char* text, VstInt32 maxLen) {
    if (!text) return;
    if (value >= 100000000 || value <= -100000000) {
        // Nine digits and a sign do not fit the eight positions of a display.
        vst_strncpy(text, kTooLarge, maxLen);
        return;
    }
    char out[16];
    int used = 0;
    if (value < 0) {
        out[used++] = '-';
        value = -value;
    }
    bool leading = true;
    for (VstInt32 div = 100000000; div >= 1; div /= 10) {
        int digit = static_cast<int>((value / div) % 10);
        if (digit == 0 && leading && div > 1) continue;  // zero itself still shows "0"
        leading = false;
        out[used++] = static_cast<char>('0' + digit);
    }
    out[used] = 0;
    vst_strncpy(text, out, maxLen);
}

void AudioEffect::dB2string(float value, char* text, VstInt32 maxLen) {
    if (!text) return;
    if (value <= 0)
        vst_strncpy(text, "-oo", maxLen);
    else
        float2string(static_cast<float>(20.0 * std::log10(value)), text, maxLen);
}

void AudioEffect::Hz2string(float samples, char* text, VstInt32 maxLen) {
    if (!text) return;
    float2string(samples == 0 ? 0.0f : sampleRate / samples, text, maxLen);
}

void AudioEffect::ms2string(float samples, char* text, VstInt32 maxLen) {
    if (!text) return;
    float2string(samples * 1000.0f / sampleRate, text, maxLen);
}
