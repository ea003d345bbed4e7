#pragma once
// The one owner of an open registry key: closes it when destroyed. Move-only.
#include <windows.h>

#include <utility>

namespace tarvesk {

class RegKey {
public:
    RegKey() = default;
    explicit RegKey(HKEY key) : key_(key) {}
    ~RegKey() { close(); }
    RegKey(RegKey&& other) noexcept : key_(std::exchange(other.key_, nullptr)) {}
    RegKey& operator=(RegKey&& other) noexcept {
        if (this != &other) {
            close();
            key_ = std::exchange(other.key_, nullptr);
        }
        return *this;
    }
    RegKey(const RegKey&) = delete;
    RegKey& operator=(const RegKey&) = delete;

    // Opens an existing subkey; an empty RegKey when it cannot be opened with that access.
    static RegKey open(HKEY root, const char* subkey, REGSAM access) {
        HKEY key = nullptr;
        if (RegOpenKeyExA(root, subkey, 0, access, &key) != ERROR_SUCCESS) return {};
        return RegKey(key);
    }
    // Opens a subkey, creating it (and the keys above it) when absent.
    static RegKey create(HKEY root, const char* subkey, REGSAM access) {
        HKEY key = nullptr;
        if (RegCreateKeyExA(root, subkey, 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr,
                            &key, nullptr) != ERROR_SUCCESS)
            return {};
        return RegKey(key);
    }

    HKEY get() const { return key_; }
    explicit operator bool() const { return key_ != nullptr; }

    void close() {
        if (key_) RegCloseKey(std::exchange(key_, nullptr));
    }

private:
    HKEY key_ = nullptr;
};

}  // namespace tarvesk
