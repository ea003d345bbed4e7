// The Windows block allocator and tray shell, run for real (under Wine in the cross build).
#ifdef _WIN32
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include "win32/ShellTray.h"
#include "win32/Win32BlockAllocator.h"

namespace {

TEST(Win32Blocks, ObtainsAndReleasesWrittenBlocks) {
    tarvesk::Win32BlockAllocator blocks;
    for (int round = 0; round < 3; ++round) {   // released each time, so always available again
        auto block = blocks.obtainWritten(64ull * 1048576 + 3);
        EXPECT_NE(block, nullptr);
    }
    EXPECT_NE(blocks.obtainWritten(0), nullptr);   // an empty text is always there
}

TEST(Win32Blocks, SizesBeyondTheAddressSpaceFailCleanly) {
    tarvesk::Win32BlockAllocator blocks;
    EXPECT_EQ(blocks.obtainWritten(std::numeric_limits<std::uint64_t>::max()), nullptr);
    if (sizeof(void*) == 4) {
        EXPECT_EQ(blocks.obtainWritten(std::uint64_t{1} << 32), nullptr);      // would wrap to 0
        EXPECT_EQ(blocks.obtainWritten((std::uint64_t{1} << 32) + 4096), nullptr);
    }
}

TEST(Win32Tray, RecordSizeIsTheFirstNarrowLayout) {
    tarvesk::ShellTray tray;
    EXPECT_EQ(tray.recordSize(), sizeof(void*) == 4 ? 88u : 104u);
}

TEST(Win32Tray, IconsAreLoadedOnceAndMissingOnesStayNone) {
    tarvesk::ShellTray tray;
    EXPECT_EQ(tray.icon(0), 0u);
    EXPECT_NE(tray.icon(101), 0u);   // the test program links the program's pictures
    EXPECT_EQ(tray.icon(101), tray.icon(101));
    EXPECT_EQ(tray.icon(999), 0u);
    EXPECT_EQ(tray.icon(999), 0u);
}

}  // namespace
#endif
