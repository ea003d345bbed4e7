// Screenshots through GDI (the screen's pixels) and GDI+ (the PNG encoder).
#include "Driver.h"
#include "GdiHandles.h"

#include <objidl.h>
#include <gdiplus.h>

#include <memory>

namespace e2e {

namespace {

class GdiPlus {
public:
    GdiPlus() {
        Gdiplus::GdiplusStartupInput input;
        ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
    }
    ~GdiPlus() {
        if (ok_) Gdiplus::GdiplusShutdown(token_);
    }
    bool ok() const { return ok_; }

private:
    ULONG_PTR token_ = 0;
    bool ok_ = false;
};

std::wstring Wide(const std::string& text) {
    int length = MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length > 0 ? length : 1), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.c_str(), -1, wide.data(), length);
    wide.resize(wide.size() - 1);
    return wide;
}

// The screen's pixels in `area` as ScreenshotDir()/<name>.png.
std::string SaveScreen(const std::string& name, const RECT& area) {
    std::string folder = ScreenshotDir();
    MakeFolders(folder);
    std::string path = JoinPath(folder, name + ".png");

    int width = area.right - area.left, height = area.bottom - area.top;
    ScreenDc screen(GetDC(nullptr));
    if (!screen || width <= 0 || height <= 0) return {};
    MemoryDc memory(CreateCompatibleDC(screen.get()));
    GdiObject bitmap(CreateCompatibleBitmap(screen.get(), width, height));
    if (!memory || !bitmap) return {};
    HGDIOBJ old = SelectObject(memory.get(), bitmap.get());
    BitBlt(memory.get(), 0, 0, width, height, screen.get(), area.left, area.top, SRCCOPY | CAPTUREBLT);
    SelectObject(memory.get(), old);

    GdiPlus gdiplus;
    if (!gdiplus.ok()) return {};
    // The PNG encoder of GDI+.
    const CLSID png = {0x557cf406, 0x1a04, 0x11d3, {0x9a, 0x73, 0x00, 0x00, 0xf8, 0x1e, 0xf3, 0x2e}};
    Gdiplus::Bitmap image(static_cast<HBITMAP>(bitmap.get()), nullptr);
    if (image.Save(Wide(path).c_str(), &png, nullptr) != Gdiplus::Ok) return {};
    return path;
}

}  // namespace

std::string Screenshot(const std::string& name) {
    return SaveScreen(name, RECT{0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)});
}

std::string ScreenshotOfWindow(const std::string& name, HWND window) {
    RECT area{};
    if (!GetWindowRect(window, &area)) return {};
    return SaveScreen(name, area);
}

}  // namespace e2e
