// The About box, opened modally over a window of the test as the application frame opens
// it, and driven from a timer that runs inside the box's own loop.
#include "pages/AboutDlg.h"
#include "resources/resource.h"
#include "support/LinkTesting.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

using namespace testenv;

namespace {

std::function<void(HWND)> g_useTheBox;  // runs once the box is up, and must close it
HWND g_box = nullptr;
int g_ticks = 0;

BOOL CALLBACK FindBox(HWND window, LPARAM)
{
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (std::string(className) == "#32770" && IsWindowVisible(window))
        g_box = window;
    return g_box == nullptr;
}

void CALLBACK DriveTheBox(HWND, UINT, UINT_PTR, DWORD)
{
    if (g_box == nullptr) {
        EnumThreadWindows(GetCurrentThreadId(), FindBox, 0);
        if (g_box != nullptr)
            g_useTheBox(g_box);
    } else if (++g_ticks > 200 && IsWindow(g_box)) {
        EndDialog(g_box, 77);  // a box that ignores its closing must not hold the test for ever
    }
}

class AboutBoxTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_NE(nullptr, owner); }
    void TearDown() override { DestroyWindow(owner); }

    INT_PTR Open(std::function<void(HWND)> use)
    {
        g_useTheBox = std::move(use);
        g_box = nullptr;
        g_ticks = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 20, DriveTheBox);
        const INT_PTR result =
            DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
        KillTimer(nullptr, timer);
        EXPECT_NE(nullptr, g_box) << "the box never showed";
        return result;
    }

    HWND owner = CreateWindowExA(0, "STATIC", "owner", WS_POPUP | WS_CAPTION | WS_VISIBLE, 150, 120, 641, 421,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
};

TEST_F(AboutBoxTest, EndsWithZeroOnOkEscapeAndTheCloseBox)
{
    const std::function<void(HWND)> closings[] = {
        [](HWND box) { SendMessageA(GetDlgItem(box, IDOK), BM_CLICK, 0, 0); },
        [](HWND box) { PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0); },
        [](HWND box) { PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); },
    };
    for (const auto& close : closings) {
        EXPECT_EQ(0, Open(close));
        EXPECT_FALSE(IsWindow(g_box));
        EXPECT_EQ(0, CHyperLink::AttachedCount()) << "the links ended with the box";
    }
}

TEST_F(AboutBoxTest, OpenedTwiceTheSameTwoLinksAreAttachedAndOpenTheirTargets)
{
    ShellOpenRecorder shell;
    std::vector<CHyperLink*> links;
    std::string productText;
    auto useLinks = [&](HWND box) {
        EXPECT_EQ(CHyperLink::HyperlinkParentProc, WindowProcOf(box));
        for (int id : {IDC_ABOUT_PRODUCT_LINK, IDC_ABOUT_DESIGNER_LINK}) {
            EXPECT_EQ(CHyperLink::HyperlinkProc, WindowProcOf(GetDlgItem(box, id)));
            links.push_back(LinkObjectOf(GetDlgItem(box, id)));
        }
        char text[512] = {};
        GetDlgItemTextA(box, IDC_ABOUT_PRODUCT_LINK, text, sizeof text);
        productText = text;
        // The first opening opens the product's link, the second the credit's; each time
        // the box closes with the pointer left over the credit.
        const bool firstOpening = links.size() == 2;
        const HWND credit = GetDlgItem(box, IDC_ABOUT_DESIGNER_LINK);
        SendMessageA(firstOpening ? GetDlgItem(box, IDC_ABOUT_PRODUCT_LINK) : credit, WM_LBUTTONUP, 0, 0);
        SendMessageA(credit, WM_MOUSEMOVE, 0, MAKELPARAM(2, 2));
        EXPECT_EQ(CHyperLink::HoverFont(), reinterpret_cast<HFONT>(SendMessageA(credit, WM_GETFONT, 0, 0)));
        PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0);
    };
    ASSERT_EQ(0, Open(useLinks));
    ASSERT_EQ(0, Open(useLinks));

    ASSERT_EQ(4u, links.size());
    EXPECT_NE(nullptr, links[0]);
    EXPECT_NE(links[0], links[1]);
    EXPECT_EQ(links[0], links[2]) << "the objects live on between openings";
    EXPECT_EQ(links[1], links[3]);
    EXPECT_TRUE(links[0]->Visited() && links[1]->Visited());
    EXPECT_EQ("https://www.morrowick.example/kestrola/", productText);
    EXPECT_EQ((std::vector<std::string>{"60 0 open 1 " + productText,
                                        "60 0 open 1 " + std::string(kIconDesignerWebAddress)}),
              shell.Calls());
    EXPECT_EQ(0, CHyperLink::AttachedCount());
    EXPECT_EQ(nullptr, CHyperLink::HoverFont());
}

TEST_F(AboutBoxTest, SitsCentredOverItsOwnerWithThePrinterDrawnUnscaledWithoutItsMagenta)
{
    RECT boxRect = {};
    COLORREF corner = 0, beside = 0, centre = 0;
    int magenta = 0;
    bool pictureHidden = false;
    ASSERT_EQ(0, Open([&](HWND box) {
                  GetWindowRect(box, &boxRect);
                  const HWND picture = GetDlgItem(box, IDC_ABOUT_PICTURE);
                  pictureHidden = !IsWindowVisible(picture);
                  RedrawWindow(box, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
                  RECT area = {};
                  GetWindowRect(picture, &area);
                  MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&area), 2);
                  HDC dc = GetDC(box);
                  for (int y = 0; y < 105; ++y)
                      for (int x = 0; x < 108; ++x)
                          magenta += GetPixel(dc, area.left + x, area.top + y) == RGB(255, 0, 255);
                  corner = GetPixel(dc, area.left, area.top);
                  centre = GetPixel(dc, area.left + 54, area.top + 52);
                  beside = GetPixel(dc, area.left - 3, area.top + 52);
                  ReleaseDC(box, dc);
                  EndDialog(box, 0);
              }));

    RECT ownerRect = {};
    GetWindowRect(owner, &ownerRect);
    const int width = boxRect.right - boxRect.left, height = boxRect.bottom - boxRect.top;
    EXPECT_EQ(ownerRect.left + ((ownerRect.right - ownerRect.left - width) >> 1), boxRect.left);
    EXPECT_EQ(ownerRect.top + ((ownerRect.bottom - ownerRect.top - height) >> 1), boxRect.top);
    EXPECT_TRUE(pictureHidden);

    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PRINTER));
    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, bitmap);
    EXPECT_EQ(RGB(255, 0, 255), GetPixel(memory, 0, 0));
    EXPECT_EQ(GetPixel(memory, 54, 52), centre);
    SelectObject(memory, previous);
    DeleteDC(memory);
    DeleteObject(bitmap);
    EXPECT_EQ(0, magenta);
    EXPECT_EQ(beside, corner) << "the magenta corner shows the box's background";
}

}  // namespace
