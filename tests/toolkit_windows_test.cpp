// Binding of windows and dialogs to objects, and how MWButton behaves among its parent's
// messages, the pointer, the focus and the dialog manager.

#include "resources/resource.h"
#include "support/WindowTesting.h"
#include "toolkit/MWBaseDialog.h"
#include "toolkit/MWButton.h"
#include "toolkit/ToolkitProcess.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testenv;

namespace {

std::vector<std::string> g_events;

LRESULT CALLBACK OriginalProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    if (msg == WM_NCDESTROY)
        g_events.push_back(WindowProcOf(hwnd) == OriginalProc ? "original, restored" : "original");
    if (msg == WM_COMMAND)
        g_events.push_back(
            std::to_string(SendMessageA(reinterpret_cast<HWND>(lParam), BM_GETCHECK, 0, 0)));
    return msg == WM_APP ? 7 : DefWindowProcA(hwnd, msg, wParam, lParam);
}

class RecordingWindow : public MWBaseWindow {
public:
    LRESULT HandleMessage(HWND window, UINT msg, WPARAM, LPARAM, bool&) override
    {
        if (msg == WM_NCDESTROY)
            g_events.push_back(WindowProcOf(window) == BaseWindowProc ? "object, bound" : "object");
        return 0;
    }
};

TEST(BaseWindow, AttachedWindowGetsItsProcedureBackAfterItsObjectHandledTheLastMessage)
{
    g_events.clear();
    TestWindow window(OriginalProc);
    RecordingWindow object;
    ASSERT_TRUE(object.Attach(window.get()));
    DestroyWindow(window.get());
    EXPECT_EQ((std::vector<std::string>{"object, bound", "original, restored"}), g_events);

    // Windows of the default class: the second Create finds the class registered.
    RecordingWindow first, second;
    EXPECT_TRUE(first.Create(0, "", WS_POPUP, {0, 0, 10, 10}, nullptr, 0));
    EXPECT_TRUE(second.Create(0, "", WS_POPUP, {0, 0, 10, 10}, nullptr, 0));
}

// Sized 201 x 151 before the base centres it, then told to end with `command`.
class EndingDialog : public MWBaseDialog {
public:
    explicit EndingDialog(WPARAM end) : command(end) {}
    bool DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override
    {
        if (msg != WM_INITDIALOG)
            return MWBaseDialog::DialogProc(hwnd, msg, wParam, lParam);
        SetWindowPos(hwnd, nullptr, 0, 0, 201, 151, SWP_NOMOVE | SWP_NOZORDER);
        MWBaseDialog::DialogProc(hwnd, msg, wParam, lParam);
        GetWindowRect(hwnd, &placed);
        PostMessageA(hwnd, WM_COMMAND, 3, 0);  // neither OK nor Cancel: the dialog stays
        PostMessageA(hwnd, WM_COMMAND, command, 0);
        return true;
    }
    WPARAM command;
    RECT placed = {};
};

TEST(BaseDialog, CentresOnScreenOrOwnerRoundingDownAndEndsWithOkOrCancel)
{
    EndingDialog alone(IDOK), owned(IDCANCEL);
    EXPECT_EQ(IDOK, alone.DoModal(IDD_CONFIGURE, nullptr));
    EXPECT_EQ((GetSystemMetrics(SM_CXSCREEN) - 201) / 2, alone.placed.left);
    EXPECT_EQ((GetSystemMetrics(SM_CYSCREEN) - 151) / 2, alone.placed.top);
    TestWindow owner(nullptr, {300, 200, 400, 280});
    EXPECT_EQ(IDCANCEL, owned.DoModal(IDD_CONFIGURE, owner.get()));
    EXPECT_EQ(249, owned.placed.left);  // 300 + (100 - 201) / 2 rounded down
    EXPECT_EQ(164, owned.placed.top);   // 200 + (80 - 151) / 2 rounded down
}

TEST(Button, HooksItsParentOnceAndAnswersItAndTheDialogManager)
{
    TestWindow parent(OriginalProc);
    MWButton check, push;
    ASSERT_TRUE(check.Create(0, "", kChild | BS_AUTOCHECKBOX, {10, 10, 130, 50}, parent.get(), 1));
    ASSERT_TRUE(push.Create(0, "", kChild | BS_DEFPUSHBUTTON, {10, 60, 130, 100}, parent.get(), 2));
    g_events.clear();
    SendMessageA(check.GetHwnd(), BM_CLICK, 0, 0);
    SendMessageA(check.GetHwnd(), BM_CLICK, 0, 0);
    EXPECT_EQ((std::vector<std::string>{"1", "0"}), g_events);  // the state after each click
    SendMessageA(check.GetHwnd(), BM_SETCHECK, BST_INDETERMINATE, 0);
    EXPECT_EQ(BST_CHECKED, SendMessageA(check.GetHwnd(), BM_GETCHECK, 0, 0));

    const LRESULT both = DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON;
    EXPECT_EQ(DLGC_DEFPUSHBUTTON, SendMessageA(push.GetHwnd(), WM_GETDLGCODE, 0, 0) & both);
    SendMessageA(push.GetHwnd(), BM_SETSTYLE, BS_PUSHBUTTON, TRUE);
    EXPECT_EQ(DLGC_UNDEFPUSHBUTTON, SendMessageA(push.GetHwnd(), WM_GETDLGCODE, 0, 0) & both);
    EXPECT_EQ(BS_OWNERDRAW, GetWindowLongA(push.GetHwnd(), GWL_STYLE) & 0xF);

    SetForegroundWindow(parent.get());
    SetFocus(check.GetHwnd());
    EnableWindow(check.GetHwnd(), FALSE);
    EXPECT_EQ(push.GetHwnd(), GetFocus());
    EnableWindow(push.GetHwnd(), FALSE);  // no enabled tab stop left: the parent
    EXPECT_EQ(parent.get(), GetFocus());

    DestroyWindow(check.GetHwnd());
    EXPECT_EQ(ButtonParentProc, WindowProcOf(parent.get()));
    DestroyWindow(push.GetHwnd());
    EXPECT_EQ(7, CallWindowProcA(WindowProcOf(parent.get()), parent.get(), WM_APP, 0, 0));
    {  // An object that goes before its window still leaves the parent as it was.
        MWButton early;
        ASSERT_TRUE(early.Create(0, "e", kChild, {10, 10, 130, 50}, parent.get(), 3));
    }
    EXPECT_EQ(OriginalProc, WindowProcOf(parent.get()));
    EXPECT_TRUE(ButtonRegistry().empty());
}

// How many of a repaint and a leave-tracking request the window made; both are then undone.
int Requests(HWND window)
{
    RECT rect;
    TRACKMOUSEEVENT track = {sizeof(track), TME_QUERY, nullptr, 0};
    TrackMouseEvent(&track);
    const int made = (GetUpdateRect(window, &rect, FALSE) ? 1 : 0) +
                     (track.hwndTrack == window && (track.dwFlags & TME_LEAVE) ? 1 : 0);
    ValidateRect(window, nullptr);
    track = {sizeof(track), TME_CANCEL | TME_LEAVE, window, 0};
    TrackMouseEvent(&track);
    return made;
}

TEST(Button, HoverRepaintsAndTracksOnceOnEnteringAndNotForADragFromElsewhere)
{
    TestWindow parent;
    MWButton button;
    ASSERT_TRUE(button.Create(0, "", kChild, {10, 10, 130, 50}, parent.get(), 1));
    const HWND window = button.GetHwnd();
    SetCursorPos(400, 300);
    Requests(window);
    MoveOnto(window, MK_LBUTTON);
    EXPECT_EQ(0, Requests(window));
    MoveOnto(window);
    EXPECT_TRUE(button.IsHot());
    EXPECT_EQ(2, Requests(window));
    MoveOnto(window);
    MoveOnto(window, MK_LBUTTON);
    EXPECT_EQ(0, Requests(window));
}

}  // namespace
