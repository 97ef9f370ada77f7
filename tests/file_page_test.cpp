// The file page as a real window: its boxes filled from the settings, its checks on
// "Print >" and what it stores.

#include "pages/WSPrint.h"
#include "core/TypedPath.h"
#include "pages/WSSelectFile.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testenv;

namespace {

std::string ComboItem(HWND box, LRESULT index)
{
    const LRESULT length = SendMessageA(box, CB_GETLBTEXTLEN, index, 0);
    if (length == CB_ERR)
        return "<none>";
    std::string text(length + 1, '\0');
    SendMessageA(box, CB_GETLBTEXT, index, reinterpret_cast<LPARAM>(&text[0]));
    text.resize(length);
    return text;
}

std::vector<std::string> ComboItems(HWND box)
{
    std::vector<std::string> items;
    const LRESULT count = SendMessageA(box, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i)
        items.push_back(ComboItem(box, i));
    return items;
}

class FilePage : public ::testing::Test {
protected:
    FilePage()
    {
        wizard.AddPage(&start, 1);
        wizard.AddPage(&page, WSSelectFile::kPageId);
        wizard.AddPage(&after, 3);
    }
    HWND FileBox() { return GetDlgItem(wizard.Frame(), WSSelectFile::kFileBoxId); }
    HWND PrinterBox() { return GetDlgItem(wizard.Frame(), WSSelectFile::kPrinterBoxId); }
    HWND FileEdit() { return GetWindow(FileBox(), GW_CHILD); }
    std::string SelectedPrinter()
    {
        return ComboItem(PrinterBox(), SendMessageA(PrinterBox(), CB_GETCURSEL, 0, 0));
    }
    // Presses "Print >" and answers the "Error" box it must show; returns its text.
    std::vector<LoopStep> ExpectRefusal(std::string& message)
    {
        return {[this] { wizard.Press(wizard.Next()); },
                WaitFor([] { return FindThreadWindow("Error") != nullptr; }, "the message"),
                [this, &message] {
                    const HWND box = FindThreadWindow("Error");
                    message = box ? MessageBoxText(box) : "<no message box>";
                    if (box)
                        PostMessageA(box, WM_COMMAND, IDOK, 0);
                },
                WaitFor([] { return FindThreadWindow("Error") == nullptr; }, "the message to go"),
                [this] { EXPECT_EQ(1u, wizard.Index()); }};
    }

    ProgramKeyGuard programKey;
    ScratchDir dir;
    CapturePrinter printerA{"Kestrola Page A"}, printerB{"Kestrola Page B"};
    TestWizard wizard;
    BlankPage start{&wizard}, after{&wizard};
    WSSelectFile page{&wizard};
};

TEST_F(FilePage, BoxesAreFilledFromTheSettingsAndTheCommandLinePathWins)
{
    RawWriteString(kProgramSubKey, "RecentFile_00", "C:\\zero.prn");
    RawWriteString(kProgramSubKey, "RecentFile_01", "C:\\one.prn");
    RawWriteString(kProgramSubKey, "RecentFile_03", "C:\\three.prn");
    RawWriteString(kProgramSubKey, settings::kLastPrinterName, "Kestrola Page B");

    wizard.Script(1, {[&] {
        EXPECT_EQ((std::vector<std::string>{"C:\\zero.prn", "C:\\one.prn", "C:\\three.prn"}),
                  ComboItems(FileBox()));
        EXPECT_EQ("C:\\zero.prn", WindowText(FileBox()));
        EXPECT_EQ("Kestrola Page B", SelectedPrinter());
        EXPECT_EQ("Print >", WindowText(wizard.Next()));
        EXPECT_EQ(FileEdit(), GetFocus());
        EXPECT_TRUE(IsWindowVisible(PrinterBox()));
    }});

    // A path from the command line replaces the text but not the list; a printer name in
    // another letter case is no match, so the first printer is selected.
    const std::string chosen = dir.Write("chosen.prn", "x");
    RawWriteString(kProgramSubKey, settings::kLastPrinterName, "kestrola page b");
    TestWizard second;
    BlankPage first{&second};
    WSSelectFile secondPage{&second};
    second.AddPage(&first, 1);
    second.AddPage(&secondPage, 2);
    second.SetFilePath(chosen);
    second.Script(1, {[&] {
        const HWND box = GetDlgItem(second.Frame(), WSSelectFile::kFileBoxId);
        EXPECT_EQ(3, SendMessageA(box, CB_GETCOUNT, 0, 0));
        EXPECT_EQ(chosen, WindowText(box));
        DWORD start = 1, end = 0;
        SendMessageA(box, CB_GETEDITSEL, reinterpret_cast<WPARAM>(&start),
                     reinterpret_cast<LPARAM>(&end));
        EXPECT_EQ(0u, start);
        EXPECT_EQ(chosen.size(), end);
        const HWND printers = GetDlgItem(second.Frame(), WSSelectFile::kPrinterBoxId);
        EXPECT_EQ(0, SendMessageA(printers, CB_GETCURSEL, 0, 0));
    }});
}

TEST_F(FilePage, EachCheckOnPrintShowsItsMessageAndStoresNothing)
{
    std::string empty, missing, noPrinter;
    std::vector<LoopStep> steps = {[&] { SetWindowTextA(FileBox(), ""); }};
    for (const LoopStep& step : ExpectRefusal(empty))
        steps.push_back(step);
    steps.push_back([&] { SetWindowTextA(FileBox(), (dir.Path() + "\\missing.prn").c_str()); });
    for (const LoopStep& step : ExpectRefusal(missing))
        steps.push_back(step);
    steps.push_back([&] {
        SetWindowTextA(FileBox(), dir.Write("there.prn", "x").c_str());
        SendMessageA(PrinterBox(), CB_SETCURSEL, static_cast<WPARAM>(-1), 0);
    });
    for (const LoopStep& step : ExpectRefusal(noPrinter))
        steps.push_back(step);
    wizard.Script(1, steps);

    EXPECT_EQ("You must specify a file to send to the printer.", empty);
    EXPECT_EQ("Could not find the specified file.  Please make sure the file exists before "
              "continuing.",
              missing);
    EXPECT_EQ("You must select a printer.", noPrinter);
    EXPECT_FALSE(RawValueExists(kProgramSubKey, settings::kLastPrinterName));
    EXPECT_FALSE(RawValueExists(kProgramSubKey, "RecentFile_00"));
    EXPECT_EQ("", wizard.GetFilePath());
    EXPECT_EQ("", wizard.GetPrinterName());
}

TEST_F(FilePage, AGoodChoiceIsHandedToTheFrameAndRemembered)
{
    RawWriteString(kProgramSubKey, "RecentFile_00", "C:\\older.prn");
    // A path longer than any fixed buffer of the page, past the old existence-test limit.
    const std::string folder = dir.Path() + "\\" + std::string(150, 'f');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string path = folder + "\\label.zpl";
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);

    wizard.Script(1, {
        [&] {
            SetWindowTextA(FileBox(), path.c_str());
            const LRESULT b = SendMessageA(PrinterBox(), CB_FINDSTRINGEXACT,
                                           static_cast<WPARAM>(-1),
                                           reinterpret_cast<LPARAM>("Kestrola Page B"));
            SendMessageA(PrinterBox(), CB_SETCURSEL, b, 0);
            wizard.Press(wizard.Next());
        },
        [&] { EXPECT_EQ(2u, wizard.Index()); },
    });
    EXPECT_EQ(path, wizard.GetFilePath());
    EXPECT_EQ("Kestrola Page B", wizard.GetPrinterName());
    std::string text;
    EXPECT_TRUE(RawReadString(kProgramSubKey, settings::kLastPrinterName, text));
    EXPECT_EQ("Kestrola Page B", text);
    EXPECT_TRUE(RawReadString(kProgramSubKey, "RecentFile_00", text));
    EXPECT_EQ(path, text);
    EXPECT_TRUE(RawReadString(kProgramSubKey, "RecentFile_01", text));
    EXPECT_EQ("C:\\older.prn", text);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(FilePage, ClearingTheTextDisablesPrintAndTypingEnablesIt)
{
    wizard.Script(1, {
        [&] {
            SetWindowTextA(FileBox(), "C:\\a.prn");
            SetFocus(FileEdit());
            SendMessageA(FileEdit(), EM_SETSEL, 0, -1);
            PostMessageA(FileEdit(), WM_CHAR, VK_BACK, 1);
        },
        [&] {
            EXPECT_EQ("", WindowText(FileBox()));
            EXPECT_EQ("Print", WindowText(wizard.Next()));
            EXPECT_FALSE(IsWindowEnabled(wizard.Next()));
            PostMessageA(FileEdit(), WM_CHAR, 'x', 1);
        },
        [&] {
            EXPECT_EQ("Print", WindowText(wizard.Next()));
            EXPECT_TRUE(IsWindowEnabled(wizard.Next()));
            wizard.Press(wizard.Back());
        },
        [&] { wizard.Press(wizard.Next()); },
        [&] {
            EXPECT_EQ(1u, wizard.Index());
            EXPECT_EQ("Print >", WindowText(wizard.Next()));
            EXPECT_TRUE(IsWindowEnabled(wizard.Next()));
        },
    });
}

HWND OpenDialog() { return FindThreadWindow("Open"); }

TEST_F(FilePage, BrowseStartsOnAllFilesAndRemembersTheFilterUsed)
{
    const std::string pcl = dir.Write("report.pcl", "\x1b" "E");
    const int kFilterBox = 0x470, kFileName = 0x47C;
    LRESULT firstFilter = -2, secondFilter = -2;
    wizard.Script(1, {
        [&] { PostMessageA(wizard.Frame(), WM_COMMAND, WSSelectFile::kBrowseId, 0); },
        WaitFor([] { return OpenDialog() != nullptr; }, "the open-file dialog"),
        [&] {
            const HWND dialog = OpenDialog();
            ASSERT_NE(nullptr, dialog);
            const HWND filters = GetDlgItem(dialog, kFilterBox);
            firstFilter = SendMessageA(filters, CB_GETCURSEL, 0, 0);
            SendMessageA(filters, CB_SETCURSEL, 2, 0);
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFilterBox, CBN_SELENDOK),
                         reinterpret_cast<LPARAM>(filters));
            SetDlgItemTextA(dialog, kFileName, pcl.c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        },
        WaitFor([] { return OpenDialog() == nullptr; }, "the dialog to close"),
        [&] {
            EXPECT_EQ(pcl, WindowText(FileBox()));
            PostMessageA(wizard.Frame(), WM_COMMAND, WSSelectFile::kBrowseId, 0);
        },
        WaitFor([] { return OpenDialog() != nullptr; }, "the open-file dialog"),
        [&] {
            const HWND dialog = OpenDialog();
            ASSERT_NE(nullptr, dialog);
            secondFilter = SendMessageA(GetDlgItem(dialog, kFilterBox), CB_GETCURSEL, 0, 0);
            PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
        },
        WaitFor([] { return OpenDialog() == nullptr; }, "the dialog to close"),
        [&] { EXPECT_EQ(pcl, WindowText(FileBox())); },
    });
    EXPECT_EQ(4, firstFilter);   // "All Files (*.*)", index 5
    EXPECT_EQ(2, secondFilter);  // "Printer Control Language Files (*.pcl)", index 3
    DWORD index = 0;
    EXPECT_TRUE(RawReadDword(kProgramSubKey, settings::kOpenFilterIndex, index));
    EXPECT_EQ(3u, index);
}

TEST_F(FilePage, TheJobGoesToThePickedPrinterWhilePrintersComeAndGo)
{
    const std::string held = dir.Write("held.zpl", "x");
    HANDLE holder = CreateFileA(held.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    RawWriteString(kProgramSubKey, settings::kLastPrinterName, printerB.Name());
    TestWizard w;
    WSSelectFile files{&w};
    WSPrint print{&w};
    w.AddPage(&files, WSSelectFile::kPageId);
    w.AddPage(&print, WSPrint::kPageId);
    w.SetFilePath(dir.Write("label.zpl", "^XA^XZ"));
    std::unique_ptr<CapturePrinter> added;
    const auto remove = [](const std::string& name) {
        RegDeleteTreeA(HKEY_LOCAL_MACHINE,
                       ("System\\CurrentControlSet\\Control\\Print\\Printers\\" + name).c_str());
    };
    const std::vector<LoopStep> changes = {
        [&] { added.reset(new CapturePrinter("Kestrola AAA New")); },  // listed before B
        [&] { added.reset(), remove(printerA.Name()); },
        [&] { SetWindowTextA(GetDlgItem(w.Frame(), WSSelectFile::kFileBoxId), held.c_str()); },
        [&] { remove(printerB.Name()); },
    };
    std::vector<std::string> seen;  // after each "Print >": the outcome | what B received
    std::vector<LoopStep> steps;
    for (const LoopStep& change : changes) {
        steps.push_back([&, change] { change(), printerB.Forget(), w.Press(w.Next()); });
        steps.push_back(WaitFor([&] { return FindThreadWindow("Error") ||
                                             (w.Index() == 1 && IsWindowEnabled(w.Back())); },
                                "the outcome"));
        steps.push_back([&] {
            const HWND box = FindThreadWindow("Error");
            const HWND status = GetDlgItem(w.Frame(), WSPrint::kStatusId);
            seen.push_back((box ? MessageBoxText(box) : WindowText(status)) + " | " +
                           (printerB.HasJob() ? printerB.Bytes() : "no job"));
            box ? (void)PostMessageA(box, WM_COMMAND, IDOK, 0) : w.Press(w.Back());
        });
    }
    steps.push_back(WaitFor([] { return !FindThreadWindow("Error"); }, "the message to go"));
    w.Script(0, steps);
    CloseHandle(holder);
    const std::string sent = "The file was sent to the printer successfully! | ^XA^XZ\x0C";
    const std::string unreadable = "Could not open the file:\n\n\"" + held + "\"\n\nfor printing.";
    EXPECT_EQ((std::vector<std::string>{sent, sent, unreadable + " | no job",
                                        "You must select a printer. | no job"}),
              seen);
    std::string last;
    RawReadString(kProgramSubKey, settings::kLastPrinterName, last);
    EXPECT_EQ(printerB.Name(), last);
}

TEST(TypedPath, BlanksAroundThenOneQuoteAtEachEndAreRemoved)
{
    struct Case {
        const char* text;
        const char* path;
    } cases[] = {
        {"\"C:\\labels\\shelf.zpl\"", "C:\\labels\\shelf.zpl"},
        {" \t \"C:\\a b.zpl\"  \t", "C:\\a b.zpl"},
        {"\" C:\\a.zpl \"", " C:\\a.zpl "},  // blanks inside the quotes belong to the path
        {"\"\"C:\\a.zpl\"\"", "\"C:\\a.zpl\""},
        {" \"\" ", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.path, CleanTypedPath(c.text)) << c.text;
}

TEST_F(FilePage, AQuotedPathIsCheckedStoredAndShownWithoutItsQuotes)
{
    const std::string path = dir.Write("shelf.zpl", "x");
    wizard.Script(1, {
        [&] {
            SetWindowTextA(FileBox(), (" \t\"" + path + "\"  ").c_str());
            wizard.Press(wizard.Next());
        },
        [&] {
            EXPECT_EQ(2u, wizard.Index());
            EXPECT_EQ(path, WindowText(FileBox()));
        },
    });
    EXPECT_EQ(path, wizard.GetFilePath());
    std::string recent;
    EXPECT_TRUE(RawReadString(kProgramSubKey, "RecentFile_00", recent));
    EXPECT_EQ(path, recent);
}

TEST_F(FilePage, BrowseHandsBackANameOutsideTheCodePageAsItsShortPath)
{
    const std::wstring name =
        std::wstring(dir.Path().begin(), dir.Path().end()) + L"\\\x0429\x043A\x0430.pcl";
    HANDLE file = CreateFileW(name.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);
    wchar_t wideShort[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameW(name.c_str(), wideShort, MAX_PATH));
    const std::string shortPath(wideShort, wideShort + lstrlenW(wideShort));
    wizard.Script(1, {
        [&] { PostMessageA(wizard.Frame(), WM_COMMAND, WSSelectFile::kBrowseId, 0); },
        WaitFor([] { return OpenDialog() != nullptr; }, "the open-file dialog"),
        [&] {
            SetDlgItemTextW(OpenDialog(), 0x47C, name.c_str());
            PostMessageA(OpenDialog(), WM_COMMAND, IDOK, 0);
        },
        WaitFor([] { return OpenDialog() == nullptr; }, "the dialog to close"),
        [&] { EXPECT_EQ(shortPath, WindowText(FileBox())); },
    });
    DeleteFileW(name.c_str());
}

}  // namespace
