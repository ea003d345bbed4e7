#include "Remote.h"

#include <commctrl.h>

#include <cstdint>
#include <type_traits>

#include "Hooks.h"

namespace e2e {

namespace {

HWND AsWindow(HWND window) { return window; }
UINT_PTR AsId(UINT_PTR id) { return id; }

#ifdef _WIN64
// TTTOOLINFOW as a 32-bit program lays it out: handles and pointers are 4 bytes there.
struct ToolInfo32 {
    UINT cbSize;
    UINT uFlags;
    std::uint32_t hwnd;
    std::uint32_t uId;
    RECT rect;
    std::uint32_t hinst;
    std::uint32_t lpszText;
    std::uint32_t lParam;
    std::uint32_t lpReserved;
};
static_assert(sizeof(ToolInfo32) == 48, "TTTOOLINFOW of a 32-bit program");

// A 32-bit program's handle (a tool's window, or its ID when that is a window) as this
// driver holds it: widened with its sign, as Windows widens handles.
HWND AsWindow(std::uint32_t window) {
    return reinterpret_cast<HWND>(static_cast<std::intptr_t>(static_cast<std::int32_t>(window)));
}
UINT_PTR AsId(std::uint32_t id) {
    return static_cast<UINT_PTR>(static_cast<std::intptr_t>(static_cast<std::int32_t>(id)));
}
#endif

template <typename Info>
Info Blank(char* text) {
    Info info{};
    info.cbSize = sizeof info;
    if constexpr (std::is_same_v<decltype(info.lpszText), std::uint32_t>)
        info.lpszText = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(text));
    else
        info.lpszText = reinterpret_cast<wchar_t*>(text);
    return info;
}

template <typename Info>
std::vector<RemoteTool> Read(HWND tooltip, HANDLE process) {
    std::vector<RemoteTool> tools;
    DWORD_PTR count = 0;
    if (!SendMessageTimeoutW(tooltip, TTM_GETTOOLCOUNT, 0, 0, SMTO_ABORTIFHUNG, 5000, &count))
        return tools;
    constexpr SIZE_T kTextOffset = 1024, kTextChars = 1024;
    RemoteBlock block(process, kTextOffset + kTextChars * sizeof(wchar_t));
    if (!block.get()) return tools;
    char* remoteText = block.get() + kTextOffset;
    for (DWORD_PTR i = 0; i < count; ++i) {
        Info info = Blank<Info>(remoteText);
        wchar_t empty = 0;
        SIZE_T done = 0;
        if (!WriteProcessMemory(process, block.get(), &info, sizeof info, &done) ||
            !WriteProcessMemory(process, remoteText, &empty, sizeof empty, &done))
            return tools;
        DWORD_PTR ok = 0;
        SendMessageTimeoutW(tooltip, TTM_ENUMTOOLSW, i, reinterpret_cast<LPARAM>(block.get()),
                            SMTO_ABORTIFHUNG, 5000, &ok);
        if (!ok || !ReadProcessMemory(process, block.get(), &info, sizeof info, &done)) continue;
        RemoteTool tool;
        tool.flags = info.uFlags;
        tool.window = AsWindow(info.hwnd);
        tool.id = AsId(info.uId);
        tool.rect = info.rect;
        wchar_t text[kTextChars] = {};
        if (Blank<Info>(remoteText).lpszText == info.lpszText &&
            ReadProcessMemory(process, remoteText, text, sizeof text - sizeof(wchar_t), &done))
            tool.text = Narrow(text);
        tools.push_back(tool);
    }
    return tools;
}

}  // namespace

std::vector<RemoteTool> RemoteTools(HWND tooltip, HANDLE process) {
    if (!IsOtherBitness(process)) return Read<TTTOOLINFOW>(tooltip, process);
#ifdef _WIN64
    return Read<ToolInfo32>(tooltip, process);
#else
    return {};   // a 64-bit program's layout is not read from a 32-bit driver
#endif
}

}  // namespace e2e
