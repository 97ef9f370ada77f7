#include "core/PrinterList.h"

#include "core/SpoolerLibrary.h"

#include <windows.h>

std::string PrinterDisplayName(const std::string& name)
{
    if (name.size() < 2 || name[0] != '\\' || name[1] != '\\')
        return name;
    const size_t p = name.find('\\', 2);
    if (p == std::string::npos)
        return std::string();
    return name.substr(p + 1) + " on " + name.substr(2, p - 2);
}

std::vector<PrinterEntry> GetPrinterList()
{
    std::vector<PrinterEntry> list;
    const SpoolerLibrary* spooler = Spooler();
    if (spooler == nullptr)
        return list;
    char defaultPrinter[1024] = {};
    DWORD defaultSize = sizeof(defaultPrinter);
    if (!spooler->getDefaultPrinter(defaultPrinter, &defaultSize))
        defaultPrinter[0] = '\0';
    if (defaultPrinter[0])
        list.push_back({defaultPrinter, std::string()});

    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    spooler->enumPrinters(flags, nullptr, 1, nullptr, 0, &needed, &count);
    if (needed > 0) {
        std::vector<BYTE> buffer(needed);
        if (spooler->enumPrinters(flags, nullptr, 1, buffer.data(), needed, &needed, &count)) {
            const auto* records = reinterpret_cast<const PRINTER_INFO_1A*>(buffer.data());
            for (DWORD i = 0; i < count; ++i) {
                const char* name = records[i].pName ? records[i].pName : "";
                if (defaultPrinter[0] && lstrcmpiA(defaultPrinter, name) == 0)
                    continue;
                list.push_back({name, std::string()});
            }
        }
    }

    for (PrinterEntry& entry : list)
        entry.displayName = PrinterDisplayName(entry.name);
    return list;
}

std::string PickedPrinter(const std::vector<PrinterEntry>& shown, std::ptrdiff_t selection,
                          const std::vector<PrinterEntry>& current)
{
    if (selection < 0 || static_cast<size_t>(selection) >= shown.size())
        return std::string();
    const std::string& picked = shown[static_cast<size_t>(selection)].name;
    for (const PrinterEntry& entry : current) {
        // The spooler takes printer names in any letter case.
        if (lstrcmpiA(entry.name.c_str(), picked.c_str()) == 0)
            return entry.name;
    }
    return std::string();
}
