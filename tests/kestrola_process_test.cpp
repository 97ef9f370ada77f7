// The real Kestrola.exe, started as a process: automatic printing, the libraries it loads and
// the windows it shows.
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"
#include "wizard/WindowStateController.h"

#include <gtest/gtest.h>

#include <utility>

using namespace testenv;

namespace {

class KestrolaProcessTest : public ::testing::Test {
protected:
    ProgramKeyGuard programKey;
    // A queue named outside the ANSI code page, as a shared printer named in another language.
    CapturePrinter printer{L"Kestrola \x041c\x0435\x0442\x043a\x0438 \x6771\x4eac"};
    ScratchDir dir;
    const WideString exe = Wide("\"" + dir.Path() + "\\Kestrola.exe\" ");
};

TEST_F(KestrolaProcessTest, ExitCodesLastErrorAndWhatIsPrintedOrShown)
{
    const std::string data = AllByteValues() + "\x0C end";
    const std::string path = dir.Write("job one.prn", data);
    const WideString quoted = Wide("\"" + path + "\"");
    // A relative name from a folder named outside the ANSI code page, which comes only through
    // the wide command line, and a path past MAX_PATH.
    const WideString folder = Wide(dir.Path()) + L"\\\x0414\x043c\x0438\x0442\x0440\x0438\x0439";
    const WideString deep = L"\\\\?\\" + Wide(dir.Path()) + L"\\" + WideString(200, L'd');
    const WideString deepFile = deep.substr(4) + L"\\" + WideString(80, L'j');
    // Held open by another program and given by its short name: messages name it as it is.
    const WideString heldForeign = folder + L"\\\x0429\x043a\x0430 held.prn";
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) && CreateDirectoryW(deep.c_str(), nullptr) &&
                CopyFileW(Wide(path).c_str(), heldForeign.c_str(), TRUE) &&
                CopyFileW(Wide(path).c_str(), (folder + L"\\job.prn").c_str(), TRUE) &&
                CopyFileW(Wide(path).c_str(), (L"\\\\?\\" + deepFile).c_str(), TRUE));
    const std::string wizard = "Morrowick Kestrola", box = "Kestrola Error";
    const WideString none = L"<none>", nowhere = L"Could not find the printer \"Kestrola Nowhere\".";
    const WideString printerName = printer.WideName();
    const std::string job = data + "\x0C", a = dir.Write("a.prn", "A1"), c = dir.Write("c.prn", "C3");
    // Several files, as Send To hands them over, go to a printer that keeps every job.
    const WideString three = Wide("\"" + a + "\" \"" + dir.Path() + "\\missing.prn\" " + c);
    const WideString notSent = L" files were sent to the printer. Not sent:\n", held = Wide(path);
    CapturePrinter all(L"", 0, true);
    const struct {
        DWORD autoPrint, suppress;  // any non-zero value is on
        WideString printerName;
        WideString commandLine;
        WideString held;  // a file another program holds open, sharing nothing
        std::string port;  // "": the capture file; the printer keeps it from then on
        DWORD exitCode;
        std::vector<std::string> windows;  // those seen, each answered or closed
        WideString lastError;
        std::string printed;  // the bytes that reached either printer
        // Wine's library load orders for Kestrola.exe during the run ("": not loaded at all).
        std::vector<std::pair<std::string, std::string>> overrides = {};
    } cases[] = {
        {1, 0, printerName, quoted, L"", "", 0, {}, none, job},
        {1, 0, printerName, L"job.prn", L"", "", 0, {}, none, job},  // from the folder
        {1, 0, printerName, L"\"" + deepFile + L"\"", L"", "", 0, {}, none, job},
        // Libraries beside the program are preferred, as Windows does for those outside
        // KnownDLLs: the program still takes the system's own.
        {1, 0, printerName, quoted, L"", "", 0, {}, none, job,
         {{"winspool.drv", "n,b"}, {"uxtheme", "n,b"}}},
        // No spooler library at all.
        {1, 0, printerName, quoted, L"", "", DWORD(-1), {box},
         L"An error occurred while initializing the printer.", "", {{"winspool.drv", ""}}},
        {0, 0, printerName, quoted, L"", "", 0, {wizard}, none, "", {{"winspool.drv", ""}}},
        {1, 0, printerName, Wide("\"" + dir.Path() + "\\missing.prn\""), L"", "", 0, {wizard},
         none, ""},
        {2, 2, L"", quoted, L"", "", DWORD(-1), {}, L"No printer specified for automatic printing.",
         ""},
        {1, 0, L"Kestrola Nowhere", quoted, L"", "", DWORD(-1), {box}, nowhere, ""},
        {1, 0, printerName, ShortPath(heldForeign), heldForeign, "", DWORD(-1), {box},
         L"Could not open the file:\n\n\"" + heldForeign + L"\"\n\nfor printing.", ""},
        {1, 0, all.WideName(), three, L"", "", DWORD(-1), {box}, L"2 of 3" + notSent +
         L"missing.prn: Could not open the file:\n\n\"" + Wide(dir.Path()) + L"\\missing.prn\"\n\nfor printing.",
         "A1\x0C" "C3\x0C"},
        {1, 1, all.WideName(), Wide(a + " " + c + " ") + quoted, held, "", DWORD(-1), {}, L"2 of 3" + notSent +
         L"job one.prn: Could not open the file:\n\n\"" + held + L"\"\n\nfor printing.", "A1\x0C" "C3\x0C"},
        {1, 0, all.WideName(), Wide(c + " " + a + " ") + quoted, L"", "", 0, {}, none, "C3\x0C" "A1\x0C" + job},
        {1, 0, L"Kestrola Nowhere", three, L"", "", DWORD(-1), {box}, nowhere, ""},
        // A port file in a missing folder: the spooler cannot end the document.
        {1, 0, printerName, quoted, L"", "/nonexistent-kestrola-folder/job.prn", DWORD(-1),
         {box}, L"An error occurred sending the file data to the printer.", ""},
        // A port command that never reads keeps the wizard's job waiting in EndDocPrinter;
        // closing the wizard then and confirming ends the process at once.
        {0, 0, printerName, quoted, L"", "|exec >/dev/null 2>&1; sleep 60", 0,
         {wizard, "Currently Printing"}, none, ""},
    };
    // Each run is of a copy of the program beside stand-ins for winspool.drv and uxtheme.dll,
    // which leave a marker file when loaded. Wine takes the load orders of a program that a
    // Windows process starts from the registry, not from the environment.
    const std::string beside = dir.Path() + "\\", standIns[] = {"winspool.drv", "uxtheme.dll"};
    ASSERT_TRUE(CopyFileA(KestrolaExePath().c_str(), (beside + "Kestrola.exe").c_str(), FALSE));
    for (const std::string& name : standIns)
        ASSERT_TRUE(CopyFileA((KestrolaExePath() + "\\..\\tests\\kestrola-stand-in.dll").c_str(),
                              (beside + name).c_str(), FALSE));
    const std::string wineApp = "Software\\Wine\\AppDefaults\\Kestrola.exe";
    KeyGuard wineAppGuard(HKEY_CURRENT_USER, wineApp, true);
    SetCurrentDirectoryW(folder.c_str());  // every other case names its file in full
    for (const auto& c : cases) {
        const std::string what = "case " + std::to_string(&c - cases);
        RawWriteDword(kProgramSubKey, settings::kAutoPrint, c.autoPrint);
        RawWriteWide(kProgramSubKey, settings::kAutoPrintPrinter, c.printerName);
        RawWriteDword(kProgramSubKey, settings::kSuppressErrors, c.suppress);
        RawWriteString(kProgramSubKey, settings::kLastError, "stale failure of an earlier run");
        RawWriteWide(kProgramSubKey, settings::kLastPrinterName, printerName);
        if (!c.port.empty())
            SetPrinterPort(printerName, c.port);
        printer.Forget(), all.Forget();
        HANDLE holder = c.held.empty() ? INVALID_HANDLE_VALUE
                                       : CreateFileW(c.held.c_str(), GENERIC_WRITE, 0, nullptr,
                                                     OPEN_EXISTING, 0, nullptr);
        WideString boxText = none;
        bool printPressed = false;
        for (const auto& order : c.overrides)
            RawWriteString(wineApp + "\\DllOverrides", order.first, order.second);
        const ProcessResult run = RunProgram(exe + c.commandLine, 20000, [&](HWND window) {
            const std::string title = WindowText(window);
            if (title == box)
                boxText = WideWindowText(GetDlgItem(window, 0xFFFF));
            if (title == "Currently Printing")
                return PostMessageA(window, WM_COMMAND, IDYES, 0) != 0;
            if (c.port[0] == '|' && !std::exchange(printPressed, true))  // "Print >" on the file page
                return !PostMessageA(window, WM_COMMAND, WindowStateController::kNextId, 0);
            if (IsWindowEnabled(GetDlgItem(window, WindowStateController::kBackId)) && printPressed)
                return false;  // "< Back" is disabled while the job runs
            const bool isBox = title == box;
            return PostMessageA(window, isBox ? WM_COMMAND : WM_CLOSE, isBox ? IDOK : 0, 0) != 0;
        });
        CloseHandle(holder);
        RegDeleteTreeA(HKEY_CURRENT_USER, wineApp.c_str());
        for (const std::string& name : standIns)  // left by a stand-in that was loaded
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA((beside + name + ".loaded").c_str())) << what;
        EXPECT_EQ(c.exitCode, run.exitCode) << what;
        EXPECT_EQ(c.windows, run.visibleWindowTitles) << what;
        EXPECT_EQ(c.lastError, RawReadWide(kProgramSubKey, settings::kLastError)) << what;
        EXPECT_TRUE(boxText == none || boxText == c.lastError) << what;
        EXPECT_EQ(c.printed, printer.Bytes() + all.Bytes()) << what;
    }
    SetCurrentDirectoryA("C:\\");
    DeleteFileW((L"\\\\?\\" + deepFile).c_str());
    RemoveDirectoryW(deep.c_str());
}

}  // namespace
