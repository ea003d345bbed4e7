// optimize_progress_wine.exe: how much of one optimization the progress run takes, on the
// real main window under Wine.
//
// It builds the main window exactly as Tarvesk.exe does (the same logic, the same Windows
// binder and services, the window shown), sets the slider to the amount asked for, and
// runs the Optimize click's handler a few times. The block allocator is the real one,
// wrapped so that it notes the time when it is called (the progress run is over then),
// when it returns (the block is obtained and written) and when the block is released (the
// handler's last act). Settings live in memory here, so nothing is written to the registry.
//
//   optimize_progress_wine [--hidden] [megabytes (default 2047)] [runs (default 3)]
//
// --hidden leaves the window hidden, as in tray mode (the tray menu's Optimize and the
// automatic optimization run there). After the runs, the same number of steps is run on
// a bare progress bar of the same size in a plain window (one PBM_SETPOS each), which
// tells the control's own cost from the binder's, and once more sending only the positions
// that move the bar's fill by a pixel.
//
// Prints one line per run and the medians; the share of the progress run is printed
// against its target (under 5%), never judged.
#include <windows.h>
#include <commctrl.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "mainwindow/frmMain.h"
#include "mainwindow/modMain.h"
#include "platform/BlockAllocator.h"
#include "platform/SettingsStore.h"
#include "win32/Win32FormHost.h"
#include "win32/Win32Services.h"

namespace {

using namespace tarvesk;

double Now() {
    static const double frequency = [] {
        LARGE_INTEGER f;
        QueryPerformanceFrequency(&f);
        return static_cast<double>(f.QuadPart);
    }();
    LARGE_INTEGER t;
    QueryPerformanceCounter(&t);
    return static_cast<double>(t.QuadPart) / frequency;
}

// When the optimizer reached its block, got it back, and let it go.
struct Marks {
    double called = 0, returned = 0, released = 0;
};

class TimedBlock : public MemoryBlock {
public:
    TimedBlock(std::unique_ptr<MemoryBlock> inner, Marks& marks)
        : inner_(std::move(inner)), marks_(marks) {}
    ~TimedBlock() override {
        inner_.reset();
        marks_.released = Now();
    }

private:
    std::unique_ptr<MemoryBlock> inner_;
    Marks& marks_;
};

class TimedAllocator : public BlockAllocator {
public:
    TimedAllocator(BlockAllocator& inner, Marks& marks) : inner_(inner), marks_(marks) {}
    std::unique_ptr<MemoryBlock> obtainWritten(std::uint64_t bytes) override {
        // A retry at half size keeps the first call's mark.
        if (marks_.called == 0) marks_.called = Now();
        auto block = inner_.obtainWritten(bytes);
        marks_.returned = Now();
        if (!block) return nullptr;
        ++obtained_;
        lastBytes_ = bytes;
        return std::make_unique<TimedBlock>(std::move(block), marks_);
    }
    int obtained() const { return obtained_; }
    std::uint64_t lastBytes() const { return lastBytes_; }

private:
    BlockAllocator& inner_;
    Marks& marks_;
    int obtained_ = 0;
    std::uint64_t lastBytes_ = 0;
};

class MemorySettings : public SettingsStore {
public:
    std::string GetSetting(std::string_view, std::string_view, std::string_view key,
                           std::string_view defaultText) override {
        auto it = values_.find(std::string(key));
        return it == values_.end() ? std::string(defaultText) : it->second;
    }
    bool SaveSetting(std::string_view, std::string_view, std::string_view key,
                     std::string_view text) override {
        values_[std::string(key)] = std::string(text);
        return true;
    }

private:
    std::map<std::string, std::string> values_;
};

// Lets the window paint and take its messages for a while, as between two clicks.
void Pump(DWORD ms) {
    const DWORD end = GetTickCount() + ms;
    while (static_cast<LONG>(end - GetTickCount()) > 0) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        Sleep(10);
    }
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t n = values.size();
    return n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
}

// Seconds for `steps` positions on a plain progress bar of ProgressBar2's size, stepped
// one at a time the way the optimizer steps its bar; with `pixelsOnly`, only the positions
// that move the fill by a pixel are sent (the end positions always).
double BareProgressRun(int steps, bool hidden, bool pixelsOnly) {
    WNDCLASSA wc{};
    wc.lpfnWndProc = DefWindowProcA;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.lpszClassName = "BareProgressWindow";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, wc.lpszClassName, "bare", WS_OVERLAPPEDWINDOW, 300, 300, 300,
                                  120, nullptr, nullptr, wc.hInstance, nullptr);
    // ProgressBar2: 3615 x 195 twips, 241 x 13 pixels at 96 DPI.
    HWND bar = CreateWindowExA(0, "msctls_progress32", nullptr, WS_CHILD | WS_VISIBLE, 21, 40, 241,
                               13, window, nullptr, wc.hInstance, nullptr);
    if (!hidden) ShowWindow(window, SW_SHOWNORMAL);
    Pump(300);
    SendMessageA(bar, PBM_SETRANGE32, 0, steps);
    const double start = Now();
    constexpr long long kWidth = 241;
    long long lastPixel = -1;
    for (int i = 1; i <= steps; ++i) {
        const long long pixel = kWidth * i / steps;
        if (pixelsOnly && pixel == lastPixel && i != steps) continue;
        lastPixel = pixel;
        SendMessageA(bar, PBM_SETPOS, i, 0);
    }
    SendMessageA(bar, PBM_SETPOS, 0, 0);
    const double seconds = Now() - start;
    DestroyWindow(window);
    return seconds;
}

}  // namespace

int main(int argc, char** argv) {
    bool hidden = false;
    std::vector<std::string> numbers;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--hidden")
            hidden = true;
        else
            numbers.emplace_back(argv[i]);
    }
    int megabytes = numbers.size() > 0 ? std::atoi(numbers[0].c_str()) : 2047;
    int runs = numbers.size() > 1 ? std::atoi(numbers[1].c_str()) : 3;
    if (megabytes <= 0 || runs <= 0) {
        std::fprintf(stderr, "usage: optimize_progress_wine [--hidden] [megabytes] [runs]\n");
        return 1;
    }

    Win32FormHost host(GetModuleHandleA(nullptr));
    Win32Services services;
    Marks marks;
    TimedAllocator blocks(services.blocks, marks);
    MemorySettings settings;
    Platform platform{services.memory, blocks,           services.tray,    settings,
                      services.run,    services.session, services.help,    services.messages,
                      services.program, host};
    modMain shared;
    frmMain main(platform, shared);
    main.load();
    if (!main.loaded()) {
        std::fprintf(stderr, "optimize_progress: the main window did not load\n");
        return 1;
    }
    if (!hidden) main.show();
    Pump(500);

    if (megabytes > main.Slider1.max()) {
        std::fprintf(stderr, "optimize_progress: this machine has %d MB, not %d\n",
                     main.Slider1.max(), megabytes);
        return 1;
    }
    main.Slider1.setValue(megabytes);
    Pump(200);

    std::printf("optimize_progress: %d MB, %d runs, window %s, machine total %d MB\n", megabytes,
                runs, hidden ? "hidden" : "shown", main.Slider1.max());
    std::printf("%-4s %12s %12s %12s %12s %8s\n", "run", "progress_ms", "block_ms", "release_ms",
                "whole_ms", "share_%");
    std::vector<double> progress, block, release, whole, share;
    for (int run = 1; run <= runs; ++run) {
        marks = Marks{};
        const int before = blocks.obtained();
        const double start = Now();
        main.cmdOptimize_Click();
        const double end = Now();
        if (blocks.obtained() != before + 1 || marks.released == 0) {
            std::fprintf(stderr, "optimize_progress: run %d obtained no block\n", run);
            return 1;
        }
        progress.push_back((marks.called - start) * 1000);
        block.push_back((marks.returned - marks.called) * 1000);
        release.push_back((marks.released - marks.returned) * 1000);
        whole.push_back((end - start) * 1000);
        share.push_back(100.0 * progress.back() / whole.back());
        std::printf("%-4d %12.1f %12.1f %12.1f %12.1f %8.2f\n", run, progress.back(), block.back(),
                    release.back(), whole.back(), share.back());
        std::fflush(stdout);
        Pump(300);
    }
    std::printf("block_bytes %llu\n", static_cast<unsigned long long>(blocks.lastBytes()));
    std::printf("median progress_ms %.1f\n", Median(progress));
    std::printf("median whole_ms %.1f\n", Median(whole));
    std::printf("median progress_share_%% %.2f (target under 5)\n", Median(share));

    const int steps = megabytes * 20;
    const char* shown = hidden ? "hidden" : "shown";
    std::printf("bare_progress_bar_ms %.1f (%d PBM_SETPOS on a plain bar, window %s)\n",
                BareProgressRun(steps, hidden, false) * 1000, steps, shown);
    std::printf("bare_progress_bar_pixel_steps_ms %.1f (only the positions that move a %s bar's "
                "fill by a pixel)\n",
                BareProgressRun(steps, hidden, true) * 1000, shown);
    return 0;
}
