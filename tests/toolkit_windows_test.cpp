// What a user of the toolkit would see go wrong: a hover that never ends, the focus left on
// a disabled button, a button without its edge when the theme fails, a dialog off centre.

#include "support/WizardTesting.h"
#include "toolkit/MWBaseDialog.h"
#include "toolkit/MWButtonXP.h"
#include "toolkit/ToolkitProcess.h"
#include "toolkit/VisualStyles.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

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

// Entering repaints and asks to hear of the leave (else the hover stays), once, and not
// for a drag from elsewhere. A disabled button hands the focus on.
TEST(Button, HoverTracksTheLeaveAndDisablingMovesTheFocusOn)
{
    TestWindow parent;
    MWButton button, other;
    ASSERT_TRUE(button.Create(0, "", kChild, {10, 10, 130, 50}, parent.get(), 1));
    ASSERT_TRUE(other.Create(0, "", kChild, {10, 60, 130, 100}, parent.get(), 2));
    const HWND window = button.GetHwnd();
    SetCursorPos(400, 300);
    Requests(window);
    MoveOnto(window, MK_LBUTTON);
    EXPECT_EQ(0, Requests(window));
    MoveOnto(window);
    EXPECT_TRUE(button.IsHot());
    EXPECT_EQ(2, Requests(window));
    MoveOnto(window);
    EXPECT_EQ(0, Requests(window));

    SetForegroundWindow(parent.get());
    SetFocus(window);
    EnableWindow(window, FALSE);
    EXPECT_EQ(other.GetHwnd(), GetFocus());
    EnableWindow(other.GetHwnd(), FALSE);  // no enabled tab stop left: the parent
    EXPECT_EQ(parent.get(), GetFocus());
}

const int kWidth = 120, kHeight = 40;

// The pixels of the button as its parent has it drawn on a magenta canvas.
std::vector<COLORREF> Drawn(HWND button, UINT itemState)
{
    BITMAPINFO info = {{sizeof(BITMAPINFOHEADER), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0}, {}};
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    SelectObject(dc, bitmap);
    SetDCBrushColor(dc, RGB(255, 0, 255));
    SelectObject(dc, GetStockObject(DC_BRUSH));
    PatBlt(dc, 0, 0, kWidth, kHeight, PATCOPY);
    DRAWITEMSTRUCT item = {ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, itemState, button, dc, {0, 0, kWidth, kHeight}, 0};
    SendMessageA(GetParent(button), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    DeleteDC(dc);
    DeleteObject(bitmap);
    return pixels;
}

// The program runs themed, but the XP button's theme cannot be opened: it still has the
// classic edge (and, focused, a black frame around it).
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
    for (int i : {0, 1}) {  // unfocused, then focused: the edge one pixel inward
        const std::vector<COLORREF> pixels = Drawn(xp.GetHwnd(), i ? ODS_FOCUS : 0);
        auto at = [&](int x, int y) { return pixels[y * kWidth + x]; };
        for (COLORREF frame : {at(0, 0), at(60, 39), at(119, 20)})
            EXPECT_EQ(i == 1, frame == RGB(0, 0, 0));
        EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), at(i, 20));
        EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), at(119 - i, 20));
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), at(60, 38 - i));
    }
}

// A theme entry point missing from the library falls back as a missing library does.
TEST(VisualStyles, AnEntryPointMissingFromTheLibraryFallsBackLikeAMissingLibrary)
{
    const FARPROC fallback = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Drawn));
    EXPECT_EQ(fallback, ResolveThemeProc(nullptr, "OpenThemeData", fallback));
    EXPECT_EQ(fallback, ResolveThemeProc(GetModuleHandleA("kernel32.dll"), "OpenThemeData", fallback));
}

// Centred on a smaller owner, the half difference rounds down, not toward zero.
TEST(BaseDialog, CentresOnTheOwnerRoundingDown)
{
    EXPECT_EQ(249, CentredTopLeft({300, 200, 400, 280}, {0, 0, 201, 151}).x);
    EXPECT_EQ(164, CentredTopLeft({300, 200, 400, 280}, {0, 0, 201, 151}).y);
    EXPECT_EQ(350, CentredTopLeft({300, 200, 500, 280}, {7, 7, 107, 27}).x);
}

}  // namespace
