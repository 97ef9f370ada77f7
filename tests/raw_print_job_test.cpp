#include "core/RawPrintJob.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <winspool.h>

#include <vector>

using namespace testenv;

namespace {

// Watches every WritePrinter call of a job and passes it on to the spooler, except for
// the one call it is told to fail or cut short.
struct WriteRecorder {
    std::vector<DWORD> sizes;
    size_t failCall = SIZE_MAX;  // index of the call to fail
    bool failShort = false;      // true: report one byte less instead of an error

    RawJobTransfer Transfer(uint64_t largestBuffered, DWORD chunkSize)
    {
        RawJobTransfer transfer;
        transfer.largestBuffered = largestBuffered;
        transfer.chunkSize = chunkSize;
        transfer.writePrinter = [this](HANDLE printer, void* data, DWORD size, DWORD* written) {
            const size_t call = sizes.size();
            sizes.push_back(size);
            if (call == failCall && !failShort) {
                *written = 0;
                return FALSE;
            }
            const BOOL ok = WritePrinter(printer, data, size, written);
            if (call == failCall && size > 0)
                --*written;
            return ok;
        };
        return transfer;
    }
};

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

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

TEST_F(RawPrintJobTest, AFileThatFitsGoesInOneDataWrite)
{
    // Larger than a streaming chunk, so a job that streamed would show more writes.
    const std::string data = Pattern(3 * 1024 * 1024 + 17);
    WriteRecorder writes;
    RawJobTransfer transfer = writes.Transfer(RawJobTransfer().largestBuffered,
                                              RawJobTransfer().chunkSize);
    std::string error;
    EXPECT_TRUE(PrintFileRaw(dir.Write("big.prn", data), printer.Name(), error, transfer));
    EXPECT_EQ("", error);
    EXPECT_EQ((std::vector<DWORD>{static_cast<DWORD>(data.size()), 1}), writes.sizes);
    EXPECT_TRUE(printer.Bytes() == data + "\x0C");
}

TEST_F(RawPrintJobTest, StreamedFilesArriveByteForByte)
{
    struct Case {
        size_t fileSize;
        DWORD chunkSize;
        std::vector<DWORD> dataWrites;
    };
    const Case cases[] = {
        {10000, 4096, {4096, 4096, 1808}},  // a chunk that does not divide the file
        {12288, 4096, {4096, 4096, 4096}},  // one that does
        {5, 4096, {5}},
        {256, 1, std::vector<DWORD>(256, 1)},
        {0, 4096, {0}},  // an empty file still gets its zero-byte data write
    };
    for (const Case& c : cases) {
        const std::string data = Pattern(c.fileSize);
        WriteRecorder writes;
        std::string error;
        EXPECT_TRUE(PrintFileRaw(dir.Write("streamed.prn", data), printer.Name(), error,
                                 writes.Transfer(0, c.chunkSize)))
            << c.fileSize;
        EXPECT_EQ("", error);
        std::vector<DWORD> expected = c.dataWrites;
        expected.push_back(1);
        EXPECT_EQ(expected, writes.sizes) << c.fileSize;
        EXPECT_TRUE(printer.Bytes() == data + "\x0C") << c.fileSize;
    }
}

TEST_F(RawPrintJobTest, StreamedFailuresGiveTheSameMessages)
{
    const std::string data = Pattern(10000);
    const std::string path = dir.Write("s.prn", data);
    const std::string sendFailed = "An error occurred sending the file data to the printer.";

    // A write that fails, and one that takes a byte less: the data stops there, the
    // trailer is still sent and the job counts as failed.
    for (bool failShort : {false, true}) {
        WriteRecorder writes;
        writes.failCall = 1;
        writes.failShort = failShort;
        std::string error;
        EXPECT_FALSE(PrintFileRaw(path, printer.Name(), error, writes.Transfer(0, 4096)));
        EXPECT_EQ(sendFailed, error);
        EXPECT_EQ((std::vector<DWORD>{4096, 4096, 1}), writes.sizes);
        const std::string spooled = failShort ? data.substr(0, 8192) : data.substr(0, 4096);
        EXPECT_TRUE(printer.Bytes() == spooled + "\x0C") << failShort;
    }

    // The same short write when the whole file goes at once.
    WriteRecorder whole;
    whole.failCall = 0;
    whole.failShort = true;
    std::string error;
    EXPECT_FALSE(PrintFileRaw(path, printer.Name(), error, whole.Transfer(1 << 20, 4096)));
    EXPECT_EQ(sendFailed, error);
    EXPECT_EQ((std::vector<DWORD>{10000, 1}), whole.sizes);

    printer.Forget();
    const std::string name = "No Such Printer For Streaming";
    error.clear();
    EXPECT_FALSE(PrintFileRaw(path, name, error, RawJobTransfer{0, 4096, nullptr, nullptr}));
    EXPECT_EQ("Could not find the printer \"" + name + "\".", error);
    EXPECT_FALSE(printer.HasJob());
}

TEST_F(RawPrintJobTest, AReadFailureIsReportedAndNeverPrintsAsAWholeJob)
{
    const std::string data = Pattern(10000);
    const std::string path = dir.Write("unreadable.prn", data);
    const std::string readFailed = "Error reading the file \"" + path + "\".";
    struct Case {
        uint64_t largestBuffered;
        size_t failRead;  // index of the ReadFile call that fails
        bool failShort;   // true: it delivers a byte less instead of an error
    };
    const Case cases[] = {{0, 2, false}, {0, 2, true}, {0, 0, false}, {1 << 20, 0, true}};
    for (const Case& c : cases) {
        size_t reads = 0;
        RawJobTransfer transfer{c.largestBuffered, 4096, nullptr, nullptr};
        transfer.readFile = [&](HANDLE file, void* buffer, DWORD size, DWORD* read) {
            if (reads++ == c.failRead && !c.failShort) {
                *read = 0;
                return FALSE;
            }
            const BOOL ok = ReadFile(file, buffer, size, read, nullptr);
            if (reads - 1 == c.failRead && *read > 0)
                --*read;
            return ok;
        };
        printer.Forget();
        std::string error;
        EXPECT_FALSE(PrintFileRaw(path, printer.Name(), error, transfer)) << c.failRead;
        EXPECT_EQ(readFailed, error);
        if (c.failRead == 0) {
            EXPECT_FALSE(printer.HasJob());  // nothing was read, so no job was started
        } else if (printer.HasJob()) {
            // The job is cancelled. Where the spooler cannot cancel it (Wine's AbortPrinter
            // does nothing) what was spooled may still come out, never the rest or a trailer.
            EXPECT_TRUE(printer.Bytes() == data.substr(0, 8192));
        }
    }
}

// A sparse file of the given size whose last five bytes are "tail!".
std::string SparseFile(const ScratchDir& dir, const std::string& name, uint64_t size)
{
    const std::string path = dir.Path() + "\\" + name;
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
    LARGE_INTEGER at;
    at.QuadPart = static_cast<LONGLONG>(size - 5);
    DWORD written = 0;
    const bool made = file != INVALID_HANDLE_VALUE &&
                      SetFilePointerEx(file, at, nullptr, FILE_BEGIN) &&
                      WriteFile(file, "tail!", 5, &written, nullptr) && written == 5;
    if (file != INVALID_HANDLE_VALUE)
        CloseHandle(file);
    return made ? path : std::string();
}

TEST_F(RawPrintJobTest, FilesTooLargeForOneBufferAreSentWhole)
{
    // Just under the size that is always streamed, where a 32-bit process cannot get the
    // buffer (but might elsewhere), and just past 4 GiB, where a size cut to its low 32
    // bits would be five bytes. Zeros are skipped rather than read and the writes are
    // counted rather than spooled; the five bytes at the end are read for real.
    const uint64_t chunk = RawJobTransfer().chunkSize;
    for (const uint64_t size : {uint64_t(0x7FFFFFFF), (uint64_t(1) << 32) + 5}) {
        const std::string path = SparseFile(dir, "huge.prn", size);
        ASSERT_NE("", path);
        uint64_t position = 0;
        uint64_t dataBytes = 0;
        std::vector<DWORD> sizes;
        std::string lastChunkEnd;
        RawJobTransfer transfer;  // the program's own threshold and chunk size
        transfer.readFile = [&](HANDLE source, void* data, DWORD length, DWORD* done) {
            position += length;
            const DWORD tail = position == size ? 5 : 0;
            LARGE_INTEGER skip;
            skip.QuadPart = length - tail;
            DWORD read = 0;
            *done = length;
            return SetFilePointerEx(source, skip, nullptr, FILE_CURRENT) &&
                   (tail == 0 || (ReadFile(source, static_cast<char*>(data) + length - tail,
                                           tail, &read, nullptr) && read == tail));
        };
        transfer.writePrinter = [&](HANDLE, void* data, DWORD length, DWORD* done) {
            sizes.push_back(length);
            dataBytes += length;
            if (length >= 5)
                lastChunkEnd.assign(static_cast<char*>(data) + length - 5, 5);
            *done = length;
            return TRUE;
        };
        std::string error;
        EXPECT_TRUE(PrintFileRaw(path, printer.Name(), error, transfer)) << size;
        EXPECT_EQ("", error);
        EXPECT_EQ(size + 1, dataBytes) << size;  // the file and the form feed
        EXPECT_EQ("tail!", lastChunkEnd);
        ASSERT_GE(sizes.size(), 2u);
        EXPECT_EQ(1u, sizes.back());
        sizes.pop_back();
        const bool buffered = sizes.size() == 1 && sizes[0] == size;
        if (!buffered) {
            EXPECT_EQ((size + chunk - 1) / chunk, sizes.size()) << size;
        }
        EXPECT_FALSE(buffered && size > 0xFFFFFFFFull);
        DeleteFileA(path.c_str());
    }
}

TEST(FormatWithText, FillsThePlaceholderWithTextOfAnyLength)
{
    EXPECT_EQ("a \"x\" b", FormatWithText("a \"%s\" b", "x"));
    const std::string big(5000, 'p');
    EXPECT_EQ("[" + big + "]", FormatWithText("[%s]", big));
    EXPECT_EQ("50%s", FormatWithText("%s%s", "50%s").substr(0, 4));
}

}  // namespace
