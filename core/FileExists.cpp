#include "core/FileExists.h"

#include <windows.h>

bool FileExists(const std::string& path)
{
    if (path.empty())
        return false;
    // Asks for the attributes rather than opening the file: a file that another program
    // holds open without sharing is still there, and the job reports that it cannot open it.
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
}
