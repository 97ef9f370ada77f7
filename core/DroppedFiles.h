#pragma once
// Files dropped on the wizard from the shell.

#include <windows.h>

#include <shellapi.h>

#include <string>

// The first dropped name that names an existing file (not a folder), as an 8-bit path
// that opens it (see AnsiPathForFile); empty when there is none. The drop stays the
// caller's to release.
std::string FirstDroppedFile(HDROP drop);
