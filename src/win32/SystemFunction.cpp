#include "win32/SystemFunction.h"

#include <windows.h>

#include <cstddef>

namespace tarvesk {

namespace {

// The one owner of the libraries loaded here: each is loaded once and freed when the
// program ends. The programs need only a few (the common controls, the shell).
class LoadedLibraries {
public:
    LoadedLibraries() = default;
    ~LoadedLibraries() {
        while (count_ > 0) FreeLibrary(modules_[--count_]);
    }
    LoadedLibraries(const LoadedLibraries&) = delete;
    LoadedLibraries& operator=(const LoadedLibraries&) = delete;

    HMODULE get(const char* name) {
        if (HMODULE loaded = GetModuleHandleA(name)) return loaded;
        if (count_ == kCapacity) return nullptr;
        HMODULE module = LoadLibraryA(name);
        if (module) modules_[count_++] = module;
        return module;
    }

private:
    static constexpr std::size_t kCapacity = 8;
    HMODULE modules_[kCapacity] = {};
    std::size_t count_ = 0;
};

}  // namespace

void* FindSystemFunction(const char* library, const char* function) {
    static LoadedLibraries libraries;
    if (!library || !function) return nullptr;
    HMODULE module = libraries.get(library);
    return module ? reinterpret_cast<void*>(GetProcAddress(module, function)) : nullptr;
}

}  // namespace tarvesk
