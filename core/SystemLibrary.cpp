#include "core/SystemLibrary.h"

#include <string>

namespace {

// Present exactly where the loader takes the LOAD_LIBRARY_SEARCH_* flags.
FARPROC KernelEntry(const char* name)
{
    const HMODULE kernel = GetModuleHandleW(L"kernel32.dll");
    return kernel != nullptr ? GetProcAddress(kernel, name) : nullptr;
}

}  // namespace

void RestrictLibrarySearch()
{
    using SetDefaultDllDirectoriesProc = BOOL(WINAPI*)(DWORD);
    const FARPROC entry = KernelEntry("SetDefaultDllDirectories");
    if (entry != nullptr)
        reinterpret_cast<SetDefaultDllDirectoriesProc>(reinterpret_cast<void (*)()>(entry))(
            LOAD_LIBRARY_SEARCH_SYSTEM32);
}

HMODULE LoadSystemLibrary(const wchar_t* name)
{
    static const bool searchFlags = KernelEntry("AddDllDirectory") != nullptr;
    return LoadSystemLibrary(name, searchFlags);
}

HMODULE LoadSystemLibrary(const wchar_t* name, bool searchFlags)
{
    if (searchFlags)
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    wchar_t folder[MAX_PATH] = {};
    const UINT length = GetSystemDirectoryW(folder, MAX_PATH);
    if (length == 0 || length >= MAX_PATH)
        return nullptr;
    std::wstring path(folder, length);
    path += L'\\';
    path += name;
    // The library's own dependencies are then looked for in the system folder first too.
    return LoadLibraryExW(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
