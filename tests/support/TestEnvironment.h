#pragma once
// What the tests share: scratch registry keys, capture printers of their own, scratch
// files and a launcher for the real Kestrola.exe.

#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <vector>

namespace testenv {

// A registry key of its own for one test, deleted with everything below it at the end.
class ScratchKey {
public:
    ScratchKey();
    ~ScratchKey();
    ScratchKey(const ScratchKey&) = delete;
    ScratchKey& operator=(const ScratchKey&) = delete;
    // "HKCU\Software\MorrowickDesign\KestrolaTests\<unique>"
    const std::string& Path() const { return path_; }
    std::string SubKey() const;  // the same without "HKCU\"

private:
    std::string path_;
};

// Empties the program's own key for a test and puts back what was there afterwards.
class ProgramKeyGuard {
public:
    ProgramKeyGuard();
    ~ProgramKeyGuard();
    ProgramKeyGuard(const ProgramKeyGuard&) = delete;
    ProgramKeyGuard& operator=(const ProgramKeyGuard&) = delete;

private:
    std::vector<std::pair<std::string, std::vector<BYTE>>> saved_;
    std::vector<DWORD> savedTypes_;
};

// A spooler printer whose port is a file in the build tree's capture folder.
class CapturePrinter {
public:
    // With a delay, each job reaches the file that many seconds late: a slow printer.
    explicit CapturePrinter(const std::string& name = std::string(), int delaySeconds = 0);
    ~CapturePrinter();
    CapturePrinter(const CapturePrinter&) = delete;
    CapturePrinter& operator=(const CapturePrinter&) = delete;

    const std::string& Name() const { return name_; }
    bool HasJob() const;                      // the port file exists
    std::string Bytes() const;                // what the last job delivered
    void Forget();                            // removes the port file

private:
    std::string name_;
    std::string portFile_;  // Windows path of the port file
};

std::string CaptureDirUnix();
std::string UnixToWindowsPath(const std::string& unixPath);
std::string WindowsToUnixPath(const std::string& windowsPath);

// A scratch folder of the test process, removed with its files at the end.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;
    const std::string& Path() const { return path_; }
    std::string Write(const std::string& name, const std::string& bytes) const;

private:
    std::string path_;
};

std::string ReadFileBytes(const std::string& path);
std::string AllByteValues();  // 0x00..0xFF

// Registry reads that do not go through the program's own store.
bool RawReadString(const std::string& subKeyUnderHkcu, const std::string& value, std::string& text);
bool RawReadDword(const std::string& subKeyUnderHkcu, const std::string& value, DWORD& number);
bool RawValueExists(const std::string& subKeyUnderHkcu, const std::string& value);
void RawWriteString(const std::string& subKeyUnderHkcu, const std::string& value, const std::string& text);
void RawWriteDword(const std::string& subKeyUnderHkcu, const std::string& value, DWORD number);
bool RawKeyExists(const std::string& subKeyUnderHkcu);
// Every value of the key by name: numbers in decimal, texts as they are; empty when the key
// is missing.
std::map<std::string, std::string> RawValues(const std::string& subKeyUnderHkcu);

// Keeps the user's default printer setting ("Device") and puts it back at the end. The
// setting may name a printer the spooler does not list, such as a printer connection.
class DefaultPrinterSetting {
public:
    DefaultPrinterSetting();
    ~DefaultPrinterSetting();
    DefaultPrinterSetting(const DefaultPrinterSetting&) = delete;
    DefaultPrinterSetting& operator=(const DefaultPrinterSetting&) = delete;
    void Set(const std::string& printerName);
    void Clear();

private:
    bool hadDevice_ = false;
    std::string device_;
};

// Takes every printer of the prefix away, the default printer setting included, and puts
// them back at the end.
class NoPrinters {
public:
    NoPrinters();
    ~NoPrinters();
    NoPrinters(const NoPrinters&) = delete;
    NoPrinters& operator=(const NoPrinters&) = delete;

private:
    DefaultPrinterSetting defaultPrinter_;
    bool hidden_ = false;
};

constexpr const char kProgramSubKey[] = "Software\\MorrowickDesign\\Kestrola";

// The real program, next to the test programs' folder.
std::string KestrolaExePath();

struct ProcessResult {
    bool exited = false;  // false: killed at the time-out, or never started
    DWORD exitCode = 0;
    std::vector<std::string> visibleWindowTitles;  // every top-level window seen
    std::string imagePath;                         // the program that ran
};

// Runs Kestrola.exe with commandLine after its name. onWindow is called for each visible
// top-level window of the process; returning true means the window was dealt with.
ProcessResult RunKestrola(const std::string& commandLine, DWORD timeoutMs = 20000,
                          const std::function<bool(HWND)>& onWindow = nullptr);

// Runs a whole command line (the program's path quoted by the caller) like RunKestrola.
ProcessResult RunProgram(const std::string& commandLine, DWORD timeoutMs = 60000,
                         const std::function<bool(HWND)>& onWindow = nullptr);

// Opens a file with the shell's "open" verb, as a double click in Explorer does, and
// watches the program the shell started like RunKestrola.
ProcessResult ShellOpen(const std::string& file, DWORD timeoutMs = 20000,
                        const std::function<bool(HWND)>& onWindow = nullptr);

// Watches a started process until it ends or the time-out kills it; closes the handle.
ProcessResult WatchProcess(HANDLE process, DWORD timeoutMs,
                           const std::function<bool(HWND)>& onWindow = nullptr);

// Registry reads under any root (HKEY_LOCAL_MACHINE for per-machine registrations).
bool RawReadStringAt(HKEY root, const std::string& subKey, const std::string& value,
                     std::string& text);
bool RawValueExistsAt(HKEY root, const std::string& subKey, const std::string& value);
bool RawKeyExistsAt(HKEY root, const std::string& subKey);

std::string WindowText(HWND window);

}  // namespace testenv
