// A program's manifest resource (type RT_MANIFEST, ID 1), which asks Windows XP and later
// for the common controls 6 with their visual styles. A copy without it runs with the
// classic controls that Windows before XP has.
#include "Driver.h"

namespace e2e {

namespace {

constexpr ULONG_PTR kManifestType = 24;   // RT_MANIFEST

// A program file opened as data, for its resources only.
class ResourceFile {
public:
    explicit ResourceFile(const std::string& path)
        : module_(LoadLibraryExA(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE)) {}
    ~ResourceFile() {
        if (module_) FreeLibrary(module_);
    }
    ResourceFile(const ResourceFile&) = delete;
    ResourceFile& operator=(const ResourceFile&) = delete;
    HMODULE get() const { return module_; }

private:
    HMODULE module_;
};

// A resource's type or name: a number, or a text.
struct ResourceKey {
    explicit ResourceKey(LPCWSTR key)
        : number(IS_INTRESOURCE(key) ? reinterpret_cast<ULONG_PTR>(key) : 0),
          text(IS_INTRESOURCE(key) ? L"" : key) {}
    LPCWSTR get() const { return number ? MAKEINTRESOURCEW(number) : text.c_str(); }
    ULONG_PTR number;
    std::wstring text;
};

struct Resource {
    ResourceKey type, name;
    WORD language;
    std::vector<char> data;
};

// Collects every resource of a program but its manifest, type by type, name by name,
// language by language.
struct Walk {
    std::vector<Resource>* resources;
    bool complete = true;
};

BOOL CALLBACK TakeLanguage(HMODULE module, LPCWSTR type, LPCWSTR name, WORD language,
                           LONG_PTR context) {
    auto& walk = *reinterpret_cast<Walk*>(context);
    HRSRC found = FindResourceExW(module, type, name, language);
    HGLOBAL loaded = found ? LoadResource(module, found) : nullptr;
    const auto* bytes = loaded ? static_cast<const char*>(LockResource(loaded)) : nullptr;
    if (!bytes) {
        walk.complete = false;
        return FALSE;
    }
    walk.resources->push_back({ResourceKey(type), ResourceKey(name), language,
                               {bytes, bytes + SizeofResource(module, found)}});
    return TRUE;
}

BOOL CALLBACK TakeName(HMODULE module, LPCWSTR type, LPWSTR name, LONG_PTR context) {
    return EnumResourceLanguagesW(module, type, name, TakeLanguage, context);
}

BOOL CALLBACK TakeType(HMODULE module, LPWSTR type, LONG_PTR context) {
    if (IS_INTRESOURCE(type) && reinterpret_cast<ULONG_PTR>(type) == kManifestType) return TRUE;
    return EnumResourceNamesW(module, type, TakeName, context);
}

bool ResourcesBesideTheManifest(HMODULE module, std::vector<Resource>& resources) {
    Walk walk{&resources};
    return EnumResourceTypesW(module, TakeType, reinterpret_cast<LONG_PTR>(&walk)) && walk.complete;
}

}  // namespace

bool HasManifest(const std::string& program) {
    ResourceFile file(program);
    return file.get() && FindResourceA(file.get(), MAKEINTRESOURCEA(1),
                                       MAKEINTRESOURCEA(kManifestType)) != nullptr;
}

bool CopyWithoutManifest(const std::string& program, const std::string& copy) {
    // The copy's resources are written anew without the manifest: removing one resource
    // alone (UpdateResource with no data) leaves it in place under Wine.
    std::vector<Resource> resources;
    {
        ResourceFile file(program);
        if (!file.get() || !ResourcesBesideTheManifest(file.get(), resources)) return false;
    }
    if (!CopyFileA(program.c_str(), copy.c_str(), FALSE)) return false;
    HANDLE update = BeginUpdateResourceA(copy.c_str(), TRUE);
    if (!update) return false;
    bool written = true;
    for (Resource& resource : resources)
        written = written && UpdateResourceW(update, resource.type.get(), resource.name.get(),
                                             resource.language, resource.data.data(),
                                             static_cast<DWORD>(resource.data.size()));
    return EndUpdateResourceA(update, !written) && written && !HasManifest(copy);
}

}  // namespace e2e
