// The real Kestrola.exe, started as a process: automatic printing, and what the file on
// disk carries.
#include "core/OnDemandLibraries.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"
#include "wizard/WindowStateController.h"

#include <gtest/gtest.h>

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

TEST_F(KestrolaProcessTest, ExitCodesLastErrorAndWhatIsPrintedOrShown)
{
    const std::string data = AllByteValues() + "\x0C end";
    const std::string path = dir.Write("job one.prn", data), quoted = "\"" + path + "\"";
    const std::string wizard = "Morrowick Kestrola", box = "Kestrola Error", none = "<none>";
    const std::string nowhere = "Could not find the printer \"Kestrola Nowhere\".";
    const struct {
        DWORD autoPrint, suppress;  // any non-zero "AutoPrint" is on
        std::string printerName, commandLine;
        DWORD exitCode;
        std::string window, lastError;  // window: the one seen, and closed, if any
        bool printed;
    } cases[] = {
        {1, 0, printer.Name(), quoted, 0, "", none, true},
        {1, 0, printer.Name(), path, 0, "", none, true},
        {1, 0, printer.Name(), "", 0, wizard, none, false},
        {1, 0, printer.Name(), "\"" + dir.Path() + "\\missing.prn\"", 0, wizard, none, false},
        {0, 0, printer.Name(), quoted, 0, wizard, none, false},
        {2, 1, "", quoted, 0xFFFFFFFF, "", "No printer specified for automatic printing.", false},
        {1, 1, "Kestrola Nowhere", quoted, 0xFFFFFFFF, "", nowhere, false},
        {1, 0, "Kestrola Nowhere", quoted, 0xFFFFFFFF, box, nowhere, false},
    };
    for (const auto& c : cases) {
        const std::string what = std::to_string(&c - cases) + ": " + c.commandLine;
        AutoPrintTo(c.printerName);
        RawWriteDword(kProgramSubKey, settings::kAutoPrint, c.autoPrint);
        RawWriteDword(kProgramSubKey, settings::kSuppressErrors, c.suppress);
        RawWriteString(kProgramSubKey, settings::kLastError, "stale failure of an earlier run");
        printer.Forget();
        std::string boxText = none;
        const ProcessResult run = RunKestrola(c.commandLine, 20000, [&](HWND window) {
            const bool isBox = WindowText(window) == box;
            if (isBox)
                boxText = WindowText(GetDlgItem(window, 0xFFFF));
            return PostMessageA(window, isBox ? WM_COMMAND : WM_CLOSE, isBox ? IDOK : 0, 0) != 0;
        });
        ASSERT_TRUE(run.exited) << what;
        EXPECT_EQ(c.exitCode, run.exitCode) << what;
        const std::vector<std::string> seen = {c.window};
        EXPECT_EQ(c.window.empty() ? std::vector<std::string>() : seen, run.visibleWindowTitles)
            << what;
        EXPECT_EQ(c.lastError, LastError()) << what;
        EXPECT_EQ(c.window == box ? c.lastError : none, boxText) << what;
        EXPECT_EQ(c.printed ? data + "\x0C" : none, printer.HasJob() ? printer.Bytes() : none)
            << what;
    }
}

// Large-address aware, so a large file still fits in one buffer; the manifest asks for the
// invoker's rights and binds the common controls 6; automatic printing starts without the
// common-dialog and shell libraries, which the wizard binds when it first needs them.
TEST(KestrolaExecutable, ImageFlagsImportsAndManifest)
{
    const std::string exe = KestrolaExePath();
    HMODULE image = LoadLibraryExA(exe.c_str(), nullptr, DONT_RESOLVE_DLL_REFERENCES);
    ASSERT_NE(nullptr, image);
    const auto* base = reinterpret_cast<const BYTE*>(image);
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS32*>(
        base + reinterpret_cast<const IMAGE_DOS_HEADER*>(base)->e_lfanew);
    EXPECT_EQ(IMAGE_FILE_MACHINE_I386, nt->FileHeader.Machine);
    EXPECT_NE(0, nt->FileHeader.Characteristics & IMAGE_FILE_LARGE_ADDRESS_AWARE);
    std::string imports;
    for (auto* entry = reinterpret_cast<const IMAGE_IMPORT_DESCRIPTOR*>(
             base + nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_IMPORT].VirtualAddress);
         entry->Name != 0; ++entry)
        imports += std::string(reinterpret_cast<const char*>(base + entry->Name)) + " ";
    CharLowerA(&imports[0]);
    EXPECT_NE(std::string::npos, imports.find("winspool.drv ")) << imports;
    EXPECT_EQ(std::string::npos, imports.find("comdlg32.dll ")) << imports;
    EXPECT_EQ(std::string::npos, imports.find("shell32.dll ")) << imports;
    HRSRC manifest = FindResourceA(image, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));
    ASSERT_NE(nullptr, manifest);
    const std::string text(static_cast<const char*>(LockResource(LoadResource(image, manifest))),
                           SizeofResource(image, manifest));
    EXPECT_NE(std::string::npos, text.find("level=\"asInvoker\"")) << text;
    FreeLibrary(image);

    ACTCTXA request = {sizeof(request), ACTCTX_FLAG_RESOURCE_NAME_VALID, exe.c_str()};
    request.lpResourceName = MAKEINTRESOURCEA(1);
    HANDLE context = CreateActCtxA(&request);
    ULONG_PTR cookie = 0;
    ASSERT_TRUE(context != INVALID_HANDLE_VALUE && ActivateActCtx(context, &cookie));
    char path[MAX_PATH + 1] = {};
    GetModuleFileNameA(LoadLibraryA("comctl32.dll"), path, MAX_PATH);
    DeactivateActCtx(0, cookie);
    ReleaseActCtx(context);
    CharLowerA(path);
    EXPECT_NE(nullptr, strstr(path, "\\winsxs\\x86_microsoft.windows.common-controls_6595b64144"
                                    "ccf1df_6."))
        << path;

    // The shell entry point is still there when wanted: a missing file is its answer.
    SHELLEXECUTEINFOA info = {sizeof(info), SEE_MASK_FLAG_NO_UI, nullptr, "open",
                              "C:\\no such folder\\no such file.prn"};
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
