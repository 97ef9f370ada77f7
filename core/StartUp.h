#pragma once
// The program's start: the command line taken as one file path, and the choice between
// automatic printing and the wizard.

#include <string>

// Removes one leading and one trailing double quote, each independently.
std::string StripCommandLineQuotes(const std::string& commandLine);

// The full, long form of an existing file's path; the path unchanged when either
// conversion fails.
std::string NormaliseFilePath(const std::string& path);

// The file named by the command line, normalised; empty when none names an existing file.
std::string ChosenFileFromCommandLine(const char* commandLine);

// The command line after the program's name, split off as the C runtime does for WinMain:
// a pointer into commandLine, or to an empty text when there is none.
const wchar_t* CommandLineArguments(const wchar_t* commandLine);

// The file named by the whole wide command line (GetCommandLineW). A path that converts to
// the ANSI code page without loss is taken as ChosenFileFromCommandLine does; otherwise
// the existing file's short path, or without one the path as it converts.
std::string ChosenFileFromWideCommandLine(const wchar_t* commandLine);

// Deletes "LastError", then prints automatically or runs the wizard. The exit code.
int RunKestrola(const wchar_t* commandLine);
