#pragma once
// Reading another process's memory: an owned handle, a block allocated inside the other
// process, wide text made narrow, and the tools of a tooltip window there.
#include <windows.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace e2e {

struct Closer {
    void operator()(HANDLE h) const {
        if (h) CloseHandle(h);
    }
};
using UniqueHandle = std::unique_ptr<void, Closer>;

// A block of memory inside another process, freed when this goes.
class RemoteBlock {
public:
    RemoteBlock(HANDLE process, SIZE_T size)
        : process_(process),
          address_(static_cast<char*>(
              VirtualAllocEx(process, nullptr, size, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE))) {}
    ~RemoteBlock() {
        if (address_) VirtualFreeEx(process_, address_, 0, MEM_RELEASE);
    }
    RemoteBlock(const RemoteBlock&) = delete;
    RemoteBlock& operator=(const RemoteBlock&) = delete;
    char* get() const { return address_; }

private:
    HANDLE process_;
    char* address_;
};

inline std::string Narrow(const wchar_t* text) {
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(length - 1));
    return narrow;
}

// One tool of a tooltip window, as the window's own process holds it.
struct RemoteTool {
    UINT flags = 0;
    HWND window = nullptr;
    UINT_PTR id = 0;
    RECT rect{};
    // The tool's text; nullopt when the tool hands it out by reference (a callback or a
    // resource) rather than a copy.
    std::optional<std::string> text;
};
// Every tool of `tooltip`, which belongs to `process` (opened for VM operations, reading
// and writing): TTM_ENUMTOOLSW into a block inside that process, in that process's
// layout, 64-bit or 32-bit. Empty when the tools cannot be read.
std::vector<RemoteTool> RemoteTools(HWND tooltip, HANDLE process);

}  // namespace e2e
