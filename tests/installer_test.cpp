// The installers of this build and of the x86 build, run silently in the test prefix in
// the orders an administrator or a user would run them: what stays installed and
// registered, files opened through the shell and Send To, and what uninstalling leaves.
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <iostream>

using namespace testenv;

namespace {

const std::string kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrola";
const std::string kProgId = "Kestrola.PrintFile", kProgIdKey = "Software\\Classes\\" + kProgId;
const std::string kApplicationKey = "Software\\Classes\\Applications\\Kestrola.exe";
const char kActiveSetupKey[] =
    "Software\\Microsoft\\Active Setup\\Installed Components\\MorrowickDesign.Kestrola";
const char kViewer[] = "KestrolaTest.PostScriptViewer";  // owned .ps files before Kestrola
const bool kX64 = sizeof(void*) == 8;

std::string Folder(int csidl)
{
    char path[MAX_PATH] = "<no folder>";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A key's text value ("" for its default value) in a registry view, or "<none>".
std::string TextAt(HKEY root, REGSAM view, const std::string& key, const std::string& value = "")
{
    HKEY opened = nullptr;
    char text[2048] = {};
    DWORD size = sizeof(text) - 1;
    const bool ok = RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) == 0 &&
                    RegQueryValueExA(opened, value.c_str(), nullptr, nullptr, (BYTE*)text, &size) == 0;
    RegCloseKey(opened);
    return ok ? text : "<none>";
}

// One architecture's program and installer, and the registry view it registers in.
struct Build {
    std::string exe, setup;
    REGSAM view;
    std::string machineFolder;  // where it is installed for everyone
    std::string manifest;  // what its manifest names
};

// Runs an installation's quiet uninstall command, if one is registered. The uninstaller
// restarts itself from a temporary copy and returns at once; a copy told the folder with
// _?= works in place and can be waited for.
void Uninstall(HKEY root, REGSAM view, const std::string& scratch, const std::string& switches)
{
    const std::string command = TextAt(root, view, kUninstallKey, "QuietUninstallString");
    const size_t close = command.find('"', 1);
    const std::string copy = scratch + "\\uninstall-copy.exe";
    if (command[0] != '"' || close == std::string::npos ||
        !CopyFileA(command.substr(1, close - 1).c_str(), copy.c_str(), FALSE))
        return;
    EXPECT_EQ(0u, RunProgram(Wide("\"" + copy + "\"" + command.substr(close + 1) + " " + switches +
                                      " _?=" + TextAt(root, view, kUninstallKey, "InstallLocation")),
                                 120000).exitCode);
}

// Opens a file as a double click does, a window left open would keep the process running;
// with a command, runs it for the file as the shell does. The bytes that reached the printer.
std::string OpenAndPrint(CapturePrinter& printer, const std::string& file, std::string command = "")
{
    printer.Forget();
    SHELLEXECUTEINFOA shell = {};
    shell.cbSize = sizeof(shell);  // no error box of the shell's own
    shell.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    shell.lpFile = file.c_str();
    if (command.find("%1") != std::string::npos)
        RunProgram(Wide(command.replace(command.find("%1"), 2, file)));
    else if (ShellExecuteExA(&shell) && shell.hProcess) {
        WaitForSingleObject(shell.hProcess, 20000);
        TerminateProcess(shell.hProcess, 0xDEAD);
        CloseHandle(shell.hProcess);
    }
    return printer.HasJob() ? printer.Bytes() : "<no job>";
}

enum Step { X86All, X64All, X86User, X64User, UninstallX86All, UninstallX64All, UninstallUser };
struct Order {
    std::string name;
    std::vector<Step> steps;
    int machine, user;  // the architecture (0 x86, 1 x64) installed after them, or -1
};
void PrintTo(const Order& order, std::ostream* out) { *out << order.name; }
class Installer : public testing::TestWithParam<Order> {};

// What is installed for everyone and for the user, each fully registered, and nothing of
// any other installation: checked after the order's steps and again after uninstalling all.
TEST_P(Installer, LeavesWhatIsInstalledRegisteredAndNothingElse)
{
    ProgramKeyGuard programKey;
    CapturePrinter printer;
    ScratchDir dir;
    const std::string own = KestrolaExePath(), ownDir = own.substr(0, own.find_last_of('\\'));
    const std::string x86Dir = kX64 ? ownDir + "\\..\\x86" : ownDir;
    std::string x86Setup = KESTROLA_SETUP_NAME;
    x86Setup.replace(x86Setup.rfind("-x"), 4, "-x86");
    const Build x86 = {x86Dir + "\\Kestrola.exe", x86Dir + "\\release\\" + x86Setup, KEY_WOW64_32KEY,
                       Folder(CSIDL_PROGRAM_FILESX86) + "\\Kestrola", "processorArchitecture=\"x86\""};
    const Build x64 = {own, ownDir + "\\release\\" KESTROLA_SETUP_NAME, KEY_WOW64_64KEY,
                       Folder(CSIDL_PROGRAM_FILES) + "\\Kestrola", "processorArchitecture=\"amd64\""};
    const Build* builds[] = {&x86, kX64 ? &x64 : nullptr};
    // The x64 build's tests run the x86 installer where this machine runs 32-bit programs.
    if (kX64 && (!Exists(x86.setup) || RunProgram(L"C:\\windows\\syswow64\\cmd.exe /c exit 7").exitCode != 7)) {
        std::cout << "Not run: the x86 installer cannot run here.\n";
        return;
    }
    const std::string link = Folder(CSIDL_SENDTO) + "\\Kestrola.lnk";
    const std::string userFolder = Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Kestrola";
    const std::string job = dir.Write("label job 1.prn", AllByteValues()), printed = AllByteValues() + "\x0C";
    RawWriteDword(kProgramSubKey, settings::kAutoPrint, 1);
    RawWriteString(kProgramSubKey, settings::kAutoPrintPrinter, printer.Name());
    RegSetKeyValueA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.ps", nullptr, REG_SZ, kViewer, sizeof(kViewer));
    for (const Step step : GetParam().steps) {
        const Build& build = *builds[step % 2];
        if (step == UninstallUser)
            Uninstall(HKEY_CURRENT_USER, 0, dir.Path(), "");
        else if (step >= UninstallX86All)
            Uninstall(HKEY_LOCAL_MACHINE, build.view, dir.Path(), "");
        else
            ASSERT_EQ(0u, RunProgram(Wide("\"" + build.setup + "\" /S /ASSOCIATE=prn,PS" +
                                          (step < X86User ? " /AllUsers" : " /CurrentUser")),
                                     120000).exitCode);
    }
    for (const bool uninstalled : {false, true}) {
        const Build* installed[] = {uninstalled || GetParam().machine < 0 ? nullptr : builds[GetParam().machine],
                                    uninstalled || GetParam().user < 0 ? nullptr : builds[GetParam().user]};
        std::string exes[2];  // the program for everyone, for the user; "" where none
        for (int mode = 0; mode < 2; ++mode) {
            const HKEY root = mode ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE;
            const Build* build = installed[mode];
            const REGSAM view = build ? build->view : 0;
            const std::string folder = build ? (mode ? userFolder : build->machineFolder) : "<none>";
            exes[mode] = build ? folder + "\\Kestrola.exe" : "";
            EXPECT_EQ(folder, TextAt(root, view, kUninstallKey, "InstallLocation")) << mode;
            const std::string program = ReadFileBytes(exes[mode]);
            EXPECT_TRUE(!build || (program == ReadFileBytes(build->exe) && program.find(build->manifest) != std::string::npos)) << exes[mode];
            for (const std::string& key : {kProgIdKey, kApplicationKey})
                EXPECT_EQ(build ? "\"" + exes[mode] + "\" \"%1\"" : "<none>",
                          TextAt(root, 0, key + "\\shell\\open\\command")) << mode;
            const std::string menu = ReadFileBytes(Folder(mode ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS) + "\\Kestrola.lnk");
            EXPECT_TRUE(build ? menu.find(exes[mode]) != std::string::npos : menu.empty()) << mode;
            // Every type offers Kestrola under "Open with"; only the chosen ones open with it.
            for (const std::string ext : {"prn", "pcl", "zpl", "ps", "eps"}) {
                const std::string key = "Software\\Classes\\." + ext, none = build ? "" : "<none>";
                const std::string owner = ext == "ps" && !mode ? kViewer : "<none>";
                EXPECT_EQ(build && (ext == "prn" || ext == "ps") ? kProgId : owner, TextAt(root, 0, key));
                EXPECT_EQ(none, TextAt(root, 0, key + "\\OpenWithProgids", kProgId)) << ext;
                EXPECT_EQ(none, TextAt(root, 0, kApplicationKey + "\\SupportedTypes", "." + ext)) << ext;
            }
        }
        // One installation a mode: nothing is left of another architecture's.
        for (const Build* build : builds)
            EXPECT_TRUE(!build || build == installed[0] ||
                        (!Exists(build->machineFolder) && TextAt(HKEY_LOCAL_MACHINE, build->view, kUninstallKey) == "<none>"));
        EXPECT_EQ(installed[1] != nullptr, Exists(userFolder));
        const std::string& sendTo = installed[1] ? exes[1] : exes[0];
        const auto linkIsRight = [&] { return sendTo.empty() ? !Exists(link) : ReadFileBytes(link).find(sendTo) != std::string::npos; };
        EXPECT_TRUE(linkIsRight()) << "this account's";
        // Another account's sign-in, which Wine does not run: the link is missing, or stale
        // after an uninstallation, until the account's step of Active Setup has run.
        if (!installed[1]) {
            DeleteFileA(link.c_str());
            if (!installed[0])
                CopyFileA(job.c_str(), link.c_str(), FALSE);
        }
        for (const REGSAM view : {KEY_WOW64_32KEY, KEY_WOW64_64KEY}) {
            const std::string command = TextAt(HKEY_LOCAL_MACHINE, view, kActiveSetupKey, "StubPath");
            EXPECT_TRUE(command == "<none>" || RunProgram(Wide(command)).exitCode == 0) << command;
        }
        EXPECT_TRUE(linkIsRight()) << "another account's";
        // Wine's shell reads file types from the machine's classes only.
        EXPECT_EQ(installed[0] ? printed : "<no job>", OpenAndPrint(printer, job));
        EXPECT_TRUE(!installed[1] ||
                    printed == OpenAndPrint(printer, job, TextAt(HKEY_CURRENT_USER, 0, kProgIdKey + "\\shell\\open\\command")));
        Uninstall(HKEY_CURRENT_USER, 0, dir.Path(), "/REMOVESETTINGS");
        for (const Build* build : builds)
            if (build)
                Uninstall(HKEY_LOCAL_MACHINE, build->view, dir.Path(), "/REMOVESETTINGS");
    }
    EXPECT_TRUE(RawValues(kProgramSubKey).empty());
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, "Software\\Classes\\.ps");
}

// Orders with the x64 installer run in the x64 build's tests only.
std::vector<Order> Orders()
{
    std::vector<Order> orders = {{"AllUserUninstallUser", {X86All, X86User, UninstallUser}, 0, -1},
                                 {"UserAllUninstallAll", {X86User, X86All, UninstallX86All}, -1, 0}};
    if (kX64)
        orders.insert(orders.end(), {{"X86X64UninstallX86", {X86All, X64All, UninstallX86All}, 1, -1},
                                     {"X64X86", {X64All, X86All}, 0, -1},
                                     {"X64AllX86User", {X64All, X86User}, 1, 0},
                                     {"X86AllX64UserUninstallUser", {X86All, X64User, UninstallUser}, 0, -1},
                                     {"X86UserX64UserX64AllUninstallX64", {X86User, X64User, X64All, UninstallX64All}, -1, 1}});
    return orders;
}
INSTANTIATE_TEST_SUITE_P(Orders, Installer, testing::ValuesIn(Orders()),
                         [](const testing::TestParamInfo<Order>& order) { return order.param.name; });

}  // namespace
