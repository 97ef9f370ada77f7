// Binding of windows and dialogs to objects, and how MWButton behaves among its parent's
// messages, the pointer, the focus and the dialog manager.

#include "support/WindowTesting.h"
#include "toolkit/MWBaseDialog.h"
#include "toolkit/MWButton.h"
#include "toolkit/ToolkitProcess.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace testenv;

namespace {

const DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
const RECT kParentRect = {100, 100, 500, 400};
std::vector<std::string> g_events;

WNDPROC ProcOf(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongA(window, GWL_WNDPROC));
}
RECT At(int y)
{
    return {10, y, 130, y + 40};
}

LRESULT CALLBACK OriginalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCDESTROY)
        g_events.push_back(ProcOf(hwnd) == OriginalProc ? "original, restored" : "original");
    if (msg == WM_COMMAND)
        g_events.push_back(
            std::to_string(SendMessageA(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0)));
    if (msg == WM_DRAWITEM || msg == WM_CTLCOLORBTN)
        g_events.push_back("parent drawing");
    return msg == WM_APP ? 7 : DefWindowProcA(hwnd, msg, wParam, lParam);
}

class RecordingWindow : public MWBaseWindow {
public:
    LRESULT HandleMessage(HWND window, UINT msg, WPARAM, LPARAM, bool& handled) override
    {
        if (msg == WM_NCDESTROY)
            g_events.push_back(ProcOf(window) == BaseWindowProc ? "object, bound" : "object");
        handled = msg == WM_APP;
        return handled ? 42 : 0;
    }
    WNDPROC Previous() const { return previousWndProc; }
};

TEST(BaseWindow, AttachedWindowGetsItsProcedureBackAfterItsObjectHandledTheLastMessage)
{
    g_events.clear();
    TestWindow window(WS_POPUP, {0, 0, 50, 50}, nullptr, OriginalProc);
    RecordingWindow object;
    ASSERT_TRUE(object.Attach(window.get()));
    EXPECT_EQ(&object, GetPropA(window.get(), "Morrowick_WndBasePtr"));
    EXPECT_EQ(42, SendMessageA(window.get(), WM_APP, 0, 0));  // handled: the original never sees it
    const HWND handle = window.get();
    DestroyWindow(handle);
    EXPECT_EQ((std::vector<std::string>{"object, bound", "original, restored"}), g_events);
    EXPECT_EQ(nullptr, object.Previous());
    EXPECT_EQ(handle, object.GetHwnd());

    // Windows of the default class: the second Create finds the class registered.
    RecordingWindow first, second;
    EXPECT_TRUE(first.Create(0, "", WS_POPUP, {0, 0, 10, 10}, nullptr, 0));
    EXPECT_TRUE(second.Create(0, "", WS_POPUP, {0, 0, 10, 10}, nullptr, 0));
    EXPECT_EQ(&second, GetPropA(second.GetHwnd(), "Morrowick_WndBasePtr"));
}

class EndingDialog : public MWBaseDialog {
public:
    explicit EndingDialog(WPARAM command) : command_(command) {}
    bool DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg != WM_INITDIALOG)
            return MWBaseDialog::DialogProc(hwnd, msg, wParam, lParam);
        SetWindowPos(hwnd, nullptr, 0, 0, 201, 151, SWP_NOMOVE | SWP_NOZORDER);
        MWBaseDialog::DialogProc(hwnd, msg, wParam, lParam);
        GetWindowRect(hwnd, &placed);
        PostMessageA(hwnd, WM_COMMAND, 3, 0);  // neither OK nor Cancel: the dialog stays
        PostMessageA(hwnd, WM_COMMAND, command_, 0);
        return true;
    }
    INT_PTR Run(HWND owner)
    {
        std::vector<WORD> words(sizeof(DLGTEMPLATE) / sizeof(WORD) + 3, 0);
        auto* dialog = reinterpret_cast<DLGTEMPLATE*>(words.data());
        dialog->style = WS_POPUP | WS_CAPTION | DS_MODALFRAME;
        return DialogBoxIndirectParamA(GetModuleHandleA(nullptr), dialog, owner, BaseDialogProc,
                                       reinterpret_cast<LPARAM>(this));
    }
    RECT placed = {};

private:
    WPARAM command_;
};

TEST(BaseDialog, CentresOnScreenOrOwnerRoundingDownAndEndsWithOkOrCancel)
{
    EndingDialog alone(IDOK), owned(IDCANCEL);
    EXPECT_EQ(IDOK, alone.Run(nullptr));
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 201) / 2, alone.placed.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 151) / 2, alone.placed.top);
    TestWindow owner(WS_POPUP | WS_VISIBLE, {300, 200, 400, 280});
    EXPECT_EQ(IDCANCEL, owned.Run(owner.get()));
    EXPECT_EQ(249, owned.placed.left);  // 300 + (100 - 201) / 2 rounded down
    EXPECT_EQ(164, owned.placed.top);   // 200 + (80 - 151) / 2 rounded down
    EXPECT_EQ(-3, CentredTopLeft({0, 0, 0, 10}, {0, 0, 5, 10}).x);
    EXPECT_EQ(2, CentredTopLeft({0, 0, 10, 0}, {0, 0, 5, 0}).x);

    MWBaseDialog missing;  // no such template: DialogBoxParamA's failure comes back
    EXPECT_EQ(-1, missing.DoModal(29999, nullptr));
}

TEST(Button, ParentIsHookedOnceAndGetsItsProcedureBackWithItsLastButton)
{
    TestWindow parent(WS_POPUP | WS_VISIBLE, kParentRect, nullptr, OriginalProc);
    MWButton first, second;
    ASSERT_TRUE(first.Create(0, "1", kChild, At(10), parent.get(), 101));
    ASSERT_TRUE(second.Create(0, "2", kChild, At(60), parent.get(), 102));
    EXPECT_EQ(ButtonParentProc, ProcOf(parent.get()));
    EXPECT_EQ(2, ParentHookTable()[parent.get()].useCount);
    DestroyWindow(first.GetHwnd());
    EXPECT_EQ(ButtonParentProc, ProcOf(parent.get()));
    DestroyWindow(second.GetHwnd());
    EXPECT_EQ(7, CallWindowProcA(ProcOf(parent.get()), parent.get(), WM_APP, 0, 0));
    EXPECT_TRUE(ParentHookTable().empty());
    EXPECT_TRUE(ButtonRegistry().empty());

    // An object that goes before its window still leaves the parent as it was.
    auto early = std::make_unique<MWButton>();
    ASSERT_TRUE(early->Create(0, "3", kChild, At(110), parent.get(), 103));
    early.reset();
    EXPECT_EQ(OriginalProc, ProcOf(parent.get()));
    EXPECT_TRUE(ButtonRegistry().empty());
}

TEST(Button, ParentSeesClicksAfterTheButtonButNeverItsDrawing)
{
    TestWindow parent(WS_POPUP | WS_VISIBLE, kParentRect, nullptr, OriginalProc);
    MWButton check, push;
    ASSERT_TRUE(check.Create(0, "c", kChild | BS_AUTOCHECKBOX, At(10), parent.get(), 101));
    ASSERT_TRUE(push.Create(0, "p", kChild | BS_DEFPUSHBUTTON, At(60), parent.get(), 102));
    g_events.clear();
    SendMessageA(check.GetHwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ(check.GetHwnd(), GetFocus());
    SendMessageA(check.GetHwnd(), BM_CLICK, 0, 0);
    SendMessageA(push.GetHwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"1", "0", "0"}), g_events);  // the state after the click
    EXPECT_EQ(
        reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH)),
        SendMessageA(parent.get(), WM_CTLCOLORBTN, 0, reinterpret_cast<LPARAM>(push.GetHwnd())));
    Canvas canvas(20, 20, RGB(255, 0, 255));
    canvas.DrawButton(parent.get(), push.GetHwnd(), 0);
    EXPECT_EQ(GetSysColor(COLOR_BTNFACE), canvas.Pixel(10, 10));
    EXPECT_EQ(3u, g_events.size());

    const struct {
        WPARAM set;
        LRESULT read;
    } checks[] = {{1, 1}, {0, 0}, {2, 1}, {3, 0}};
    for (const auto& c : checks) {
        SendMessageA(check.GetHwnd(), BM_SETCHECK, c.set, 0);
        EXPECT_EQ(c.read, SendMessageA(check.GetHwnd(), BM_GETCHECK, 0, 0)) << c.set;
    }
    SendMessageA(push.GetHwnd(), BM_SETCHECK, 1, 0);  // outside check mode nothing changes
    EXPECT_EQ(0, SendMessageA(push.GetHwnd(), BM_GETCHECK, 0, 0));

    const LRESULT both = DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON;
    EXPECT_EQ(DLGC_DEFPUSHBUTTON, SendMessageA(push.GetHwnd(), WM_GETDLGCODE, 0, 0) & both);
    SendMessageA(push.GetHwnd(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(DLGC_UNDEFPUSHBUTTON, SendMessageA(push.GetHwnd(), WM_GETDLGCODE, 0, 0) & both);
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(push.GetHwnd(), GWL_STYLE) & 0xF);
}

// Puts the pointer on the button and tells it so, as the system would.
void MoveOnto(MWButton& button, WPARAM keys = 0)
{
    POINT point = {20, 15};
    ClientToScreen(button.GetHwnd(), &point);
    SetCursorPos(point.x, point.y);
    SendMessageA(button.GetHwnd(), WM_MOUSEMOVE, keys, MAKELPARAM(20, 15));
}

bool RepaintAsked(HWND window)
{
    RECT rect;
    const bool asked = GetUpdateRect(window, &rect, FALSE) != 0;
    ValidateRect(window, nullptr);
    return asked;
}

bool TracksLeaving(HWND window)
{
    TRACKMOUSEEVENT query = {sizeof(query), TME_QUERY, nullptr, 0};
    TrackMouseEvent(&query);
    return query.hwndTrack == window && (query.dwFlags & TME_LEAVE);
}

class CountingButton : public MWButton {
public:
    void DrawItem(const DRAWITEMSTRUCT& item) override { ++draws, MWButton::DrawItem(item); }
    int draws = 0;
};

TEST(Button, HoverRepaintsAndTracksOnceOnEnteringAndNotForADragFromElsewhere)
{
    TestWindow parent(WS_POPUP | WS_VISIBLE, kParentRect);
    CountingButton button;
    ASSERT_TRUE(button.Create(0, "", kChild, At(10), parent.get(), 101));
    const HWND window = button.GetHwnd();
    SetCursorPos(400, 300);
    PumpMessages();
    RepaintAsked(window);

    MoveOnto(button, MK_LBUTTON);
    EXPECT_FALSE(button.IsHot() || RepaintAsked(window) || TracksLeaving(window));
    MoveOnto(button);
    EXPECT_TRUE(button.IsHot() && RepaintAsked(window) && TracksLeaving(window));
    TRACKMOUSEEVENT cancel = {sizeof(cancel), TME_CANCEL | TME_LEAVE, window, 0};
    TrackMouseEvent(&cancel);
    MoveOnto(button);
    MoveOnto(button, MK_LBUTTON);
    EXPECT_TRUE(button.IsHot());
    EXPECT_FALSE(RepaintAsked(window) || TracksLeaving(window));

    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button.IsHot());
    MoveOnto(button);
    PumpMessages();
    const int drawsBefore = button.draws;
    SetCursorPos(400, 300);  // leaving: the system reports it and the button repaints
    EXPECT_TRUE(PumpUntil([&] { return !button.IsHot() && button.draws > drawsBefore; }));

    button.SetFlat(false, false);  // the classic look does not track the pointer
    MoveOnto(button);
    EXPECT_FALSE(button.IsHot());
}

TEST(Button, DisablingMovesTheFocusToTheNextTabItemAndEndsTheHover)
{
    TestWindow parent(WS_POPUP | WS_VISIBLE, kParentRect);
    MWButton first, second;
    ASSERT_TRUE(first.Create(0, "1", kChild, At(10), parent.get(), 101));
    ASSERT_TRUE(second.Create(0, "2", kChild, At(60), parent.get(), 102));
    SetForegroundWindow(parent.get());
    SetFocus(first.GetHwnd());
    MoveOnto(first);
    ASSERT_TRUE(first.IsHot());
    EnableWindow(first.GetHwnd(), FALSE);
    EXPECT_EQ(second.GetHwnd(), GetFocus());
    EXPECT_FALSE(first.IsHot());
    EnableWindow(second.GetHwnd(), FALSE);  // no enabled tab stop left: the parent
    EXPECT_EQ(parent.get(), GetFocus());
}

}  // namespace
