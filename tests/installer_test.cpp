// The installer this build produced, run silently in the test prefix: what it installs
// and registers, files opened through the shell, and what uninstalling leaves behind.
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using namespace testenv;

namespace {

constexpr const char kUninstallKey[] =
    "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Kestrola";
constexpr const char kProgIdKey[] = "Software\\Classes\\Kestrola.PrintFile";
constexpr const char kProgId[] = "Kestrola.PrintFile";
constexpr const char kApplicationKey[] = "Software\\Classes\\Applications\\Kestrola.exe";
// The program that opened .ps files before Kestrola was installed.
constexpr const char kViewer[] = "KestrolaTest.PostScriptViewer";
const std::vector<std::string> kTypes = {"prn", "pcl", "zpl", "ps", "eps"};

std::string Folder(int csidl)
{
    char path[MAX_PATH] = {};
    return SUCCEEDED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))
               ? path
               : "<no folder>";
}

std::string SendToLink() { return Folder(CSIDL_SENDTO) + "\\Kestrola.lnk"; }
std::string TypeKey(const std::string& ext) { return "Software\\Classes\\." + ext; }
bool PathExists(const std::string& path)
{
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}

// A key's text value ("" for its default value), or "<none>".
std::string TextAt(HKEY root, const std::string& key, const std::string& value = std::string())
{
    std::string text;
    return RawReadString(key, value, text, root) ? text : "<none>";
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        RemoveInstallations();  // of a run that was killed half-way
        RawWriteDword(kProgramSubKey, settings::kAutoPrint, 1);
        RawWriteString(kProgramSubKey, settings::kAutoPrintPrinter, printer.Name());
    }

    void TearDown() override
    {
        RemoveInstallations();
        if (viewerRoot_)
            RegDeleteTreeA(viewerRoot_, TypeKey("ps").c_str());
    }

    // .ps files belong to a viewer before Kestrola is installed.
    void GivePostScriptToAViewer(HKEY root)
    {
        ASSERT_FALSE(RawKeyExists(TypeKey("ps"), root)) << "the test prefix already knows .ps";
        viewerRoot_ = root;
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(root, TypeKey("ps").c_str(), nullptr, REG_SZ,
                                                 kViewer, sizeof(kViewer)));
    }

    // folder: where the installation is expected.
    DWORD Install(const std::string& switches, const std::string& folder)
    {
        std::string setup = KestrolaExePath();
        setup = setup.substr(0, setup.find_last_of('\\')) + "\\release\\" KESTROLA_SETUP_NAME;
        folder_ = folder;
        const ProcessResult run = RunProgram("\"" + setup + "\" /S " + switches, 120000);
        EXPECT_TRUE(run.exited) << setup;
        return run.exitCode;
    }

    // Runs the quiet uninstall command the installation registered. The uninstaller
    // restarts itself from a temporary copy and returns at once; a copy told the folder
    // with _?= works in place and can be waited for.
    DWORD Uninstall(HKEY root, const std::string& switches = std::string())
    {
        const std::string command = TextAt(root, kUninstallKey, "QuietUninstallString");
        const size_t close = command.find('"', 1);
        const std::string copy = dir.Path() + "\\uninstall-copy.exe";
        if (command[0] != '"' || close == std::string::npos ||
            !CopyFileA(command.substr(1, close - 1).c_str(), copy.c_str(), FALSE))
            return 0xBAD;
        const ProcessResult run =
            RunProgram("\"" + copy + "\"" + command.substr(close + 1) + " " + switches +
                           " _?=" + TextAt(root, kUninstallKey, "InstallLocation"),
                       120000);
        DeleteFileA(copy.c_str());
        EXPECT_TRUE(run.exited);
        return run.exitCode;
    }

    void RemoveInstallations()
    {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            if (RawKeyExists(kUninstallKey, root))
                Uninstall(root);
    }

    std::string InstalledExe() const { return folder_ + "\\Kestrola.exe"; }

    // Files, commands, shortcuts and types of an installation at root only: every type
    // offers Kestrola under "Open with", only the chosen ones open with it.
    void ExpectInstalled(HKEY root, int startMenuFolder, const std::vector<std::string>& chosen)
    {
        const std::string exe = InstalledExe();
        EXPECT_EQ(folder_, TextAt(root, kUninstallKey, "InstallLocation"));
        EXPECT_FALSE(RawKeyExists(kUninstallKey, root == HKEY_CURRENT_USER ? HKEY_LOCAL_MACHINE
                                                                           : HKEY_CURRENT_USER));
        EXPECT_TRUE(ReadFileBytes(KestrolaExePath()) == ReadFileBytes(exe)) << exe;
        EXPECT_NE(std::string::npos, ReadFileBytes(folder_ + "\\LICENSE.txt").find("Morrowick"));
        for (const std::string key : {kProgIdKey, kApplicationKey})
            EXPECT_EQ("\"" + exe + "\" \"%1\"", TextAt(root, key + "\\shell\\open\\command"));
        // A shortcut file holds the path of the program it starts.
        for (const std::string& link : {Folder(startMenuFolder) + "\\Kestrola.lnk", SendToLink()})
            EXPECT_NE(std::string::npos, ReadFileBytes(link).find(exe)) << link;
        for (const std::string& ext : kTypes) {
            const bool isChosen = std::find(chosen.begin(), chosen.end(), ext) != chosen.end();
            const std::string before = (viewerRoot_ == root && ext == "ps") ? kViewer : "<none>";
            EXPECT_EQ(isChosen ? kProgId : before, TextAt(root, TypeKey(ext))) << ext;
            EXPECT_TRUE(RawValueExists(TypeKey(ext) + "\\OpenWithProgids", kProgId, root)) << ext;
            EXPECT_TRUE(RawValueExists(kApplicationKey + std::string("\\SupportedTypes"),
                                       "." + ext, root))
                << ext;
        }
    }

    // Nothing of the installation is left, and .ps belongs to its viewer again.
    void ExpectRemoved(HKEY root, int startMenuFolder)
    {
        EXPECT_FALSE(PathExists(folder_)) << folder_;
        EXPECT_FALSE(PathExists(Folder(startMenuFolder) + "\\Kestrola.lnk"));
        EXPECT_FALSE(PathExists(SendToLink()));
        for (const char* key : {kUninstallKey, kProgIdKey, kApplicationKey})
            EXPECT_FALSE(RawKeyExists(key, root)) << key;
        for (const std::string& ext : kTypes) {
            const bool viewer = viewerRoot_ == root && ext == "ps";
            EXPECT_EQ(viewer ? kViewer : "<none>", TextAt(root, TypeKey(ext))) << ext;
            EXPECT_FALSE(RawKeyExists(TypeKey(ext) + (viewer ? "\\OpenWithProgids" : ""), root));
        }
    }

    ProgramKeyGuard programKey;
    CapturePrinter printer;
    ScratchDir dir;

private:
    HKEY viewerRoot_ = nullptr;
    std::string folder_;
};

TEST_F(InstallerTest, PerUserByDefaultWithTheUsualTypesAndTheSettingsKept)
{
    const std::string folder = Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Kestrola";
    GivePostScriptToAViewer(HKEY_CURRENT_USER);
    ASSERT_EQ(0u, Install("", folder));
    ExpectInstalled(HKEY_CURRENT_USER, CSIDL_PROGRAMS, {"prn", "pcl", "zpl"});

    const std::map<std::string, std::string> settings = RawValues(kProgramSubKey);
    ASSERT_EQ(0u, Uninstall(HKEY_CURRENT_USER));
    ExpectRemoved(HKEY_CURRENT_USER, CSIDL_PROGRAMS);
    EXPECT_EQ(settings, RawValues(kProgramSubKey));
}

// Wine's shell reads file types from the machine's classes only, so files are opened
// through the shell from a per-machine installation.
TEST_F(InstallerTest, PerMachineOpensChosenTypesThroughTheShellAndUninstallsCompletely)
{
    GivePostScriptToAViewer(HKEY_LOCAL_MACHINE);
    const std::string folder = dir.Path() + "\\Kestrola for everyone";
    // /D= comes last and unquoted, as the installer wants it.
    ASSERT_EQ(0u, Install("/AllUsers /ASSOCIATE=prn,PS /D=" + folder, folder));
    ExpectInstalled(HKEY_LOCAL_MACHINE, CSIDL_COMMON_PROGRAMS, {"prn", "ps"});

    const std::string data = AllByteValues() + "\r\n%!end of job";
    const std::string file = dir.Write("label job 1.prn", data);
    ProcessResult run = ShellOpen(file);
    ASSERT_TRUE(run.exited) << "the shell did not start Kestrola for " << file;
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(run.visibleWindowTitles.empty());
    EXPECT_TRUE(data + "\x0C" == printer.Bytes()) << printer.Bytes().size() << " bytes printed";

    // Automatic printing off: the wizard opens on the file page with the file chosen, and
    // nothing is printed.
    printer.Forget();
    RawWriteDword(kProgramSubKey, settings::kAutoPrint, 0);
    std::string fileBoxText = "<no file page>";
    run = ShellOpen(file, 20000, [&](HWND window) {
        const HWND fileBox = GetDlgItem(window, 110);
        if (fileBox == nullptr || !IsWindowVisible(fileBox))
            return false;  // not drawn yet: look again
        // Another process's control: ask it for its text (GetWindowText would not).
        char text[1024] = {};
        SendMessageA(fileBox, WM_GETTEXT, sizeof(text), reinterpret_cast<LPARAM>(text));
        fileBoxText = text;
        PostMessageA(window, WM_CLOSE, 0, 0);  // the wizard ends the run when closed
        return true;
    });
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(std::vector<std::string>{"Morrowick Kestrola"}, run.visibleWindowTitles);
    EXPECT_EQ(file, fileBoxText);
    EXPECT_FALSE(printer.HasJob());

    ASSERT_EQ(0u, Uninstall(HKEY_LOCAL_MACHINE, "/REMOVESETTINGS"));
    ExpectRemoved(HKEY_LOCAL_MACHINE, CSIDL_COMMON_PROGRAMS);
    EXPECT_FALSE(RawKeyExists(kProgramSubKey));
}

}  // namespace
