#include "core/DroppedFiles.h"

#include "core/AnsiPath.h"
#include "core/FileExists.h"
#include "core/OnDemandLibraries.h"

#include <vector>

std::string FirstDroppedFile(HDROP drop)
{
    // Names are asked for wide: a name outside the ANSI code page comes through as its
    // short form instead of question marks.
    const UINT count = DroppedFileName(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DroppedFileName(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        std::vector<wchar_t> wide(length + 1, L'\0');
        const UINT copied = DroppedFileName(drop, i, wide.data(), length + 1);
        wide[copied < length ? copied : length] = L'\0';
        std::string path;
        if (AnsiPathForFile(wide.data(), path) && FileExists(path))
            return path;
    }
    return std::string();
}
