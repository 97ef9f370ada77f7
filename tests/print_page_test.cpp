// The print page as a real window, printing at capture printers of the test's own.

#include "pages/WSPrint.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

// A page makes its controls once, for one frame window: each run needs a wizard of its own.
struct PrintWizard : TestWizard {
    BlankPage before{this};
    WSPrint page{this};
    PrintWizard(const std::string& file = "", const std::string& printer = "")
    {
        AddPage(&before, 2);
        AddPage(&page, WSPrint::kPageId);
        page.endProcess = [] {};  // the test's own process goes on
        SetFilePath(file);
        SetPrinterName(printer);
    }
    HWND Status() { return GetDlgItem(Frame(), WSPrint::kStatusId); }
    bool Finished() { return IsWindowEnabled(Next()) != FALSE; }
    LoopStep WaitForOutcome() { return WaitFor([this] { return Finished(); }, "the outcome"); }
    // Whether the page shows the whole result bitmap where the animation was.
    bool ShowsPicture(int id)
    {
        HDC memory = CreateCompatibleDC(nullptr), dc = GetDC(Frame());
        HGDIOBJ old = SelectObject(memory, LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id)));
        RECT client = {};
        GetClientRect(Frame(), &client);
        int same = 0;
        for (int i = 0; i < 40 * 40; ++i)
            same += GetPixel(memory, i % 40, i / 40) ==
                    GetPixel(dc, client.right - 301 + i % 40, client.bottom - 150 + i / 40);
        DeleteObject(SelectObject(memory, old));
        DeleteDC(memory);
        ReleaseDC(Frame(), dc);
        return same == 40 * 40;
    }
};

class PrintPage : public ::testing::Test {
protected:
    std::string LastError()
    {
        std::string text;
        return RawReadString(kProgramSubKey, settings::kLastError, text) ? text : "<none>";
    }
    ProgramKeyGuard programKey;
    ScratchDir dir;
    const std::string job = dir.Write("job.prn", "slow job");
};

// The picture, text and "LastError" of each outcome, the picture kept by a repaint; "Exit"
// then closes the wizard. "AutoClose" of exactly 1 closes it at once after any outcome.
TEST_F(PrintPage, EachOutcomeShowsItsPictureTextAndLastErrorOrClosesTheWizard)
{
    CapturePrinter printer, unfinished;
    // The spooler cannot end a job whose port is a file in a missing folder.
    SetPrinterPort(unfinished.Name(), "/nonexistent-kestrola-folder/job.prn");
    const std::string kNotFound = "Could not find the printer \"Kestrola Nowhere\".", sent = printer.Name();
    const char kNotSent[] = "An error occurred sending the file data to the printer.";
    const struct { std::string printer, text, lastError; int picture; DWORD autoClose; } cases[] = {
        {"Kestrola Nowhere", kNotFound, kNotFound, IDB_FAILURE, 2},
        {unfinished.Name(), kNotSent, kNotSent, IDB_FAILURE, 0},
        {sent, "The file was sent to the printer successfully!", "<none>", IDB_SUCCESS, 2},
        {"Kestrola Nowhere", "", kNotFound, 0, 1},
        {sent, "", "<none>", 0, 1},
    };
    for (const auto& c : cases) {
        RawWriteString(kProgramSubKey, settings::kLastError, "stale");
        RawWriteDword(kProgramSubKey, settings::kAutoClose, c.autoClose);
        printer.Forget();
        PrintWizard w(job, c.printer);
        const auto run = w.Script(1, {w.WaitForOutcome(), [&] {
            EXPECT_EQ(c.text, WindowText(w.Status()));
            RedrawWindow(w.Frame(), nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
            EXPECT_TRUE(w.ShowsPicture(c.picture) && !w.ShowsPicture(IDB_SUCCESS + IDB_FAILURE - c.picture));
            w.Press(w.Next());  // "Exit"
        }, [] {}});
        // Closed at once, the window is gone before a step can see the outcome.
        EXPECT_EQ(c.autoClose == 1 ? 0u : 2u, run) << c.printer << " AutoClose " << c.autoClose;
        EXPECT_EQ(c.lastError, LastError());
        EXPECT_EQ(c.printer == sent ? "slow job\x0C" : "", printer.Bytes());
    }
}

// Closing while a slow job runs asks; "No" lets the job finish, "Yes" ends the wizard. The
// worker may die holding the allocator's lock: after "Yes", said while another thread holds
// it, the page must end the process before it allocates or frees anything.
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
    CapturePrinter slow("", 3);
    for (int answer : {IDNO, IDYES}) {
        std::string question;
        HANDLE holder = nullptr;
        PrintWizard w(job, slow.Name());
        w.page.endProcess = [] { endedWhileHeld = !heldUntilTimeOut, SetEvent(releaseAllocator); };
        const auto run = w.Script(1, {
            WaitFor([&] { return !IsWindowEnabled(w.Back()); }, "the job to start"),
            [&] { PostMessageA(w.Frame(), WM_SYSCOMMAND, SC_CLOSE, 0); },
            WaitFor([] { return FindThreadWindow("Currently Printing") != nullptr; }, "the question"),
            [&] {
                const HWND box = FindThreadWindow("Currently Printing");
                question = MessageBoxText(box);
                if (answer == IDYES) {
                    holder = CreateThread(nullptr, 0, HoldAllocator, nullptr, 0, nullptr);
                    WaitForSingleObject(allocatorHeld, INFINITE);
                }
                PostMessageA(box, WM_COMMAND, answer, 0);
            },
            w.WaitForOutcome(),
            [&] { EXPECT_EQ("slow job\x0C", slow.Bytes()); },
        });
        EXPECT_EQ("Terminate printing and exit Kestrola?", question);
        EXPECT_EQ(answer == IDNO ? 6u : 4u, run) << answer;
        if (holder) {
            WaitForSingleObject(holder, INFINITE);
            CloseHandle(holder);
        }
    }
    EXPECT_TRUE(endedWhileHeld);
}

}  // namespace
