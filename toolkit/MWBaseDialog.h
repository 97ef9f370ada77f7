#pragma once
// Runs a modal dialog from a template in the program's resources and binds it to an
// object, found from the dialog window through the property "Morrowick_DlgBasePtr".

#include <windows.h>

extern const char kDlgBasePtrProperty[];  // "Morrowick_DlgBasePtr"

// The top-left corner that centres a window of `window`'s size on `reference`. An odd
// difference of sizes rounds down, also when it is negative (-5 gives -3).
POINT CentredTopLeft(const RECT& reference, const RECT& window);

// The dialog procedure behind every dialog run by an MWBaseDialog.
INT_PTR CALLBACK BaseDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class MWBaseDialog {
public:
    MWBaseDialog() = default;
    virtual ~MWBaseDialog();
    MWBaseDialog(const MWBaseDialog&) = delete;
    MWBaseDialog& operator=(const MWBaseDialog&) = delete;

    // What the dialog passed to EndDialog, or DialogBoxParamW's failure result (0 or -1).
    virtual INT_PTR DoModal(WORD templateId, HWND parent);
    // Centres the dialog on WM_INITDIALOG and ends it with 1 on IDOK and 2 on IDCANCEL.
    // Derived dialogs call this version for the messages they leave to it.
    virtual bool DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
};
