#include "pages/RecentFiles.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

using List = std::vector<std::string>;

List Numbered(int from, int to, List list = {})
{
    for (int i = from; i < to; ++i)
        list.push_back("C:\\jobs\\" + std::to_string(i) + ".prn");
    return list;
}

// The path goes first; an entry equal to it but for case leaves its place and takes the
// new spelling; ten entries at most.
TEST(RecentFiles, AddMovesToTheFrontAndKeepsTenAtMost)
{
    const struct {
        List before;
        std::string path;
        List after;
    } cases[] = {
        {{}, "C:\\a.prn", {"C:\\a.prn"}},
        {{"C:\\a.prn", "C:\\b.prn"}, "C:\\c.prn", {"C:\\c.prn", "C:\\a.prn", "C:\\b.prn"}},
        {{"C:\\a.prn", "C:\\b.prn", "C:\\Jobs\\Label.ZPL", "C:\\d.prn"},
         "c:\\jobs\\label.zpl",
         {"c:\\jobs\\label.zpl", "C:\\a.prn", "C:\\b.prn", "C:\\d.prn"}},
        {{"C:\\A.prn", "C:\\b.prn"}, "C:\\a.prn", {"C:\\a.prn", "C:\\b.prn"}},
        {Numbered(0, 10), "C:\\new.prn", Numbered(0, 9, {"C:\\new.prn"})},
        {Numbered(0, 10), "C:\\JOBS\\9.PRN", Numbered(0, 9, {"C:\\JOBS\\9.PRN"})},
    };
    for (const auto& c : cases) {
        List list = c.before;
        AddRecentFile(c.path, list);
        EXPECT_EQ(c.after, list) << c.path;
    }
}

// Gaps close up; a value too long for the program's path buffer is shown but not kept, and
// a save writes only the positions it has.
TEST(RecentFiles, GapsAreCompactedAndOverlongValuesShownButNotKept)
{
    ProgramKeyGuard programKey;
    EXPECT_TRUE(LoadRecentFiles().empty() && LoadRecentFilesForDisplay().empty());
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

}  // namespace
