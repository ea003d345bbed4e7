#include "win32/Win32ProgramInfo.h"

#include <windows.h>

#include <string>

namespace tarvesk {

namespace {

std::string modulePath() {
    // Paths can be longer than MAX_PATH; a full buffer means the path was cut, so grow it.
    for (DWORD capacity = MAX_PATH; capacity <= 65536; capacity *= 2) {
        std::string path(capacity, '\0');
        DWORD length = GetModuleFileNameA(nullptr, path.data(), capacity);
        if (length == 0) return {};
        if (length < capacity) {
            path.resize(length);
            return path;
        }
    }
    return {};
}

}  // namespace

std::string Win32ProgramInfo::folder() {
    std::string path = modulePath();
    std::size_t slash = path.find_last_of("\\/");
    if (slash == std::string::npos) return path;
    std::string folder = path.substr(0, slash);
    // "C:\Tarvesk.exe" lies in "C:\", not in the drive-relative "C:".
    if (!folder.empty() && folder.back() == ':') folder.push_back('\\');
    return folder;
}

char Win32ProgramInfo::decimalSeparator() {
    char text[8] = {};
    int length = GetLocaleInfoA(LOCALE_USER_DEFAULT, LOCALE_SDECIMAL, text, sizeof text);
    // One character and its NUL; digits, signs or exponent letters would make numbers unreadable.
    if (length != 2) return '.';
    unsigned char c = static_cast<unsigned char>(text[0]);
    bool usable = c > ' ' && c != 0x7F && !(c >= '0' && c <= '9') && c != '+' && c != '-' &&
                  c != 'E' && c != 'e' && c != 'D' && c != 'd';
    return usable ? text[0] : '.';
}

}  // namespace tarvesk
