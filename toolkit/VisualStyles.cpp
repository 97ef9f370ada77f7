#include "toolkit/VisualStyles.h"

#include "toolkit/ToolkitProcess.h"

namespace {

using IsAppThemedProc = BOOL(WINAPI*)();
using OpenThemeDataProc = HTHEME(WINAPI*)(HWND, LPCWSTR);
using CloseThemeDataProc = HRESULT(WINAPI*)(HTHEME);
using DrawThemeBackgroundProc = HRESULT(WINAPI*)(HTHEME, HDC, int, int, const RECT*, const RECT*);
using DrawThemeParentBackgroundProc = HRESULT(WINAPI*)(HWND, HDC, const RECT*);

BOOL WINAPI NotThemed()
{
    return FALSE;
}
HTHEME WINAPI NoTheme(HWND, LPCWSTR)
{
    return nullptr;
}
HRESULT WINAPI CannotClose(HTHEME)
{
    return E_FAIL;
}
HRESULT WINAPI CannotDraw(HTHEME, HDC, int, int, const RECT*, const RECT*)
{
    return E_FAIL;
}

// Entry points travel as FARPROC; the detour through void (*)() keeps the casts between
// function types explicit.
template <class Proc>
Proc ThemeEntry(const char* name, Proc fallback)
{
    const FARPROC generic = reinterpret_cast<FARPROC>(reinterpret_cast<void (*)()>(fallback));
    return reinterpret_cast<Proc>(reinterpret_cast<void (*)()>(GetThemeProc(name, generic)));
}

}  // namespace

FARPROC ResolveThemeProc(HMODULE library, const char* name, FARPROC fallback)
{
    if (!library)
        return fallback;
    // A library too old to have the entry point is treated like a missing library.
    const FARPROC proc = GetProcAddress(library, name);
    return proc ? proc : fallback;
}

FARPROC GetThemeProc(const char* name, FARPROC fallback)
{
    return ResolveThemeProc(ThemeLibrary(), name, fallback);
}

namespace VisualStyles {

BOOL IsAppThemed()
{
    return ThemeEntry<IsAppThemedProc>("IsAppThemed", NotThemed)();
}

HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList)
{
    return ThemeEntry<OpenThemeDataProc>("OpenThemeData", NoTheme)(hwnd, classList);
}

HRESULT CloseThemeData(HTHEME theme)
{
    return ThemeEntry<CloseThemeDataProc>("CloseThemeData", CannotClose)(theme);
}

HRESULT DrawThemedBackground(HTHEME theme, HWND hwnd, HDC hdc, int partId, int stateId,
                             const RECT* rect, const RECT* clip)
{
    const auto drawParent =
        ThemeEntry<DrawThemeParentBackgroundProc>("DrawThemeParentBackground", nullptr);
    if (drawParent && hwnd)
        drawParent(hwnd, hdc, rect);
    return ThemeEntry<DrawThemeBackgroundProc>("DrawThemeBackground", CannotDraw)(
        theme, hdc, partId, stateId, rect, clip);
}

}  // namespace VisualStyles
