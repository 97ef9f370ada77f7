// The installer this build produced, run silently in the test prefix: what it installs
// and registers, files opened through the shell, and what uninstalling leaves behind.
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>

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

// Per user by default, the usual types opened and the settings kept; per machine where it
// is told, with the types asked for, which the shell then opens (Wine's shell reads file
// types from the machine's classes only), and everything removed.
TEST(Installer, InstallsOpensAndUninstallsForOneUserAndForEveryone)
{
    ProgramKeyGuard programKey;
    CapturePrinter printer;
    ScratchDir dir;
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})  // of a run killed half-way
        if (RawKeyExists(kUninstallKey, root))
            Uninstall(root, dir.Path(), "");
    RawWriteDword(kProgramSubKey, settings::kAutoPrint, 1);
    RawWriteString(kProgramSubKey, settings::kAutoPrintPrinter, printer.Name());
    const std::string everyone = dir.Path() + "\\Kestrola for everyone";
    const struct {
        HKEY root;
        std::string switches, folder;  // /D= comes last and unquoted, as the installer wants
        int startMenu;
        std::vector<std::string> chosen;
        const char* uninstallSwitches;
    } cases[] = {
        {HKEY_CURRENT_USER, "", Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Kestrola",
         CSIDL_PROGRAMS, {"prn", "pcl", "zpl"}, ""},
        {HKEY_LOCAL_MACHINE, "/AllUsers /ASSOCIATE=prn,PS /D=" + everyone, everyone,
         CSIDL_COMMON_PROGRAMS, {"prn", "ps"}, "/REMOVESETTINGS"},
    };
    for (const auto& c : cases) {
        const HKEY other = c.root == HKEY_CURRENT_USER ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER;
        RegSetKeyValueA(c.root, "Software\\Classes\\.ps", nullptr, REG_SZ, kViewer,
                        sizeof(kViewer));
        std::string setup = KestrolaExePath();
        setup = setup.substr(0, setup.find_last_of('\\')) + "\\release\\" KESTROLA_SETUP_NAME;
        ASSERT_EQ(0u, RunProgram(Wide("\"" + setup + "\" /S " + c.switches), 120000).exitCode);

        const std::string exe = c.folder + "\\Kestrola.exe";
        const std::string links[] = {Folder(c.startMenu) + "\\Kestrola.lnk",
                                     Folder(CSIDL_SENDTO) + "\\Kestrola.lnk"};
        EXPECT_EQ(c.folder, TextAt(c.root, kUninstallKey, "InstallLocation"));
        EXPECT_FALSE(RawKeyExists(kUninstallKey, other));
        EXPECT_TRUE(ReadFileBytes(KestrolaExePath()) == ReadFileBytes(exe)) << exe;
        for (const std::string& key : {kProgIdKey, kApplicationKey})
            EXPECT_EQ("\"" + exe + "\" \"%1\"", TextAt(c.root, key + "\\shell\\open\\command"));
        for (const std::string& link : links)  // a shortcut file holds its program's path
            EXPECT_NE(std::string::npos, ReadFileBytes(link).find(exe)) << link;
        // Every type offers Kestrola under "Open with"; only the chosen ones open with it.
        for (const std::string ext : {"prn", "pcl", "zpl", "ps", "eps"}) {
            const std::string key = "Software\\Classes\\." + ext;
            const bool chosen = std::count(c.chosen.begin(), c.chosen.end(), ext) > 0;
            EXPECT_EQ(chosen ? kProgId : ext == "ps" ? kViewer : "<none>", TextAt(c.root, key));
            EXPECT_EQ("", TextAt(c.root, key + "\\OpenWithProgids", kProgId)) << ext;
            EXPECT_EQ("", TextAt(c.root, kApplicationKey + "\\SupportedTypes", "." + ext)) << ext;
        }
        if (c.root == HKEY_LOCAL_MACHINE) {
            const ProcessResult run = ShellOpen(dir.Write("label job 1.prn", AllByteValues()));
            EXPECT_TRUE(run.exited && run.exitCode == 0 && run.visibleWindowTitles.empty());
            EXPECT_TRUE(AllByteValues() + "\x0C" == printer.Bytes()) << printer.Bytes().size();
        }

        const std::map<std::string, std::string> settings = RawValues(kProgramSubKey);
        EXPECT_EQ(0u, Uninstall(c.root, dir.Path(), c.uninstallSwitches));
        for (const std::string& gone : {c.folder, links[0], links[1]})
            EXPECT_EQ(INVALID_FILE_ATTRIBUTES, GetFileAttributesA(gone.c_str())) << gone;
        for (const std::string& key : {kUninstallKey, kProgIdKey, kApplicationKey})
            EXPECT_FALSE(RawKeyExists(key, c.root)) << key;
        for (const std::string ext : {"prn", "pcl", "zpl", "ps", "eps"}) {
            const std::string key = "Software\\Classes\\." + ext;
            EXPECT_EQ(ext == "ps" ? kViewer : "<none>", TextAt(c.root, key)) << ext;
            EXPECT_FALSE(RawKeyExists(key + (ext == "ps" ? "\\OpenWithProgids" : ""), c.root));
        }
        EXPECT_EQ(*c.uninstallSwitches ? decltype(settings)() : settings,
                  RawValues(kProgramSubKey));
        RegDeleteTreeA(c.root, "Software\\Classes\\.ps");
    }
}

}  // namespace
