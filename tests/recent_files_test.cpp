#include "pages/RecentFiles.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

using List = std::vector<std::string>;

List Numbered(int count)
{
    List list;
    for (int i = 0; i < count; ++i)
        list.push_back("C:\\jobs\\" + std::to_string(i) + ".prn");
    return list;
}

TEST(RecentFiles, AddMovesToTheFrontAndKeepsTenAtMost)
{
    struct Case {
        const char* what;
        List before;
        std::string path;
        List after;
    } cases[] = {
        {"into an empty list", {}, "C:\\a.prn", {"C:\\a.prn"}},
        {"new path goes first",
         {"C:\\a.prn", "C:\\b.prn"},
         "C:\\c.prn",
         {"C:\\c.prn", "C:\\a.prn", "C:\\b.prn"}},
        {"third entry in another case moves up in the new case",
         {"C:\\a.prn", "C:\\b.prn", "C:\\Jobs\\Label.ZPL", "C:\\d.prn"},
         "c:\\jobs\\label.zpl",
         {"c:\\jobs\\label.zpl", "C:\\a.prn", "C:\\b.prn", "C:\\d.prn"}},
        {"the front entry again changes nothing but its case",
         {"C:\\A.prn", "C:\\b.prn"},
         "C:\\a.prn",
         {"C:\\a.prn", "C:\\b.prn"}},
    };
    for (Case& c : cases) {
        AddRecentFile(c.path, c.before);
        EXPECT_EQ(c.after, c.before) << c.what;
    }

    List full = Numbered(10);
    AddRecentFile("C:\\new.prn", full);
    List expected = {"C:\\new.prn"};
    for (int i = 0; i < 9; ++i)
        expected.push_back("C:\\jobs\\" + std::to_string(i) + ".prn");
    EXPECT_EQ(expected, full);  // the tenth, oldest entry is gone

    List fullAgain = Numbered(10);
    AddRecentFile("C:\\JOBS\\9.PRN", fullAgain);
    ASSERT_EQ(10u, fullAgain.size());
    EXPECT_EQ("C:\\JOBS\\9.PRN", fullAgain[0]);
    EXPECT_EQ("C:\\jobs\\8.prn", fullAgain[9]);
}

TEST(RecentFiles, GapsAreCompactedAndOverlongValuesShownButNotKept)
{
    ProgramKeyGuard programKey;
    RawWriteString(kProgramSubKey, "RecentFile_00", "C:\\zero.prn");
    RawWriteString(kProgramSubKey, "RecentFile_01", "C:\\one.prn");
    RawWriteString(kProgramSubKey, "RecentFile_03", "C:\\three.prn");
    const std::string overlong = "C:\\" + std::string(300, 'x') + ".prn";  // 308 bytes
    RawWriteString(kProgramSubKey, "RecentFile_05", overlong);
    const std::string fits = "C:\\" + std::string(252, 'y') + ".prn";  // 259 + terminator
    RawWriteString(kProgramSubKey, "RecentFile_07", fits);
    RawWriteString(kProgramSubKey, "RecentFile_10", "C:\\beyond the list.prn");

    EXPECT_EQ((List{"C:\\zero.prn", "C:\\one.prn", "C:\\three.prn", overlong, fits}),
              LoadRecentFilesForDisplay());
    List list = LoadRecentFiles();
    EXPECT_EQ((List{"C:\\zero.prn", "C:\\one.prn", "C:\\three.prn", fits}), list);

    AddRecentFile("C:\\sent.prn", list);
    SaveRecentFiles(list);
    const char* expected[] = {"C:\\sent.prn", "C:\\zero.prn", "C:\\one.prn", "C:\\three.prn"};
    for (int i = 0; i < 4; ++i) {
        std::string text;
        ASSERT_TRUE(RawReadString(kProgramSubKey, RecentFileValueName(i), text)) << i;
        EXPECT_EQ(expected[i], text) << i;
    }
    std::string text;
    ASSERT_TRUE(RawReadString(kProgramSubKey, "RecentFile_04", text));
    EXPECT_EQ(fits, text);
    // Values past the saved length stay as they were.
    ASSERT_TRUE(RawReadString(kProgramSubKey, "RecentFile_05", text));
    EXPECT_EQ(overlong, text);
    ASSERT_TRUE(RawReadString(kProgramSubKey, "RecentFile_07", text));
    EXPECT_EQ(fits, text);
}

TEST(RecentFiles, NothingStoredGivesAnEmptyList)
{
    ProgramKeyGuard programKey;
    EXPECT_TRUE(LoadRecentFiles().empty());
    EXPECT_TRUE(LoadRecentFilesForDisplay().empty());
    EXPECT_EQ("RecentFile_00", RecentFileValueName(0));
    EXPECT_EQ("RecentFile_09", RecentFileValueName(9));
}

}  // namespace
