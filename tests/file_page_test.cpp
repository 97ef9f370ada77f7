// The file page as a real window: its boxes filled from the settings, its checks on
// "Print >" and what a good choice stores.

#include "core/TypedPath.h"
#include "pages/WSPrint.h"
#include "pages/WSSelectFile.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"
#include "support/WizardTesting.h"

#include <gtest/gtest.h>

#include <memory>

using namespace testenv;

namespace {

using Values = std::map<std::string, std::string>;

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
    // Steps that wait for a window of this thread to show, answer it, and wait for it to go.
    void AddAnswer(std::vector<LoopStep>& steps, const char* title, std::function<void(HWND)> answer)
    {
        steps.insert(steps.end(), {WaitFor([=] { return IsWindowVisible(FindThreadWindow(title)); }, title),
                                   [=] { answer(FindThreadWindow(title)); },
                                   WaitFor([=] { return FindThreadWindow(title) == nullptr; }, title)});
    }

    ProgramKeyGuard programKey;
    ScratchDir dir;
    CapturePrinter printerA{"Kestrola Page A"}, printerB{"Kestrola Page B"};
    TestWizard wizard;
    BlankPage start{&wizard}, after{&wizard};
    WSSelectFile page{&wizard};
};

// The recent files fill the list, a path from the command line replaces the text shown, the
// last printer is selected by its name.
TEST_F(FilePage, BoxesAreFilledFromTheSettingsAndTheCommandLinePathWins)
{
    const Values stored = {{"LastPrinterName", "Kestrola Page B"}, {"RecentFile_00", "C:\\zero.prn"},
                           {"RecentFile_01", "C:\\one.prn"}, {"RecentFile_03", "C:\\three.prn"}};
    for (const auto& value : stored)
        RawWriteString(kProgramSubKey, value.first, value.second);
    wizard.SetFilePath("C:\\chosen.prn");
    wizard.Script(1, {[&] {
        EXPECT_EQ(3, SendMessageA(FileBox(), CB_GETCOUNT, 0, 0));
        EXPECT_EQ("C:\\chosen.prn", WindowText(FileBox()));
        EXPECT_EQ("Kestrola Page B", WindowText(PrinterBox()));
    }});
    EXPECT_EQ(stored, RawValues(kProgramSubKey));
}

TEST_F(FilePage, EachCheckOnPrintShowsItsMessageAndStoresNothing)
{
    std::vector<std::string> shown;
    const std::string texts[] = {"", dir.Path() + "\\missing.prn", dir.Write("there.prn", "x")};
    std::vector<LoopStep> steps;
    for (const std::string& text : texts) {
        steps.push_back([&] {
            SetWindowTextA(FileBox(), text.c_str());
            if (&text == &texts[2])  // with no printer selected
                SendMessageA(PrinterBox(), CB_SETCURSEL, WPARAM(-1), 0);
            wizard.Press(wizard.Next());
        });
        AddAnswer(steps, "Error", [&](HWND box) {
            shown.push_back(MessageBoxText(box));
            PostMessageA(box, WM_COMMAND, IDOK, 0);
        });
    }
    wizard.Script(1, steps);
    EXPECT_EQ((std::vector<std::string>{
                  "You must specify a file to send to the printer.",
                  "Could not find the specified file.  Please make sure the file exists before continuing.",
                  "You must select a printer."}),
              shown);
    EXPECT_EQ(Values(), RawValues(kProgramSubKey));
}

// A printer connection is stored and printed to by its own name, not the one shown; the
// path, longer than any fixed buffer of the page, goes first in the recent list.
TEST_F(FilePage, AGoodChoiceIsHandedToTheFrameAndRemembered)
{
    PrinterSetup printers;
    printers.SetDefault("\\\\Kestrola-srv\\Labels");
    RawWriteString(kProgramSubKey, "RecentFile_00", "C:\\older.prn");
    const std::string folder = dir.Path() + "\\" + std::string(150, 'f'), path = folder + "\\label.zpl";
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    CloseHandle(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    wizard.Script(1, {[&] {
        SetWindowTextA(FileBox(), path.c_str());
        SendMessageA(PrinterBox(), CB_SELECTSTRING, WPARAM(-1), LPARAM("Labels on Kestrola-srv"));
        wizard.Press(wizard.Next());
    }, [&] { EXPECT_EQ(2u, wizard.Index()); }});
    EXPECT_EQ(path + " > \\\\Kestrola-srv\\Labels", wizard.GetFilePath() + " > " + wizard.GetPrinterName());
    EXPECT_EQ((Values{{"LastPrinterName", "\\\\Kestrola-srv\\Labels"}, {"RecentFile_00", path},
                      {"RecentFile_01", "C:\\older.prn"}}),
              RawValues(kProgramSubKey));
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST_F(FilePage, ClearingTheTextDisablesPrintAndTypingEnablesIt)
{
    std::vector<BOOL> enabled;
    wizard.Script(1, {[&] {
        SetWindowTextA(FileBox(), "C:\\a.prn");
        SendMessageA(GetWindow(FileBox(), GW_CHILD), EM_SETSEL, 0, -1);
        PostMessageA(GetWindow(FileBox(), GW_CHILD), WM_CHAR, VK_BACK, 1);
    }, [&] {
        enabled.push_back(IsWindowEnabled(wizard.Next()));
        PostMessageA(GetWindow(FileBox(), GW_CHILD), WM_CHAR, 'x', 1);
    }, [&] { enabled.push_back(IsWindowEnabled(wizard.Next())); }});
    EXPECT_EQ((std::vector<BOOL>{FALSE, TRUE}), enabled);
}

// "Browse..." opens on "All Files", then on the filter used last. A name the ANSI code page
// cannot hold comes back as its short path, any other name as it is.
TEST_F(FilePage, BrowseRemembersTheFilterAndHandsBackPathsThatOpen)
{
    const std::string pcl = dir.Write("report.pcl", "\x1b" "E");
    const std::wstring widePcl(pcl.begin(), pcl.end()), wide = widePcl + L"\x0429\x043A.pcl";
    CloseHandle(CreateFileW(wide.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
    wchar_t shortPath[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameW(wide.c_str(), shortPath, MAX_PATH));
    const int kFilterBox = 0x470, kFileName = 0x47C;
    std::vector<LRESULT> filters;
    std::vector<std::string> chosen;
    std::vector<LoopStep> steps;
    for (int round : {0, 1}) {
        steps.push_back([&] { PostMessageA(wizard.Frame(), WM_COMMAND, WSSelectFile::kBrowseId, 0); });
        AddAnswer(steps, "Open", [&, round](HWND dialog) {
            const HWND box = GetDlgItem(dialog, kFilterBox);
            filters.push_back(SendMessageA(box, CB_GETCURSEL, 0, 0));
            SendMessageA(box, CB_SETCURSEL, 2, 0);  // "Printer Control Language Files (*.pcl)"
            SendMessageA(dialog, WM_COMMAND, MAKEWPARAM(kFilterBox, CBN_SELENDOK), LPARAM(box));
            SetDlgItemTextW(dialog, kFileName, (round ? widePcl : wide).c_str());
            PostMessageA(dialog, WM_COMMAND, IDOK, 0);
        });
        steps.push_back([&] { chosen.push_back(WindowText(FileBox())); });
    }
    wizard.Script(1, steps);
    DeleteFileW(wide.c_str());
    EXPECT_EQ((std::vector<LRESULT>{4, 2}), filters);
    EXPECT_EQ((std::vector<std::string>{std::string(shortPath, shortPath + lstrlenW(shortPath)), pcl}), chosen);
    EXPECT_EQ((Values{{"OpenFilterIndex", "3"}}), RawValues(kProgramSubKey));
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

}  // namespace
