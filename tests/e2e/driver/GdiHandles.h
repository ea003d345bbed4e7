// Owners of the screen device contexts, memory DCs and GDI objects the driver reads
// pixels with, for std::unique_ptr.
#pragma once

#include <windows.h>

#include <memory>

namespace e2e {

struct ScreenDcReleaser {
    void operator()(HDC dc) const { ReleaseDC(nullptr, dc); }
};
struct DcDeleter {
    void operator()(HDC dc) const { DeleteDC(dc); }
};
struct GdiObjectDeleter {
    void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};

using ScreenDc = std::unique_ptr<HDC__, ScreenDcReleaser>;
using MemoryDc = std::unique_ptr<HDC__, DcDeleter>;
using GdiObject = std::unique_ptr<void, GdiObjectDeleter>;

}  // namespace e2e
