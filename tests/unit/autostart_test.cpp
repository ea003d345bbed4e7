// Automatic start in the Configuration dialog, with the two Run keys Windows reads at log-on:
// the machine-wide one, which only an administrator may write, and the user's own. For each
// combination of what this user may write and where the value already is: what the box
// shows, and what Done leaves in each place.
#include <gtest/gtest.h>

#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "case_trace.h"
#include "fakes/FakePlatform.h"
#include "settings/frmSettings.h"

namespace {

using Value = std::optional<std::string>;

const std::string kAgent = "\"C:\\Program Files\\Tarvesk\\TarveskA.exe\"";
const std::string kOld = "C:\\Old\\TarveskA.exe";
const std::string kEveryUser = "Starts Tarvesk for every user of this computer";
const std::string kThisUser = "Starts Tarvesk for this user only";
const std::string kAdminsOnly = "Set up for every user; only an administrator can turn it off";
const std::string kNeedsAdmin = "Automatic start needs administrator rights";

// What a user may write and what the two keys hold before the dialog opens.
struct Place {
    bool writable;
    Value value;
};
struct Situation {
    const char* name;
    Place machine, user;
};

struct AutoStart : ::testing::Test {
    fakes::FakePlatform fp;
    tarvesk::SettingsCopies shared;
    std::unique_ptr<tarvesk::frmSettings> dlg;

    tarvesk::frmSettings& open(const Situation& s) {
        fp.run.machine = {s.machine.value, true, s.machine.writable};
        fp.run.user = {s.user.value, true, s.user.writable};
        return load();
    }
    tarvesk::frmSettings& load() {
        fp.run.log.clear();
        dlg = std::make_unique<tarvesk::frmSettings>(fp.platform, shared, 512);
        dlg->show();
        return *dlg;
    }
    // Opens the dialog, sets the box as the user would, and presses Done.
    void doneWith(const Situation& s, int box) {
        auto& d = open(s);
        d.chkAutoStart.userSetValue(box);
        d.cmdDone.click();
        EXPECT_EQ(fp.run.openKeys, 0);
        EXPECT_TRUE(fp.messages.shown.empty());
    }
};

TEST_F(AutoStart, TheBoxShowsEitherPlaceAndIsDisabledOnlyWhenNeitherCanBeWritten) {
    struct Case {
        Situation situation;
        int checked;
        bool enabled;
        std::string tip;
    };
    const Case cases[] = {
        {{"administrator, nothing registered", {true, {}}, {true, {}}}, 0, true, kEveryUser},
        {{"administrator, registered machine-wide", {true, kOld}, {true, {}}}, 1, true, kEveryUser},
        {{"administrator, registered for the user", {true, {}}, {true, kOld}}, 1, true, kEveryUser},
        {{"machine-wide writable, the user's not", {true, {}}, {false, kOld}}, 1, true, kEveryUser},
        {{"standard user, nothing registered", {false, {}}, {true, {}}}, 0, true, kThisUser},
        {{"standard user, registered for the user", {false, {}}, {true, kOld}}, 1, true, kThisUser},
        {{"standard user, registered machine-wide", {false, kOld}, {true, {}}}, 1, true, kAdminsOnly},
        {{"standard user, registered in both", {false, kOld}, {true, kOld}}, 1, true, kAdminsOnly},
        {{"neither writable, nothing registered", {false, {}}, {false, {}}}, 0, false, kNeedsAdmin},
        {{"neither writable, machine-wide", {false, kOld}, {false, {}}}, 1, false, kNeedsAdmin},
        {{"neither writable, for the user", {false, {}}, {false, kOld}}, 1, false, kNeedsAdmin},
    };
    for (const Case& c : cases) {
        CASE_TRACE(c.situation.name);
        auto& d = open(c.situation);
        EXPECT_EQ(d.chkAutoStart.value(), c.checked);
        EXPECT_EQ(d.chkAutoStart.enabled(), c.enabled);
        EXPECT_EQ(d.chkAutoStart.toolTip(), c.tip);
        EXPECT_EQ(fp.run.openKeys, 2);   // both held open until the dialog closes
        d.cmdCancel.click();
        EXPECT_EQ(fp.run.openKeys, 0);
        // Cancel changes neither place.
        EXPECT_EQ(fp.run.machine.value, c.situation.machine.value);
        EXPECT_EQ(fp.run.user.value, c.situation.user.value);
    }
}

// Done leaves at most one registration that starts the agent at this user's log-on: two
// would start two copies of the program.
TEST_F(AutoStart, DoneRegistersOnceWhereItAppliesAndClearingRemovesWhatTheUserMay) {
    struct Case {
        Situation situation;
        Value machineChecked, userChecked;   // after Done with the box checked
        Value machineCleared, userCleared;   // after Done with the box cleared
    };
    const Case cases[] = {
        {{"administrator, nothing registered", {true, {}}, {true, {}}}, kAgent, {}, {}, {}},
        {{"administrator, registered machine-wide", {true, kOld}, {true, {}}}, kAgent, {}, {}, {}},
        // The user's own value gives way to the machine-wide one.
        {{"administrator, registered for the user", {true, {}}, {true, kOld}}, kAgent, {}, {}, {}},
        {{"administrator, registered in both", {true, kOld}, {true, kOld}}, kAgent, {}, {}, {}},
        {{"machine-wide writable, the user's not", {true, {}}, {false, kOld}}, kAgent, kOld, {}, kOld},
        {{"standard user, nothing registered", {false, {}}, {true, {}}}, {}, kAgent, {}, {}},
        {{"standard user, registered for the user", {false, {}}, {true, kOld}}, {}, kAgent, {}, {}},
        // The machine-wide value already starts the agent for this user, and only an
        // administrator may remove it: nothing is added, and clearing cannot take it away.
        {{"standard user, registered machine-wide", {false, kOld}, {true, {}}}, kOld, {}, kOld, {}},
        {{"standard user, registered in both", {false, kOld}, {true, kOld}}, kOld, {}, kOld, {}},
        {{"neither writable, machine-wide", {false, kOld}, {false, {}}}, kOld, {}, kOld, {}},
        {{"neither writable, for the user", {false, {}}, {false, kOld}}, {}, kOld, {}, kOld},
    };
    for (const Case& c : cases) {
        CASE_TRACE(c.situation.name);
        {
            CASE_TRACE("checked");
            doneWith(c.situation, 1);
            EXPECT_EQ(fp.run.machine.value, c.machineChecked);
            EXPECT_EQ(fp.run.user.value, c.userChecked);
        }
        {
            CASE_TRACE("cleared");
            doneWith(c.situation, 0);
            EXPECT_EQ(fp.run.machine.value, c.machineCleared);
            EXPECT_EQ(fp.run.user.value, c.userCleared);
        }
    }
}

TEST_F(AutoStart, AStandardUserRegistersForThemselvesAndTheNextOpeningShowsIt) {
    const Situation standardUser{"standard user", {false, {}}, {true, {}}};
    doneWith(standardUser, 1);
    EXPECT_EQ(fp.run.log, (std::vector<std::string>{"open machine", "query machine", "open user",
                                                     "query user", "set user " + kAgent,
                                                     "close machine", "close user"}));
    // The same user opens the dialog again: the value they wrote is found.
    auto& again = open({"again", {false, {}}, {true, fp.run.user.value}});
    EXPECT_EQ(again.chkAutoStart.value(), 1);
    EXPECT_EQ(again.chkAutoStart.toolTip(), kThisUser);
}

TEST_F(AutoStart, AMachineWideKeyThatCannotBeOpenedLeavesTheUsersPlace) {
    fp.run.machine.canOpen = false;
    fp.run.user.value = kOld;
    auto& d = load();
    EXPECT_EQ(d.chkAutoStart.value(), 1);
    EXPECT_TRUE(d.chkAutoStart.enabled());
    EXPECT_EQ(d.chkAutoStart.toolTip(), kThisUser);
    d.cmdDone.click();
    EXPECT_EQ(fp.run.user.value, kAgent);
    EXPECT_EQ(fp.run.openKeys, 0);
}

}  // namespace
