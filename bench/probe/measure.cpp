// tarvesk_probe.exe: starts a Windows program and measures it from the outside, the way
// Task Manager would: the time from process start to its first window, its private bytes
// and working set, its handle count, its GDI and USER object counts, and its windows.
//
//   tarvesk_probe footprint <program.exe> [options]
//       Starts the program, waits for its first visible top-level window (the start time),
//       samples it once when --settle-ms have passed since the start, ends it, and prints
//       one "name value" line per figure.
//   tarvesk_probe soak <program.exe> [options]
//       Starts the program, waits for its window (shown or hidden), samples it every
//       --interval-ms for --seconds, prints one line per sample and a summary with the
//       growth between the first and the last part of the run, then ends it. With --hook
//       it counts the window's timer ticks and the program's optimizations from inside the
//       program (tarvesk_tickhook.dll).
//
// Options:
//   --settle-ms N        footprint: sample N ms after the start (default 10000)
//   --seconds N          soak: length of the run (default 600)
//   --interval-ms N      soak: time between samples (default 5000)
//   --class NAME         wait for a top-level window of this class
//   --title-suffix TEXT  ... whose title ends with TEXT
//   --hook DLL           soak: install the tick hook from this library
//   --bar-id N           soak: control ID of the progress bar each optimization runs (107)
//   --clear-settings     delete HKCU\Software\Tarvesk before the start
//   --setting NAME=TEXT  store TEXT (REG_SZ) under HKCU\Software\Tarvesk\Settings first
//
// Exit codes: 0 fine, 1 usage or start failure, 2 the program ended by itself (a crash),
// 3 clear growth (soak), 4 the ticks stopped (soak, with --hook), 5 no window came.
#include <windows.h>
#include <psapi.h>
#include <winternl.h>

#include <fcntl.h>
#include <io.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "counters.h"

namespace {

// ---- Options -----------------------------------------------------------------------------

struct Options {
    std::string mode;
    std::string program;
    DWORD settleMs = 10000;
    DWORD seconds = 600;
    DWORD intervalMs = 5000;
    std::string windowClass;
    std::string titleSuffix;
    std::string hookLibrary;
    int barId = 107;
    bool clearSettings = false;
    std::vector<std::pair<std::string, std::string>> settings;
};

bool ParseNumber(const char* text, DWORD& out) {
    char* end = nullptr;
    unsigned long value = std::strtoul(text, &end, 10);
    if (!text[0] || *end) return false;
    out = static_cast<DWORD>(value);
    return true;
}

bool ParseOptions(int argc, char** argv, Options& options) {
    if (argc < 3) return false;
    options.mode = argv[1];
    options.program = argv[2];
    if (options.mode != "footprint" && options.mode != "soak") return false;
    for (int i = 3; i < argc; ++i) {
        std::string name = argv[i];
        if (name == "--clear-settings") {
            options.clearSettings = true;
            continue;
        }
        if (i + 1 >= argc) return false;
        const char* value = argv[++i];
        DWORD number = 0;
        if (name == "--settle-ms" && ParseNumber(value, number)) options.settleMs = number;
        else if (name == "--seconds" && ParseNumber(value, number)) options.seconds = number;
        else if (name == "--interval-ms" && ParseNumber(value, number) && number > 0) options.intervalMs = number;
        else if (name == "--bar-id" && ParseNumber(value, number)) options.barId = static_cast<int>(number);
        else if (name == "--class") options.windowClass = value;
        else if (name == "--title-suffix") options.titleSuffix = value;
        else if (name == "--hook") options.hookLibrary = value;
        else if (name == "--setting") {
            std::string pair = value;
            auto equals = pair.find('=');
            if (equals == std::string::npos || equals == 0) return false;
            options.settings.emplace_back(pair.substr(0, equals), pair.substr(equals + 1));
        } else {
            return false;
        }
    }
    return true;
}

// ---- Settings ----------------------------------------------------------------------------

void PrepareSettings(const Options& options) {
    if (options.clearSettings) RegDeleteTreeA(HKEY_CURRENT_USER, "Software\\Tarvesk");
    if (options.settings.empty()) return;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Tarvesk\\Settings", 0, nullptr, 0,
                        KEY_SET_VALUE, nullptr, &key, nullptr) != ERROR_SUCCESS) {
        std::fprintf(stderr, "probe: cannot create the settings key\n");
        return;
    }
    for (const auto& [name, text] : options.settings) {
        RegSetValueExA(key, name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(text.c_str()),
                       static_cast<DWORD>(text.size() + 1));
    }
    RegCloseKey(key);
}

// ---- The program -------------------------------------------------------------------------

double MillisecondsSince(const LARGE_INTEGER& start) {
    LARGE_INTEGER now, frequency;
    QueryPerformanceCounter(&now);
    QueryPerformanceFrequency(&frequency);
    return 1000.0 * static_cast<double>(now.QuadPart - start.QuadPart) /
           static_cast<double>(frequency.QuadPart);
}

class Program {
public:
    ~Program() {
        if (process_) CloseHandle(process_);
    }
    bool start(const std::string& path) {
        std::string folder = path.substr(0, path.find_last_of("\\/") == std::string::npos
                                                ? 0
                                                : path.find_last_of("\\/"));
        std::string commandLine = "\"" + path + "\"";
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        PROCESS_INFORMATION info{};
        QueryPerformanceCounter(&started_);
        if (!CreateProcessA(path.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                            folder.empty() ? nullptr : folder.c_str(), &startup, &info)) {
            std::fprintf(stderr, "probe: cannot start %s (error %lu)\n", path.c_str(), GetLastError());
            return false;
        }
        CloseHandle(info.hThread);
        process_ = info.hProcess;
        id_ = info.dwProcessId;
        return true;
    }
    HANDLE handle() const { return process_; }
    DWORD id() const { return id_; }
    const LARGE_INTEGER& started() const { return started_; }
    bool running() const { return WaitForSingleObject(process_, 0) == WAIT_TIMEOUT; }
    DWORD exitCode() const {
        DWORD code = 0;
        GetExitCodeProcess(process_, &code);
        return code;
    }
    // Asks every top-level window to close, then ends the process if it is still there.
    void end() const {
        if (!running()) return;
        for (HWND window : topLevelWindows()) PostMessageA(window, WM_CLOSE, 0, 0);
        if (WaitForSingleObject(process_, 5000) != WAIT_OBJECT_0) {
            TerminateProcess(process_, 0);
            WaitForSingleObject(process_, 5000);
        }
    }
    std::vector<HWND> topLevelWindows() const {
        struct Search {
            DWORD id;
            std::vector<HWND> found;
        } search{id_, {}};
        EnumWindows(
            [](HWND window, LPARAM context) -> BOOL {
                auto& s = *reinterpret_cast<Search*>(context);
                DWORD owner = 0;
                GetWindowThreadProcessId(window, &owner);
                if (owner == s.id) s.found.push_back(window);
                return TRUE;
            },
            reinterpret_cast<LPARAM>(&search));
        return search.found;
    }
    // Every window of the process: top-level windows and all their children.
    DWORD windowCount() const {
        DWORD count = 0;
        for (HWND window : topLevelWindows()) {
            ++count;
            EnumChildWindows(
                window,
                [](HWND, LPARAM context) -> BOOL {
                    ++*reinterpret_cast<DWORD*>(context);
                    return TRUE;
                },
                reinterpret_cast<LPARAM>(&count));
        }
        return count;
    }

private:
    HANDLE process_ = nullptr;
    DWORD id_ = 0;
    LARGE_INTEGER started_{};
};

std::string ClassOf(HWND window) {
    char name[256] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TitleOf(HWND window) {
    char title[512] = {};
    GetWindowTextA(window, title, sizeof title);
    return title;
}

bool EndsWith(const std::string& text, const std::string& suffix) {
    return text.size() >= suffix.size() && text.compare(text.size() - suffix.size(), suffix.size(), suffix) == 0;
}

// Polls every millisecond for a top-level window of the program that fits the options.
HWND WaitForWindow(const Program& program, const Options& options, bool visible, DWORD timeoutMs) {
    DWORD begin = GetTickCount();
    while (GetTickCount() - begin < timeoutMs) {
        for (HWND window : program.topLevelWindows()) {
            if (visible && !IsWindowVisible(window)) continue;
            if (!options.windowClass.empty() && ClassOf(window) != options.windowClass) continue;
            if (!options.titleSuffix.empty() && !EndsWith(TitleOf(window), options.titleSuffix)) continue;
            return window;
        }
        if (!program.running()) return nullptr;
        Sleep(1);
    }
    return nullptr;
}

// ---- Figures -----------------------------------------------------------------------------

struct Sample {
    double seconds = 0;
    double privateBytes = 0;
    double workingSet = 0;
    double pagefileUsage = 0;
    double handles = -1;   // -1: the system did not tell
    double gdiObjects = -1;
    double userObjects = -1;
    double windows = 0;
    const char* privateSource = "PrivateUsage";
    const char* handlesSource = "GetProcessHandleCount";
};

// The process's handles counted in the system's handle list, for systems whose
// GetProcessHandleCount answers 0 (Wine does); -1 when the list cannot be had.
double HandlesInSystemList(DWORD processId) {
    struct Entry {
        ULONG ownerPid;
        BYTE objectType;
        BYTE flags;
        USHORT value;
        PVOID object;
        ULONG access;
    };
    struct List {
        ULONG count;
        Entry entries[1];
    };
    constexpr auto kSystemHandleInformation = static_cast<SYSTEM_INFORMATION_CLASS>(16);
    constexpr NTSTATUS kLengthMismatch = static_cast<NTSTATUS>(0xC0000004L);
    std::vector<unsigned char> buffer(1 << 16);
    for (int attempt = 0; attempt < 8; ++attempt) {
        ULONG needed = 0;
        NTSTATUS status = NtQuerySystemInformation(kSystemHandleInformation, buffer.data(),
                                                   static_cast<ULONG>(buffer.size()), &needed);
        if (status == kLengthMismatch) {
            buffer.resize(std::max<size_t>(buffer.size() * 2, needed + 4096));
            continue;
        }
        if (status < 0) return -1;
        const auto* list = reinterpret_cast<const List*>(buffer.data());
        const size_t room = (buffer.size() - offsetof(List, entries)) / sizeof(Entry);
        double count = 0;
        for (size_t i = 0; i < list->count && i < room; ++i)
            if (list->entries[i].ownerPid == processId) ++count;
        return count;
    }
    return -1;
}

// GetGuiResources, or -1 when the system does not implement it (it then answers 0 and
// sets ERROR_CALL_NOT_IMPLEMENTED; a real process always has some objects).
double GuiResources(HANDLE process, DWORD kind) {
    SetLastError(ERROR_SUCCESS);
    DWORD count = GetGuiResources(process, kind);
    if (count == 0 && GetLastError() == ERROR_CALL_NOT_IMPLEMENTED) return -1;
    return count;
}

Sample Measure(const Program& program) {
    Sample sample;
    sample.seconds = MillisecondsSince(program.started()) / 1000.0;
    PROCESS_MEMORY_COUNTERS_EX memory{};
    memory.cb = sizeof memory;
    if (GetProcessMemoryInfo(program.handle(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&memory),
                             sizeof memory)) {
        // Windows reports the commit charge twice; Wine fills only PagefileUsage (with the
        // process's resident and swapped-out anonymous memory).
        sample.privateBytes = static_cast<double>(memory.PrivateUsage ? memory.PrivateUsage : memory.PagefileUsage);
        if (!memory.PrivateUsage) sample.privateSource = "PagefileUsage (PrivateUsage is 0)";
        sample.workingSet = static_cast<double>(memory.WorkingSetSize);
        sample.pagefileUsage = static_cast<double>(memory.PagefileUsage);
    }
    DWORD handles = 0;
    if (GetProcessHandleCount(program.handle(), &handles) && handles > 0) sample.handles = handles;
    else sample.handles = HandlesInSystemList(program.id()),
         sample.handlesSource = "system handle list (GetProcessHandleCount gives 0)";
    sample.gdiObjects = GuiResources(program.handle(), GR_GDIOBJECTS);
    sample.userObjects = GuiResources(program.handle(), GR_USEROBJECTS);
    sample.windows = program.windowCount();
    return sample;
}

void PrintCount(const char* name, double value) {
    if (value < 0) std::printf("%-20s n/a\n", name);
    else std::printf("%-20s %.0f\n", name, value);
}

// ---- footprint ---------------------------------------------------------------------------

int Footprint(const Options& options) {
    PrepareSettings(options);
    Program program;
    if (!program.start(options.program)) return 1;
    HWND window = WaitForWindow(program, options, true, 60000);
    double startMs = MillisecondsSince(program.started());
    if (!window) {
        std::fprintf(stderr, "probe: no window came (%s)\n", program.running() ? "still running" : "ended");
        program.end();
        return program.running() ? 5 : 2;
    }
    while (MillisecondsSince(program.started()) < options.settleMs && program.running()) Sleep(50);
    if (!program.running()) {
        std::fprintf(stderr, "probe: the program ended by itself, exit code %lu\n", program.exitCode());
        return 2;
    }
    Sample sample = Measure(program);
    std::printf("%-20s %s\n", "window_class", ClassOf(window).c_str());
    std::printf("%-20s %s\n", "window_title", TitleOf(window).c_str());
    std::printf("%-20s %.1f\n", "start_to_window_ms", startMs);
    std::printf("%-20s %.1f\n", "sampled_at_s", sample.seconds);
    std::printf("%-20s %.0f\n", "private_bytes", sample.privateBytes);
    std::printf("%-20s %.0f\n", "working_set", sample.workingSet);
    std::printf("%-20s %s\n", "private_source", sample.privateSource);
    PrintCount("handles", sample.handles);
    std::printf("%-20s %s\n", "handles_source", sample.handlesSource);
    PrintCount("gdi_objects", sample.gdiObjects);
    PrintCount("user_objects", sample.userObjects);
    PrintCount("windows", sample.windows);
    program.end();
    return 0;
}

// ---- soak --------------------------------------------------------------------------------

// Installs the tick hook on the window's thread and keeps the shared counters.
class TickCounter {
public:
    ~TickCounter() {
        for (HHOOK hook : hooks_) UnhookWindowsHookEx(hook);
        if (counters_) UnmapViewOfFile(counters_);
        if (mapping_) CloseHandle(mapping_);
        if (library_) FreeLibrary(library_);
    }
    bool install(const std::string& libraryPath, HWND window, int barId) {
        mapping_ = CreateFileMappingA(INVALID_HANDLE_VALUE, nullptr, PAGE_READWRITE, 0,
                                      sizeof(probe::Counters), probe::kCountersName);
        if (!mapping_) return false;
        counters_ = static_cast<probe::Counters*>(
            MapViewOfFile(mapping_, FILE_MAP_WRITE, 0, 0, sizeof(probe::Counters)));
        if (!counters_) return false;
        ZeroMemory(counters_, sizeof(probe::Counters));
        counters_->mainWindow = window;
        counters_->barId = barId;
        library_ = LoadLibraryA(libraryPath.c_str());
        if (!library_) return false;
        DWORD thread = GetWindowThreadProcessId(window, nullptr);
        for (auto [kind, name] : {std::pair{WH_GETMESSAGE, "TickGetMessageHook"},
                                  std::pair{WH_CALLWNDPROC, "TickCallWndHook"}}) {
            auto proc = reinterpret_cast<HOOKPROC>(reinterpret_cast<void*>(GetProcAddress(library_, name)));
            HHOOK hook = proc ? SetWindowsHookExA(kind, proc, library_, thread) : nullptr;
            if (!hook) return false;
            hooks_.push_back(hook);
        }
        // A message makes the program load the library at once.
        PostMessageA(window, WM_NULL, 0, 0);
        SendMessageTimeoutA(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, nullptr);
        return true;
    }
    const probe::Counters* counters() const { return counters_; }

private:
    HANDLE mapping_ = nullptr;
    probe::Counters* counters_ = nullptr;
    HMODULE library_ = nullptr;
    std::vector<HHOOK> hooks_;
};

struct Trend {
    double first = 0, last = 0, slopePerMinute = 0;
    bool known = false;
};

// Means over the first and the last `span` seconds of the samples, and the least-squares
// slope over all of them.
Trend TrendOf(const std::vector<Sample>& samples, double Sample::*field, double span) {
    Trend trend;
    if (samples.size() < 2 || samples.front().*field < 0) return trend;
    const double begin = samples.front().seconds;
    const double end = samples.back().seconds;
    double firstSum = 0, lastSum = 0;
    int firstCount = 0, lastCount = 0;
    double sx = 0, sy = 0, sxx = 0, sxy = 0;
    for (const Sample& s : samples) {
        double y = s.*field;
        if (s.seconds <= begin + span) firstSum += y, ++firstCount;
        if (s.seconds >= end - span) lastSum += y, ++lastCount;
        sx += s.seconds, sy += y, sxx += s.seconds * s.seconds, sxy += s.seconds * y;
    }
    const double n = static_cast<double>(samples.size());
    const double denominator = n * sxx - sx * sx;
    trend.first = firstSum / firstCount;
    trend.last = lastSum / lastCount;
    trend.slopePerMinute = denominator > 0 ? 60.0 * (n * sxy - sx * sy) / denominator : 0;
    trend.known = true;
    return trend;
}

int Soak(const Options& options) {
    PrepareSettings(options);
    Program program;
    if (!program.start(options.program)) return 1;
    HWND window = WaitForWindow(program, options, false, 60000);
    if (!window) {
        std::fprintf(stderr, "probe: no window came (%s)\n", program.running() ? "still running" : "ended");
        program.end();
        return program.running() ? 5 : 2;
    }
    TickCounter ticks;
    bool counting = false;
    if (!options.hookLibrary.empty()) {
        counting = ticks.install(options.hookLibrary, window, options.barId);
        if (!counting) std::fprintf(stderr, "probe: the tick hook could not be installed (error %lu)\n", GetLastError());
    }
    const double countingFrom = MillisecondsSince(program.started()) / 1000.0;
    std::printf("program %s, window \"%s\" (%s, %s), sampling every %lu ms for %lu s\n",
                options.program.c_str(), TitleOf(window).c_str(), ClassOf(window).c_str(),
                IsWindowVisible(window) ? "shown" : "hidden", options.intervalMs, options.seconds);
    std::printf("%8s %12s %12s %8s %6s %6s %8s %7s %7s %7s\n", "t_s", "private_kb", "workset_kb",
                "handles", "gdi", "user", "windows", "ticks", "optims", "titles");

    std::vector<Sample> samples;
    std::string title = TitleOf(window);
    long titleChanges = 0;
    LONG ticksAtHalf = -1;
    bool crashed = false;
    const double runSeconds = options.seconds;
    DWORD nextSample = GetTickCount() + options.intervalMs;
    while (MillisecondsSince(program.started()) / 1000.0 < countingFrom + runSeconds) {
        if (!program.running()) {
            crashed = true;
            break;
        }
        std::string now = TitleOf(window);
        if (now != title) ++titleChanges, title = now;
        if (static_cast<LONG>(GetTickCount() - nextSample) >= 0) {
            nextSample += options.intervalMs;
            Sample s = Measure(program);
            samples.push_back(s);
            const probe::Counters* c = ticks.counters();
            auto show = [](double v) { return v < 0 ? std::string("n/a") : std::to_string(static_cast<long long>(v)); };
            std::printf("%8.1f %12.0f %12.0f %8s %6s %6s %8.0f %7ld %7ld %7ld\n", s.seconds, s.privateBytes / 1024,
                        s.workingSet / 1024, show(s.handles).c_str(), show(s.gdiObjects).c_str(),
                        show(s.userObjects).c_str(), s.windows, counting ? static_cast<long>(c->ticks) : -1L,
                        counting ? static_cast<long>(c->optimizations) : -1L, titleChanges);
            std::fflush(stdout);
            if (counting && ticksAtHalf < 0 && s.seconds >= countingFrom + runSeconds / 2) ticksAtHalf = c->ticks;
        }
        Sleep(100);
    }
    const double elapsed = MillisecondsSince(program.started()) / 1000.0 - countingFrom;

    std::printf("\n");
    if (crashed) {
        std::printf("RESULT: CRASH - the program ended by itself after %.1f s, exit code 0x%08lx\n", elapsed,
                    program.exitCode());
        return 2;
    }

    // The first and last minute; a quarter of the run when it is shorter than three minutes.
    const double span = runSeconds >= 180 ? 60.0 : runSeconds / 4.0;
    struct Figure {
        const char* name;
        double Sample::*field;
        double limit;   // growth beyond this counts as clear
        const char* unit;
        double scale;
    };
    const Trend privateTrend = TrendOf(samples, &Sample::privateBytes, span);
    // Generous against noise: a leak of a kilobyte a tick passes 2 MB within the 10 minutes.
    const double privateLimit = std::max(2.0 * 1048576.0, 0.10 * privateTrend.first);
    const Figure figures[] = {
        {"private bytes", &Sample::privateBytes, privateLimit, "KB", 1.0 / 1024},
        {"working set", &Sample::workingSet, -1, "KB", 1.0 / 1024},
        {"handles", &Sample::handles, 20, "", 1},
        {"GDI objects", &Sample::gdiObjects, 20, "", 1},
        {"USER objects", &Sample::userObjects, 20, "", 1},
        {"windows", &Sample::windows, 3, "", 1},
    };
    bool grew = false;
    std::printf("growth, mean of the first %.0f s against the last %.0f s (slope over the whole run):\n", span, span);
    for (const Figure& f : figures) {
        Trend t = TrendOf(samples, f.field, span);
        if (!t.known) {
            std::printf("  %-14s n/a (not reported by this system)\n", f.name);
            continue;
        }
        double growth = t.last - t.first;
        bool clear = f.limit >= 0 && growth > f.limit;
        grew = grew || clear;
        std::printf("  %-14s first %.1f%s, last %.1f%s, growth %+.1f%s, slope %+.2f%s/min", f.name,
                    t.first * f.scale, f.unit, t.last * f.scale, f.unit, growth * f.scale, f.unit,
                    t.slopePerMinute * f.scale, f.unit);
        if (f.limit < 0) std::printf("  (not judged: the system pages it)\n");
        else std::printf("  %s %.0f%s\n", clear ? "CLEAR GROWTH, limit" : "limit", f.limit * f.scale, f.unit);
    }

    bool stalled = false;
    if (counting) {
        const probe::Counters* c = ticks.counters();
        std::printf("ticks: %ld in %.1f s (at most one a second: %.0f), longest gap %.3f s, "
                    "optimizations %ld, title sets %ld, title changes seen %ld\n",
                    static_cast<long>(c->ticks), elapsed, elapsed, c->maxTickGapMs / 1000.0,
                    static_cast<long>(c->optimizations), static_cast<long>(c->titleSets), titleChanges);
        stalled = ticksAtHalf >= 0 && c->ticks == ticksAtHalf;
    } else {
        std::printf("ticks: not counted (no hook); title changes seen %ld\n", titleChanges);
    }
    program.end();

    if (grew) {
        std::printf("RESULT: GROWTH - see the figures marked CLEAR GROWTH\n");
        return 3;
    }
    if (stalled) {
        std::printf("RESULT: STALLED - no tick in the second half of the run\n");
        return 4;
    }
    std::printf("RESULT: OK - no crash, no growth beyond noise%s\n", counting ? ", the ticks kept coming" : "");
    return 0;
}

}  // namespace

int main(int argc, char** argv) {
    // Plain "\n" line ends, for the scripts that read the figures.
    _setmode(_fileno(stdout), _O_BINARY);
    Options options;
    if (!ParseOptions(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: tarvesk_probe footprint|soak <program.exe> [--settle-ms N] [--seconds N]\n"
                     "       [--interval-ms N] [--class NAME] [--title-suffix TEXT] [--hook DLL]\n"
                     "       [--bar-id N] [--clear-settings] [--setting NAME=TEXT]...\n");
        return 1;
    }
    return options.mode == "footprint" ? Footprint(options) : Soak(options);
}
