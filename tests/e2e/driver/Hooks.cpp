#include "Hooks.h"

#include <utility>

#include "Driver.h"

namespace e2e {

namespace {

bool IsWow64(HANDLE process) {
    BOOL wow64 = FALSE;
    return IsWow64Process(process, &wow64) && wow64;
}

}  // namespace

bool IsOtherBitness(HANDLE process) { return IsWow64(process) != IsWow64(GetCurrentProcess()); }

ThreadHook::ThreadHook(const char* procedure, DWORD threadId, HANDLE process) {
    if (IsOtherBitness(process))
        SetByHelper(procedure, threadId);
    else
        SetHere(procedure, threadId);
}

ThreadHook::~ThreadHook() { Release(); }

ThreadHook::ThreadHook(ThreadHook&& other) noexcept
    : hook_(std::exchange(other.hook_, nullptr)),
      helper_(std::exchange(other.helper_, nullptr)),
      error_(other.error_) {}

ThreadHook& ThreadHook::operator=(ThreadHook&& other) noexcept {
    if (this != &other) {
        Release();
        hook_ = std::exchange(other.hook_, nullptr);
        helper_ = std::exchange(other.helper_, nullptr);
        error_ = other.error_;
    }
    return *this;
}

void ThreadHook::Release() {
    if (hook_) UnhookWindowsHookEx(std::exchange(hook_, nullptr));
    if (helper_) {
        // The hook goes with the helper's thread.
        TerminateProcess(helper_, 0);
        WaitForSingleObject(helper_, kWaitMs);
        CloseHandle(std::exchange(helper_, nullptr));
    }
}

void ThreadHook::SetHere(const char* procedure, DWORD threadId) {
    // Loaded once and kept: a hook's procedure must stay where it is while the hook is set.
    HMODULE library = LoadLibraryA(HookLibraryPath().c_str());
    auto hook = library ? reinterpret_cast<HOOKPROC>(
                              reinterpret_cast<void*>(GetProcAddress(library, procedure)))
                        : nullptr;
    if (!hook) {
        error_ = library ? ERROR_PROC_NOT_FOUND : GetLastError();
        return;
    }
    hook_ = SetWindowsHookExA(WH_CALLWNDPROC, hook, library, threadId);
    if (!hook_) error_ = GetLastError();
}

void ThreadHook::SetByHelper(const char* procedure, DWORD threadId) {
    static LONG count = 0;
    const std::string event = "TarveskE2EHookSet" + std::to_string(GetCurrentProcessId()) + "." +
                              std::to_string(InterlockedIncrement(&count));
    HANDLE ready = CreateEventA(nullptr, TRUE, FALSE, event.c_str());
    if (!ready) {
        error_ = GetLastError();
        return;
    }
    std::string line = "\"" + HookHelperPath() + "\" " + procedure + " " +
                       std::to_string(threadId) + " " + event + " " +
                       std::to_string(GetCurrentProcessId());
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(HookHelperPath().c_str(), line.data(), nullptr, nullptr, FALSE,
                        CREATE_NO_WINDOW, nullptr, nullptr, &startup, &info)) {
        error_ = GetLastError();
        CloseHandle(ready);
        return;
    }
    CloseHandle(info.hThread);
    HANDLE either[] = {ready, info.hProcess};
    DWORD which = WaitForMultipleObjects(2, either, FALSE, kWaitMs);
    if (which == WAIT_OBJECT_0) {
        helper_ = info.hProcess;
    } else {
        // The helper ended without setting the hook (its exit code says why), or hung.
        DWORD code = WAIT_TIMEOUT;
        if (which == WAIT_OBJECT_0 + 1) GetExitCodeProcess(info.hProcess, &code);
        error_ = code ? code : ERROR_GEN_FAILURE;
        TerminateProcess(info.hProcess, 0);
        CloseHandle(info.hProcess);
    }
    CloseHandle(ready);
}

}  // namespace e2e
