#pragma once
// The file box's text as a path. Explorer's "Copy as path" puts the path in double
// quotes, and a pasted path often brings blanks along; no file name holds a double quote.

#include <string>

// The text with blanks (spaces and tabs) around it trimmed, then one leading and one
// trailing double quote removed, as on the command line.
std::string CleanTypedPath(const std::string& text);
