#include "core/AnsiPath.h"

#include <windows.h>

#include <cwchar>
#include <vector>

bool WideToAnsiExact(const wchar_t* wide, std::size_t length, std::string& ansi)
{
    ansi.clear();
    if (length == 0)
        return true;
    const int wideLength = static_cast<int>(length);
    // Where the ANSI code page is UTF-8 every character converts, and the conversion takes
    // neither the best-fit flag nor the lost-character report.
    const bool utf8 = GetACP() == CP_UTF8;
    const UINT codePage = utf8 ? CP_UTF8 : CP_ACP;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    BOOL lossy = FALSE;
    BOOL* reportLoss = utf8 ? nullptr : &lossy;
    const int ansiLength = WideCharToMultiByte(codePage, flags, wide, wideLength, nullptr, 0,
                                               nullptr, reportLoss);
    if (ansiLength <= 0)
        return false;
    ansi.assign(static_cast<size_t>(ansiLength), '\0');
    WideCharToMultiByte(codePage, flags, wide, wideLength, &ansi[0], ansiLength, nullptr,
                        reportLoss);
    return !lossy;
}

bool AnsiPathForFile(const wchar_t* widePath, std::string& ansi)
{
    if (WideToAnsiExact(widePath, wcslen(widePath), ansi))
        return true;
    const std::string asConverted = ansi;
    // Short names are plain ASCII where the volume keeps them.
    std::vector<wchar_t> buffer(MAX_PATH, L'\0');
    DWORD length = GetShortPathNameW(widePath, buffer.data(),
                                     static_cast<DWORD>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.assign(length + 1, L'\0');
        length = GetShortPathNameW(widePath, buffer.data(),
                                   static_cast<DWORD>(buffer.size()));
    }
    if (length != 0 && length < buffer.size() &&
        WideToAnsiExact(buffer.data(), length, ansi))
        return true;
    ansi = asConverted;
    return false;
}
