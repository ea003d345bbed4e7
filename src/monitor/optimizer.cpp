// The optimizer: frees memory by obtaining, writing and releasing a large block.
#include "mainwindow/frmMain.h"

namespace tarvesk {

void frmMain::cmdOptimize_Click() {}
void frmMain::optimize_Click() { cmdOptimize_Click(); }
void frmMain::Slider1_Change() {}
void frmMain::OptimizeRam(std::int64_t) {}

}  // namespace tarvesk
