// The print page as a real window, printing at capture printers of the test's own.

#include "pages/WSPrint.h"
#include "resources/resource.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"

#include <gtest/gtest.h>

#include <vector>

using namespace testenv;

namespace {

class PrintPage : public ::testing::Test {
protected:
    PrintPage()
    {
        wizard.AddPage(&before, 2);
        wizard.AddPage(&page, WSPrint::kPageId);
        page.endProcess = [] {};  // the test's own process goes on
    }
    HWND Status() { return GetDlgItem(wizard.Frame(), WSPrint::kStatusId); }
    bool Finished() { return IsWindowEnabled(wizard.Next()) != FALSE; }
    // The colour the status text is drawn in.
    COLORREF StatusColour()
    {
        HDC dc = CreateCompatibleDC(nullptr);
        SendMessageA(wizard.Frame(), WM_CTLCOLORSTATIC, reinterpret_cast<WPARAM>(dc),
                     reinterpret_cast<LPARAM>(Status()));
        const COLORREF colour = GetTextColor(dc);
        DeleteDC(dc);
        return colour;
    }
    // The 40 x 40 pixels at (left, top) of a device context.
    static std::vector<COLORREF> Pixels(HDC dc, int left, int top)
    {
        std::vector<COLORREF> pixels;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 40; ++x)
                pixels.push_back(GetPixel(dc, left + x, top + y));
        return pixels;
    }
    static std::vector<COLORREF> Picture(int id)
    {
        HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
        HDC dc = CreateCompatibleDC(nullptr);
        HGDIOBJ old = SelectObject(dc, bitmap);
        const std::vector<COLORREF> pixels = Pixels(dc, 0, 0);
        SelectObject(dc, old);
        DeleteDC(dc);
        DeleteObject(bitmap);
        return pixels;
    }
    // What the page shows where the animation and the result picture go.
    std::vector<COLORREF> ShownPicture()
    {
        RECT client = {};
        GetClientRect(wizard.Frame(), &client);
        HDC dc = GetDC(wizard.Frame());
        const std::vector<COLORREF> pixels = Pixels(dc, client.right - 301, client.bottom - 150);
        ReleaseDC(wizard.Frame(), dc);
        return pixels;
    }
    std::string LastError()
    {
        std::string text;
        return RawReadString(kProgramSubKey, settings::kLastError, text) ? text : "<none>";
    }

    ProgramKeyGuard programKey;
    ScratchDir dir;
    TestWizard wizard;
    BlankPage before{&wizard};
    WSPrint page{&wizard};
};

TEST_F(PrintPage, SuccessShowsTheCheckAndBlackTextAndTheBytesArrive)
{
    CapturePrinter printer;
    const std::string data = AllByteValues() + "\x0C";
    wizard.SetFilePath(dir.Write("job.prn", data));
    wizard.SetPrinterName(printer.Name());
    RawWriteString(kProgramSubKey, settings::kLastError, "stale");

    wizard.Script(1, {WaitFor([&] { return Finished(); }, "the job"), [&] {
        EXPECT_EQ("The file was sent to the printer successfully!", WindowText(Status()));
        EXPECT_TRUE(IsWindowVisible(Status()));
        EXPECT_EQ(RGB(0, 0, 0), StatusColour());
        ASSERT_TRUE(Picture(IDB_SUCCESS) != Picture(IDB_FAILURE));
        EXPECT_TRUE(Picture(IDB_SUCCESS) == ShownPicture());
        // The picture is part of the page: a repaint keeps it.
        RedrawWindow(wizard.Frame(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW);
        EXPECT_TRUE(Picture(IDB_SUCCESS) == ShownPicture());
        EXPECT_EQ("Exit", WindowText(wizard.Next()));
        EXPECT_TRUE(IsWindowEnabled(wizard.Back()));
        EXPECT_FALSE(IsWindowVisible(wizard.Cancel()));
    }});
    EXPECT_EQ(data + "\x0C", printer.Bytes());
    EXPECT_EQ("<none>", LastError());
}

TEST_F(PrintPage, FailureShowsTheCrossAndTheMessageInRedAndStoresIt)
{
    wizard.SetFilePath(dir.Write("job.prn", "data"));
    wizard.SetPrinterName("Kestrola Nowhere");
    wizard.Script(1, {WaitFor([&] { return Finished(); }, "the job"), [&] {
        EXPECT_EQ("Could not find the printer \"Kestrola Nowhere\".", WindowText(Status()));
        EXPECT_EQ(RGB(255, 0, 0), StatusColour());
        EXPECT_TRUE(Picture(IDB_FAILURE) == ShownPicture());
    }});
    EXPECT_EQ("Could not find the printer \"Kestrola Nowhere\".", LastError());
}

TEST_F(PrintPage, AutoCloseOfExactlyOneClosesTheWizardAfterAnyOutcome)
{
    CapturePrinter printer;
    wizard.SetFilePath(dir.Write("job.prn", "data"));
    for (const std::string& printerName : {printer.Name(), std::string("Kestrola Nowhere")}) {
        wizard.SetPrinterName(printerName);
        RawWriteDword(kProgramSubKey, settings::kAutoClose, 1);
        // The window closes by itself, which ends the script before the step gives up.
        wizard.Script(1, {WaitFor([&] { return !IsWindow(wizard.Frame()); }, "the close")});

        RawWriteDword(kProgramSubKey, settings::kAutoClose, 2);
        bool stayedOpen = false;
        const DWORD shortWhile = 300;
        wizard.Script(1, {
            WaitFor([&] { return Finished(); }, "the job"),
            Pause(shortWhile),
            [&] { stayedOpen = IsWindow(wizard.Frame()) != FALSE; },
        });
        EXPECT_TRUE(stayedOpen) << printerName;
    }
}

TEST_F(PrintPage, BackAndForwardRunsASecondJobAndExitCloses)
{
    CapturePrinter printer;
    const std::string path = dir.Write("job.prn", "first");
    wizard.SetFilePath(path);
    wizard.SetPrinterName(printer.Name());
    bool exitClosed = true;
    wizard.Script(1, {
        WaitFor([&] { return Finished(); }, "the first job"),
        [&] {
            EXPECT_EQ("first\x0C", printer.Bytes());
            dir.Write("job.prn", "second");
            wizard.Press(wizard.Back());
        },
        [&] {
            EXPECT_EQ(0u, wizard.Index());
            EXPECT_FALSE(IsWindowVisible(Status()));
            EXPECT_EQ("", WindowText(Status()));
            wizard.Press(wizard.Next());
        },
        WaitFor([&] { return Finished() && printer.Bytes() == "second\x0C"; }, "the second job"),
        [&] {
            EXPECT_EQ("The file was sent to the printer successfully!", WindowText(Status()));
            wizard.Press(wizard.Next());  // "Exit"
        },
        [&] { exitClosed = false; },  // only reached when "Exit" left the window open
    });
    EXPECT_TRUE(exitClosed);
}

TEST_F(PrintPage, ClosingDuringASlowJobAsksAndNoKeepsPrinting)
{
    CapturePrinter slow("", 3);
    wizard.SetFilePath(dir.Write("job.prn", "slow job"));
    wizard.SetPrinterName(slow.Name());
    std::string question;
    bool closeClosed = true;
    wizard.Script(1, {
        WaitFor([&] { return !IsWindowEnabled(wizard.Back()); }, "the job to start"),
        [&] { PostMessageA(wizard.Frame(), WM_SYSCOMMAND, SC_CLOSE, 0); },
        WaitFor([&] { return FindThreadWindow("Currently Printing") != nullptr; }, "the question"),
        [&] {
            const HWND box = FindThreadWindow("Currently Printing");
            question = MessageBoxText(box);
            PostMessageA(box, WM_COMMAND, IDNO, 0);
        },
        WaitFor([&] { return Finished(); }, "the job"),
        [&] {
            EXPECT_EQ("The file was sent to the printer successfully!", WindowText(Status()));
            // With no job running the close box simply closes.
            PostMessageA(wizard.Frame(), WM_SYSCOMMAND, SC_CLOSE, 0);
        },
        [&] { closeClosed = false; },
    });
    EXPECT_EQ("Terminate printing and exit Kestrola?", question);
    EXPECT_EQ("slow job\x0C", slow.Bytes());
    EXPECT_TRUE(closeClosed);
}

TEST_F(PrintPage, ClosingDuringASlowJobAnsweredYesEndsTheWizard)
{
    CapturePrinter slow("", 3);
    wizard.SetFilePath(dir.Write("job.prn", "slow job"));
    wizard.SetPrinterName(slow.Name());
    bool closed = true;
    const auto run = wizard.Script(1, {
        WaitFor([&] { return !IsWindowEnabled(wizard.Back()); }, "the job to start"),
        [&] { PostMessageA(wizard.Frame(), WM_SYSCOMMAND, SC_CLOSE, 0); },
        WaitFor([&] { return FindThreadWindow("Currently Printing") != nullptr; }, "the question"),
        [&] {
            PostMessageA(FindThreadWindow("Currently Printing"), WM_COMMAND, IDYES, 0);
        },
        [&] { closed = false; },
    });
    EXPECT_TRUE(closed);
    EXPECT_TRUE(run.runResult);
}

TEST_F(PrintPage, AJobTheSpoolerCannotFinishShowsTheCross)
{
    CapturePrinter printer;
    SetPrinterPort(printer.Name(), "/nonexistent-kestrola-folder/job.prn");
    wizard.SetFilePath(dir.Write("job.prn", "data"));
    wizard.SetPrinterName(printer.Name());
    const std::string failed = "An error occurred sending the file data to the printer.";
    wizard.Script(1, {WaitFor([&] { return Finished(); }, "the job"), [&] {
        EXPECT_EQ(failed, WindowText(Status()));
        EXPECT_TRUE(Picture(IDB_FAILURE) == ShownPicture());
    }});
    EXPECT_EQ(failed, LastError());
}

// The worker may die holding the allocator's lock. Another thread holds it while the user
// says Yes: the page must end the process before it allocates or frees anything.
HANDLE allocatorHeld, releaseAllocator;
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

TEST_F(PrintPage, AfterYesTheProcessEndsBeforeTheAllocatorIsTouched)
{
    CapturePrinter slow("", 3);
    wizard.SetFilePath(dir.Write("job.prn", "slow job"));
    wizard.SetPrinterName(slow.Name());
    allocatorHeld = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    releaseAllocator = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    page.endProcess = [] { endedWhileHeld = !heldUntilTimeOut, SetEvent(releaseAllocator); };
    HANDLE holder = nullptr;
    wizard.Script(1, {
        WaitFor([&] { return !IsWindowEnabled(wizard.Back()); }, "the job to start"),
        [&] { PostMessageA(wizard.Frame(), WM_SYSCOMMAND, SC_CLOSE, 0); },
        WaitFor([&] { return FindThreadWindow("Currently Printing") != nullptr; }, "the question"),
        [&] {
            const HWND box = FindThreadWindow("Currently Printing");
            holder = CreateThread(nullptr, 0, HoldAllocator, nullptr, 0, nullptr);
            WaitForSingleObject(allocatorHeld, INFINITE);
            PostMessageA(box, WM_COMMAND, IDYES, 0);
        },
    });
    WaitForSingleObject(holder, INFINITE);
    for (HANDLE handle : {holder, allocatorHeld, releaseAllocator})
        CloseHandle(handle);
    EXPECT_TRUE(endedWhileHeld);
}

}  // namespace
