// How MWButton and MWButtonXP paint: image placement, grey icons, the classic edge and
// the visual-style states, checked pixel by pixel on a memory canvas.

#include "support/WindowTesting.h"
#include "toolkit/ButtonImages.h"
#include "toolkit/MWButtonXP.h"
#include "toolkit/ToolkitProcess.h"
#include "toolkit/VisualStyles.h"

#include <gtest/gtest.h>

#include <vssym32.h>

#include <string>
#include <vector>

using namespace testenv;

namespace {

const DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;
const RECT kParentRect = {100, 100, 500, 400};
const COLORREF kMagenta = RGB(255, 0, 255);
COLORREF Sys(int index)
{
    return GetSysColor(index);
}

TEST(ButtonImages, ImageSitsAtSixAndAHalfPercentLeftOfTheCaptionOrCentred)
{
    const struct {
        RECT item;
        bool caption, pressed, checkMode;
        LONG left, top, captionLeft;
    } cases[] = {
        {{0, 0, 248, 58}, false, false, false, 108, 13, 0},
        {{0, 0, 248, 58}, true, false, false, 16, 13, 48},
        {{0, 0, 248, 58}, true, true, false, 17, 14, 48},   // pressed moves the image
        {{0, 0, 248, 58}, true, true, true, 16, 13, 48},    // except in check mode
        {{0, 0, 200, 58}, true, false, false, 12, 13, 44},  // 12.99999 truncated
        {{10, 20, 110, 60}, true, false, false, 16, 24, 48},
        {{0, 0, 19, 19}, false, false, false, -6, -6, 0},  // image wider than the button
    };
    for (const auto& c : cases) {
        RECT caption = c.item;
        const RECT image =
            PrepareImageRect(c.caption, c.item, caption, c.pressed, c.checkMode, {1, 1}, 32, 32);
        const LONG moved = c.pressed && !c.checkMode ? 1 : 0;
        EXPECT_EQ(
            (std::vector<LONG>{c.left, c.top, c.item.right + moved, c.item.bottom + moved,
                               c.caption ? c.captionLeft : c.item.left}),
            (std::vector<LONG>{image.left, image.top, image.right, image.bottom, caption.left}))
            << c.item.right << c.caption << c.pressed << c.checkMode;
    }
}

// An 8 x 8 icon whose row y has colour rows[y]; the left half is masked out.
HICON MakeIcon(const std::vector<COLORREF>& rows)
{
    HDC screen = GetDC(nullptr);
    HBITMAP color = CreateCompatibleBitmap(screen, 8, 8);
    ReleaseDC(nullptr, screen);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, color);
    for (int y = 0; y < 8; ++y)
        for (int x = 0; x < 8; ++x)
            SetPixel(dc, x, y, rows[y]);
    SelectObject(dc, old);
    DeleteDC(dc);
    const WORD maskRows[8] = {0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0, 0xF0};
    HBITMAP mask = CreateBitmap(8, 8, 1, 1, maskRows);
    ICONINFO info = {TRUE, 0, 0, mask, color};
    HICON icon = CreateIconIndirect(&info);
    DeleteObject(mask);
    DeleteObject(color);
    return icon;
}

std::vector<COLORREF> BitmapPixels(HBITMAP bitmap)
{
    Canvas canvas(8, 8, kMagenta);
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ old = SelectObject(dc, bitmap);
    BitBlt(canvas.dc(), 0, 0, 8, 8, dc, 0, 0, SRCCOPY);
    SelectObject(dc, old);
    DeleteDC(dc);
    DeleteObject(bitmap);
    return canvas.Pixels();
}

TEST(ButtonImages, GreyIconKeepsBlackPixelsBlackAndTheMask)
{
    HICON icon = MakeIcon({RGB(0, 0, 0), RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255),
                           RGB(255, 255, 255), RGB(200, 200, 200), RGB(1, 0, 0), 0});
    HICON grey = CreateGrayscaleIcon(icon);
    ICONINFO source = {}, made = {};
    ASSERT_TRUE(GetIconInfo(icon, &source) && GetIconInfo(grey, &made));
    DeleteObject(source.hbmColor);
    const std::vector<COLORREF> pixels = BitmapPixels(made.hbmColor);
    for (COLORREF p : pixels)
        EXPECT_TRUE(GetRValue(p) == GetGValue(p) && GetGValue(p) == GetBValue(p)) << std::hex << p;
    auto level = [&](int row) { return GetRValue(pixels[row * 8 + 5]); };
    EXPECT_EQ(std::vector<COLORREF>(8, 0),
              std::vector<COLORREF>(pixels.begin(), pixels.begin() + 8));
    EXPECT_TRUE(level(2) > level(1) && level(1) > level(3));  // green, red, blue in brightness
    EXPECT_GE(level(4), 254);
    EXPECT_NEAR(200, level(5), 1);
    EXPECT_EQ(BitmapPixels(source.hbmMask), BitmapPixels(made.hbmMask));
    DestroyIcon(grey);
    DestroyIcon(icon);
    EXPECT_EQ(nullptr, CreateGrayscaleIcon(nullptr));
}

bool AllGrey(const Canvas& canvas)
{
    for (COLORREF p : canvas.Pixels())
        if (GetRValue(p) != GetGValue(p) || GetGValue(p) != GetBValue(p))
            return false;
    return true;
}

TEST(ButtonDrawing, ClassicFocusedButtonGetsABlackFrameAndItsEdgeMovesInward)
{
    TestWindow parent(WS_POPUP | WS_VISIBLE, kParentRect);
    MWButton button;
    ASSERT_TRUE(button.Create(0, "", kChild, {10, 10, 110, 50}, parent.get(), 101));
    button.SetFlat(false, false);
    const int w = 100, h = 40;
    for (int i : {0, 1}) {  // unfocused, then focused: everything one pixel inward
        Canvas canvas(w, h, kMagenta);
        canvas.DrawButton(button.GetHwnd(), button.GetHwnd(), i ? ODS_FOCUS : 0);
        for (COLORREF p :
             {canvas.Pixel(0, 0), canvas.Pixel(w / 2, h - 1), canvas.Pixel(w - 1, h / 2)})
            EXPECT_EQ(i == 1, p == RGB(0, 0, 0));
        EXPECT_EQ(Sys(COLOR_BTNHIGHLIGHT), canvas.Pixel(i, h / 2));
        EXPECT_EQ(Sys(COLOR_3DLIGHT), canvas.Pixel(i + 1, h / 2));
        EXPECT_EQ(Sys(COLOR_3DDKSHADOW), canvas.Pixel(w - 1 - i, h / 2));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), canvas.Pixel(w - 2 - i, h / 2));
        EXPECT_EQ(Sys(COLOR_3DDKSHADOW), canvas.Pixel(w / 2, h - 1 - i));
        EXPECT_EQ(Sys(COLOR_BTNSHADOW), canvas.Pixel(w / 2, h - 2 - i));
        // The dotted focus rectangle runs 3 pixels inside the framed face.
        EXPECT_EQ(Sys(COLOR_BTNFACE), canvas.Pixel(w / 2 + 1, 3));
        EXPECT_EQ(i == 1, canvas.Pixel(w / 2, 4) != Sys(COLOR_BTNFACE) ||
                              canvas.Pixel(w / 2 + 1, 4) != Sys(COLOR_BTNFACE));
    }

    // A second icon made grey is shown unless the button is pressed or hot.
    ASSERT_EQ(0, button.SetIcons(107, AutoGrayIcon));
    Canvas canvas(w, h, kMagenta);
    canvas.DrawButton(button.GetHwnd(), button.GetHwnd(), 0);
    EXPECT_TRUE(AllGrey(canvas));
    canvas.DrawButton(button.GetHwnd(), button.GetHwnd(), ODS_SELECTED);
    EXPECT_FALSE(AllGrey(canvas));  // the printer's green lamp
    EXPECT_EQ(1, button.SetIconHandles(reinterpret_cast<HICON>(0x1234), nullptr));
    canvas.DrawButton(button.GetHwnd(), button.GetHwnd(), ODS_SELECTED);
    EXPECT_TRUE(AllGrey(canvas));  // an icon that cannot be measured is dropped
}

template <class Proc>
Proc ThemeFunction(const char* name)
{
    return reinterpret_cast<Proc>(
        reinterpret_cast<void (*)()>(GetProcAddress(ThemeLibrary(), name)));
}

std::vector<COLORREF> Drawn(HWND button, UINT itemState)
{
    Canvas canvas(120, 40, kMagenta);
    canvas.DrawButton(GetParent(button), button, itemState);
    return canvas.Pixels();
}

// What the theme itself draws for the push-button part in state, over the parent.
std::vector<COLORREF> ThemeDrawn(HWND button, int state)
{
    Canvas canvas(120, 40, kMagenta);
    const RECT rect = {0, 0, 120, 40};
    using DrawParentProc = HRESULT(WINAPI*)(HWND, HDC, const RECT*);
    using DrawProc = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
    HTHEME theme = VisualStyles::OpenThemeData(button, L"BUTTON");
    ThemeFunction<DrawParentProc>("DrawThemeParentBackground")(button, canvas.dc(), &rect);
    ThemeFunction<DrawProc>("DrawThemeBackground")(theme, canvas.dc(), BP_PUSHBUTTON, state, &rect,
                                                   nullptr);
    VisualStyles::CloseThemeData(theme);
    return canvas.Pixels();
}

void MakeHot(MWButton& button)
{
    POINT point = {20, 15};
    ClientToScreen(button.GetHwnd(), &point);
    SetCursorPos(point.x, point.y);
    SendMessageA(button.GetHwnd(), WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
}

TEST(ButtonXP, ThemedButtonIsDrawnInTheStateItIsIn)
{
    ASSERT_TRUE(VisualStyles::IsAppThemed()) << "the test prefix runs with Wine's light theme";
    TestWindow parent(WS_POPUP | WS_VISIBLE, kParentRect);
    MWButtonXP button, defaultButton;
    ASSERT_TRUE(button.Create(0, "", kChild, {10, 10, 130, 50}, parent.get(), 101));
    ASSERT_TRUE(defaultButton.Create(0, "", kChild | BS_DEFPUSHBUTTON, {10, 60, 130, 100},
                                     parent.get(), 102));
    const HWND window = button.GetHwnd();
    std::vector<COLORREF> theme[6];
    for (int state = PBS_NORMAL; state <= PBS_DEFAULTED; ++state)
        theme[state] = ThemeDrawn(window, state);
    ASSERT_TRUE(theme[1] != theme[2] && theme[1] != theme[3] && theme[1] != theme[4] &&
                theme[2] != theme[3] && theme[2] != theme[4] && theme[3] != theme[4]);

    EXPECT_EQ(theme[PBS_NORMAL], Drawn(window, ODS_FOCUS));
    EXPECT_EQ(theme[PBS_PRESSED], Drawn(window, ODS_SELECTED));
    EXPECT_EQ(theme[PBS_DISABLED], Drawn(window, ODS_DISABLED | ODS_SELECTED));
    EXPECT_EQ(ThemeDrawn(defaultButton.GetHwnd(), PBS_DEFAULTED),
              Drawn(defaultButton.GetHwnd(), 0));
    SetCapture(window);  // pressed on it, then the pointer moved off
    EXPECT_EQ(theme[PBS_HOT], Drawn(window, 0));
    ReleaseCapture();
    MakeHot(button);
    EXPECT_EQ(theme[PBS_HOT], Drawn(window, 0));
    EXPECT_EQ(theme[PBS_PRESSED], Drawn(window, ODS_SELECTED));
    EXPECT_EQ(theme[PBS_DISABLED], Drawn(window, ODS_DISABLED));

    // Non-flat and focused: the theme's face with the focus rectangle, no black frame.
    button.SetFlat(false, false);
    const std::vector<COLORREF> focused = Drawn(window, ODS_FOCUS);
    EXPECT_EQ(theme[PBS_HOT][0], focused[0]);
    EXPECT_NE(theme[PBS_HOT], focused);

    const struct {
        int state;
        bool isDefault, hot, pressed, disabled, captured;
    } table[] = {
        {PBS_DEFAULTED, true, false, false, false, true},
        {PBS_HOT, true, true, false, false, false},
        {PBS_PRESSED, true, true, true, false, true},
        {PBS_DISABLED, true, true, true, true, true},
    };
    for (const auto& c : table)
        EXPECT_EQ(c.state,
                  PushButtonThemeState(c.isDefault, c.hot, c.pressed, c.disabled, c.captured));
}

// MWButton as MWButtonXP paints it without a theme: no frame while hot in the flat look.
class ButtonWithoutFlatBorder : public MWButton {
public:
    ButtonWithoutFlatBorder() { flatBorder = false; }
};

TEST(ButtonXP, PaintsLikeTheClassicButtonWhenItsThemeCannotBeOpened)
{
    ASSERT_TRUE(VisualStyles::IsAppThemed());
    TestWindow parent(WS_POPUP | WS_VISIBLE, kParentRect);
    MWButtonXP xp;
    ButtonWithoutFlatBorder classic;
    ASSERT_TRUE(xp.Create(0, "Send a file", kChild, {10, 10, 130, 50}, parent.get(), 101));
    ASSERT_TRUE(classic.Create(0, "Send a file", kChild, {10, 70, 130, 110}, parent.get(), 102));
    using SetWindowThemeProc = HRESULT(WINAPI*)(HWND, LPCWSTR, LPCWSTR);
    ThemeFunction<SetWindowThemeProc>("SetWindowTheme")(xp.GetHwnd(), L" ", L" ");
    ASSERT_EQ(nullptr, VisualStyles::OpenThemeData(xp.GetHwnd(), L"BUTTON"));
    ASSERT_EQ(0, xp.SetIcons(107, AutoGrayIcon));
    ASSERT_EQ(0, classic.SetIcons(107, AutoGrayIcon));
    for (UINT style : {BS_PUSHBUTTON, BS_DEFPUSHBUTTON}) {
        SendMessageA(xp.GetHwnd(), BM_SETSTYLE, style, FALSE);
        SendMessageA(classic.GetHwnd(), BM_SETSTYLE, style, FALSE);
        for (bool flat : {true, false}) {
            xp.SetFlat(flat, false);
            classic.SetFlat(flat, false);
            for (UINT state : {0, ODS_FOCUS, ODS_SELECTED | ODS_FOCUS, ODS_DISABLED})
                EXPECT_EQ(Drawn(classic.GetHwnd(), state), Drawn(xp.GetHwnd(), state))
                    << "style " << style << " flat " << flat << " state " << state;
        }
    }
    xp.SetFlat(true, false);  // both track the pointer in the flat look
    classic.SetFlat(true, false);
    MakeHot(xp);
    MakeHot(classic);
    ASSERT_TRUE(xp.IsHot() && classic.IsHot());
    EXPECT_EQ(Drawn(classic.GetHwnd(), 0), Drawn(xp.GetHwnd(), 0));
}

TEST(VisualStyles, EveryEntryPointFallsBackWhenTheLibraryOrTheEntryIsMissing)
{
    const FARPROC fallback = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(&Sys));
    for (const char* name : {"IsAppThemed", "OpenThemeData", "DrawThemeParentBackground"}) {
        EXPECT_EQ(fallback, ResolveThemeProc(nullptr, name, fallback)) << name;
        EXPECT_EQ(fallback, ResolveThemeProc(GetModuleHandleA("kernel32.dll"), name, fallback))
            << name;
        EXPECT_EQ(GetProcAddress(ThemeLibrary(), name), GetThemeProc(name, fallback)) << name;
    }
}

}  // namespace
