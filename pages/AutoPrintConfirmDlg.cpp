#include "pages/AutoPrintConfirmDlg.h"

#include "resources/resource.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"
#include "toolkit/Dpi.h"

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
    case dpi::kChangedMessage:
        ShowQuestionIcon(hwnd);
        break;  // the dialog itself follows the new scale
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
    ShowQuestionIcon(hwnd);
    SetFocus(GetDlgItem(hwnd, IDC_CONFIRM_NO));
}

// The template names the program's icon; the warning shows the system's question mark, at
// the size of the dialog's display scale (32 pixels at 100 %).
void AutoPrintConfirmDlg::ShowQuestionIcon(HWND hwnd)
{
    const int size = dpi::Scale(32, dpi::ForWindow(hwnd));
    HANDLE question = LoadImageA(nullptr, IDI_QUESTION, IMAGE_ICON, size, size, LR_SHARED);
    SendDlgItemMessageA(hwnd, IDC_CONFIRM_ICON, STM_SETICON, reinterpret_cast<WPARAM>(question),
                        0);
}

void AutoPrintConfirmDlg::OnAnswer(HWND hwnd, int controlId)
{
    if (IsDlgButtonChecked(hwnd, IDC_DONT_ASK_AGAIN) == BST_CHECKED)
        WriteRegistryDword(settings::kProgramKey, settings::kDisableAutoPrintConfirmation, 1);
    EndDialog(hwnd, controlId == IDC_CONFIRM_YES ? IDOK : IDCANCEL);
}
