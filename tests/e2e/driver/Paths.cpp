#include <cstdlib>

#include "Driver.h"

namespace e2e {

namespace {

std::string Environment(const char* name) {
    char buffer[4096];
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    if (length == 0 || length >= sizeof buffer) return {};
    return std::string(buffer, length);
}

std::string OwnFolder() {
    char path[MAX_PATH * 4];
    DWORD length = GetModuleFileNameA(nullptr, path, sizeof path);
    std::string text(path, length < sizeof path ? length : 0);
    auto slash = text.find_last_of("\\/");
    return slash == std::string::npos ? std::string(".") : text.substr(0, slash);
}

}  // namespace

std::string WindowsPath(const std::string& path) {
    if (path.empty() || path[0] != '/') return path;
    std::string converted = "Z:" + path;
    for (char& c : converted)
        if (c == '/') c = '\\';
    return converted;
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) return name;
    char last = folder.back();
    return (last == '\\' || last == '/') ? folder + name : folder + "\\" + name;
}

std::string BinDir() {
    std::string bin = Environment("TARVESK_BIN");
    return bin.empty() ? OwnFolder() : WindowsPath(bin);
}

std::string ScreenshotDir() {
    std::string dir = Environment("TARVESK_SCREENSHOTS");
    if (!dir.empty()) return WindowsPath(dir);
    // build/<preset>/bin -> build/screenshots
    std::string bin = Environment("TARVESK_BIN");
    if (!bin.empty()) {
        std::string relative = JoinPath(WindowsPath(bin), "..\\..\\screenshots");
        char full[MAX_PATH * 4];
        DWORD length = GetFullPathNameA(relative.c_str(), sizeof full, full, nullptr);
        return length > 0 && length < sizeof full ? std::string(full, length) : relative;
    }
    return JoinPath(OwnFolder(), "screenshots");
}

std::string HookLibraryPath() { return JoinPath(OwnFolder(), "e2e_menuhook.dll"); }

bool ProgramsAre32Bit() {
    static const bool is32 = [] {
        DWORD type = 0;
        return GetBinaryTypeA(JoinPath(BinDir(), "Tarvesk.exe").c_str(), &type) &&
               type == SCS_32BIT_BINARY;
    }();
    return is32;
}

std::string HookHelperPath() { return JoinPath(OwnFolder(), "e2e_hookhelper32.exe"); }

bool FileExists(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const std::string& folder) {
    if (folder.empty()) return false;
    DWORD attributes = GetFileAttributesA(folder.c_str());
    if (attributes != INVALID_FILE_ATTRIBUTES) return (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    auto slash = folder.find_last_of("\\/");
    if (slash != std::string::npos && slash > 2) MakeFolders(folder.substr(0, slash));
    return CreateDirectoryA(folder.c_str(), nullptr) || GetLastError() == ERROR_ALREADY_EXISTS;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeoutMs) {
    DWORD start = GetTickCount();
    for (;;) {
        if (condition()) return true;
        if (GetTickCount() - start >= timeoutMs) return condition();
        Sleep(50);
    }
}

void Pause(DWORD ms) { Sleep(ms); }

}  // namespace e2e
