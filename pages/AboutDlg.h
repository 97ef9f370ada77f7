#pragma once
// The About box: the printer picture, the product's name and version, the copyright, a
// link to the product's page and a credit for the icons with a link to their designer.
// Opened modally from dialog template 102 with this procedure; it ends with 0.

#include <windows.h>

// The icon designer's web site, the target of the credit's link.
extern const char kIconDesignerWebAddress[];

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
