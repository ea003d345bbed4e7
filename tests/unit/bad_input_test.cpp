// Damaged and hand-edited input: every stored setting replaced in turn by text the program
// never writes, and the same texts typed into the Configuration dialog's boxes. The program
// starts, shows live figures, goes to the tray and back, and its timer keeps running.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <regex>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "case_trace.h"
#include "fakes/FakePlatform.h"
#include "mainwindow/frmMain.h"
#include "reference_numbers.h"
#include "settings/Conversions.h"
#include "settings/frmSettings.h"

namespace {

constexpr std::uint64_t MB = 1048576;

struct BadText {
    const char* name;
    std::string text;
    bool typed;   // typed one key at a time; the long ones arrive whole, as a paste would
};

const std::vector<BadText>& BadTexts() {
    static const std::vector<BadText> texts = {
        {"unreadable", std::string("\x01\x7f\xfe\xff" "abc\t\r\n-.E+&H&O", 18), true},
        {"empty", "", true},
        {"negative", "-5", true},
        {"huge", "99999999999999999999999", true},
        {"beyond a double", "1e999", true},
        {"100000 digits", std::string(100000, '9'), false},
        {"100000 letters", std::string(100000, 'x'), false},
    };
    return texts;
}

const char* const kKeys[] = {"AutomaticOptimize", "LastRAMValue", "AlarmLevel",
                             "FreeMBatAlarm",     "SysTrayTTT",   "StartAgent"};

// The store as the registry behaves: a value it cannot read as text (the wrong type, or
// too long) reads as the caller's default.
class DamagedStore : public fakes::FakeSettings {
public:
    std::set<std::string> unreadable;
    std::string GetSetting(std::string_view app, std::string_view section, std::string_view key,
                           std::string_view defaultText) override {
        if (unreadable.count(std::string(key))) return std::string(defaultText);
        return FakeSettings::GetSetting(app, section, key, defaultText);
    }
};

// A main window on a machine of 128 MB with 20 MB free, whose user set automatic
// optimization of 32 MB below 30 MB free, the megabyte tooltip and the slider at 8: every
// tick optimizes, so damaged amounts reach the optimizer.
struct Program {
    fakes::FakePlatform fp;
    DamagedStore store;
    tarvesk::Platform platform{fp.memory, fp.blocks,   fp.tray,     store,      fp.run,
                               fp.session, fp.help,    fp.messages, fp.program, fp.forms};
    tarvesk::modMain shared;
    tarvesk::frmMain f{platform, shared};

    Program() {
        fp.memory.figures = {128 * MB, 20 * MB};
        store.put("AutomaticOptimize", "1");
        store.put("LastRAMValue", "8");
        store.put("AlarmLevel", "30");
        store.put("FreeMBatAlarm", "32");
        store.put("SysTrayTTT", "1");
        store.put("StartAgent", "0");
    }

    void start() {
        f.load();
        if (!f.inTrayMode()) f.show();
    }

    // Live figures in the title and the label, and no block beyond the machine's memory.
    void expectLiveFigures() {
        EXPECT_TRUE(std::regex_match(f.caption(), std::regex("^[0-9]+ KB Free$"))) << f.caption();
        EXPECT_TRUE(std::regex_match(f.labMem.caption(), std::regex("^[0-9]+% of 128 MB Free$")))
            << f.labMem.caption();
        EXPECT_GE(f.Slider1.value(), 0);
        EXPECT_LE(f.Slider1.value(), 128);
        for (std::uint64_t bytes : fp.blocks.requests) EXPECT_LE(bytes, 2 * 128 * MB);
        EXPECT_EQ(fp.blocks.live, 0);
    }

    // Send to the tray with the button, a tick there, and back with a double-click on the
    // icon; then the timer's next tick shows the new figures.
    void expectTrayAndBack() {
        if (!f.inTrayMode()) f.cmdTray.click();
        ASSERT_TRUE(f.inTrayMode());
        EXPECT_FALSE(f.visible());
        f.Timer1.tick();
        ASSERT_FALSE(fp.tray.calls.empty());
        const std::string tip = fakes::FakeTray::tip(fp.tray.calls.back().record);
        EXPECT_TRUE(std::regex_match(tip, std::regex("^([0-9]+% Memory|[0-9]+ MB) Free$|^Optimizing\\.\\.\\.$")))
            << tip;

        f.Form_MouseMove(0, 0, static_cast<float>(0x203 * fp.forms.twipsPerPixel), 0);
        EXPECT_FALSE(f.inTrayMode());
        EXPECT_TRUE(f.visible());

        ASSERT_TRUE(f.Timer1.enabled());
        fp.memory.figures.availPhys = 77 * MB;
        f.Timer1.tick();
        EXPECT_EQ(f.caption(), "78848 KB Free");
        expectLiveFigures();
    }
};

TEST(BadStoredSettings, EachDamagedValueStillGivesLiveFiguresTheTrayAndBack) {
    for (const char* key : kKeys) {
        for (const BadText& bad : BadTexts()) {
            CASE_TRACE(std::string(key) + " = " + bad.name);
            Program p;
            p.store.put(key, bad.text);
            p.start();
            p.expectLiveFigures();
            p.expectTrayAndBack();
            // Reading never rewrites a damaged value, apart from the slider's position,
            // which the slider stores back as the whole number it took.
            if (std::string(key) != "LastRAMValue") {
                EXPECT_EQ(p.store.get(key), bad.text);
            }
        }
    }
}

TEST(BadStoredSettings, ValuesOfTheWrongTypeReadAsTheirDefaults) {
    for (const char* key : kKeys) {
        CASE_TRACE(key);
        Program p;
        p.store.unreadable.insert(key);
        p.start();
        p.expectLiveFigures();
        p.expectTrayAndBack();
    }
    // All of them at once: the first run's defaults.
    Program p;
    p.store.unreadable = {std::begin(kKeys), std::end(kKeys)};
    p.start();
    EXPECT_EQ(p.shared.AutoOptimize, 0);
    EXPECT_EQ(p.shared.AlarmLevelMB, 0);
    EXPECT_EQ(p.f.Slider1.value(), 0);
    p.expectTrayAndBack();
}

TEST(BadStoredSettings, DamagedSettingsStoredBackByTheSliderAreWholeNumbers) {
    for (const BadText& bad : BadTexts()) {
        CASE_TRACE(bad.name);
        Program p;
        p.store.put("LastRAMValue", bad.text);
        p.start();
        auto stored = p.store.get("LastRAMValue");
        ASSERT_TRUE(stored.has_value());
        if (*stored != bad.text) {
            EXPECT_EQ(*stored, std::to_string(p.f.Slider1.value()));
        }
    }
}

// The user types (or pastes) each text into a box of the Configuration dialog, answers
// every message, and confirms with Done or leaves with Cancel.
struct BadTyping : ::testing::Test {
    Program p;
    void SetUp() override { p.start(); }

    tarvesk::frmSettings& openDialog() {
        p.f.config_Click();
        return *p.f.settingsDialog();
    }
    void enter(forms::TextBox& box, const BadText& bad) {
        const size_t before = p.fp.messages.shown.size();
        if (bad.typed) {
            box.userSetText("");
            for (char c : bad.text) box.userSetText(box.text() + c);
        } else {
            box.userSetText(bad.text);
        }
        for (size_t i = before; i < p.fp.messages.shown.size(); ++i)
            EXPECT_EQ(p.fp.messages.shown[i].title, "Error");
    }
};

TEST_F(BadTyping, CancelAfterAnyTextLeavesStoreAndProgramAsTheyWere) {
    for (const BadText& bad : BadTexts()) {
        for (bool alarmBox : {true, false}) {
            CASE_TRACE(std::string(bad.name) + (alarmBox ? " in txtAlarm" : " in txtFreeAlarm"));
            const auto stored = p.store.values;
            const tarvesk::modMain copies = p.shared;
            tarvesk::frmSettings& dialog = openDialog();
            enter(alarmBox ? dialog.txtAlarm : dialog.txtFreeAlarm, bad);
            dialog.cmdCancel.click();
            EXPECT_FALSE(dialog.loaded());
            EXPECT_EQ(p.store.values, stored);
            EXPECT_EQ(p.shared.AlarmLevelMB, copies.AlarmLevelMB);
            EXPECT_EQ(p.shared.FreeAtAlarmMB, copies.FreeAtAlarmMB);
            EXPECT_EQ(p.fp.run.openKeys, 0);
        }
    }
    p.expectTrayAndBack();
}

TEST_F(BadTyping, DoneAfterAnyTextStoresReadableNumbersAndTheProgramGoesOn) {
    for (const BadText& bad : BadTexts()) {
        CASE_TRACE(bad.name);
        tarvesk::frmSettings& dialog = openDialog();
        enter(dialog.txtAlarm, bad);
        enter(dialog.txtFreeAlarm, bad);
        const std::string level = dialog.txtAlarm.text();
        const std::string amount = dialog.txtFreeAlarm.text();
        dialog.cmdDone.click();
        EXPECT_FALSE(dialog.loaded());

        // What Done stored is the boxes' numbers and reads back, strictly, as a finite
        // number; the copies are those numbers within 32 bits. The expected values come
        // from the reference reading, not from the program's own conversions.
        const std::pair<const char*, std::string> boxes[] = {{"AlarmLevel", level}, {"FreeMBatAlarm", amount}};
        for (const auto& [key, typed] : boxes) {
            auto text = p.store.get(key);
            ASSERT_TRUE(text.has_value()) << key;
            EXPECT_TRUE(reference::StoresTheSameNumber(*text, typed, '.')) << key << " = " << *text;
            auto number = tarvesk::StrictNumber(*text);
            ASSERT_TRUE(number.has_value()) << key << " = " << *text;
            EXPECT_TRUE(std::isfinite(*number)) << key << " = " << *text;
        }
        EXPECT_EQ(p.shared.AlarmLevelMB, reference::WholeMegabytes(reference::LeadingNumber(level)));
        EXPECT_EQ(p.shared.FreeAtAlarmMB, reference::WholeMegabytes(reference::LeadingNumber(amount)));

        // The running program ticks (optimizing with the new figures where they call for it),
        // and a new start reads what was stored.
        p.f.Timer1.tick();
        p.expectLiveFigures();
        Program next;
        next.store.values = p.store.values;
        next.start();
        next.expectLiveFigures();
        next.expectTrayAndBack();
    }
    p.expectTrayAndBack();
}

}  // namespace
