// The configuration dialog and its automatic-printing warning, run modally with the user's
// part played from a timer inside their own dialog loops.

#include "pages/ConfigureDlg.h"
#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"

#include <gtest/gtest.h>

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

// The radio pair, "Suppress error messages" and the two options as + (checked) or -, then
// the printer box's text, disabled controls in brackets; last the focused control.
LoopStep ExpectState(const std::string& expected)
{
    return [=] {
        const HWND dialog = FindThreadWindow(kConfig);
        const auto shown = [&](int id, const std::string& text) {
            return IsWindowEnabled(GetDlgItem(dialog, id)) ? text : "(" + text + ")";
        };
        std::string state;
        for (int id : {IDC_OPEN_WIZARD, IDC_AUTO_SEND, IDC_SUPPRESS_ERRORS,
                       IDC_NEWLINE_AFTER_FORM_FEED, IDC_EXIT_AFTER_SENDING})
            state += shown(id, IsDlgButtonChecked(dialog, id) ? "+" : "-");
        state += " " + shown(IDC_AUTOPRINT_PRINTER, WindowText(GetDlgItem(dialog, IDC_AUTOPRINT_PRINTER)));
        EXPECT_EQ(expected, state + " " + std::to_string(GetDlgCtrlID(GetFocus())));
    };
}

// Runs the dialog on an empty program key with the stored values and the steps played in
// its loops; every step must run, and whatever is left open is cancelled at the end.
// Returns what was stored afterwards.
Values RunDialog(const Values& stored, std::vector<LoopStep> steps, INT_PTR result)
{
    ProgramKeyGuard guard;
    for (const auto& value : stored) {
        if (value.first == "AutoPrintPrinter")
            RawWriteString(kProgramSubKey, value.first, value.second);
        else
            RawWriteDword(kProgramSubKey, value.first, std::stoul(value.second));
    }
    const size_t count = steps.size();
    steps.push_back([] {
        for (const char* caption : {"Error", kWarning, kConfig})
            PostMessageA(FindThreadWindow(caption), WM_COMMAND, IDCANCEL, 0);
    });
    ConfigureDlg dialog;
    INT_PTR ended = 0;
    const LoopScriptResult script = RunLoopScript(
        [&] { return (ended = dialog.DoModal(IDD_CONFIGURE, nullptr)) != 0; }, [] { return HWND(); },
        std::move(steps));
    EXPECT_EQ(result, ended);
    EXPECT_EQ(count, script.stepsRun);
    return RawValues(kProgramSubKey);
}

TEST(ConfigureDlg, LoadsAsksAndSavesAsTheUserAnswers)
{
    CapturePrinter printer(kPrinterB);
    PrinterSetup printers;
    printers.SetDefault(kConnection);
    const std::string first = "Labels on Kestrola-srv";  // the connection
    const Values twos = {{"AutoPrint", "2"}, {"AutoPrintPrinter", "KESTROLA config b"},
                         {"SuppressErrors", "2"}, {"AutoClose", "2"}, {"AddNewLineAfterFormFeed", "2"}};
    const LoopStep untickAndCancel = Clicks(kConfig, {IDC_EXIT_AFTER_SENDING, IDCANCEL});
    const Values autoSaved = {{"AddNewLineAfterFormFeed", "0"}, {"AutoClose", "0"}, {"AutoPrint", "1"},
                              {"AutoPrintPrinter", kConnection}, {"SuppressErrors", "0"}};
    const auto with = [](Values values, const char* name, const char* value) {
        values[name] = value;
        return values;
    };
    const struct {
        Values stored;
        std::vector<LoopStep> steps;
        INT_PTR result;
        Values saved;
    } cases[] = {
        // Loading; "Cancel" writes nothing.
        {{}, {ExpectState("+-(-)-- (" + first + ") 1015"), untickAndCancel}, IDCANCEL, {}},
        {twos, {ExpectState("-++++ " + std::string(kPrinterB) + " 1016"), untickAndCancel}, IDCANCEL, twos},
        // "Yes" stores the printer's name, not what the box shows.
        {{},
         {Clicks(kConfig, {IDC_AUTO_SEND}), ExpectState("-+--- " + first + " 1016"),
          Clicks(kConfig, {IDC_SUPPRESS_ERRORS, IDC_NEWLINE_AFTER_FORM_FEED, IDOK}),
          Clicks(kWarning, {IDC_CONFIRM_YES})},
         IDOK, with(with(autoSaved, "SuppressErrors", "1"), "AddNewLineAfterFormFeed", "1")},
        // "No" (also Enter's answer) and Escape write nothing, the ticked box included;
        // a ticked "No" saves nothing this time but switches the warning off.
        {{},
         {Clicks(kConfig, {IDC_AUTO_SEND, IDOK}), [] { PostKey(VK_RETURN); }, Clicks(kConfig, {IDOK}),
          Clicks(kWarning, {IDC_DONT_ASK_AGAIN}), [] { PostKey(VK_ESCAPE); }, Clicks(kConfig, {IDOK}),
          Clicks(kWarning, {IDC_DONT_ASK_AGAIN, IDC_CONFIRM_NO}),
          [] { EXPECT_EQ((Values{{"DisableAutoPrintConfirmation", "1"}}), RawValues(kProgramSubKey)); },
          Clicks(kConfig, {IDOK})},
         IDOK, with(autoSaved, "DisableAutoPrintConfirmation", "1")},
        // Any non-zero switch: saved at once with no window.
        {{{"DisableAutoPrintConfirmation", "2"}}, {Clicks(kConfig, {IDC_AUTO_SEND, IDOK})}, IDOK,
         with(autoSaved, "DisableAutoPrintConfirmation", "2")},
        // The wizard: no warning; printer and suppression come from the disabled controls.
        {{},
         {Clicks(kConfig, {IDC_AUTO_SEND, IDC_SUPPRESS_ERRORS, IDC_EXIT_AFTER_SENDING, IDC_OPEN_WIZARD}),
          ExpectState("+-(+)-+ (" + first + ") 1015"),
          [] { SendDlgItemMessageA(FindThreadWindow(kConfig), IDC_AUTOPRINT_PRINTER, CB_SELECTSTRING,
                                   WPARAM(-1), LPARAM(kPrinterB)); },
          Clicks(kConfig, {IDOK})},
         IDOK,
         {{"AddNewLineAfterFormFeed", "0"}, {"AutoClose", "1"}, {"AutoPrint", "0"},
          {"AutoPrintPrinter", kPrinterB}, {"SuppressErrors", "1"}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(c.saved, RunDialog(c.stored, c.steps, c.result));
    }
}

TEST(ConfigureDlg, NoPrinterForAutomaticPrintingIsReportedBeforeAnythingIsWritten)
{
    PrinterSetup printers;
    printers.RemoveAll();
    EXPECT_EQ(Values(), RunDialog({}, {ExpectState("+-(-)-- () 1015"), Clicks(kConfig, {IDC_AUTO_SEND, IDOK}),
                                       Clicks(kWarning, {IDC_CONFIRM_YES}), [] {
        EXPECT_EQ("Error retrieving printer for automatic printing.", MessageBoxText(FindThreadWindow("Error")));
        PostMessageA(FindThreadWindow("Error"), WM_COMMAND, IDOK, 0);
    }, Clicks(kConfig, {IDCANCEL})}, IDCANCEL));
}

}  // namespace
