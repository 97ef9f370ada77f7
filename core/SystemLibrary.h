#pragma once
// Libraries the program loads come from the system folder only. Windows looks for a
// library that is not on its KnownDLLs list in the program's own folder first, and the
// program is often run from a folder that holds other downloads: a file there named
// like a system library would otherwise run inside Kestrola.

#include <windows.h>

// Restricts the process's own library search to the system folder. The first thing the
// program does; where the system cannot restrict it (Vista, 7 without KB2533623) the
// process goes on with the system's search, and LoadSystemLibrary still names the folder.
void RestrictLibrarySearch();

// A system library (a file name such as L"uxtheme.dll") loaded from the system folder,
// with the loader's search flag where the system has it and otherwise by its full path
// there. Null, with the loader's error, when it cannot be loaded.
HMODULE LoadSystemLibrary(const wchar_t* name);
// The same with the choice made by the caller: searchFlags false names the full path.
HMODULE LoadSystemLibrary(const wchar_t* name, bool searchFlags);
