// The installers of this build and of the x86 build, run silently in the test prefix in
// the orders an administrator or a user would run them: what stays installed and
// registered, files opened through the shell, Send To, and what uninstalling leaves.
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <iostream>

using namespace testenv;

namespace {

const std::string kUninstallKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrola";
const std::string kProgId = "Kestrola.PrintFile", kApplicationKey = "Software\\Classes\\Applications\\Kestrola.exe";
const char kViewer[] = "KestrolaTest.PostScriptViewer";  // owned .ps files before Kestrola
const HKEY kMachine = HKEY_LOCAL_MACHINE, kUser = HKEY_CURRENT_USER;
const REGSAM kViews[] = {KEY_WOW64_32KEY, KEY_WOW64_64KEY};
const int kArchitectures = sizeof(void*) == 8 ? 2 : 1;  // x86, and x64 in the x64 build

std::string Folder(int csidl)
{
    char path[MAX_PATH] = "<no folder>";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

bool Exists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

// A key's text value ("" for its default value) in a registry view: "<none>" when the key
// has no such value, "<no key>" when there is no key.
std::string TextAt(HKEY root, REGSAM view, const std::string& key, const std::string& value = "")
{
    HKEY opened = nullptr;
    char text[2048] = "";
    DWORD size = sizeof(text) - 1;
    if (RegOpenKeyExA(root, key.c_str(), 0, KEY_QUERY_VALUE | view, &opened) != ERROR_SUCCESS)
        return "<no key>";
    const LONG read = RegQueryValueExA(opened, value.c_str(), nullptr, nullptr, (BYTE*)text, &size);
    RegCloseKey(opened);
    return read == ERROR_SUCCESS ? text : "<none>";
}

// Runs an installation's quiet uninstall command, if one is registered. The uninstaller
// restarts itself from a temporary copy and returns at once; a copy told the folder with
// _?= works in place and can be waited for.
void Uninstall(HKEY root, REGSAM view, const std::string& scratch, const std::string& switches = "")
{
    const std::string command = TextAt(root, view, kUninstallKey, "QuietUninstallString"), copy = scratch + "\\uninstall-copy.exe";
    const size_t close = command.find('"', 1);
    if (close == std::string::npos || !CopyFileA(command.substr(1, close - 1).c_str(), copy.c_str(), FALSE))
        return;
    EXPECT_EQ(0u, RunProgram(Wide("\"" + copy + "\"" + command.substr(close + 1) + " " + switches + " _?=" +
                                  TextAt(root, view, kUninstallKey, "InstallLocation")), 120000).exitCode);
}

enum Step { X86All, X64All, X86User, X64User, UninstallX86All, UninstallX64All, UninstallUser };
const struct Order {
    std::string name;
    std::vector<Step> steps;
    int machine, user;  // the architecture (0 x86, 1 x64) installed after them, or -1
} kOrders[] = {  // those with the x64 installer run in the x64 build's tests only
    {"AllUserUninstallUser", {X86All, X86User, UninstallUser}, 0, -1},
    {"UserAllUninstallAll", {X86User, X86All, UninstallX86All}, -1, 0},
    {"X86X64UninstallX86", {X86All, X64All, UninstallX86All}, 1, -1},
    {"X64X86", {X64All, X86All}, 0, -1},
    {"X64AllX86User", {X64All, X86User}, 1, 0},
    {"X86AllX64UserUninstallUser", {X86All, X64User, UninstallUser}, 0, -1},
    {"X86UserX64UserX64AllUninstallX64", {X86User, X64User, X64All, UninstallX64All}, -1, 1}};
class Installer : public testing::TestWithParam<int> {};

// After the order's steps and again after uninstalling everything: what is installed for
// every user and for the user is fully registered, and nothing is left of anything else.
TEST_P(Installer, LeavesWhatIsInstalledRegisteredAndNothingElse)
{
    ProgramKeyGuard programKey;
    CapturePrinter printer;
    ScratchDir dir;
    const std::string own = KestrolaExePath(), ownDir = own.substr(0, own.rfind('\\'));
    const std::string x86Dir = kArchitectures == 2 ? ownDir + "\\..\\x86" : ownDir;
    std::string x86Setup = KESTROLA_SETUP_NAME;
    const std::string exes[] = {x86Dir + "\\Kestrola.exe", own}, manifests[] = {"=\"x86\"", "=\"amd64\""};
    const std::string setups[] = {x86Dir + "\\release\\" + x86Setup.replace(x86Setup.rfind("-x"), 4, "-x86"),
                                  ownDir + "\\release\\" KESTROLA_SETUP_NAME};
    const std::string machineFolders[] = {Folder(CSIDL_PROGRAM_FILESX86) + "\\Kestrola", Folder(CSIDL_PROGRAM_FILES) + "\\Kestrola"};
    // The x64 build's tests run the x86 installer where this machine runs 32-bit programs.
    if (kArchitectures == 2 && (!Exists(setups[0]) || RunProgram(L"C:\\windows\\syswow64\\cmd.exe /c exit 7").exitCode != 7))
        return void(std::cout << "Not run: the x86 installer cannot run here.\n");
    const std::string link = Folder(CSIDL_SENDTO) + "\\Kestrola.lnk", userFolder = Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Kestrola";
    const std::string job = dir.Write("label job 1.prn", AllByteValues()), printed = AllByteValues() + "\x0C";
    RawWriteDword(kProgramSubKey, settings::kAutoPrint, 1);
    RawWriteString(kProgramSubKey, settings::kAutoPrintPrinter, printer.Name());
    RegSetKeyValueA(kMachine, "Software\\Classes\\.ps", nullptr, REG_SZ, kViewer, sizeof(kViewer));
    const Order& order = kOrders[GetParam()];
    for (const Step step : order.steps) {
        if (step >= UninstallX86All)
            Uninstall(step == UninstallUser ? kUser : kMachine, kViews[step % 2], dir.Path());
        else
            ASSERT_EQ(0u, RunProgram(Wide("\"" + setups[step % 2] + "\" /S /ASSOCIATE=prn,PS" +
                                          (step < X86User ? " /AllUsers" : " /CurrentUser")), 120000).exitCode);
    }
    for (const bool uninstalled : {false, true}) {
        const int installed[] = {uninstalled ? -1 : order.machine, uninstalled ? -1 : order.user};
        std::string programs[2];  // the program for every user, for the user; "" where none
        for (const HKEY root : {kMachine, kUser}) {
            const int mode = root == kUser, a = installed[mode];
            const std::string folder = a < 0 ? "<no key>" : mode ? userFolder : machineFolders[a];
            const std::string& exe = programs[mode] = a < 0 ? "" : folder + "\\Kestrola.exe";
            EXPECT_EQ(folder, TextAt(root, a < 0 ? 0 : kViews[a], kUninstallKey, "InstallLocation"));
            const std::string program = ReadFileBytes(exe), menu = ReadFileBytes(Folder(mode ? CSIDL_PROGRAMS : CSIDL_COMMON_PROGRAMS) + "\\Kestrola.lnk");
            EXPECT_TRUE(a < 0 || (program == ReadFileBytes(exes[a]) && program.find("processorArchitecture" + manifests[a]) != std::string::npos)) << exe;
            EXPECT_TRUE(a < 0 ? menu.empty() : menu.find(exe) != std::string::npos) << exe;
            const std::string command = "\"" + exe + "\" \"%1\"", progId = "Software\\Classes\\" + kProgId;
            for (const auto& value : std::vector<std::pair<std::string, std::string>>{
                     {progId, "Printer data file"}, {progId + "\\shell\\open\\command", command},
                     {kApplicationKey + "\\shell\\open\\command", command}, {kApplicationKey, "<none>"}})
                EXPECT_EQ(a < 0 ? "<no key>" : value.second, TextAt(root, 0, value.first)) << value.first;
            // Every type offers Kestrola under "Open with"; only the chosen ones open with it.
            for (const std::string ext : {"prn", "pcl", "zpl", "ps", "eps"}) {
                const std::string key = "Software\\Classes\\." + ext, none = a < 0 ? "<no key>" : "";
                const std::string owner = ext == "ps" && !mode ? kViewer : a < 0 ? "<no key>" : "<none>";
                EXPECT_EQ(a >= 0 && (ext == "prn" || ext == "ps") ? kProgId : owner, TextAt(root, 0, key)) << ext;
                EXPECT_EQ(none + none, TextAt(root, 0, key + "\\OpenWithProgids", kProgId) +
                                           TextAt(root, 0, kApplicationKey + "\\SupportedTypes", "." + ext)) << ext;
            }
        }
        // One installation a mode: nothing is left of another architecture's.
        for (int a = 0; a < kArchitectures; ++a)
            EXPECT_TRUE(a == installed[0] || (!Exists(machineFolders[a]) && TextAt(kMachine, kViews[a], kUninstallKey) == "<no key>")) << a;
        EXPECT_EQ(installed[1] >= 0, Exists(userFolder));
        const std::string& sendTo = programs[installed[1] >= 0];
        const auto linkIsRight = [&] { return sendTo.empty() ? !Exists(link) : ReadFileBytes(link).find(sendTo) != std::string::npos; };
        EXPECT_TRUE(linkIsRight()) << "this account's";
        // Another account's sign-in, which Wine does not run: the link is missing, or stale
        // after an uninstallation, until the account's step of Active Setup has run.
        if (installed[1] < 0 && installed[0] < 0)
            CopyFileA(job.c_str(), link.c_str(), FALSE);
        else if (installed[1] < 0)
            DeleteFileA(link.c_str());
        for (const REGSAM view : kViews) {
            const std::string command = TextAt(kMachine, view, "Software\\Microsoft\\Active Setup\\Installed Components\\MorrowickDesign.Kestrola", "StubPath");
            EXPECT_TRUE(command == "<no key>" || RunProgram(Wide(command)).exitCode == 0) << command;
        }
        EXPECT_TRUE(linkIsRight()) << "another account's";
        // Opened as a double click does (start.exe). Wine's shell reads file types from the
        // machine's classes only, so the user's own registration is checked in the registry.
        printer.Forget();
        RunProgram(Wide("start.exe /wait \"" + job + "\""));
        EXPECT_EQ(installed[0] >= 0 ? printed : "", printer.HasJob() ? printer.Bytes() : "");
        Uninstall(kUser, 0, dir.Path(), "/REMOVESETTINGS");
        for (int a = 0; a < kArchitectures; ++a)
            Uninstall(kMachine, kViews[a], dir.Path(), "/REMOVESETTINGS");
    }
    EXPECT_TRUE(RawValues(kProgramSubKey).empty());
    RegDeleteTreeA(kMachine, "Software\\Classes\\.ps");
}

INSTANTIATE_TEST_SUITE_P(Orders, Installer, testing::Range(0, kArchitectures == 2 ? 7 : 2),
                         [](const testing::TestParamInfo<int>& order) { return kOrders[order.param].name; });

}  // namespace
