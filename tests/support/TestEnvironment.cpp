#include "support/TestEnvironment.h"

#include <shellapi.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <numeric>
#include <sstream>

namespace testenv {
namespace {

std::string Unique(const char* stem)
{
    static int counter = 0;
    return stem + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter);
}

// Replaces the target with a copy of the source's tree; false when there is no source.
bool CopyTree(HKEY fromRoot, const std::string& from, HKEY toRoot, const std::string& to)
{
    HKEY target = nullptr;
    RegDeleteTreeA(toRoot, to.c_str());
    const bool copied = RawKeyExists(from, fromRoot) &&
                        RegCreateKeyA(toRoot, to.c_str(), &target) == ERROR_SUCCESS &&
                        RegCopyTreeA(fromRoot, from.c_str(), target) == ERROR_SUCCESS;
    RegCloseKey(target);
    return copied;
}

void SetWide(HKEY root, const WideString& subKey, const std::string& value, const WideString& text)
{
    RegSetKeyValueW(root, subKey.c_str(), Wide(value).c_str(), REG_SZ, text.c_str(),
                    static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t)));
}

WideString PrinterKey(const WideString& name) { return Wide(kPrintersKey) + L"\\" + name; }

}  // namespace

ScratchKey::ScratchKey()
    : path_("HKCU\\Software\\MorrowickDesign\\KestrolaTests\\" + Unique("key-"))
{
}

ScratchKey::~ScratchKey() { RegDeleteTreeA(HKEY_CURRENT_USER, SubKey().c_str()); }

KeyGuard::KeyGuard(HKEY root, const std::string& subKey, bool emptied)
    : root_(root), subKey_(subKey), emptied_(emptied),
      had_(CopyTree(root, subKey, HKEY_CURRENT_USER, saved_.SubKey()))
{
    if (emptied)
        RegDeleteTreeA(root, subKey.c_str());
}

KeyGuard::~KeyGuard()
{
    if (emptied_)
        RegDeleteTreeA(root_, subKey_.c_str());
    if (had_)
        CopyTree(HKEY_CURRENT_USER, saved_.SubKey(), root_, subKey_);
}

CapturePrinter::CapturePrinter(const WideString& name, int delaySeconds, bool appending)
    : wideName_(name.empty() ? Wide(Unique("Kestrola Test ")) : name), name_(Narrow(wideName_))
{
    const char* dir = std::getenv("KESTROLA_CAPTURE_DIR");
    const std::string unixFile = std::string(dir ? dir : "/tmp") + "/" + Unique("job-") + ".prn";
    portFile_ = "Z:" + unixFile;
    std::replace(portFile_.begin(), portFile_.end(), '/', '\\');
    Forget();
    const std::string port =
        delaySeconds > 0 || appending
            ? "|sleep " + std::to_string(delaySeconds) + "; cat >" + (appending ? "> '" : " '") + unixFile + "'"
            : unixFile;
    for (const auto& text : std::map<std::string, WideString>{
             {"Name", wideName_}, {"Port", Wide(port)}, {"Print Processor", L"WinPrint"},
             {"Datatype", L"RAW"}, {"Printer Driver", L"Generic / Text Only"}})
        SetWide(HKEY_LOCAL_MACHINE, PrinterKey(wideName_), text.first, text.second);
    SetPrinterOffline(wideName_, false);
}

CapturePrinter::~CapturePrinter()
{
    RegDeleteTreeW(HKEY_LOCAL_MACHINE, PrinterKey(wideName_).c_str());
    Forget();
}

ScratchDir::ScratchDir()
{
    char temp[MAX_PATH + 1] = {};
    GetTempPathA(sizeof(temp), temp);
    path_ = temp + Unique("kestrola-test-");
    CreateDirectoryA(path_.c_str(), nullptr);
}

ScratchDir::~ScratchDir()
{
    const std::string paths = path_ + '\0';  // a list, ended by an empty entry
    SHFILEOPSTRUCTA remove = {};
    remove.wFunc = FO_DELETE;
    remove.pFrom = paths.c_str();
    remove.fFlags = FOF_NO_UI;
    SHFileOperationA(&remove);
}

std::string ScratchDir::Write(const std::string& name, const std::string& bytes) const
{
    std::ofstream(path_ + "\\" + name, std::ios::binary) << bytes;
    return path_ + "\\" + name;
}

std::string ReadFileBytes(const std::string& path)
{
    std::ostringstream bytes;
    bytes << std::ifstream(path, std::ios::binary).rdbuf();
    return bytes.str();
}

std::string AllByteValues()
{
    std::string bytes(256, '\0');
    std::iota(bytes.begin(), bytes.end(), '\0');
    return bytes;
}

bool RawKeyExists(const std::string& subKey, HKEY root)
{
    HKEY key = nullptr;
    const bool opened = RegOpenKeyExA(root, subKey.c_str(), 0, KEY_READ, &key) == ERROR_SUCCESS;
    RegCloseKey(key);
    return opened;
}

void RawWriteDword(const std::string& subKey, const std::string& value, DWORD number)
{
    RegSetKeyValueA(HKEY_CURRENT_USER, subKey.c_str(), value.c_str(), REG_DWORD, &number,
                    sizeof(number));
}

std::map<std::string, std::string> RawValues(const std::string& subKey)
{
    std::map<std::string, std::string> values;
    HKEY key = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, subKey.c_str(), 0, KEY_READ, &key);
    char name[16384], data[1 << 15];  // the longest value name, and a text
    for (DWORD i = 0;; ++i) {
        DWORD nameSize = sizeof(name), type = 0, size = sizeof(data) - 1;
        if (!key || RegEnumValueA(key, i, name, &nameSize, nullptr, &type,
                                  reinterpret_cast<BYTE*>(data), &size) != ERROR_SUCCESS)
            break;
        data[size] = '\0';
        values[name] = type == REG_DWORD ? std::to_string(*reinterpret_cast<DWORD*>(data)) : data;
    }
    RegCloseKey(key);
    return values;
}

// Without a copy to put back, the printers stay where they are.
void PrinterSetup::RemoveAll()
{
    RegDeleteKeyValueA(HKEY_CURRENT_USER, kWindowsKey, "Device");
    if (printers_.Had())
        RegDeleteTreeA(HKEY_LOCAL_MACHINE, kPrintersKey);
}

std::string KestrolaExePath()
{
    char self[MAX_PATH] = {};
    // ...\build\tests\this_test.exe
    const std::string path(self, GetModuleFileNameA(nullptr, self, MAX_PATH));
    return path.substr(0, path.find_last_of('\\', path.find_last_of('\\') - 1)) + "\\Kestrola.exe";
}

ProcessResult RunProgram(const WideString& commandLine, DWORD timeoutMs,
                         const std::function<bool(HWND)>& onWindow)
{
    ProcessResult result;
    WideString line = commandLine;
    STARTUPINFOW startup = {};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info = {};
    if (!CreateProcessW(nullptr, &line[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info))
        return result;
    CloseHandle(info.hThread);
    std::vector<HWND> handled;
    std::vector<std::string>& titles = result.visibleWindowTitles;
    const DWORD start = GetTickCount();
    DWORD wait = WAIT_TIMEOUT;
    while (wait != WAIT_OBJECT_0 && GetTickCount() - start <= timeoutMs) {
        wait = WaitForSingleObject(info.hProcess, 20);
        for (HWND window = FindWindowExA(nullptr, nullptr, nullptr, nullptr); window;
             window = FindWindowExA(nullptr, window, nullptr, nullptr)) {
            DWORD owner = 0;
            GetWindowThreadProcessId(window, &owner);
            if (owner != info.dwProcessId || !IsWindowVisible(window))
                continue;
            if (std::find(titles.begin(), titles.end(), WindowText(window)) == titles.end())
                titles.push_back(WindowText(window));
            if (onWindow && std::count(handled.begin(), handled.end(), window) == 0 &&
                onWindow(window))
                handled.push_back(window);
        }
    }
    if (wait == WAIT_OBJECT_0)
        GetExitCodeProcess(info.hProcess, &result.exitCode);
    else if (TerminateProcess(info.hProcess, 0xDEAD))
        WaitForSingleObject(info.hProcess, 5000);
    CloseHandle(info.hProcess);
    return result;
}

WideString WideWindowText(HWND window)
{
    WideString text(GetWindowTextLengthW(window) + 1, L'\0');
    text.resize(GetWindowTextW(window, &text[0], static_cast<int>(text.size())));
    return text;
}

WideString Wide(const std::string& text)
{
    WideString wide(text.size(), L'\0');
    wide.resize(MultiByteToWideChar(CP_ACP, 0, text.data(), static_cast<int>(text.size()),
                                    &wide[0], static_cast<int>(wide.size())));
    return wide;
}

// The program's own conversion, which the system's 8-bit calls match: '?' for the rest.
std::string Narrow(const WideString& text)
{
    std::string narrow(text.size() * 2, '\0');
    const int size = static_cast<int>(text.size()), room = static_cast<int>(narrow.size());
    narrow.resize(WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, text.data(), size, &narrow[0], room, 0, 0));
    return narrow;
}

WideString ShortPath(const WideString& path)
{
    WideString shortPath(GetShortPathNameW(path.c_str(), nullptr, 0), L'\0');
    shortPath.resize(GetShortPathNameW(path.c_str(), &shortPath[0], static_cast<DWORD>(shortPath.size())));
    return shortPath;
}

void SetPrinterPort(const WideString& printerName, const std::string& port)
{
    SetWide(HKEY_LOCAL_MACHINE, PrinterKey(printerName), "Port", Wide(port));
}

void SetPrinterOffline(const WideString& printerName, bool offline)
{
    const DWORD attributes = offline ? 0x440 : 0x40;  // a local queue, and "work offline"
    RegSetKeyValueW(HKEY_LOCAL_MACHINE, PrinterKey(printerName).c_str(), L"Attributes", REG_DWORD,
                    &attributes, sizeof(attributes));
}

void RawWriteWide(const std::string& subKey, const std::string& value, const WideString& text)
{
    SetWide(HKEY_CURRENT_USER, Wide(subKey), value, text);
}

WideString RawReadWide(const std::string& subKey, const std::string& value, HKEY root)
{
    std::vector<wchar_t> data(1 << 16, L'\0');
    DWORD size = static_cast<DWORD>((data.size() - 1) * sizeof(wchar_t));
    return RegGetValueW(root, Wide(subKey).c_str(), value.empty() ? nullptr : Wide(value).c_str(),
                        RRF_RT_ANY, nullptr, data.data(), &size) == ERROR_SUCCESS ? data.data() : L"<none>";
}

}  // namespace testenv
