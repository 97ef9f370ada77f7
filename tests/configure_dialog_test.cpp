// The configuration dialog and its automatic-printing warning, run modally with the user's
// part played from a timer inside their own dialog loops.

#include "pages/ConfigureDlg.h"
#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testenv;

namespace {

using Values = std::map<std::string, std::string>;
const char kConfig[] = "Kestrola Configuration", kWarning[] = "Warning";
const char kPrinterB[] = "Kestrola Config B", kConnection[] = "\\\\Kestrola-srv\\Labels";

LoopStep Clicks(const char* caption, std::vector<int> ids)
{
    return [=] {
        for (int id : ids)
            PostMessageA(GetDlgItem(FindThreadWindow(caption), id), BM_CLICK, 0, 0);
    };
}

// Runs the dialog on an empty program key with the stored values and the steps played in
// its loops; every step must run, and whatever is left open is cancelled at the end.
// Returns what was stored afterwards.
Values RunDialog(const Values& stored, std::vector<LoopStep> steps, INT_PTR result)
{
    ProgramKeyGuard guard;
    for (const auto& [name, value] : stored)
        name == "AutoPrintPrinter" ? RawWriteString(kProgramSubKey, name, value)
                                   : RawWriteDword(kProgramSubKey, name, std::stoul(value));
    const size_t count = steps.size();
    steps.push_back([] {
        for (const char* caption : {"Error", kWarning, kConfig})
            PostMessageA(FindThreadWindow(caption), WM_COMMAND, IDCANCEL, 0);
    });
    ConfigureDlg dialog;
    INT_PTR ended = 0;
    EXPECT_EQ(count, RunLoopScript([&] { ended = dialog.DoModal(IDD_CONFIGURE, nullptr); },
                                   [] { return HWND(); }, std::move(steps)));
    EXPECT_EQ(result, ended);
    return RawValues(kProgramSubKey);
}

// The options, then the printer, as saved; the warning switch is added where it is stored.
Values Saved(const char* newLine, const char* autoClose, const char* autoPrint, const char* printer,
             const char* suppress, const char* noWarning = nullptr)
{
    Values saved = {{"AddNewLineAfterFormFeed", newLine}, {"AutoClose", autoClose}, {"AutoPrint", autoPrint},
                    {"AutoPrintPrinter", printer}, {"SuppressErrors", suppress}};
    if (noWarning)
        saved["DisableAutoPrintConfirmation"] = noWarning;
    return saved;
}

TEST(ConfigureDlg, LoadsAsksAndSavesAsTheUserAnswers)
{
    CapturePrinter printer(kPrinterB);
    PrinterSetup printers;
    printers.SetDefault(kConnection);  // first in the box, as "Labels on Kestrola-srv"
    const Values twos = {{"AutoPrint", "2"}, {"AutoPrintPrinter", "KESTROLA config b"},
                         {"SuppressErrors", "2"}, {"AutoClose", "2"}, {"AddNewLineAfterFormFeed", "2"}};
    std::unique_ptr<CapturePrinter> added;
    const struct {
        Values stored;
        std::vector<LoopStep> steps;
        INT_PTR result;
        Values saved;
        bool noPrinters = false;
    } cases[] = {
        // Any non-zero value is a ticked box; the printer is found in any letter case. "No" to
        // the warning and "Cancel" write nothing; "Yes" stores the printer by its own name.
        {twos, {Clicks(kConfig, {IDOK}), Clicks(kWarning, {IDC_CONFIRM_NO}), Clicks(kConfig, {IDCANCEL})},
         IDCANCEL, twos},
        {twos, {Clicks(kConfig, {IDOK}), Clicks(kWarning, {IDC_CONFIRM_YES})}, IDOK,
         Saved("1", "1", "1", kPrinterB, "1")},
        {{},
         {Clicks(kConfig, {IDC_AUTO_SEND, IDC_SUPPRESS_ERRORS, IDC_NEWLINE_AFTER_FORM_FEED, IDOK}),
          Clicks(kWarning, {IDC_CONFIRM_YES})},
         IDOK, Saved("1", "0", "1", kConnection, "1")},
        // Enter answers "No", Escape too, the ticked box included; a ticked "No" saves nothing
        // this time but switches the warning off.
        {{},
         {Clicks(kConfig, {IDC_AUTO_SEND, IDOK}), [] { PostKey(VK_RETURN); }, Clicks(kConfig, {IDOK}),
          Clicks(kWarning, {IDC_DONT_ASK_AGAIN}), [] { PostKey(VK_ESCAPE); }, Clicks(kConfig, {IDOK}),
          Clicks(kWarning, {IDC_DONT_ASK_AGAIN, IDC_CONFIRM_NO}),
          [] { EXPECT_EQ((Values{{"DisableAutoPrintConfirmation", "1"}}), RawValues(kProgramSubKey)); },
          Clicks(kConfig, {IDOK})},
         IDOK, Saved("0", "0", "1", kConnection, "0", "1")},
        // Any non-zero switch: saved at once with no window.
        {{{"DisableAutoPrintConfirmation", "2"}}, {Clicks(kConfig, {IDC_AUTO_SEND, IDOK})}, IDOK,
         Saved("0", "0", "1", kConnection, "0", "2")},
        // The wizard: no warning; printer and suppression come from the disabled controls.
        {{},
         {Clicks(kConfig, {IDC_AUTO_SEND, IDC_SUPPRESS_ERRORS, IDC_EXIT_AFTER_SENDING, IDC_OPEN_WIZARD}),
          [] { SendDlgItemMessageA(FindThreadWindow(kConfig), IDC_AUTOPRINT_PRINTER, CB_SELECTSTRING,
                                   WPARAM(-1), LPARAM(kPrinterB)); },
          Clicks(kConfig, {IDOK})},
         IDOK, Saved("0", "1", "0", kPrinterB, "1")},
        // A printer listed before the picked one appears before "OK": the picked one is kept.
        {{{"AutoPrint", "1"}, {"AutoPrintPrinter", kPrinterB}},
         {[&] { added.reset(new CapturePrinter("Kestrola AAA New")); }, Clicks(kConfig, {IDOK}),
          Clicks(kWarning, {IDC_CONFIRM_YES})},
         IDOK, Saved("0", "0", "1", kPrinterB, "0")},
        // With no printer at all, automatic printing is refused before anything is written.
        {{},
         {Clicks(kConfig, {IDC_AUTO_SEND, IDOK}), Clicks(kWarning, {IDC_CONFIRM_YES}), [] {
              const HWND box = FindThreadWindow("Error");
              EXPECT_EQ("Error retrieving printer for automatic printing.", MessageBoxText(box));
              PostMessageA(box, WM_COMMAND, IDOK, 0);
          }, Clicks(kConfig, {IDCANCEL})},
         IDCANCEL, {}, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        if (c.noPrinters)
            printers.RemoveAll();
        EXPECT_EQ(c.saved, RunDialog(c.stored, c.steps, c.result));
    }
}

}  // namespace
