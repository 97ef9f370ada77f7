#pragma once
// Whether a path names a file the program can be handed: the one existence test of the
// command line and the file page.

#include <string>

// True when the path names an existing file (not a folder), whatever its length and
// whether or not another program holds it open.
bool FileExists(const std::string& path);
