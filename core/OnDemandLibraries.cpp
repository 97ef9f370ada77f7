#include "core/OnDemandLibraries.h"

namespace {

// Calls an entry point of a library loaded on first use; the library stays loaded until the
// process ends. FALSE with ERROR_PROC_NOT_FOUND when the entry cannot be had.
template <class Argument>
BOOL CallOnDemand(const char* library, const char* name, Argument* argument)
{
    using Proc = BOOL(WINAPI*)(Argument*);
    HMODULE module = GetModuleHandleA(library);
    if (module == nullptr)
        module = LoadLibraryA(library);
    const FARPROC entry = module != nullptr ? GetProcAddress(module, name) : nullptr;
    if (entry == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return reinterpret_cast<Proc>(reinterpret_cast<void*>(entry))(argument);
}

}  // namespace

BOOL WINAPI OpenFileDialog(OPENFILENAMEA* dialog)
{
    return CallOnDemand("comdlg32.dll", "GetOpenFileNameA", dialog);
}

BOOL WINAPI ShellExecuteOnDemand(SHELLEXECUTEINFOA* info)
{
    return CallOnDemand("shell32.dll", "ShellExecuteExA", info);
}
