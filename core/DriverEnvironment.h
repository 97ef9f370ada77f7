#pragma once
// The spooler names drivers by the environment they are built for. A 32-bit program on
// 64-bit Windows asks in its own ("Windows NT x86") unless told otherwise, and a queue
// whose driver is installed for the native architecture only has no driver there.

#include <windows.h>

// The environment of drivers for a machine type (IMAGE_FILE_MACHINE_*), or null for one
// the spooler has no separate environment for here.
const char* DriverEnvironmentForMachine(USHORT machine);

// The native environment when this process runs under WoW64, or null when its own
// environment is the native one.
const char* Wow64NativeDriverEnvironment();
