// The installer this build produced, run silently in the test prefix: what it installs
// and registers, files opened through the shell and "Send to", and what uninstalling
// leaves behind.
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

// A key's text value, or "<none>".
std::string TextAt(HKEY root, const std::string& key, const std::string& value = std::string())
{
    std::string text;
    return RawReadStringAt(root, key, value, text) ? text : "<none>";
}

// What a shortcut starts: the program, then its arguments, as one command line.
std::string ShortcutCommand(const std::string& link)
{
    std::string command = "<unreadable>";
    IShellLinkA* shellLink = nullptr;
    IPersistFile* file = nullptr;
    if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                                reinterpret_cast<void**>(&shellLink))))
        return command;
    if (SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file)))) {
        std::wstring wide(MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, nullptr, 0), L'\0');
        MultiByteToWideChar(CP_ACP, 0, link.c_str(), -1, &wide[0], static_cast<int>(wide.size()));
        char program[MAX_PATH * 2] = {};
        char arguments[1024] = {};
        if (SUCCEEDED(file->Load(wide.c_str(), STGM_READ)) &&
            SUCCEEDED(shellLink->GetPath(program, sizeof(program), nullptr, 0)) &&
            SUCCEEDED(shellLink->GetArguments(arguments, sizeof(arguments))))
            command = "\"" + std::string(program) + "\"" + (*arguments ? " " : "") + arguments;
        file->Release();
    }
    shellLink->Release();
    return command;
}

class InstallerTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        CoInitialize(nullptr);
        RemoveInstallations();  // of a run that was killed half-way
        RawWriteDword(kProgramSubKey, settings::kAutoPrint, 1);
        RawWriteString(kProgramSubKey, settings::kAutoPrintPrinter, printer.Name());
        RawWriteString(kProgramSubKey, settings::kLastPrinterName, "Kestrola Elsewhere");
    }

    void TearDown() override
    {
        RemoveInstallations();
        if (viewerRoot_) {
            RegDeleteTreeA(viewerRoot_, TypeKey("ps").c_str());
            RegDeleteKeyA(viewerRoot_, TypeKey("ps").c_str());
        }
        CoUninitialize();
    }

    // .ps files belong to a viewer before Kestrola is installed.
    void GivePostScriptToAViewer(HKEY root)
    {
        ASSERT_FALSE(RawKeyExistsAt(root, TypeKey("ps"))) << "the test prefix already knows .ps";
        viewerRoot_ = root;
        ASSERT_EQ(ERROR_SUCCESS, RegSetKeyValueA(root, TypeKey("ps").c_str(), nullptr, REG_SZ,
                                                 kViewer, sizeof(kViewer)));
    }

    // folder: the one expected, or chosen with /D= when chooseFolder is set.
    DWORD Install(const std::string& switches, const std::string& folder, bool chooseFolder)
    {
        std::string setup = KestrolaExePath();
        setup = setup.substr(0, setup.find_last_of('\\')) + "\\release\\" KESTROLA_SETUP_NAME;
        folder_ = folder;
        // /D= comes last and unquoted, as the installer wants it.
        const ProcessResult run = RunProgram(
            "\"" + setup + "\" /S " + switches + (chooseFolder ? " /D=" + folder : ""), 120000);
        EXPECT_TRUE(run.exited) << setup;
        return run.exitCode;
    }

    // Runs the quiet uninstall command the installation registered. The uninstaller
    // restarts itself from a temporary copy and returns at once; a copy told the folder
    // with _?= works in place and can be waited for.
    DWORD Uninstall(HKEY root, const std::string& switches = std::string())
    {
        const std::string command = TextAt(root, kUninstallKey, "QuietUninstallString");
        const std::string location = TextAt(root, kUninstallKey, "InstallLocation");
        const size_t close = command.find('"', 1);
        const std::string copy = dir.Path() + "\\uninstall-copy.exe";
        if (command[0] != '"' || close == std::string::npos ||
            !CopyFileA(command.substr(1, close - 1).c_str(), copy.c_str(), FALSE))
            return 0xBAD;
        const ProcessResult run = RunProgram("\"" + copy + "\"" + command.substr(close + 1) + " " +
                                                 switches + " _?=" + location,
                                             120000);
        DeleteFileA(copy.c_str());
        EXPECT_TRUE(run.exited);
        return run.exitCode;
    }

    void RemoveInstallations()
    {
        for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
            if (RawKeyExistsAt(root, kUninstallKey))
                Uninstall(root);
    }

    std::string InstalledExe() const { return folder_ + "\\Kestrola.exe"; }

    // Files, commands, shortcuts and types of an installation: every type offers
    // Kestrola under "Open with", only the chosen ones open with it.
    void ExpectInstalled(HKEY root, int startMenuFolder, const std::vector<std::string>& chosen)
    {
        const std::string exe = InstalledExe();
        EXPECT_EQ(folder_, TextAt(root, kUninstallKey, "InstallLocation"));
        EXPECT_TRUE(ReadFileBytes(KestrolaExePath()) == ReadFileBytes(exe)) << exe;
        EXPECT_NE(std::string::npos, ReadFileBytes(folder_ + "\\LICENSE.txt").find("Morrowick"));
        EXPECT_TRUE(PathExists(folder_ + "\\Uninstall.exe"));
        for (const std::string key : {kProgIdKey, kApplicationKey})
            EXPECT_EQ("\"" + exe + "\" \"%1\"", TextAt(root, key + "\\shell\\open\\command"));
        EXPECT_EQ("\"" + exe + "\"", ShortcutCommand(Folder(startMenuFolder) + "\\Kestrola.lnk"));
        EXPECT_EQ("\"" + exe + "\"", ShortcutCommand(SendToLink()));
        for (const std::string& ext : kTypes) {
            const bool isChosen = std::find(chosen.begin(), chosen.end(), ext) != chosen.end();
            const std::string before = (viewerRoot_ == root && ext == "ps") ? kViewer : "<none>";
            EXPECT_EQ(isChosen ? kProgId : before, TextAt(root, TypeKey(ext))) << ext;
            EXPECT_TRUE(RawValueExistsAt(root, TypeKey(ext) + "\\OpenWithProgids", kProgId)) << ext;
            EXPECT_TRUE(RawValueExistsAt(root, kApplicationKey + std::string("\\SupportedTypes"),
                                         "." + ext))
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
            EXPECT_FALSE(RawKeyExistsAt(root, key)) << key;
        for (const std::string& ext : kTypes) {
            if (viewerRoot_ == root && ext == "ps") {
                EXPECT_EQ(kViewer, TextAt(root, TypeKey(ext)));
                EXPECT_FALSE(RawKeyExistsAt(root, TypeKey(ext) + "\\OpenWithProgids"));
            } else {
                EXPECT_FALSE(RawKeyExistsAt(root, TypeKey(ext))) << ext;
            }
        }
    }

    bool SettingsKept()
    {
        std::string printerName, lastPrinter;
        DWORD autoPrint = 0;
        return RawReadDword(kProgramSubKey, settings::kAutoPrint, autoPrint) && autoPrint == 1 &&
               RawReadString(kProgramSubKey, settings::kAutoPrintPrinter, printerName) &&
               printerName == printer.Name() &&
               RawReadString(kProgramSubKey, settings::kLastPrinterName, lastPrinter) &&
               lastPrinter == "Kestrola Elsewhere";
    }

    ProgramKeyGuard programKey;
    CapturePrinter printer;
    ScratchDir dir;

private:
    HKEY viewerRoot_ = nullptr;
    std::string folder_;
};

TEST_F(InstallerTest, PerUserByDefaultWithTheUsualTypesSendToAndSettingsKept)
{
    const std::string folder = Folder(CSIDL_LOCAL_APPDATA) + "\\Programs\\Kestrola";
    EXPECT_EQ(2u, Install("/ASSOCIATE=prn,txt", folder, false));
    EXPECT_FALSE(PathExists(folder)) << "an unknown type must stop the installer at once";
    EXPECT_FALSE(RawKeyExistsAt(HKEY_CURRENT_USER, TypeKey("prn")));

    GivePostScriptToAViewer(HKEY_CURRENT_USER);
    ASSERT_EQ(0u, Install("", folder, false));
    ExpectInstalled(HKEY_CURRENT_USER, CSIDL_PROGRAMS, {"prn", "pcl", "zpl"});
    // Nothing that needs administrator rights.
    for (const char* key : {kUninstallKey, kProgIdKey, kApplicationKey})
        EXPECT_FALSE(RawKeyExistsAt(HKEY_LOCAL_MACHINE, key)) << key;

    // "Send to" starts the shortcut's command with the chosen file, of any type.
    const std::string data = "plain notes\r\n" + AllByteValues();
    const std::string file = dir.Write("notes for the printer.txt", data);
    const ProcessResult run =
        RunProgram(ShortcutCommand(SendToLink()) + " \"" + file + "\"", 20000);
    ASSERT_TRUE(run.exited);
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_TRUE(data + "\x0C" == printer.Bytes()) << printer.Bytes().size() << " bytes printed";

    ASSERT_EQ(0u, Uninstall(HKEY_CURRENT_USER));
    ExpectRemoved(HKEY_CURRENT_USER, CSIDL_PROGRAMS);
    EXPECT_TRUE(SettingsKept());
}

// Wine's shell reads file types from the machine's classes only, so files are opened
// through the shell from a per-machine installation.
TEST_F(InstallerTest, PerMachineOpensChosenTypesThroughTheShellAndUninstallsCompletely)
{
    GivePostScriptToAViewer(HKEY_LOCAL_MACHINE);
    const std::string folder = dir.Path() + "\\Kestrola for everyone";
    ASSERT_EQ(0u, Install("/AllUsers /ASSOCIATE=prn,PS", folder, true));
    ExpectInstalled(HKEY_LOCAL_MACHINE, CSIDL_COMMON_PROGRAMS, {"prn", "ps"});
    EXPECT_FALSE(RawKeyExistsAt(HKEY_CURRENT_USER, kUninstallKey));

    const std::string data = AllByteValues() + "\r\n%!end of job";
    const std::string file = dir.Write("label job 1.prn", data);
    ProcessResult run = ShellOpen(file);
    ASSERT_TRUE(run.exited) << "the shell did not start Kestrola for " << file;
    EXPECT_EQ(0u, run.exitCode);
    EXPECT_EQ(InstalledExe(), run.imagePath);
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
    EXPECT_EQ(InstalledExe(), run.imagePath);
    EXPECT_EQ(std::vector<std::string>{"Morrowick Kestrola"}, run.visibleWindowTitles);
    EXPECT_EQ(file, fileBoxText);
    EXPECT_FALSE(printer.HasJob());

    // A reinstallation with other types gives .prn back and keeps the viewer on record.
    ASSERT_EQ(0u, Install("/AllUsers /ASSOCIATE=ps,eps", folder, false));
    ExpectInstalled(HKEY_LOCAL_MACHINE, CSIDL_COMMON_PROGRAMS, {"ps", "eps"});

    ASSERT_EQ(0u, Uninstall(HKEY_LOCAL_MACHINE, "/REMOVESETTINGS"));
    ExpectRemoved(HKEY_LOCAL_MACHINE, CSIDL_COMMON_PROGRAMS);
    EXPECT_FALSE(RawKeyExists(kProgramSubKey));
}

}  // namespace
