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

TEST_F(FormModel, OptionButtonsOfOneContainerExcludeEachOther) {
    form.opt1.container = &form.frame;
    form.opt2.container = &form.frame;
    form.opt1.setValue(true);
    form.opt2.setValue(true);
    EXPECT_FALSE(form.opt1.value());
    EXPECT_TRUE(form.opt2.value());
    form.opt1.userSelect();
    EXPECT_TRUE(form.opt1.value());
    EXPECT_FALSE(form.opt2.value());
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
