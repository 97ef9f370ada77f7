// Windows other than the wizard's pages: the configuration dialog and its warning, run
// modally with the user's part played from a timer inside their own dialog loops; a page's
// tab list as plain data and the wizard frame as a real window; then what a user of the
// toolkit would see go wrong: a hover started by a drag, a theme library without its entry
// points or one found beside the program, a dialog off centre, a link that opens nothing.
// A recorder stands in for the shell, so that no browser starts.

#include "core/SystemLibrary.h"
#include "pages/ConfigureDlg.h"
#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"
#include "toolkit/CHyperLink.h"
#include "toolkit/MWBaseDialog.h"
#include "toolkit/MWButton.h"
#include "toolkit/VisualStyles.h"
#include "wizard/TabWalk.h"
#include "wizard/WindowState.h"
#include "wizard/WindowStateController.h"

#include <gtest/gtest.h>

#include <memory>
#include <sstream>
#include <utility>

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

TEST(ConfigureDlg, LoadsAsksAndSavesAsTheUserAnswers)
{
    CapturePrinter printer(Wide(kPrinterB));
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
         {{"AddNewLineAfterFormFeed", "1"}, {"AutoClose", "1"}, {"AutoPrint", "1"}, {"SuppressErrors", "1"},
          {"AutoPrintPrinter", kPrinterB}}},
        // Enter answers "No", Escape too, the ticked box included; a ticked "No" saves nothing
        // this time but switches the warning off: the next "OK" saves with no window.
        {{},
         {Clicks(kConfig, {IDC_AUTO_SEND, IDOK}), [] { PostKey(VK_RETURN); }, Clicks(kConfig, {IDOK}),
          Clicks(kWarning, {IDC_DONT_ASK_AGAIN}), [] { PostKey(VK_ESCAPE); }, Clicks(kConfig, {IDOK}),
          Clicks(kWarning, {IDC_DONT_ASK_AGAIN, IDC_CONFIRM_NO}),
          [] { EXPECT_EQ((Values{{"DisableAutoPrintConfirmation", "1"}}), RawValues(kProgramSubKey)); },
          Clicks(kConfig, {IDOK})},
         IDOK, {{"AddNewLineAfterFormFeed", "0"}, {"AutoClose", "0"}, {"AutoPrint", "1"}, {"SuppressErrors", "0"},
          {"DisableAutoPrintConfirmation", "1"}, {"AutoPrintPrinter", kConnection}}},
        // The wizard: no warning; printer and suppression come from the disabled controls.
        {{},
         {Clicks(kConfig, {IDC_AUTO_SEND, IDC_SUPPRESS_ERRORS, IDC_EXIT_AFTER_SENDING, IDC_OPEN_WIZARD}),
          [] { SendDlgItemMessageA(FindThreadWindow(kConfig), IDC_AUTOPRINT_PRINTER, CB_SELECTSTRING,
                                   WPARAM(-1), LPARAM(kPrinterB)); },
          Clicks(kConfig, {IDOK})},
         IDOK, {{"AddNewLineAfterFormFeed", "0"}, {"AutoClose", "1"}, {"AutoPrint", "0"}, {"SuppressErrors", "1"},
          {"AutoPrintPrinter", kPrinterB}}},
        // A printer listed before the picked one appears before "OK": the picked one is kept.
        {{{"AutoPrint", "1"}, {"AutoPrintPrinter", kPrinterB}},
         {[&] { added.reset(new CapturePrinter(L"Kestrola AAA New")); }, Clicks(kConfig, {IDOK}),
          Clicks(kWarning, {IDC_CONFIRM_YES})},
         IDOK, {{"AddNewLineAfterFormFeed", "0"}, {"AutoClose", "0"}, {"AutoPrint", "1"}, {"SuppressErrors", "0"},
          {"AutoPrintPrinter", kPrinterB}}},
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

// Each case is a list and questions about it. A list is written as tokens: K a control that
// is no automatic radio button, G radio button that starts a group, r radio button; '*'
// checked, '-' disabled, '~' hidden. A question is three characters: the walk (N next tab
// stop, P previous, R next radio, B previous radio, F first and L last in group, H group has
// no check), the index it starts from, the answer (for H 1 or 0). '.' is no entry (kNone).
const std::pair<const char*, const char*> kCases[] = {
    {"", "N.. P.. R.."},
    {"K K K", "N.0 N01 N2. P.2 P21 P0. R1."},
    // One group with its middle button checked, then an edit box; wrap-around inside it.
    {"G r* r K", "N.1 N13 N01 P31 P1. P.3 R20 R01 B02 B10 R3. F20 L02 L33 H00"},
    // Two adjacent groups, the second one checked.
    {"G r G* r", "N.0 N02 N2. P.3 P20 R10 B23 L01 F32 H01 H20"},
    // A group that begins after a non-radio entry without a group start.
    {"K r r*", "N02 F21 R21 B12 P20"},
    // The lone button after another control starts no group, so Tab never stops at it.
    {"G* K r", "R00 L00 N01 N1. R22"},
    // Hidden and disabled controls cannot take the focus and are passed over.
    {"K K- K~ K", "N03 P30 P.3"},
    {"G r- r K", "R02 B20 N.0"},
    {"G* r- r~", "R00 B00"},
    // A checked button that cannot take the focus leaves the group's first button.
    {"G r*- r K", "N.0 P30 N03"},
    {"G- r r* K", "N.2 P32 R21"},
};

TEST(TabWalk, ListsAndQuestionsAndAControlInADisabledWindow)
{
    const std::map<char, std::size_t (*)(const tabwalk::TabList&, std::size_t)> walks = {
        {'N', tabwalk::NextTabStop}, {'P', tabwalk::PrevTabStop},  {'R', tabwalk::NextRadio},
        {'B', tabwalk::PrevRadio},   {'F', tabwalk::FirstInGroup}, {'L', tabwalk::LastInGroup},
        {'H', [](const tabwalk::TabList& list, std::size_t g) {
             return std::size_t{tabwalk::GroupHasNoCheck(list, g) ? 1u : 0u};
         }}};
    for (const auto& [listText, questionText] : kCases) {
        tabwalk::TabList list;
        std::istringstream tokens(listText), questions(questionText);
        for (std::string t; tokens >> t;) {
            const bool radio = t[0] == 'G' || t[0] == 'r';
            const auto has = [&](char mark) { return t.find(mark) != std::string::npos; };
            list.push_back({radio, t[0] == 'G', radio && has('*'), !has('-') && !has('~')});
        }
        for (std::string q; questions >> q;) {
            const std::size_t answer = walks.at(q[0])(list, q[1] == '.' ? tabwalk::kNone : q[1] - '0');
            EXPECT_EQ(q[2], answer == tabwalk::kNone ? '.' : char('0' + answer))
                << "list \"" << listText << "\", " << q;
        }
    }
    // An edit box inside a disabled window is no tab stop.
    TestWindow host;
    const HWND disabled = CreateWindowExA(0, "STATIC", "", WS_CHILD | WS_VISIBLE | WS_DISABLED, 0, 0,
                                          99, 99, host.hwnd, nullptr, nullptr, nullptr);
    WindowState page(nullptr);
    std::vector<HWND> edits;
    for (HWND parent : {host.hwnd, disabled, host.hwnd})
        page.AddControl(edits.emplace_back(CreateWindowExA(0, "EDIT", "", WS_CHILD | WS_VISIBLE, 0, 0, 50, 20,
                                                           parent, nullptr, nullptr, nullptr)));
    EXPECT_EQ(edits[2], page.NextTabStop(edits[0]));
}

// A page that refuses to be left once when told to.
struct Page : WindowState {
    using WindowState::WindowState;
    bool refuseLeave = false;
    bool Leave(HWND) override { return !std::exchange(refuseLeave, false); }
};

LONG Left(HWND control) { RECT rect = {}; GetWindowRect(control, &rect); return rect.left; }

int shiftKeys = 0;  // Shift presses and releases that reached the desktop

LRESULT CALLBACK CountShiftKeys(int code, WPARAM wParam, LPARAM lParam)
{
    const DWORD key = reinterpret_cast<const KBDLLHOOKSTRUCT*>(lParam)->vkCode;
    shiftKeys += code == HC_ACTION && (key == VK_SHIFT || key == VK_LSHIFT);
    return CallNextHookEx(nullptr, code, wParam, lParam);
}

// A page is left only when it agrees; the change taps Shift only while the wizard is in
// front. Cancel takes the slot of a hidden "< Back"; Esc closes the wizard, but not while
// Cancel is disabled.
TEST(WizardFrame, PagesChangeWhenLeftAndCancelTakesTheFreeSlotAndEscape)
{
    FrameUnderTest<WindowStateController> frame;
    Page first(&frame), second(&frame);
    frame.AddPage(&first, 1);
    frame.AddPage(&second, 2);
    const HHOOK hook = SetWindowsHookExA(WH_KEYBOARD_LL, CountShiftKeys, GetModuleHandleA(nullptr), 0);
    TestWindow inFront;
    const auto run = frame.Script(0, {[&] {
        SetForegroundWindow(frame.Frame());
        shiftKeys = 0;  // counted from here on
        frame.SetNextButton(true, true, "Next >");
        first.refuseLeave = true;
        for (std::size_t index : {0u, 1u}) {  // refused, then agreed
            SendMessageA(frame.Next(), BM_CLICK, 0, 0);
            EXPECT_EQ(index, frame.Index());
        }
    }, [&] {
        EXPECT_EQ(2, shiftKeys) << "pressed and released";
        SetForegroundWindow(inFront.hwnd);
        EXPECT_TRUE(frame.GoToPage(1));
    }, [&] {
        EXPECT_EQ(2, shiftKeys) << "none while another window is in front";
        SetForegroundWindow(frame.Frame());
        const LONG back = Left(frame.Back());
        frame.SetBackButton(false, true, "< Back");
        EXPECT_EQ(back, Left(GetDlgItem(frame.Frame(), IDCANCEL)));
        frame.SetCancelButton(true, false, "Cancel");
        PostKey(VK_ESCAPE);
    }, [&] { frame.SetCancelButton(true, true, "Cancel"), PostKey(VK_ESCAPE); }, [] {}});
    UnhookWindowsHookEx(hook);
    EXPECT_EQ(4u, run) << "Esc closes the wizard when Cancel is enabled, and only then";
}

// A drag from elsewhere does not make the button hot; a plain move does.
TEST(Button, HoverStartsFromAMoveButNotFromADrag)
{
    TestWindow parent;
    MWButton button;
    ASSERT_TRUE(button.Create(0, "", WS_CHILD | WS_VISIBLE, {10, 10, 130, 50}, parent.hwnd, 1));
    const HWND window = button.GetHwnd();
    POINT point = {20, 15};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    SendMessageA(window, WM_MOUSEMOVE, MK_LBUTTON, MAKELPARAM(20, 15));
    EXPECT_FALSE(button.IsHot());
    SendMessageA(window, WM_MOUSEMOVE, 0, MAKELPARAM(20, 15));
    EXPECT_TRUE(button.IsHot());
}

// A library comes from the system folder and never from the program's, with the loader's
// search flag or by its full path where the system lacks the flag; restricted, the
// process's own search passes over the program's folder too. An entry point missing from
// the visual-styles library falls back like a missing library.
TEST(SystemLibrary, ComesFromTheSystemFolderOnlyAndAMissingThemeEntryFallsBack)
{
    const FARPROC fallback = GetProcAddress(GetModuleHandleA("kernel32.dll"), "Sleep");
    EXPECT_EQ(fallback, ResolveThemeProc(nullptr, "OpenThemeData", fallback));
    EXPECT_EQ(fallback, ResolveThemeProc(GetModuleHandleA("kernel32.dll"), "OpenThemeData", fallback));
    for (const bool searchFlags : {true, false}) {
        EXPECT_NE(nullptr, LoadSystemLibrary(L"mpr.dll", searchFlags)) << searchFlags;
        EXPECT_EQ(nullptr, LoadSystemLibrary(L"kestrola-stand-in.dll", searchFlags)) << searchFlags;
    }
    EXPECT_TRUE(FreeLibrary(LoadLibraryW(L"kestrola-stand-in.dll")));  // beside this program
    RestrictLibrarySearch();
    EXPECT_EQ(nullptr, LoadLibraryW(L"kestrola-stand-in.dll"));
    DeleteFileA((KestrolaExePath() + "\\..\\tests\\kestrola-stand-in.dll.loaded").c_str());
}

// Centred on a smaller owner, the half difference rounds down, not toward zero.
TEST(BaseDialog, CentresOnTheOwnerRoundingDown)
{
    EXPECT_EQ(249, CentredTopLeft({300, 200, 400, 280}, {0, 0, 201, 151}).x);
}

std::vector<std::string> g_shellCalls;

BOOL WINAPI RecordShellOpen(SHELLEXECUTEINFOA* info)
{
    g_shellCalls.push_back(std::to_string(info->cbSize) + " " + info->lpVerb + " " + info->lpFile);
    return FALSE;  // a link counts as visited whatever the shell says
}

TEST(HyperLinkTest, ClickOpensTheTargetAndMarksTheLinkVisited)
{
    const CHyperLink::ShellOpenCall shell = CHyperLink::SetShellOpenCall(RecordShellOpen);
    CHyperLink link;
    const HWND dialog = CreateDialogParamA(nullptr, MAKEINTRESOURCEA(IDD_ABOUT), nullptr, nullptr, 0);
    ASSERT_TRUE(link.AttachDlgItem(dialog, IDC_ABOUT_PRODUCT_LINK, "https://k.example/?a=1&b=2"));
    SendDlgItemMessageA(dialog, IDC_ABOUT_PRODUCT_LINK, WM_LBUTTONUP, 0, MAKELPARAM(2, 2));
    EXPECT_TRUE(link.Visited());
    DestroyWindow(dialog);
    CHyperLink::SetShellOpenCall(shell);
    EXPECT_EQ(std::vector<std::string>{std::to_string(sizeof(SHELLEXECUTEINFOA)) +
                                       " open https://k.example/?a=1&b=2"}, g_shellCalls);
}

}  // namespace
