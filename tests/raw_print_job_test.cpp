#include "core/RawPrintJob.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>

using namespace testenv;

namespace {

class RawPrintJobTest : public ::testing::Test {
protected:
    ProgramKeyGuard programKey;
    CapturePrinter printer;
    ScratchDir dir;
};

TEST_F(RawPrintJobTest, SendsEveryByteUnchangedFollowedByAFormFeed)
{
    const std::string data = AllByteValues() + "\x0C\x0C page two \x0C";
    const std::string path = dir.Write("all-bytes.prn", data);
    std::string error;
    EXPECT_TRUE(PrintFileRaw(path, printer.Name(), error));
    EXPECT_EQ("", error);
    EXPECT_EQ(data + "\x0C", printer.Bytes());

    // PostScript is not turned into anything else on the way.
    const std::string postScript = "%!PS-Adobe-3.0\n/Helvetica findfont\nshowpage\n";
    EXPECT_TRUE(PrintFileRaw(dir.Write("job.ps", postScript), printer.Name(), error));
    EXPECT_EQ(postScript + "\x0C", printer.Bytes());
}

TEST_F(RawPrintJobTest, LineFeedFollowsTheFormFeedWhenAsked)
{
    RawWriteDword(kProgramSubKey, settings::kAddNewLineAfterFormFeed, 2);
    const std::string path = dir.Write("label.zpl", "^XA^FO50,50^FDKestrola^FS^XZ");
    std::string error;
    EXPECT_TRUE(PrintFileRaw(path, printer.Name(), error));
    EXPECT_EQ("^XA^FO50,50^FDKestrola^FS^XZ\x0C\x0A", printer.Bytes());

    RawWriteDword(kProgramSubKey, settings::kAddNewLineAfterFormFeed, 0);
    EXPECT_TRUE(PrintFileRaw(path, printer.Name(), error));
    EXPECT_EQ("^XA^FO50,50^FDKestrola^FS^XZ\x0C", printer.Bytes());
}

TEST_F(RawPrintJobTest, EmptyFileSendsTheTrailerAlone)
{
    std::string error;
    EXPECT_TRUE(PrintFileRaw(dir.Write("empty.prn", ""), printer.Name(), error));
    EXPECT_EQ("", error);
    EXPECT_EQ("\x0C", printer.Bytes());
}

TEST_F(RawPrintJobTest, UnknownPrinterIsNamedAndNoJobIsMade)
{
    const std::string path = dir.Write("a.prn", "data");
    std::string error;
    const std::string name = "No Such Printer " + std::string(1500, 'x');
    EXPECT_FALSE(PrintFileRaw(path, name, error));
    EXPECT_EQ("Could not find the printer \"" + name + "\".", error);
    EXPECT_FALSE(printer.HasJob());
}

TEST_F(RawPrintJobTest, FilesThatCannotBeOpenedAreReportedWithThePathAsGiven)
{
    std::string error;
    const std::string missing = dir.Path() + "\\missing file.prn";
    EXPECT_FALSE(PrintFileRaw(missing, printer.Name(), error));
    EXPECT_EQ("Could not open the file:\n\n\"" + missing + "\"\n\nfor printing.", error);

    // Another program still writing the file: the share mode admits readers only.
    const std::string busy = dir.Write("busy.prn", "half written");
    HANDLE writer = CreateFileA(busy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    error.clear();
    EXPECT_FALSE(PrintFileRaw(busy, printer.Name(), error));
    CloseHandle(writer);
    EXPECT_EQ("Could not open the file:\n\n\"" + busy + "\"\n\nfor printing.", error);
    EXPECT_FALSE(printer.HasJob());
}

TEST_F(RawPrintJobTest, ErrorTextIsLeftAloneOnSuccessAndLongPathsAreNotCut)
{
    std::string error = "earlier text";
    EXPECT_TRUE(PrintFileRaw(dir.Write("ok.prn", "x"), printer.Name(), error));
    EXPECT_EQ("earlier text", error);

    // A path far past every fixed message buffer still comes back whole in the message.
    const std::string longMissing = dir.Path() + "\\" + std::string(200, 'd') + "\\" +
                                    std::string(200, 'e') + "\\" + std::string(200, 'f') + ".prn";
    error.clear();
    EXPECT_FALSE(PrintFileRaw(longMissing, printer.Name(), error));
    EXPECT_EQ("Could not open the file:\n\n\"" + longMissing + "\"\n\nfor printing.", error);
}

TEST(FormatWithText, FillsThePlaceholderWithTextOfAnyLength)
{
    EXPECT_EQ("a \"x\" b", FormatWithText("a \"%s\" b", "x"));
    const std::string big(5000, 'p');
    EXPECT_EQ("[" + big + "]", FormatWithText("[%s]", big));
    EXPECT_EQ("50%s", FormatWithText("%s%s", "50%s").substr(0, 4));
}

}  // namespace
