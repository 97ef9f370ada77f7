#pragma once
// The visual-styles library ("UxTheme.dll") bound at run time: the program does not link
// it, looks every entry point up by name on each call and has a fallback for each, so it
// starts and draws classically where the library or one of its entry points is missing.

#include <windows.h>

#include <uxtheme.h>  // for HTHEME only

// library's entry point `name`, or fallback when the library is null or lacks the entry.
FARPROC ResolveThemeProc(HMODULE library, const char* name, FARPROC fallback);
// The same for the process's visual-styles library (ThemeLibrary()).
FARPROC GetThemeProc(const char* name, FARPROC fallback);

namespace VisualStyles {

// Fallback: false.
BOOL IsAppThemed();
// Fallback: a null theme.
HTHEME OpenThemeData(HWND hwnd, LPCWSTR classList);
// Fallback: E_FAIL.
HRESULT CloseThemeData(HTHEME theme);
// Draws the parent's background behind the part first (when the library can and hwnd is
// given), then the part. Without the library: E_FAIL and nothing drawn.
HRESULT DrawThemedBackground(HTHEME theme, HWND hwnd, HDC hdc, int partId, int stateId,
                             const RECT* rect, const RECT* clip);

}  // namespace VisualStyles
