/* release_check.exe: the small Windows-side helper of scripts/release --check. It runs
   under Wine next to the installed programs and looks at them the way Windows does:
   their windows (by class and title), the buttons of their dialogs and of the setup's
   pages, and the resources of an executable. It prints facts and clicks; the script
   decides what is right.

     release_check windows <class>                      one line per top-level window of
                                                        that class: "<visible 0|1> <title>"
     release_check gone <class> <title> <seconds>       waits until no such window exists
     release_check command <class> <id>                 posts menu command <id> to the window
                                                        of that class that has a menu bar
     release_check checked <class> <title> <button>     prints 1 if the check box is checked
     release_check click <class> <title> <button>       clicks the button (BM_CLICK)
     release_check find <class> <title> <button>        only waits for the button
                                                        (all three wait up to a minute for a
                                                        visible, enabled button of that
                                                        caption in a window of that title)
     release_check resources <exe> <ico>               prints the manifest size, the version
                                                        record and whether the first icon
                                                        group holds exactly the images of <ico>

   Exit status: 0 on success, 1 when a window or button is missing or still there,
   2 on bad arguments. */
#include <windows.h>

#include <stdio.h>
#include <stdlib.h>
#include <string.h>

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

/* Does the first icon group of the module hold exactly the images of the .ico file? */
static const char *compare_icon(HMODULE module, const char *ico_path) {
    LPCSTR group_name = NULL;
    EnumResourceNamesA(module, (LPCSTR)RT_GROUP_ICON, first_name, (LONG_PTR)&group_name);
    if (!group_name) return "none";
    DWORD group_size;
    const BYTE *group = resource(module, group_name, (LPCSTR)RT_GROUP_ICON, &group_size);
    DWORD ico_size;
    BYTE *ico = read_file(ico_path, &ico_size);
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
            DWORD image_size;
            const BYTE *image =
                resource(module, MAKEINTRESOURCEA(entries[j].id), (LPCSTR)RT_ICON, &image_size);
            matched = image && image_size == file->bytes &&
                      memcmp(image, ico + file->offset, image_size) == 0;
        }
        if (!matched) return "different";
    }
    free(ico);
    return "same";
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
    free(info);
    return 0;
}

int main(int argc, char **argv) {
    if (argc == 3 && strcmp(argv[1], "windows") == 0) return list_windows(argv[2]);
    if (argc == 5 && strcmp(argv[1], "gone") == 0) return wait_until_gone(argv[2], argv[3], atoi(argv[4]));
    if (argc == 4 && strcmp(argv[1], "command") == 0) return post_command(argv[2], atoi(argv[3]));
    if (argc == 5 && strcmp(argv[1], "checked") == 0) {
        HWND button = find_button(argv[2], argv[3], argv[4]);
        if (!button) return 1;
        printf("%d\n", SendMessageA(button, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0);
        return 0;
    }
    if (argc == 5 && strcmp(argv[1], "click") == 0) {
        HWND button = find_button(argv[2], argv[3], argv[4]);
        if (!button) return 1;
        DWORD_PTR ignored;
        SendMessageTimeoutA(button, BM_CLICK, 0, 0, SMTO_NORMAL, 30000, &ignored);
        return 0;
    }
    if (argc == 5 && strcmp(argv[1], "find") == 0)
        return find_button(argv[2], argv[3], argv[4]) ? 0 : 1;
    if (argc == 4 && strcmp(argv[1], "resources") == 0) return resources(argv[2], argv[3]);
    fprintf(stderr, "usage: see the comment at the top of release_check.c\n");
    return 2;
}
