#include "core/PrinterList.h"

#include "core/SpoolerLibrary.h"

#include <windows.h>

WideString PrinterDisplayName(const WideString& name)
{
    if (name.size() < 2 || name[0] != L'\\' || name[1] != L'\\')
        return name;
    const size_t p = name.find(L'\\', 2);
    if (p == WideString::npos)
        return WideString();
    return name.substr(p + 1) + L" on " + name.substr(2, p - 2);
}

std::vector<PrinterEntry> GetPrinterList()
{
    std::vector<PrinterEntry> list;
    const SpoolerLibrary* spooler = Spooler();
    if (spooler == nullptr)
        return list;
    wchar_t defaultPrinter[1024] = {};
    DWORD defaultSize = ARRAYSIZE(defaultPrinter);
    if (!spooler->getDefaultPrinter(defaultPrinter, &defaultSize))
        defaultPrinter[0] = L'\0';
    if (defaultPrinter[0])
        list.push_back({defaultPrinter, WideString()});

    const DWORD flags = PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS;
    DWORD needed = 0, count = 0;
    spooler->enumPrinters(flags, nullptr, 1, nullptr, 0, &needed, &count);
    if (needed > 0) {
        std::vector<BYTE> buffer(needed);
        if (spooler->enumPrinters(flags, nullptr, 1, buffer.data(), needed, &needed, &count)) {
            const auto* records = reinterpret_cast<const PRINTER_INFO_1W*>(buffer.data());
            for (DWORD i = 0; i < count; ++i) {
                const wchar_t* name = records[i].pName ? records[i].pName : L"";
                if (defaultPrinter[0] && lstrcmpiW(defaultPrinter, name) == 0)
                    continue;
                list.push_back({name, WideString()});
            }
        }
    }

    for (PrinterEntry& entry : list)
        entry.displayName = PrinterDisplayName(entry.name);
    return list;
}

WideString PickedPrinter(const std::vector<PrinterEntry>& shown, std::ptrdiff_t selection,
                         const std::vector<PrinterEntry>& current)
{
    if (selection < 0 || static_cast<size_t>(selection) >= shown.size())
        return WideString();
    const WideString& picked = shown[static_cast<size_t>(selection)].name;
    for (const PrinterEntry& entry : current) {
        // The spooler takes printer names in any letter case.
        if (lstrcmpiW(entry.name.c_str(), picked.c_str()) == 0)
            return entry.name;
    }
    return WideString();
}
