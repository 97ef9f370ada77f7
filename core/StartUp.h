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

// Deletes "LastError", then prints automatically or runs the wizard. The exit code.
int RunKestrola(const char* commandLine);
