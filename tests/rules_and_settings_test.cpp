// Rules over plain data and the program's settings store: quote stripping and the chosen
// file, printer names and order, the recent list, registry reads and writes.
#include "core/PrinterList.h"
#include "core/QueueState.h"
#include "core/StartUp.h"
#include "pages/RecentFiles.h"
#include "settings/RegistryStore.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace testenv;

namespace {

TEST(StartUp, QuotesAreStrippedAndTheChosenFileIsTheExistingFilesFullLongPath)
{
    // One leading and one trailing quote, each removed on its own.
    for (const auto& c : std::vector<std::pair<std::string, std::string>>{
             {"\"C:\\a b\\c.prn\"", "C:\\a b\\c.prn"}, {"\"C:\\a.prn", "C:\\a.prn"},
             {"C:\\a.prn\"", "C:\\a.prn"}, {"\"", ""}, {"\"\"\"", "\""},
             {"C:\\with \"inner\" quotes.prn", "C:\\with \"inner\" quotes.prn"}})
        EXPECT_EQ(c.second, StripCommandLineQuotes(c.first)) << c.first;

    ScratchDir dir;
    const std::string path = dir.Write("Long File Name.prn", "x");
    // Past the length where an older existence test gave up.
    const std::string folder = dir.Path() + "\\" + std::string(100, 'f');
    CreateDirectoryA(folder.c_str(), nullptr);
    const std::string deep = dir.Write(std::string(100, 'f') + "\\" + std::string(60, 'n'), "y");
    char shortPath[MAX_PATH] = {}, previous[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameA(path.c_str(), shortPath, MAX_PATH));
    ASSERT_NE(path, shortPath);
    GetCurrentDirectoryA(MAX_PATH, previous);
    SetCurrentDirectoryA(dir.Path().c_str());  // a relative path is completed against it
    for (const auto& c : std::vector<std::pair<std::string, std::string>>{
             {"\"" + std::string(shortPath) + "\"", path}, {path, path},
             {"\"Long File Name.prn", path}, {std::string(100, 'f') + "\\" + std::string(60, 'n'), deep},
             {dir.Path() + "\\missing.prn", ""}, {folder, ""}, {"", ""}})
        EXPECT_EQ(c.second, ChosenFileFromCommandLine(c.first.c_str())) << c.first;
    EXPECT_EQ("", ChosenFileFromCommandLine(nullptr));
    SetCurrentDirectoryA(previous);
}

TEST(PrinterList, DisplayNames)
{
    for (const auto& c : std::vector<std::pair<std::string, std::string>>{
             {"\\\\print-01\\Labels 2nd floor", "Labels 2nd floor on print-01"}, {"\\\\S", ""},
             {"\\\\S\\Q\\R", "Q\\R on S"}, {"\\a\\b", "\\a\\b"}, {"", ""}})
        EXPECT_EQ(c.second, PrinterDisplayName(c.first)) << c.first;
}

// The default printer first and once, then the others in the spooler's (alphabetical) order.
TEST(PrinterList, DefaultFirstThenTheOthers)
{
    PrinterSetup printers;
    printers.RemoveAll();
    EXPECT_TRUE(GetPrinterList().empty());
    const std::string A = "Kestrola List A", B = "Kestrola List B", C = "Kestrola List C";
    CapturePrinter a(A), b(B), c(C);
    // No default printer, then the same printer as listed in another case, then the last.
    for (const auto& row : std::vector<std::pair<std::string, std::vector<std::string>>>{
             {"", {A, B, C}}, {"kestrola list b", {"kestrola list b", A, C}}, {C, {C, A, B}}}) {
        if (!row.first.empty())
            printers.SetDefault(row.first);
        std::vector<std::string> names;
        for (const PrinterEntry& entry : GetPrinterList())
            names.push_back(entry.displayName == entry.name ? entry.name : "<shown otherwise>");
        EXPECT_EQ(row.second, names) << row.first;
    }
}

TEST(PrinterList, ThePickedPrinterIsTheOneShownAtTheSelectionIfStillThere)
{
    const PrinterEntry conn = {"\\\\srv\\queue", "queue on srv"}, a = {"A", "A"}, b = {"B", "B"},
                       added = {"AAA New", "AAA New"};
    const std::vector<PrinterEntry> shown = {conn, a, b};
    // The box's selection, the printers listed now, the one picked.
    for (const auto& [selection, current, picked] :
         std::vector<std::tuple<long, std::vector<PrinterEntry>, std::string>>{
             {0, shown, conn.name},           // the connection's name, not what the box shows
             {2, {conn, added, a, b}, "B"},   // a printer added before the picked one
             {2, {conn, b}, "B"},             // one removed before it
             {1, {conn, b}, ""},              // the picked one removed
             {2, {conn, a, {"b", "b"}}, "b"},  // spelt in another case now: the same printer
             {-1, shown, ""},                 // nothing selected
             {3, {conn, a, b, added}, ""}})   // past the list the box was filled from
        EXPECT_EQ(picked, PickedPrinter(shown, selection, current)) << selection;
}

// Each bit that makes a queue hold its jobs, the word shown beside the printer and the
// sentence after a job; when several apply, the one to see to first. A queue that cannot
// be opened holds nothing.
TEST(QueueState, EachReasonToWaitItsStateAndNotice)
{
    const std::string waits = " the job waits in its queue and prints when ";
    for (const auto& [attributes, status, state, notice] :
         std::vector<std::tuple<DWORD, DWORD, std::string, std::string>>{
             {0x40, 0x200 | 0x400 | 0x20000, "", ""},  // local; busy, printing, toner low
             {0x440, 0, "Offline", "The printer is offline:" + waits + "the printer is back online."},
             {0, 0x80 | 0x2, "Offline", "The printer is offline:" + waits + "the printer is back online."},
             {0x400, 0x1, "Paused", "The printer is paused:" + waits + "printing is resumed."},
             {0, 0x4 | 0x1, "Being deleted", "The printer is being deleted: the job waits in its queue "
                                             "and may be deleted with it before it prints."},
             {0, 0x1000 | 0x2, "Not available",
              "The printer is not available:" + waits + "the printer can be reached again."},
             {0, 0x400000 | 0x8, "Door open", "A door of the printer is open:" + waits + "the door is closed."},
             {0, 0x8 | 0x10, "Paper jam", "The printer has a paper jam:" + waits + "the jam is cleared."},
             {0, 0x10 | 0x2, "Out of paper", "The printer is out of paper:" + waits + "paper is loaded."},
             {0, 0x40 | 0x2, "Paper problem",
              "The printer has a paper problem:" + waits + "the paper is put right."},
             {0, 0x20 | 0x2, "Manual feed", "The printer is waiting for paper to be fed by hand:" + waits +
                                            "the paper is fed."},
             {0, 0x100000 | 0x2, "Needs attention",
              "The printer needs attention:" + waits + "the printer has been seen to."},
             {0, 0x2, "Error", "The printer reports an error:" + waits + "the error is cleared."}}) {
        const WaitTexts texts = DescribeWait(WaitReason(attributes, status));
        EXPECT_EQ(state + " | " + notice, std::string(texts.state) + " | " + texts.notice) << status;
    }
    EXPECT_EQ(PrinterWait::None, ReadPrinterWait("Kestrola No Such Queue"));
}

using List = std::vector<std::string>;

// The path goes first; an entry equal to it but for case leaves its place and takes the
// new spelling; ten entries at most.
TEST(RecentFiles, AddMovesToTheFrontAndKeepsTenAtMost)
{
    List ten, newFirst = {"C:\\new.prn"};
    for (int i = 0; i < 10; ++i)
        ten.push_back("C:\\jobs\\" + std::to_string(i) + ".prn");
    newFirst.insert(newFirst.end(), ten.begin(), ten.end() - 1);
    // The list before, the path added, the list after.
    for (auto [list, path, after] : std::vector<std::tuple<List, std::string, List>>{
             {{}, "C:\\a.prn", {"C:\\a.prn"}},
             {{"C:\\a.prn", "C:\\b.prn", "C:\\Jobs\\Label.ZPL", "C:\\d.prn"}, "c:\\jobs\\label.zpl",
              {"c:\\jobs\\label.zpl", "C:\\a.prn", "C:\\b.prn", "C:\\d.prn"}},
             {ten, "C:\\new.prn", newFirst}}) {
        AddRecentFile(path, list);
        EXPECT_EQ(after, list) << path;
    }
}

// Gaps close up; a value too long for the program's path buffer is shown but not kept, and
// a save writes only the positions it has.
TEST(RecentFiles, GapsAreCompactedAndOverlongValuesShownButNotKept)
{
    ProgramKeyGuard programKey;
    const std::string overlong = "C:\\" + std::string(300, 'x') + ".prn";  // 308 bytes
    const std::string fits = "C:\\" + std::string(252, 'y') + ".prn";  // 259 + terminator
    const std::map<std::string, std::string> stored = {
        {"RecentFile_00", "C:\\zero.prn"}, {"RecentFile_01", "C:\\one.prn"},
        {"RecentFile_03", "C:\\three.prn"}, {"RecentFile_05", overlong},
        {"RecentFile_07", fits}, {"RecentFile_10", "C:\\beyond the list.prn"}};
    for (const auto& value : stored)
        RawWriteString(kProgramSubKey, value.first, value.second);
    const List shown = {"C:\\zero.prn", "C:\\one.prn", "C:\\three.prn", overlong, fits};
    EXPECT_EQ(shown, LoadRecentFilesForDisplay());
    List list = LoadRecentFiles();
    EXPECT_EQ((List{"C:\\zero.prn", "C:\\one.prn", "C:\\three.prn", fits}), list);

    AddRecentFile("C:\\sent.prn", list);
    SaveRecentFiles(list);
    std::map<std::string, std::string> saved = stored;
    for (size_t i = 0; i < list.size(); ++i)
        saved["RecentFile_0" + std::to_string(i)] = list[i];
    EXPECT_EQ(saved, RawValues(kProgramSubKey));
}

TEST(SettingsStore, RootNamesWritesAndReads)
{
    // A path, its root (null: opens nothing) and the key under it.
    for (const auto& [path, root, under] : std::vector<std::tuple<const char*, HKEY, const char*>>{
             {"HKCR\\a", HKEY_CLASSES_ROOT, "a"}, {"HKU\\", HKEY_USERS, ""},
             {"HKEY_LOCAL_MACHINE/x/y", HKEY_LOCAL_MACHINE, "x\\y"}, {"hkcu\\Software", nullptr, ""},
             {"HKCU", nullptr, ""}, {"HKXX\\Software", nullptr, ""}}) {
        std::string subKey;
        EXPECT_EQ(root, SplitRootKey(path, subKey)) << path;
        EXPECT_EQ(root ? under : "", root ? subKey : "") << path;
    }

    // Nothing is read, written or created through a missing key or a root not named right.
    ScratchKey key;
    DWORD number = 77;
    EXPECT_FALSE(ReadRegistryDword(key.Path(), "Number", number));
    EXPECT_EQ(0u, number);
    EXPECT_FALSE(RegistryValueExists(key.Path(), "Number") || RegistryValueExists("HKCU", "Text") ||
                 DeleteRegistryValue(key.Path(), "Number") || DeleteRegistryValue("", "Text") ||
                 WriteRegistryDword("hkcu" + key.Path().substr(4), "Number", 1) ||
                 WriteRegistryString("", "Text", "x") || RawKeyExists(key.SubKey()));

    // Writes create the missing keys, whatever the root's spelling. Type (1: REG_SZ,
    // 4: REG_DWORD) and size, the terminator counted but for the empty text.
    const std::string deep = key.Path() + "\\a\\b", sub = key.SubKey() + "\\a\\b";
    ASSERT_TRUE(WriteRegistryString("HKEY_CURRENT_USER" + deep.substr(4), "Text", "Kestrola") &&
                WriteRegistryString(deep, "Empty", "") &&
                WriteRegistryDword("HKCU/" + sub, "Number", 0x01020304));
    HKEY raw = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &raw);
    for (const auto& c : std::map<std::string, std::string>{
             {"Text", "1 9"}, {"Empty", "1 0"}, {"Number", "4 4"}}) {
        DWORD type = 0, size = 0;
        RegQueryValueExA(raw, c.first.c_str(), nullptr, &type, nullptr, &size);
        EXPECT_EQ(c.second, std::to_string(type) + " " + std::to_string(size)) << c.first;
    }
    RegCloseKey(raw);
    EXPECT_TRUE(ReadRegistryDword(deep, "Number", number));
    EXPECT_EQ(0x01020304u, number);
    EXPECT_FALSE(ReadRegistryDword(deep, "Other", number) || DeleteRegistryValue(deep, "Other"));
    EXPECT_EQ(0u, number);  // a missing value of an existing key
    EXPECT_TRUE(RegistryValueExists(deep, "Text") && DeleteRegistryValue(deep, "Text"));
    EXPECT_FALSE(RegistryValueExists(deep, "Text") || DeleteRegistryValue(deep, "Text"));

    // Texts read through a buffer of the given size: data that does not fit with its
    // terminator is a failure, and the text comes back terminated, whatever type or
    // terminator was stored (the data is stored as is).
    for (const auto& [type, data, bufferSize, text] :
         std::vector<std::tuple<DWORD, std::string, DWORD, std::string>>{
             {REG_SZ, std::string(40, 'L') + '\0', 8, "<failed>"},
             {REG_SZ, std::string("1234567\0", 8), 8, "1234567"},
             {REG_BINARY, "ABCDEFGH", 8, "<failed>"}, {REG_BINARY, "ABCDEFGH", 9, "ABCDEFGH"}}) {
        RegSetKeyValueA(HKEY_CURRENT_USER, key.SubKey().c_str(), "Value", type, data.data(),
                        static_cast<DWORD>(data.size()));
        std::string read = "stale";
        const bool ok = ReadRegistryString(key.Path(), "Value", read, bufferSize);
        EXPECT_EQ(text, ok ? read : "<failed>" + read) << data;
    }
}

}  // namespace
