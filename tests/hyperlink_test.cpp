// A link made from a static control of the About box's template opens its target on a click
// or a Space release. A recorder stands in for the shell, so that no browser ever starts.
#include "resources/resource.h"
#include "toolkit/CHyperLink.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

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
    const HWND link = GetDlgItem(dialog, IDC_ABOUT_DESIGNER_LINK);
    SendMessageA(GetDlgItem(dialog, IDC_ABOUT_PRODUCT_LINK), WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(first.Visited());
    for (WPARAM key : {WPARAM(VK_RETURN), WPARAM('A')})
        SendMessageA(link, WM_KEYUP, key, 0);
    SendMessageA(link, WM_KEYDOWN, VK_SPACE, 0);
    EXPECT_FALSE(second.Visited());
    SendMessageA(link, WM_KEYUP, VK_SPACE, 0);
    EXPECT_TRUE(second.Visited());
    DestroyWindow(dialog);
    CHyperLink::SetShellOpenCall(shell);
    EXPECT_EQ((std::vector<std::string>{"60 open file:///C:/kestrola/first.txt",
                                        "60 open https://second.example/?a=1&b=2"}),
              g_shellCalls);
    EXPECT_EQ(0, CHyperLink::AttachedCount());
}

}  // namespace
