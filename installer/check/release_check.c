/* release_check.exe: the small Windows-side helper of scripts/release --check. It runs
   under Wine next to the installed programs and looks at them the way Windows does:
   their windows (by class and title), the buttons of their dialogs and of the setup's
   pages, their processes, the registry, and the resources of an executable. It prints
   facts and clicks; the script decides what is right. It is built for 64-bit Windows and
   reads 32-bit programs, files and registry views as well.

     release_check windows <class>                      one line per top-level window of
                                                        that class: "<visible 0|1> <title>"
     release_check wait <class> <visible> <title> <s>   waits up to <s> seconds for a window
                                                        of that class whose visibility is
                                                        <visible> (0, 1 or *) and whose title
                                                        matches the pattern <title> (* and ?);
                                                        prints its line
     release_check gone <class> <title> <seconds>       waits until no such window exists
     release_check command <class> <id>                 posts menu command <id> to the window
                                                        of that class that has a menu bar
     release_check checked <class> <title> <button>     prints 1 if the check box is checked
     release_check click <class> <title> <button>       clicks the button (BM_CLICK)
     release_check find <class> <title> <button>        only waits for the button
                                                        (all three wait up to a minute for a
                                                        visible, enabled button of that
                                                        caption in a window of that title)
     release_check texts <class> <title>                one line per visible child window of
                                                        that window: "<class> <text>"
     release_check resources <exe> <ico>                prints the manifest size, its
                                                        execution level and DPI awareness,
                                                        the version record and whether the
                                                        first icon group holds exactly the
                                                        images of <ico>
     release_check processes <name>...                  one line per running process of one
                                                        of those file names (patterns)
     release_check waitexit <seconds> <name>...         waits until no such process runs
     release_check stop <seconds> <name>...             closes the Tarvesk windows of such
                                                        processes, waits up to <seconds>,
                                                        then ends what is left
     release_check regdump <view> <key>                 every value of the key, one
                                                        "name=data" line each (text as it is,
                                                        numbers as 0x...); exit 3 when the
                                                        key does not exist
     release_check regset <view> <key> <name> <text>    writes a text value, making the key
     release_check regdel <view> <key> [<name>]         deletes the value, or the key with
                                                        everything under it; absent is fine

   <view> is 64 or 32: the registry view a 64-bit or a 32-bit program sees. <key> starts
   with HKLM\ or HKCU\. Several commands run in one call when separated by a lone ";".

   Exit status: 0 on success, 1 when a window, button or process is missing or still
   there, 2 on bad arguments, 3 when a registry key is absent. */
#include <windows.h>

#include <tlhelp32.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

/* The main program's windows (main window, About, Configuration) all have this class. */
#define TARVESK_CLASS "TarveskForm"

/* Window titles compare without trailing blanks. */
static int same_title(HWND hwnd, const char *title) {
    char text[512];
    GetWindowTextA(hwnd, text, sizeof text);
    size_t length = strlen(text);
    while (length > 0 && text[length - 1] == ' ') text[--length] = '\0';
    return strcmp(text, title) == 0;
}

static int find_window_by_title(const char *cls, const char *title, HWND *out) {
    HWND hwnd = NULL;
    while ((hwnd = FindWindowExA(NULL, hwnd, cls, NULL)) != NULL) {
        if (same_title(hwnd, title)) {
            *out = hwnd;
            return 1;
        }
    }
    return 0;
}

static int list_windows(const char *cls) {
    HWND hwnd = NULL;
    while ((hwnd = FindWindowExA(NULL, hwnd, cls, NULL)) != NULL) {
        char text[512];
        GetWindowTextA(hwnd, text, sizeof text);
        printf("%d %s\n", IsWindowVisible(hwnd) ? 1 : 0, text);
    }
    return 0;
}

/* Does text match pattern, where * stands for any run of characters and ? for one? */
static int matches(const char *pattern, const char *text) {
    if (*pattern == '\0') return *text == '\0';
    if (*pattern == '*') return matches(pattern + 1, text) || (*text && matches(pattern, text + 1));
    if (*text == '\0') return 0;
    return (*pattern == '?' || *pattern == *text) && matches(pattern + 1, text + 1);
}

static int find_matching_window(const char *cls, const char *visible, const char *pattern) {
    HWND hwnd = NULL;
    while ((hwnd = FindWindowExA(NULL, hwnd, cls, NULL)) != NULL) {
        char text[512];
        GetWindowTextA(hwnd, text, sizeof text);
        int shown = IsWindowVisible(hwnd) ? 1 : 0;
        if ((strcmp(visible, "*") == 0 || atoi(visible) == shown) && matches(pattern, text)) {
            printf("%d %s\n", shown, text);
            return 1;
        }
    }
    return 0;
}

static int wait_for_window(const char *cls, const char *visible, const char *pattern, int seconds) {
    for (int i = 0; i <= seconds * 10; ++i) {
        if (find_matching_window(cls, visible, pattern)) return 0;
        Sleep(100);
    }
    fprintf(stderr, "release_check: no window of class %s, visible %s, titled \"%s\"; now:\n",
            cls, visible, pattern);
    HWND hwnd = NULL;
    while ((hwnd = FindWindowExA(NULL, hwnd, cls, NULL)) != NULL) {
        char text[512];
        GetWindowTextA(hwnd, text, sizeof text);
        fprintf(stderr, "  %d %s\n", IsWindowVisible(hwnd) ? 1 : 0, text);
    }
    return 1;
}

static int wait_until_gone(const char *cls, const char *title, int seconds) {
    for (int i = 0; i <= seconds * 10; ++i) {
        HWND hwnd;
        if (!find_window_by_title(cls, title, &hwnd)) return 0;
        Sleep(100);
    }
    fprintf(stderr, "release_check: window \"%s\" is still there\n", title);
    return 1;
}

static int post_command(const char *cls, int id) {
    HWND hwnd = NULL;
    while ((hwnd = FindWindowExA(NULL, hwnd, cls, NULL)) != NULL) {
        if (GetMenu(hwnd) != NULL) {
            PostMessageA(hwnd, WM_COMMAND, MAKEWPARAM(id, 0), 0);
            return 0;
        }
    }
    fprintf(stderr, "release_check: no window of class %s with a menu bar\n", cls);
    return 1;
}

typedef struct {
    const char *caption;
    HWND found;
} ButtonSearch;

static BOOL CALLBACK match_button(HWND hwnd, LPARAM param) {
    ButtonSearch *search = (ButtonSearch *)param;
    char cls[32], text[256];
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, text, sizeof text);
    if (_stricmp(cls, "Button") == 0 && strcmp(text, search->caption) == 0 &&
        IsWindowVisible(hwnd) && IsWindowEnabled(hwnd)) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

/* A visible, enabled button (or check box) with that caption anywhere inside a window of
   that class and title; waits up to a minute for it, as pages and dialogs come and go. */
static HWND find_button(const char *cls, const char *title, const char *caption) {
    for (int i = 0; i < 600; ++i) {
        HWND hwnd = NULL;
        while ((hwnd = FindWindowExA(NULL, hwnd, cls, NULL)) != NULL) {
            if (!same_title(hwnd, title)) continue;
            ButtonSearch search = {caption, NULL};
            EnumChildWindows(hwnd, match_button, (LPARAM)&search);
            if (search.found) return search.found;
        }
        Sleep(100);
    }
    fprintf(stderr, "release_check: no button \"%s\" in a window \"%s\"\n", caption, title);
    return NULL;
}

static BOOL CALLBACK print_child(HWND hwnd, LPARAM param) {
    (void)param;
    char cls[32], text[512];
    if (!IsWindowVisible(hwnd)) return TRUE;
    GetClassNameA(hwnd, cls, sizeof cls);
    GetWindowTextA(hwnd, text, sizeof text);
    /* One line each: line ends inside a text become blanks. */
    for (char *c = text; *c; ++c)
        if (*c == '\r' || *c == '\n') *c = ' ';
    printf("%s %s\n", cls, text);
    return TRUE;
}

/* The visible controls of a window (a setup page), with their texts. */
static int list_texts(const char *cls, const char *title) {
    HWND hwnd = NULL;
    if (!find_window_by_title(cls, title, &hwnd)) {
        fprintf(stderr, "release_check: no window \"%s\"\n", title);
        return 1;
    }
    EnumChildWindows(hwnd, print_child, 0);
    return 0;
}

/* ---- processes ---- */

/* Is the file name of exe one of the names (patterns, whatever the case)? */
static int is_named(const char *exe, char **names, int count) {
    const char *base = strrchr(exe, '\\');
    char name[MAX_PATH], pattern[MAX_PATH];
    lstrcpynA(name, base ? base + 1 : exe, sizeof name);
    CharLowerA(name);
    for (int i = 0; i < count; ++i) {
        lstrcpynA(pattern, names[i], sizeof pattern);
        CharLowerA(pattern);
        if (matches(pattern, name)) return 1;
    }
    return 0;
}

/* The ids of the running processes of those file names (at most `room`); the count. */
static int running(char **names, int count, DWORD *ids, int room) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 0;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    int found = 0;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (is_named(entry.szExeFile, names, count) && found < room) ids[found++] = entry.th32ProcessID;
    CloseHandle(snapshot);
    return found;
}

static int list_processes(char **names, int count) {
    HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (snapshot == INVALID_HANDLE_VALUE) return 1;
    PROCESSENTRY32 entry;
    entry.dwSize = sizeof entry;
    for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
        if (is_named(entry.szExeFile, names, count))
            printf("%lu %s\n", (unsigned long)entry.th32ProcessID, entry.szExeFile);
    CloseHandle(snapshot);
    return 0;
}

static int wait_for_exit(int seconds, char **names, int count) {
    DWORD ids[64];
    for (int i = 0; i <= seconds * 10; ++i) {
        if (running(names, count, ids, 64) == 0) return 0;
        Sleep(100);
    }
    fprintf(stderr, "release_check: still running after %d s:\n", seconds);
    list_processes(names, count);
    return 1;
}

static BOOL CALLBACK close_tarvesk_window(HWND hwnd, LPARAM param) {
    const DWORD *id = (const DWORD *)param;
    DWORD owner = 0;
    char cls[64];
    GetWindowThreadProcessId(hwnd, &owner);
    GetClassNameA(hwnd, cls, sizeof cls);
    if (owner == *id && strcmp(cls, TARVESK_CLASS) == 0) PostMessageA(hwnd, WM_CLOSE, 0, 0);
    return TRUE;
}

/* Closes the Tarvesk windows of those processes the way Windows does at the end of a
   session, so that they take their tray icons with them; ends what is still there after
   `seconds`. */
static int stop_processes(int seconds, char **names, int count) {
    DWORD ids[64];
    int found = running(names, count, ids, 64);
    for (int i = 0; i < found; ++i) EnumWindows(close_tarvesk_window, (LPARAM)&ids[i]);
    for (int i = 0; i <= seconds * 10 && found > 0; ++i) {
        Sleep(100);
        found = running(names, count, ids, 64);
    }
    for (int i = 0; i < found; ++i) {
        HANDLE process = OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, ids[i]);
        if (!process) continue;
        printf("ended %lu\n", (unsigned long)ids[i]);
        TerminateProcess(process, 1);
        WaitForSingleObject(process, 10000);
        CloseHandle(process);
    }
    return wait_for_exit(10, names, count);
}

/* ---- registry ---- */

/* Splits "HKLM\\a\\b" into its root and subkey; the view's flag for RegOpenKeyEx. */
static int parse_key(const char *view, const char *path, HKEY *root, const char **subkey,
                     REGSAM *flag) {
    if (strcmp(view, "64") == 0) *flag = KEY_WOW64_64KEY;
    else if (strcmp(view, "32") == 0) *flag = KEY_WOW64_32KEY;
    else return 0;
    if (_strnicmp(path, "HKLM\\", 5) == 0) *root = HKEY_LOCAL_MACHINE;
    else if (_strnicmp(path, "HKCU\\", 5) == 0) *root = HKEY_CURRENT_USER;
    else return 0;
    *subkey = path + 5;
    return **subkey != '\0';
}

static int reg_dump(const char *view, const char *path) {
    HKEY root, key;
    const char *subkey;
    REGSAM flag;
    if (!parse_key(view, path, &root, &subkey, &flag)) return 2;
    if (RegOpenKeyExA(root, subkey, 0, KEY_READ | flag, &key) != ERROR_SUCCESS) return 3;
    for (DWORD i = 0;; ++i) {
        char name[256];
        BYTE data[4096];
        DWORD name_length = sizeof name, size = sizeof data - 1, type;
        if (RegEnumValueA(key, i, name, &name_length, NULL, &type, data, &size) != ERROR_SUCCESS)
            break;
        data[size] = '\0';
        const char *shown = name[0] ? name : "(default)";
        if (type == REG_DWORD && size == 4)
            printf("%s=0x%lx\n", shown, (unsigned long)*(DWORD *)data);
        else if (type == REG_SZ || type == REG_EXPAND_SZ)
            printf("%s=%s\n", shown, (const char *)data);
        else
            printf("%s=(type %lu, %lu bytes)\n", shown, (unsigned long)type, (unsigned long)size);
    }
    RegCloseKey(key);
    return 0;
}

static int reg_set(const char *view, const char *path, const char *name, const char *text) {
    HKEY root, key;
    const char *subkey;
    REGSAM flag;
    if (!parse_key(view, path, &root, &subkey, &flag)) return 2;
    if (RegCreateKeyExA(root, subkey, 0, NULL, 0, KEY_SET_VALUE | flag, NULL, &key, NULL) !=
        ERROR_SUCCESS) {
        fprintf(stderr, "release_check: cannot write %s\n", path);
        return 1;
    }
    LONG rc = RegSetValueExA(key, name, 0, REG_SZ, (const BYTE *)text, (DWORD)strlen(text) + 1);
    RegCloseKey(key);
    return rc == ERROR_SUCCESS ? 0 : 1;
}

static int reg_delete(const char *view, const char *path, const char *name) {
    HKEY root, key;
    const char *subkey;
    REGSAM flag;
    if (!parse_key(view, path, &root, &subkey, &flag)) return 2;
    if (name) {
        if (RegOpenKeyExA(root, subkey, 0, KEY_SET_VALUE | flag, &key) != ERROR_SUCCESS) return 0;
        RegDeleteValueA(key, name);
        RegCloseKey(key);
        return 0;
    }
    /* The whole key: its parent opened in the view, then the tree under it. */
    char parent[512];
    const char *leaf = strrchr(subkey, '\\');
    if (!leaf || (size_t)(leaf - subkey) >= sizeof parent) return 2;
    memcpy(parent, subkey, (size_t)(leaf - subkey));
    parent[leaf - subkey] = '\0';
    if (RegOpenKeyExA(root, parent, 0, KEY_ALL_ACCESS | flag, &key) != ERROR_SUCCESS) return 0;
    RegDeleteTreeA(key, leaf + 1);
    RegCloseKey(key);
    return 0;
}

/* ---- resources ---- */

#pragma pack(push, 2)
typedef struct {
    BYTE width, height, colours, reserved;
    WORD planes, bit_count;
    DWORD bytes;
    WORD id;
} GroupEntry; /* RT_GROUP_ICON entry */
typedef struct {
    BYTE width, height, colours, reserved;
    WORD planes, bit_count;
    DWORD bytes;
    DWORD offset;
} FileEntry; /* .ico file entry */
#pragma pack(pop)

static BOOL CALLBACK first_name(HMODULE module, LPCSTR type, LPSTR name, LONG_PTR out) {
    (void)module;
    (void)type;
    *(LPCSTR *)out = IS_INTRESOURCE(name) ? name : _strdup(name);
    return FALSE;
}

static const BYTE *resource(HMODULE module, LPCSTR name, LPCSTR type, DWORD *size) {
    HRSRC found = FindResourceA(module, name, type);
    if (!found) return NULL;
    *size = SizeofResource(module, found);
    return (const BYTE *)LockResource(LoadResource(module, found));
}

static BYTE *read_file(const char *path, DWORD *size) {
    FILE *f = fopen(path, "rb");
    if (!f) return NULL;
    fseek(f, 0, SEEK_END);
    long length = ftell(f);
    fseek(f, 0, SEEK_SET);
    BYTE *data = malloc(length > 0 ? (size_t)length : 1);
    if (data && fread(data, 1, (size_t)length, f) != (size_t)length) {
        free(data);
        data = NULL;
    }
    fclose(f);
    *size = (DWORD)length;
    return data;
}

/* Do the group's entries name exactly the images of the .ico file? */
static const char *compare_images(HMODULE module, const BYTE *group, DWORD group_size,
                                  const BYTE *ico, DWORD ico_size) {
    if (!group || group_size < 6 || !ico || ico_size < 6) return "unreadable";
    WORD group_count = *(const WORD *)(group + 4);
    WORD ico_count = *(const WORD *)(ico + 4);
    if (group_count != ico_count || group_size < 6 + group_count * sizeof(GroupEntry) ||
        ico_size < 6 + ico_count * sizeof(FileEntry))
        return "different";
    const GroupEntry *entries = (const GroupEntry *)(group + 6);
    const FileEntry *files = (const FileEntry *)(ico + 6);
    for (WORD i = 0; i < ico_count; ++i) {
        const FileEntry *file = &files[i];
        if (file->offset > ico_size || file->bytes > ico_size - file->offset) return "unreadable";
        int matched = 0;
        for (WORD j = 0; j < group_count && !matched; ++j) {
            DWORD image_size = 0;
            const BYTE *image =
                resource(module, MAKEINTRESOURCEA(entries[j].id), (LPCSTR)RT_ICON, &image_size);
            matched = image && image_size == file->bytes &&
                      memcmp(image, ico + file->offset, image_size) == 0;
        }
        if (!matched) return "different";
    }
    return "same";
}

/* Does the first icon group of the module hold exactly the images of the .ico file? */
static const char *compare_icon(HMODULE module, const char *ico_path) {
    LPCSTR group_name = NULL;
    EnumResourceNamesA(module, (LPCSTR)RT_GROUP_ICON, first_name, (LONG_PTR)&group_name);
    if (!group_name) return "none";
    DWORD group_size = 0;
    const BYTE *group = resource(module, group_name, (LPCSTR)RT_GROUP_ICON, &group_size);
    DWORD ico_size = 0;
    BYTE *ico = read_file(ico_path, &ico_size);
    const char *verdict = compare_images(module, group, group_size, ico, ico_size);
    free(ico);
    return verdict;
}

static void print_version_string(const BYTE *info, const char *block, const char *key) {
    char query[128];
    char *value;
    UINT length;
    snprintf(query, sizeof query, "\\StringFileInfo\\%s\\%s", block, key);
    if (VerQueryValueA(info, query, (void **)&value, &length) && length > 0)
        printf("%s %s\n", key, value);
    else
        printf("%s (none)\n", key);
}

static int resources(const char *exe, const char *ico) {
    HMODULE module = LoadLibraryExA(exe, NULL, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        fprintf(stderr, "release_check: cannot open %s\n", exe);
        return 1;
    }
    DWORD manifest_size = 0;
    const BYTE *manifest =
        resource(module, MAKEINTRESOURCEA(1), (LPCSTR)RT_MANIFEST, &manifest_size);
    printf("manifest %lu\n", manifest ? (unsigned long)manifest_size : 0UL);
    if (manifest) {
        /* The execution level asked for, as Windows reads it. */
        const char *level = NULL;
        char *text = malloc(manifest_size + 1);
        memcpy(text, manifest, manifest_size);
        text[manifest_size] = '\0';
        level = strstr(text, "requestedExecutionLevel level=\"");
        if (level) {
            level += strlen("requestedExecutionLevel level=\"");
            printf("level %.*s\n", (int)strcspn(level, "\""), level);
        }
        /* The DPI awareness declared, "true" or "true/pm", and the newer form beside it. */
        const char *aware = text;
        while ((aware = strstr(aware, "<dpiAware")) != NULL && aware[9] != ' ' && aware[9] != '>')
            aware += 9;   /* <dpiAwareness> */
        if (aware && (aware = strchr(aware, '>')) != NULL) {
            aware += 1;
            printf("dpiAware %.*s\n", (int)strcspn(aware, "<"), aware);
        } else {
            printf("dpiAware (none)\n");
        }
        free(text);
    }
    printf("icon %s\n", compare_icon(module, ico));
    FreeLibrary(module);

    DWORD ignored;
    DWORD size = GetFileVersionInfoSizeA(exe, &ignored);
    BYTE *info = size ? malloc(size) : NULL;
    if (!info || !GetFileVersionInfoA(exe, 0, size, info)) {
        printf("version (none)\n");
        return 0;
    }
    VS_FIXEDFILEINFO *fixed;
    UINT length;
    if (VerQueryValueA(info, "\\", (void **)&fixed, &length) && length >= sizeof *fixed)
        printf("version %lu.%lu.%lu.%lu\n", (unsigned long)HIWORD(fixed->dwFileVersionMS),
               (unsigned long)LOWORD(fixed->dwFileVersionMS),
               (unsigned long)HIWORD(fixed->dwFileVersionLS),
               (unsigned long)LOWORD(fixed->dwFileVersionLS));
    WORD *translation;
    char block[16] = "040904B0";
    if (VerQueryValueA(info, "\\VarFileInfo\\Translation", (void **)&translation, &length) &&
        length >= 4)
        snprintf(block, sizeof block, "%04X%04X", translation[0], translation[1]);
    print_version_string(info, block, "ProductName");
    print_version_string(info, block, "ProductVersion");
    print_version_string(info, block, "FileVersion");
    print_version_string(info, block, "CompanyName");
    print_version_string(info, block, "FileDescription");
    print_version_string(info, block, "InternalName");
    print_version_string(info, block, "OriginalFilename");
    print_version_string(info, block, "LegalCopyright");
    free(info);
    return 0;
}

/* One command: its words are argv[0..argc-1]. */
static int run(int argc, char **argv) {
    if (argc == 2 && strcmp(argv[0], "windows") == 0) return list_windows(argv[1]);
    if (argc == 5 && strcmp(argv[0], "wait") == 0)
        return wait_for_window(argv[1], argv[2], argv[3], atoi(argv[4]));
    if (argc == 4 && strcmp(argv[0], "gone") == 0) return wait_until_gone(argv[1], argv[2], atoi(argv[3]));
    if (argc == 3 && strcmp(argv[0], "command") == 0) return post_command(argv[1], atoi(argv[2]));
    if (argc == 4 && strcmp(argv[0], "checked") == 0) {
        HWND button = find_button(argv[1], argv[2], argv[3]);
        if (!button) return 1;
        printf("%d\n", SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if (argc == 4 && strcmp(argv[0], "click") == 0) {
        HWND button = find_button(argv[1], argv[2], argv[3]);
        if (!button) return 1;
        DWORD_PTR ignored;
        SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &ignored);
        return 0;
    }
    if (argc == 4 && strcmp(argv[0], "find") == 0)
        return find_button(argv[1], argv[2], argv[3]) ? 0 : 1;
    if (argc == 3 && strcmp(argv[0], "texts") == 0) return list_texts(argv[1], argv[2]);
    if (argc == 3 && strcmp(argv[0], "resources") == 0) return resources(argv[1], argv[2]);
    if (argc >= 2 && strcmp(argv[0], "processes") == 0) return list_processes(argv + 1, argc - 1);
    if (argc >= 3 && strcmp(argv[0], "waitexit") == 0)
        return wait_for_exit(atoi(argv[1]), argv + 2, argc - 2);
    if (argc >= 3 && strcmp(argv[0], "stop") == 0)
        return stop_processes(atoi(argv[1]), argv + 2, argc - 2);
    if (argc == 3 && strcmp(argv[0], "regdump") == 0) return reg_dump(argv[1], argv[2]);
    if (argc == 5 && strcmp(argv[0], "regset") == 0) return reg_set(argv[1], argv[2], argv[3], argv[4]);
    if ((argc == 3 || argc == 4) && strcmp(argv[0], "regdel") == 0)
        return reg_delete(argv[1], argv[2], argc == 4 ? argv[3] : NULL);
    fprintf(stderr, "usage: see the comment at the top of release_check.c\n");
    return 2;
}

/* Runs the commands separated by ";" in order; the status is the first that failed. */
int main(int argc, char **argv) {
    int status = 0;
    int first = 1;
    for (int i = 1; i <= argc; ++i) {
        if (i < argc && strcmp(argv[i], ";") != 0) continue;
        int rc = run(i - first, argv + first);
        fflush(stdout);
        if (status == 0) status = rc;
        first = i + 1;
    }
    return status;
}
