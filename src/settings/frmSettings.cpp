// The Configuration dialog's behaviour.
#include "settings/frmSettings.h"

namespace tarvesk {

void frmSettings::Form_Load() {}
void frmSettings::Form_Unload() {}
void frmSettings::chkAutomatic_Click() {}
void frmSettings::txtAlarm_Change() {}
void frmSettings::txtFreeAlarm_Change() {}
void frmSettings::amountCheck() {}
void frmSettings::cmdDone_Click() { unload(); }
void frmSettings::cmdCancel_Click() { unload(); }

}  // namespace tarvesk
