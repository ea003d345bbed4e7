// The optimizer: frees memory by obtaining, writing and releasing a large block.
#include <memory>
#include <string>

#include "mainwindow/frmMain.h"
#include "resource_ids.h"
#include "settings/ProgramSettings.h"

namespace tarvesk {

namespace {

constexpr std::int64_t kMegabyte = 1048576;
constexpr int kStepsPerMegabyte = 20;

// n / d for n >= 0, d > 0, to the nearest whole number, a half going to the even one.
std::int64_t roundedQuotient(std::int64_t n, std::int64_t d) {
    std::int64_t q = n / d;
    std::int64_t twiceRest = (n % d) * 2;   // n % d < d, and d is small: no overflow
    if (twiceRest > d || (twiceRest == d && q % 2 != 0)) ++q;
    return q;
}

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
        shared_.TrayPicture = IDI_WARNING;
        fillTrayRecord(IDI_WARNING, std::string("Optimizing...") + '\0');
        platform_.tray.notify(TrayCommand::Modify, shared_.TrayIconData);
    }
    if (bytes <= 0) return;
    // Nothing frees more than the machine has. A larger amount (a hand-entered setting)
    // would only run the progress bar for ages before its block failed.
    if (shared_.TotalMB > 0 && bytes / kMegabyte > shared_.TotalMB) bytes = shared_.TotalMB * kMegabyte;

    const std::int64_t steps = roundedQuotient(bytes, kMegabyte) * kStepsPerMegabyte;
    ProgressBar2.setMax(static_cast<float>(steps));
    for (std::int64_t i = 1; i <= steps; ++i) ProgressBar2.setValue(static_cast<float>(i));
    ProgressBar2.setValue(0);

    // The block is `bytes` 16-bit characters; when that much can't be had, half as many.
    const std::uint64_t characters = static_cast<std::uint64_t>(bytes);
    block = platform_.blocks.obtainWritten(characters * 2);
    if (!block) {
        const auto half = static_cast<std::uint64_t>(roundedQuotient(bytes, 2));
        block = platform_.blocks.obtainWritten(half * 2);
    }
    // Even without any block the operation ends like a successful one.
}

}  // namespace tarvesk
