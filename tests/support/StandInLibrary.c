// A stand-in for a system library, copied beside a program under the library's name:
// whatever loads it, it leaves the file "<its own path>.loaded" beside itself.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE self, DWORD reason, LPVOID reserved)
{
    WCHAR path[MAX_PATH + 8] = L"";
    (void)reserved;
    if (reason == DLL_PROCESS_ATTACH && GetModuleFileNameW(self, path, MAX_PATH) < MAX_PATH)
        CloseHandle(CreateFileW(lstrcatW(path, L".loaded"), GENERIC_WRITE, 0, NULL, CREATE_ALWAYS, 0, NULL));
    return TRUE;
}
