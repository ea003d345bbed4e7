// Fuzzes the Configuration dialog: loads it against fakes with arbitrary stored settings and
// memory size, feeds arbitrary text into the alarm level and the amount as a series of
// edits, then presses Done or Cancel. Any crash, sanitizer report, runaway correction or
// broken rule aborts.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "fakes/FakePlatform.h"
#include "reference_numbers.h"
#include "settings/frmSettings.h"

namespace {

void require(bool ok, const char* what) {
    if (ok) return;
    std::fprintf(stderr, "dialog_fuzz: %s\n", what);
    std::abort();
}

// A correction shows at most: message A, A again when the corrected level still breaks
// the limit (under 4 MB of memory), or A then B then B again when the level's text cannot
// be read back exactly (a comma separator, more than 15 digits).
constexpr size_t kMaxMessagesPerEdit = 3;
constexpr size_t kMaxMessagesAtLoad = 4;

// The rules are checked against the reference reading of the boxes (reference_numbers.h),
// written apart from the program's own conversions.
struct Run {
    fakes::FakePlatform fp;
    tarvesk::SettingsCopies shared;
    std::int64_t totalMB = 0;
    char separator = '.';

    void checkRules(tarvesk::frmSettings& d) {
        // Every change has been handled: with at least 4 MB the level is at most a quarter
        // of memory, and the amount is at least the level or holds the level's own number
        // as far as its text can say it (15 digits, the user's separator).
        if (totalMB < 4) return;
        const double level = reference::LeadingNumber(d.txtAlarm.text());
        const double amount = reference::LeadingNumber(d.txtFreeAlarm.text());
        require(level <= static_cast<double>(totalMB) / 4.0, "alarm level above the limit");
        require(amount >= level || reference::StoresTheSameNumber(d.txtFreeAlarm.text(), d.txtAlarm.text(), separator),
                "amount below the alarm level");
    }

    void edit(tarvesk::frmSettings& d, forms::TextBox& box, std::string text) {
        const size_t before = fp.messages.shown.size();
        box.userSetText(std::move(text));
        require(fp.messages.shown.size() - before <= kMaxMessagesPerEdit, "too many messages");
        checkRules(d);
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, size_t size) {
    FuzzedDataProvider in(data, size);
    Run run;

    run.totalMB = in.ConsumeBool() ? in.ConsumeIntegralInRange<std::int64_t>(0, 1 << 20)
                                   : in.ConsumeIntegral<std::int64_t>();
    run.separator = in.ConsumeBool() ? ',' : '.';
    run.fp.program.separator = run.separator;
    for (auto* place : {&run.fp.run.machine, &run.fp.run.user}) {
        place->canOpen = in.ConsumeIntegralInRange(0, 7) != 0;
        place->canWrite = in.ConsumeIntegralInRange(0, 3) != 0;
        if (in.ConsumeBool()) place->value = "C:\\Other.exe";
    }
    for (const char* key : {"AutomaticOptimize", "SysTrayTTT", "FreeMBatAlarm", "AlarmLevel"})
        if (in.ConsumeBool()) run.fp.settings.put(key, in.ConsumeRandomLengthString(40));

    tarvesk::frmSettings d(run.fp.platform, run.shared, run.totalMB);
    d.show();
    require(d.loaded(), "not loaded");
    require(run.fp.messages.shown.size() <= kMaxMessagesAtLoad, "too many messages at load");
    require(d.framOpt.enabled() == (d.chkAutomatic.value() != 0), "frame state");
    require(d.optPer.value() != d.optMB.value(), "option buttons");
    run.checkRules(d);

    bool done = true;
    while (in.remaining_bytes() > 0) {
        switch (in.ConsumeIntegralInRange(0, 7)) {
            case 0: run.edit(d, d.txtAlarm, in.ConsumeRandomLengthString(48)); break;
            case 1: run.edit(d, d.txtFreeAlarm, in.ConsumeRandomLengthString(48)); break;
            case 2:
            case 3: {
                // Typing: one character at a time appended to what the box holds.
                forms::TextBox& box = in.ConsumeBool() ? d.txtAlarm : d.txtFreeAlarm;
                for (char c : in.ConsumeRandomLengthString(16)) run.edit(d, box, box.text() + c);
                break;
            }
            case 4: d.chkAutomatic.userSetValue(d.chkAutomatic.value() ? 0 : 1); break;
            case 5:
                if (d.chkAutoStart.enabled()) d.chkAutoStart.userSetValue(d.chkAutoStart.value() ? 0 : 1);
                break;
            case 6: (in.ConsumeBool() ? d.optPer : d.optMB).userSelect(); break;
            case 7: done = in.ConsumeBool(); break;
        }
        require(d.framOpt.enabled() == (d.chkAutomatic.value() != 0), "frame state");
    }

    const std::string level = d.txtAlarm.text();
    const std::string amount = d.txtFreeAlarm.text();
    const int autoStart = d.chkAutoStart.value();
    const auto machineBefore = run.fp.run.machine.value;
    const auto userBefore = run.fp.run.user.value;
    if (done) {
        d.cmdDone.click();
        require(run.shared.AlarmLevelMB == reference::WholeMegabytes(reference::LeadingNumber(level)), "AlarmLevelMB");
        require(run.shared.FreeAtAlarmMB == reference::WholeMegabytes(reference::LeadingNumber(amount)),
                "FreeAtAlarmMB");
        require(reference::StoresTheSameNumber(run.fp.settings.get("AlarmLevel").value_or("x"), level, run.separator),
                "AlarmLevel");
        require(reference::StoresTheSameNumber(run.fp.settings.get("FreeMBatAlarm").value_or("x"), amount,
                                               run.separator),
                "FreeMBatAlarm");
        // Automatic start is registered where this user may write: machine-wide when that
        // may be written, else for the user; one registration at a time (a machine-wide one
        // this user can read but not remove already starts the agent), and a place that may
        // not be written is never changed.
        const auto writable = [](const fakes::FakeRun::Place& p) { return p.canOpen && p.canWrite; };
        const auto& machine = run.fp.run.machine;
        const auto& user = run.fp.run.user;
        if (!writable(machine)) require(machine.value == machineBefore, "machine value changed without write access");
        if (!writable(user)) require(user.value == userBefore, "user value changed without write access");
        if (writable(machine)) {
            require(machine.value.has_value() == (autoStart != 0), "machine-wide Run value");
            if (writable(user)) require(!user.value, "a user value beside the machine-wide one");
        } else if (writable(user)) {
            if (autoStart != 0)
                require(user.value.has_value() == !(machine.canOpen && machineBefore.has_value()),
                        "user Run value (none while an undeletable machine-wide one starts the agent)");
            else
                require(!user.value, "user Run value after clearing the box");
        }
    } else {
        d.cmdCancel.click();
        require(run.fp.settings.writes.empty(), "Cancel saved");
    }
    require(!d.loaded(), "still loaded");
    require(run.fp.run.openKeys == 0, "Run key left open");
    return 0;
}
