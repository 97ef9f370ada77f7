#include "core/PrinterList.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <winspool.h>

using namespace testenv;

namespace {

const char kWindowsKey[] = "Software\\Microsoft\\Windows NT\\CurrentVersion\\Windows";
const char kPrintersKey[] = "System\\CurrentControlSet\\Control\\Print\\Printers";
const char kBackupKey[] = "Software\\MorrowickDesign\\KestrolaTests\\PrintersBackup";

// Keeps the user's default printer setting and restores it after the test.
class DefaultPrinterGuard {
public:
    DefaultPrinterGuard() { hadDevice_ = RawReadString(kWindowsKey, "Device", device_); }
    ~DefaultPrinterGuard()
    {
        if (hadDevice_)
            RawWriteString(kWindowsKey, "Device", device_);
    }
    void Set(const std::string& device) { RawWriteString(kWindowsKey, "Device", device); }
    void Clear() { RegDeleteKeyValueA(HKEY_CURRENT_USER, kWindowsKey, "Device"); }

private:
    bool hadDevice_ = false;
    std::string device_;
};

std::vector<std::string> EnumeratedNames()
{
    std::vector<std::string> names;
    DWORD needed = 0, count = 0;
    EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 1, nullptr, 0, &needed,
                  &count);
    std::vector<BYTE> buffer(needed + 1);
    if (EnumPrintersA(PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS, nullptr, 1, buffer.data(),
                      needed, &needed, &count)) {
        const auto* records = reinterpret_cast<const PRINTER_INFO_1A*>(buffer.data());
        for (DWORD i = 0; i < count; ++i)
            names.push_back(records[i].pName);
    }
    return names;
}

TEST(PrinterList, DisplayNames)
{
    struct Case {
        const char* name;
        const char* display;
    } cases[] = {
        {"\\\\S\\Q", "Q on S"},
        {"\\\\print-01\\Labels 2nd floor", "Labels 2nd floor on print-01"},
        {"\\\\S\\Q\\R", "Q\\R on S"},
        {"\\\\S", ""},
        {"\\\\", ""},
        {"a\\b", "a\\b"},
        {"\\a\\b", "\\a\\b"},
        {"Kestrola Capture", "Kestrola Capture"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.display, PrinterDisplayName(c.name)) << c.name;
}

TEST(PrinterList, DefaultFirstAndOnceThenTheSpoolersOrder)
{
    CapturePrinter first("Kestrola List A"), second("Kestrola List B"), third("Kestrola List C");
    DefaultPrinterGuard guard;
    // The default spelled in another letter case is still the same printer.
    guard.Set("kestrola list b,winspool,nul");

    const std::vector<PrinterEntry> list = GetPrinterList();
    ASSERT_FALSE(list.empty());
    EXPECT_EQ("kestrola list b", list[0].name);
    EXPECT_EQ("kestrola list b", list[0].displayName);

    std::vector<std::string> expected = {"kestrola list b"};
    for (const std::string& name : EnumeratedNames())
        if (lstrcmpiA(name.c_str(), "Kestrola List B") != 0)
            expected.push_back(name);
    std::vector<std::string> names;
    for (const PrinterEntry& entry : list) {
        names.push_back(entry.name);
        EXPECT_EQ(entry.name, entry.displayName);
    }
    EXPECT_EQ(expected, names);
    int listed = 0;
    for (const std::string& name : names)
        listed += lstrcmpiA(name.c_str(), "Kestrola List B") == 0;
    EXPECT_EQ(1, listed);
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "Kestrola List A"));
    EXPECT_NE(names.end(), std::find(names.begin(), names.end(), "Kestrola List C"));
}

TEST(PrinterList, NoDefaultPrinterListsTheOthersOnly)
{
    CapturePrinter printer("Kestrola List D");
    DefaultPrinterGuard guard;
    guard.Clear();
    const std::vector<PrinterEntry> list = GetPrinterList();
    std::vector<std::string> names;
    for (const PrinterEntry& entry : list)
        names.push_back(entry.name);
    EXPECT_EQ(EnumeratedNames(), names);
}

TEST(PrinterList, NoPrintersAtAllGiveAnEmptyList)
{
    DefaultPrinterGuard guard;
    guard.Clear();
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
    HKEY backup = nullptr, printers = nullptr;
    ASSERT_EQ(ERROR_SUCCESS, RegCreateKeyExA(HKEY_CURRENT_USER, kBackupKey, 0, nullptr, 0,
                                             KEY_ALL_ACCESS, nullptr, &backup, nullptr));
    ASSERT_EQ(ERROR_SUCCESS,
              RegOpenKeyExA(HKEY_LOCAL_MACHINE, kPrintersKey, 0, KEY_ALL_ACCESS, &printers));
    ASSERT_EQ(ERROR_SUCCESS, RegCopyTreeA(printers, nullptr, backup));
    RegDeleteTreeA(printers, nullptr);

    const std::vector<PrinterEntry> list = GetPrinterList();

    RegCopyTreeA(backup, nullptr, printers);
    RegCloseKey(printers);
    RegCloseKey(backup);
    RegDeleteTreeA(HKEY_CURRENT_USER, kBackupKey);
    RegDeleteKeyA(HKEY_CURRENT_USER, kBackupKey);

    EXPECT_TRUE(list.empty()) << list.size() << " entries, first " << list[0].name;
    EXPECT_FALSE(EnumeratedNames().empty());  // the prefix's printers are back
}

TEST(PrinterList, ThePickedPrinterIsTheOneShownAtTheSelectionIfStillThere)
{
    const PrinterEntry conn = {"\\\\srv\\queue", "queue on srv"}, a = {"A", "A"}, b = {"B", "B"},
                       added = {"AAA New", "AAA New"};
    const std::vector<PrinterEntry> shown = {conn, a, b};
    const struct {
        long selection;
        std::vector<PrinterEntry> current;
        std::string picked;
    } cases[] = {
        {0, shown, conn.name},           // the connection's name, not what the box shows
        {2, {conn, added, a, b}, "B"},   // a printer added before the picked one
        {2, {conn, b}, "B"},             // one removed before it
        {1, {conn, b}, ""},              // the picked one removed
        {-1, shown, ""},                 // nothing selected
        {3, {conn, a, b, added}, ""},    // past the list the box was filled from
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.picked, PickedPrinter(shown, c.selection, c.current)) << c.selection;
}

}  // namespace
