// The About window's behaviour.
#include "mainwindow/frmAbout.h"

namespace tarvesk {

void frmAbout::Form_Load() {}
void frmAbout::cmdClose_Click() { unload(); }

}  // namespace tarvesk
