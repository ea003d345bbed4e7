// The Windows block allocator and tray shell, run for real (under Wine in the cross build).
#ifdef _WIN32
#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

#include <windows.h>

#include "resource_ids.h"
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
    // The test program carries the main program's resources, so the tray's pictures are there.
    tarvesk::ShellTray tray;
    const std::uintptr_t chip = tray.icon(IDI_CHIP);
    ASSERT_NE(chip, 0u) << "icon " << IDI_CHIP << " did not load";
    ICONINFO info{};
    ASSERT_NE(GetIconInfo(reinterpret_cast<HICON>(chip), &info), FALSE) << "not an icon";
    if (info.hbmMask) DeleteObject(info.hbmMask);
    if (info.hbmColor) DeleteObject(info.hbmColor);
    // The same handle every time: loaded once, not once a tick.
    EXPECT_EQ(tray.icon(IDI_CHIP), chip);
    for (int id : {IDI_GAUGE_HALF, IDI_GAUGE_QUARTER, IDI_GAUGE_LOW, IDI_GAUGE_EMPTY, IDI_GAUGE_HIGH, IDI_WARNING}) {
        const std::uintptr_t picture = tray.icon(id);
        EXPECT_NE(picture, 0u) << id;
        EXPECT_NE(picture, chip) << id;
        EXPECT_EQ(tray.icon(id), picture) << id;
    }
    // No picture, and a resource the program does not have, give no icon, and stay so.
    EXPECT_EQ(tray.icon(0), 0u);
    EXPECT_EQ(tray.icon(999), 0u);
    EXPECT_EQ(tray.icon(999), 0u);
}

}  // namespace
#endif
