// The Optimize button, the slider, and the optimizer: it frees memory by obtaining, writing
// and releasing a large block, with a progress run before it.
#include <memory>
#include <string>

#include "mainwindow/frmMain.h"
#include "monitor/OptimizerAmounts.h"
#include "resource_ids.h"
#include "settings/ProgramSettings.h"

namespace tarvesk {

namespace {

// Keeps the timer off for as long as it lives and switches it on again however the
// scope is left, so no failure inside the optimizer can leave the tick stopped.
class TimerPause {
public:
    explicit TimerPause(forms::Timer& timer) : timer_(timer) { timer_.setEnabled(false); }
    ~TimerPause() { timer_.setEnabled(true); }
    TimerPause(const TimerPause&) = delete;
    TimerPause& operator=(const TimerPause&) = delete;

private:
    forms::Timer& timer_;
};

}  // namespace

void frmMain::cmdOptimize_Click() {
    // 64-bit arithmetic: any slider value gives its exact byte count.
    OptimizeRam(static_cast<std::int64_t>(Slider1.value()) * kMegabyte);
}

void frmMain::optimize_Click() { cmdOptimize_Click(); }

void frmMain::Slider1_Change() {
    ProgramSettings(platform_.settings).saveLastRAMValue(Slider1.value());
    Slider1.setToolTip(std::to_string(Slider1.value()) + " MB to free when Optimize is clicked");
}

void frmMain::OptimizeRam(std::int64_t bytes) {
    // Declared before the pause so that the block is released only after the timer runs again.
    std::unique_ptr<MemoryBlock> block;
    TimerPause pause(Timer1);

    if (inTrayMode()) {
        // The warning picture; the tooltip kept in TrayTip stays for the next tick.
        shared_.TrayPicture = IDI_WARNING;
        sendTrayIcon(TrayCommand::Modify, IDI_WARNING, std::string("Optimizing...") + '\0');
    }
    if (bytes <= 0) return;
    bytes = BytesToFree(bytes, shared_.TotalMB);

    const std::int64_t steps = ProgressSteps(bytes);
    ProgressBar2.setMax(static_cast<float>(steps));
    for (std::int64_t i = 1; i <= steps; ++i) ProgressBar2.setValue(static_cast<float>(i));
    ProgressBar2.setValue(0);

    block = platform_.blocks.obtainWritten(BlockBytes(bytes));
    if (!block) block = platform_.blocks.obtainWritten(HalfBlockBytes(bytes));
    // Even without any block the operation ends like a successful one.
}

}  // namespace tarvesk
