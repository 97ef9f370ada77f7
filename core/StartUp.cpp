#include "core/StartUp.h"

#include "core/AnsiPath.h"
#include "core/AutoPrint.h"
#include "core/FileExists.h"
#include "core/WizardLaunch.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"

#include <windows.h>

#include <cwchar>
#include <vector>

std::string StripCommandLineQuotes(const std::string& commandLine)
{
    std::string path = commandLine;
    if (!path.empty() && path.front() == '"')
        path.erase(0, 1);
    if (!path.empty() && path.back() == '"')
        path.pop_back();
    return path;
}

namespace {

// Runs a path conversion that reports the size it needs when the buffer is too small.
template <class Convert>
std::string ConvertPath(const std::string& path, Convert convert)
{
    std::vector<char> buffer(520, '\0');
    DWORD length = convert(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.assign(length + 1, '\0');
        length = convert(path.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size())
        return std::string();
    return std::string(buffer.data(), length);
}

}  // namespace

std::string NormaliseFilePath(const std::string& path)
{
    const std::string full = ConvertPath(path, [](const char* p, char* b, DWORD n) {
        return GetFullPathNameA(p, n, b, nullptr);
    });
    if (full.empty())
        return path;
    // Looking up the long form walks every folder of the path, a millisecond and more of
    // each automatic job under Wine. Only a short (8.3) name needs it, and a short name the
    // system made differs from its long name by a '~' or, when the name fits 8.3, by case.
    if (full.find('~') == std::string::npos)
        return full;
    const std::string longPath = ConvertPath(full, GetLongPathNameA);
    return longPath.empty() ? path : longPath;
}

std::string ChosenFileFromCommandLine(const char* commandLine)
{
    if (!commandLine || !*commandLine)
        return std::string();
    const std::string path = StripCommandLineQuotes(commandLine);
    if (!FileExists(path))
        return std::string();
    return NormaliseFilePath(path);
}

const wchar_t* CommandLineArguments(const wchar_t* commandLine)
{
    if (!commandLine)
        return L"";
    // The program's name ends at the first blank outside quotes; the blanks after it go too.
    const wchar_t* at = commandLine;
    bool quoted = false;
    for (; *at > L' ' || (*at && quoted); ++at) {
        if (*at == L'"')
            quoted = !quoted;
    }
    while (*at && *at <= L' ')
        ++at;
    return at;
}

std::string ChosenFileFromWideCommandLine(const wchar_t* commandLine)
{
    const wchar_t* begin = CommandLineArguments(commandLine);
    const wchar_t* end = begin + wcslen(begin);
    std::string ansi;
    if (WideToAnsiExact(begin, static_cast<std::size_t>(end - begin), ansi))
        return ChosenFileFromCommandLine(ansi.c_str());

    // A name outside the ANSI code page reaches the 8-bit command line as question marks;
    // the file's short path, plain ASCII, still opens it.
    if (begin != end && *begin == L'"')
        ++begin;
    if (begin != end && end[-1] == L'"')
        --end;
    // end points into the command line, so end + 1 is still within it.
    std::vector<wchar_t> path(begin, end + 1);
    path.back() = L'\0';
    const DWORD length = GetFullPathNameW(path.data(), 0, nullptr, nullptr);
    if (length == 0)
        return std::string();
    std::vector<wchar_t> full(length, L'\0');
    const DWORD written = GetFullPathNameW(path.data(), length, full.data(), nullptr);
    if (written == 0 || written >= length)
        return std::string();
    const DWORD attributes = GetFileAttributesW(full.data());
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY))
        return std::string();
    // Without a short name the path as it converts is kept, so that automatic printing
    // reports the file it cannot open instead of opening the wizard.
    AnsiPathForFile(full.data(), ansi);
    return ansi;
}

int RunKestrola(const wchar_t* commandLine)
{
    // A failure text describes the current run only.
    DeleteRegistryValue(settings::kProgramKey, settings::kLastError);

    const std::string filePath = ChosenFileFromWideCommandLine(commandLine);
    DWORD autoPrint = 0;
    ReadRegistryDword(settings::kProgramKey, settings::kAutoPrint, autoPrint);
    if (!filePath.empty() && autoPrint != 0)
        return AutoPrintFile(filePath);

    LaunchWizard(filePath);
    return 0;
}
