// Random blocks of random sizes through setChunk, each checked against what
// the size and flag alone say must happen.
#include <gtest/gtest.h>

#include <random>

#include "tests/instrument_programs/instance.h"

namespace {

TEST(ChunkRobustness, RandomBlocksAreTakenWholeOrRefusedUnchanged) {
    std::mt19937 rng(0x5EED);
    Instance instance;
    int taken = 0, refused = 0;
    for (int round = 0; round < 5000; ++round) {
        // Mostly the two valid sizes and their neighbours, where faults hide.
        VstInt32 size;
        switch (rng() % 4) {
            case 0: size = 196 + VstInt32(rng() % 3) - 1; break;
            case 1: size = 1760 + VstInt32(rng() % 3) - 1; break;
            default: size = VstInt32(rng() % 4000); break;
        }
        Bytes block(size);  // exactly as long as claimed: reading past it is caught
        for (unsigned char& byte : block) byte = static_cast<unsigned char>(rng());
        const bool isPreset = rng() % 2;
        if (rng() % 8 == 0) instance.select(VstInt32(rng() % 12) - 2);
        if (rng() % 3 == 0) instance.live[rng() % 49] = float(rng()) * 1e-9f;

        const auto before = instance.state();
        const Bytes recordBefore = bytesOf(&instance.bank.record(instance.current), 220);
        ChunkResult result = instance.bank.setChunk(instance.current, block.data(), size, isPreset, instance.live);

        if (isPreset && size == 196) {
            ASSERT_EQ(result.byteSize, 196);
            const Bytes record = bytesOf(&instance.bank.record(instance.current), 220);
            EXPECT_TRUE(std::equal(record.begin(), record.begin() + 24, recordBefore.begin()));  // name kept
            EXPECT_EQ(valuesOf(instance.bank.record(instance.current).values), block);
            EXPECT_EQ(instance.liveBytes(), block);
            ++taken;
        } else if (size == 1760) {
            ASSERT_EQ(result.byteSize, 1760);
            EXPECT_EQ(instance.bankBytes(), block);
            EXPECT_EQ(instance.liveBytes(), bytesOf(block.data() + instance.current * 220 + 24, 196));
            ++taken;
        } else {
            ASSERT_EQ(result.byteSize, 0) << size;
            EXPECT_TRUE(result.askHostToUpdateDisplay());
            ASSERT_TRUE(instance.state() == before) << size;
            ++refused;
        }
    }
    EXPECT_GT(taken, 500);
    EXPECT_GT(refused, 500);
}

}  // namespace
