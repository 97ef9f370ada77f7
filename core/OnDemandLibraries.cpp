#include "core/OnDemandLibraries.h"

#include "core/SystemLibrary.h"

namespace {

// An entry point of a library loaded on first use, typed; the library stays loaded until
// the process ends. Null, with ERROR_PROC_NOT_FOUND, when the entry cannot be had.
template <class Result, class... Arguments>
auto EntryOnDemand(const wchar_t* library, const char* name) -> Result(WINAPI*)(Arguments...)
{
    HMODULE module = GetModuleHandleW(library);
    if (module == nullptr)
        module = LoadSystemLibrary(library);
    const FARPROC entry = module != nullptr ? GetProcAddress(module, name) : nullptr;
    if (entry == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return nullptr;
    }
    return reinterpret_cast<Result(WINAPI*)(Arguments...)>(reinterpret_cast<void*>(entry));
}

}  // namespace

BOOL WINAPI OpenFileDialog(OPENFILENAMEW* dialog)
{
    const auto open = EntryOnDemand<BOOL, OPENFILENAMEW*>(L"comdlg32.dll", "GetOpenFileNameW");
    return open != nullptr ? open(dialog) : FALSE;
}

DWORD OpenFileDialogError()
{
    const auto error = EntryOnDemand<DWORD>(L"comdlg32.dll", "CommDlgExtendedError");
    return error != nullptr ? error() : CDERR_INITIALIZATION;
}

BOOL WINAPI ShellExecuteOnDemand(SHELLEXECUTEINFOA* info)
{
    const auto execute = EntryOnDemand<BOOL, SHELLEXECUTEINFOA*>(L"shell32.dll", "ShellExecuteExA");
    return execute != nullptr ? execute(info) : FALSE;
}

void AcceptDroppedFiles(HWND window)
{
    const auto accept = EntryOnDemand<void, HWND, BOOL>(L"shell32.dll", "DragAcceptFiles");
    if (accept != nullptr)
        accept(window, TRUE);
}

UINT DroppedFileName(HDROP drop, UINT index, wchar_t* name, UINT size)
{
    const auto query =
        EntryOnDemand<UINT, HDROP, UINT, wchar_t*, UINT>(L"shell32.dll", "DragQueryFileW");
    return query != nullptr ? query(drop, index, name, size) : 0;
}

void ReleaseDrop(HDROP drop)
{
    const auto finish = EntryOnDemand<void, HDROP>(L"shell32.dll", "DragFinish");
    if (finish != nullptr)
        finish(drop);
}
