// Stands in for the user's browser in the end-to-end tests. Registered in the test prefix as
// the program that opens .html files, it records what it was asked to open under
// HKCU\Software\TarveskE2E (value "OpenedPage", and "Opens" counts the calls), then shows
// it in a box titled "Test Browser" until the box is closed.
#include <windows.h>

#include <cstdlib>
#include <string>

namespace {

constexpr char kRecordKey[] = "Software\\TarveskE2E";

void Record(const std::string& page) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kRecordKey, 0, nullptr, 0, KEY_QUERY_VALUE | KEY_SET_VALUE,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    DWORD opens = 0, size = sizeof opens;
    RegQueryValueExA(key, "Opens", nullptr, nullptr, reinterpret_cast<BYTE*>(&opens), &size);
    ++opens;
    RegSetValueExA(key, "OpenedPage", 0, REG_SZ, reinterpret_cast<const BYTE*>(page.c_str()),
                   static_cast<DWORD>(page.size() + 1));
    RegSetValueExA(key, "Opens", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&opens), sizeof opens);
    RegCloseKey(key);
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    std::string page;
    for (int i = 1; i < __argc; ++i) {
        if (i > 1) page += ' ';
        page += __argv[i];
    }
    Record(page);
    MessageBoxA(nullptr, ("Opened " + page).c_str(), "Test Browser", MB_OK);
    return 0;
}
