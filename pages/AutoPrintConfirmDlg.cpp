#include "pages/AutoPrintConfirmDlg.h"

#include "resources/resource.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"

AutoPrintConfirmDlg::~AutoPrintConfirmDlg() = default;

INT_PTR AutoPrintConfirmDlg::DoModal(WORD templateId, HWND parent)
{
    DWORD disabled = 0;
    ReadRegistryDword(settings::kProgramKey, settings::kDisableAutoPrintConfirmation, disabled);
    if (disabled != 0)
        return IDOK;
    return MWBaseDialog::DoModal(templateId, parent);
}

bool AutoPrintConfirmDlg::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        MWBaseDialog::DialogProc(hwnd, msg, wParam, lParam);
        OnInitDialog(hwnd);
        return false;  // the focus is set already
    case WM_COMMAND:
        if (LOWORD(wParam) == IDC_CONFIRM_YES || LOWORD(wParam) == IDC_CONFIRM_NO) {
            OnAnswer(hwnd, LOWORD(wParam));
            return true;
        }
        break;
    }
    // Escape and the close box end the warning here, without storing the check box.
    return MWBaseDialog::DialogProc(hwnd, msg, wParam, lParam);
}

void AutoPrintConfirmDlg::OnInitDialog(HWND hwnd)
{
    // The template names the program's icon; the warning shows the system's question mark.
    HICON question = LoadIconA(nullptr, IDI_QUESTION);
    SendDlgItemMessageA(hwnd, IDC_CONFIRM_ICON, STM_SETICON, reinterpret_cast<WPARAM>(question),
                        0);
    SetFocus(GetDlgItem(hwnd, IDC_CONFIRM_NO));
}

void AutoPrintConfirmDlg::OnAnswer(HWND hwnd, int controlId)
{
    if (IsDlgButtonChecked(hwnd, IDC_DONT_ASK_AGAIN) == BST_CHECKED)
        WriteRegistryDword(settings::kProgramKey, settings::kDisableAutoPrintConfirmation, 1);
    EndDialog(hwnd, controlId == IDC_CONFIRM_YES ? IDOK : IDCANCEL);
}
