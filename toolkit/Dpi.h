#pragma once
// The display scale of the program's windows. Every pixel measure of the layout is written
// at 96 DPI and goes through Scale with the DPI of the window it is for. The system calls
// that know a window's own DPI exist from Windows 10 1607 on; they are bound the first time
// a window asks, and older systems get the system DPI instead.

#include <windows.h>

namespace dpi {

constexpr UINT kBase = 96;  // 100 %
// WM_DPICHANGED, which the headers for Windows Vista leave out.
constexpr UINT kChangedMessage = 0x02E0;

// value (a measure at 96 DPI) for a window at dpi, rounded to the nearest pixel.
int Scale(int value, UINT dpi);
// The DPI the window is drawn at: its monitor's under per-monitor awareness.
UINT ForWindow(HWND window);
// The screen's DPI (LOGPIXELSX), which is every window's before Windows 10 1607.
UINT System();
// A frame's outer rectangle for the client rectangle in client at dpi.
void AdjustRect(RECT& client, DWORD style, DWORD exStyle, UINT dpi);
// Lets Windows scale the caption and borders of a top-level window on its own (per-monitor
// awareness of Windows 10 1607, which the later version does by itself). For WM_NCCREATE.
void EnableNonClientScaling(HWND window);

// Dialog units become pixels through the dialog font's average letter size, whose pixels
// are whole at every size and so do not grow in step with the scale. This puts a dialog's
// client area and controls where their units put them at 96 DPI, times the scale; at 96
// DPI it changes nothing. For WM_INITDIALOG, before the dialog is placed.
void LayOutDialog(HWND dialog);

// The program's text font at dpi: the face and height of the stock GUI font at 96 DPI.
// The caller owns it.
HFONT CreateGuiFont(UINT dpi);

}  // namespace dpi
