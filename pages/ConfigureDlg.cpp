#include "pages/ConfigureDlg.h"

#include "core/PrinterList.h"
#include "pages/AutoPrintConfirmDlg.h"
#include "resources/resource.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"

#include <vector>

namespace {

// A switch that cannot be read keeps its value; any stored non-zero number is on.
void ReadSwitch(const char* valueName, bool& on)
{
    DWORD value = 0;
    if (ReadRegistryDword(settings::kProgramKey, valueName, value))
        on = value != 0;
}

void WriteCheckBox(HWND hwnd, int controlId, const char* valueName)
{
    const DWORD on = IsDlgButtonChecked(hwnd, controlId) == BST_CHECKED ? 1 : 0;
    WriteRegistryDword(settings::kProgramKey, valueName, on);
}

}  // namespace

ConfigureDlg::ConfigureDlg()
    : autoPrint_(false), suppressErrors_(false), exitAfterSending_(false),
      newlineAfterFormFeed_(false)
{
}

ConfigureDlg::~ConfigureDlg() = default;

bool ConfigureDlg::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    switch (msg) {
    case WM_INITDIALOG:
        MWBaseDialog::DialogProc(hwnd, msg, wParam, lParam);
        OnInitDialog(hwnd);
        return false;  // the focus is set already
    case WM_COMMAND:
        switch (LOWORD(wParam)) {
        case IDOK:
            if (!SaveSettings(hwnd))
                return false;
            EndDialog(hwnd, IDOK);
            return true;
        case IDC_OPEN_WIZARD:
        case IDC_AUTO_SEND:
            OnRadioClicked(hwnd, wParam);
            return true;
        }
        break;
    }
    return MWBaseDialog::DialogProc(hwnd, msg, wParam, lParam);
}

void ConfigureDlg::LoadSettings()
{
    ReadSwitch(settings::kAutoPrint, autoPrint_);
    WideString printer;
    if (ReadRegistryString(settings::kProgramKey, settings::kAutoPrintPrinter, printer, 512))
        autoPrintPrinter_ = printer;
    ReadSwitch(settings::kSuppressErrors, suppressErrors_);
    ReadSwitch(settings::kAutoClose, exitAfterSending_);
    ReadSwitch(settings::kAddNewLineAfterFormFeed, newlineAfterFormFeed_);
}

void ConfigureDlg::OnInitDialog(HWND hwnd)
{
    LoadSettings();

    shownPrinters_ = GetPrinterList();
    const std::vector<PrinterEntry>& printers = shownPrinters_;
    WPARAM selection = 0;
    for (size_t i = 0; i < printers.size(); ++i) {
        SendDlgItemMessageW(hwnd, IDC_AUTOPRINT_PRINTER, CB_ADDSTRING, 0,
                            reinterpret_cast<LPARAM>(printers[i].displayName.c_str()));
    }
    if (!autoPrintPrinter_.empty()) {
        for (size_t i = 0; i < printers.size(); ++i) {
            if (lstrcmpiW(printers[i].name.c_str(), autoPrintPrinter_.c_str()) == 0) {
                selection = i;
                break;
            }
        }
    }
    if (!printers.empty())
        SendDlgItemMessageA(hwnd, IDC_AUTOPRINT_PRINTER, CB_SETCURSEL, selection, 0);

    if (suppressErrors_)
        CheckDlgButton(hwnd, IDC_SUPPRESS_ERRORS, BST_CHECKED);
    const int radio = autoPrint_ ? IDC_AUTO_SEND : IDC_OPEN_WIZARD;
    CheckDlgButton(hwnd, radio, BST_CHECKED);
    SetFocus(GetDlgItem(hwnd, radio));
    EnableAutoPrintControls(hwnd, autoPrint_);
    if (exitAfterSending_)
        CheckDlgButton(hwnd, IDC_EXIT_AFTER_SENDING, BST_CHECKED);
    if (newlineAfterFormFeed_)
        CheckDlgButton(hwnd, IDC_NEWLINE_AFTER_FORM_FEED, BST_CHECKED);
}

void ConfigureDlg::OnRadioClicked(HWND hwnd, WPARAM wParam)
{
    const int controlId = LOWORD(wParam);
    if (HIWORD(wParam) != BN_CLICKED || IsDlgButtonChecked(hwnd, controlId) != BST_CHECKED)
        return;
    EnableAutoPrintControls(hwnd, controlId == IDC_AUTO_SEND);
}

void ConfigureDlg::EnableAutoPrintControls(HWND hwnd, bool on)
{
    EnableWindow(GetDlgItem(hwnd, IDC_AUTOPRINT_PRINTER), on ? TRUE : FALSE);
    EnableWindow(GetDlgItem(hwnd, IDC_SUPPRESS_ERRORS), on ? TRUE : FALSE);
}

bool ConfigureDlg::SaveSettings(HWND hwnd)
{
    const bool autoPrint = IsDlgButtonChecked(hwnd, IDC_AUTO_SEND) == BST_CHECKED;
    if (autoPrint) {
        // Asked on every "OK" with automatic printing chosen, also when it was on already.
        AutoPrintConfirmDlg warning;
        if (warning.DoModal(IDD_AUTOPRINT_CONFIRM, hwnd) == IDCANCEL)
            return false;
    }

    // The printer is checked before anything is written: automatic printing switched on
    // without a printer would make every opened file fail. A printer that has gone since
    // the box was filled counts as none.
    const LRESULT selection =
        SendDlgItemMessageA(hwnd, IDC_AUTOPRINT_PRINTER, CB_GETCURSEL, 0, 0);
    const WideString printer = PickedPrinter(shownPrinters_, selection, GetPrinterList());
    if (autoPrint && printer.empty()) {
        MessageBoxA(hwnd, "Error retrieving printer for automatic printing.", "Error",
                    MB_ICONWARNING);
        return false;
    }

    WriteRegistryDword(settings::kProgramKey, settings::kAutoPrint, autoPrint ? 1 : 0);
    // The disabled box keeps its selection, so the printer is stored for the wizard
    // choice as well; with no selection the stored printer stays as it was.
    if (!printer.empty())
        WriteRegistryString(settings::kProgramKey, settings::kAutoPrintPrinter, printer);
    WriteCheckBox(hwnd, IDC_SUPPRESS_ERRORS, settings::kSuppressErrors);
    WriteCheckBox(hwnd, IDC_NEWLINE_AFTER_FORM_FEED, settings::kAddNewLineAfterFormFeed);
    WriteCheckBox(hwnd, IDC_EXIT_AFTER_SENDING, settings::kAutoClose);
    return true;
}
