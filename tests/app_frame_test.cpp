// The application frame as a real window in the test process: its About button and menu
// entry, the painted strip, the control colours and the Tab cycle.

#include "resources/resource.h"
#include "support/LoopScript.h"
#include "support/WizardTesting.h"
#include "wizard/AppWindowState.h"
#include "wizard/AppWindowStateController.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace testenv;

namespace {

// A page with one edit box as its only tab stop.
class EditPage : public AppWindowState {
public:
    using AppWindowState::AppWindowState;
    HWND edit = nullptr;
    void CreateControls(HWND frame) override
    {
        edit = CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_TABSTOP, 10, 10, 80, 20, frame,
                               nullptr, nullptr, nullptr);
        AddControl(edit);
    }
    bool Enter(HWND) override
    {
        ShowWindow(edit, SW_SHOW);
        owner->SetCancelButton(true, true, "Cancel");
        owner->SetBackButton(true, true, "< Back");
        owner->SetNextButton(true, true, "Next >");
        return true;
    }
    bool Leave(HWND) override
    {
        ShowWindow(edit, SW_HIDE);
        return true;
    }
};

class TestAppFrame : public AppWindowStateController {
public:
    HWND Frame() const { return frameWindow; }
    HWND About() const { return aboutButton; }
    HWND Cancel() const { return cancelButton; }
    HWND Back() const { return backButton; }
    HWND Next() const { return nextButton; }

    void Script(std::size_t start, std::vector<LoopStep> steps)
    {
        const RECT bounds = {0, 0, 458, 244};
        const auto run = RunLoopScript(
            [&] {
                return Run(WS_EX_DLGMODALFRAME, 0xCA0000, "App frame test", bounds, nullptr,
                           IDI_KESTROLA, IDI_KESTROLA_SMALL, nullptr, start);
            },
            [&] { return frameWindow; }, std::move(steps));
        EXPECT_TRUE(run.runResult);
    }
};

class AppFrame : public ::testing::Test {
protected:
    void SetUp() override
    {
        UnregisterClassA(WindowStateController::kClassName, GetModuleHandleA(nullptr));
        frame.AddPage(&first, 1);
        frame.AddPage(&second, 2);
    }
    TestAppFrame frame;
    EditPage first{&frame};
    EditPage second{&frame};
};

std::string MenuText(HMENU menu, UINT position, UINT* id, UINT* type)
{
    char text[128] = {};
    MENUITEMINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = MIIM_STRING | MIIM_ID | MIIM_FTYPE;
    info.dwTypeData = text;
    info.cch = sizeof(text);
    GetMenuItemInfoA(menu, position, TRUE, &info);
    *id = info.wID;
    *type = info.fType;
    return text;
}

POINT FromBottomRight(HWND control)
{
    RECT rect = {}, client = {};
    GetWindowRect(control, &rect);
    MapWindowPoints(nullptr, GetParent(control), reinterpret_cast<POINT*>(&rect), 2);
    GetClientRect(GetParent(control), &client);
    return {rect.left - client.right, rect.top - client.bottom};
}

HWND FindAboutBox() { return FindThreadWindow("About"); }

TEST_F(AppFrame, SystemMenuEntryAndAboutButtonBothOpenTheAboutBox)
{
    // The item that a frame of this style has at position 5 before "About..." is added.
    HWND plain = CreateWindowExA(WS_EX_DLGMODALFRAME, "STATIC", "", 0xCA0000, 0, 0, 100, 100,
                                 nullptr, nullptr, nullptr, nullptr);
    UINT plainId = 0, type = 0;
    MenuText(GetSystemMenu(plain, FALSE), 5, &plainId, &type);
    DestroyWindow(plain);

    HWND aboutBox = nullptr;
    frame.Script(0, {
        [&] {
            HMENU menu = GetSystemMenu(frame.Frame(), FALSE);
            UINT id = 0;
            MenuText(menu, 5, &id, &type);
            EXPECT_TRUE(type & MFT_SEPARATOR);
            EXPECT_EQ("About...", MenuText(menu, 6, &id, &type));
            EXPECT_EQ(1000u, id);
            MenuText(menu, 7, &id, &type);
            EXPECT_EQ(plainId, id);

            EXPECT_EQ("About...", [&] {
                char text[32] = {};
                GetWindowTextA(frame.About(), text, sizeof(text));
                return std::string(text);
            }());
            const POINT at = FromBottomRight(frame.About());
            EXPECT_EQ(-442, at.x);
            EXPECT_EQ(-30, at.y);
            EXPECT_TRUE(IsWindowVisible(frame.About()));
            EXPECT_EQ(1000, GetDlgCtrlID(frame.About()));

            SetFocus(first.edit);
            PostMessageA(frame.Frame(), WM_COMMAND, MAKEWPARAM(1000, BN_CLICKED),
                         reinterpret_cast<LPARAM>(frame.About()));
        },
        WaitFor([] { return FindAboutBox() != nullptr; }, "the About box"),
        [&] {  // runs inside the About box's own loop
            aboutBox = FindAboutBox();
            ASSERT_NE(nullptr, aboutBox);
            EXPECT_EQ(frame.Frame(), GetWindow(aboutBox, GW_OWNER));
            EXPECT_FALSE(IsWindowEnabled(frame.Frame()));
            PostMessageA(aboutBox, WM_COMMAND, IDOK, 0);
        },
        WaitFor([&] { return !IsWindow(aboutBox); }, "the About box to close"),
        [&] {
            EXPECT_TRUE(IsWindowEnabled(frame.Frame()));
            EXPECT_EQ(first.edit, GetFocus());
            PostMessageA(frame.Frame(), WM_SYSCOMMAND, 1000, 0);
        },
        WaitFor([] { return FindAboutBox() != nullptr; }, "the About box"),
        [&] {
            aboutBox = FindAboutBox();
            ASSERT_NE(nullptr, aboutBox);
            PostMessageA(aboutBox, WM_COMMAND, IDCANCEL, 0);
        },
        WaitFor([] { return FindAboutBox() == nullptr; }, "the About box to close"),
    });
}

TEST_F(AppFrame, TabCycleRunsThroughAboutTheButtonsAndThePage)
{
    std::vector<HWND> forward, backward, expected;
    std::vector<LoopStep> steps = {[&] {
        expected = {frame.Cancel(), frame.Back(), frame.Next(), first.edit, frame.About()};
        SetFocus(frame.About());
    }};
    for (int i = 0; i < 5; ++i) {
        steps.push_back([&] { PostKey(VK_TAB); });
        steps.push_back([&] { forward.push_back(GetFocus()); });
    }
    for (int i = 0; i < 5; ++i) {
        steps.push_back([&] { PostKey(VK_TAB, true); });
        steps.push_back([&] { backward.push_back(GetFocus()); });
    }
    // With Back and Next hidden, Tab from Cancel goes straight to the page.
    steps.push_back([&] {
        frame.SetBackButton(false, true, "< Back");
        frame.SetNextButton(false, true, "Next >");
        SetFocus(frame.Cancel());
        PostKey(VK_TAB);
    });
    steps.push_back([&] { EXPECT_EQ(first.edit, GetFocus()); });
    frame.Script(0, steps);

    EXPECT_EQ(expected, forward);
    const std::vector<HWND> expectedBackward = {expected[3], expected[2], expected[1],
                                                expected[0], expected[4]};
    EXPECT_EQ(expectedBackward, backward);
}

TEST_F(AppFrame, StaticControlsAreBlackOnWhite)
{
    frame.Script(0, {[&] {
        HDC dc = CreateCompatibleDC(nullptr);
        SetTextColor(dc, RGB(255, 0, 0));
        SetBkColor(dc, RGB(0, 0, 255));
        for (UINT message : {WM_CTLCOLORSTATIC, WM_CTLCOLORBTN}) {
            const LRESULT brush = SendMessageA(frame.Frame(), message,
                                               reinterpret_cast<WPARAM>(dc),
                                               reinterpret_cast<LPARAM>(first.edit));
            EXPECT_EQ(reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH)), brush);
            EXPECT_EQ(RGB(0, 0, 0), GetTextColor(dc));
            EXPECT_EQ(RGB(255, 255, 255), GetBkColor(dc));
            SetTextColor(dc, RGB(255, 0, 0));
        }
        DeleteDC(dc);
    }});
}

// What the strip must show, read back from the window after it has painted.
struct StripSample {
    COLORREF emblem;         // a pixel inside the emblem
    COLORREF printer;        // a pixel inside the printer picture
    COLORREF upperEdge, lowerEdge;
};

COLORREF BitmapPixel(int resource, int x, int y)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(resource));
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    const COLORREF colour = GetPixel(dc, x, y);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return colour;
}

// A point of the printer picture that is neither transparent nor white.
POINT PrinterInk()
{
    for (int y = 20; y < 105; ++y)
        for (int x = 20; x < 108; ++x) {
            const COLORREF c = BitmapPixel(IDB_PRINTER, x, y);
            if (c != RGB(255, 0, 255) && c != RGB(255, 255, 255))
                return {x, y};
        }
    return {-1, -1};
}

StripSample ReadStrip(HWND frame, POINT emblemAt, POINT printerAt)
{
    RedrawWindow(frame, nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
    RECT client = {};
    GetClientRect(frame, &client);
    const int top = client.bottom - 196;
    HDC dc = GetDC(frame);
    StripSample sample = {GetPixel(dc, emblemAt.x, top + emblemAt.y),
                          GetPixel(dc, printerAt.x, top + printerAt.y),
                          GetPixel(dc, client.right / 2, top + 156),
                          GetPixel(dc, client.right / 2, top + 157)};
    ReleaseDC(frame, dc);
    return sample;
}

TEST_F(AppFrame, StripShowsTheEmblemAndThePrinterPictureAfterTheStartPage)
{
    // The emblem's (16, 0)-based part lands at (0, 83) of the strip.
    const POINT emblemAt = {40, 83 + 60};
    const COLORREF emblem = BitmapPixel(IDB_EMBLEM, 16 + 40, 60);
    const POINT ink = PrinterInk();
    ASSERT_GE(ink.x, 0);
    const COLORREF printer = BitmapPixel(IDB_PRINTER, ink.x, ink.y);
    const POINT printerAt = {17 + ink.x, ink.y};

    StripSample start = {}, later = {};
    frame.Script(0, {
        [&] { start = ReadStrip(frame.Frame(), emblemAt, printerAt); },
        [&] { SendMessageA(frame.Next(), BM_CLICK, 0, 0); },
        [&] { later = ReadStrip(frame.Frame(), emblemAt, printerAt); },
    });
    EXPECT_EQ(emblem, start.emblem);
    EXPECT_EQ(RGB(255, 255, 255), start.printer);
    EXPECT_EQ(RGB(185, 185, 185), start.upperEdge);
    EXPECT_EQ(RGB(142, 142, 142), start.lowerEdge);
    EXPECT_EQ(emblem, later.emblem);
    EXPECT_EQ(printer, later.printer);
    EXPECT_EQ(RGB(185, 185, 185), later.upperEdge);
}

}  // namespace
