#include "toolkit/Dpi.h"

namespace dpi {

namespace {

using GetDpiForWindowCall = UINT(WINAPI*)(HWND);
using AdjustWindowRectExForDpiCall = BOOL(WINAPI*)(RECT*, DWORD, BOOL, DWORD, UINT);
using EnableNonClientDpiScalingCall = BOOL(WINAPI*)(HWND);

// user32 is loaded with the program; only its newer entries are looked up.
FARPROC User32Entry(const char* name)
{
    const HMODULE user32 = GetModuleHandleA("user32.dll");
    return user32 != nullptr ? GetProcAddress(user32, name) : nullptr;
}

template <class Call>
Call Bound(const char* name)
{
    return reinterpret_cast<Call>(reinterpret_cast<void*>(User32Entry(name)));
}

// The dialog manager's units of a font: the letters' average width and the line height.
SIZE DialogUnits(HFONT font)
{
    static const char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    SIZE units = {0, 0};
    const HDC dc = GetDC(nullptr);
    const HGDIOBJ previous = SelectObject(dc, font);
    TEXTMETRICA metrics = {};
    SIZE letters = {};
    if (GetTextMetricsA(dc, &metrics) && GetTextExtentPoint32A(dc, kLetters, 52, &letters))
        units = {(letters.cx / 26 + 1) / 2, metrics.tmHeight};
    SelectObject(dc, previous);
    ReleaseDC(nullptr, dc);
    return units;
}

// An edge and a length in pixels of today's units, as whole template units (the template
// has no others), in pixels of the 96-DPI units times the scale.
struct Span {
    int from, to;
};
Span Respan(int from, int length, int now, int at96, int perUnit, UINT dpi)
{
    const int start96 = MulDiv(MulDiv(from, perUnit, now), at96, perUnit);
    const int length96 = MulDiv(MulDiv(length, perUnit, now), at96, perUnit);
    return {Scale(start96, dpi), Scale(start96 + length96, dpi)};
}

}  // namespace

int Scale(int value, UINT dpi)
{
    return MulDiv(value, static_cast<int>(dpi), static_cast<int>(kBase));
}

UINT System()
{
    const HDC screen = GetDC(nullptr);
    const int logPixels = screen != nullptr ? GetDeviceCaps(screen, LOGPIXELSX) : 0;
    if (screen != nullptr)
        ReleaseDC(nullptr, screen);
    return logPixels > 0 ? static_cast<UINT>(logPixels) : kBase;
}

UINT ForWindow(HWND window)
{
    static const auto getDpiForWindow = Bound<GetDpiForWindowCall>("GetDpiForWindow");
    const UINT dpi = getDpiForWindow != nullptr && window != nullptr ? getDpiForWindow(window) : 0;
    return dpi != 0 ? dpi : System();
}

void AdjustRect(RECT& client, DWORD style, DWORD exStyle, UINT dpi)
{
    static const auto adjust = Bound<AdjustWindowRectExForDpiCall>("AdjustWindowRectExForDpi");
    if (adjust == nullptr || !adjust(&client, style, FALSE, exStyle, dpi))
        AdjustWindowRectEx(&client, style, FALSE, exStyle);
}

void EnableNonClientScaling(HWND window)
{
    static const auto enable = Bound<EnableNonClientDpiScalingCall>("EnableNonClientDpiScaling");
    if (enable != nullptr)
        enable(window);
}

void LayOutDialog(HWND dialog)
{
    const UINT dpi = ForWindow(dialog);
    const auto font = reinterpret_cast<HFONT>(SendMessageA(dialog, WM_GETFONT, 0, 0));
    LOGFONTA description = {};
    if (dpi == kBase || font == nullptr || GetObjectA(font, sizeof(description), &description) == 0)
        return;
    RECT now = {0, 0, 4, 8};  // one unit across and down, in pixels times 4 and 8
    MapDialogRect(dialog, &now);
    description.lfHeight = MulDiv(description.lfHeight, static_cast<int>(kBase), static_cast<int>(dpi));
    const HFONT font96 = CreateFontIndirectA(&description);
    const SIZE at96 = font96 != nullptr ? DialogUnits(font96) : SIZE{0, 0};
    if (font96 != nullptr)
        DeleteObject(font96);
    if (at96.cx == 0 || now.right == 0 || now.bottom == 0)
        return;
    for (HWND c = GetWindow(dialog, GW_CHILD); c != nullptr; c = GetWindow(c, GW_HWNDNEXT)) {
        RECT r = {};
        GetWindowRect(c, &r);
        // A combo box is as tall as its open list.
        SendMessageA(c, CB_GETDROPPEDCONTROLRECT, 0, reinterpret_cast<LPARAM>(&r));
        MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&r), 2);
        const Span x = Respan(r.left, r.right - r.left, now.right, at96.cx, 4, dpi);
        const Span y = Respan(r.top, r.bottom - r.top, now.bottom, at96.cy, 8, dpi);
        SetWindowPos(c, nullptr, x.from, y.from, x.to - x.from, y.to - y.from,
                     SWP_NOZORDER | SWP_NOACTIVATE);
    }
    RECT client = {};
    RECT outer = {};
    GetClientRect(dialog, &client);
    GetWindowRect(dialog, &outer);
    const Span x = Respan(0, client.right, now.right, at96.cx, 4, dpi);
    const Span y = Respan(0, client.bottom, now.bottom, at96.cy, 8, dpi);
    SetWindowPos(dialog, nullptr, 0, 0, (outer.right - outer.left) - client.right + x.to,
                 (outer.bottom - outer.top) - client.bottom + y.to,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

HFONT CreateGuiFont(UINT dpi)
{
    LOGFONTA font = {};
    if (GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof(font), &font) == 0)
        return nullptr;
    // The stock font is made for the system's DPI; its height at 96 is the layout's.
    font.lfHeight = MulDiv(font.lfHeight, static_cast<int>(kBase), static_cast<int>(System()));
    font.lfHeight = Scale(font.lfHeight, dpi);
    font.lfWidth = 0;
    return CreateFontIndirectA(&font);
}

}  // namespace dpi
