#include "core/StartUp.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

TEST(StartUp, QuotesAreStrippedAndTheChosenFileIsTheExistingFilesFullLongPath)
{
    // One leading and one trailing quote, each removed on its own.
    for (const auto& c : std::vector<std::pair<std::string, std::string>>{
             {"\"C:\\a b\\c.prn\"", "C:\\a b\\c.prn"}, {"\"C:\\a.prn", "C:\\a.prn"},
             {"C:\\a.prn\"", "C:\\a.prn"}, {"\"", ""}, {"\"\"", ""}, {"\"\"\"", "\""},
             {"C:\\with \"inner\" quotes.prn", "C:\\with \"inner\" quotes.prn"}, {"", ""}})
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
             {"\"Long File Name.prn", path}, {"\"" + deep + "\"", deep},
             {std::string(100, 'f') + "\\" + std::string(60, 'n'), deep},
             {dir.Path() + "\\missing.prn", ""}, {folder, ""}, {"\"", ""}, {"", ""}})
        EXPECT_EQ(c.second, ChosenFileFromCommandLine(c.first.c_str())) << c.first;
    EXPECT_EQ("", ChosenFileFromCommandLine(nullptr));
    SetCurrentDirectoryA(previous);
}

}  // namespace
