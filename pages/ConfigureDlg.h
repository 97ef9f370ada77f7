#pragma once
// The modal dialog that sets what happens when Kestrola is started with a file (the
// wizard or automatic printing), the printer and error handling of automatic printing,
// and the two job options. It loads its settings when it opens and writes them on "OK".

#include "core/PrinterList.h"
#include "core/WideString.h"
#include "toolkit/MWBaseDialog.h"

#include <vector>

class ConfigureDlg : public MWBaseDialog {
public:
    ConfigureDlg();
    ~ConfigureDlg() override;

    bool DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) override;

    // Reads the five settings; a value that cannot be read keeps what it had (off, empty).
    void LoadSettings();
    // Writes the controls' settings after the warning; false keeps the dialog open.
    bool SaveSettings(HWND hwnd);
    // The printer box and "Suppress error messages" belong to automatic printing.
    void EnableAutoPrintControls(HWND hwnd, bool on);

private:
    void OnInitDialog(HWND hwnd);
    void OnRadioClicked(HWND hwnd, WPARAM wParam);

    bool autoPrint_;
    WideString autoPrintPrinter_;
    bool suppressErrors_;
    bool exitAfterSending_;
    bool newlineAfterFormFeed_;
    std::vector<PrinterEntry> shownPrinters_;  // as the printer box shows them
};
