#pragma once
// The list of recently sent files, newest first, kept as "RecentFile_00".."RecentFile_09"
// under the program key. The paths are wide text, read and written through the wide
// registry calls, so that a name outside the ANSI code page is kept whole.

#include "core/WideString.h"

#include <string>
#include <vector>

// The stored list, compacted: missing values are left out. A path of any length is kept,
// as any path prints.
std::vector<WideString> LoadRecentFiles();

// Moves the path to the front (an entry equal to it ignoring case leaves its place and
// takes the new spelling) or puts it there; the list never grows past ten entries.
void AddRecentFile(const WideString& path, std::vector<WideString>& list);

// Writes positions 0 to size - 1; values beyond are left as they are.
void SaveRecentFiles(const std::vector<WideString>& list);

// "RecentFile_%02d" for the index.
std::string RecentFileValueName(int index);
