// How MWButton and MWButtonXP paint: image placement, grey icons, the classic edge and
// the visual-style states, checked pixel by pixel on a memory canvas.

#include "support/WindowTesting.h"
#include "toolkit/ButtonImages.h"
#include "toolkit/MWButtonXP.h"
#include "toolkit/ToolkitProcess.h"
#include "toolkit/VisualStyles.h"

#include <gtest/gtest.h>

#include <vssym32.h>

#include <functional>
#include <set>
#include <vector>

using namespace testenv;

namespace {

const int kWidth = 120, kHeight = 40;

// The pixels of a magenta kWidth x kHeight canvas, row by row, after draw painted on it.
std::vector<COLORREF> Painted(const std::function<void(HDC)>& draw)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), kWidth, -kHeight, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    HDC dc = CreateCompatibleDC(nullptr);
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, nullptr, nullptr, 0);
    SelectObject(dc, bitmap);
    SetDCBrushColor(dc, RGB(255, 0, 255));
    SelectObject(dc, GetStockObject(DC_BRUSH));
    PatBlt(dc, 0, 0, kWidth, kHeight, PATCOPY);
    draw(dc);
    std::vector<COLORREF> pixels;
    for (int y = 0; y < kHeight; ++y)
        for (int x = 0; x < kWidth; ++x)
            pixels.push_back(GetPixel(dc, x, y));
    DeleteDC(dc);  // which lets the bitmap go
    DeleteObject(bitmap);
    return pixels;
}

// The button as its parent has it drawn (the parent passes WM_DRAWITEM on to it).
std::vector<COLORREF> Drawn(HWND button, UINT itemState)
{
    return Painted([&](HDC dc) {
        DRAWITEMSTRUCT item = {
            ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, itemState, button, dc, {0, 0, kWidth, kHeight}, 0};
        SendMessageA(GetParent(button), WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
    });
}

TEST(ButtonImages, ImageSitsAtSixAndAHalfPercentLeftOfTheCaptionOrCentred)
{
    // Item width, has caption, pressed; then the image's left and top, the caption's left.
    const LONG cases[][6] = {
        {248, 0, 0, 108, 13, 0},
        {248, 1, 0, 16, 13, 48},
        {248, 1, 1, 17, 14, 48},  // pressed moves the image
        {200, 1, 0, 12, 13, 44},  // 12.99999 truncated
    };
    for (const auto& c : cases) {
        const RECT item = {0, 0, c[0], 58};
        RECT caption = item;
        const RECT image = PrepareImageRect(c[1], item, caption, c[2], false, {1, 1}, 32, 32);
        EXPECT_EQ((std::vector<LONG>{c[3], c[4], c[5]}),
                  (std::vector<LONG>{image.left, image.top, caption.left})) << c[0] << c[1] << c[2];
    }
}

TEST(ButtonImages, GreyIconKeepsBlackPixelsBlack)
{
    const DWORD rows[4] = {0x000000, 0xFF0000, 0x00FF00, 0x0000FF};  // 0xRRGGBB as stored
    const int levels[4] = {0, 76, 149, 29};  // 0.299 R + 0.587 G + 0.114 B, truncated
    std::vector<DWORD> bits;
    for (int y = 0; y < 8; ++y)
        bits.insert(bits.end(), 8, rows[y % 4]);
    const BYTE opaque[16] = {};
    HICON icon = CreateIcon(nullptr, 8, 8, 1, 32, opaque, reinterpret_cast<BYTE*>(bits.data()));
    HICON grey = CreateGrayscaleIcon(icon);
    const std::vector<COLORREF> pixels =
        Painted([&](HDC dc) { DrawIconEx(dc, 0, 0, grey, 8, 8, 0, nullptr, DI_NORMAL); });
    DestroyIcon(grey);
    DestroyIcon(icon);
    for (int y = 0; y < 8; ++y)
        EXPECT_EQ(RGB(levels[y % 4], levels[y % 4], levels[y % 4]), pixels[y * kWidth + 5]) << y;
}

TEST(ButtonXP, ThemedButtonIsDrawnInTheStateItIsIn)
{
    ASSERT_TRUE(VisualStyles::IsAppThemed()) << "the test prefix runs with Wine's light theme";
    TestWindow parent;
    MWButtonXP button;
    ASSERT_TRUE(button.Create(0, "", kChild, {10, 10, 130, 50}, parent.get(), 1));
    const HWND window = button.GetHwnd();
    HTHEME handle = VisualStyles::OpenThemeData(window, L"BUTTON");
    const RECT all = {0, 0, kWidth, kHeight};
    std::vector<COLORREF> theme[6];  // what the theme itself draws in each state
    for (int state = PBS_NORMAL; state <= PBS_DEFAULTED; ++state)
        theme[state] = Painted([&](HDC dc) {
            VisualStyles::DrawThemedBackground(handle, window, dc, BP_PUSHBUTTON, state, &all,
                                               nullptr);
        });
    VisualStyles::CloseThemeData(handle);
    // States 1 to 4 all look different; Wine's light theme draws 5 (default) like 2 (hot).
    ASSERT_EQ(4u, std::set<std::vector<COLORREF>>(theme + 1, theme + 5).size());
    ASSERT_NE(theme[PBS_NORMAL], theme[PBS_DEFAULTED]);

    EXPECT_EQ(theme[PBS_NORMAL], Drawn(window, ODS_FOCUS));
    EXPECT_EQ(theme[PBS_PRESSED], Drawn(window, ODS_SELECTED));
    SendMessageA(window, BM_SETSTYLE, BS_DEFPUSHBUTTON, FALSE);
    EXPECT_EQ(theme[PBS_DEFAULTED], Drawn(window, 0));
    SendMessageA(window, BM_SETSTYLE, BS_PUSHBUTTON, FALSE);
    SetCapture(window);  // pressed on it, then the pointer moved off
    EXPECT_EQ(theme[PBS_HOT], Drawn(window, 0));
    ReleaseCapture();
    MoveOnto(window);
    EXPECT_EQ(theme[PBS_HOT], Drawn(window, 0));
    EXPECT_EQ(theme[PBS_DISABLED], Drawn(window, ODS_DISABLED | ODS_SELECTED));
}

// MWButton as MWButtonXP paints it without a theme: no frame while hot in the flat look.
class ButtonWithoutFlatBorder : public MWButton {
public:
    ButtonWithoutFlatBorder() { flatBorder = false; }
};

TEST(ButtonDrawing, ClassicEdgeAndTheXPButtonPaintingLikeItWithoutATheme)
{
    TestWindow parent;
    MWButtonXP xp;
    ButtonWithoutFlatBorder classic;
    ASSERT_TRUE(xp.Create(0, "Send a file", kChild, {10, 10, 130, 50}, parent.get(), 1));
    ASSERT_TRUE(classic.Create(0, "Send a file", kChild, {10, 70, 130, 110}, parent.get(), 2));
    classic.SetFlat(false, false);
    for (int i : {0, 1}) {  // unfocused, then focused: a black frame, the edge one pixel inward
        const std::vector<COLORREF> pixels = Drawn(classic.GetHwnd(), i ? ODS_FOCUS : 0);
        auto at = [&](int x, int y) { return pixels[y * kWidth + x]; };
        for (COLORREF frame : {at(0, 0), at(60, 39), at(119, 20)})
            EXPECT_EQ(i == 1, frame == RGB(0, 0, 0));
        EXPECT_EQ(GetSysColor(COLOR_BTNHIGHLIGHT), at(i, 20));
        EXPECT_EQ(GetSysColor(COLOR_3DLIGHT), at(i + 1, 20));
        EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), at(119 - i, 20));
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), at(118 - i, 20));
        EXPECT_EQ(GetSysColor(COLOR_3DDKSHADOW), at(60, 39 - i));
        EXPECT_EQ(GetSysColor(COLOR_BTNSHADOW), at(60, 38 - i));
    }

    // The program runs themed, but the theme of the XP button's window cannot be opened.
    using SetWindowThemeProc = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    reinterpret_cast<SetWindowThemeProc>(reinterpret_cast<void (*)()>(
        GetProcAddress(ThemeLibrary(), "SetWindowTheme")))(xp.GetHwnd(), L" ", L" ");
    ASSERT_TRUE(VisualStyles::IsAppThemed());
    ASSERT_EQ(nullptr, VisualStyles::OpenThemeData(xp.GetHwnd(), L"BUTTON"));
    MoveOnto(xp.GetHwnd());  // both hot: where the flat border is off, no frame
    MoveOnto(classic.GetHwnd());
    for (UINT style : {BS_PUSHBUTTON, BS_DEFPUSHBUTTON})
        for (bool flat : {true, false})
            for (UINT state : {0, ODS_FOCUS, ODS_SELECTED, ODS_DISABLED}) {
                for (MWButton* b : std::vector<MWButton*>{&xp, &classic}) {
                    SendMessageA(b->GetHwnd(), BM_SETSTYLE, style, FALSE);
                    b->SetFlat(flat, false);
                }
                EXPECT_EQ(Drawn(classic.GetHwnd(), state), Drawn(xp.GetHwnd(), state))
                    << "style " << style << " flat " << flat << " state " << state;
            }
}

TEST(VisualStyles, AnEntryPointMissingFromTheLibraryFallsBackLikeAMissingLibrary)
{
    const FARPROC fallback = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Drawn));
    const HMODULE noThemes = GetModuleHandleA("kernel32.dll");
    EXPECT_EQ(fallback, ResolveThemeProc(nullptr, "OpenThemeData", fallback));
    EXPECT_EQ(fallback, ResolveThemeProc(noThemes, "OpenThemeData", fallback));
    EXPECT_EQ(GetProcAddress(ThemeLibrary(), "OpenThemeData"),
              GetThemeProc("OpenThemeData", fallback));
}

}  // namespace
