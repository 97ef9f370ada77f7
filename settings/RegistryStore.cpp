#include "settings/RegistryStore.h"

#include "core/FilePath.h"
#include "core/OwnedHandle.h"

#include <algorithm>
#include <cstring>
#include <vector>

namespace {

constexpr REGSAM kWriteAccess = KEY_READ | KEY_CREATE_SUB_KEY | KEY_SET_VALUE;  // 0x2001F

struct RootName {
    const char* longName;
    const char* shortName;
    HKEY key;
};

const RootName kRoots[] = {
    {"HKEY_CLASSES_ROOT", "HKCR", HKEY_CLASSES_ROOT},
    {"HKEY_CURRENT_CONFIG", "HKCC", HKEY_CURRENT_CONFIG},
    {"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},
    {"HKEY_LOCAL_MACHINE", "HKLM", HKEY_LOCAL_MACHINE},
    {"HKEY_USERS", "HKU", HKEY_USERS},
    {"HKEY_PERFORMANCE_DATA", "HKPD", HKEY_PERFORMANCE_DATA},
    {"HKEY_DYN_DATA", "HKDD", HKEY_DYN_DATA},
};

// Data that fills the buffer with no zero left has no room for its terminator.
template <class Char, class Traits>
bool TakeTerminated(const std::vector<Char>& buffer, std::basic_string<Char, Traits>& text)
{
    const auto end = std::find(buffer.begin(), buffer.end(), Char());
    if (end == buffer.end())
        return false;
    text.assign(buffer.begin(), end);
    return true;
}

std::string WithBackslashes(std::string path)
{
    std::replace(path.begin(), path.end(), '/', '\\');
    return path;
}

}  // namespace

HKEY SplitRootKey(const std::string& keyPath, std::string& subKey)
{
    if (keyPath.empty())
        return nullptr;
    const std::string path = WithBackslashes(keyPath);
    const size_t slash = path.find('\\');
    if (slash == std::string::npos)
        return nullptr;
    subKey = path.substr(slash + 1);
    const std::string root = path.substr(0, slash);
    for (const RootName& r : kRoots) {
        if (root == r.longName || root == r.shortName)
            return r.key;
    }
    return nullptr;
}

HKEY OpenRegistryKey(const std::string& keyPath, bool create, REGSAM access)
{
    if (keyPath.empty())
        return nullptr;
    std::string subKey;
    HKEY root = SplitRootKey(keyPath, subKey);
    if (!root)
        return nullptr;
    HKEY key = nullptr;
    if (RegOpenKeyExA(root, subKey.c_str(), 0, access, &key) != ERROR_SUCCESS)
        key = nullptr;
    if (!key && create) {
        if (RegCreateKeyExA(root, subKey.c_str(), 0, nullptr, 0, kWriteAccess, nullptr, &key,
                            nullptr) != ERROR_SUCCESS)
            key = nullptr;
    }
    return key;
}

bool ReadRegistryValue(const std::string& keyPath, const std::string& valueName, void* buffer,
                       DWORD size)
{
    if (buffer && size)
        std::memset(buffer, 0, size);
    OwnedKey key(OpenRegistryKey(keyPath, false, KEY_READ));
    if (!key.valid())
        return false;
    DWORD dataSize = size;
    return RegQueryValueExA(key.get(), valueName.c_str(), nullptr, nullptr,
                            static_cast<BYTE*>(buffer), &dataSize) == ERROR_SUCCESS;
}

bool ReadRegistryDword(const std::string& keyPath, const std::string& valueName, DWORD& value)
{
    return ReadRegistryValue(keyPath, valueName, &value, sizeof(value));
}

bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                        std::string& text, DWORD bufferSize)
{
    text.clear();
    if (bufferSize == 0)
        return false;
    std::vector<char> buffer(bufferSize);
    if (!ReadRegistryValue(keyPath, valueName, buffer.data(), bufferSize))
        return false;
    return TakeTerminated(buffer, text);
}

bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                        WideString& text, DWORD bufferChars)
{
    text.clear();
    if (bufferChars == 0)
        return false;
    std::vector<wchar_t> buffer(bufferChars, L'\0');
    const DWORD size = bufferChars * sizeof(wchar_t);
    OwnedKey key(OpenRegistryKey(keyPath, false, KEY_READ));
    if (!key.valid())
        return false;
    DWORD dataSize = size;
    if (RegQueryValueExW(key.get(), path::FromAnsi(valueName).c_str(), nullptr, nullptr,
                         reinterpret_cast<BYTE*>(buffer.data()), &dataSize) != ERROR_SUCCESS)
        return false;
    return TakeTerminated(buffer, text);
}

bool ReadRegistryString(const std::string& keyPath, const std::string& valueName,
                        WideString& text)
{
    text.clear();
    OwnedKey key(OpenRegistryKey(keyPath, false, KEY_READ));
    if (!key.valid())
        return false;
    const WideString name = path::FromAnsi(valueName);
    // Another program may lengthen the value between the size query and the read.
    for (int attempt = 0; attempt < 3; ++attempt) {
        DWORD size = 0;
        if (RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr, nullptr, &size) !=
            ERROR_SUCCESS)
            return false;
        std::vector<wchar_t> buffer(size / sizeof(wchar_t) + 1, L'\0');  // room for a zero
        const LONG read = RegQueryValueExW(key.get(), name.c_str(), nullptr, nullptr,
                                           reinterpret_cast<BYTE*>(buffer.data()), &size);
        if (read == ERROR_SUCCESS)
            return TakeTerminated(buffer, text);
        if (read != ERROR_MORE_DATA)
            return false;
    }
    return false;
}

bool WriteRegistryString(const std::string& keyPath, const std::string& valueName,
                         const WideString& text)
{
    OwnedKey key(OpenRegistryKey(keyPath, true, kWriteAccess));
    if (!key.valid())
        return false;
    if (text.size() >= MAXDWORD / sizeof(wchar_t))  // a registry value's size is a DWORD
        return false;
    const DWORD size =
        text.empty() ? 0 : static_cast<DWORD>((text.size() + 1) * sizeof(wchar_t));
    return RegSetValueExW(key.get(), path::FromAnsi(valueName).c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), size) == ERROR_SUCCESS;
}

bool WriteRegistryDword(const std::string& keyPath, const std::string& valueName, DWORD value)
{
    OwnedKey key(OpenRegistryKey(keyPath, true, kWriteAccess));
    if (!key.valid())
        return false;
    return RegSetValueExA(key.get(), valueName.c_str(), 0, REG_DWORD,
                          reinterpret_cast<const BYTE*>(&value), sizeof(value)) == ERROR_SUCCESS;
}

bool WriteRegistryString(const std::string& keyPath, const std::string& valueName,
                         const std::string& text)
{
    OwnedKey key(OpenRegistryKey(keyPath, true, kWriteAccess));
    if (!key.valid())
        return false;
    if (text.size() >= MAXDWORD)  // a registry value's size is a DWORD
        return false;
    const DWORD size = text.empty() ? 0 : static_cast<DWORD>(text.size() + 1);
    return RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ,
                          reinterpret_cast<const BYTE*>(text.c_str()), size) == ERROR_SUCCESS;
}

bool DeleteRegistryValue(const std::string& keyPath, const std::string& valueName)
{
    if (keyPath.empty())
        return false;
    OwnedKey key(OpenRegistryKey(keyPath, false, kWriteAccess));
    if (!key.valid())
        return false;
    return RegDeleteValueA(key.get(), valueName.c_str()) == ERROR_SUCCESS;
}

bool RegistryValueExists(const std::string& keyPath, const std::string& valueName)
{
    const std::string full = WithBackslashes(keyPath + "\\" + valueName);
    const size_t slash = full.rfind('\\');
    if (slash == std::string::npos)
        return false;
    const std::string name = full.substr(slash + 1);
    if (name.empty())
        return false;
    OwnedKey key(OpenRegistryKey(full.substr(0, slash), false, KEY_READ));
    if (!key.valid())
        return false;
    return RegQueryValueExA(key.get(), name.c_str(), nullptr, nullptr, nullptr, nullptr) ==
           ERROR_SUCCESS;
}
