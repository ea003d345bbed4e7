// The form binder on real windows (under Wine in the cross build): a test form is loaded
// through the Windows toolkit, driven by the messages a user's keys, clicks and pointer
// would send, and read back from the native controls.
#ifdef _WIN32
#include <gtest/gtest.h>

#include <windows.h>
// After <windows.h>.
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "case_trace.h"
#include "forms/Form.h"
#include "win32/Dpi.h"
#include "win32/FormWindow.h"
#include "win32/Win32FormHost.h"

namespace {

using tarvesk::FormWindow;

class TestForm : public forms::Form {
public:
    explicit TestForm(forms::FormHost& host) : Form(host, "frmTest") {
        setCaption("Binder test");
        bounds = {1500, 1500, 4800, 3300};
        label.setCaption("A label");
        label.bounds = {120, 120, 2400, 255};
        slider.bounds = {120, 480, 3000, 375};
        slider.setMax(100);
        bar.bounds = {120, 960, 1500, 255};
        first.bounds = {120, 1320, 1500, 285};
        second.bounds = {1800, 1320, 1500, 285};
        box.setCaption("A box");
        box.setToolTip("Needs rights");
        box.bounds = {120, 1800, 2400, 255};
        ok.setCaption("OK");
        ok.isDefault = true;
        ok.bounds = {120, 2400, 1095, 375};
        cancel.setCaption("Cancel");
        cancel.isCancel = true;
        cancel.bounds = {1320, 2400, 1095, 375};
        file.setCaption("&File");
        open.setCaption("&Open");
        hidden.setCaption("&Hidden");
        separator.setCaption("-");
        quit.setCaption("&Quit");
        view.setCaption("&View");
        zoom.setCaption("&Zoom");
        for (forms::MenuItem* item : {&open, &hidden, &quit, &zoom})
            item->Click = [this, item] { clicked.push_back(item->name()); };
        ok.Click = [this] { clicked.push_back("ok"); };
        cancel.Click = [this] { clicked.push_back("cancel"); };
        slider.Change = [this] { changes.push_back(slider.value()); };
    }

    // In creation order: control ids 100, 101, ...
    forms::Label label{*this, "label"};
    forms::Slider slider{*this, "slider"};
    forms::ProgressBar bar{*this, "bar"};
    forms::TextBox first{*this, "first"};
    forms::TextBox second{*this, "second"};
    forms::CheckBox box{*this, "box"};
    forms::CommandButton ok{*this, "ok"};
    forms::CommandButton cancel{*this, "cancel"};
    // Menu tree: command ids 1000 (file), 1001 (open), 1002 (hidden), ...
    forms::MenuItem file{*this, "file", nullptr};
    forms::MenuItem open{*this, "open", &file};
    forms::MenuItem hidden{*this, "hidden", &file};
    forms::MenuItem separator{*this, "separator", &file};
    forms::MenuItem quit{*this, "quit", &file};
    forms::MenuItem view{*this, "view", nullptr};
    forms::MenuItem zoom{*this, "zoom", &view};

    void Form_MouseMove(int, int, float x, float) override { mouseX = x; }
    void Form_Unload() override { ++unloads; }

    std::vector<std::string> clicked;
    std::vector<int> changes;
    float mouseX = -1;
    int unloads = 0;
};

// Runs every message that is waiting, as the message loop would.
void Pump() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

// Pumps messages until `done` holds; false after the bound (never a timing assertion).
bool PumpUntil(const std::function<bool()>& done, DWORD boundMs = 20000) {
    DWORD start = GetTickCount();
    while (!done()) {
        if (GetTickCount() - start > boundMs) return false;
        Pump();
        Sleep(10);
    }
    return true;
}

class Binder : public ::testing::Test {
protected:
    void SetUp() override {
        form.load();
        window = reinterpret_cast<HWND>(form.hWnd());
        ASSERT_NE(window, nullptr);
        Pump();
    }
    HWND Native(const forms::Control& control) {
        const auto& controls = form.controls();
        for (std::size_t i = 0; i < controls.size(); ++i)
            if (controls[i] == &control)
                return GetDlgItem(window, FormWindow::kFirstControlId + static_cast<int>(i));
        return nullptr;
    }
    // The captions of a menu's items, "-" for a separator, with their command ids.
    std::vector<std::pair<std::string, UINT>> MenuItems(HMENU menu) {
        std::vector<std::pair<std::string, UINT>> items;
        for (int i = 0; i < GetMenuItemCount(menu); ++i) {
            char text[64] = {};
            GetMenuStringA(menu, static_cast<UINT>(i), text, sizeof text, MF_BYPOSITION);
            UINT id = GetMenuItemID(menu, i);
            items.emplace_back(text[0] ? text : "-", id);
        }
        return items;
    }

    tarvesk::Win32FormHost host{GetModuleHandleA(nullptr)};
    TestForm form{host};
    HWND window = nullptr;
};

TEST_F(Binder, ProgressBarIsSentOnlyValuesThatMoveItsFillByAPixel) {
    HWND bar = Native(form.bar);
    RECT client{};
    GetClientRect(bar, &client);
    const int pixels = client.right;   // the fill's width when full
    ASSERT_GT(pixels, 10);
    form.bar.setMax(static_cast<float>(pixels) * 100);   // a hundred units to a pixel

    form.bar.setValue(50);   // half a pixel: nothing to draw
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
    form.bar.setValue(150);   // the fill moves by one pixel
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 150);
    form.bar.setValue(199);   // still that pixel
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 150);
    form.bar.setValue(form.bar.max());   // the ends are always drawn
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), pixels * 100);
    form.bar.setValue(1);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 1);   // far from the last drawn pixel
    form.bar.setValue(0);
    EXPECT_EQ(SendMessageA(bar, PBM_GETPOS, 0, 0), 0);
}

TEST_F(Binder, MenuCommandIdsFollowTheTreeAndSurviveRebuilding) {
    using Items = std::vector<std::pair<std::string, UINT>>;
    HMENU bar = GetMenu(window);
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(MenuItems(GetSubMenu(bar, 0)),
              (Items{{"&Open", 1001}, {"&Hidden", 1002}, {"-", 0}, {"&Quit", 1004}}));
    EXPECT_EQ(MenuItems(GetSubMenu(bar, 1)), (Items{{"&Zoom", 1006}}));

    form.hidden.setVisible(false);   // rebuilds the menus
    bar = GetMenu(window);
    EXPECT_EQ(MenuItems(GetSubMenu(bar, 0)), (Items{{"&Open", 1001}, {"-", 0}, {"&Quit", 1004}}));
    form.quit.setChecked(true);
    EXPECT_EQ(GetMenuState(bar, 1004, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));

    for (UINT id : {1004u, 1002u, 1006u, 1001u, 999u, 1007u}) SendMessageA(window, WM_COMMAND, id, 0);
    // A hidden item does nothing; ids outside the tree name nothing.
    EXPECT_EQ(form.clicked, (std::vector<std::string>{"quit", "zoom", "open"}));

    form.view.setVisible(false);
    form.hidden.setVisible(true);
    bar = GetMenu(window);
    EXPECT_EQ(GetMenuItemCount(bar), 1);
    EXPECT_EQ(MenuItems(GetSubMenu(bar, 0)),
              (Items{{"&Open", 1001}, {"&Hidden", 1002}, {"-", 0}, {"&Quit", 1004}}));
    EXPECT_EQ(GetMenuState(bar, 1004, MF_BYCOMMAND) & MF_CHECKED, static_cast<UINT>(MF_CHECKED));
}

TEST_F(Binder, EnterPressesTheDefaultButtonAndEscTheCancelButton) {
    EXPECT_EQ(GetWindowLongA(Native(form.ok), GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
    EXPECT_EQ(LOWORD(SendMessageA(window, DM_GETDEFID, 0, 0)), 106);
    auto press = [&](WPARAM key) {
        MSG msg{Native(form.first), WM_KEYDOWN, key, 0, 0, {}};
        EXPECT_TRUE(IsDialogMessageA(window, &msg));   // as the message loop hands it over
    };
    press(VK_RETURN);
    press(VK_ESCAPE);
    EXPECT_EQ(form.clicked, (std::vector<std::string>{"ok", "cancel"}));

    form.ok.setEnabled(false);
    form.cancel.setEnabled(false);
    form.clicked.clear();
    SendMessageA(window, WM_COMMAND, IDOK, 0);
    SendMessageA(window, WM_COMMAND, IDCANCEL, 0);
    EXPECT_TRUE(form.clicked.empty());
}

// Answers a message box of this thread: a timer that runs inside the box's modal loop.
void CALLBACK AnswerMessageBox(HWND, UINT, UINT_PTR, DWORD) {
    HWND box = GetActiveWindow();
    char name[16] = {};
    GetClassNameA(box, name, sizeof name);
    if (std::string(name) == "#32770") PostMessageA(box, WM_COMMAND, IDOK, 0);
}

TEST_F(Binder, FocusGoesBackToTheControlThatHadItAfterAMessageBox) {
    form.show();
    HWND second = Native(form.second);
    SetFocus(second);
    ASSERT_EQ(GetFocus(), second);
    UINT_PTR timer = SetTimer(nullptr, 0, 100, &AnswerMessageBox);
    MessageBoxA(window, "Message", "Error", MB_OK | MB_ICONSTOP);
    KillTimer(nullptr, timer);
    Pump();
    EXPECT_EQ(GetFocus(), second);
}

// What the pop-up test's timer saw and does while the menu is open.
struct PopupProbe {
    static inline HMENU menu = nullptr;
    static inline UINT defaultWhileOpen = 0;
    static inline std::function<void()> whileOpen;
    static void CALLBACK Timer(HWND, UINT, UINT_PTR id, DWORD) {
        KillTimer(nullptr, id);
        defaultWhileOpen = GetMenuDefaultItem(menu, FALSE, 0);
        if (whileOpen) whileOpen();
        EndMenu();
    }
};

TEST_F(Binder, PopupMenuShowsItsDefaultItemOnlyWhileOpen) {
    form.show();
    PopupProbe::menu = GetSubMenu(GetMenu(window), 0);
    PopupProbe::whileOpen = nullptr;
    SetTimer(nullptr, 0, 200, &PopupProbe::Timer);
    form.popupMenu(form.file, &form.open);
    EXPECT_EQ(PopupProbe::defaultWhileOpen, 1001u);
    // The same menu drops down from the menu bar, where no item is bold.
    EXPECT_EQ(GetMenuDefaultItem(GetSubMenu(GetMenu(window), 0), FALSE, 0), static_cast<UINT>(-1));
}

TEST_F(Binder, PopupMenuSurvivesItsMenusOrItsFormGoingWhileOpen) {
    form.show();
    // A handler run inside the menu's loop rebuilds the menus: the pop-up is destroyed.
    PopupProbe::menu = GetSubMenu(GetMenu(window), 0);
    PopupProbe::whileOpen = [this] { form.hidden.setVisible(false); };
    SetTimer(nullptr, 0, 200, &PopupProbe::Timer);
    form.popupMenu(form.file, &form.open);
    EXPECT_FALSE(IsMenu(PopupProbe::menu));
    EXPECT_EQ(GetMenuDefaultItem(GetSubMenu(GetMenu(window), 0), FALSE, 0), static_cast<UINT>(-1));

    // One unloads the form: its window and the object behind it are gone.
    PopupProbe::menu = GetSubMenu(GetMenu(window), 0);
    PopupProbe::whileOpen = [this] { form.unload(); };
    SetTimer(nullptr, 0, 200, &PopupProbe::Timer);
    form.popupMenu(form.file, &form.open);
    Pump();
    EXPECT_FALSE(form.loaded());
    EXPECT_FALSE(IsWindow(window));
    PopupProbe::whileOpen = nullptr;
}

TEST_F(Binder, SliderChangesOncePerKeyStepChannelClickOrThumbRelease) {
    HWND slider = Native(form.slider);
    SendMessageA(slider, WM_KEYDOWN, VK_RIGHT, 0);
    SendMessageA(slider, WM_KEYUP, VK_RIGHT, 0);
    EXPECT_EQ(form.changes, std::vector<int>{1});

    // A drag: pressed on the thumb, moved to three places, let go at the last.
    RECT thumb{};
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    int x = (thumb.left + thumb.right) / 2, y = (thumb.top + thumb.bottom) / 2;
    SendMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(x, y));
    for (int dx : {20, 40, 60}) SendMessageA(slider, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(x + dx, y));
    int dropped = static_cast<int>(SendMessageA(slider, TBM_GETPOS, 0, 0));
    EXPECT_GT(dropped, 1);                                 // the thumb follows the pointer ...
    EXPECT_EQ(form.changes, std::vector<int>{1});          // ... but nothing has changed yet
    SendMessageA(slider, WM_LBUTTONUP, 0, MAKELPARAM(x + 60, y));
    EXPECT_EQ(form.changes, (std::vector<int>{1, dropped}));
    EXPECT_EQ(form.slider.value(), dropped);

    // A click on the channel right of the thumb is a page up.
    SendMessageA(slider, TBM_GETTHUMBRECT, 0, reinterpret_cast<LPARAM>(&thumb));
    RECT client{};
    GetClientRect(slider, &client);
    SendMessageA(slider, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM((thumb.right + client.right) / 2, y));
    SendMessageA(slider, WM_LBUTTONUP, 0, MAKELPARAM((thumb.right + client.right) / 2, y));
    EXPECT_EQ(form.changes, (std::vector<int>{1, dropped, dropped + form.slider.largeChange}));
}

TEST_F(Binder, TextBoxesTakeTextOfAnyLength) {
    HWND edit = Native(form.first);
    std::string text(40000, '7');   // more than the edit control's default limit
    SendMessageA(edit, EM_SETSEL, 0, -1);
    SendMessageA(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(text.c_str()));   // a paste
    EXPECT_EQ(form.first.text().size(), text.size());
    form.second.setText(text);
    EXPECT_EQ(GetWindowTextLengthA(Native(form.second)), 40000);
}

// Counts the messages that set a control's caption or value, sent on this thread.
struct SetterCount {
    static inline int count = 0;
    static LRESULT CALLBACK Hook(int code, WPARAM wParam, LPARAM lParam) {
        const auto& message = *reinterpret_cast<const CWPSTRUCT*>(lParam);
        switch (message.message) {
        case WM_SETTEXT:
        case TBM_SETPOS:
        case PBM_SETPOS:
        case BM_SETCHECK:
            ++count;
            break;
        default:
            break;
        }
        return CallNextHookEx(nullptr, code, wParam, lParam);
    }
};

TEST_F(Binder, WhatAControlAlreadyShowsIsNotSentAgain) {
    // The controls show the new values already (set behind the model's back); the model
    // then takes the same values.
    SetWindowTextA(Native(form.label), "Shown");
    SetWindowTextA(window, "Shown title");
    SetWindowTextA(Native(form.first), "typed");
    SendMessageA(Native(form.slider), TBM_SETPOS, TRUE, 40);
    SendMessageA(Native(form.bar), PBM_SETPOS, 100, 0);
    SendMessageA(Native(form.box), BM_SETCHECK, BST_CHECKED, 0);
    HHOOK hook = SetWindowsHookExA(WH_CALLWNDPROC, &SetterCount::Hook, nullptr, GetCurrentThreadId());
    ASSERT_NE(hook, nullptr);
    SetterCount::count = 0;
    form.label.setCaption("Shown");
    form.setCaption("Shown title");
    form.first.setText("typed");
    form.slider.setValue(40);
    form.bar.setValue(100);
    form.box.setValue(1);
    int sentForShownValues = SetterCount::count;
    form.label.setCaption("New");   // a new caption is sent
    form.slider.setValue(41);
    int sentForNewValues = SetterCount::count - sentForShownValues;
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(sentForShownValues, 0);
    EXPECT_EQ(sentForNewValues, 2);
    EXPECT_EQ(form.changes, (std::vector<int>{40, 41}));
}

TEST_F(Binder, CloseAndTheEndOfTheSessionUnloadTheForm) {
    SendMessageA(window, WM_ENDSESSION, FALSE, 0);   // the session goes on
    EXPECT_TRUE(form.loaded());
    SendMessageA(window, WM_ENDSESSION, TRUE, 0);
    EXPECT_EQ(form.unloads, 1);
    EXPECT_FALSE(form.loaded());
    EXPECT_FALSE(IsWindow(window));

    form.load();
    SendMessageA(reinterpret_cast<HWND>(form.hWnd()), WM_CLOSE, 0, 0);
    EXPECT_EQ(form.unloads, 2);
    EXPECT_FALSE(form.loaded());
}

// Whether the tooltip window the form keeps for its controls shows the tip of `control`.
bool ToolTipShownFor(HWND form, HWND control) {
    for (HWND tip = FindWindowExA(nullptr, nullptr, TOOLTIPS_CLASSA, nullptr); tip;
         tip = FindWindowExA(nullptr, tip, TOOLTIPS_CLASSA, nullptr)) {
        if (GetWindow(tip, GW_OWNER) != form || !IsWindowVisible(tip)) continue;
        TOOLINFOA tool{};
        tool.cbSize = TTTOOLINFOA_V2_SIZE;
        if (SendMessageA(tip, TTM_GETCURRENTTOOLA, 0, reinterpret_cast<LPARAM>(&tool)) &&
            tool.uId == reinterpret_cast<UINT_PTR>(control))
            return true;
    }
    return false;
}

TEST_F(Binder, ToolTipShowsWhenThePointerRestsOnAControlEnabledOrNot) {
    form.show();
    HWND box = Native(form.box);
    for (bool enabled : {false, true}) {
        CASE_TRACE(enabled ? "enabled" : "disabled");
        form.box.setEnabled(enabled);
        ASSERT_EQ(IsWindowEnabled(box) != FALSE, enabled);
        // Away, then onto the box, where the pointer rests.
        SetCursorPos(0, 0);
        Pump();
        RECT r{};
        GetWindowRect(box, &r);
        SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
        EXPECT_TRUE(PumpUntil([&] { return ToolTipShownFor(window, box); }));
    }
}

TEST_F(Binder, NewDpiLaysTheWindowOutAgainWithALargerFont) {
    const int dpi = tarvesk::dpi::ForWindow(window);
    auto placeOf = [&](HWND control) {
        RECT r{};
        GetWindowRect(control, &r);
        MapWindowPoints(nullptr, window, reinterpret_cast<POINT*>(&r), 2);
        return r;
    };
    auto fontHeight = [&] {
        LOGFONTA font{};
        GetObjectA(reinterpret_cast<HFONT>(SendMessageA(Native(form.ok), WM_GETFONT, 0, 0)),
                   sizeof font, &font);
        return font.lfHeight < 0 ? -font.lfHeight : font.lfHeight;
    };
    RECT client{};
    GetClientRect(window, &client);
    ASSERT_EQ(client.right, MulDiv(4800, dpi, 1440));
    const long before = fontHeight();

    const int twice = dpi * 2;
    RECT suggested{100, 120, 900, 700};
    SendMessageA(window, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(twice, twice),
                 reinterpret_cast<LPARAM>(&suggested));
    // The window goes where suggested, at the design's size for the new DPI with its frame
    // at that DPI (here the system draws the frame as before, so only the outer size is sure).
    RECT frame{0, 0, MulDiv(4800, twice, 1440), MulDiv(3300, twice, 1440)};
    tarvesk::dpi::AdjustWindowRect(frame, static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE)), true,
                                   static_cast<DWORD>(GetWindowLongA(window, GWL_EXSTYLE)), twice);
    RECT outer{};
    GetWindowRect(window, &outer);
    EXPECT_EQ(outer.left, 100);
    EXPECT_EQ(outer.top, 120);
    EXPECT_EQ(outer.right - outer.left, frame.right - frame.left);
    EXPECT_EQ(outer.bottom - outer.top, frame.bottom - frame.top);
    // Asked for its size at a DPI before it moves there, the window gives the same.
    SIZE asked{};
    EXPECT_TRUE(SendMessageA(window, 0x02E4 /* WM_GETDPISCALEDSIZE */, twice, reinterpret_cast<LPARAM>(&asked)));
    EXPECT_EQ(asked.cx, outer.right - outer.left);
    EXPECT_EQ(asked.cy, outer.bottom - outer.top);
    RECT ok = placeOf(Native(form.ok));
    EXPECT_EQ(ok.left, MulDiv(120, twice, 1440));
    EXPECT_EQ(ok.top, MulDiv(2400, twice, 1440));
    EXPECT_EQ(ok.right - ok.left, MulDiv(1095, twice, 1440));
    EXPECT_EQ(ok.bottom - ok.top, MulDiv(375, twice, 1440));
    EXPECT_GT(fontHeight(), before * 3 / 2);

    // Mouse positions still reach the form in the screen's twips, which give the pixel back.
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(0x205, 0));
    EXPECT_FLOAT_EQ(form.mouseX / static_cast<float>(host.twipsPerPixelX()), 517.0f);
}

}  // namespace
#endif
