// Links made from the real static controls of a modeless dialog (the About box's template
// with a procedure of the test's own).
#include "resources/resource.h"
#include "support/LinkTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <numeric>
#include <string>
#include <vector>

using namespace testenv;

namespace {

constexpr int kFirst = IDC_ABOUT_PRODUCT_LINK, kSecond = IDC_ABOUT_DESIGNER_LINK;
WNDPROC g_procAtDestroy = nullptr;  // what the dialog's own procedure saw at WM_DESTROY
HANDLE g_propAtDestroy = nullptr;

INT_PTR CALLBACK TestDialogProc(HWND dialog, UINT message, WPARAM, LPARAM)
{
    if (message == WM_DESTROY) {
        g_procAtDestroy = WindowProcOf(dialog);
        g_propAtDestroy = GetPropA(dialog, MAKEINTATOM(CHyperLink::PropertyAtom()));
    }
    return FALSE;
}

HWND OpenDialog()
{
    HWND dialog = CreateDialogParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), nullptr,
                                     TestDialogProc, 0);
    ShowWindow(dialog, SW_SHOW);
    UpdateWindow(dialog);
    return dialog;
}

HFONT FontOf(HWND control) { return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)); }

LOGFONTA Describe(HGDIOBJ font)
{
    LOGFONTA description = {};
    GetObjectA(font, sizeof description, &description);
    return description;
}

void MoveOver(HWND control, int x, int y)
{
    SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(static_cast<WORD>(x), static_cast<WORD>(y)));
}

// The text colour the dialog sets for a control; the brush it answers with.
COLORREF TextColourFor(HWND dialog, HWND control, LRESULT* brush = nullptr)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    const LRESULT result = SendMessageA(dialog, WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                                        reinterpret_cast<LPARAM>(control));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    if (brush)
        *brush = result;
    return colour;
}

class HyperLinkTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, dialog); }
    void TearDown() override
    {
        ReleaseCapture();
        DestroyWindow(dialog);
        EXPECT_EQ(0, CHyperLink::AttachedCount());
        EXPECT_EQ(nullptr, CHyperLink::HoverFont());
    }
    HWND Item(int id) const { return GetDlgItem(dialog, id); }

    CHyperLink first, second;  // declared first: links outlive their controls
    HWND dialog = OpenDialog();
};

TEST_F(HyperLinkTest, TwoLinksHookTheParentOnceAndEachDestroyPutsItsWindowBack)
{
    const WNDPROC dialogProc = WindowProcOf(dialog), staticProc = WindowProcOf(Item(kFirst));
    const HFONT dialogFont = FontOf(Item(kFirst));
    LRESULT plainBrush = 0, linkBrush = 0;
    TextColourFor(dialog, Item(IDC_ABOUT_PICTURE), &plainBrush);

    ASSERT_TRUE(first.AttachDlgItem(dialog, kFirst, "https://first.example/"));
    ASSERT_TRUE(second.AttachDlgItem(dialog, kSecond, "https://second.example/"));
    EXPECT_EQ(CHyperLink::HyperlinkParentProc, WindowProcOf(dialog));
    EXPECT_EQ(reinterpret_cast<HANDLE>(dialogProc), GetPropA(dialog, MAKEINTATOM(CHyperLink::PropertyAtom())));
    EXPECT_EQ(CHyperLink::HyperlinkProc, WindowProcOf(Item(kSecond)));
    EXPECT_TRUE(GetWindowLongPtrA(Item(kSecond), GWL_STYLE) & SS_NOTIFY);
    EXPECT_EQ(&second, LinkObjectOf(Item(kSecond)));
    EXPECT_EQ(2, CHyperLink::AttachedCount());
    EXPECT_EQ(LoadCursorA(nullptr, IDC_HAND), CHyperLink::HoverCursor());

    // Links are blue on the dialog's own brush; other statics keep their colour.
    EXPECT_EQ(CHyperLink::LinkColor, TextColourFor(dialog, Item(kFirst), &linkBrush));
    EXPECT_EQ(plainBrush, linkBrush);
    EXPECT_NE(CHyperLink::LinkColor, TextColourFor(dialog, Item(IDC_ABOUT_PICTURE)));

    // A link's WM_DESTROY, even while hovering, gives back the procedure and the font.
    const HFONT hoverFont = CHyperLink::HoverFont();
    MoveOver(Item(kFirst), 2, 2);
    ASSERT_EQ(hoverFont, FontOf(Item(kFirst)));
    SendMessageA(Item(kFirst), WM_DESTROY, 0, 0);
    EXPECT_EQ(staticProc, WindowProcOf(Item(kFirst)));
    EXPECT_EQ(dialogFont, FontOf(Item(kFirst)));
    EXPECT_EQ(nullptr, LinkObjectOf(Item(kFirst)));
    EXPECT_EQ(1, CHyperLink::AttachedCount());
    EXPECT_EQ(OBJ_FONT, GetObjectType(hoverFont)) << "the second link still uses it";

    // The dialog is unhooked before its own procedure sees WM_DESTROY; the last link's end
    // deletes the shared font, and the next attachment makes a new one.
    DestroyWindow(dialog);
    EXPECT_EQ(dialogProc, g_procAtDestroy);
    EXPECT_EQ(nullptr, g_propAtDestroy);
    EXPECT_EQ(0u, GetObjectType(hoverFont));
    EXPECT_EQ(nullptr, CHyperLink::HoverCursor());
    dialog = OpenDialog();
    ASSERT_TRUE(first.AttachDlgItem(dialog, kFirst, "https://first.example/"));
    EXPECT_EQ(OBJ_FONT, GetObjectType(CHyperLink::HoverFont()));
}

TEST_F(HyperLinkTest, HoverShowsTheSharedUnderlinedFontUntilTheCaptureIsLost)
{
    const HWND link = Item(kFirst);
    const HFONT ownFont = FontOf(link);
    ASSERT_TRUE(first.Attach(link, "https://first.example/"));
    ASSERT_TRUE(second.Attach(Item(kSecond), "https://second.example/"));
    const LOGFONTA own = Describe(ownFont), hover = Describe(CHyperLink::HoverFont());
    EXPECT_EQ(1, hover.lfUnderline);
    EXPECT_STREQ(own.lfFaceName, hover.lfFaceName);
    EXPECT_EQ(own.lfHeight, hover.lfHeight);

    RECT client = {};
    GetClientRect(link, &client);
    const struct {
        int x, y;
        bool hovering;
    } moves[] = {{3, 3, true}, {4, 3, true}, {client.right + 2, 3, false}, {3, 3, true}, {3, -2, false}};
    for (const auto& move : moves) {
        ValidateRect(link, nullptr);
        MoveOver(link, move.x, move.y);
        EXPECT_EQ(move.hovering ? CHyperLink::HoverFont() : ownFont, FontOf(link)) << move.x << "," << move.y;
        EXPECT_EQ(move.hovering ? link : nullptr, GetCapture()) << move.x << "," << move.y;
    }
    EXPECT_TRUE(GetUpdateRect(link, nullptr, FALSE)) << "the change is repainted";

    // Any loss of the capture ends the hover; the other link shares the font.
    MoveOver(link, 3, 3);
    SetCapture(dialog);
    EXPECT_EQ(ownFont, FontOf(link));
    MoveOver(Item(kSecond), 3, 3);
    EXPECT_EQ(CHyperLink::HoverFont(), FontOf(Item(kSecond)));
    EXPECT_EQ(CHyperLink::LinkColor, TextColourFor(dialog, Item(kSecond)));
}

TEST_F(HyperLinkTest, ClickAndSpaceReleaseOpenTheTargetAndMarkTheLinkVisited)
{
    ShellOpenRecorder shell(FALSE);  // even when the shell fails
    ASSERT_TRUE(first.AttachDlgItem(dialog, kFirst, "file:///C:/kestrola/first.txt"));
    ASSERT_TRUE(second.AttachDlgItem(dialog, kSecond, "https://second.example/?a=1&b=2"));
    SendMessageA(Item(kFirst), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(2, 2));
    EXPECT_FALSE(first.Visited());
    SendMessageA(Item(kFirst), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(first.Visited());
    EXPECT_EQ(CHyperLink::VisitedLinkColor, TextColourFor(dialog, Item(kFirst)));

    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM('A')})
        SendMessageA(Item(kSecond), WM_KEYUP, key, 0);
    SendMessageA(Item(kSecond), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(second.Visited());
    SendMessageA(Item(kSecond), WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(second.Visited());
    EXPECT_EQ((std::vector<std::string>{"60 0 open 1 file:///C:/kestrola/first.txt",
                                        "60 0 open 1 https://second.example/?a=1&b=2"}),
              shell.Calls());

    SetCursor(nullptr);
    EXPECT_EQ(TRUE, SendMessageA(Item(kSecond), WM_SETCURSOR, 0, MAKELPARAM(HTCLIENT, WM_MOUSEMOVE)));
    EXPECT_EQ(CHyperLink::HoverCursor(), GetCursor());
}

TEST_F(HyperLinkTest, FocusDrawsADottedFrameOnTheParentAndTakesItAway)
{
    ASSERT_TRUE(first.AttachDlgItem(dialog, kFirst, "https://first.example/"));
    SetFocus(Item(IDOK));
    RECT frame = {};
    GetWindowRect(Item(kFirst), &frame);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&frame), 2);
    auto rowAbove = [&] {
        std::vector<COLORREF> row;
        HDC dc = GetDC(dialog);
        for (int x = frame.left - 1; x <= frame.right; ++x)
            row.push_back(GetPixel(dc, x, frame.top - 1));
        ReleaseDC(dialog, dc);
        return row;
    };
    const std::vector<COLORREF> before = rowAbove();
    SetFocus(Item(kFirst));
    const std::vector<COLORREF> focused = rowAbove();
    EXPECT_GT(std::inner_product(before.begin(), before.end(), focused.begin(), 0, std::plus<>(),
                                 std::not_equal_to<>()),
              static_cast<int>(before.size()) / 4);
    SetFocus(Item(IDOK));
    EXPECT_EQ(before, rowAbove());
}

// Cases a careless owner could bring about.
TEST_F(HyperLinkTest, FontlessMissingAndDoubleAttachedControlsAndADestroyWhileHovering)
{
    // A control with no font hovers in the underlined GUI font and goes back to none.
    HWND bare = CreateWindowExA(0, "STATIC", "bare", WS_CHILD | WS_VISIBLE, 5, 5, 80, 16, dialog, nullptr,
                                GetModuleHandleA(nullptr), nullptr);
    ASSERT_EQ(nullptr, FontOf(bare));
    EXPECT_FALSE(first.AttachDlgItem(dialog, 999, "https://nowhere.example/"));
    EXPECT_EQ(0, CHyperLink::AttachedCount());
    ASSERT_TRUE(first.Attach(bare, "https://bare.example/"));
    const LOGFONTA gui = Describe(GetStockObject(DEFAULT_GUI_FONT)), hover = Describe(CHyperLink::HoverFont());
    EXPECT_STREQ(gui.lfFaceName, hover.lfFaceName);
    EXPECT_EQ(gui.lfHeight, hover.lfHeight);
    EXPECT_EQ(1, hover.lfUnderline);
    MoveOver(bare, 2, 2);
    ReleaseCapture();
    EXPECT_EQ(nullptr, FontOf(bare));

    // A control that is a link already stays one link (hooked twice it would call itself).
    EXPECT_FALSE(second.Attach(bare, "https://other.example/"));
    EXPECT_EQ(&first, LinkObjectOf(bare));
    EXPECT_EQ(1, CHyperLink::AttachedCount());

    // Closed with the pointer over the link: attached again, it hovers from the start.
    MoveOver(bare, 2, 2);
    DestroyWindow(dialog);
    dialog = OpenDialog();
    ASSERT_TRUE(first.AttachDlgItem(dialog, kFirst, "https://first.example/"));
    MoveOver(Item(kFirst), 2, 2);
    EXPECT_EQ(CHyperLink::HoverFont(), FontOf(Item(kFirst)));
}

}  // namespace
