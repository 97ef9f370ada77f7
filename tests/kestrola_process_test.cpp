// The real Kestrola.exe, started as a process: automatic printing, and what the file on
// disk carries.
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"
#include "wizard/WindowStateController.h"

#include <gtest/gtest.h>

#include <sstream>
#include <utility>

using namespace testenv;

namespace {

class KestrolaProcessTest : public ::testing::Test {
protected:
    ProgramKeyGuard programKey;
    CapturePrinter printer;
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
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr) && CreateDirectoryW(deep.c_str(), nullptr) &&
                CopyFileW(Wide(path).c_str(), (folder + L"\\job.prn").c_str(), TRUE) &&
                CopyFileW(Wide(path).c_str(), (L"\\\\?\\" + deepFile).c_str(), TRUE));
    const std::string wizard = "Morrowick Kestrola", box = "Kestrola Error", none = "<none>";
    const std::string nowhere = "Could not find the printer \"Kestrola Nowhere\".";
    const std::string job = data + "\x0C", a = dir.Write("a.prn", "A1"), c = dir.Write("c.prn", "C3");
    // Several files, as Send To hands them over, go to a printer that keeps every job.
    const WideString three = Wide("\"" + a + "\" \"" + dir.Path() + "\\missing.prn\" " + c);
    const std::string notSent = " files were sent to the printer. Not sent:\n";
    CapturePrinter all("", 0, true);
    const struct {
        DWORD autoPrint, suppress;  // any non-zero value is on
        std::string printerName;
        WideString commandLine;
        bool held;  // another program holds the file open, sharing nothing
        std::string port;  // "": the capture file; the printer keeps it from then on
        DWORD exitCode;
        std::vector<std::string> windows;  // those seen, each answered or closed
        std::string lastError;
        std::string printed;  // the bytes that reached either printer
        // Wine's library load orders for Kestrola.exe during the run ("": not loaded at all).
        std::vector<std::pair<std::string, std::string>> overrides = {};
    } cases[] = {
        {1, 0, printer.Name(), quoted, false, "", 0, {}, none, job},
        {1, 0, printer.Name(), L"job.prn", false, "", 0, {}, none, job},  // from the folder
        {1, 0, printer.Name(), L"\"" + deepFile + L"\"", false, "", 0, {}, none, job},
        // Libraries beside the program are preferred, as Windows does for those outside
        // KnownDLLs: the program still takes the system's own.
        {1, 0, printer.Name(), quoted, false, "", 0, {}, none, job,
         {{"winspool.drv", "n,b"}, {"uxtheme", "n,b"}}},
        // No spooler library at all.
        {1, 0, printer.Name(), quoted, false, "", DWORD(-1), {box},
         "An error occurred while initializing the printer.", "", {{"winspool.drv", ""}}},
        {0, 0, printer.Name(), quoted, false, "", 0, {wizard}, none, "", {{"winspool.drv", ""}}},
        {1, 0, printer.Name(), Wide("\"" + dir.Path() + "\\missing.prn\""), false, "", 0, {wizard},
         none, ""},
        {2, 2, "", quoted, false, "", DWORD(-1), {}, "No printer specified for automatic printing.",
         ""},
        {1, 0, "Kestrola Nowhere", quoted, false, "", DWORD(-1), {box}, nowhere, ""},
        {1, 1, printer.Name(), quoted, true, "", DWORD(-1), {},
         "Could not open the file:\n\n\"" + path + "\"\n\nfor printing.", ""},
        {1, 0, all.Name(), three, false, "", DWORD(-1), {box}, "2 of 3" + notSent +
         "missing.prn: Could not open the file:\n\n\"" + dir.Path() + "\\missing.prn\"\n\nfor printing.",
         "A1\x0C" "C3\x0C"},
        {1, 1, all.Name(), Wide(a + " " + c + " ") + quoted, true, "", DWORD(-1), {}, "2 of 3" + notSent +
         "job one.prn: Could not open the file:\n\n\"" + path + "\"\n\nfor printing.", "A1\x0C" "C3\x0C"},
        {1, 0, all.Name(), Wide(c + " " + a + " ") + quoted, false, "", 0, {}, none, "C3\x0C" "A1\x0C" + job},
        {1, 0, "Kestrola Nowhere", three, false, "", DWORD(-1), {box}, nowhere, ""},
        // A port file in a missing folder: the spooler cannot end the document.
        {1, 0, printer.Name(), quoted, false, "/nonexistent-kestrola-folder/job.prn", DWORD(-1),
         {box}, "An error occurred sending the file data to the printer.", ""},
        // A port command that never reads keeps the wizard's job waiting in EndDocPrinter;
        // closing the wizard then and confirming ends the process at once.
        {0, 0, printer.Name(), quoted, false, "|exec >/dev/null 2>&1; sleep 60", 0,
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
        RawWriteString(kProgramSubKey, settings::kAutoPrintPrinter, c.printerName);
        RawWriteDword(kProgramSubKey, settings::kSuppressErrors, c.suppress);
        RawWriteString(kProgramSubKey, settings::kLastError, "stale failure of an earlier run");
        RawWriteString(kProgramSubKey, settings::kLastPrinterName, printer.Name());
        if (!c.port.empty())
            SetPrinterPort(printer.Name(), c.port);
        printer.Forget(), all.Forget();
        HANDLE holder = c.held ? CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr,
                                             OPEN_EXISTING, 0, nullptr)
                               : INVALID_HANDLE_VALUE;
        std::string boxText = none;
        bool printPressed = false;
        for (const auto& order : c.overrides)
            RawWriteString(wineApp + "\\DllOverrides", order.first, order.second);
        const ProcessResult run = RunProgram(exe + c.commandLine, 20000, [&](HWND window) {
            const std::string title = WindowText(window);
            if (title == box)
                boxText = WindowText(GetDlgItem(window, 0xFFFF));
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
        std::string lastError = none;
        RawReadString(kProgramSubKey, settings::kLastError, lastError);
        EXPECT_EQ(c.lastError, lastError) << what;
        EXPECT_TRUE(boxText == none || boxText == c.lastError) << what;
        EXPECT_EQ(c.printed, printer.Bytes() + all.Bytes()) << what;
    }
    SetCurrentDirectoryA("C:\\");
    DeleteFileW((L"\\\\?\\" + deepFile).c_str());
    RemoveDirectoryW(deep.c_str());
}

// Built for the test's own architecture (so IMAGE_NT_HEADERS fits it) and large-address
// aware, so a large file still fits in one buffer. The image imports only KnownDLLs,
// which the system never looks for beside the program; automatic printing starts without
// the common-dialog and shell libraries, which the wizard binds when it first needs them.
TEST(KestrolaExecutable, ImageFlagsAndImports)
{
    HMODULE image = LoadLibraryExA(KestrolaExePath().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(nullptr, image);
    const auto* base = reinterpret_cast<const BYTE*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    ASSERT_EQ(sizeof(void*) == 8 ? IMAGE_FILE_MACHINE_AMD64 : IMAGE_FILE_MACHINE_I386,
              nt->FileHeader.Machine);
    EXPECT_NE(0, nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
    std::string imports;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
             base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
         entry->Name != 0; ++entry)
        imports += std::string(reinterpret_cast<const char*>(base + entry->Name)) + " ";
    CharLowerA(&imports[0]);
    // Every name is a KnownDLL of every Windows from Vista to 11.
    const std::string known = " advapi32.dll comdlg32.dll gdi32.dll imm32.dll kernel32.dll msvcrt.dll "
                              "ole32.dll oleaut32.dll shell32.dll shlwapi.dll user32.dll ws2_32.dll ";
    std::istringstream names(imports);
    for (std::string name; names >> name;)
        EXPECT_NE(std::string::npos, known.find(" " + name + " ")) << name;
    EXPECT_NE(std::string::npos, imports.find("kernel32.dll ")) << imports;
    EXPECT_EQ(std::string::npos, imports.find("comdlg32.dll ")) << imports;
    EXPECT_EQ(std::string::npos, imports.find("shell32.dll ")) << imports;
    FreeLibrary(image);
}

}  // namespace
