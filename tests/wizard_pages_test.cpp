// The wizard's file and print pages as real windows: the file page's boxes filled from the
// settings, its checks on "Print >", what a good choice stores, files dropped on the wizard,
// and the print page's outcomes at capture printers of the test's own.

#include "core/OwnedHandle.h"
#include "pages/WSPrint.h"
#include "pages/WSSelectFile.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"

#include <gtest/gtest.h>

#include <commctrl.h>
#include <memory>
#include <shlobj.h>

using namespace testenv;

namespace {

using Values = std::map<std::string, std::string>;
const std::string kForeignBytes("\xD0\xA9\0\xFF", 4);

// The pages after a blank one. A page makes its controls once, for one frame window: each
// run needs a wizard of its own.
struct Wizard : TestWizard {
    AppWindowState start{this};  // blank
    WSSelectFile files{this};
    WSPrint print{this};
    Wizard(const std::string& file = "", const std::string& printer = "")
    {
        AddPage(&start, 1);
        AddPage(&files, WSSelectFile::kPageId);
        AddPage(&print, WSPrint::kPageId);
        print.endProcess = [] {};  // the test's own process goes on
        SetFilePath(Wide(file));
        SetPrinterName(Wide(printer));
    }
    HWND FileBox() { return GetDlgItem(Frame(), WSSelectFile::kFileBoxId); }
    HWND PrinterBox() { return GetDlgItem(Frame(), WSSelectFile::kPrinterBoxId); }
    std::string PrinterState() { return WindowText(GetDlgItem(Frame(), WSSelectFile::kPrinterStateId)); }
    void Pick(const WideString& printer)  // as the user does in the printer box
    {
        SendMessageW(PrinterBox(), CB_SELECTSTRING, WPARAM(-1), LPARAM(printer.c_str()));
        SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(WSSelectFile::kPrinterBoxId, CBN_SELCHANGE),
                     LPARAM(PrinterBox()));
    }
    std::string Status() { return WindowText(GetDlgItem(Frame(), WSPrint::kStatusId)); }
    WideString WideStatus() { return WideWindowText(GetDlgItem(Frame(), WSPrint::kStatusId)); }
    LoopStep WaitForOutcome() { return WaitFor([&] { return IsWindowEnabled(Next()); }, "the outcome"); }
    // The colour of the outcome's picture inside its circle: "red", "green" or "neither".
    std::string Ink()
    {
        RECT client = {};
        GetClientRect(Frame(), &client);
        HDC dc = GetDC(Frame());
        const COLORREF ink = GetPixel(dc, client.right - 275, client.bottom - 119);
        ReleaseDC(Frame(), dc);
        const int red = GetRValue(ink), green = GetGValue(ink);
        return red > green + 64 ? "red" : green > red + 64 ? "green" : "neither";
    }
};

class FilePage : public ::testing::Test {
protected:
    FilePage() { MoveFileW(Wide(dir.Write("foreign", kForeignBytes)).c_str(), nonAnsi.c_str()); }
    // Drops the names on the frame as the shell does; true when the program freed the memory.
    // A queued drop waits for the messages before it (and is freed with the window).
    bool Drop(const std::vector<WideString>& names, bool queue = false)
    {
        WideString list;
        for (const WideString& name : names)
            list += name + L'\0';
        HGLOBAL memory = GlobalAlloc(GHND, sizeof(DROPFILES) + (list.size() + 1) * sizeof(wchar_t));
        auto* block = static_cast<DROPFILES*>(GlobalLock(memory));
        *block = {sizeof(DROPFILES), {}, FALSE, TRUE};
        memcpy(block + 1, list.data(), list.size() * sizeof(wchar_t));
        GlobalUnlock(memory);
        queue ? PostMessageA(wizard.Frame(), WM_DROPFILES, WPARAM(memory), 0)
              : SendMessageA(wizard.Frame(), WM_DROPFILES, WPARAM(memory), 0);
        return queue || GlobalFlags(memory) == GMEM_INVALID_HANDLE;
    }

    ProgramKeyGuard programKey;
    ScratchDir dir;
    const WideString nonAnsi = Wide(dir.Path()) + L"\\\x0429\x043A\x0430.zpl";
    const std::string job = dir.Write("job.prn", "slow job");
    // B is named outside the ANSI code page, as a shared printer named in another language; it
    // keeps every job, so that a batch can be read whole.
    CapturePrinter printerA{L"Kestrola Page A"},
        printerB{L"Kestrola \x041c\x0435\x0442\x043a\x0438 \x6771\x4eac", 0, true};
    Wizard wizard;
};
using PrintPage = FilePage;

// The recent files fill the list, a path from the command line replaces the text shown, the
// last printer is selected. A printer connection is stored and printed to by its own name,
// not the one shown; the path, longer than any fixed buffer of the page, goes first.
TEST_F(FilePage, BoxesAreFilledFromTheSettingsAndAGoodChoiceIsPrintedAndRemembered)
{
    PrinterSetup printers;
    const std::string connection = "\\\\Kestrola-srv\\Labels", path = dir.Write(std::string(160, 'f'), "x");
    printers.SetDefault(connection);
    RawWriteString(kProgramSubKey, "LastPrinterName", connection);
    RawWriteString(kProgramSubKey, "RecentFile_00", "C:\\zero.prn");
    RawWriteString(kProgramSubKey, "RecentFile_02", "C:\\two.prn");
    wizard.SetFilePath(Wide(path));
    const std::string error = "Could not find the printer \"" + connection + "\".";
    wizard.Script(1, {[&] {
        EXPECT_EQ(2, SendMessageA(wizard.FileBox(), CB_GETCOUNT, 0, 0));
        EXPECT_EQ(path, WindowText(wizard.FileBox()));
        EXPECT_EQ("Labels on Kestrola-srv", WindowText(wizard.PrinterBox()));
        wizard.Press(wizard.Next());
    }, wizard.WaitForOutcome(), [&] { EXPECT_EQ(error, wizard.Status()); }});
    EXPECT_EQ((Values{{"LastError", error}, {"LastPrinterName", connection}, {"RecentFile_00", path},
                      {"RecentFile_01", "C:\\zero.prn"}, {"RecentFile_02", "C:\\two.prn"}}),
              RawValues(kProgramSubKey));
}

// One dropped file that exists is taken, from any page but one printing; folders and missing
// files are passed over. A name outside the code page comes whole.
TEST_F(FilePage, DropsTakeTheFirstExistingFileExceptDuringAJob)
{
    CapturePrinter slow(L"", 3);
    RawWriteString(kProgramSubKey, settings::kLastPrinterName, slow.Name());
    std::vector<bool> released;
    const auto drop = [&](const std::vector<WideString>& names, bool queue = false) {
        released.push_back(Drop(names, queue));
    };
    wizard.Script(0, {[&] {
        EXPECT_TRUE(GetWindowLongA(wizard.Frame(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
        drop({Wide(dir.Path()), Wide(dir.Path() + "\\gone.zpl")});
        EXPECT_EQ(0u, wizard.Index());
        drop({Wide(dir.Path()), Wide(job), Wide(dir.Path() + "\\gone.zpl")});
        EXPECT_EQ(1u, wizard.Index());
        EXPECT_EQ(job, WindowText(wizard.FileBox()));
        SetWindowTextA(wizard.FileBox(), "");  // a drop makes "Print" usable as a pick does
        EnableWindow(wizard.Next(), FALSE);
        drop({Wide(job)});
        EXPECT_TRUE(IsWindowEnabled(wizard.Next()));
        wizard.Press(wizard.Next());
        // Already queued when the print page posts its start: the confirmed job still goes.
        drop({nonAnsi}, true);
    }, WaitFor([&] { return !IsWindowEnabled(wizard.Back()); }, "the job to start"), [&] {
        drop({nonAnsi});
        EXPECT_EQ(2u, wizard.Index());
        EXPECT_EQ("Printing...", wizard.Status());
    }, wizard.WaitForOutcome(), [&] {
        EXPECT_EQ("slow job\x0C", slow.Bytes());
        drop({nonAnsi});
        EXPECT_EQ(1u, wizard.Index());
        EXPECT_EQ(nonAnsi, WideWindowText(wizard.FileBox()));
        EXPECT_EQ("Print >", WindowText(wizard.Next()));
    }});
    EXPECT_EQ(std::vector<bool>(6, true), released);
}

// Every way a file or a batch comes in, then "Print >": the page's outcome, and what the
// picked printer, offline and named outside the code page, received. Its state is read when
// the page is shown and when another is picked; printers may come and go meanwhile. Several
// files at once, from the command line, dropped, chosen together in "Browse..." or pasted as
// the lines of "Copy as path", show in the box as a list; every file is checked first and a
// missing one named, then each is printed in order, and a file another program holds open is
// named while the rest still go. Each file sent enters the recent list, the last on top.
// "Browse..." opens on "All Files", then on the filter used last. Names outside the code page,
// chosen, pasted with quotes and blanks or given by a short name, are shown, named in messages
// and remembered as they are. Emptying the box greys "Print >"; pressed all the same, and for
// each other fault of one file, the page says why and stores nothing; with no printer
// selected either, the file is named first.
TEST_F(FilePage, EveryWayInIsCheckedThenPrintedFileByFileToThePickedPrinter)
{
    SetPrinterOffline(printerB.WideName(), true);
    RawWriteWide(kProgramSubKey, settings::kLastPrinterName, printerB.WideName());
    const WideString held = Wide(dir.Path()) + L"\\\x0429 held.zpl", a = Wide(dir.Write("a.zpl", "AA"));
    const OwnedFile holder(CreateFileW(held.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    const WideString gone = Wide(dir.Path()) + L"\\gone.zpl", wideJob = Wide(job);
    const auto q = [](const WideString& path) { return L"\"" + path + L"\""; };
    std::vector<LRESULT> filters;
    const auto browse = [&](const std::vector<WideString>& names) {
        return std::vector<LoopStep>{[&] { PostMessageA(wizard.Frame(), WM_COMMAND, WSSelectFile::kBrowseId, 0); },
            WaitFor([] { return IsWindowVisible(FindThreadWindow("Open")); }, "the dialog"), [&, names] {
            const HWND dialog = FindThreadWindow("Open");
            const HWND filter = GetDlgItem(dialog, 0x470);
            filters.push_back(SendMessageA(filter, CB_GETCURSEL, 0, 0));
            SendMessageA(filter, CB_SETCURSEL, 3, 0);  // "Zebra Printer Language Files (*.zpl)"
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(0x470, CBN_SELENDOK), LPARAM(filter));
            SetDlgItemTextA(dialog, 0x47C, dir.Path().c_str());  // the dialog goes there
            SendMessageA(dialog, WM_COMMAND, IDOK, 0);
            // Selected in the dialog's list, one after the other, as with Ctrl and a click.
            const HWND list = FindWindowExA(FindWindowExA(dialog, nullptr, "SHELLDLL_DefView", nullptr), nullptr,
                                            "SysListView32", nullptr);
            for (const WideString& name : names) {
                LVFINDINFOW find = {};
                find.flags = LVFI_STRING, find.psz = name.c_str();
                LVITEMW item = {};
                item.stateMask = item.state = LVIS_SELECTED;
                SendMessageW(list, LVM_SETITEMSTATE, SendMessageW(list, LVM_FINDITEMW, WPARAM(-1), LPARAM(&find)),
                             LPARAM(&item));
            }
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        }, WaitFor([] { return FindThreadWindow("Open") == nullptr; }, "the dialog to close")};
    };
    const auto paste = [&](const WideString& text) {  // with Ctrl+V, as typed
        return std::vector<LoopStep>{[&, text] {
            SetWindowTextA(wizard.FileBox(), "");
            HGLOBAL memory = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
            memcpy(GlobalLock(memory), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
            GlobalUnlock(memory);
            OpenClipboard(wizard.Frame()), EmptyClipboard(), SetClipboardData(CF_UNICODETEXT, memory), CloseClipboard();
            keybd_event(VK_CONTROL, 0, 0, 0), keybd_event('V', 0, 0, 0);
            keybd_event('V', 0, KEYEVENTF_KEYUP, 0), keybd_event(VK_CONTROL, 0, KEYEVENTF_KEYUP, 0);
        }};
    };
    const auto type = [&](const WideString& text, LoopStep before = [] {}) {
        return std::vector<LoopStep>{[&, text, before] { before(), SetWindowTextW(wizard.FileBox(), text.c_str()); }};
    };
    std::unique_ptr<CapturePrinter> added;
    const WideString notice = L"\n\n" + Wide(DescribeWait(PrinterWait::Offline).notice);
    const WideString sent = L"The file was sent to the printer successfully!" + notice;
    const WideString allSent = L"All 2 files were sent to the printer successfully!" + notice;
    const WideString notFound =
        L"Could not find the specified file.  Please make sure the file exists before continuing.";
    const WideString missing = notFound + L"\n\n" + gone, notOpened = L"Could not open the file:\n\n" + q(held);
    const std::string both = "AA\x0C" "slow job\x0C";
    wizard.SetBatch({a, gone});  // as from the command line
    const struct { std::vector<LoopStep> handOver; WideString box, outcome; std::string bytes; } cases[] = {
        {{}, q(a) + L" " + q(gone), missing, ""},
        {type(a, [&] { added.reset(new CapturePrinter(L"Kestrola AAA New")); }), a, sent, "AA\x0C"},  // listed before B
        {type(a, [&] { added.reset(); }), a, sent, "AA\x0C"},  // and removed
        {type(ShortPath(held)), ShortPath(held), notOpened + L"\n\nfor printing.", ""},
        {type(L" \"" + nonAnsi + L"\"\t", [&] { EXPECT_EQ(held, WideWindowText(wizard.FileBox())); }),
         L" \"" + nonAnsi + L"\"\t", sent, kForeignBytes + "\x0C"},
        {{[&] {
             EXPECT_EQ(nonAnsi, WideWindowText(wizard.FileBox()));
             EXPECT_TRUE(IsWindowUnicode(wizard.FileBox()));  // it holds any name
             Drop({a, Wide(dir.Path()), wideJob, gone});
         }}, q(a) + L" " + q(wideJob), allSent, both},
        {browse({held.substr(held.rfind(L'\\') + 1), L"a.zpl"}), q(held) + L" " + q(a), L"1 of 2 files were sent "
         L"to the printer. Not sent:\n\x0429 held.zpl: " + notOpened + L"\n\nfor printing.", "AA\x0C"},
        {browse({nonAnsi.substr(nonAnsi.rfind(L'\\') + 1)}), nonAnsi, sent, kForeignBytes + "\x0C"},
        {paste(q(wideJob) + L"\r\n" + q(gone) + L"\r\n"), q(wideJob) + L" " + q(gone) + L" ", missing, ""},
        {paste(q(a) + L"\r\n" + q(wideJob)), q(a) + L" " + q(wideJob), allSent, both},
        {type(a, [&] { RegDeleteTreeW(HKEY_LOCAL_MACHINE, (Wide(kPrintersKey) + L"\\" + printerB.WideName()).c_str()); }),
         a, L"You must select a printer.", ""},  // B is gone
        {{[&] {
             SendMessageA(wizard.PrinterBox(), CB_SETCURSEL, WPARAM(-1), 0);
             SendMessageA(GetWindow(wizard.FileBox(), GW_CHILD), EM_SETSEL, 0, -1);
             PostMessageA(GetWindow(wizard.FileBox(), GW_CHILD), WM_CHAR, VK_BACK, 1);
         }, [&] { EXPECT_FALSE(IsWindowEnabled(wizard.Next())); }},
         L"", L"You must specify a file to send to the printer.", ""},
        {type(gone), gone, notFound, ""},
    };
    const auto offline = [&] { return wizard.PrinterState() == "Offline"; };
    std::vector<LoopStep> steps = {WaitFor(offline, "the state when shown"), [&] {
        wizard.Pick(printerA.WideName());
        SendMessageA(wizard.Frame(), WSSelectFile::kPrinterStateMessage, 0, LPARAM(PrinterWait::Error));
        EXPECT_EQ("", wizard.PrinterState());  // and an answer about an earlier pick is dropped
        wizard.Pick(printerB.WideName());
    }, WaitFor(offline, "the state of the printer picked")};
    for (const auto& c : cases) {
        steps.push_back([&] { printerB.Forget(); });
        steps.insert(steps.end(), c.handOver.begin(), c.handOver.end());
        steps.push_back(WaitFor([&] { return WideWindowText(wizard.FileBox()) == c.box; }, "the files in the box"));
        steps.push_back([&] { wizard.Press(wizard.Next()); });
        steps.push_back(WaitFor([&] { return FindThreadWindow("Error") ||
                                             (wizard.Index() == 2 && IsWindowEnabled(wizard.Back())); }, "the outcome"));
        steps.push_back([&] {
            const HWND box = FindThreadWindow("Error");
            EXPECT_EQ(c.outcome + L" | " + Wide(c.bytes),
                      (box ? Wide(MessageBoxText(box)) : wizard.WideStatus()) + L" | " + Wide(printerB.Bytes()));
            box ? (void)PostMessageA(box, WM_COMMAND, IDOK, 0) : wizard.Press(wizard.Back());
        });
    }
    steps.push_back(WaitFor([] { return !FindThreadWindow("Error"); }, "the message to go"));
    wizard.Script(1, steps);
    EXPECT_EQ((std::vector<LRESULT>{4, 3}), filters);
    Values after = RawValues(kProgramSubKey);
    EXPECT_EQ(6u, after.size()) << "nothing else is stored";
    EXPECT_EQ("4", after["OpenFilterIndex"]);
    for (const auto& [name, text] : std::vector<std::pair<std::string, WideString>>{
             {"LastPrinterName", printerB.WideName()}, {"RecentFile_00", wideJob}, {"RecentFile_01", a},
             {"RecentFile_02", nonAnsi}, {"RecentFile_03", held}})
        EXPECT_EQ(text, RawReadWide(kProgramSubKey, name)) << name;
}

// The picture, text and "LastError" of each outcome, the picture kept by a repaint; "Exit"
// then closes the wizard. "AutoClose" of exactly 1 closes it at once after any outcome but a
// job that the queue holds.
TEST_F(PrintPage, EachOutcomeShowsItsPictureTextAndLastErrorOrClosesTheWizard)
{
    CapturePrinter printer, unfinished;
    // The spooler cannot end a job whose port is a file in a missing folder.
    SetPrinterPort(unfinished.WideName(), "/nonexistent-kestrola-folder/job.prn");
    const std::string kNotFound = "Could not find the printer \"Kestrola Nowhere\".", sent = printer.Name();
    const char kNotSent[] = "An error occurred sending the file data to the printer.";
    const std::string held = "The file was sent to the printer successfully!\n\n" +
                             std::string(DescribeWait(PrinterWait::Offline).notice);
    // A batch not sent whole keeps the wizard open whatever "AutoClose" says.
    const std::string gone = dir.Path() + "\\gone.zpl", notAll = "1 of 2 files were sent to the printer. Not sent:\n"
        "gone.zpl: Could not open the file:\n\n\"" + gone + "\"\n\nfor printing.";
    const struct { std::string printer, text, lastError, ink; DWORD autoClose; bool offline = false, batch = false; } cases[] = {
        {"Kestrola Nowhere", kNotFound, kNotFound, "red", 2},
        {unfinished.Name(), kNotSent, kNotSent, "red", 0},
        {sent, "The file was sent to the printer successfully!", "<none>", "green", 2},
        {"Kestrola Nowhere", "", kNotFound, "", 1},
        {sent, "", "<none>", "", 1},
        {sent, held, "<none>", "green", 1, true},
        {sent, notAll, notAll, "red", 1, false, true},
    };
    for (const auto& c : cases) {
        RawWriteString(kProgramSubKey, settings::kLastError, "stale");
        RawWriteDword(kProgramSubKey, settings::kAutoClose, c.autoClose);
        printer.Forget();
        SetPrinterOffline(printer.WideName(), c.offline);
        Wizard w(job, c.printer);
        w.SetBatch(c.batch ? std::vector<WideString>{Wide(gone), Wide(job)} : std::vector<WideString>());
        const auto run = w.Script(2, {w.WaitForOutcome(), [&] {
            EXPECT_EQ(c.text, w.Status());
            RedrawWindow(w.Frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            EXPECT_EQ(c.ink, w.Ink());
            w.Press(w.Next());  // "Exit"
        }, [] {}});
        // Closed at once, the window is gone before a step can see the outcome.
        EXPECT_EQ(c.text.empty() ? 0u : 2u, run) << c.printer << " AutoClose " << c.autoClose;
        EXPECT_EQ(Wide(c.lastError), RawReadWide(kProgramSubKey, settings::kLastError));
        EXPECT_EQ(c.printer == sent ? "slow job\x0C" : "", printer.Bytes());
    }
}

// Esc does nothing while a slow job runs; closing asks. "No" lets the job finish, after which
// Esc closes the wizard; "Yes" ends it at once. The worker may die holding the allocator's
// lock: after "Yes", said while another thread holds it, the page must end the process before
// it allocates or frees anything.
const HANDLE allocatorHeld = CreateEventA(nullptr, TRUE, FALSE, nullptr);
const HANDLE releaseAllocator = CreateEventA(nullptr, TRUE, FALSE, nullptr);
volatile bool heldUntilTimeOut = false, endedWhileHeld = false;

DWORD WINAPI HoldAllocator(void*)
{
    const HANDLE heap = reinterpret_cast<HANDLE>(_get_heap_handle());
    HeapLock(heap);
    SetEvent(allocatorHeld);
    heldUntilTimeOut = WaitForSingleObject(releaseAllocator, 10000) != WAIT_OBJECT_0;
    HeapUnlock(heap);
    return 0;
}

TEST_F(PrintPage, ClosingDuringASlowJobAsksToTerminate)
{
    CapturePrinter slow(L"", 3);
    for (int answer : {IDNO, IDYES}) {
        OwnedHandle holder;
        Wizard w(job, slow.Name());
        w.print.endProcess = [] { endedWhileHeld = !heldUntilTimeOut, SetEvent(releaseAllocator); };
        const auto run = w.Script(2, {
            WaitFor([&] { return !IsWindowEnabled(w.Back()); }, "the job to start"),
            [] { PostKey(VK_ESCAPE); },  // does nothing while the job runs
            [&] { PostMessageA(w.Frame(), WM_SYSCOMMAND, SC_CLOSE, 0); },
            WaitFor([] { return FindThreadWindow("Currently Printing") != nullptr; }, "the question"),
            [&] {
                const HWND box = FindThreadWindow("Currently Printing");
                EXPECT_EQ("Terminate printing and exit Kestrola?", MessageBoxText(box));
                if (answer == IDYES) {
                    holder.reset(CreateThread(nullptr, 0, HoldAllocator, nullptr, 0, nullptr));
                    WaitForSingleObject(allocatorHeld, INFINITE);
                }
                PostMessageA(box, WM_COMMAND, answer, 0);
            },
            w.WaitForOutcome(),
            [&] {
                EXPECT_EQ("slow job\x0C", slow.Bytes());
                // Typed: a posted key gets lost here.
                keybd_event(VK_ESCAPE, 0, 0, 0), keybd_event(VK_ESCAPE, 0, KEYEVENTF_KEYUP, 0);
            },
            [] {},  // Esc has closed the wizard after the job
        });
        EXPECT_EQ(answer == IDNO ? 7u : 5u, run) << answer;
        WaitForSingleObject(holder.get(), INFINITE);  // after "No" there is none: fails at once
    }
    EXPECT_TRUE(endedWhileHeld);
}

}  // namespace
