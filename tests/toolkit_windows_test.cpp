// What a user of the toolkit would see go wrong: a hover that never ends, the focus left on
// a disabled button, a button without its edge when the theme fails, a dialog off centre, a
// link that opens nothing. A recorder stands in for the shell, so that no browser starts.

#include "support/WizardTesting.h"
#include "toolkit/CHyperLink.h"
#include "toolkit/MWBaseDialog.h"
#include "toolkit/MWButtonXP.h"
#include "toolkit/ToolkitProcess.h"
#include "toolkit/VisualStyles.h"

#include <gtest/gtest.h>

#include <string>

using namespace testenv;

namespace {

const DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

// Entering asks to hear of the leave, which ends the hover; a drag from elsewhere does not
// make the button hot. A disabled button hands the focus on, at last to the parent.
TEST(Button, HoverTracksTheLeaveAndDisablingMovesTheFocusOn)
{
    TestWindow parent;
    MWButton button, other;
    ASSERT_TRUE(button.Create(0, "", kChild, {10, 10, 130, 50}, parent.get(), 1));
    ASSERT_TRUE(other.Create(0, "", kChild, {10, 60, 130, 100}, parent.get(), 2));
    const HWND window = button.GetHwnd();
    POINT point = {20, 15};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 15));
    EXPECT_FALSE(button.IsHot());
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    TRACKMOUSEEVENT track = {sizeof(track), TME_QUERY, nullptr, 0};
    TrackMouseEvent(&track);
    EXPECT_TRUE(button.IsHot() && track.hwndTrack == window && (track.dwFlags & TME_LEAVE));
    SendMessageA(window, WM_MOUSELEAVE, 0, 0);
    EXPECT_FALSE(button.IsHot());

    SetForegroundWindow(parent.get());
    SetFocus(window);
    EnableWindow(window, FALSE);
    EXPECT_EQ(other.GetHwnd(), GetFocus());
    EnableWindow(other.GetHwnd(), FALSE);
    EXPECT_EQ(parent.get(), GetFocus());
}

// The program runs themed, but the XP button's theme cannot be opened: it still has the
// classic edge, one pixel inward when focused, inside a black frame.
TEST(ButtonDrawing, ClassicEdgeWhenTheThemeCannotBeOpened)
{
    TestWindow parent;
    MWButtonXP xp;
    ASSERT_TRUE(xp.Create(0, "Send a file", kChild, {10, 10, 130, 50}, parent.get(), 1));
    using SetWindowThemeProc = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    reinterpret_cast<SetWindowThemeProc>(reinterpret_cast<void (*)()>(
        GetProcAddress(ThemeLibrary(), "SetWindowTheme")))(xp.GetHwnd(), L" ", L" ");
    ASSERT_TRUE(VisualStyles::IsAppThemed());
    ASSERT_EQ(nullptr, VisualStyles::OpenThemeData(xp.GetHwnd(), L"BUTTON"));
    xp.SetFlat(false, false);
    HDC screen = GetDC(nullptr), dc = CreateCompatibleDC(screen);
    HGDIOBJ old = SelectObject(dc, CreateCompatibleBitmap(screen, 120, 40));
    ReleaseDC(nullptr, screen);
    for (int focused : {0, 1}) {
        DRAWITEMSTRUCT item = {ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, UINT(focused ? ODS_FOCUS : 0),
                               xp.GetHwnd(), dc, {0, 0, 120, 40}, 0};
        SendMessageA(parent.get(), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
        EXPECT_EQ(focused == 1, GetPixel(dc, 0, 0) == 0 && GetPixel(dc, 119, 39) == 0);
        EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), GetPixel(dc, focused, 20));
        EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), GetPixel(dc, 119 - focused, 20));
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), GetPixel(dc, 60, 38 - focused));
    }
    DeleteObject(SelectObject(dc, old));
    DeleteDC(dc);
}

TEST(VisualStyles, AnEntryPointMissingFromTheLibraryFallsBackLikeAMissingLibrary)
{
    const FARPROC fallback = GetProcAddress(GetModuleHandleA("kernel32.dll"), "Sleep");
    EXPECT_EQ(fallback, ResolveThemeProc(nullptr, "OpenThemeData", fallback));
    EXPECT_EQ(fallback, ResolveThemeProc(GetModuleHandleA("kernel32.dll"), "OpenThemeData", fallback));
}

// Centred on a smaller owner, the half difference rounds down, not toward zero.
TEST(BaseDialog, CentresOnTheOwnerRoundingDown)
{
    const POINT smaller = CentredTopLeft({300, 200, 400, 280}, {0, 0, 201, 151});
    EXPECT_EQ(249, smaller.x);
    EXPECT_EQ(164, smaller.y);
    EXPECT_EQ(350, CentredTopLeft({300, 200, 500, 280}, {7, 7, 107, 27}).x);
}

std::vector<std::string> g_shellCalls;

BOOL WINAPI RecordShellOpen(SHELLEXECUTEINFOA* info)
{
    g_shellCalls.push_back(std::to_string(info->cbSize) + " " + info->lpVerb + " " + info->lpFile);
    return FALSE;  // a link counts as visited whatever the shell says
}

TEST(HyperLinkTest, ClickAndSpaceReleaseOpenTheTargetAndMarkTheLinkVisited)
{
    const CHyperLink::ShellOpenCall shell = CHyperLink::SetShellOpenCall(RecordShellOpen);
    CHyperLink first, second;
    const HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, nullptr, 0);
    ASSERT_TRUE(first.AttachDlgItem(dialog, IDC_ABOUT_PRODUCT_LINK, "file:///C:/kestrola/first.txt"));
    ASSERT_TRUE(second.AttachDlgItem(dialog, IDC_ABOUT_DESIGNER_LINK, "https://second.example/?a=1&b=2"));
    SendDlgItemMessageA(dialog, IDC_ABOUT_PRODUCT_LINK, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM('A')})  // no other key's release opens it
        SendDlgItemMessageA(dialog, IDC_ABOUT_DESIGNER_LINK, WM_KEYUP, key, 0);
    SendDlgItemMessageA(dialog, IDC_ABOUT_DESIGNER_LINK, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_TRUE(first.Visited() && !second.Visited());
    SendDlgItemMessageA(dialog, IDC_ABOUT_DESIGNER_LINK, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(second.Visited());
    DestroyWindow(dialog);
    CHyperLink::SetShellOpenCall(shell);
    EXPECT_EQ((std::vector<std::string>{"60 open file:///C:/kestrola/first.txt",
                                        "60 open https://second.example/?a=1&b=2"}),
              g_shellCalls);
}

}  // namespace
