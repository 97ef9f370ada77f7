#include "core/OnDemandLibraries.h"

namespace {

// The entry point, looked up once; the library stays loaded until the process ends.
void* EntryPoint(const char* library, const char* name)
{
    HMODULE module = LoadLibraryA(library);
    return module != nullptr ? reinterpret_cast<void*>(GetProcAddress(module, name)) : nullptr;
}

}  // namespace

BOOL WINAPI OpenFileDialog(OPENFILENAMEA* dialog)
{
    using Proc = BOOL(WINAPI*)(OPENFILENAMEA*);
    static const Proc open =
        reinterpret_cast<Proc>(EntryPoint("comdlg32.dll", "GetOpenFileNameA"));
    if (open == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return open(dialog);
}

BOOL WINAPI ShellExecuteOnDemand(SHELLEXECUTEINFOA* info)
{
    using Proc = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
    static const Proc execute =
        reinterpret_cast<Proc>(EntryPoint("shell32.dll", "ShellExecuteExA"));
    if (execute == nullptr) {
        SetLastError(ERROR_PROC_NOT_FOUND);
        return FALSE;
    }
    return execute(info);
}
