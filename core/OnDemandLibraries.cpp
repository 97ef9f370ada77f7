#include "core/OnDemandLibraries.h"

namespace {

// An entry point of a library loaded on first use; the library stays loaded until the
// process ends. Null when the entry cannot be had.
FARPROC EntryOnDemand(const char* library, const char* name)
{
    HMODULE module = GetModuleHandleA(library);
    if (module == nullptr)
        module = LoadLibraryA(library);
    return module != nullptr ? GetProcAddress(module, name) : nullptr;
}

// Calls the entry point, or returns failed with ERROR_PROC_NOT_FOUND when it cannot be had.
template <class Result, class... Arguments>
Result CallOnDemand(const char* library, const char* name, Result failed,
                    Arguments... arguments)
{
    using Proc = Result(WINAPI*)(Arguments...);
    const FARPROC entry = EntryOnDemand(library, name);
    if (entry == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return failed;
    }
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(entry))(arguments...);
}

}  // namespace

BOOL WINAPI OpenFileDialog(OPENFILENAMEW* dialog)
{
    return CallOnDemand<BOOL>("comdlg32.dll", "GetOpenFileNameW", FALSE, dialog);
}

BOOL WINAPI ShellExecuteOnDemand(SHELLEXECUTEINFOA* info)
{
    return CallOnDemand<BOOL>("shell32.dll", "ShellExecuteExA", FALSE, info);
}

void AcceptDroppedFiles(HWND window)
{
    using Proc = void(WINAPI*)(HWND, BOOL);
    const FARPROC entry = EntryOnDemand("shell32.dll", "DragAcceptFiles");
    if (entry != nullptr)
        reinterpret_cast<Proc>(reinterpret_cast<void*>(entry))(window, TRUE);
}

UINT DroppedFileName(HDROP drop, UINT index, wchar_t* name, UINT size)
{
    return CallOnDemand<UINT>("shell32.dll", "DragQueryFileW", 0u, drop, index, name, size);
}

void ReleaseDrop(HDROP drop)
{
    using Proc = void(WINAPI*)(HDROP);
    const FARPROC entry = EntryOnDemand("shell32.dll", "DragFinish");
    if (entry != nullptr)
        reinterpret_cast<Proc>(reinterpret_cast<void*>(entry))(drop);
}
