#pragma once
// Owners of Windows handles. Each owner releases its handle the way that kind of handle is
// released, when it is destroyed or given another handle; an empty owner releases nothing.
// Move-only, so a handle has exactly one owner.
#include <windows.h>

#include <utility>

namespace tarvesk {

template <typename Handle, typename Release>
class Scoped {
public:
    Scoped() = default;
    explicit Scoped(Handle handle) : handle_(handle) {}
    ~Scoped() { reset(); }
    Scoped(Scoped&& other) noexcept : handle_(other.release()) {}
    Scoped& operator=(Scoped&& other) noexcept {
        if (this != &other) reset(other.release());
        return *this;
    }
    Scoped(const Scoped&) = delete;
    Scoped& operator=(const Scoped&) = delete;

    Handle get() const { return handle_; }
    explicit operator bool() const { return handle_ != nullptr; }

    // Gives up ownership: the caller releases the handle.
    Handle release() { return std::exchange(handle_, nullptr); }
    // Releases the handle held, then holds `handle`.
    void reset(Handle handle = nullptr) {
        if (Handle old = std::exchange(handle_, handle)) Release{}(old);
    }
    // For functions that hand a new handle back through a pointer.
    Handle* receive() {
        reset();
        return &handle_;
    }

private:
    Handle handle_ = nullptr;
};

namespace release {
struct KernelObject {
    void operator()(HANDLE handle) const {
        if (handle != INVALID_HANDLE_VALUE) CloseHandle(handle);
    }
};
struct Window {
    void operator()(HWND window) const { DestroyWindow(window); }
};
struct Menu {
    void operator()(HMENU menu) const { DestroyMenu(menu); }
};
struct GdiObject {
    void operator()(HGDIOBJ object) const { DeleteObject(object); }
};
struct Icon {
    void operator()(HICON icon) const { DestroyIcon(icon); }
};
struct Cursor {
    void operator()(HCURSOR cursor) const { DestroyCursor(cursor); }
};
struct Library {
    void operator()(HMODULE module) const { FreeLibrary(module); }
};
struct VirtualMemory {
    void operator()(void* base) const { VirtualFree(base, 0, MEM_RELEASE); }
};
struct LocalMemory {
    void operator()(void* block) const { LocalFree(block); }
};
struct RegistryKey {
    void operator()(HKEY key) const { RegCloseKey(key); }
};
}  // namespace release

using ScopedHandle = Scoped<HANDLE, release::KernelObject>;   // processes, threads, tokens
using ScopedWindow = Scoped<HWND, release::Window>;
using ScopedMenu = Scoped<HMENU, release::Menu>;   // a menu not attached to a window
using ScopedFont = Scoped<HFONT, release::GdiObject>;
using ScopedIcon = Scoped<HICON, release::Icon>;
using ScopedCursor = Scoped<HCURSOR, release::Cursor>;
using ScopedLibrary = Scoped<HMODULE, release::Library>;
using ScopedVirtualMemory = Scoped<void*, release::VirtualMemory>;
using ScopedLocalText = Scoped<char*, release::LocalMemory>;   // text the system allocated

// An open registry key.
class RegKey : public Scoped<HKEY, release::RegistryKey> {
public:
    using Scoped::Scoped;

    // Opens an existing subkey; an empty RegKey when it cannot be opened with that access.
    static RegKey open(HKEY root, const char* subkey, REGSAM access) {
        RegKey key;
        if (RegOpenKeyExA(root, subkey, 0, access, key.receive()) != ERROR_SUCCESS) key.release();
        return key;
    }
    // Opens a subkey, creating it (and the keys above it) when absent.
    static RegKey create(HKEY root, const char* subkey, REGSAM access) {
        RegKey key;
        if (RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                            key.receive(), nullptr) != ERROR_SUCCESS)
            key.release();
        return key;
    }
};

// A window's device context, from GetDC, given back with ReleaseDC. The screen's when the
// window is null.
class WindowDC {
public:
    explicit WindowDC(HWND window) : window_(window), dc_(GetDC(window)) {}
    ~WindowDC() {
        if (dc_) ReleaseDC(window_, dc_);
    }
    WindowDC(const WindowDC&) = delete;
    WindowDC& operator=(const WindowDC&) = delete;
    HDC get() const { return dc_; }
    explicit operator bool() const { return dc_ != nullptr; }

private:
    HWND window_;
    HDC dc_;
};

// An object selected into a device context; the one it replaced is selected back.
class SelectedObject {
public:
    SelectedObject(HDC dc, HGDIOBJ object) : dc_(dc), old_(dc && object ? SelectObject(dc, object) : nullptr) {}
    ~SelectedObject() {
        if (old_) SelectObject(dc_, old_);
    }
    SelectedObject(const SelectedObject&) = delete;
    SelectedObject& operator=(const SelectedObject&) = delete;

private:
    HDC dc_;
    HGDIOBJ old_;
};

}  // namespace tarvesk
