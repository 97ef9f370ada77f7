// The About box, opened modally as the application frame opens it, driven by steps that
// run inside the box's own loop. (The frame's button and window menu that open it are the
// application frame's tests.)
#include "pages/AboutDlg.h"
#include "resources/resource.h"
#include "support/WizardTesting.h"
#include "toolkit/CHyperLink.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testenv;

namespace {

HWND Box() { return FindThreadWindow("About"); }

// The box's result. The steps run once it shows, and the last must close it: a box still
// open after them is ended with 77.
INT_PTR Open(HWND owner, std::vector<LoopStep> steps)
{
    INT_PTR result = -1;
    steps.insert(steps.begin(), WaitFor([] { return Box() != nullptr; }, "the box"));
    steps.push_back([] { EndDialog(Box(), 77); });
    RunLoopScript([&] {
        result = DialogBoxParamA(nullptr, MAKEINTRESOURCEA(IDD_ABOUT), owner, AboutDialogProc, 0);
        return true;
    }, Box, steps);
    return result;
}

// Every opening attaches the same two link objects, kept between openings, to its controls.
TEST(AboutBox, EachOpeningAttachesTheSameTwoLinksAndEndsWithZeroOnOkEscapeAndClose)
{
    std::vector<HANDLE> links;
    char productText[256] = {};
    const struct { int item; UINT message; WPARAM wParam; } closings[] = {  // item 0: the box itself
        {IDOK, BM_CLICK, 0}, {0, WM_KEYDOWN, VK_ESCAPE}, {0, WM_SYSCOMMAND, SC_CLOSE}};
    for (const auto& close : closings) {
        EXPECT_EQ(0, Open(nullptr, {[&] {
            EXPECT_EQ(CHyperLink::HyperlinkParentProc, WNDPROC(GetWindowLongPtrA(Box(), GWLP_WNDPROC)));
            for (int id : {IDC_ABOUT_PRODUCT_LINK, IDC_ABOUT_DESIGNER_LINK})
                links.push_back(GetPropA(GetDlgItem(Box(), id), MAKEINTATOM(CHyperLink::PropertyAtom())));
            GetDlgItemTextA(Box(), IDC_ABOUT_PRODUCT_LINK, productText, sizeof productText);
            PostMessageA(close.item ? GetDlgItem(Box(), close.item) : Box(), close.message, close.wParam, 0);
        }}));
        EXPECT_EQ(0, CHyperLink::AttachedCount()) << "the links ended with the box";
    }
    ASSERT_EQ(6u, links.size());
    ASSERT_TRUE(links[0] && links[1]);
    EXPECT_EQ((std::vector<HANDLE>{links[0], links[1], links[0], links[1], links[0], links[1]}), links);
    // The product link's text is its own target.
    EXPECT_STREQ(productText, static_cast<CHyperLink*>(links[0])->Url());
    EXPECT_STREQ(kIconDesignerWebAddress, static_cast<CHyperLink*>(links[1])->Url());
}

// What the box shows where its hidden picture control stands: the printer, at its own size,
// with its magenta background left out.
TEST(AboutBox, DrawsThePrinterUnscaledWithoutItsMagenta)
{
    const HWND box = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, AboutDialogProc, 0);
    ShowWindow(box, SW_SHOW);
    UpdateWindow(box);
    RECT place = {};
    GetWindowRect(GetDlgItem(box, IDC_ABOUT_PICTURE), &place);
    MapWindowPoints(nullptr, box, reinterpret_cast<POINT*>(&place), 2);
    EXPECT_FALSE(IsWindowVisible(GetDlgItem(box, IDC_ABOUT_PICTURE)));
    HDC dc = GetDC(box);
    int magenta = 0;
    for (int y = 0; y < 105; ++y)
        for (int x = 0; x < 108; ++x)
            magenta += GetPixel(dc, place.left + x, place.top + y) == RGB(255, 0, 255);
    EXPECT_EQ(0, magenta);
    EXPECT_EQ(GetPixel(dc, place.left - 3, place.top + 52), GetPixel(dc, place.left, place.top))
        << "the magenta corner shows the box's background";

    HDC memory = CreateCompatibleDC(nullptr);
    HGDIOBJ previous = SelectObject(memory, LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDB_PRINTER)));
    EXPECT_EQ(GetPixel(memory, 54, 52), GetPixel(dc, place.left + 54, place.top + 52));
    DeleteObject(SelectObject(memory, previous));
    DeleteDC(memory);
    ReleaseDC(box, dc);
    DestroyWindow(box);
}

}  // namespace
