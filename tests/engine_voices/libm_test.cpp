// Values that come from libm in double (pow for envelope coefficients, sin for
// the sub-oscillator table, exp2 for the bend factor). The Windows builds link
// another libm than Linux; if it rounds any of these differently, the DLLs'
// samples differ from the Linux build's. The expected fingerprint is glibc's.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>

#include "engine/envelope.h"
#include "engine/synth_engine.h"

namespace {

struct Fingerprint {
    uint32_t hash = 2166136261u;
    void add(float x) {
        uint32_t bits;
        std::memcpy(&bits, &x, sizeof bits);
        hash = (hash ^ bits) * 16777619u;
    }
};

}  // namespace

TEST(LibmValues, MatchTheLinuxBuildBitForBit) {
    Fingerprint envelopes, sub, bend;
    for (float rate : {88200.0f, 96000.0f, 176400.0f, 192000.0f}) {
        for (int32_t step = 0; step <= 1000; ++step) {
            const float t = static_cast<float>(step) * 0.001f;
            Envelope env;
            setEnvelopeTimes(env, rate, t, t, t, t);
            for (int32_t s = 0; s < 4; ++s) envelopes.add(env.coef[s]);
        }
    }
    SynthEngine engine;
    for (float x : engine.subTable) sub.add(x);
    for (int32_t wheel = 0; wheel < 16384; ++wheel) bend.add(bendFactorFor(static_cast<float>(wheel) / 8192.0f - 1.0f));

    Envelope half;
    setEnvelopeTimes(half, 88200.0f, 0.5f, 0.5f, 0.5f, 0.5f);
    uint32_t attackBits;
    std::memcpy(&attackBits, &half.coef[0], sizeof attackBits);
    std::printf("envelopes %08x sub %08x bend %08x attack(0.5 @ 88200) %08x\n", envelopes.hash, sub.hash, bend.hash,
                attackBits);
    EXPECT_EQ(envelopes.hash, 0xce088bf5u);
    EXPECT_EQ(sub.hash, 0x008fdf75u);
    EXPECT_EQ(bend.hash, 0xd8dcb2c5u);
}
