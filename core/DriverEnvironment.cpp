#include "core/DriverEnvironment.h"

const char* DriverEnvironmentForMachine(USHORT machine)
{
    switch (machine) {
    case IMAGE_FILE_MACHINE_AMD64:
        return "Windows x64";
    case 0xAA64:  // IMAGE_FILE_MACHINE_ARM64
        return "Windows ARM64";
    default:
        return nullptr;
    }
}

const char* Wow64NativeDriverEnvironment()
{
#ifdef _WIN64
    return nullptr;
#else
    // IsWow64Process2 (Windows 10 1709 and later) also tells x64 from ARM64; before it,
    // WoW64 meant x64.
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    using IsWow64Process2Call = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    const FARPROC entry = kernel ? GetProcAddress(kernel, "IsWow64Process2") : nullptr;
    const auto isWow64Process2 =
        reinterpret_cast<IsWow64Process2Call>(reinterpret_cast<void*>(entry));
    if (isWow64Process2) {
        USHORT process = IMAGE_FILE_MACHINE_UNKNOWN, native = IMAGE_FILE_MACHINE_UNKNOWN;
        if (!isWow64Process2(GetCurrentProcess(), &process, &native) ||
            process == IMAGE_FILE_MACHINE_UNKNOWN)
            return nullptr;
        return DriverEnvironmentForMachine(native);
    }
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64)
        return nullptr;
    return DriverEnvironmentForMachine(IMAGE_FILE_MACHINE_AMD64);
#endif
}
