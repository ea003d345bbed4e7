#include "Driver.h"

namespace e2e {

namespace {

std::vector<MenuItem> Parse(const std::string& text) {
    std::vector<MenuItem> root;
    // The list that receives items of each depth.
    std::vector<std::vector<MenuItem>*> levels{&root};
    std::size_t pos = text.find('\n');   // skip the "menu" line
    while (pos != std::string::npos && pos + 1 < text.size()) {
        std::size_t end = text.find('\n', pos + 1);
        std::string line = text.substr(pos + 1, end == std::string::npos ? end : end - pos - 1);
        pos = end;
        std::size_t t1 = line.find('\t'), t2 = line.find('\t', t1 + 1), t3 = line.find('\t', t2 + 1);
        if (t3 == std::string::npos) continue;
        std::size_t depth = std::stoul(line.substr(0, t1));
        std::string flags = line.substr(t1 + 1, t2 - t1 - 1);
        MenuItem item;
        item.id = static_cast<UINT>(std::stoul(line.substr(t2 + 1, t3 - t2 - 1)));
        item.caption = line.substr(t3 + 1);
        item.separator = flags.find('S') != std::string::npos;
        item.checked = flags.find('C') != std::string::npos;
        item.grayed = flags.find('G') != std::string::npos;
        item.isDefault = flags.find('D') != std::string::npos;
        item.highlighted = flags.find('H') != std::string::npos;
        if (depth >= levels.size()) continue;
        levels.resize(depth + 1);
        levels[depth]->push_back(item);
        levels.push_back(&levels[depth]->back().items);
    }
    return root;
}

}  // namespace

std::optional<std::vector<MenuItem>> ReadMenu(HWND window, HMENU menu) {
    auto text = AskProgram(window, "TarveskE2E.DescribeMenu", reinterpret_cast<WPARAM>(menu));
    if (!text || text->rfind("menu\n", 0) != 0) return std::nullopt;
    return Parse(*text);
}

const MenuItem* FindMenuItem(const std::vector<MenuItem>& menu,
                             const std::vector<std::string>& path) {
    const std::vector<MenuItem>* level = &menu;
    const MenuItem* found = nullptr;
    for (const std::string& caption : path) {
        found = nullptr;
        for (const MenuItem& item : *level)
            if (!item.separator && item.caption == caption) {
                found = &item;
                break;
            }
        if (!found) return nullptr;
        level = &found->items;
    }
    return found;
}

std::vector<std::string> Captions(const std::vector<MenuItem>& items) {
    std::vector<std::string> captions;
    for (const MenuItem& item : items) captions.push_back(item.separator ? "-" : item.caption);
    return captions;
}

bool ChooseMenuItem(HWND window, const std::vector<std::string>& path) {
    auto menu = ReadMenu(window);
    if (!menu) return false;
    const MenuItem* item = FindMenuItem(*menu, path);
    if (!item || item->separator || !item->items.empty()) return false;
    return PostMessageA(window, WM_COMMAND, MAKEWPARAM(item->id, 0), 0) != FALSE;
}

HWND WaitForPopupMenu(DWORD processId, DWORD timeoutMs) {
    HWND found = nullptr;
    WaitUntil(
        [&] {
            for (HWND window : TopLevelWindows(processId, "#32768"))
                if (IsWindowVisible(window)) {
                    found = window;
                    return true;
                }
            return false;
        },
        timeoutMs);
    return found;
}

HMENU PopupMenuHandle(HWND popup) {
    DWORD_PTR result = 0;
    SendMessageTimeoutA(popup, MN_GETHMENU, 0, 0, SMTO_ABORTIFHUNG, 5000, &result);
    return reinterpret_cast<HMENU>(result);
}

bool ChoosePopupItem(HWND popup, const std::string& caption) {
    HMENU menu = PopupMenuHandle(popup);
    auto items = ReadMenu(popup, menu);
    if (!items) return false;
    const int count = static_cast<int>(items->size());
    int target = -1;
    for (int i = 0; i < count; ++i)
        if (!(*items)[i].separator && (*items)[i].caption == caption) target = i;
    if (target < 0) return false;
    // The highlighted item's index; -1 for none, -2 when the menu could not be read.
    auto highlighted = [&] {
        auto now = ReadMenu(popup, menu);
        if (!now) return -2;
        for (int i = 0; i < static_cast<int>(now->size()); ++i)
            if ((*now)[i].highlighted) return i;
        return -1;
    };
    // Down, a step at a time, until the item is the highlighted one: the highlight may be
    // anywhere already, where the pointer lay as the menu opened under it. Then Enter.
    int at = highlighted();
    for (int step = 0; at != target; ++step) {
        if (at == -2 || step > 2 * count) return false;
        const int before = at;
        PressKey(popup, VK_DOWN);
        WaitUntil([&] { return (at = highlighted()) != before; });
    }
    PressKey(popup, VK_RETURN);
    return true;
}

}  // namespace e2e
