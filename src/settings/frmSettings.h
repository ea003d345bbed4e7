#pragma once
#include <cstdint>
#include <memory>
#include <optional>
#include <string>

#include "forms/Form.h"
#include "platform/Platform.h"
#include "settings/SettingsCopies.h"

namespace tarvesk {

// The Configuration dialog: automatic optimization, alarm level, amount to free, the
// tray tooltip form and automatic start at log-on. Shown modeless; each opening uses a
// fresh object, whose load reads everything afresh from the store and the Run key.
// `totalMB` is the machine's memory in whole megabytes, which bounds the alarm level.
class frmSettings : public forms::Form {
public:
    frmSettings(Platform& platform, SettingsCopies& copies, std::int64_t totalMB);
    ~frmSettings() override;

    // Controls, in tab order: the order of declaration is the tab order.
    forms::CheckBox chkAutomatic{*this, "chkAutomatic"};
    forms::CheckBox chkAutoStart{*this, "chkAutoStart"};
    forms::CommandButton cmdDone{*this, "cmdDone"};
    forms::CommandButton cmdCancel{*this, "cmdCancel"};
    forms::Frame framOpt{*this, "framOpt"};
    forms::TextBox txtFreeAlarm{*this, "txtFreeAlarm"};
    forms::TextBox txtAlarm{*this, "txtAlarm"};
    forms::Label Label2{*this, "Label2"};
    forms::Label Label1{*this, "Label1"};
    forms::Frame Frame1{*this, "Frame1"};
    forms::OptionButton optPer{*this, "optPer"};
    forms::OptionButton optMB{*this, "optMB"};

    void Form_Load() override;
    void Form_Unload() override;
    void chkAutomatic_Click();
    void txtAlarm_Change();
    void txtFreeAlarm_Change();
    void cmdDone_Click();
    void cmdCancel_Click();

private:
    // One Run key, open from load to Done, Cancel or close, and what load found there.
    struct RunKeyState {
        std::unique_ptr<RunKey> key;
        bool writable = false;     // this user may set and delete its value
        bool registered = false;   // it held the value at load
    };

    void amountCheck();
    void loadAutoStart();
    void saveAutoStart();
    void closeRunKeys();
    // Where automatic start is registered: machine-wide when this user may write there, else
    // for this user alone when that key may be written; neither, and the box is disabled.
    std::optional<RunPlace> autoStartPlace() const;
    RunKeyState& runKey(RunPlace place);

    Platform& platform_;
    SettingsCopies& copies_;
    const std::int64_t totalMB_;
    RunKeyState machineRun_;
    RunKeyState userRun_;
};

}  // namespace tarvesk
