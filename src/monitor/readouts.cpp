// Memory figures and the three readouts of the main window: the label, the gauge and
// the title.
#include <algorithm>
#include <climits>
#include <string>

#include "mainwindow/frmMain.h"
#include "settings/Conversions.h"

namespace tarvesk {

namespace {
// Kilobytes or megabytes from the next smaller unit, rounded halves to even.
std::int64_t nextUnit(double smaller) { return static_cast<std::int64_t>(RoundHalfEven(smaller / 1024.0)); }
}  // namespace

void frmMain::InitMemoryTotals() {
    shared_.MemStatus = platform_.memory.sample();
    shared_.TotalKB = nextUnit(static_cast<double>(shared_.MemStatus.totalPhys));
    shared_.TotalMB = nextUnit(static_cast<double>(shared_.TotalKB));
    Slider1.setMin(0);
    Slider1.setMax(static_cast<std::int32_t>(std::min<std::int64_t>(shared_.TotalMB, INT32_MAX)));
    ProgressBar1.setMin(0);
    ProgressBar1.setMax(static_cast<float>(shared_.TotalMB));
    ProgressBar2.setMin(0);
}

void frmMain::UpdateMemoryReadouts() {
    shared_.FreeKB = nextUnit(static_cast<double>(shared_.MemStatus.availPhys));
    shared_.FreeMB = nextUnit(static_cast<double>(shared_.FreeKB));
    double percent = shared_.TotalKB > 0
                         ? RoundHalfEven(static_cast<double>(shared_.FreeKB) / static_cast<double>(shared_.TotalKB) * 100.0)
                         : 0.0;
    shared_.FreePercent = ToByte(percent);
    labMem.setCaption(std::to_string(shared_.FreePercent) + "% of " + std::to_string(shared_.TotalMB) +
                      " MB Free");
    ProgressBar1.setValue(static_cast<float>(shared_.FreeMB));
    setCaption(std::to_string(shared_.FreeKB) + " KB Free");
}

}  // namespace tarvesk
