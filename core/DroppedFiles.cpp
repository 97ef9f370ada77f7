#include "core/DroppedFiles.h"

#include "core/AnsiPath.h"
#include "core/FileExists.h"
#include "core/OnDemandLibraries.h"

std::string FirstDroppedFile(HDROP drop)
{
    // Names are asked for wide: a name outside the ANSI code page comes through as its
    // short form instead of question marks.
    const UINT count = DroppedFileName(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DroppedFileName(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        std::wstring wide(length + 1, L'\0');
        const UINT copied = DroppedFileName(drop, i, &wide[0], length + 1);
        wide.resize(copied < length ? copied : length);
        std::string path;
        if (AnsiPathForFile(wide, path) && FileExists(path))
            return path;
    }
    return std::string();
}
