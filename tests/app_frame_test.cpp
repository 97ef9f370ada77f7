// The application frame as a real window in the test process: its About button and menu
// entry, the control colours and the Tab cycle. The painted strip (on screenshots) and the
// About box opened from the frame are checked end to end: tests/e2e/wizard_send_file.sh and
// tests/e2e/wizard_about.sh.

#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testenv;

namespace {

// A page with one edit box as its only tab stop.
class EditPage : public BlankPage {
public:
    using BlankPage::BlankPage;
    HWND edit = nullptr;
    void CreateControls(HWND frame) override
    {
        edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 10, 10, 80, 20, frame,
                               nullptr, nullptr, nullptr);
        AddControl(edit);
    }
};

// Black-on-white colours, the About button and menu entry; then Tab and Shift+Tab go round
// About, Cancel, Back, Next and the page, and from Cancel straight to the page once Back
// and Next are hidden.
TEST(AppFrame, AboutEntryAndButtonColoursAndTabCycle)
{
    // The item that a window of the frame's style has at position 5 before "About..." goes in.
    const HWND plain = CreateWindowExA(WS_EX_DLGMODALFRAME, "STATIC", "", 0xCA0000, 0, 0, 100,
                                       100, nullptr, nullptr, nullptr, nullptr);
    const UINT plainItem = GetMenuItemID(GetSystemMenu(plain, FALSE), 5);
    DestroyWindow(plain);

    TestWizard frame;
    EditPage page(&frame);
    frame.AddPage(&page, 1);
    std::vector<HWND> seen, cycle;
    std::vector<LoopStep> steps = {[&] {
        const HMENU menu = GetSystemMenu(frame.Frame(), FALSE);
        EXPECT_TRUE(GetMenuState(menu, 5, MF_BYPOSITION) & MF_SEPARATOR);
        char text[32] = {};
        GetMenuStringA(menu, 6, text, sizeof(text), MF_BYPOSITION);
        EXPECT_STREQ("About...", text);
        EXPECT_EQ(1000u, GetMenuItemID(menu, 6));
        EXPECT_EQ(plainItem, GetMenuItemID(menu, 7));

        RECT about = {}, client = {};
        GetWindowRect(frame.About(), &about);
        MapWindowPoints(nullptr, frame.Frame(), reinterpret_cast<POINT*>(&about), 1);
        GetClientRect(frame.Frame(), &client);
        EXPECT_EQ(client.right - 442, about.left);
        EXPECT_EQ(client.bottom - 30, about.top);

        const HDC dc = CreateCompatibleDC(nullptr);
        for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLORBTN}) {
            SetTextColor(dc, RGB(255, 0, 0));
            SetBkColor(dc, RGB(0, 0, 255));
            EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)),
                      SendMessageA(frame.Frame(), message, reinterpret_cast<WPARAM>(dc),
                                   reinterpret_cast<LPARAM>(page.edit)));
            EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
            EXPECT_EQ(RGB(255, 255, 255), GetBkColor(dc));
        }
        DeleteDC(dc);

        cycle = {frame.About(), frame.Cancel(), frame.Back(), frame.Next()};
        SetFocus(frame.About());
    }};
    for (int i = 0; i < 10; ++i)
        steps.push_back([&, i] {
            seen.push_back(GetFocus());
            PostKey(VK_TAB, i >= 5);
        });
    steps.push_back([&] {
        seen.push_back(GetFocus());
        frame.SetBackButton(false, true, "< Back");
        frame.SetNextButton(false, true, "Next >");
        SetFocus(frame.Cancel());
        PostKey(VK_TAB);
    });
    steps.push_back([&] { seen.push_back(GetFocus()); });
    frame.Script(0, steps);

    ASSERT_EQ(4u, cycle.size());
    const HWND about = cycle[0], cancel = cycle[1], back = cycle[2], next = cycle[3];
    EXPECT_EQ((std::vector<HWND>{about, cancel, back, next, page.edit,  // Tab
                                 about, page.edit, next, back, cancel,  // Shift+Tab
                                 about, page.edit}),
              seen);
}

}  // namespace
