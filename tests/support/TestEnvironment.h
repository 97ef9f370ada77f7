#pragma once
// What the tests share: scratch registry keys, capture printers of their own, scratch
// files and launchers for the real Kestrola.exe.

#include "core/WideString.h"

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testenv {

constexpr const char kProgramSubKey[] = "Software\\MorrowickDesign\\Kestrola";

std::string ReadFileBytes(const std::string& path);
std::string AllByteValues();  // 0x00..0xFF
WideString Wide(const std::string& text);  // from the ANSI code page
std::string Narrow(const WideString& text);  // to the ANSI code page

// "HKCU\Software\MorrowickDesign\KestrolaTests\<unique>", deleted with everything below it
// at the end.
class ScratchKey {
public:
    ScratchKey();
    ~ScratchKey();
    const std::string& Path() const { return path_; }
    std::string SubKey() const { return path_.substr(5); }  // without "HKCU\"

private:
    std::string path_;
};

// Keeps a copy of a registry tree and puts it back at the end; emptied: the tree is removed
// for the time between.
class KeyGuard {
public:
    KeyGuard(HKEY root, const std::string& subKey, bool emptied = false);
    ~KeyGuard();
    bool Had() const { return had_; }

private:
    HKEY root_;
    std::string subKey_;
    bool emptied_;
    ScratchKey saved_;
    bool had_;  // a copy was taken
};

// Empties the program's own key for a test and puts back what was there afterwards.
struct ProgramKeyGuard : KeyGuard {
    ProgramKeyGuard() : KeyGuard(HKEY_CURRENT_USER, kProgramSubKey, true) {}
};

// A spooler printer whose port is a file in the build tree's capture folder.
class CapturePrinter {
public:
    // With a delay, each job reaches the file that many seconds late: a slow printer.
    // Appending, the file keeps every job in the order they ended.
    explicit CapturePrinter(const WideString& name = WideString(), int delaySeconds = 0,
                            bool appending = false);
    ~CapturePrinter();
    const std::string& Name() const { return name_; }  // as the code page has it
    const WideString& WideName() const { return wideName_; }
    bool HasJob() const { return GetFileAttributesA(portFile_.c_str()) != INVALID_FILE_ATTRIBUTES; }
    std::string Bytes() const { return ReadFileBytes(portFile_); }  // the last job's, or all
    void Forget() { DeleteFileA(portFile_.c_str()); }

private:
    WideString wideName_;
    std::string name_, portFile_;  // the port file by its Windows path
};

// A scratch folder of the test process, removed with its files at the end.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    const std::string& Path() const { return path_; }
    std::string Write(const std::string& name, const std::string& bytes) const;  // its path

private:
    std::string path_;
};

// Registry access that does not go through the program's own store.
bool RawKeyExists(const std::string& subKey, HKEY root = HKEY_CURRENT_USER);
void RawWriteDword(const std::string& subKey, const std::string& value, DWORD number);
// Texts of any characters, through the wide calls; "<none>" for a missing value.
void RawWriteWide(const std::string& subKey, const std::string& value, const WideString& text);
inline void RawWriteString(const std::string& subKey, const std::string& value, const std::string& text)
{
    RawWriteWide(subKey, value, Wide(text));
}
WideString RawReadWide(const std::string& subKey, const std::string& value,
                       HKEY root = HKEY_CURRENT_USER);
// Every value of an HKCU key by name, numbers in decimal; empty when the key is missing.
std::map<std::string, std::string> RawValues(const std::string& subKey);

constexpr const char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers";
constexpr const char kWindowsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";

// Keeps the prefix's printers and the user's default printer setting ("Device") and puts
// them back at the end.
class PrinterSetup {
public:
    // The name may be one the spooler does not list, such as a printer connection's.
    void SetDefault(std::string name) { RawWriteString(kWindowsKey, "Device", name + ",winspool,nul"); }
    void RemoveAll();  // every printer, and the default setting

private:
    KeyGuard printers_{HKEY_LOCAL_MACHINE, kPrintersKey}, windows_{HKEY_CURRENT_USER, kWindowsKey};
};

std::string KestrolaExePath();  // the real program, beside the tests' folder
WideString WideWindowText(HWND window);
inline std::string WindowText(HWND window) { return Narrow(WideWindowText(window)); }

struct ProcessResult {
    DWORD exitCode = STILL_ACTIVE;  // still so when killed at the time-out, or never started
    std::vector<std::string> visibleWindowTitles;  // every top-level window seen
};

// Runs a whole command line and watches the process until it ends or the time-out kills
// it. onWindow is called for each visible top-level window of the process until it
// returns true for that window (dealt with).
ProcessResult RunProgram(const WideString& commandLine, DWORD timeoutMs = 20000,
                         const std::function<bool(HWND)>& onWindow = nullptr);
WideString ShortPath(const WideString& path);  // Wine makes short names up: ask for them

// Points an existing printer at another port: a Unix path, or "|command".
void SetPrinterPort(const WideString& printerName, const std::string& port);
// Marks an existing printer "Use Printer Offline", or not; Wine prints its jobs all the same.
void SetPrinterOffline(const WideString& printerName, bool offline);

}  // namespace testenv
