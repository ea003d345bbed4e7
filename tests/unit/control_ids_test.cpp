// The end-to-end tests find controls by id (tests/e2e/driver/ControlIds.h). Each id must name
// the control it says: the binder numbers a form's controls from its first id on, in the
// order the form declares them.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "../e2e/driver/ControlIds.h"
#include "fakes/FakePlatform.h"
#include "mainwindow/frmAbout.h"
#include "mainwindow/frmMain.h"
#include "settings/frmSettings.h"
#ifdef _WIN32
#include "win32/FormWindow.h"
static_assert(tarvesk::FormWindow::kFirstControlId == e2e::kFirstControlId);
#endif

namespace {

using Ids = std::vector<std::pair<int, std::string>>;

void ExpectIds(const forms::Form& form, const Ids& ids) {
    const auto& controls = form.controls();
    for (const auto& [id, name] : ids) {
        const auto index = static_cast<std::size_t>(id - e2e::kFirstControlId);
        ASSERT_LT(index, controls.size()) << name;
        EXPECT_EQ(controls[index]->name(), name) << form.name() << " id " << id;
    }
}

TEST(ControlIds, EveryIdOfTheEndToEndTestsNamesItsControl) {
    fakes::FakePlatform fp;
    tarvesk::modMain shared;
    tarvesk::frmMain main{fp.platform, shared};
    namespace m = e2e::frmMain;
    ExpectIds(main, {{m::Slider1, "Slider1"}, {m::Label1, "Label1"}, {m::ProgressBar1, "ProgressBar1"},
                     {m::cmdOptimize, "cmdOptimize"}, {m::cmdAbout, "cmdAbout"}, {m::cmdTray, "cmdTray"},
                     {m::labMem, "labMem"}, {m::ProgressBar2, "ProgressBar2"}});

    tarvesk::frmSettings settings{fp.platform, shared, 128};
    namespace s = e2e::frmSettings;
    ExpectIds(settings, {{s::chkAutomatic, "chkAutomatic"}, {s::chkAutoStart, "chkAutoStart"},
                         {s::cmdDone, "cmdDone"},           {s::cmdCancel, "cmdCancel"},
                         {s::framOpt, "framOpt"},           {s::txtFreeAlarm, "txtFreeAlarm"},
                         {s::txtAlarm, "txtAlarm"},         {s::Label2, "Label2"},
                         {s::Label1, "Label1"},             {s::Frame1, "Frame1"},
                         {s::optPer, "optPer"},             {s::optMB, "optMB"}});

    tarvesk::frmAbout about{fp.forms};
    namespace a = e2e::frmAbout;
    ExpectIds(about, {{a::Label1, "Label1"}, {a::Label2, "Label2"}, {a::Picture1, "Picture1"},
                      {a::cmdClose, "cmdClose"}});
}

}  // namespace
