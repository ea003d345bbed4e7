// The form model's event rule: a value set from code raises the same event as the user's
// action, only when the value changes, and nested changes run before the outer handler returns.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "fakes/FakePlatform.h"

namespace {

class TestForm : public forms::Form {
public:
    explicit TestForm(forms::FormHost& host) : Form(host, "frmTest") {}
    forms::TextBox txtA{*this, "txtA"};
    forms::TextBox txtB{*this, "txtB"};
    forms::Slider Slider1{*this, "Slider1"};
    forms::CheckBox chk{*this, "chk"};
    forms::Frame frame{*this, "frame"};
    forms::OptionButton opt1{*this, "opt1"};
    forms::OptionButton opt2{*this, "opt2"};
    forms::OptionButton elsewhere{*this, "elsewhere"};
    forms::ProgressBar bar{*this, "bar"};
    forms::Timer Timer1{*this, "Timer1"};
    forms::MenuItem menu{*this, "menu", nullptr};
    forms::MenuItem item{*this, "item", &menu};
};

struct FormModel : ::testing::Test {
    fakes::FakeFormHost host;
    TestForm form{host};
    std::vector<std::string> events;
};

TEST_F(FormModel, SettingTheSameValueRaisesNothing) {
    form.txtA.Change = [&] { events.push_back("txtA"); };
    form.Slider1.Change = [&] { events.push_back("slider"); };
    form.chk.Click = [&] { events.push_back("chk"); };
    form.txtA.setText("");
    form.Slider1.setValue(0);
    form.chk.setValue(0);
    EXPECT_TRUE(events.empty());
    form.txtA.setText("5");
    form.txtA.setText("5");
    form.Slider1.setValue(3);
    form.Slider1.setValue(3);
    form.chk.setValue(1);
    form.chk.setValue(1);
    EXPECT_EQ(events, (std::vector<std::string>{"txtA", "slider", "chk"}));
}

TEST_F(FormModel, NestedChangeRunsBeforeTheOuterHandlerReturns) {
    form.txtA.Change = [&] {
        events.push_back("A begin " + form.txtA.text());
        if (form.txtA.text() == "bad") form.txtA.setText("1");
        events.push_back("A end " + form.txtA.text());
    };
    form.txtA.setText("bad");
    EXPECT_EQ(events, (std::vector<std::string>{"A begin bad", "A begin 1", "A end 1", "A end 1"}));
}

TEST_F(FormModel, UserChangesRaiseEventsButAreNotPushedBack) {
    form.load();
    auto* view = host.views.at(&form);
    form.txtA.Change = [&] { events.push_back("A"); };
    form.txtA.userSetText("typed");
    EXPECT_EQ(events, std::vector<std::string>{"A"});
    EXPECT_TRUE(view->changes.empty());
    form.txtA.setText("code");
    EXPECT_EQ(view->changes.size(), 1u);
}

TEST_F(FormModel, SliderValueStaysInsideItsRange) {
    form.Slider1.setMax(100);
    form.Slider1.setValue(500);
    EXPECT_EQ(form.Slider1.value(), 100);
    form.Slider1.setValue(-5);
    EXPECT_EQ(form.Slider1.value(), 0);
    form.Slider1.setValue(80);
    form.Slider1.setMax(50);
    EXPECT_EQ(form.Slider1.value(), 50);
}

TEST_F(FormModel, RangesPullTheValueAndTheOtherBoundAlong) {
    form.Slider1.Change = [&] { events.push_back("slider " + std::to_string(form.Slider1.value())); };
    form.Slider1.setMin(20);   // above the designed maximum of 10
    EXPECT_EQ(form.Slider1.max(), 20);
    EXPECT_EQ(form.Slider1.value(), 20);
    form.Slider1.setMax(5);
    EXPECT_EQ(form.Slider1.min(), 5);
    EXPECT_EQ(form.Slider1.value(), 5);
    EXPECT_EQ(events, (std::vector<std::string>{"slider 20", "slider 5"}));

    form.bar.setValue(150);
    EXPECT_EQ(form.bar.value(), 100);
    form.bar.setMax(40);
    EXPECT_EQ(form.bar.value(), 40);
    form.bar.setValue(-3);
    EXPECT_EQ(form.bar.value(), 0);
    form.bar.setMin(60);
    EXPECT_EQ(form.bar.max(), 60);
    EXPECT_EQ(form.bar.value(), 60);
}

TEST_F(FormModel, CheckBoxHoldsZeroOrOne) {
    form.chk.Click = [&] { events.push_back("chk"); };
    form.chk.setValue(5);
    EXPECT_EQ(form.chk.value(), 1);
    form.chk.setValue(7);
    form.chk.userSetValue(-1);
    EXPECT_EQ(events, std::vector<std::string>{"chk"});
}

TEST_F(FormModel, OptionButtonsOfOneContainerExcludeEachOther) {
    form.opt1.container = &form.frame;
    form.opt2.container = &form.frame;
    form.elsewhere.setValue(true);
    form.opt1.setValue(true);
    form.opt2.setValue(true);
    EXPECT_FALSE(form.opt1.value());
    EXPECT_TRUE(form.opt2.value());
    form.opt1.userSelect();
    EXPECT_TRUE(form.opt1.value());
    EXPECT_FALSE(form.opt2.value());
    EXPECT_TRUE(form.elsewhere.value());   // another container's option is left alone
}

TEST_F(FormModel, ASwitchedOffTimerRaisesNothingUntilSwitchedOnAgain) {
    form.load();
    auto* view = host.views.at(&form);
    int ticks = 0;
    form.Timer1.Tick = [&] { ++ticks; };
    form.Timer1.tick();
    EXPECT_EQ(ticks, 1);
    form.Timer1.setEnabled(false);
    form.Timer1.tick();
    form.Timer1.tick();
    EXPECT_EQ(ticks, 1);
    form.Timer1.setEnabled(true);
    form.Timer1.tick();
    EXPECT_EQ(ticks, 2);
    // The view is told each switch, so the native timer stops and starts with it.
    const std::string enabled = "Timer1." + std::to_string(static_cast<int>(forms::Property::Enabled));
    EXPECT_EQ(view->changes, (std::vector<std::string>{enabled, enabled}));
}

TEST_F(FormModel, AMenuItemClicksOnlyWhenVisibleAndEnabled) {
    int clicks = 0;
    form.item.Click = [&] { ++clicks; };
    form.item.setVisible(false);
    form.item.click();
    form.item.setVisible(true);
    form.item.setEnabled(false);
    form.item.click();
    EXPECT_EQ(clicks, 0);
    form.item.setEnabled(true);
    form.item.click();
    EXPECT_EQ(clicks, 1);
    EXPECT_FALSE(form.item.isSeparator());
    form.item.setCaption("-");
    EXPECT_TRUE(form.item.isSeparator());
}

TEST_F(FormModel, UnloadFromOwnHandlerLeavesTheModelUsable) {
    form.show();
    form.chk.Click = [&] { form.unload(); };
    form.chk.userSetValue(1);
    EXPECT_FALSE(form.loaded());
    EXPECT_FALSE(form.visible());
    form.show();   // loads afresh
    EXPECT_TRUE(form.loaded());
}

}  // namespace
