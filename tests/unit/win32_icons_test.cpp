// The main program's pictures as Windows loads them (under Wine in the cross build): the
// test program links the same icon resources as Tarvesk.exe.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <optional>
#include <vector>

#include "resource_ids.h"
#include "win32/ShellTray.h"

namespace {

HMODULE Self() { return GetModuleHandleA(nullptr); }

// The image an icon handle holds: width and height of its colour (or mask) bitmap.
SIZE IconSize(HICON icon) {
    ICONINFO info{};
    if (!icon || !GetIconInfo(icon, &info)) return {0, 0};
    BITMAP bitmap{};
    GetObjectA(info.hbmColor ? info.hbmColor : info.hbmMask, sizeof bitmap, &bitmap);
    SIZE size{bitmap.bmWidth, info.hbmColor ? bitmap.bmHeight : bitmap.bmHeight / 2};
    if (info.hbmColor) DeleteObject(info.hbmColor);
    if (info.hbmMask) DeleteObject(info.hbmMask);
    return size;
}

struct Entry {
    int width = 0;      // 256 for a directory size of 0
    int bitCount = 0;
    WORD id = 0;        // the RT_ICON resource
};

// The directory of an icon group resource (GRPICONDIR: 6 bytes, then 14-byte entries).
std::vector<Entry> GroupEntries(int groupId) {
    std::vector<Entry> entries;
    HRSRC found = FindResourceA(Self(), MAKEINTRESOURCEA(groupId), MAKEINTRESOURCEA(14));  // RT_GROUP_ICON
    if (!found) return entries;
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(Self(), found)));
    const DWORD size = SizeofResource(Self(), found);
    if (!bytes || size < 6) return entries;
    const int count = bytes[4] | bytes[5] << 8;
    for (int k = 0; k < count && 6u + 14u * (k + 1) <= size; ++k) {
        const BYTE* e = bytes + 6 + 14 * k;
        entries.push_back({e[0] == 0 ? 256 : e[0], e[6] | e[7] << 8, static_cast<WORD>(e[12] | e[13] << 8)});
    }
    return entries;
}

// The RT_ICON image Windows picks from a group for a size (LookupIconIdFromDirectoryEx).
struct Picked {
    int id = 0;
    bool png = false;
    int width = 0;   // of the bitmap, or of the PNG's header
    std::vector<BYTE> data;
};
std::optional<Picked> Pick(int groupId, int size) {
    HRSRC group = FindResourceA(Self(), MAKEINTRESOURCEA(groupId), MAKEINTRESOURCEA(14));
    if (!group) return std::nullopt;
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(Self(), group)));
    Picked picked;
    picked.id = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceA(Self(), MAKEINTRESOURCEA(picked.id), MAKEINTRESOURCEA(3));  // RT_ICON
    if (!image) return std::nullopt;
    const auto* bytes = static_cast<const BYTE*>(LockResource(LoadResource(Self(), image)));
    picked.data.assign(bytes, bytes + SizeofResource(Self(), image));
    if (picked.data.size() < 40) return std::nullopt;
    picked.png = std::memcmp(picked.data.data(), "\x89PNG", 4) == 0;
    const BYTE* w = picked.data.data() + (picked.png ? 16 : 4);
    picked.width = picked.png ? (w[0] << 24 | w[1] << 16 | w[2] << 8 | w[3]) : (w[0] | w[1] << 8 | w[2] << 16 | w[3] << 24);
    return picked;
}

const int kTrayPictures[] = {IDI_CHIP,       IDI_GAUGE_HALF,  IDI_GAUGE_QUARTER, IDI_GAUGE_LOW,
                             IDI_GAUGE_EMPTY, IDI_GAUGE_HIGH, IDI_WARNING};

TEST(Win32Icons, TrayIconsAreLoadedAtTheSmallIconSizeFromTheirOwnDrawing) {
    const int small = GetSystemMetrics(SM_CXSMICON);
    tarvesk::ShellTray tray;
    for (int id : kTrayPictures) {
        const auto icon = reinterpret_cast<HICON>(tray.icon(id));
        ASSERT_NE(icon, nullptr) << id;
        const SIZE size = IconSize(icon);
        EXPECT_EQ(size.cx, small) << id;
        EXPECT_EQ(size.cy, small) << id;
        const auto picked = Pick(id, small);
        ASSERT_TRUE(picked) << id;
        EXPECT_EQ(picked->width, small) << id << ": no image drawn at " << small << " px";
    }
}

// Windows before Vista cannot read PNG; they must never be handed the 256 px image. For each
// size they ask for, a bitmap of that size is there, and it is the one picked and loaded.
TEST(Win32Icons, EverySizeAskedForIsABitmapAndOnlyThe256PxImageIsPng) {
    const DWORD version = GetVersion();
    std::printf("Windows %u.%u as this system reports itself\n", static_cast<unsigned>(LOBYTE(LOWORD(version))),
                static_cast<unsigned>(HIBYTE(LOWORD(version))));
    for (int size : {16, 20, 24, 32, 40, 48, 64}) {
        for (int group : {IDI_PROGRAM, IDI_CHIP}) {
            const auto picked = Pick(group, size);
            ASSERT_TRUE(picked) << group << " at " << size;
            EXPECT_FALSE(picked->png) << group << " at " << size;
            EXPECT_EQ(picked->width, size) << group;
            HICON fromData = CreateIconFromResourceEx(const_cast<BYTE*>(picked->data.data()), static_cast<DWORD>(picked->data.size()),
                                                      TRUE, 0x00030000, size, size, LR_DEFAULTCOLOR);
            EXPECT_NE(fromData, nullptr) << group << " at " << size;
            if (fromData) DestroyIcon(fromData);
            auto loaded = static_cast<HICON>(
                LoadImageA(Self(), MAKEINTRESOURCEA(group), IMAGE_ICON, size, size, LR_DEFAULTCOLOR));
            ASSERT_NE(loaded, nullptr) << group << " at " << size;
            EXPECT_EQ(IconSize(loaded).cx, size) << group;
            DestroyIcon(loaded);
        }
    }
    const auto entries = GroupEntries(IDI_PROGRAM);
    ASSERT_EQ(entries.size(), 8u);
    for (const Entry& entry : entries) {
        const auto picked = Pick(IDI_PROGRAM, entry.width);
        ASSERT_TRUE(picked);
        EXPECT_EQ(picked->png, entry.width == 256) << entry.width;
        EXPECT_EQ(entry.bitCount, entry.width == 256 ? 32 : 8) << entry.width;
    }
}

TEST(Win32Icons, TheLargestImageLoadsWhereTheSystemReadsPng) {
    // Wine reads PNG icons, as Windows Vista and later do.
    auto large = static_cast<HICON>(LoadImageA(Self(), MAKEINTRESOURCEA(IDI_PROGRAM), IMAGE_ICON, 256, 256, 0));
    ASSERT_NE(large, nullptr);
    EXPECT_EQ(IconSize(large).cx, 256);
    DestroyIcon(large);
}

}  // namespace
#endif
