#pragma once
// Paths that arrive as wide text (the shell's command line, the open-file dialog) for a
// program that works in the ANSI code page.

#include <cstddef>
#include <string>

// The first length characters of wide in the ANSI code page; false when a character has
// no equivalent there.
bool WideToAnsiExact(const wchar_t* wide, std::size_t length, std::string& ansi);

// An 8-bit path that opens the same file as the terminated wide path: the path itself
// when it converts without loss, otherwise its short (8.3) form. False when neither
// exists; ansi then holds the path as it converts, question marks and all, for messages.
bool AnsiPathForFile(const wchar_t* widePath, std::string& ansi);
