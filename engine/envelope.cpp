#include "engine/envelope.h"

#include <cmath>

namespace {

float powerInDouble(float base, float exponent) {
    return static_cast<float>(std::pow(static_cast<double>(base), static_cast<double>(exponent)));
}

}  // namespace

void setEnvelopeTimes(Envelope& env, float rate, float attack, float decay, float sustain, float release) {
    constexpr float kMinAttack = 9.9999997e-05f;  // also the quick fade's time
    constexpr float kMinDecay = 0.0002f;
    constexpr float kMinRelease = 0.0002f;
    constexpr float kSecondsPerTimeUnit = 6.0f;
    constexpr float kFullSustainReplacement = 0.9f;

    const float attackTime = attack + kMinAttack;
    const float decayTime = decay + kMinDecay;
    const float releaseTime = release + kMinRelease;
    if (sustain >= 1.0f) sustain = kFullSustainReplacement;
    const float samplesPerUnit = rate * kSecondsPerTimeUnit;

    env.coef[Envelope::kAttack] = 1.0f - powerInDouble(env.epsilon, 1.0f / (samplesPerUnit * attackTime));
    env.target[Envelope::kDecay] = sustain;
    // The decay shrinks the distance 1 - sustain to epsilon. A sustain within
    // epsilon of the peak (above 0.995) makes that ratio 1 or more, which would
    // push the level away from the sustain for ever; such a decay instead
    // shrinks its (already tiny) distance by epsilon over the decay time, so
    // the level still settles on the sustain.
    float decayRatio = env.epsilon / (1.0f - sustain);
    if (!(decayRatio < 1.0f)) decayRatio = env.epsilon;
    env.coef[Envelope::kDecay] = 1.0f - powerInDouble(decayRatio, 1.0f / (samplesPerUnit * decayTime));
    env.coef[Envelope::kRelease] = 1.0f - powerInDouble(env.epsilon, 1.0f / (samplesPerUnit * releaseTime));
    env.coef[Envelope::kQuickFade] = 1.0f - powerInDouble(env.epsilon, 1.0f / (samplesPerUnit * kMinAttack));
    env.coef[Envelope::kIdle] = 0.0f;
}
