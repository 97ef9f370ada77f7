// The real Kestrola.exe, started as a process, with automatic printing.
#include "core/OnDemandLibraries.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"
#include "wizard/WindowStateController.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>

using namespace testenv;

namespace {

class KestrolaProcessTest : public ::testing::Test {
protected:
    void AutoPrintTo(const std::string& printerName)
    {
        RawWriteDword(kProgramSubKey, settings::kAutoPrint, 1);
        RawWriteString(kProgramSubKey, settings::kAutoPrintPrinter, printerName);
    }
    std::string LastError()
    {
        std::string text;
        return RawReadString(kProgramSubKey, settings::kLastError, text) ? text : "<none>";
    }

    ProgramKeyGuard programKey;
    CapturePrinter printer;
    ScratchDir dir;
};

TEST_F(KestrolaProcessTest, PrintsAutomaticallyWithNoWindowAndExitsZero)
{
    const std::string data = AllByteValues() + "\x0C end";
    const std::string path = dir.Write("job one.prn", data);
    AutoPrintTo(printer.Name());
    RawWriteString(kProgramSubKey, settings::kLastError, "stale failure of an earlier run");

    const ProcessResult run = RunKestrola("\"" + path + "\"");
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.visibleWindowTitles.empty());
    EXPECT_EQ(data + "\x0C", printer.Bytes());
    EXPECT_EQ("<none>", LastError());
}

TEST_F(KestrolaProcessTest, QuotingVariantsAllReachThePrinter)
{
    const std::string path = dir.Write("with blanks inside.prn", "quoted");
    AutoPrintTo(printer.Name());
    for (const std::string& commandLine :
         {"\"" + path + "\"", "\"" + path, path + "\"", path}) {
        printer.Forget();
        const ProcessResult run = RunKestrola(commandLine);
        ASSERT_TRUE(run.exited) << commandLine;
        EXPECT_EQ(0u, run.exitCode) << commandLine;
        EXPECT_EQ("quoted\x0C", printer.Bytes()) << commandLine;
    }
}

TEST_F(KestrolaProcessTest, NoFileOrAMissingFileNeverPrints)
{
    AutoPrintTo(printer.Name());
    RawWriteString(kProgramSubKey, settings::kLastError, "stale");
    for (const std::string& commandLine :
         {std::string("\""), std::string(""), "\"" + dir.Path() + "\\missing.prn\""}) {
        // Without a file the wizard opens; closing it ends the program with 0.
        const ProcessResult run = RunKestrola(commandLine, 20000, [](HWND window) {
            PostMessageA(window, WM_CLOSE, 0, 0);
            return true;
        });
        ASSERT_TRUE(run.exited) << commandLine;
        EXPECT_EQ(0u, run.exitCode) << commandLine;
        EXPECT_EQ(std::vector<std::string>{"Morrowick Kestrola"}, run.visibleWindowTitles);
        EXPECT_FALSE(printer.HasJob()) << commandLine;
        EXPECT_EQ("<none>", LastError()) << commandLine;
    }
}

TEST_F(KestrolaProcessTest, FailuresAreStoredAndExitMinusOneSilentlyWhenSuppressed)
{
    const std::string path = dir.Write("a.prn", "data");
    RawWriteDword(kProgramSubKey, settings::kSuppressErrors, 1);
    RawWriteDword(kProgramSubKey, settings::kAutoPrint, 2);  // any non-zero value is on

    ProcessResult run = RunKestrola("\"" + path + "\"");
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0xFFFFFFFFu, run.exitCode);
    EXPECT_TRUE(run.visibleWindowTitles.empty());
    EXPECT_EQ("No printer specified for automatic printing.", LastError());
    EXPECT_FALSE(printer.HasJob());

    RawWriteString(kProgramSubKey, settings::kAutoPrintPrinter, "Kestrola Nowhere");
    run = RunKestrola("\"" + path + "\"");
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0xFFFFFFFFu, run.exitCode);
    EXPECT_TRUE(run.visibleWindowTitles.empty());
    EXPECT_EQ("Could not find the printer \"Kestrola Nowhere\".", LastError());
}

TEST_F(KestrolaProcessTest, FailureIsShownInAMessageBoxUnlessSuppressed)
{
    const std::string path = dir.Write("a.prn", "data");
    AutoPrintTo("Kestrola Nowhere");
    std::string boxText;
    const ProcessResult run = RunKestrola("\"" + path + "\"", 20000, [&](HWND window) {
        if (WindowText(window) != "Kestrola Error")
            return false;
        boxText = WindowText(GetDlgItem(window, 0xFFFF));
        PostMessageA(window, WM_COMMAND, IDOK, 0);
        return true;
    });
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0xFFFFFFFFu, run.exitCode);
    EXPECT_EQ("Could not find the printer \"Kestrola Nowhere\".", boxText);
    EXPECT_EQ("Could not find the printer \"Kestrola Nowhere\".", LastError());
}

TEST_F(KestrolaProcessTest, WithoutAutomaticPrintingAFileIsNotPrinted)
{
    const std::string path = dir.Write("a.prn", "data");
    RawWriteString(kProgramSubKey, settings::kAutoPrintPrinter, printer.Name());
    RawWriteString(kProgramSubKey, settings::kLastError, "stale");
    const ProcessResult run = RunKestrola("\"" + path + "\"", 20000, [](HWND window) {
        PostMessageA(window, WM_CLOSE, 0, 0);  // the wizard
        return true;
    });
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(std::vector<std::string>{"Morrowick Kestrola"}, run.visibleWindowTitles);
    EXPECT_FALSE(printer.HasJob());
    EXPECT_EQ("<none>", LastError());
}

TEST(KestrolaExecutable, IsLargeAddressAware)
{
    // Without the flag the program has 2 GiB of addresses, and a large file that would
    // still fit in one buffer has to be streamed.
    const std::string image = ReadFileBytes(KestrolaExePath());
    ASSERT_GT(image.size(), 0x40u);
    ASSERT_EQ("MZ", image.substr(0, 2));
    DWORD peOffset = 0;
    memcpy(&peOffset, image.data() + 0x3C, sizeof(peOffset));
    ASSERT_LT(peOffset + 4 + sizeof(IMAGE_FILE_HEADER), image.size());
    ASSERT_EQ(std::string("PE\0\0", 4), image.substr(peOffset, 4));
    IMAGE_FILE_HEADER header;
    memcpy(&header, image.data() + peOffset + 4, sizeof(header));
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, header.Machine);
    EXPECT_NE(0, header.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
}

// Automatic printing starts without the common-dialog and shell libraries: the wizard
// binds them when it first needs them.
TEST(KestrolaExecutable, ImportsNeitherTheDialogNorTheShellLibrary)
{
    HMODULE image = LoadLibraryExA(KestrolaExePath().c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(nullptr, image);
    const auto* base = reinterpret_cast<const BYTE*>(image);
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(base);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(base + dos->e_lfanew);
    const IMAGE_DATA_DIRECTORY& directory =
        nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT];
    std::vector<std::string> imports;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(base + directory.VirtualAddress);
         entry->Name != 0; ++entry) {
        std::string name = reinterpret_cast<const char*>(base + entry->Name);
        CharLowerA(&name[0]);
        imports.push_back(name);
    }
    FreeLibrary(image);
    EXPECT_NE(imports.end(), std::find(imports.begin(), imports.end(), "winspool.drv"));
    EXPECT_EQ(imports.end(), std::find(imports.begin(), imports.end(), "comdlg32.dll"));
    EXPECT_EQ(imports.end(), std::find(imports.begin(), imports.end(), "shell32.dll"));

    // The shell entry point is still there when wanted: a missing file is its answer.
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    info.fMask = SEE_MASK_FLAG_NO_UI;
    info.lpVerb = "open";
    info.lpFile = "C:\\no such folder\\no such file.prn";
    SetLastError(0xDEADBEEF);
    EXPECT_FALSE(ShellExecuteOnDemand(&info));
    EXPECT_NE(static_cast<DWORD>(ERROR_PROC_NOT_FOUND), GetLastError());
    EXPECT_NE(0xDEADBEEFu, GetLastError());
}

TEST_F(KestrolaProcessTest, AHeldFileOrAnUnwritablePortEndsWithMinusOneAndItsMessage)
{
    const std::string path = dir.Write("held.prn", "data");
    AutoPrintTo(printer.Name());
    RawWriteDword(kProgramSubKey, settings::kSuppressErrors, 1);
    const auto closeAny = [](HWND window) { return PostMessageA(window, WM_CLOSE, 0, 0) != 0; };
    HANDLE holder = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, holder);
    ProcessResult run = RunKestrola("\"" + path + "\"", 20000, closeAny);
    CloseHandle(holder);
    EXPECT_EQ(0xFFFFFFFFu, run.exitCode);
    EXPECT_EQ("Could not open the file:\n\n\"" + path + "\"\n\nfor printing.", LastError());

    // The port is a file in a missing folder: the spooler cannot end the document.
    SetPrinterPort(printer.Name(), "/nonexistent-kestrola-folder/job.prn");
    run = RunKestrola("\"" + path + "\"", 20000, closeAny);
    EXPECT_EQ(0xFFFFFFFFu, run.exitCode);
    EXPECT_EQ("An error occurred sending the file data to the printer.", LastError());
}

TEST_F(KestrolaProcessTest, AFileNamedOutsideTheAnsiCodePageArrivesByteExact)
{
    const std::wstring path =
        std::wstring(dir.Path().begin(), dir.Path().end()) + L"\\\u30e9\u30d9\u30eb \u0161.zpl";
    const std::string data = AllByteValues();
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    DWORD written = 0;
    WriteFile(file, data.data(), static_cast<DWORD>(data.size()), &written, nullptr);
    CloseHandle(file);
    AutoPrintTo(printer.Name());
    const ProcessResult run = RunKestrolaWide(L"\"" + path + L"\"");
    DeleteFileW(path.c_str());
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(data + "\x0C", printer.Bytes());
}

TEST_F(KestrolaProcessTest, TerminatingAStuckJobEndsTheProcessWithZero)
{
    // A port command that never reads keeps EndDocPrinter waiting.
    SetPrinterPort(printer.Name(), "|exec >/dev/null 2>&1; sleep 60");
    RawWriteString(kProgramSubKey, settings::kLastPrinterName, printer.Name());
    const std::string path = dir.Write("stuck.prn", "data");
    bool printPressed = false, asked = false;
    const ProcessResult run = RunKestrola("\"" + path + "\"", 20000, [&](HWND window) {
        if (WindowText(window) == "Currently Printing") {
            asked = true;
            return PostMessageA(window, WM_COMMAND, IDYES, 0) != 0;
        }
        if (!printPressed) {  // the wizard opens on the file page
            printPressed = true;
            PostMessageA(window, WM_COMMAND, WindowStateController::kNextId, 0);  // "Print >"
            return false;
        }
        // "< Back" is disabled while the job runs.
        if (IsWindowEnabled(GetDlgItem(window, WindowStateController::kBackId)))
            return false;
        return PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0) != 0;
    });
    EXPECT_TRUE(asked);
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0u, run.exitCode);
}

}  // namespace
