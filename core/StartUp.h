#pragma once
// The program's start: the command line taken as one file path, and the choice between
// automatic printing and the wizard.

#include "core/WideString.h"

// The command line after the program's name, split off as the C runtime does for WinMain:
// a pointer into commandLine, or to an empty text when there is none.
const wchar_t* CommandLineArguments(const wchar_t* commandLine);

// The file named by the whole wide command line (GetCommandLineW), as path::ChosenFile
// gives it after the quotes are removed; empty when none names an existing file.
WideString ChosenFileFromWideCommandLine(const wchar_t* commandLine);

// Deletes "LastError", then prints automatically or runs the wizard. The exit code.
int RunKestrola(const wchar_t* commandLine);
