// Links made from the real static controls of a modeless dialog (the About box's template
// with no procedure of its own). A recorder stands in for the shell call, so that no browser
// ever starts.
#include "resources/resource.h"
#include "toolkit/CHyperLink.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

namespace {

constexpr int kFirst = IDC_ABOUT_PRODUCT_LINK, kSecond = IDC_ABOUT_DESIGNER_LINK;
std::vector<std::string> g_shellCalls;

WNDPROC ProcOf(HWND window) { return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC)); }
HFONT FontOf(HWND control) { return reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0)); }
void MoveOver(HWND control, int x, int y) { SendMessageA(control, WM_MOUSEMOVE, 0, MAKELPARAM(x, y)); }

// A font's face, height and underline, as one comparable text.
std::string Look(HGDIOBJ font)
{
    LOGFONTA f = {};
    GetObjectA(font, sizeof f, &f);
    return std::string(f.lfFaceName) + " " + std::to_string(f.lfHeight) + (f.lfUnderline ? " underlined" : "");
}

// The shell fails every call: a link counts as visited whatever the shell says.
BOOL WINAPI RecordShellOpen(SHELLEXECUTEINFOA* info)
{
    g_shellCalls.push_back(std::to_string(info->cbSize) + " " + info->lpVerb + " " + info->lpFile);
    return FALSE;
}

HWND OpenDialog()
{
    HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, nullptr, 0);
    ShowWindow(dialog, SW_SHOW);
    return dialog;
}

// The text colour the dialog sets for a control, and the brush it answers with.
std::pair<COLORREF, LRESULT> ColoursFor(HWND dialog, HWND control)
{
    HDC dc = CreateCompatibleDC(nullptr);
    SetTextColor(dc, RGB(1, 2, 3));
    const LRESULT brush = SendMessageA(dialog, WM_CTLCOLORSTATIC, WPARAM(dc), LPARAM(control));
    const COLORREF colour = GetTextColor(dc);
    DeleteDC(dc);
    return {colour, brush};
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

TEST_F(HyperLinkTest, TwoLinksHookTheParentOnceHoverInOneSharedFontAndGiveEverythingBack)
{
    const HWND link = Item(kFirst);
    const WNDPROC dialogProc = ProcOf(dialog), staticProc = ProcOf(link);
    const HFONT ownFont = FontOf(link);
    const LRESULT plainBrush = ColoursFor(dialog, Item(IDC_ABOUT_PICTURE)).second;
    ASSERT_TRUE(first.Attach(link, "https://first.example/"));
    ASSERT_TRUE(second.AttachDlgItem(dialog, kSecond, "https://second.example/"));
    EXPECT_EQ(CHyperLink::HyperlinkParentProc, ProcOf(dialog));
    EXPECT_EQ(HANDLE(dialogProc), GetPropA(dialog, MAKEINTATOM(CHyperLink::PropertyAtom())));
    EXPECT_EQ(CHyperLink::HyperlinkProc, ProcOf(Item(kSecond)));
    EXPECT_TRUE(GetWindowLongPtrA(link, GWL_STYLE) & SS_NOTIFY) << "else it never sees the mouse";
    EXPECT_EQ(2, CHyperLink::AttachedCount());
    // Links are blue on the dialog's own brush; other statics keep their colour.
    EXPECT_EQ(std::make_pair(CHyperLink::LinkColor, plainBrush), ColoursFor(dialog, link));
    EXPECT_NE(CHyperLink::LinkColor, ColoursFor(dialog, Item(IDC_ABOUT_PICTURE)).first);

    // The pointer over the link shows the shared underlined font until it moves out or the
    // capture goes elsewhere.
    const HFONT hoverFont = CHyperLink::HoverFont();
    EXPECT_EQ(Look(ownFont) + " underlined", Look(hoverFont));
    RECT client = {};
    GetClientRect(link, &client);
    const struct { int x, y; bool hovering; } moves[] = {
        {3, 3, true}, {4, 3, true}, {client.right + 2, 3, false}, {3, 3, true}, {3, -2, false}};
    for (const auto& move : moves) {
        MoveOver(link, move.x, move.y);
        EXPECT_EQ(move.hovering ? hoverFont : ownFont, FontOf(link)) << move.x << "," << move.y;
        EXPECT_EQ(move.hovering ? link : nullptr, GetCapture()) << move.x << "," << move.y;
    }
    MoveOver(link, 3, 3);
    SetCapture(dialog);
    EXPECT_EQ(ownFont, FontOf(link));

    // A link's WM_DESTROY, even while hovering, gives back the procedure and the font.
    MoveOver(link, 3, 3);
    SendMessageA(link, WM_DESTROY, 0, 0);
    EXPECT_EQ(staticProc, ProcOf(link));
    EXPECT_EQ(ownFont, FontOf(link));
    EXPECT_EQ(1, CHyperLink::AttachedCount());
    EXPECT_EQ(OBJ_FONT, GetObjectType(hoverFont)) << "the second link still uses it";

    // The last link's end deletes the shared font; the next attachment makes a new one.
    DestroyWindow(dialog);
    EXPECT_EQ(0u, GetObjectType(hoverFont));
    dialog = OpenDialog();
    ASSERT_TRUE(first.AttachDlgItem(dialog, kFirst, "https://first.example/"));
    EXPECT_EQ(OBJ_FONT, GetObjectType(CHyperLink::HoverFont()));
}

TEST_F(HyperLinkTest, ClickAndSpaceReleaseOpenTheTargetAndMarkTheLinkVisited)
{
    const CHyperLink::ShellOpenCall shell = CHyperLink::SetShellOpenCall(RecordShellOpen);
    ASSERT_TRUE(first.AttachDlgItem(dialog, kFirst, "file:///C:/kestrola/first.txt"));
    ASSERT_TRUE(second.AttachDlgItem(dialog, kSecond, "https://second.example/?a=1&b=2"));
    SendMessageA(Item(kFirst), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(first.Visited());
    EXPECT_EQ(CHyperLink::VisitedLinkColor, ColoursFor(dialog, Item(kFirst)).first);

    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM('A')})
        SendMessageA(Item(kSecond), WM_KEYUP, key, 0);
    SendMessageA(Item(kSecond), WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(second.Visited());
    SendMessageA(Item(kSecond), WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(second.Visited());
    CHyperLink::SetShellOpenCall(shell);
    EXPECT_EQ((std::vector<std::string>{"60 open file:///C:/kestrola/first.txt",
                                        "60 open https://second.example/?a=1&b=2"}),
              g_shellCalls);
}

// Cases a careless owner could bring about.
TEST_F(HyperLinkTest, FontlessMissingAndDoubleAttachedControlsAndADestroyWhileHovering)
{
    // A control with no font hovers in the underlined GUI font and goes back to none.
    HWND bare = CreateWindowExA(0, "STATIC", "bare", WS_CHILD | WS_VISIBLE, 5, 5, 80, 16, dialog, nullptr,
                                nullptr, nullptr);
    ASSERT_EQ(nullptr, FontOf(bare));
    EXPECT_FALSE(first.AttachDlgItem(dialog, 999, "https://nowhere.example/"));
    EXPECT_EQ(0, CHyperLink::AttachedCount());
    ASSERT_TRUE(first.Attach(bare, "https://bare.example/"));
    EXPECT_EQ(Look(GetStockObject(DEFAULT_GUI_FONT)) + " underlined", Look(CHyperLink::HoverFont()));
    MoveOver(bare, 2, 2);
    ReleaseCapture();
    EXPECT_EQ(nullptr, FontOf(bare));

    // A control that is a link already stays one link (hooked twice it would call itself).
    EXPECT_FALSE(second.Attach(bare, "https://other.example/"));
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
