// The installer this build produced, run silently in the test prefix: what it installs
// and registers, files opened through the shell, and what uninstalling leaves behind.
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <shellapi.h>
#include <shlobj.h>

#include <gtest/gtest.h>

using namespace testenv;

namespace {

const std::string kUninstallKey =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrola";
const std::string kProgId = "Kestrola.PrintFile", kProgIdKey = "Software\\Classes\\" + kProgId;
const std::string kApplicationKey = "Software\\Classes\\Applications\\Kestrola.exe";
const char kViewer[] = "KestrolaTest.PostScriptViewer";  // owned .ps files before Kestrola

std::string Folder(int csidl)
{
    char path[MAX_PATH] = "<no folder>";
    SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path);
    return path;
}

// A key's text value ("" for its default value), or "<none>".
std::string TextAt(HKEY root, const std::string& key, const std::string& value = std::string())
{
    std::string text;
    return RawReadString(key, value, text, root) ? text : "<none>";
}

// Runs the quiet uninstall command the installation registered. The uninstaller restarts
// itself from a temporary copy and returns at once; a copy told the folder with _?= works
// in place and can be waited for.
DWORD Uninstall(HKEY root, const std::string& scratch, const std::string& switches)
{
    const std::string command = TextAt(root, kUninstallKey, "QuietUninstallString");
    const size_t close = command.find('"', 1);
    const std::string copy = scratch + "\\uninstall-copy.exe";
    if (command[0] != '"' || close == std::string::npos ||
        !CopyFileA(command.substr(1, close - 1).c_str(), copy.c_str(), FALSE))
        return 0xBAD;
    return RunProgram(Wide("\"" + copy + "\"" + command.substr(close + 1) + " " + switches +
                           " _?=" + TextAt(root, kUninstallKey, "InstallLocation")),
                      120000)
        .exitCode;
}

// For everyone, as an administrator's installation is by default, with the types asked for,
// which the shell then opens (Wine's shell reads file types from the machine's classes
// only), and everything removed.
TEST(Installer, InstallsOpensAndUninstallsForEveryone)
{
    ProgramKeyGuard programKey;
    CapturePrinter printer;
    ScratchDir dir;
    const HKEY machine = HKEY_LOCAL_MACHINE;
    if (RawKeyExists(kUninstallKey, machine))  // of a run killed half-way
        Uninstall(machine, dir.Path(), "");
    RawWriteDword(kProgramSubKey, settings::kAutoPrint, 1);
    RawWriteString(kProgramSubKey, settings::kAutoPrintPrinter, printer.Name());
    std::string setup = KestrolaExePath();
    setup = "\"" + setup.substr(0, setup.find_last_of('\\')) + "\\release\\" KESTROLA_SETUP_NAME "\"";
    // Into the Program Files of the program's own architecture, where users cannot write.
    const std::string folder = Folder(CSIDL_PROGRAM_FILES) + "\\Kestrola", exe = folder + "\\Kestrola.exe";
    RegSetKeyValueA(machine, "Software\\Classes\\.ps", nullptr, REG_SZ, kViewer, sizeof(kViewer));
    ASSERT_EQ(0u, RunProgram(Wide(setup + " /S /ASSOCIATE=prn,PS"), 120000).exitCode);
    const std::string links[] = {Folder(CSIDL_COMMON_PROGRAMS) + "\\Kestrola.lnk",
                                 Folder(CSIDL_SENDTO) + "\\Kestrola.lnk"};
    EXPECT_EQ(folder, TextAt(machine, kUninstallKey, "InstallLocation"));
    EXPECT_FALSE(RawKeyExists(kUninstallKey));
    EXPECT_TRUE(ReadFileBytes(KestrolaExePath()) == ReadFileBytes(exe)) << exe;
    for (const std::string& key : {kProgIdKey, kApplicationKey})
        EXPECT_EQ("\"" + exe + "\" \"%1\"", TextAt(machine, key + "\\shell\\open\\command"));
    for (const std::string& link : links)  // a shortcut file holds its program's path
        EXPECT_NE(std::string::npos, ReadFileBytes(link).find(exe)) << link;
    // Every type offers Kestrola under "Open with"; only the chosen ones open with it.
    for (const std::string ext : {"prn", "pcl", "zpl", "ps", "eps"}) {
        const std::string key = "Software\\Classes\\." + ext;
        EXPECT_EQ(ext == "prn" || ext == "ps" ? kProgId : "<none>", TextAt(machine, key));
        EXPECT_EQ("", TextAt(machine, key + "\\OpenWithProgids", kProgId)) << ext;
        EXPECT_EQ("", TextAt(machine, kApplicationKey + "\\SupportedTypes", "." + ext)) << ext;
    }

    // Opened as a double click does; a window left open would keep the process running.
    const std::string job = dir.Write("label job 1.prn", AllByteValues());
    SHELLEXECUTEINFOA shell = {};
    shell.cbSize = sizeof(shell);  // no error box of the shell's own
    shell.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    shell.lpFile = job.c_str();
    DWORD exitCode = STILL_ACTIVE;
    if (ShellExecuteExA(&shell) && shell.hProcess) {
        WaitForSingleObject(shell.hProcess, 20000);
        GetExitCodeProcess(shell.hProcess, &exitCode);
        TerminateProcess(shell.hProcess, 0xDEAD);
        CloseHandle(shell.hProcess);
    }
    EXPECT_EQ(0u, exitCode);
    EXPECT_TRUE(AllByteValues() + "\x0C" == printer.Bytes()) << printer.Bytes().size();

    EXPECT_EQ(0u, Uninstall(machine, dir.Path(), "/REMOVESETTINGS"));
    for (const std::string& gone : {folder, links[0], links[1]})
        EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(gone.c_str())) << gone;
    for (const std::string& key : {kUninstallKey, kProgIdKey, kApplicationKey})
        EXPECT_FALSE(RawKeyExists(key, machine)) << key;
    for (const std::string ext : {"prn", "pcl", "zpl", "ps", "eps"}) {
        const std::string key = "Software\\Classes\\." + ext;
        EXPECT_EQ(ext == "ps" ? kViewer : "<none>", TextAt(machine, key)) << ext;
        EXPECT_FALSE(RawKeyExists(key + (ext == "ps" ? "\\OpenWithProgids" : ""), machine));
    }
    EXPECT_TRUE(RawValues(kProgramSubKey).empty());
    RegDeleteTreeA(machine, "Software\\Classes\\.ps");
}

}  // namespace
