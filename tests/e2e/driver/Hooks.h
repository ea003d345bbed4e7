#pragma once
// Hooks of e2e_menuhook.dll on a thread of a program under test: Windows loads the library
// into the program and runs the hook there. A library loads only into programs of its own
// bitness, so a 32-bit program gets the 32-bit copy (e2e_menuhook32.dll), set by the small
// 32-bit e2e_hookhelper32.exe, both beside the test program.
#include <windows.h>

#include <string>

namespace e2e {

// True when `process` runs with other pointers than this driver (a 32-bit program seen
// from a 64-bit driver).
bool IsOtherBitness(HANDLE process);

// A hook procedure of the library, by its exported name ("E2EMenuHook"), set on one thread
// of `process`; removed when this goes.
class ThreadHook {
public:
    ThreadHook() = default;
    ThreadHook(const char* procedure, DWORD threadId, HANDLE process);
    ~ThreadHook();
    ThreadHook(ThreadHook&& other) noexcept;
    ThreadHook& operator=(ThreadHook&& other) noexcept;
    ThreadHook(const ThreadHook&) = delete;
    ThreadHook& operator=(const ThreadHook&) = delete;

    explicit operator bool() const { return hook_ != nullptr || helper_ != nullptr; }
    // Why the hook could not be set: a system error code, or the helper's exit code.
    DWORD error() const { return error_; }

private:
    void Release();
    void SetHere(const char* procedure, DWORD threadId);
    void SetByHelper(const char* procedure, DWORD threadId);

    HHOOK hook_ = nullptr;     // set by this driver
    HANDLE helper_ = nullptr;  // or held by the helper as long as it runs
    DWORD error_ = 0;
};

}  // namespace e2e
