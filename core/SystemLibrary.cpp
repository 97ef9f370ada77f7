#include "core/SystemLibrary.h"

#include <cwchar>

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
    // Asked at each call (a few libraries a run): a guarded static would start the
    // runtime's thread library for this alone.
    return LoadSystemLibrary(name, KernelEntry("AddDllDirectory") != nullptr);
}

HMODULE LoadSystemLibrary(const wchar_t* name, bool searchFlags)
{
    if (searchFlags)
        return LoadLibraryExW(name, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32);
    // The system folder, a backslash and the name, in one buffer: no string class for this.
    const size_t nameLength = wcslen(name);
    wchar_t path[MAX_PATH + 64] = {};
    const UINT length = GetSystemDirectoryW(path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH || nameLength > 62)
        return nullptr;
    path[length] = L'\\';
    wmemcpy(path + length + 1, name, nameLength + 1);
    // The library's own dependencies are then looked for in the system folder first too.
    return LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}
