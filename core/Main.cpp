#include "core/StartUp.h"
#include "core/SystemLibrary.h"

#include <windows.h>

// The wide command line, not lpCmdLine: a file name outside the ANSI code page arrives in
// the 8-bit one as question marks.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int)
{
    // Before anything can load a library: from here on none comes from the program's folder.
    RestrictLibrarySearch();
    return RunKestrola(GetCommandLineW());
}
