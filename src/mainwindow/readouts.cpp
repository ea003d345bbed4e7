// The main window's memory figures and its three readouts: the label, the gauge and the
// title.
#include <algorithm>
#include <climits>
#include <string>

#include "mainwindow/frmMain.h"
#include "monitor/MemoryFigures.h"

namespace tarvesk {

void frmMain::InitMemoryTotals() {
    shared_.MemStatus = platform_.memory.sample();
    shared_.TotalKB = WholeKilobytes(shared_.MemStatus.totalPhys);
    shared_.TotalMB = WholeMegabytes(shared_.TotalKB);
    Slider1.setMin(0);
    Slider1.setMax(static_cast<std::int32_t>(std::min<std::int64_t>(shared_.TotalMB, INT32_MAX)));
    ProgressBar1.setMin(0);
    ProgressBar1.setMax(static_cast<float>(shared_.TotalMB));
    ProgressBar2.setMin(0);
}

void frmMain::UpdateMemoryReadouts() {
    shared_.FreeKB = WholeKilobytes(shared_.MemStatus.availPhys);
    shared_.FreeMB = WholeMegabytes(shared_.FreeKB);
    shared_.FreePercent = FreePercentOf(shared_.FreeKB, shared_.TotalKB);
    labMem.setCaption(std::to_string(shared_.FreePercent) + "% of " + std::to_string(shared_.TotalMB) +
                      " MB Free");
    ProgressBar1.setValue(static_cast<float>(shared_.FreeMB));
    setCaption(std::to_string(shared_.FreeKB) + " KB Free");
}

}  // namespace tarvesk
