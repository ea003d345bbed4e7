// The monitor's arithmetic on its own: whole kilobytes and megabytes, the share free, the
// gauge picture, the alarm, and the optimizer's amounts, steps and block sizes. Machine
// sizes are chosen so that each bound falls exactly on a byte, and also between two.
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>
#include <vector>

#include "monitor/MemoryFigures.h"
#include "monitor/OptimizerAmounts.h"
#include "resource_ids.h"

namespace {

using namespace tarvesk;
constexpr std::int64_t KB = 1024;
constexpr std::int64_t MB = 1024 * KB;

TEST(WholeUnits, RoundToNearestWithHalvesToEven) {
    const std::vector<std::pair<std::uint64_t, std::int64_t>> kilobytes = {
        {0, 0}, {511, 0}, {512, 0}, {513, 1}, {1535, 1}, {1536, 2}, {2560, 2}, {2561, 3}, {3584, 4},
    };
    for (auto [bytes, kb] : kilobytes) EXPECT_EQ(WholeKilobytes(bytes), kb) << bytes << " bytes";
    // Megabytes from kilobytes already rounded: 127.5 MB shows as 128, 126.5 MB as 126.
    const std::vector<std::pair<std::int64_t, std::int64_t>> megabytes = {
        {130560, 128}, {129536, 126}, {1536, 2}, {1535, 1}, {131072, 128}, {25165824, 24576},
    };
    for (auto [kb, mb] : megabytes) EXPECT_EQ(WholeMegabytes(kb), mb) << kb << " KB";
    // 1,572,352 bytes are 1535.5 KB: 1536 KB, and from those 2 MB, although the bytes are
    // under 1.5 MB.
    EXPECT_EQ(WholeMegabytes(WholeKilobytes(1572352)), 2);
}

TEST(FreePercent, WholePercentOfTheTotalWithinAByte) {
    EXPECT_EQ(FreePercentOf(51200, 131072), 39);   // 39.0625
    EXPECT_EQ(FreePercentOf(131072, 131072), 100);
    EXPECT_EQ(FreePercentOf(0, 131072), 0);
    // Exactly halfway: 0.5, 1.5 and 2.5 percent.
    EXPECT_EQ(FreePercentOf(1, 200), 0);
    EXPECT_EQ(FreePercentOf(3, 200), 2);
    EXPECT_EQ(FreePercentOf(5, 200), 2);
    EXPECT_EQ(FreePercentOf(199, 200), 100);   // 99.5
    // No total, or more free than the total (never from a real machine): no fault.
    EXPECT_EQ(FreePercentOf(5, 0), 0);
    EXPECT_EQ(FreePercentOf(5, -1), 0);
    EXPECT_EQ(FreePercentOf(255, 100), 255);
    EXPECT_EQ(FreePercentOf(1000, 100), 255);
}

struct GaugeCase {
    std::uint64_t availBytes;
    int picture;
};

void ExpectGauges(std::int64_t totalKB, const std::vector<GaugeCase>& cases) {
    for (const GaugeCase& c : cases)
        EXPECT_EQ(GaugePicture(c.availBytes, totalKB), c.picture)
            << c.availBytes << " bytes free of " << totalKB << " KB";
}

TEST(GaugePicture, EveryBoundFallingOnAByteTakesTheLowerPicture) {
    // 100 MB: a twentieth is 5120 KB, a quarter 25600 KB, a half 51200 KB, all whole bytes.
    ExpectGauges(102400, {
                             {0, IDI_GAUGE_EMPTY},
                             {1024, IDI_GAUGE_EMPTY},        // 1 KB
                             {1025, IDI_GAUGE_LOW},
                             {5120 * KB, IDI_GAUGE_LOW},
                             {5120 * KB + 1, IDI_GAUGE_QUARTER},
                             {25600 * KB, IDI_GAUGE_QUARTER},
                             {25600 * KB + 1, IDI_GAUGE_HALF},
                             {51200 * KB, IDI_GAUGE_HALF},
                             {51200 * KB + 1, IDI_GAUGE_HIGH},
                             {100 * MB, IDI_GAUGE_HIGH},
                         });
}

TEST(GaugePicture, BoundsBetweenWholeNumbersAreComparedUnrounded) {
    // 128 MB: a twentieth is 6553.6 KB, 6,710,886.4 bytes.
    ExpectGauges(131072, {{6710886, IDI_GAUGE_LOW}, {6710887, IDI_GAUGE_QUARTER}});
    // 131,073 KB: a quarter is 32768.25 KB and a half 65536.5 KB, between whole kilobytes.
    // A byte above the quarter would round down onto 32768 KB, below it.
    ExpectGauges(131073, {
                             {32768 * KB + 256, IDI_GAUGE_QUARTER},
                             {32768 * KB + 257, IDI_GAUGE_HALF},
                             {65536 * KB + 512, IDI_GAUGE_HALF},
                             {65536 * KB + 513, IDI_GAUGE_HIGH},
                         });
    // 1100 bytes are 1.07 KB: above 1 KB, though they round to 1.
    ExpectGauges(131072, {{1100, IDI_GAUGE_LOW}});
}

TEST(AutomaticOptimization, DueOnlyWhenOnAndFreeMemoryIsStrictlyBelowTheLevel) {
    EXPECT_TRUE(AutomaticOptimizationDue(1, 16 * MB - 1, 16));
    EXPECT_FALSE(AutomaticOptimizationDue(1, 16 * MB, 16));   // at the level: not below
    // 15.5 MB: the readout rounds it to 16, the alarm compares 15.5.
    EXPECT_TRUE(AutomaticOptimizationDue(1, 16252928, 16));
    // On means exactly 1.
    for (std::uint8_t flag : {0, 2, 255}) EXPECT_FALSE(AutomaticOptimizationDue(flag, 0, 16)) << int{flag};
    // A level of 0 (the default) or below is never reached.
    EXPECT_FALSE(AutomaticOptimizationDue(1, 0, 0));
    EXPECT_FALSE(AutomaticOptimizationDue(1, 0, -5));
    EXPECT_TRUE(AutomaticOptimizationDue(1, 0, 1));
    // Far beyond 2 GB free, and a level at the top of its range.
    EXPECT_TRUE(AutomaticOptimizationDue(1, 3000ull * MB, std::numeric_limits<std::int32_t>::max()));
    EXPECT_FALSE(AutomaticOptimizationDue(1, 3000ull * MB, 3000));
}

TEST(OptimizerAmounts, RequestsBelow2048MBAreFreedAsAskedEvenBeyondTheMachine) {
    EXPECT_EQ(BytesToFree(1000 * MB, 512), 1000 * MB);
    EXPECT_EQ(BytesToFree(2047 * MB, 512), 2047 * MB);
    EXPECT_EQ(BytesToFree(2048 * MB - 1, 512), 2048 * MB - 1);
    EXPECT_EQ(BytesToFree(100 * MB, 0), 100 * MB);
    EXPECT_EQ(BytesToFree(0, 512), 0);
    EXPECT_EQ(BytesToFree(-5, 512), -5);
}

TEST(OptimizerAmounts, RequestsOf2048MBOrMoreFreeAtMostTheMachinesMemory) {
    EXPECT_EQ(BytesToFree(2048 * MB, 512), 512 * MB);
    EXPECT_EQ(BytesToFree(2048 * MB, 2047), 2047 * MB);
    EXPECT_EQ(BytesToFree(2048 * MB, 2048), 2048 * MB);
    EXPECT_EQ(BytesToFree(2048 * MB, 4096), 2048 * MB);
    EXPECT_EQ(BytesToFree(3000 * MB, 3000), 3000 * MB);
    EXPECT_EQ(BytesToFree(3000 * MB + 1, 3000), 3000 * MB);
    EXPECT_EQ(BytesToFree(2999 * MB, 3000), 2999 * MB);
    EXPECT_EQ(BytesToFree(std::numeric_limits<std::int64_t>::max(), 128), 128 * MB);
    EXPECT_EQ(BytesToFree(5000 * MB, 0), 0);
    EXPECT_EQ(BytesToFree(5000 * MB, -1), 0);   // no memory at all frees nothing
}

TEST(OptimizerAmounts, TwentyStepsPerMegabyteRoundedHalfToEven) {
    EXPECT_EQ(ProgressSteps(64 * MB), 1280);
    EXPECT_EQ(ProgressSteps(0), 0);
    EXPECT_EQ(ProgressSteps(-MB), 0);
    EXPECT_EQ(ProgressSteps(std::numeric_limits<std::int64_t>::min()), 0);
    EXPECT_EQ(ProgressSteps(1), 0);                // a byte is 0 megabytes
    EXPECT_EQ(ProgressSteps(MB / 2), 0);           // 0.5 -> 0
    EXPECT_EQ(ProgressSteps(MB / 2 + 1), 20);
    EXPECT_EQ(ProgressSteps(MB + MB / 2), 40);     // 1.5 -> 2
    EXPECT_EQ(ProgressSteps(2 * MB + MB / 2), 40); // 2.5 -> 2
    EXPECT_EQ(ProgressSteps(2 * MB + MB / 2 + 1), 60);
    EXPECT_EQ(ProgressSteps(std::numeric_limits<std::int64_t>::max()), 8796093022208 * 20);
}

TEST(OptimizerAmounts, BlockIsTwoBytesPerCharacterAndTheRetryHalfAsManyCharacters) {
    EXPECT_EQ(BlockBytes(64 * MB), 128u * MB);
    EXPECT_EQ(HalfBlockBytes(64 * MB), 64u * MB);
    EXPECT_EQ(BlockBytes(1), 2u);
    EXPECT_EQ(HalfBlockBytes(1), 0u);   // half a character -> 0
    EXPECT_EQ(HalfBlockBytes(3), 4u);   // 1.5 characters -> 2
    EXPECT_EQ(HalfBlockBytes(5), 4u);   // 2.5 characters -> 2
    EXPECT_EQ(HalfBlockBytes(7), 8u);   // 3.5 characters -> 4
    EXPECT_EQ(HalfBlockBytes(4), 4u);
    for (std::int64_t nothing : {std::int64_t{0}, std::int64_t{-3}}) {
        EXPECT_EQ(BlockBytes(nothing), 0u);
        EXPECT_EQ(HalfBlockBytes(nothing), 0u);
    }
    const std::int64_t largest = std::numeric_limits<std::int64_t>::max();
    EXPECT_EQ(BlockBytes(largest), static_cast<std::uint64_t>(largest) * 2);
}

}  // namespace
