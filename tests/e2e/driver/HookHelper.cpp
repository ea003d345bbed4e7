// e2e_hookhelper32.exe: sets a hook of e2e_menuhook32.dll (beside it) on a thread of a
// 32-bit program for a 64-bit driver, which cannot: Windows loads a hook's library only
// into programs of the library's own bitness.
//
//   e2e_hookhelper32.exe <procedure> <thread id> <event name> <driver process id>
//
// Sets <procedure> of the library as a WH_CALLWNDPROC hook on the thread, signals the
// driver's named event, and keeps the hook until the driver ends this program, the driver
// ends or the thread ends (a hook goes with the thread that set it). Exit code 0 after the
// hook was kept, else the error that stopped it.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

std::string OwnFolder() {
    char path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length < sizeof path ? length : 0);
    auto slash = text.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : text.substr(0, slash);
}

DWORD Number(const char* text) { return static_cast<DWORD>(std::strtoul(text, nullptr, 10)); }

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5) return ERROR_BAD_ARGUMENTS;
    const DWORD threadId = Number(argv[2]), driverId = Number(argv[4]);
    HMODULE library = LoadLibraryA((OwnFolder() + "\\e2e_menuhook32.dll").c_str());
    if (!library) return static_cast<int>(GetLastError());
    auto procedure =
        reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library, argv[1])));
    if (!procedure) return ERROR_PROC_NOT_FOUND;
    HANDLE thread = OpenThread(SYNCHRONIZE, FALSE, threadId);
    HANDLE driver = OpenProcess(SYNCHRONIZE, FALSE, driverId);
    HANDLE ready = OpenEventA(EVENT_MODIFY_STATE, FALSE, argv[3]);
    if (!thread || !driver || !ready) return static_cast<int>(GetLastError());
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, procedure, library, threadId);
    if (!hook) return static_cast<int>(GetLastError());
    SetEvent(ready);
    HANDLE ends[] = {thread, driver};
    WaitForMultipleObjects(2, ends, FALSE, INFINITE);
    UnhookWindowsHookEx(hook);
    CloseHandle(ready);
    CloseHandle(driver);
    CloseHandle(thread);
    return 0;
}
