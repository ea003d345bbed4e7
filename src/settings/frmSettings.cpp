// The Configuration dialog's behaviour: loading the settings into the boxes, checking the
// alarm level and the amount on every change, and saving or discarding.
//
// The checks rely on the form model's rule that text set from code raises the box's
// Change event: a correction runs the corrected box's check before the handler that made
// it returns, and the handler does nothing after its correction. Every correction writes
// a fixed text ("1", or the alarm level's own text), and writing the text a box already
// holds raises nothing, so the nesting always ends.
#include "settings/frmSettings.h"

#include "resource_ids.h"
#include "settings/Conversions.h"
#include "settings/ProgramSettings.h"

namespace tarvesk {

namespace {

const char* const kErrorTitle = "Error";
const char* const kAlarmTooHigh =
    "Alarm Level cannot be greater than 1/4 th\r\n"
    "of total Physical Memory available.";
const char* const kAmountTooLow =
    "RAM to Free at Alarm Level cannot be less than\r\n"
    "                      Alarm Level.";

}  // namespace

void frmSettings::Form_Load() {
    ProgramSettings settings(platform_.settings);
    const char separator = platform_.program.decimalSeparator();

    loadAutoStart();

    setIcon(IDI_CHIP);
    chkAutomatic.setValue(settings.autoOptimizeForDialog());
    // The amount first: its check then sees an empty alarm level, which reads as 0.
    txtFreeAlarm.setText(settings.freeAtAlarmForDialog(separator));
    txtAlarm.setText(settings.alarmLevelForDialog(separator));
    copies_.TrayTipInMB = settings.trayTipInMBForDialog();
    if (chkAutomatic.value() == 0) framOpt.setEnabled(false);
    optMB.setValue(true);
    if (copies_.TrayTipInMB == 0) optPer.setValue(true);
}

void frmSettings::Form_Unload() {
    // Every way out (Done, Cancel, the close box) releases the Run keys.
    closeRunKeys();
}

void frmSettings::chkAutomatic_Click() { framOpt.setEnabled(chkAutomatic.value() != 0); }

void frmSettings::txtAlarm_Change() {
    const double level = LeadingNumber(txtAlarm.text());
    const double limit = static_cast<double>(totalMB_) / 4.0;
    // An unreadably large level (+infinity) is larger than any limit.
    if (level > limit) {
        platform_.messages.show(kAlarmTooHigh, kErrorTitle, MessageBoxStop);
        txtAlarm.setText("1");
        return;
    }
    amountCheck();
}

void frmSettings::txtFreeAlarm_Change() { amountCheck(); }

void frmSettings::amountCheck() {
    const double level = LeadingNumber(txtAlarm.text());
    const double amount = LeadingNumber(txtFreeAlarm.text());
    if (level > amount) {
        platform_.messages.show(kAmountTooLow, kErrorTitle, MessageBoxStop);
        txtFreeAlarm.setText(NumberText(level, platform_.program.decimalSeparator()));
    }
}

void frmSettings::cmdDone_Click() {
    ProgramSettings settings(platform_.settings);
    const char separator = platform_.program.decimalSeparator();

    saveAutoStart();

    const bool megabytes = !optPer.value();
    settings.saveTrayTipInMB(megabytes);
    copies_.TrayTipInMB = megabytes ? 1 : 0;
    settings.saveAutoOptimize(chkAutomatic.value() != 0);
    settings.saveAlarmLevel(txtAlarm.text(), separator);
    settings.saveFreeAtAlarm(txtFreeAlarm.text(), separator);

    copies_.AutoOptimize = chkAutomatic.value() != 0 ? 1 : 0;
    copies_.AlarmLevelMB = BoxMegabytes(txtAlarm.text());
    copies_.FreeAtAlarmMB = BoxMegabytes(txtFreeAlarm.text());

    closeRunKeys();
    unload();
}

void frmSettings::cmdCancel_Click() {
    closeRunKeys();
    unload();
}

}  // namespace tarvesk
