// Rules over plain data and the program's settings store: the path rules and the chosen
// file, printer names and order, the recent list, registry reads and writes.
#include "core/FilePath.h"
#include "core/PrinterList.h"
#include "core/QueueState.h"
#include "core/StartUp.h"
#include "pages/RecentFiles.h"
#include "settings/RegistryStore.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

#include <set>
#include <tuple>

using namespace testenv;

namespace {

// Every rule a path meets on its way in, as a table: what the rule gives, and what it should.
TEST(PathRules, QuotesBlanksAndLongFormsForEveryWayIn)
{
    ScratchDir dir;
    const WideString root = Wide(dir.Path()), file = Wide(dir.Write("Long File Name.prn", "x"));
    const WideString foreign = root + L"\\\x0414\x043C\x0438\x0442\x0440\x0438\x0439.zpl";
    ASSERT_TRUE(CopyFileW(file.c_str(), foreign.c_str(), TRUE));
    const WideString shortFile = ShortPath(file), shortForeign = ShortPath(foreign);
    const WideString c260 = L"C:\\" + WideString(MAX_PATH - 3, L'x'), c259 = c260.substr(1);
    SetCurrentDirectoryW(root.c_str());  // a relative path is completed against it
    using namespace path;
    const auto commandLine = [](const WideString& line) {
        return ChosenFileFromWideCommandLine((L"\"C:\\K\\Kestrola.exe\"  " + line).c_str());
    };
    // The batch a text makes, each name in <>; "" for a text that is one file or none.
    const auto batch = [](const WideString& text, const std::vector<WideString>& names = {}) {
        WideString all;
        for (const WideString& name : names.empty() ? SplitFileList(text, CleanTyped(text)) : names)
            all += L"<" + name + L">";
        return all;
    };
    const WideString a = Wide(dir.Write("a.prn", "a")), b = Wide(dir.Write("b.prn", "b"));
    dir.Write("a.prn b.prn", "one file");
    WideString longList, longBatch;  // past 32,000 characters, as a command line can be
    while (longList.size() < 32000)
        longList += L" \"" + file + L"\"", longBatch += L"<" + file + L">";
    const std::pair<WideString, WideString> rows[] = {
        // One leading and one trailing quote, each removed on its own.
        {StripQuotes(L"\"C:\\a b\\c.prn\""), L"C:\\a b\\c.prn"}, {StripQuotes(L"\"C:\\a.prn"), L"C:\\a.prn"},
        {StripQuotes(L"C:\\a.prn\""), L"C:\\a.prn"}, {StripQuotes(L"\""), L""}, {CleanTyped(L" \t "), L""},
        {StripQuotes(L"C:\\in \"side\".prn"), L"C:\\in \"side\".prn"}, {StripQuotes(L"\"\"\""), L"\""},
        // A pasted path: blanks around it first, then the quotes; blanks inside them stay.
        {CleanTyped(L" \t \"C:\\a b.zpl\"  \t"), L"C:\\a b.zpl"}, {CleanTyped(L"\" C:\\a \""), L" C:\\a "},
        {CleanTyped(L"\"\"C:\\a\"\""), L"\"C:\\a\""}, {ToSuper(L"C:\\a\\b.prn"), L"\\\\?\\C:\\a\\b.prn"},
        {ToSuper(L"\\\\srv\\share\\b.prn"), L"\\\\?\\UNC\\srv\\share\\b.prn"}, {ToSuper(L"a\\b"), L"a\\b"},
        {ToSuper(L"\\\\?\\C:\\b.prn"), L"\\\\?\\C:\\b.prn"}, {ToSuper(L"\\\\.\\COM1"), L"\\\\.\\COM1"},
        {FromSuper(L"\\\\?\\C:\\a\\b.prn"), L"C:\\a\\b.prn"}, {ForSystemCall(c259), c259},
        {FromSuper(L"\\\\?\\UNC\\srv\\share\\b.prn"), L"\\\\srv\\share\\b.prn"},
        {FromSuper(L"\\\\?\\Volume{1}\\b.prn"), L"\\\\?\\Volume{1}\\b.prn"},
        {ForSystemCall(c260), L"\\\\?\\" + c260},
        // The existing file's full long path, whatever its characters and however given; a
        // missing file or a folder is no file.
        {commandLine(L"\"" + shortFile + L"\""), file}, {commandLine(file), file},
        {commandLine(L"\"Long File Name.prn"), file}, {commandLine(L"\""), L""},
        {commandLine(root + L"\\missing.prn"), L""}, {commandLine(root), L""},
        {commandLine(foreign), foreign}, {commandLine(shortForeign), foreign},
        // The first dropped name that is an existing file.
        {FirstUsableFile({root, root + L"\\gone.zpl", file, foreign}), file}, {FirstUsableFile({root}), L""},
        {FirstUsableFile({shortForeign, file}), foreign},
        // Several names as a command line splits them, in order, each in full; a missing
        // name or a folder is kept. A text that is one file, or names no file, is no batch.
        {batch(L"\"" + file + L"\" missing.prn  " + root), L"<" + file + L"><" + root + L"\\missing.prn><" + root + L">"},
        {batch(L"b.prn a.prn"), L"<" + b + L"><" + a + L">"}, {batch(L"a.prn b.prn"), L""},
        {batch(file), L""}, {batch(L"\"" + file + L"\""), L""}, {batch(root + L" x.prn"), L""},
        {batch(L"a.prn"), L""}, {batch(longList), longBatch},
        {batch(L"", SplitNames(L"a\\\\\"b c\" \"\"\td\\\"e")), L"<a\\b c><d\"e>"},
        {batch(JoinFileList({a, file})), L"<" + a + L"><" + file + L">"},
        {PastedAsOneLine(L"\"a\"\r\n\"b\"\n\"c\"\r\"d\"\r\n"), L"\"a\" \"b\" \"c\" \"d\" "},
    };
    for (const auto& row : rows)
        EXPECT_EQ(row.second, row.first) << "row " << (&row - rows);
    SetCurrentDirectoryA("C:\\");
}

// The default printer first and once, then the others in the spooler's (alphabetical) order;
// names in any script listed whole.
TEST(PrinterList, DefaultFirstThenTheOthers)
{
    PrinterSetup printers;
    printers.RemoveAll();
    EXPECT_TRUE(GetPrinterList().empty());
    const WideString A = L"Kestrola List A", B = L"Kestrola List B",
                     C = L"Kestrola List \x041c\x0435\x0442\x043a\x0438 \x6771\x4eac";
    CapturePrinter a(A), b(B), c(C);
    // No default printer, then the same printer as listed in another case, then the last.
    for (const auto& row : std::vector<std::pair<WideString, std::vector<WideString>>>{
             {L"", {A, B, C}}, {L"kestrola list b", {L"kestrola list b", A, C}}, {C, {C, A, B}}}) {
        if (!row.first.empty())
            RawWriteWide(kWindowsKey, "Device", row.first + L",winspool,nul");
        std::vector<WideString> names;
        for (const PrinterEntry& entry : GetPrinterList())
            names.push_back(entry.displayName == entry.name ? entry.name : L"<shown otherwise>");
        EXPECT_EQ(row.second, names) << row.first.size();
    }
}

// How a printer connection is shown; the picked printer is the one shown at the box's
// selection if it is still there.
TEST(PrinterList, DisplayNamesAndThePickedPrinter)
{
    for (const auto& c : std::vector<std::pair<WideString, WideString>>{
             {L"\\\\print-01\\Labels 2nd floor", L"Labels 2nd floor on print-01"}, {L"\\\\S", L""},
             {L"\\\\S\\Q\\R", L"Q\\R on S"}, {L"\\a\\b", L"\\a\\b"}, {L"", L""},
             {L"\\\\\x6771\x4eac\\\x041c\x0435\x0442\x043a\x0438", L"\x041c\x0435\x0442\x043a\x0438 on \x6771\x4eac"}})
        EXPECT_EQ(c.second, PrinterDisplayName(c.first)) << c.first.size();
    const PrinterEntry conn = {L"\\\\srv\\queue", L"queue on srv"}, a = {L"A", L"A"}, b = {L"B", L"B"},
                       added = {L"AAA New", L"AAA New"};
    const std::vector<PrinterEntry> shown = {conn, a, b};
    // The box's selection, the printers listed now, the one picked.
    for (const auto& [selection, current, picked] :
         std::vector<std::tuple<long, std::vector<PrinterEntry>, WideString>>{
             {0, shown, conn.name},            // the connection's name, not what the box shows
             {2, {conn, added, a, b}, L"B"},   // a printer added before the picked one
             {2, {conn, b}, L"B"},             // one removed before it
             {1, {conn, b}, L""},              // the picked one removed
             {2, {conn, a, {L"b", L"b"}}, L"b"},  // spelt in another case now: the same printer
             {-1, shown, L""},                 // nothing selected
             {3, {conn, a, b, added}, L""}})   // past the list the box was filled from
        EXPECT_EQ(picked, PickedPrinter(shown, selection, current)) << selection;
}

// Each bit that makes a queue hold its jobs, the word shown beside the printer and the
// sentence after a job; when several apply, the one to see to first. A queue that cannot
// be opened holds nothing.
TEST(QueueState, EachReasonToWaitItsStateAndNotice)
{
    std::set<std::string> notices;
    for (const auto& [attributes, status, state] : std::vector<std::tuple<DWORD, DWORD, std::string>>{
             {0x40, 0x200 | 0x400 | 0x20000, ""},  // local; busy, printing, toner low
             {0x440, 0, "Offline"}, {0, 0x80 | 0x2, "Offline"}, {0x400, 0x1, "Paused"},
             {0, 0x4 | 0x1, "Being deleted"}, {0, 0x1000 | 0x2, "Not available"},
             {0, 0x400000 | 0x8, "Door open"}, {0, 0x8 | 0x10, "Paper jam"},
             {0, 0x10 | 0x2, "Out of paper"}, {0, 0x40 | 0x2, "Paper problem"},
             {0, 0x20 | 0x2, "Manual feed"}, {0, 0x100000 | 0x2, "Needs attention"}, {0, 0x2, "Error"}}) {
        const WaitTexts texts = DescribeWait(WaitReason(attributes, status));
        EXPECT_EQ(state, texts.state) << status;
        notices.insert(texts.notice);
    }
    EXPECT_EQ(12u, notices.size()) << "one sentence for each reason, none without one";
    EXPECT_EQ("The printer is offline: the job waits in its queue and prints when the printer is "
              "back online.", std::string(DescribeWait(PrinterWait::Offline).notice));
    EXPECT_EQ(PrinterWait::None, ReadPrinterWait(L"Kestrola No Such Queue"));
}

using List = std::vector<WideString>;

// The path goes first; an entry equal to it but for case leaves its place and takes the
// new spelling; ten entries at most. Stored gaps close up; a path of any length is kept, as
// any path prints. A save writes only the positions it has, any name whole and a name of the
// code page byte for byte as the 8-bit calls wrote it.
TEST(RecentFiles, AddMovesToTheFrontGapsCloseAndPathsOfAnyLengthAreKept)
{
    List ten, newFirst = {L"C:\\new.prn"};
    for (int i = 0; i < 10; ++i)
        ten.push_back(L"C:\\jobs\\" + WideString(1, wchar_t(L'0' + i)) + L".prn");
    newFirst.insert(newFirst.end(), ten.begin(), ten.end() - 1);
    // The list before, the path added, the list after.
    for (auto [list, path, after] : std::vector<std::tuple<List, WideString, List>>{
             {{}, L"C:\\a.prn", {L"C:\\a.prn"}},
             {{L"C:\\a.prn", L"C:\\b.prn", L"C:\\Jobs\\\x0414\x0438.ZPL", L"C:\\d.prn"},
              L"c:\\jobs\\\x0434\x0438.zpl",
              {L"c:\\jobs\\\x0434\x0438.zpl", L"C:\\a.prn", L"C:\\b.prn", L"C:\\d.prn"}},
             {ten, L"C:\\new.prn", newFirst}}) {
        AddRecentFile(path, list);
        EXPECT_EQ(after, list) << path.size();
    }

    ProgramKeyGuard programKey;
    const std::string overlong = "C:\\" + std::string(300, 'x') + ".prn";  // 308 bytes
    const std::map<std::string, std::string> stored = {
        {"RecentFile_00", "C:\\zero.prn"}, {"RecentFile_01", "C:\\caf\xe9.prn"},
        {"RecentFile_03", "C:\\three.prn"}, {"RecentFile_05", overlong},
        {"RecentFile_10", "C:\\beyond the list.prn"}};
    for (const auto& value : stored)
        RawWriteString(kProgramSubKey, value.first, value.second);
    List list = LoadRecentFiles();
    EXPECT_EQ((List{L"C:\\zero.prn", L"C:\\caf\xe9.prn", L"C:\\three.prn", Wide(overlong)}), list);

    const WideString deep = L"C:\\" + WideString(700, L'\x0429') + L".zpl";
    AddRecentFile(deep, list);
    SaveRecentFiles(list);
    std::map<std::string, std::string> saved = stored;
    for (size_t i = 0; i < list.size(); ++i)
        saved["RecentFile_0" + std::to_string(i)] = Narrow(list[i]);  // "C:\\???...zpl" for the first
    EXPECT_EQ(saved, RawValues(kProgramSubKey));
    EXPECT_EQ(deep, RawReadWide(kProgramSubKey, "RecentFile_00"));
    EXPECT_EQ(deep, LoadRecentFiles().at(0));
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
    // 4: REG_DWORD) and size, the terminator counted but for the empty text, whether the
    // text was written through the 8-bit or the wide call.
    const std::string deep = key.Path() + "\\a\\b", sub = key.SubKey() + "\\a\\b";
    ASSERT_TRUE(WriteRegistryString("HKEY_CURRENT_USER" + deep.substr(4), "Text", "Kestrola") &&
                WriteRegistryString(deep, "Empty", "") && WriteRegistryString(deep, "Wide", L"Kestrol\xe4") &&
                WriteRegistryString(deep, "WideEmpty", WideString()) &&
                WriteRegistryDword("HKCU/" + sub, "Number", 0x01020304));
    HKEY raw = nullptr;
    RegOpenKeyExA(HKEY_CURRENT_USER, sub.c_str(), 0, KEY_READ, &raw);
    for (const auto& c : std::map<std::string, std::string>{
             {"Text", "1 18"}, {"Empty", "1 0"}, {"Wide", "1 18"}, {"WideEmpty", "1 0"}, {"Number", "4 4"}}) {
        DWORD type = 0, size = 0;  // as the registry keeps it: in UTF-16
        RegQueryValueExW(raw, Wide(c.first).c_str(), nullptr, &type, nullptr, &size);
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
