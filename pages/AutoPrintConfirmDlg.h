#pragma once
// The Yes/No warning shown before automatic printing is switched on. Its "Don't ask me
// this again." box turns it off for good through "DisableAutoPrintConfirmation".

#include "toolkit/MWBaseDialog.h"

class AutoPrintConfirmDlg : public MWBaseDialog {
public:
    ~AutoPrintConfirmDlg() override;

    // 1 to go on ("Yes", or the warning is switched off: then no window is shown),
    // 2 to stop ("No", Escape or the close box).
    INT_PTR DoModal(WORD templateId, HWND parent) override;
    bool DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

private:
    void OnInitDialog(HWND hwnd);
    void ShowQuestionIcon(HWND hwnd);
    void OnAnswer(HWND hwnd, int controlId);
};
