// One tick of the main window in tray mode, against fakes: sample, readouts, gauge picture
// and tray refresh. The window's view and the tray shell do nothing, so the figure is the
// program's own work per tick.
#include <benchmark/benchmark.h>

#include <cstdint>

#include "fakes/FakePlatform.h"
#include "mainwindow/frmMain.h"

namespace {

constexpr std::uint64_t kMB = 1048576;

class SilentView : public forms::FormView {
public:
    void controlChanged(forms::Control&, forms::Property) override {}
    void formChanged(forms::Property) override {}
    void show() override {}
    void hide() override {}
    void popupMenu(forms::MenuItem&, forms::MenuItem*) override {}
    std::uintptr_t handle() const override { return 0x1000; }
};

class SilentHost : public forms::FormHost {
public:
    std::unique_ptr<forms::FormView> createView(forms::Form&) override { return std::make_unique<SilentView>(); }
    double twipsPerPixelX() const override { return 15; }
    void endProgram() override {}
};

class CountingTray : public tarvesk::TrayShell {
public:
    std::uint64_t calls = 0;
    bool notify(tarvesk::TrayCommand, const tarvesk::TrayIconRecord& record) override {
        ++calls;
        benchmark::DoNotOptimize(record.szTip.data());
        return true;
    }
    std::uint32_t recordSize() const override { return 88; }
};

void TickInTrayMode(benchmark::State& state) {
    fakes::FakePlatform fp;
    SilentHost host;
    CountingTray tray;
    tarvesk::Platform platform{fp.memory, fp.blocks,   tray,        fp.settings, fp.run,
                               fp.session, fp.help,    fp.messages, fp.program,  host};
    tarvesk::modMain shared;
    tarvesk::frmMain window(platform, shared);
    fp.memory.figures = {512 * kMB, 100 * kMB};
    window.load();
    window.tray_Click();

    // Free memory moves a little every second, so every readout and the tooltip change.
    const std::uint64_t free[2] = {100 * kMB, 100 * kMB + 3 * 1024 * 1024 + 12345};
    std::uint64_t n = 0;
    for (auto _ : state) {
        fp.memory.figures.availPhys = free[n++ & 1];
        window.Timer1_Timer();
    }
    benchmark::DoNotOptimize(tray.calls);
}

}  // namespace

BENCHMARK(TickInTrayMode)->Unit(benchmark::kNanosecond)->Repetitions(5)->ReportAggregatesOnly(true);
