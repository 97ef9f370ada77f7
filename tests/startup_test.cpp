#include "core/FileExists.h"
#include "core/StartUp.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

TEST(StartUp, OneLeadingAndOneTrailingQuoteAreRemovedIndependently)
{
    struct Case {
        const char* commandLine;
        const char* path;
    } cases[] = {
        {"\"C:\\a b\\c.prn\"", "C:\\a b\\c.prn"},
        {"\"C:\\a.prn", "C:\\a.prn"},
        {"C:\\a.prn\"", "C:\\a.prn"},
        {"\"", ""},
        {"\"\"", ""},
        {"\"\"\"", "\""},
        {"C:\\with \"inner\" quotes.prn", "C:\\with \"inner\" quotes.prn"},
        {"C:\\x y\\z.prn", "C:\\x y\\z.prn"},
        {"", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.path, StripCommandLineQuotes(c.commandLine)) << c.commandLine;
}

TEST(StartUp, ChosenFileIsTheExistingFilesFullLongPath)
{
    ScratchDir dir;
    const std::string path = dir.Write("Long File Name.prn", "x");
    char shortPath[MAX_PATH] = {};
    ASSERT_NE(0u, GetShortPathNameA(path.c_str(), shortPath, MAX_PATH));
    ASSERT_NE(path, std::string(shortPath));

    EXPECT_EQ(path, ChosenFileFromCommandLine(("\"" + std::string(shortPath) + "\"").c_str()));
    EXPECT_EQ(path, ChosenFileFromCommandLine(path.c_str()));

    // A relative path is completed against the current folder.
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(dir.Path().c_str()));
    EXPECT_EQ(path, ChosenFileFromCommandLine("\"Long File Name.prn"));
    SetCurrentDirectoryA(previous);

    EXPECT_EQ("", ChosenFileFromCommandLine((dir.Path() + "\\missing.prn").c_str()));
    EXPECT_EQ("", ChosenFileFromCommandLine(dir.Path().c_str()));  // a folder is no file
    EXPECT_EQ("", ChosenFileFromCommandLine("\""));
    EXPECT_EQ("", ChosenFileFromCommandLine(nullptr));
}

TEST(StartUp, FilesWithPathsPastTheOldExistenceTestLimitAreAccepted)
{
    ScratchDir dir;
    const std::string folder = dir.Path() + "\\" + std::string(100, 'f');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string path = folder + "\\" + std::string(60, 'n') + ".prn";
    ASSERT_GE(path.size(), 128u);
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, file);
    CloseHandle(file);

    EXPECT_TRUE(FileExists(path));
    EXPECT_EQ(path, ChosenFileFromCommandLine(("\"" + path + "\"").c_str()));
    EXPECT_FALSE(FileExists(path + ".missing"));
    EXPECT_FALSE(FileExists(folder));

    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

TEST(StartUp, ARelativePathIsAcceptedWhenItsFullFormPassesTheOldLimit)
{
    ScratchDir dir;
    const std::string folder = dir.Path() + "\\" + std::string(130, 'f');
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const std::string path = dir.Write(std::string(130, 'f') + "\\label.zpl", "x");
    char previous[MAX_PATH] = {};
    GetCurrentDirectoryA(MAX_PATH, previous);
    ASSERT_TRUE(SetCurrentDirectoryA(folder.c_str()));
    const std::string chosen = ChosenFileFromCommandLine("\"label.zpl\"");
    SetCurrentDirectoryA(previous);
    EXPECT_EQ(path, chosen);
    DeleteFileA(path.c_str());
    RemoveDirectoryA(folder.c_str());
}

}  // namespace
