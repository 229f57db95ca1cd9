// The batched table reads against the reader's own interpolation, read by
// read: every variant this CPU runs, in the render's float environment and in
// the default one, on tables built to find where double arithmetic could
// round differently from the long double.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "first_generation/engine/first_gen_lanes.h"
#include "first_generation/engine/table_oscillator.h"
#include "numerics/extended_precision.h"
#include "numerics/float_environment.h"

namespace {

constexpr float kSentinel = -12345.0f;

struct Variant {
    std::string name;
    const FirstGenTableReads* reads;
};

// The distinct reads of the kernels this CPU runs.
std::vector<Variant> variants() {
    int32_t count = 0;
    const FirstGenLaneKernelInfo* kernels = firstGenLaneKernels(&count);
    std::vector<Variant> out;
    for (int32_t k = 0; k < count; ++k) {
        bool seen = false;
        for (const Variant& v : out) seen = seen || v.reads == kernels[k].reads;
        if (!seen) out.push_back({kernels[k].name, kernels[k].reads});
    }
    return out;
}

bool sameBits(float a, float b) { return std::memcmp(&a, &b, sizeof a) == 0; }

// Neighbours whose exponents wander by up to 18 binary orders (so that gaps
// on both sides of the double path's limit of 15 are common), random signs
// and mantissas, and now and then a zero, a subnormal, an infinity or a NaN.
std::vector<float> awkwardTable(uint32_t seed) {
    std::mt19937 random(seed);
    std::vector<float> table(Wavetable::kLength + 1);
    int32_t exponent = 0;
    for (float& value : table) {
        exponent += static_cast<int32_t>(random() % 37) - 18;
        exponent = exponent < -140 ? -140 : exponent > 4 ? 4 : exponent;
        const float mantissa = 1.0f + static_cast<float>(random() % (1u << 23)) * 0x1p-23f;
        value = std::ldexp(random() % 2 ? -mantissa : mantissa, exponent);
        switch (random() % 64) {
            case 0: value = 0.0f; break;
            case 1: value = -0.0f; break;
            case 2: value = 0x1.8p-140f; break;
            case 3: value = std::numeric_limits<float>::infinity(); break;
            case 4: value = std::numeric_limits<float>::quiet_NaN(); break;
            default: break;
        }
    }
    return table;
}

// A table like the generator's: a loop of 256 cycles of a few harmonics.
std::vector<float> smoothTable() {
    std::vector<float> table(Wavetable::kLength + 1);
    for (int32_t i = 0; i <= Wavetable::kLength; ++i) {
        double value = 0.0;
        for (int32_t h = 1; h <= 24; ++h) value += std::sin(0.0245436926 * i * h + 0.7 * h * h) / h;
        table[i] = static_cast<float>(0.3 * value);
    }
    return table;
}

// Every read of run and rows against the interpolation, one pass each.
void expectReadsMatch(const Variant& variant, const std::vector<float>& table, uint32_t seed) {
    std::mt19937 random(seed);
    const float* t = table.data();
    for (int32_t steps : {1, 5, 8, 63, 64, 200}) {
        const uint32_t position = random(), increment = random() >> (random() % 24);
        std::vector<float> out(steps + 1, kSentinel);
        const uint32_t end = variant.reads->run(t, position, increment, out.data(), steps);
        EXPECT_EQ(position + static_cast<uint32_t>(steps) * increment, end) << variant.name;
        for (int32_t s = 0; s < steps; ++s) {
            const uint32_t at = position + static_cast<uint32_t>(s) * increment;
            ASSERT_TRUE(sameBits(TableOscillator::interpolate(t, at), out[s]))
                << variant.name << " run, table value " << t[at >> 16] << " then " << t[(at >> 16) + 1] << " at "
                << (at & 0xFFFF);
        }
        EXPECT_EQ(kSentinel, out[steps]) << variant.name;
    }
    for (int32_t lanes : {1, 3, 4, 5, 8, 13, 16}) {
        for (int32_t steps : {1, 7, 64}) {
            uint32_t positions[kFirstGenReadLanes], increments[kFirstGenReadLanes], start[kFirstGenReadLanes];
            for (int32_t l = 0; l < kFirstGenReadLanes; ++l) {
                start[l] = positions[l] = random();
                increments[l] = random() >> (random() % 24);
            }
            std::vector<float> rows(64 * kFirstGenReadLanes, kSentinel);
            auto* grid = reinterpret_cast<float(*)[kFirstGenReadLanes]>(rows.data());
            variant.reads->rows(t, positions, increments, lanes, grid, steps);
            for (int32_t l = 0; l < kFirstGenReadLanes; ++l) {
                const uint32_t moved = l < lanes ? static_cast<uint32_t>(steps) * increments[l] : 0;
                ASSERT_EQ(start[l] + moved, positions[l]) << variant.name << " lane " << l;
                for (int32_t s = 0; s < 64; ++s) {
                    const float expected = l < lanes && s < steps
                                               ? TableOscillator::interpolate(t, start[l] + s * increments[l])
                                               : kSentinel;
                    ASSERT_TRUE(sameBits(expected, grid[s][l]))
                        << variant.name << " rows, " << lanes << " lanes, lane " << l << " step " << s;
                }
            }
        }
    }
}

}  // namespace

TEST(FirstGenTableReads, EveryVariantReadsAsTheLongDoubleInBothEnvironments) {
    const std::vector<float> smooth = smoothTable();
    for (const Variant& variant : variants()) {
        SCOPED_TRACE(variant.name);
        ExtendedPrecision extended;
        for (uint32_t seed = 1; seed <= 40; ++seed) {
            const std::vector<float> table = awkwardTable(seed);
            {
                RenderFloatEnvironment render;
                expectReadsMatch(variant, table, seed);
            }
            DefaultFloatEnvironment plain;
            expectReadsMatch(variant, table, seed + 1000);
        }
        RenderFloatEnvironment render;
        for (uint32_t seed = 1; seed <= 8; ++seed) expectReadsMatch(variant, smooth, seed);
    }
}

// Reads that a plain double evaluation gets wrong, found by search: in the
// first three the sum, rounded once in double, lands exactly on a midpoint
// between two floats that the exact value misses; in the last two, where the
// sum nearly cancels, the low part of the product, (next - here) f beyond its
// 53 bits, decides the float.
TEST(FirstGenTableReads, ReadsThatDoubleArithmeticRoundsWrongReadAsTheLongDouble) {
    struct Case {
        float here, next;
        uint32_t position;  // index 0, the fraction's numerator
        float expected;
    };
    const Case cases[] = {
        {1.0f, 0x1.30cfd2p-4f, 711, 0x1.fadbcep-1f},
        {1.0f, 0x1.8e3d66p-4f, 982, 0x1.f912eep-1f},
        {1.0f, 0x1.ad5238p-4f, 1097, 0x1.f853eep-1f},
        {-0x1.76876ap+0f, 0x1.48e06ap-6f, 64648, -0x1.83daf8p-32f},
        {0x1.d3b0e6p+0f, -0x1.ffe586p-8f, 65256, -0x1.40153cp-31f},
    };
    ExtendedPrecision extended;
    RenderFloatEnvironment render;
    for (const Case& c : cases) {
        std::vector<float> table(Wavetable::kLength + 1, 0.5f);
        table[0] = c.here;
        table[1] = c.next;
        const float fraction = static_cast<float>(c.position) * TableOscillator::kFractionScale;
        const double here = c.here;
        const float inDouble = static_cast<float>(here + (static_cast<double>(c.next) - here) * fraction);
        ASSERT_NE(c.expected, inDouble) << c.next;
        ASSERT_EQ(c.expected, TableOscillator::interpolate(table.data(), c.position)) << c.next;
        for (const Variant& variant : variants()) {
            float out[8];
            variant.reads->run(table.data(), c.position, 0, out, 8);
            for (float read : out) EXPECT_EQ(c.expected, read) << variant.name << " " << c.next;
            uint32_t positions[kFirstGenReadLanes] = {c.position}, increments[kFirstGenReadLanes] = {};
            float rows[2][kFirstGenReadLanes];
            variant.reads->rows(table.data(), positions, increments, 1, rows, 2);
            EXPECT_EQ(c.expected, rows[1][0]) << variant.name << " " << c.next;
        }
    }
}
