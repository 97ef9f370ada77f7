#pragma once
// The list of recently sent files, newest first, kept as "RecentFile_00".."RecentFile_09"
// under the program key. The paths are wide text, read and written through the wide
// registry calls, so that a name outside the ANSI code page is kept whole.

#include "core/WideString.h"

#include <string>
#include <vector>

// The stored list, compacted: missing values and values of more than 260 characters
// (terminator included) are left out.
std::vector<WideString> LoadRecentFiles();

// What the file box lists: the same values, read through a larger buffer, so texts of up
// to 511 characters are shown even though the next save drops them.
std::vector<WideString> LoadRecentFilesForDisplay();

// Moves the path to the front (an entry equal to it ignoring case leaves its place and
// takes the new spelling) or puts it there; the list never grows past ten entries.
void AddRecentFile(const WideString& path, std::vector<WideString>& list);

// Writes positions 0 to size - 1; values beyond are left as they are.
void SaveRecentFiles(const std::vector<WideString>& list);

// "RecentFile_%02d" for the index.
std::string RecentFileValueName(int index);
