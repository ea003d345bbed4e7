// The Configuration dialog as a user fills it in: opened from the Settings menu, typed into
// key by key, its "Error" messages read and answered, and closed by Done, Cancel, Enter,
// Esc or the close box; what it saved is read back from the registry.
#include <atomic>
#include <cmath>
#include <cstring>
#include <thread>

#include "ControlIds.h"
#include "Driver.h"
#include "ToolTips.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

// The two messages, with their line break written as "\n".
const std::string kLevelTooHigh =
    "Alarm Level cannot be greater than 1/4 th\nof total Physical Memory available.";
const std::string kAmountTooLow =
    "RAM to Free at Alarm Level cannot be less than\n                      Alarm Level.";
using Messages = std::vector<std::string>;

std::string OneLineBreak(const std::string& text) {
    std::string result;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            result += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') ++i;
        } else {
            result += text[i];
        }
    }
    return result;
}

// The machine's memory in whole megabytes as the program figures it: kilobytes rounded to
// nearest (halves to even), then megabytes from those.
long long TotalMB() {
    double kb = std::nearbyint(static_cast<double>(Memory().totalBytes) / 1024.0);
    return static_cast<long long>(std::nearbyint(kb / 1024.0));
}

class DialogTest : public ProgramTest {
protected:
    void SetUp() override {
        ProgramTest::SetUp();
        program = Process::Start(MainProgram());
        ASSERT_TRUE(program) << "cannot start " << MainProgram() << ", error " << program.error();
        main = MainWindowOf(program.id());
        ASSERT_NE(main, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return KilobytesInTitle(WindowText(main)) >= 0; }));
    }

    // Settings > Configuration; returns the dialog once it is shown, after answering the
    // messages its load shows (into `messages`).
    HWND OpenDialog(Messages* messages = nullptr) {
        if (!ChooseMenuItem(main, {"&Settings", "&Configuration"})) {
            ADD_FAILURE() << "no Settings > Configuration in the menu bar";
            return nullptr;
        }
        Messages shown;
        HWND dialog = nullptr;
        bool done = WaitUntil([&] {
            if (HWND box = ShownMessageBox()) Answer(box, shown);
            dialog = ShownDialog();
            return dialog != nullptr;
        });
        if (!done) ADD_FAILURE() << "no Configuration dialog";
        if (messages)
            *messages = shown;
        else
            EXPECT_EQ(shown, Messages{}) << "messages while the dialog loaded";
        return dialog;
    }
    std::vector<HWND> Dialogs() const {
        std::vector<HWND> shown;
        for (HWND window : TopLevelWindows(program.id(), "TarveskForm"))
            if (IsWindowVisible(window) && WindowText(window) == "Configuration")
                shown.push_back(window);
        return shown;
    }
    HWND ShownDialog() const {
        auto shown = Dialogs();
        return shown.size() == 1 ? shown[0] : nullptr;
    }
    HWND ShownMessageBox() const {
        for (HWND window : TopLevelWindows(program.id(), "#32770"))
            if (IsWindowVisible(window)) return window;
        return nullptr;
    }

    // Reads the shown message box, photographs it when a name is pending, and presses OK.
    void Answer(HWND box, Messages& messages) {
        std::string text;
        WaitUntil([&] { return !(text = ControlText(box, 0xFFFF)).empty(); }, 5000);
        EXPECT_EQ(WindowText(box), "Error") << text;
        messages.push_back(OneLineBreak(text));
        if (!boxScreenshot.empty()) {
            EXPECT_TRUE(WaitUntilPainted(box));
            EXPECT_FALSE(Screenshot(boxScreenshot).empty());
            boxScreenshot.clear();
        }
        PressDialogButton(box, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "OK did not close the message";
    }

    // One key typed into a box: its WM_CHAR, handled to the end, with every message the
    // handling shows answered. The character is sent, not posted, so that the test knows
    // when the program is done with it; an edit control takes a sent WM_CHAR as it takes a
    // posted one, and the message loop's dialog handling passes characters on to edits.
    Messages Key(HWND edit, char c) {
        std::atomic<bool> handled{false};
        std::thread keyboard([&] {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(edit, WM_CHAR, static_cast<unsigned char>(c), 1, SMTO_NORMAL,
                                10 * kWaitMs, &result);
            handled = true;
        });
        Messages messages;
        while (!handled) {
            HWND box = nullptr;
            if (!WaitUntil([&] { return handled || (box = ShownMessageBox()) != nullptr; })) {
                ADD_FAILURE() << "the program did not take the key '" << c << "'";
                EndPrograms();   // releases the keyboard thread
                break;
            }
            if (box) Answer(box, messages);
        }
        keyboard.join();
        return messages;
    }

    static LRESULT Ask(HWND window, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, 5000, &result);
        return static_cast<LRESULT>(result);
    }
    // A mouse click into a text box, which gives it the focus, and then all its text
    // selected. The select-all is posted after the click, and the thread takes posted
    // messages in order: once all is selected, no part of the click is still to come, which
    // would otherwise put the caret back where the box was clicked.
    static bool ClickInto(HWND edit) {
        Ask(edit, EM_SETSEL, 0, 0);
        PostMessageA(edit, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
        PostMessageA(edit, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
        PostMessageA(edit, EM_SETSEL, 0, -1);
        return WaitUntil([&] {
            const auto selection = static_cast<DWORD>(Ask(edit, EM_GETSEL));
            return FocusedControl(edit) == edit && LOWORD(selection) == 0 &&
                   HIWORD(selection) == Ask(edit, WM_GETTEXTLENGTH);
        });
    }

    // A click into the box, which selects all, then the keys one by one.
    Messages Type(HWND edit, const std::string& keys) {
        EXPECT_TRUE(IsWindowEnabled(edit)) << "typing into a disabled box";
        EXPECT_TRUE(ClickInto(edit));
        Messages messages;
        for (char c : keys)
            for (std::string& message : Key(edit, c)) messages.push_back(message);
        return messages;
    }

    bool WaitUntilClosed(HWND window) const {
        return WaitUntil([&] { return !IsWindow(window); });
    }
    // None of the dialog's values was written.
    static void ExpectNothingSaved() {
        for (const char* name : {"AutomaticOptimize", "AlarmLevel", "FreeMBatAlarm", "SysTrayTTT"})
            EXPECT_EQ(ReadSetting(name), std::nullopt) << name;
        EXPECT_EQ(ReadRunValue(), std::nullopt);
    }

    Process program;
    HWND main = nullptr;
    std::string boxScreenshot;   // taken when the next message box shows
};

TEST_F(DialogTest, FreshStoreShowsZerosWithTheBoxesLockedUntilAutomaticIsChecked) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND level = Control(dialog, frmSettings::txtAlarm), amount = Control(dialog, frmSettings::txtFreeAlarm);
    HWND automatic = Control(dialog, frmSettings::chkAutomatic), autoStart = Control(dialog, frmSettings::chkAutoStart);
    ASSERT_TRUE(level && amount && automatic && autoStart);
    EXPECT_EQ(WindowText(level), "0");
    EXPECT_EQ(WindowText(amount), "0");
    EXPECT_FALSE(IsChecked(automatic));
    EXPECT_FALSE(IsWindowEnabled(level));
    EXPECT_FALSE(IsWindowEnabled(amount));
    EXPECT_TRUE(IsChecked(Control(dialog, frmSettings::optPer)));
    EXPECT_FALSE(IsChecked(Control(dialog, frmSettings::optMB)));
    EXPECT_FALSE(IsChecked(autoStart));   // no Run value
    EXPECT_TRUE(IsWindowEnabled(autoStart));   // the Run key is writable here
    EXPECT_TRUE(WaitUntilPainted(dialog));
    EXPECT_FALSE(Screenshot("configuration_dialog_fresh").empty());

    Click(automatic);
    EXPECT_TRUE(WaitUntil([&] { return IsWindowEnabled(level) && IsWindowEnabled(amount); }))
        << "checking automatic optimization left the boxes disabled";
    EXPECT_TRUE(IsChecked(automatic));
    EXPECT_TRUE(WaitUntilPainted(dialog));
    EXPECT_FALSE(Screenshot("configuration_dialog_automatic").empty());

    // Chosen again while it is open: the same dialog comes forward, not loaded afresh
    // (which would clear the check box again).
    SetForegroundWindow(main);
    ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == main; }));
    ASSERT_TRUE(ChooseMenuItem(main, {"&Settings", "&Configuration"}));
    EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == dialog; }))
        << "the dialog was not brought forward";
    ASSERT_TRUE(WaitUntilHandled(Control(main, frmMain::cmdTray)));
    EXPECT_EQ(Dialogs(), std::vector<HWND>{dialog});
    EXPECT_TRUE(IsChecked(automatic));

    Click(automatic);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowEnabled(level) && !IsWindowEnabled(amount); }));

    // The close box saves nothing; the next opening starts again from the store.
    PostMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_TRUE(WaitUntilClosed(dialog)) << "the close box did not close the dialog";
    ExpectNothingSaved();
    dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsChecked(Control(dialog, frmSettings::chkAutomatic)));
    EXPECT_FALSE(IsWindowEnabled(Control(dialog, frmSettings::txtAlarm)));

    // Cancel saves nothing either.
    Click(Control(dialog, frmSettings::chkAutomatic));
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(Control(dialog, frmSettings::chkAutomatic)); }));
    ClickControl(dialog, frmSettings::cmdCancel);
    ASSERT_TRUE(WaitUntilClosed(dialog)) << "Cancel did not close the dialog";
    ExpectNothingSaved();
    EXPECT_TRUE(program.running());
}

TEST_F(DialogTest, TypedValuesThatBreakTheRulesAreReportedAndCorrected) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND level = Control(dialog, frmSettings::txtAlarm), amount = Control(dialog, frmSettings::txtFreeAlarm);
    ASSERT_TRUE(level && amount);
    Click(Control(dialog, frmSettings::chkAutomatic));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(level) != FALSE; }));

    EXPECT_EQ(Type(amount, "10"), Messages{});
    EXPECT_EQ(Type(level, "10"), Messages{});

    // Less than the alarm level: the message, and the amount becomes the level again.
    boxScreenshot = "configuration_message_amount_too_low";
    EXPECT_EQ(Type(amount, "5"), Messages{kAmountTooLow});
    EXPECT_EQ(WindowText(amount), "10");
    // Emptied (select all, Backspace): the same.
    EXPECT_EQ(Type(amount, "\b"), Messages{kAmountTooLow});
    EXPECT_EQ(WindowText(amount), "10");
    // A level above the amount carries the amount with it.
    EXPECT_EQ(Type(level, "25"), Messages{kAmountTooLow});
    EXPECT_EQ(WindowText(level), "25");
    EXPECT_EQ(WindowText(amount), "25");

    // More than a quarter of the machine's memory: the message, and the level becomes 1.
    // A quarter (rounded down) is accepted. Every shorter start of these numbers stays below
    // the amount, so no other message comes between.
    const long long quarter = TotalMB() / 4;
    ASSERT_GT(quarter, 0);
    EXPECT_EQ(Type(level, "0"), Messages{});
    EXPECT_EQ(Type(amount, std::to_string(TotalMB())), Messages{});
    boxScreenshot = "configuration_message_level_too_high";
    EXPECT_EQ(Type(level, std::to_string(quarter + 1)), Messages{kLevelTooHigh});
    EXPECT_EQ(WindowText(level), "1");
    EXPECT_EQ(WindowText(amount), std::to_string(TotalMB()));
    EXPECT_EQ(Type(level, std::to_string(quarter)), Messages{});
    EXPECT_EQ(WindowText(level), std::to_string(quarter));

    ClickControl(dialog, frmSettings::cmdCancel);
    ASSERT_TRUE(WaitUntilClosed(dialog));
    ExpectNothingSaved();
}

TEST_F(DialogTest, StoredLevelAboveAQuarterIsCorrectedOnOpeningAndEscKeepsTheStore) {
    // As after moving to a machine with less memory.
    const std::string stored = std::to_string(TotalMB());
    ASSERT_TRUE(WriteSetting("AlarmLevel", stored));
    ASSERT_TRUE(WriteSetting("AutomaticOptimize", "1"));
    boxScreenshot = "configuration_message_on_opening";
    Messages messages;
    HWND dialog = OpenDialog(&messages);
    ASSERT_NE(dialog, nullptr);
    // The level becomes 1, which is then more than the empty amount.
    EXPECT_EQ(messages, (Messages{kLevelTooHigh, kAmountTooLow}));
    EXPECT_EQ(ControlText(dialog, frmSettings::txtAlarm), "1");
    EXPECT_EQ(ControlText(dialog, frmSettings::txtFreeAlarm), "1");
    EXPECT_TRUE(IsChecked(Control(dialog, frmSettings::chkAutomatic)));
    EXPECT_TRUE(IsWindowEnabled(Control(dialog, frmSettings::txtAlarm)));

    PressKey(FocusedControl(dialog), VK_ESCAPE);
    ASSERT_TRUE(WaitUntilClosed(dialog)) << "Esc did not close the dialog";
    EXPECT_EQ(ReadSetting("AlarmLevel"), stored);
    EXPECT_EQ(ReadSetting("AutomaticOptimize"), "1");
    EXPECT_EQ(ReadSetting("FreeMBatAlarm"), std::nullopt);
    EXPECT_EQ(ReadSetting("SysTrayTTT"), std::nullopt);
}

TEST_F(DialogTest, LevelTypedWithLettersIsSavedAsItsNumberByEnter) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND level = Control(dialog, frmSettings::txtAlarm), amount = Control(dialog, frmSettings::txtFreeAlarm);
    ASSERT_TRUE(level && amount);
    Click(Control(dialog, frmSettings::chkAutomatic));
    Click(Control(dialog, frmSettings::optMB));
    ASSERT_TRUE(WaitUntil([&] {
        return IsWindowEnabled(level) && IsChecked(Control(dialog, frmSettings::optMB)) &&
               !IsChecked(Control(dialog, frmSettings::optPer));
    }));

    // "1" and "12" each exceed the amount and carry it along; the letters change nothing.
    EXPECT_EQ(Type(level, "12abc"), (Messages{kAmountTooLow, kAmountTooLow}));
    EXPECT_EQ(WindowText(level), "12abc");
    EXPECT_EQ(WindowText(amount), "12");
    EXPECT_TRUE(WaitUntilPainted(dialog));
    EXPECT_FALSE(Screenshot("configuration_dialog_typed").empty());

    // Enter with the focus in a text box presses Done.
    ASSERT_TRUE(ClickInto(level));
    PressKey(level, VK_RETURN);
    ASSERT_TRUE(WaitUntilClosed(dialog)) << "Enter did not close the dialog";
    EXPECT_EQ(ReadSetting("AlarmLevel"), "12");
    EXPECT_EQ(ReadSetting("FreeMBatAlarm"), "12");
    EXPECT_EQ(ReadSetting("AutomaticOptimize"), "1");
    EXPECT_EQ(ReadSetting("SysTrayTTT"), "1");
    EXPECT_EQ(ReadRunValue(), std::nullopt);

    // The next opening shows what was saved.
    dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(ControlText(dialog, frmSettings::txtAlarm), "12");
    EXPECT_EQ(ControlText(dialog, frmSettings::txtFreeAlarm), "12");
    EXPECT_TRUE(IsChecked(Control(dialog, frmSettings::chkAutomatic)));
    EXPECT_TRUE(IsChecked(Control(dialog, frmSettings::optMB)));
    EXPECT_FALSE(IsChecked(Control(dialog, frmSettings::optPer)));
}

TEST_F(DialogTest, AMessageGivesTheFocusBackToTheBoxBeingTyped) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND level = Control(dialog, frmSettings::txtAlarm);
    ASSERT_NE(level, nullptr);
    Click(Control(dialog, frmSettings::chkAutomatic));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(level) != FALSE; }));

    EXPECT_EQ(Type(level, "5"), Messages{kAmountTooLow});
    // The user goes on typing where they were: the next keys must reach the same box.
    HWND focused = FocusedControl(level);
    EXPECT_EQ(focused, level) << "the focus went to control " << GetDlgCtrlID(focused) << " \""
                              << WindowText(focused) << "\"";
}

TEST_F(DialogTest, LaunchAutomaticallyWritesTheAgentsQuotedPathAndClearingItDeletesIt) {
    // Any value of that name counts as registered; Done puts the agent's path in its place.
    ASSERT_TRUE(WriteRunValue("C:\\Elsewhere\\other.exe"));
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_TRUE(IsChecked(Control(dialog, frmSettings::chkAutoStart)));
    EXPECT_TRUE(WaitUntilPainted(dialog));
    EXPECT_FALSE(Screenshot("configuration_dialog_launch_checked").empty());
    ClickControl(dialog, frmSettings::cmdDone);
    ASSERT_TRUE(WaitUntilClosed(dialog)) << "Done did not close the dialog";
    EXPECT_EQ(ReadRunValue(), "\"" + JoinPath(BinDir(), "TarveskA.exe") + "\"");
    // Done saves the dialog's values as they stand.
    EXPECT_EQ(ReadSetting("AutomaticOptimize"), "0");
    EXPECT_EQ(ReadSetting("AlarmLevel"), "0");
    EXPECT_EQ(ReadSetting("FreeMBatAlarm"), "0");
    EXPECT_EQ(ReadSetting("SysTrayTTT"), "0");

    dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND autoStart = Control(dialog, frmSettings::chkAutoStart);
    ASSERT_TRUE(IsChecked(autoStart));
    Click(autoStart);
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(autoStart); }));
    ClickControl(dialog, frmSettings::cmdDone);
    ASSERT_TRUE(WaitUntilClosed(dialog));
    EXPECT_EQ(ReadRunValue(), std::nullopt);

    // Cleared with no value there: still none, and nothing to report.
    dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    EXPECT_FALSE(IsChecked(Control(dialog, frmSettings::chkAutoStart)));
    ClickControl(dialog, frmSettings::cmdDone);
    ASSERT_TRUE(WaitUntilClosed(dialog));
    EXPECT_EQ(ReadRunValue(), std::nullopt);
    EXPECT_EQ(ShownMessageBox(), nullptr);
}

// The pointer rests on a control with a tooltip, enabled or not: its tip shows.
TEST_F(DialogTest, TooltipsShowOverEnabledAndDisabledControls) {
    // A user who may write neither Run key: the box is disabled and says why in its tip.
    ReadOnlyRegistryKey machine(HKEY_LOCAL_MACHINE, kRunKeyPath, RunKeyView()), user(HKEY_CURRENT_USER, kRunKeyPath);
    if (!machine.applied() || !user.applied())
        GTEST_SKIP() << "the Run keys cannot be made read-only in this Wine prefix";
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND box = Control(dialog, frmSettings::chkAutoStart), done = Control(dialog, frmSettings::cmdDone);
    ASSERT_FALSE(IsWindowEnabled(box)) << "the Run keys are read-only, yet the box is enabled";
    auto tip = ControlToolTip(dialog, box);
    ASSERT_TRUE(tip && !tip->empty()) << "the disabled box has no tooltip";

    auto restOn = [&](HWND control) {
        SetCursorPos(0, 0);
        RECT r{};
        GetWindowRect(control, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        return WaitUntil([&] { return ToolTipShownFor(dialog, control); });
    };
    EXPECT_TRUE(restOn(box)) << "no tip over the disabled box";
    EXPECT_FALSE(Screenshot("configuration_disabled_box_tooltip").empty());
    EXPECT_TRUE(restOn(done)) << "no tip over the enabled Done button";
    ClickControl(dialog, frmSettings::cmdCancel);
    EXPECT_TRUE(WaitUntilClosed(dialog));
}

// Text of any length goes into a box: a paste longer than an edit control's usual limit
// (about 32 K characters) arrives whole.
TEST_F(DialogTest, APasteOfAnyLengthArrivesWhole) {
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND amount = Control(dialog, frmSettings::txtFreeAlarm);
    Click(Control(dialog, frmSettings::chkAutomatic));
    ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(amount) != FALSE; }));
    const std::string text(40000, '0');   // reads as 0: no rule is broken
    ASSERT_TRUE(OpenClipboard(nullptr));
    EmptyClipboard();
    HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, text.size() + 1);
    ASSERT_NE(memory, nullptr);
    std::memcpy(GlobalLock(memory), text.c_str(), text.size() + 1);
    GlobalUnlock(memory);
    ASSERT_NE(SetClipboardData(CF_TEXT, memory), nullptr);   // the clipboard owns it now
    CloseClipboard();

    PostMessageA(amount, EM_SETSEL, 0, -1);
    PostMessageA(amount, WM_PASTE, 0, 0);
    ASSERT_TRUE(WaitUntilHandled(Control(dialog, frmSettings::cmdDone)));
    EXPECT_EQ(WindowText(amount).size(), text.size());
    ClickControl(dialog, frmSettings::cmdCancel);
    EXPECT_TRUE(WaitUntilClosed(dialog));
}

// A user who may not write the machine-wide Run key registers automatic start for
// themselves alone, and the box says so.
TEST_F(DialogTest, AStandardUserRegistersAutomaticStartForThemselves) {
    StandardUser standardUser;
    if (!standardUser.ready()) GTEST_SKIP() << "this Wine prefix lets every user write HKLM's Run key";
    const std::string agent = "\"" + JoinPath(BinDir(), "TarveskA.exe") + "\"";

    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND autoStart = Control(dialog, frmSettings::chkAutoStart);
    EXPECT_TRUE(IsWindowEnabled(autoStart)) << "the box is disabled, yet the user's key may be written";
    EXPECT_FALSE(IsChecked(autoStart));
    EXPECT_EQ(ControlToolTip(dialog, autoStart), "Starts Tarvesk for this user only");
    // The pointer rests on the box: its tooltip shows.
    RECT r{};
    GetWindowRect(autoStart, &r);
    SetCursorPos(0, 0);
    SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
    EXPECT_TRUE(WaitUntil([&] {
        for (HWND tip : TopLevelWindows(program.id(), "tooltips_class32"))
            if (IsWindowVisible(tip)) return true;
        return false;
    })) << "no tooltip over the box";
    EXPECT_FALSE(Screenshot("configuration_standard_user_tooltip").empty());
    SetCursorPos(0, 0);

    Click(autoStart);
    ASSERT_TRUE(WaitUntil([&] { return IsChecked(autoStart); }));
    EXPECT_TRUE(WaitUntilPainted(dialog));
    EXPECT_FALSE(Screenshot("configuration_standard_user_launch_checked").empty());
    ClickControl(dialog, frmSettings::cmdDone);
    ASSERT_TRUE(WaitUntilClosed(dialog));
    EXPECT_EQ(ReadUserRunValue(), agent);
    EXPECT_EQ(ReadRunValue(), std::nullopt);

    // Opened again, the box finds the user's value; cleared, Done removes it.
    dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    autoStart = Control(dialog, frmSettings::chkAutoStart);
    EXPECT_TRUE(IsChecked(autoStart));
    Click(autoStart);
    ASSERT_TRUE(WaitUntil([&] { return !IsChecked(autoStart); }));
    ClickControl(dialog, frmSettings::cmdDone);
    ASSERT_TRUE(WaitUntilClosed(dialog));
    EXPECT_EQ(ReadUserRunValue(), std::nullopt);
    EXPECT_EQ(ShownMessageBox(), nullptr);
}

// An administrator set automatic start up for every user; a standard user sees it checked
// and cannot remove it, and the box's tooltip says so. No second registration is added.
TEST_F(DialogTest, AMachineWideRegistrationAStandardUserCannotRemoveStays) {
    const std::string old = "C:\\Elsewhere\\TarveskA.exe";
    ASSERT_TRUE(WriteRunValue(old));
    StandardUser standardUser;
    if (!standardUser.ready()) GTEST_SKIP() << "this Wine prefix lets every user write HKLM's Run key";

    for (bool checked : {true, false}) {
        SCOPED_TRACE(checked ? "Done with the box checked" : "Done with the box cleared");
        HWND dialog = OpenDialog();
        ASSERT_NE(dialog, nullptr);
        HWND autoStart = Control(dialog, frmSettings::chkAutoStart);
        EXPECT_TRUE(IsChecked(autoStart));
        EXPECT_TRUE(IsWindowEnabled(autoStart));
        EXPECT_EQ(ControlToolTip(dialog, autoStart),
                  "Set up for every user; only an administrator can turn it off");
        if (!checked) {
            Click(autoStart);
            ASSERT_TRUE(WaitUntil([&] { return !IsChecked(autoStart); }));
        }
        ClickControl(dialog, frmSettings::cmdDone);
        ASSERT_TRUE(WaitUntilClosed(dialog));
        EXPECT_EQ(ReadRunValue(), old);
        EXPECT_EQ(ReadUserRunValue(), std::nullopt);
    }
}

// With the right to write it, the machine-wide key takes the registration, and a value the
// user registered earlier for themselves goes, so that log-on starts one copy only.
TEST_F(DialogTest, AnAdministratorRegistersForEveryUserInPlaceOfTheirOwnValue) {
    ASSERT_TRUE(WriteUserRunValue("C:\\Elsewhere\\TarveskA.exe"));
    HWND dialog = OpenDialog();
    ASSERT_NE(dialog, nullptr);
    HWND autoStart = Control(dialog, frmSettings::chkAutoStart);
    EXPECT_TRUE(IsChecked(autoStart));
    EXPECT_EQ(ControlToolTip(dialog, autoStart), "Starts Tarvesk for every user of this computer");
    ClickControl(dialog, frmSettings::cmdDone);
    ASSERT_TRUE(WaitUntilClosed(dialog));
    EXPECT_EQ(ReadRunValue(), "\"" + JoinPath(BinDir(), "TarveskA.exe") + "\"");
    EXPECT_EQ(ReadUserRunValue(), std::nullopt);
}

}  // namespace
}  // namespace e2e
