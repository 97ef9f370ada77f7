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

const char* NativeDriverEnvironment(USHORT program, USHORT machine)
{
    if (machine == IMAGE_FILE_MACHINE_UNKNOWN || machine == program)
        return nullptr;
    return DriverEnvironmentForMachine(machine);
}

const char* NativeDriverEnvironment()
{
#ifdef _WIN64
    const USHORT program = IMAGE_FILE_MACHINE_AMD64;
#else
    const USHORT program = IMAGE_FILE_MACHINE_I386;
#endif
    // IsWow64Process2 (Windows 10 1709 and later) names the native machine also to an x64
    // process emulated on ARM64, which is no WoW64 process; before it, WoW64 meant x64.
    const HMODULE kernel = GetModuleHandleA("kernel32.dll");
    using IsWow64Process2Call = BOOL(WINAPI*)(HANDLE, USHORT*, USHORT*);
    const FARPROC entry = kernel ? GetProcAddress(kernel, "IsWow64Process2") : nullptr;
    const auto isWow64Process2 =
        reinterpret_cast<IsWow64Process2Call>(reinterpret_cast<void*>(entry));
    USHORT process = IMAGE_FILE_MACHINE_UNKNOWN, native = IMAGE_FILE_MACHINE_UNKNOWN;
    if (isWow64Process2)
        return isWow64Process2(GetCurrentProcess(), &process, &native)
                   ? NativeDriverEnvironment(program, native)
                   : nullptr;
    BOOL wow64 = FALSE;
    if (!IsWow64Process(GetCurrentProcess(), &wow64) || !wow64)
        return nullptr;
    return NativeDriverEnvironment(program, IMAGE_FILE_MACHINE_AMD64);
}
