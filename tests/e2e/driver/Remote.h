#pragma once
// Reaching into another process: an owned handle, a block allocated inside the other
// process, a question answered by the hooks inside a program, and wide text made narrow.
#include <windows.h>

#include <memory>
#include <string>

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

// Sends the registered message `question` to a window of a program with the hooks of
// e2e_menuhook.dll set on its thread, and returns what the hook wrote in answer (empty when
// nothing came).
std::string AskInsideProgram(HWND window, const char* question, WPARAM wParam = 0);

inline std::string Narrow(const wchar_t* text) {
    int length = WideCharToMultiByte(CP_ACP, 0, text, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return {};
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_ACP, 0, text, -1, narrow.data(), length, nullptr, nullptr);
    narrow.resize(static_cast<std::size_t>(length - 1));
    return narrow;
}

}  // namespace e2e
