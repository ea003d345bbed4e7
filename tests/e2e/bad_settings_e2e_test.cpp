// Damaged settings in the real registry: every value of HKCU\Software\Tarvesk\Settings
// replaced in turn by unreadable text, an empty value, a negative number, a huge number,
// "1e999", 100,000 characters and a REG_DWORD. Tarvesk.exe starts with live figures, goes
// to the tray and back, and ends by File > Exit. Then the same texts typed into the
// Configuration dialog's two boxes, with every "Error" message answered.
#include <atomic>
#include <ostream>
#include <regex>
#include <thread>

#include "ControlIds.h"
#include "Driver.h"
#include "e2e_fixture.h"

namespace e2e {
namespace {

constexpr char kSettingsKey[] = "Software\\Tarvesk\\Settings";

struct BadValue {
    const char* name;
    std::string text;   // stored as REG_SZ, unless `dword`
    bool dword = false;
};

// Test names and failure messages name the value, never its 100,000 characters.
void PrintTo(const BadValue& value, std::ostream* out) { *out << value.name; }

// Printable, so that typing it is typing (a control character would be a key command).
const std::string kUnreadable = "zz&H-.E+%~\xe9!";

std::vector<BadValue> BadValues() {
    return {
        {"unreadable", kUnreadable},
        {"empty", ""},
        {"negative", "-5"},
        {"huge", "99999999999999999999999"},
        {"beyond_a_double", "1e999"},
        {"100000_characters", std::string(100000, '9')},
        {"dword", "", true},
    };
}

bool WriteDword(const char* name, DWORD value) {
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kSettingsKey, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key,
                        nullptr) != ERROR_SUCCESS)
        return false;
    LONG status = RegSetValueExA(key, name, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&value), sizeof value);
    RegCloseKey(key);
    return status == ERROR_SUCCESS;
}

// The stored value's type and size in bytes; type 0 when absent.
std::pair<DWORD, DWORD> StoredShape(const char* name) {
    DWORD type = 0, size = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, kSettingsKey, name, RRF_RT_ANY | RRF_NOEXPAND, &type, nullptr,
                     &size) != ERROR_SUCCESS)
        return {0, 0};
    return {type, size};
}

bool IsLiveTitle(const std::string& title) {
    static const std::regex live("^[0-9]+ KB Free$");
    return std::regex_match(title, live);
}

class BadSettingsTest : public ProgramTest {
protected:
    // Starts Tarvesk.exe and waits for its shown main window with live figures.
    HWND Start() {
        program = Process::Start(MainProgram());
        if (!program) {
            ADD_FAILURE() << "cannot start " << MainProgram() << ", error " << program.error();
            return nullptr;
        }
        HWND window = MainWindowOf(program.id());
        if (!window) {
            ADD_FAILURE() << "no main window" << (program.running() ? "" : " (the program ended)");
            return nullptr;
        }
        EXPECT_TRUE(WaitUntil([&] { return IsLiveTitle(WindowText(window)) && IsWindowVisible(window); }))
            << "title \"" << WindowText(window) << "\"";
        return window;
    }

    // The Send To Tray button, then a double-click on the icon, as the shell sends it.
    void TrayAndBack(HWND main, const std::string& screenshot) {
        ClickControl(main, frmMain::cmdTray);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(main); })) << "still shown after Send To Tray";
        EXPECT_TRUE(WaitForTrayIcon(IsMemoryTip)) << "no tray icon with a memory tooltip";
        if (!screenshot.empty()) {
            EXPECT_FALSE(Screenshot(screenshot).empty());
        }
        PostTrayNotification(main, 1, WM_LBUTTONDBLCLK);
        EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(main) != FALSE; })) << "not back from the tray";
        // The timer still runs: the title follows free memory.
        std::string titles;
        EXPECT_TRUE(TitleFollowsFreeMemory(main, &titles)) << "the title stayed: " << titles;
        EXPECT_TRUE(IsLiveTitle(WindowText(main))) << WindowText(main);
        EXPECT_TRUE(program.running());
    }

    void Exit(HWND main) {
        ASSERT_TRUE(ChooseMenuItem(main, {"&File", "&Exit"}));
        EXPECT_TRUE(program.waitForExit()) << "File > Exit did not end the program";
        EXPECT_EQ(program.exitCode().value_or(1), 0u);
    }

    Process program;
};

// ---- Stored values ---------------------------------------------------------------------

class StoredValue : public BadSettingsTest, public ::testing::WithParamInterface<const char*> {};

TEST_P(StoredValue, EachDamagedFormStartsWithLiveFiguresReachesTheTrayAndExits) {
    const char* key = GetParam();
    for (const BadValue& bad : BadValues()) {
        SCOPED_TRACE(std::string(key) + " = " + bad.name);
        EndPrograms();
        ClearSettings();
        ASSERT_TRUE(bad.dword ? WriteDword(key, 0x7FFFFFFF) : WriteSetting(key, bad.text));
        const auto shape = StoredShape(key);

        HWND main = Start();
        ASSERT_NE(main, nullptr);
        if (std::string(bad.name) == "100000_characters") {
            Pause(1000);   // for the picture only: the window has painted its controls
            EXPECT_FALSE(Screenshot(std::string("bad_setting_") + key + "_window").empty());
        }
        TrayAndBack(main, bad.dword ? std::string("bad_setting_") + key + "_tray" : "");
        Exit(main);

        // Reading never replaced the damaged value (the slider's position excepted, which is
        // stored back as the whole number the slider took).
        if (std::string(key) != "LastRAMValue") {
            EXPECT_EQ(StoredShape(key), shape);
        }
    }
}

INSTANTIATE_TEST_SUITE_P(EverySetting, StoredValue,
                         ::testing::Values("AutomaticOptimize", "LastRAMValue", "AlarmLevel",
                                           "FreeMBatAlarm", "SysTrayTTT", "StartAgent"));

// ---- Typed into the dialog -------------------------------------------------------------

class TypedText : public BadSettingsTest, public ::testing::WithParamInterface<BadValue> {
protected:
    HWND ShownMessageBox() const {
        for (HWND window : TopLevelWindows(program.id(), "#32770"))
            if (IsWindowVisible(window)) return window;
        return nullptr;
    }
    HWND ShownDialog() const {
        for (HWND window : TopLevelWindows(program.id(), "TarveskForm"))
            if (IsWindowVisible(window) && WindowText(window) == "Configuration") return window;
        return nullptr;
    }
    // Answers a shown message box: it must be the program's "Error".
    void Answer(HWND box) {
        // A box can be seen shown a moment before its title and text are in.
        WaitUntil([&] { return !WindowText(box).empty() && !ControlText(box, 0xFFFF).empty(); }, 5000);
        EXPECT_EQ(WindowText(box), "Error") << ControlText(box, 0xFFFF);
        ++answered;
        PressDialogButton(box, IDOK);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
    }
    HWND OpenDialog(HWND main) {
        if (!ChooseMenuItem(main, {"&Settings", "&Configuration"})) return nullptr;
        HWND dialog = nullptr;
        WaitUntil([&] {
            if (HWND box = ShownMessageBox()) Answer(box);
            return (dialog = ShownDialog()) != nullptr;
        });
        return dialog;
    }
    // Sends one message to a box of the dialog and answers every message box its handling
    // shows until the program has handled it. `boundMs` bounds each wait for a box or the end.
    void Deliver(HWND edit, UINT message, WPARAM wParam, LPARAM lParam, DWORD boundMs = kWaitMs) {
        std::atomic<bool> handled{false};
        std::thread sender([&] {
            DWORD_PTR result = 0;
            SendMessageTimeoutA(edit, message, wParam, lParam, SMTO_NORMAL, 10 * boundMs, &result);
            handled = true;
        });
        while (!handled) {
            HWND box = nullptr;
            if (!WaitUntil([&] { return handled || (box = ShownMessageBox()) != nullptr; }, boundMs)) {
                ADD_FAILURE() << "the program did not take the text";
                EndPrograms();   // releases the sender
                break;
            }
            if (box) Answer(box);
        }
        sender.join();
    }
    // Select all, then the keys one by one (WM_CHAR); text too long to type arrives whole,
    // as a paste does.
    void Enter(HWND edit, const std::string& text) {
        DWORD_PTR result = 0;
        SendMessageTimeoutA(edit, EM_SETSEL, 0, -1, SMTO_ABORTIFHUNG, 5000, &result);
        if (text.empty()) {
            Deliver(edit, WM_CHAR, VK_BACK, 1);
        } else if (text.size() > 64) {
            // Wine's edit control takes seconds to take in (and to give up) 100,000
            // characters; the dialog's logic handles them in milliseconds (unit tests).
            Deliver(edit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()), 6 * kWaitMs);
        } else {
            for (unsigned char c : text) Deliver(edit, WM_CHAR, c, 1);
        }
    }
    // Opens the dialog, checks automatic optimization so that the boxes take input, enters
    // the text into one box, and closes the dialog with `button`.
    void TypeInto(HWND main, int box, const std::string& text, int button, const std::string& screenshot = "") {
        HWND dialog = OpenDialog(main);
        ASSERT_NE(dialog, nullptr) << "no Configuration dialog";
        HWND automatic = Control(dialog, frmSettings::chkAutomatic);
        ASSERT_NE(automatic, nullptr);
        if (!IsChecked(automatic)) {
            ClickControl(dialog, frmSettings::chkAutomatic);
            ASSERT_TRUE(WaitUntil([&] { return IsChecked(automatic); }));
        }
        HWND edit = Control(dialog, box);
        ASSERT_NE(edit, nullptr);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowEnabled(edit) != FALSE; }));
        Enter(edit, text);
        ASSERT_TRUE(IsWindow(dialog)) << "the dialog closed while typing";
        if (!screenshot.empty()) {
            EXPECT_FALSE(Screenshot(screenshot).empty());
        }
        ClickControl(dialog, button);
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(dialog); })) << "the dialog stayed open";
    }

    int answered = 0;
};

// A stored number: digits with an optional sign, point and exponent.
bool IsNumberText(const std::optional<std::string>& text) {
    static const std::regex number("^-?[0-9]+(\\.[0-9]+)?(E[+-][0-9]+)?$");
    return text && std::regex_match(*text, number);
}

TEST_P(TypedText, BothBoxesTakeItAndTheProgramGoesOn) {
    const BadValue& bad = GetParam();
    HWND main = Start();
    ASSERT_NE(main, nullptr);

    // Into the alarm level, then Cancel: nothing stored.
    TypeInto(main, frmSettings::txtAlarm, bad.text, frmSettings::cmdCancel);
    for (const char* name : {"AutomaticOptimize", "AlarmLevel", "FreeMBatAlarm"})
        EXPECT_EQ(ReadSetting(name), std::nullopt) << name;

    // Into the amount, then Done: what is stored reads as numbers. The alarm level stays
    // 0, so the automatic optimization now switched on never runs on this machine.
    TypeInto(main, frmSettings::txtFreeAlarm, bad.text, frmSettings::cmdDone, bad.name == std::string("unreadable") ? "bad_typed_dialog" : "");
    EXPECT_EQ(ReadSetting("AutomaticOptimize"), "1");
    EXPECT_EQ(ReadSetting("AlarmLevel"), "0");
    EXPECT_TRUE(IsNumberText(ReadSetting("FreeMBatAlarm"))) << ReadSetting("FreeMBatAlarm").value_or("(absent)");

    EXPECT_TRUE(IsLiveTitle(WindowText(main))) << WindowText(main);
    TrayAndBack(main, bad.name == std::string("unreadable") ? "bad_typed_tray" : "");
    Exit(main);
    RecordProperty("error_messages_answered", answered);
}

INSTANTIATE_TEST_SUITE_P(EveryText, TypedText,
                         ::testing::Values(BadValue{"unreadable", kUnreadable}, BadValue{"empty", ""},
                                           BadValue{"negative", "-5"},
                                           BadValue{"huge", "99999999999999999999999"},
                                           BadValue{"beyond_a_double", "1e999"},
                                           BadValue{"100000_characters", std::string(100000, '9')}),
                         [](const ::testing::TestParamInfo<BadValue>& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace e2e
