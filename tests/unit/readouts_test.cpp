// Memory figures and the main window's three readouts: the label, the gauge and the title,
// with rounding to the nearest whole number (halves to even), step by step. The roundings on
// their own are in monitor_test.
#include <gtest/gtest.h>

#include <cstdint>

#include "fakes/FakePlatform.h"
#include "mainwindow/frmMain.h"

namespace {

constexpr std::uint64_t KB = 1024;
constexpr std::uint64_t MB = 1024 * KB;

struct Readouts : ::testing::Test {
    fakes::FakePlatform fp;
    tarvesk::modMain shared;
    tarvesk::frmMain f{fp.platform, shared};

    // Start-up totals from `total`, then one sample of `available`.
    void sample(std::uint64_t total, std::uint64_t available) {
        fp.memory.figures = {total, available};
        f.InitMemoryTotals();
        shared.MemStatus = fp.memory.sample();
        f.UpdateMemoryReadouts();
    }
};

TEST_F(Readouts, A128MegabyteMachineReadsAsDesigned) {
    sample(134217728, 52428800);
    EXPECT_EQ(shared.TotalKB, 131072);
    EXPECT_EQ(shared.TotalMB, 128);
    EXPECT_EQ(shared.FreeKB, 51200);
    EXPECT_EQ(shared.FreeMB, 50);
    EXPECT_EQ(shared.FreePercent, 39);   // 39.0625
    EXPECT_EQ(f.labMem.caption(), "39% of 128 MB Free");
    EXPECT_EQ(f.caption(), "51200 KB Free");
    EXPECT_FLOAT_EQ(f.ProgressBar1.value(), 50);
    EXPECT_FLOAT_EQ(f.ProgressBar1.max(), 128);
    EXPECT_EQ(f.Slider1.max(), 128);
}

TEST_F(Readouts, MegabytesAreRoundedFromTheRoundedKilobytes) {
    sample(128 * MB, 1572352);   // 1535.5 KB: 1536 KB, then 1.5 MB gives 2
    EXPECT_EQ(shared.FreeKB, 1536);
    EXPECT_EQ(shared.FreeMB, 2);
}

TEST_F(Readouts, TotalsRoundHalfMegabytesToEven) {
    sample(130560 * KB, 0);   // 127.5 MB
    EXPECT_EQ(shared.TotalMB, 128);
    sample(129536 * KB, 0);   // 126.5 MB
    EXPECT_EQ(shared.TotalMB, 126);
}

TEST_F(Readouts, MachinesFarBeyondTwoGigabytesReadRight) {
    sample(24 * 1024 * MB, 20 * 1024 * MB);   // 24 GB, 20 GB free
    EXPECT_EQ(shared.TotalKB, 25165824);
    EXPECT_EQ(shared.TotalMB, 24576);
    EXPECT_EQ(shared.FreeKB, 20971520);
    EXPECT_EQ(shared.FreeMB, 20480);
    EXPECT_EQ(shared.FreePercent, 83);   // 83.33
    EXPECT_EQ(f.labMem.caption(), "83% of 24576 MB Free");
    EXPECT_EQ(f.caption(), "20971520 KB Free");
    EXPECT_FLOAT_EQ(f.ProgressBar1.value(), 20480);
    EXPECT_EQ(f.Slider1.max(), 24576);
}

TEST_F(Readouts, BeforeTheFirstUpdateTheTitleIsTheDesignedOne) {
    EXPECT_EQ(f.caption(), "Tarvesk");
    EXPECT_EQ(f.labMem.caption(), "99% of 128 MB Free");
    EXPECT_EQ(shared.FreeKB, 0);
}

TEST_F(Readouts, NoMemoryReportedReadsAsZeroWithoutFault) {
    sample(0, 0);
    EXPECT_EQ(shared.TotalMB, 0);
    EXPECT_EQ(shared.FreePercent, 0);
    EXPECT_EQ(f.labMem.caption(), "0% of 0 MB Free");
}

}  // namespace
