// Questions answered inside a program by the hook library (see MenuHook.cpp): the driver
// names a shared memory after its own process, sets the hook on the window's thread and
// sends the question; the hook writes its answer there.
#include "Driver.h"
#include "Remote.h"

namespace e2e {

std::optional<std::string> AskProgram(HWND window, const char* request, WPARAM wParam) {
    const UINT message = RegisterWindowMessageA(request);
    DWORD processId = 0;
    DWORD thread = GetWindowThreadProcessId(window, &processId);
    if (!thread) return std::nullopt;
    UniqueHandle process(OpenProcess(PROCESS_QUERY_INFORMATION, FALSE, processId));
    if (!process) return std::nullopt;

    const DWORD size = 1 << 20;
    std::string name = "TarveskE2EMenu" + std::to_string(GetCurrentProcessId());
    UniqueHandle mapping(CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0, size,
                                            name.c_str()));
    if (!mapping) return std::nullopt;
    auto* view = static_cast<char*>(MapViewOfFile(mapping.get(), FILE_MAP_ALL_ACCESS, 0, 0, size));
    if (!view) return std::nullopt;
    view[0] = '\0';

    std::string text;
    if (ThreadHook hook("E2EMenuHook", thread, process.get()); hook) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, message, wParam, static_cast<LPARAM>(GetCurrentProcessId()),
                            SMTO_ABORTIFHUNG, 10000, &result);
        text.assign(view, strnlen(view, size - 1));
    }
    UnmapViewOfFile(view);
    if (text.empty()) return std::nullopt;
    return text;
}

std::optional<SystemSeen> SystemSeenBy(HWND window) {
    auto text = AskProgram(window, "TarveskE2E.DescribeSystem", 0);
    if (!text || text->rfind("system\t", 0) != 0) return std::nullopt;
    std::vector<std::string> fields;
    for (std::size_t start = 0; start <= text->size();) {
        std::size_t end = text->find_first_of("\t\n", start);
        if (end == std::string::npos) break;
        fields.push_back(text->substr(start, end - start));
        start = end + 1;
    }
    if (fields.size() != 7) return std::nullopt;
    SystemSeen seen;
    seen.major = std::stoul(fields[1]);
    seen.minor = std::stoul(fields[2]);
    seen.build = std::stoul(fields[3]);
    seen.platform = std::stoul(fields[4]);
    seen.packedVersion = std::stoul(fields[5], nullptr, 16);
    seen.hasGlobalMemoryStatusEx = fields[6] == "1";
    return seen;
}

}  // namespace e2e
