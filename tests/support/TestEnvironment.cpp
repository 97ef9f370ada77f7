#include "support/TestEnvironment.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testenv {
namespace {

int g_counter = 0;

std::string Unique(const char* stem)
{
    return std::string(stem) + std::to_string(GetCurrentProcessId()) + "-" +
           std::to_string(++g_counter);
}

const char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers\\";

}  // namespace

ScratchKey::ScratchKey()
    : path_("HKCU\\Software\\MorrowickDesign\\KestrolaTests\\" + Unique("key-"))
{
}

ScratchKey::~ScratchKey()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, SubKey().c_str());
    RegDeleteKeyA(HKEY_CURRENT_USER, SubKey().c_str());
}

std::string ScratchKey::SubKey() const { return path_.substr(5); }

ProgramKeyGuard::ProgramKeyGuard()
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kProgramSubKey, 0, KEY_READ, &key) == ERROR_SUCCESS) {
        for (DWORD i = 0;; ++i) {
            char name[512];
            DWORD nameSize = sizeof(name), type = 0, dataSize = 0;
            if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, nullptr, &dataSize) !=
                ERROR_SUCCESS)
                break;
            std::vector<BYTE> data(dataSize + 1);
            nameSize = sizeof(name);
            RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data.data(), &dataSize);
            data.resize(dataSize);
            saved_.emplace_back(name, data);
            savedTypes_.push_back(type);
        }
        RegCloseKey(key);
    }
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramSubKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kProgramSubKey);
}

ProgramKeyGuard::~ProgramKeyGuard()
{
    RegDeleteTreeA(HKEY_CURRENT_USER, kProgramSubKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kProgramSubKey);
    if (saved_.empty())
        return;
    HKEY key = nullptr;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, kProgramSubKey, 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    for (size_t i = 0; i < saved_.size(); ++i)
        RegSetValueExA(key, saved_[i].first.c_str(), 0, savedTypes_[i], saved_[i].second.data(),
                       static_cast<DWORD>(saved_[i].second.size()));
    RegCloseKey(key);
}

std::string CaptureDirUnix()
{
    const char* dir = std::getenv("KESTROLA_CAPTURE_DIR");
    return dir ? dir : "/tmp";
}

std::string UnixToWindowsPath(const std::string& unixPath)
{
    std::string path = "Z:" + unixPath;
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

std::string WindowsToUnixPath(const std::string& windowsPath)
{
    std::string path = windowsPath;
    if (path.size() >= 2 && (path[0] == 'Z' || path[0] == 'z') && path[1] == ':')
        path.erase(0, 2);
    std::replace(path.begin(), path.end(), '\\', '/');
    return path;
}

CapturePrinter::CapturePrinter(const std::string& name, int delaySeconds)
    : name_(name.empty() ? Unique("Kestrola Test ") : name)
{
    const std::string unixFile = CaptureDirUnix() + "/" + Unique("job-") + ".prn";
    portFile_ = UnixToWindowsPath(unixFile);
    DeleteFileA(portFile_.c_str());
    HKEY key = nullptr;
    const std::string keyPath = kPrintersKey + name_;
    if (RegCreateKeyExA(HKEY_LOCAL_MACHINE, keyPath.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                        nullptr, &key, nullptr) != ERROR_SUCCESS)
        return;
    auto text = [&](const char* value, const std::string& data) {
        RegSetValueExA(key, value, 0, REG_SZ, reinterpret_cast<const BYTE*>(data.c_str()),
                       static_cast<DWORD>(data.size() + 1));
    };
    text("Name", name_);
    text("Port", delaySeconds > 0 ? "|sleep " + std::to_string(delaySeconds) + "; cat > '" +
                                        unixFile + "'"
                                  : unixFile);
    text("Print Processor", "WinPrint");
    text("Datatype", "RAW");
    text("Printer Driver", "Generic / Text Only");
    const DWORD attributes = 0x40;
    RegSetValueExA(key, "Attributes", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&attributes),
                   sizeof(attributes));
    RegCloseKey(key);
}

CapturePrinter::~CapturePrinter()
{
    const std::string keyPath = kPrintersKey + name_;
    RegDeleteTreeA(HKEY_LOCAL_MACHINE, keyPath.c_str());
    RegDeleteKeyA(HKEY_LOCAL_MACHINE, keyPath.c_str());
    Forget();
}

bool CapturePrinter::HasJob() const
{
    return GetFileAttributesA(portFile_.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string CapturePrinter::Bytes() const { return ReadFileBytes(portFile_); }

void CapturePrinter::Forget() { DeleteFileA(portFile_.c_str()); }

ScratchDir::ScratchDir()
{
    char temp[MAX_PATH] = {};
    GetTempPathA(MAX_PATH, temp);
    path_ = std::string(temp) + Unique("kestrola-test-");
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir()
{
    WIN32_FIND_DATAA found;
    HANDLE search = FindFirstFileA((path_ + "\\*").c_str(), &found);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..")
                DeleteFileA((path_ + "\\" + name).c_str());
        } while (FindNextFileA(search, &found));
        FindClose(search);
    }
    RemoveDirectoryA(path_.c_str());
}

std::string ScratchDir::Write(const std::string& name, const std::string& bytes) const
{
    const std::string path = path_ + "\\" + name;
    std::ofstream out(path, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return path;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

std::string AllByteValues()
{
    std::string bytes;
    for (int i = 0; i < 256; ++i)
        bytes.push_back(static_cast<char>(i));
    return bytes;
}

bool RawReadString(const std::string& subKey, const std::string& value, std::string& text)
{
    char buffer[4096] = {};
    DWORD size = sizeof(buffer) - 1, type = 0;
    if (RegGetValueA(HKEY_CURRENT_USER, subKey.c_str(), value.c_str(), RRF_RT_ANY, &type, buffer,
                     &size) != ERROR_SUCCESS)
        return false;
    text = buffer;
    return true;
}

bool RawReadDword(const std::string& subKey, const std::string& value, DWORD& number)
{
    DWORD size = sizeof(number);
    return RegGetValueA(HKEY_CURRENT_USER, subKey.c_str(), value.c_str(), RRF_RT_REG_DWORD,
                        nullptr, &number, &size) == ERROR_SUCCESS;
}

bool RawValueExists(const std::string& subKey, const std::string& value)
{
    return RegGetValueA(HKEY_CURRENT_USER, subKey.c_str(), value.c_str(), RRF_RT_ANY, nullptr,
                        nullptr, nullptr) == ERROR_SUCCESS;
}

void RawWriteString(const std::string& subKey, const std::string& value, const std::string& text)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, subKey.c_str(), value.c_str(), REG_SZ, text.c_str(),
                    static_cast<DWORD>(text.size() + 1));
}

void RawWriteDword(const std::string& subKey, const std::string& value, DWORD number)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, subKey.c_str(), value.c_str(), REG_DWORD, &number,
                    sizeof(number));
}

bool RawKeyExists(const std::string& subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

std::map<std::string, std::string> RawValues(const std::string& subKey)
{
    std::map<std::string, std::string> values;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return values;
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nameSize = sizeof(name), type = 0, size = 0;
        if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, nullptr, &size) !=
            ERROR_SUCCESS)
            break;
        std::vector<BYTE> data(std::max<DWORD>(size, sizeof(DWORD)) + 1, 0);
        nameSize = sizeof(name);
        RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data.data(), &size);
        const DWORD* number = reinterpret_cast<const DWORD*>(data.data());
        values[name] = type == REG_DWORD ? std::to_string(*number)
                                         : std::string(reinterpret_cast<char*>(data.data()));
    }
    RegCloseKey(key);
    return values;
}

namespace {

const char kWindowsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char kAllPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers";
const char kHiddenPrintersKey[] = "Software\\MorrowickDesign\\KestrolaTests\\HiddenPrinters";

// Copies one tree over another, emptying the target first.
bool ReplaceTree(HKEY fromRoot, const char* from, HKEY toRoot, const char* to)
{
    HKEY source = nullptr, target = nullptr;
    bool copied = false;
    if (RegOpenKeyExA(fromRoot, from, 0, KEY_READ, &source) == ERROR_SUCCESS &&
        RegCreateKeyExA(toRoot, to, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &target,
                        nullptr) == ERROR_SUCCESS) {
        RegDeleteTreeA(target, nullptr);
        copied = RegCopyTreeA(source, nullptr, target) == ERROR_SUCCESS;
    }
    if (source)
        RegCloseKey(source);
    if (target)
        RegCloseKey(target);
    return copied;
}

}  // namespace

DefaultPrinterSetting::DefaultPrinterSetting()
{
    hadDevice_ = RawReadString(kWindowsKey, "Device", device_);
}

DefaultPrinterSetting::~DefaultPrinterSetting()
{
    if (hadDevice_)
        RawWriteString(kWindowsKey, "Device", device_);
    else
        Clear();
}

void DefaultPrinterSetting::Set(const std::string& printerName)
{
    RawWriteString(kWindowsKey, "Device", printerName + ",winspool,nul");
}

void DefaultPrinterSetting::Clear() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kWindowsKey, "Device"); }

NoPrinters::NoPrinters()
{
    defaultPrinter_.Clear();
    // Without a copy to put back, the printers stay where they are.
    hidden_ = ReplaceTree(HKEY_LOCAL_MACHINE, kAllPrintersKey, HKEY_CURRENT_USER,
                          kHiddenPrintersKey);
    if (!hidden_)
        return;
    HKEY key = nullptr;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kAllPrintersKey, 0, KEY_ALL_ACCESS, &key) ==
        ERROR_SUCCESS) {
        RegDeleteTreeA(key, nullptr);
        RegCloseKey(key);
    }
}

NoPrinters::~NoPrinters()
{
    if (hidden_)
        ReplaceTree(HKEY_CURRENT_USER, kHiddenPrintersKey, HKEY_LOCAL_MACHINE, kAllPrintersKey);
    RegDeleteTreeA(HKEY_CURRENT_USER, kHiddenPrintersKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kHiddenPrintersKey);
}

std::string KestrolaExePath()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, MAX_PATH);
    std::string path = self;
    path = path.substr(0, path.find_last_of('\\'));  // ...\build\tests
    path = path.substr(0, path.find_last_of('\\'));  // ...\build
    return path + "\\Kestrola.exe";
}

std::string WindowText(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    std::string text(length + 1, '\0');
    GetWindowTextA(window, &text[0], length + 1);
    text.resize(std::min<size_t>(text.size() - 1, std::char_traits<char>::length(text.c_str())));
    return text;
}

namespace {

struct WindowSearch {
    DWORD processId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectProcessWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD owner = 0;
    GetWindowThreadProcessId(window, &owner);
    if (owner == search->processId && IsWindowVisible(window))
        search->found.push_back(window);
    return TRUE;
}

}  // namespace

ProcessResult WatchProcess(HANDLE process, DWORD timeoutMs,
                           const std::function<bool(HWND)>& onWindow)
{
    ProcessResult result;
    const DWORD processId = GetProcessId(process);
    char image[MAX_PATH * 4] = {};
    DWORD imageSize = sizeof(image);
    if (QueryFullProcessImageNameA(process, 0, image, &imageSize))
        result.imagePath.assign(image, imageSize);

    std::vector<HWND> handled;
    const DWORD start = GetTickCount();
    for (;;) {
        const DWORD wait = WaitForSingleObject(process, 20);
        WindowSearch search{processId, {}};
        EnumWindows(CollectProcessWindow, reinterpret_cast<LPARAM>(&search));
        for (HWND window : search.found) {
            const std::string title = WindowText(window);
            if (std::find(result.visibleWindowTitles.begin(), result.visibleWindowTitles.end(),
                          title) == result.visibleWindowTitles.end())
                result.visibleWindowTitles.push_back(title);
            if (onWindow && std::find(handled.begin(), handled.end(), window) == handled.end() &&
                onWindow(window))
                handled.push_back(window);
        }
        if (wait == WAIT_OBJECT_0)
            break;
        if (GetTickCount() - start > timeoutMs) {
            TerminateProcess(process, 0xDEAD);
            WaitForSingleObject(process, 5000);
            CloseHandle(process);
            return result;
        }
    }
    result.exited = true;
    GetExitCodeProcess(process, &result.exitCode);
    CloseHandle(process);
    return result;
}

ProcessResult RunProgram(const std::string& commandLine, DWORD timeoutMs,
                         const std::function<bool(HWND)>& onWindow)
{
    std::string line = commandLine;
    STARTUPINFOA startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION process = {};
    if (!CreateProcessA(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &process))
        return ProcessResult();
    CloseHandle(process.hThread);
    return WatchProcess(process.hProcess, timeoutMs, onWindow);
}

ProcessResult RunKestrola(const std::string& commandLine, DWORD timeoutMs,
                          const std::function<bool(HWND)>& onWindow)
{
    return RunProgram("\"" + KestrolaExePath() + "\" " + commandLine, timeoutMs, onWindow);
}

ProcessResult ShellOpen(const std::string& file, DWORD timeoutMs,
                        const std::function<bool(HWND)>& onWindow)
{
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof(info);
    // No error dialog of the shell's own: a missing association is a failed start here.
    info.fMask = SEE_MASK_NOCLOSEPROCESS | SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
    info.lpVerb = "open";
    info.lpFile = file.c_str();
    info.nShow = SW_SHOWNORMAL;
    if (!ShellExecuteExA(&info) || !info.hProcess)
        return ProcessResult();
    return WatchProcess(info.hProcess, timeoutMs, onWindow);
}

bool RawReadStringAt(HKEY root, const std::string& subKey, const std::string& value,
                     std::string& text)
{
    DWORD size = 0;
    if (RegGetValueA(root, subKey.c_str(), value.empty() ? nullptr : value.c_str(),
                     RRF_RT_REG_SZ, nullptr, nullptr, &size) != ERROR_SUCCESS)
        return false;
    std::vector<char> buffer(size + 1, '\0');
    if (RegGetValueA(root, subKey.c_str(), value.empty() ? nullptr : value.c_str(),
                     RRF_RT_REG_SZ, nullptr, buffer.data(), &size) != ERROR_SUCCESS)
        return false;
    text = buffer.data();
    return true;
}

bool RawValueExistsAt(HKEY root, const std::string& subKey, const std::string& value)
{
    return RegGetValueA(root, subKey.c_str(), value.empty() ? nullptr : value.c_str(),
                        RRF_RT_ANY, nullptr, nullptr, nullptr) == ERROR_SUCCESS;
}

bool RawKeyExistsAt(HKEY root, const std::string& subKey)
{
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) != ERROR_SUCCESS)
        return false;
    RegCloseKey(key);
    return true;
}

}  // namespace testenv
