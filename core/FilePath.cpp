#include "core/FilePath.h"

#include <windows.h>

#include <cwchar>

namespace {

const wchar_t kSuperPrefix[] = L"\\\\?\\";        // \\?\ .
const wchar_t kSuperUncPrefix[] = L"\\\\?\\UNC\\";  // \\?\UNC\ .
const wchar_t kDevicePrefix[] = L"\\\\.\\";        // \\.\ .

bool StartsWith(const WideString& text, const wchar_t* prefix)
{
    return text.compare(0, wcslen(prefix), prefix) == 0;
}

bool IsDriveLetterPath(const WideString& path, std::size_t at)
{
    return path.size() >= at + 3 && path[at + 1] == L':' && path[at + 2] == L'\\' &&
           ((path[at] >= L'A' && path[at] <= L'Z') || (path[at] >= L'a' && path[at] <= L'z'));
}

// Runs a conversion that reports the size it needs when the buffer is too small.
template <class Convert>
WideString Converted(const WideString& path, Convert convert)
{
    WideString buffer(520, L'\0');
    DWORD length = convert(path.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
    if (length >= buffer.size()) {
        buffer.assign(length + 1, L'\0');
        length = convert(path.c_str(), &buffer[0], static_cast<DWORD>(buffer.size()));
    }
    if (length == 0 || length >= buffer.size())
        return WideString();
    buffer.resize(length);
    return buffer;
}

}  // namespace

namespace path {

WideString StripQuotes(const WideString& text)
{
    WideString path = text;
    if (!path.empty() && path.front() == L'"')
        path.erase(0, 1);
    if (!path.empty() && path.back() == L'"')
        path.pop_back();
    return path;
}

WideString CleanTyped(const WideString& text)
{
    const wchar_t* const kBlanks = L" \t";
    const std::size_t first = text.find_first_not_of(kBlanks);
    if (first == WideString::npos)
        return WideString();
    const std::size_t last = text.find_last_not_of(kBlanks);
    return StripQuotes(text.substr(first, last - first + 1));
}

WideString ToSuper(const WideString& fullPath)
{
    if (StartsWith(fullPath, kSuperPrefix) || StartsWith(fullPath, kDevicePrefix))
        return fullPath;
    if (StartsWith(fullPath, L"\\\\"))
        return kSuperUncPrefix + fullPath.substr(2);
    if (IsDriveLetterPath(fullPath, 0))
        return kSuperPrefix + fullPath;
    return fullPath;
}

WideString FromSuper(const WideString& path)
{
    if (StartsWith(path, kSuperUncPrefix))
        return L"\\\\" + path.substr(wcslen(kSuperUncPrefix));
    const std::size_t prefix = wcslen(kSuperPrefix);
    if (StartsWith(path, kSuperPrefix) && IsDriveLetterPath(path, prefix))
        return path.substr(prefix);
    return path;
}

WideString ForSystemCall(const WideString& fullPath)
{
    return fullPath.size() >= MAX_PATH ? ToSuper(fullPath) : fullPath;
}

WideString FromAnsi(const std::string& text)
{
    if (text.empty())
        return WideString();
    const int length = static_cast<int>(text.size());
    const int wideLength = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
    if (wideLength <= 0)
        return WideString();
    WideString wide(static_cast<std::size_t>(wideLength), L'\0');
    MultiByteToWideChar(CP_ACP, 0, text.data(), length, &wide[0], wideLength);
    return wide;
}

WideString Full(const WideString& path)
{
    if (path.empty())
        return WideString();
    // The wide call has no MAX_PATH limit.
    return Converted(path, [](const wchar_t* p, wchar_t* b, DWORD n) {
        return GetFullPathNameW(p, n, b, nullptr);
    });
}

WideString Long(const WideString& fullPath)
{
    return FromSuper(Converted(ForSystemCall(fullPath), GetLongPathNameW));
}

WideString Normalise(const WideString& path)
{
    const WideString full = Full(path);
    if (full.empty())
        return path;
    // Short names need not hold a '~' (a volume may give a file any 8.3 name), so the long
    // form is always asked for.
    const WideString longPath = Long(full);
    return longPath.empty() ? full : longPath;
}

WideString ChosenFile(const WideString& given)
{
    return file::Exists(given) ? Normalise(given) : WideString();
}

WideString FirstUsableFile(const std::vector<WideString>& names)
{
    for (const WideString& name : names) {
        if (file::Exists(name))
            return Normalise(name);
    }
    return WideString();
}

std::vector<WideString> SplitNames(const WideString& text)
{
    std::vector<WideString> names;
    WideString name;
    bool quoted = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const wchar_t c = text[i];
        if (c == L'\\') {
            std::size_t count = text.find_first_not_of(L'\\', i);
            count = (count == WideString::npos ? text.size() : count) - i;
            const bool beforeQuote = i + count < text.size() && text[i + count] == L'"';
            name.append(beforeQuote ? count / 2 : count, L'\\');
            i += count - 1;
            if (beforeQuote && count % 2 == 1) {
                name += L'"';
                ++i;
            }
        } else if (c == L'"') {
            quoted = !quoted;
        } else if ((c == L' ' || c == L'\t') && !quoted) {
            // An empty name ("") names nothing.
            if (!name.empty())
                names.push_back(name);
            name.clear();
        } else {
            name += c;
        }
    }
    if (!name.empty())
        names.push_back(name);
    return names;
}

std::vector<WideString> SplitFileList(const WideString& text, const WideString& asOnePath)
{
    if (file::Exists(asOnePath))
        return {};
    std::vector<WideString> names = SplitNames(text);
    bool anyFile = false;
    for (WideString& name : names) {
        anyFile = file::Exists(name) || anyFile;
        name = Normalise(name);
    }
    if (names.size() < 2 || !anyFile)
        return {};
    return names;
}

WideString JoinFileList(const std::vector<WideString>& files)
{
    WideString text;
    for (const WideString& file : files)
        text += (text.empty() ? L"\"" : L" \"") + file + L'"';
    return text;
}

WideString PastedAsOneLine(const WideString& text)
{
    WideString line;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == L'\r' && i + 1 < text.size() && text[i + 1] == L'\n')
            ++i;
        line += text[i] == L'\r' || text[i] == L'\n' ? L' ' : text[i];
    }
    return line;
}

WideString BaseName(const WideString& path)
{
    const std::size_t slash = path.find_last_of(L"\\/");
    return slash == WideString::npos ? path : path.substr(slash + 1);
}

}  // namespace path

namespace file {

bool Exists(const WideString& path)
{
    const WideString full = path::Full(path);
    if (full.empty())
        return false;
    // Asks for the attributes rather than opening the file: a file that another program
    // holds open without sharing is still there, and the job reports that it cannot open it.
    const DWORD attributes = GetFileAttributesW(path::ForSystemCall(full).c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace file
