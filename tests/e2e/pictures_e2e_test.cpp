// The pictures as the user sees them, pixel for pixel, each the image drawn for the size the
// display asks for rather than a smaller one blown up: the tray picture at the system's
// small-icon size (16, 20, 24 or 32 px at 96, 120, 144 or 192 DPI), and the About picture,
// 32 px at 96 DPI, at 40, 48 or 64 px. tests/e2e/icons_test.sh runs these at each DPI.
#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "Driver.h"
#include "GdiHandles.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

struct ModuleFreer {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};

// One picture as its icon resource holds it: colours, and which pixels are transparent.
struct Picture {
    int id = 0;
    int size = 0;   // width and height of the image the resource has for the asked size
    std::vector<COLORREF> colours;   // row-major from the top left
    std::vector<bool> clear;
};

std::uint32_t Le(const BYTE* p, int bytes) {
    std::uint32_t v = 0;
    for (int k = bytes - 1; k >= 0; --k) v = v << 8 | p[k];
    return v;
}

// The image Windows picks from icon group `id` for `size` (an uncompressed bitmap of 1, 4 or
// 8 bits a pixel with its table, then the mask), read without any scaling.
Picture ReadPicture(HMODULE module, int id, int size) {
    Picture picture;
    picture.id = id;
    HRSRC group = FindResourceA(module, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(14));   // RT_GROUP_ICON
    if (!group) return picture;
    auto* directory = static_cast<BYTE*>(LockResource(LoadResource(module, group)));
    const int imageId = LookupIconIdFromDirectoryEx(directory, TRUE, size, size, LR_DEFAULTCOLOR);
    HRSRC image = FindResourceA(module, MAKEINTRESOURCEA(imageId), MAKEINTRESOURCEA(3));   // RT_ICON
    if (!image) return picture;
    const auto* dib = static_cast<const BYTE*>(LockResource(LoadResource(module, image)));
    const DWORD length = SizeofResource(module, image);
    if (!dib || length < 40 || Le(dib, 4) != 40) return picture;
    const int width = static_cast<int>(Le(dib + 4, 4)), height = static_cast<int>(Le(dib + 8, 4)) / 2;
    const int bpp = static_cast<int>(Le(dib + 14, 2));
    if (width != height || width <= 0 || width > 256 || (bpp != 1 && bpp != 4 && bpp != 8)) return picture;
    const std::uint32_t used = Le(dib + 32, 4);
    const std::size_t entries = used ? used : std::size_t{1} << bpp;
    const std::size_t colourRow = (static_cast<std::size_t>(width) * bpp + 31) / 32 * 4;
    const std::size_t maskRow = (static_cast<std::size_t>(width) + 31) / 32 * 4;
    const BYTE* table = dib + 40;
    const BYTE* colours = table + 4 * entries;
    const BYTE* mask = colours + colourRow * height;
    if (mask + maskRow * height > dib + length) return picture;
    for (int y = 0; y < height; ++y) {
        const int row = height - 1 - y;   // bottom-up
        for (int x = 0; x < width; ++x) {
            const std::size_t bit = static_cast<std::size_t>(x) * bpp;
            const BYTE byte = colours[row * colourRow + bit / 8];
            const std::size_t index = (byte >> (8 - bpp - bit % 8)) & ((1u << bpp) - 1);
            const BYTE* quad = table + 4 * (index < entries ? index : 0);
            picture.colours.push_back(RGB(quad[2], quad[1], quad[0]));
            picture.clear.push_back((mask[row * maskRow + x / 8] >> (7 - x % 8)) & 1);
        }
    }
    picture.size = width;
    return picture;
}

// The screen's pixels in a rectangle, row-major from its top left.
std::vector<COLORREF> Grab(const RECT& area) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    std::vector<COLORREF> pixels;
    ScreenDc screen(GetDC(nullptr));
    MemoryDc memory(CreateCompatibleDC(screen.get()));
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;   // top-down
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    GdiObject bitmap(CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!screen || !memory || !bitmap || !bits) return pixels;
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY);
    SelectObject(memory.get(), old);
    const auto* bgra = static_cast<const BYTE*>(bits);
    for (int k = 0; k < width * height; ++k) pixels.push_back(RGB(bgra[4 * k + 2], bgra[4 * k + 1], bgra[4 * k]));
    return pixels;
}

// The rows of an icon that reach Wine's taskbar with their mask intact. Wine 8's
// Shell_NotifyIcon sends the mask as width x height bits rounded up to 16, without the
// padding of each row to 16 bits, so for 20 and 24 px icons the lowest rows arrive with a
// garbled mask and are drawn wrongly (Windows itself hands the shell the icon whole).
int RowsTheShellKeeps(int size) {
    const int sent = (size * size + 15) / 16 * 2, rowBytes = (size + 15) / 16 * 2;
    return std::min(size, sent / rowBytes);
}

// Whether every opaque pixel of the picture's first `rows` rows lies on the screen exactly
// so, somewhere in the area.
bool ShownIn(const Picture& picture, int rows, const RECT& area, const std::vector<COLORREF>& screen) {
    const int width = area.right - area.left, height = area.bottom - area.top;
    for (int top = 0; top + picture.size <= height; ++top)
        for (int left = 0; left + picture.size <= width; ++left) {
            bool same = true;
            for (int y = 0; y < rows && same; ++y)
                for (int x = 0; x < picture.size && same; ++x) {
                    const std::size_t k = static_cast<std::size_t>(y * picture.size + x);
                    same = picture.clear[k] ||
                           screen[static_cast<std::size_t>((top + y) * width + left + x)] == picture.colours[k];
                }
            if (same) return true;
        }
    return false;
}

class PictureTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        // Pixels and sizes as the screen has them, not scaled for a program unaware of the DPI.
        SetProcessDPIAware();
        ScreenDc screen(GetDC(nullptr));
        dpi = GetDeviceCaps(screen.get(), LOGPIXELSX);
    }
    int dpi = 96;
};

class TrayPictureTest : public PictureTest {};

TEST_F(TrayPictureTest, ShowsThePictureDrawnForTheSmallIconSize) {
    const int size = GetSystemMetrics(SM_CXSMICON);
    const std::string at = std::to_string(size) + " px at " + std::to_string(dpi) + " DPI";

    // Every picture the tray icon can show, from the program's own resources.
    std::unique_ptr<HINSTANCE__, ModuleFreer> program(
        LoadLibraryExA(MainProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(program) << MainProgram();
    std::vector<Picture> pictures;
    for (int id : {101, 102, 103, 104, 105, 106, 108}) {
        pictures.push_back(ReadPicture(program.get(), id, size));
        ASSERT_EQ(pictures.back().size, size) << "icon " << id << " has no image drawn at " << at;
    }

    // Started as after log-on: straight into the notification area.
    ASSERT_TRUE(WriteSetting("StartAgent", "1"));
    Process main = Process::Start(MainProgram());
    ASSERT_TRUE(main) << "cannot start " << MainProgram();
    ASSERT_TRUE(WaitForTrayIcon(IsMemoryTip)) << "no tray icon with a memory tooltip";

    HWND tray = FindWindowA("Shell_TrayWnd", nullptr);
    ASSERT_NE(tray, nullptr);
    int shown = 0;
    const bool found = WaitUntil([&] {
        for (const TrayIcon& icon : TrayIcons()) {
            if (!IsMemoryTip(icon.tip)) continue;
            // The icon's place in the taskbar, with room around it for the shell's margins.
            RECT area = icon.rect;
            MapWindowPoints(tray, nullptr, reinterpret_cast<POINT*>(&area), 2);
            InflateRect(&area, size, size);
            const RECT desktop{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
            IntersectRect(&area, &area, &desktop);
            const std::vector<COLORREF> pixels = Grab(area);
            if (pixels.empty()) return false;
            for (const Picture& picture : pictures)
                if (ShownIn(picture, RowsTheShellKeeps(size), area, pixels)) {
                    shown = picture.id;
                    return true;
                }
        }
        return false;
    });
    EXPECT_FALSE(Screenshot("tray-icon-" + std::to_string(dpi) + "dpi").empty());
    EXPECT_TRUE(found) << "the notification area does not show any tray picture as drawn at " << at;
    if (found) std::printf("the tray shows icon %d as drawn at %s\n", shown, at.c_str());
}

class AboutPictureTest : public PictureTest {};

TEST_F(AboutPictureTest, ShowsTheProgramIconDrawnForItsSize) {
    constexpr int kAbout = 104;     // frmMain's About button
    constexpr int kPicture = 102;   // frmAbout's Picture1
    const int size = MulDiv(32, dpi, 96);
    const std::string at = std::to_string(size) + " px at " + std::to_string(dpi) + " DPI";
    std::unique_ptr<HINSTANCE__, ModuleFreer> module(
        LoadLibraryExA(MainProgram().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE));
    ASSERT_TRUE(module) << MainProgram();
    const Picture icon = ReadPicture(module.get(), 1, size);
    ASSERT_EQ(icon.size, size) << "the program icon has no image drawn at " << at;

    Process program = Process::Start(MainProgram());
    ASSERT_TRUE(program) << "cannot start " << MainProgram();
    HWND main = MainWindowOf(program.id());
    ASSERT_NE(main, nullptr);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; }));
    ClickControl(main, kAbout);
    HWND picture = nullptr;
    ASSERT_TRUE(WaitUntil([&] {
        for (HWND window : TopLevelWindows(program.id(), "TarveskForm"))
            if (window != main && IsWindowVisible(window) && (picture = Control(window, kPicture))) return true;
        return false;
    })) << "no About window";
    HWND about = GetAncestor(picture, GA_ROOT);
    SetForegroundWindow(about);
    ASSERT_TRUE(WaitUntilPainted(about));

    RECT area{};
    GetWindowRect(picture, &area);
    InflateRect(&area, size, size);
    bool found = false;
    WaitUntil([&] {
        const std::vector<COLORREF> pixels = Grab(area);
        found = !pixels.empty() && ShownIn(icon, size, area, pixels);
        return found;
    });
    EXPECT_FALSE(Screenshot("about-picture-" + std::to_string(dpi) + "dpi").empty());
    EXPECT_TRUE(found) << "the About window does not show the program icon as drawn at " << at;
}

}  // namespace
}  // namespace e2e
