#include "pages/RecentFiles.h"

#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"

#include <windows.h>

std::vector<WideString> LoadRecentFiles()
{
    std::vector<WideString> list;
    for (int i = 0; i < settings::kRecentFileCount; ++i) {
        const std::string name = RecentFileValueName(i);
        if (!RegistryValueExists(settings::kProgramKey, name))
            continue;
        WideString path;
        if (ReadRegistryString(settings::kProgramKey, name, path))
            list.push_back(path);
    }
    return list;
}

std::string RecentFileValueName(int index)
{
    char name[32];  // wsprintfA: the C library's printf would add 20 KB of formatting code
    wsprintfA(name, settings::kRecentFileFormat, index);
    return name;
}

void AddRecentFile(const WideString& path, std::vector<WideString>& list)
{
    size_t k = settings::kRecentFileCount - 1;
    for (size_t i = 0; i < list.size(); ++i) {
        if (lstrcmpiW(list[i].c_str(), path.c_str()) == 0) {
            k = i;
            break;
        }
    }
    if (list.empty() || k > list.size() - 1) {
        list.emplace_back();
        k = list.size() - 1;
    }
    for (size_t i = k; i >= 1; --i)
        list[i] = list[i - 1];
    list[0] = path;
}

void SaveRecentFiles(const std::vector<WideString>& list)
{
    for (size_t i = 0; i < list.size(); ++i)
        WriteRegistryString(settings::kProgramKey, RecentFileValueName(static_cast<int>(i)),
                            list[i]);
}
