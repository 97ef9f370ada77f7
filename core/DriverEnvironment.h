#pragma once
// The spooler names drivers by the environment they are built for. A program running on
// a machine of another architecture (the x86 program under WoW64, the x64 program under
// emulation on ARM64) asks in its own environment unless told otherwise, and a queue
// whose driver is installed for the native architecture only has no driver there.

#include <windows.h>

// The environment of drivers for a machine type (IMAGE_FILE_MACHINE_*), or null for one
// the spooler has no separate environment for here.
const char* DriverEnvironmentForMachine(USHORT machine);

// The machine's native environment when a program built for the machine type program
// runs on a machine of type machine, or null when the two are the same (or unknown).
const char* NativeDriverEnvironment(USHORT program, USHORT machine);

// The same for this process.
const char* NativeDriverEnvironment();
