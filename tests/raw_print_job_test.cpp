#include "core/RawPrintJob.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <winspool.h>

#include <vector>

using namespace testenv;

namespace {

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

// Passes every ReadFile and WritePrinter call of a job on and records the sizes written.
// The call numbered failRead or failWrite then fails, or with failShort moves a byte less.
struct Faults {
    size_t failRead = SIZE_MAX, failWrite = SIZE_MAX;
    bool failShort = false;
    size_t reads = 0;
    std::vector<DWORD> writes;

    BOOL Outcome(bool fail, BOOL ok, DWORD* done) const
    {
        if (fail && failShort && *done > 0)
            --*done;
        return fail && !failShort ? FALSE : ok;
    }
    RawJobTransfer Transfer(uint64_t largestBuffered, DWORD chunkSize)
    {
        RawJobTransfer transfer{largestBuffered, chunkSize, nullptr, nullptr};
        transfer.readFile = [this](HANDLE file, void* data, DWORD size, DWORD* done) {
            return Outcome(reads++ == failRead, ReadFile(file, data, size, done, nullptr), done);
        };
        transfer.writePrinter = [this](HANDLE printer, void* data, DWORD size, DWORD* done) {
            writes.push_back(size);
            return Outcome(writes.size() - 1 == failWrite, WritePrinter(printer, data, size, done),
                           done);
        };
        return transfer;
    }
};

class RawPrintJobTest : public ::testing::Test {
protected:
    ProgramKeyGuard programKey;
    CapturePrinter printer;
    ScratchDir dir;
};

TEST_F(RawPrintJobTest, SendsTheFileUnchangedThenTheTrailerAndLeavesTheErrorTextAlone)
{
    const struct {
        std::string data;
        int newLine;  // "AddNewLineAfterFormFeed", -1: not stored
        const char* trailer;
    } cases[] = {
        {AllByteValues() + "\x0C\x0C page two \x0C", -1, "\x0C"},
        {"", -1, "\x0C"},
        {"^XA^FO50,50^FDKestrola^FS^XZ", 2, "\x0C\x0A"},
        {"^XA^FO50,50^FDKestrola^FS^XZ", 0, "\x0C"},
        {"%!PS-Adobe-3.0\n/Helvetica findfont\nshowpage\n", 0, "\x0C"},  // not converted
    };
    for (const auto& c : cases) {
        if (c.newLine >= 0)
            RawWriteDword(kProgramSubKey, settings::kAddNewLineAfterFormFeed, c.newLine);
        std::string error = "earlier text";
        EXPECT_TRUE(PrintFileRaw(dir.Write("job.prn", c.data), printer.Name(), error));
        EXPECT_EQ("earlier text", error);
        EXPECT_EQ(c.data + c.trailer, printer.Bytes());
    }
}

TEST_F(RawPrintJobTest, FailuresNameThePrinterOrTheFileAsGivenAndMakeNoJob)
{
    // Names and paths far past any fixed message buffer come back whole, "%s" and all.
    const std::string name = "No Such Printer %s " + std::string(1500, 'x');
    const std::string path = dir.Write("a.prn", "data");
    std::string error;
    for (uint64_t largestBuffered : {uint64_t(1) << 20, uint64_t(0)}) {  // buffered, streamed
        EXPECT_FALSE(PrintFileRaw(path, name, error, {largestBuffered, 4096, nullptr, nullptr}));
        EXPECT_EQ("Could not find the printer \"" + name + "\".", error);
    }
    const std::string missing = dir.Path() + "\\" + std::string(200, 'd') + "\\" +
                                std::string(200, 'e') + "\\missing %s file.prn";
    // Another program still writing the file: the share mode admits readers only.
    const std::string busy = dir.Write("busy.prn", "half written");
    HANDLE writer = CreateFileA(busy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(INVALID_HANDLE_VALUE, writer);
    for (const std::string& file : {missing, busy}) {
        EXPECT_FALSE(PrintFileRaw(file, printer.Name(), error));
        EXPECT_EQ("Could not open the file:\n\n\"" + file + "\"\n\nfor printing.", error);
    }
    CloseHandle(writer);
    EXPECT_FALSE(printer.HasJob());
}

TEST_F(RawPrintJobTest, AFileThatFitsGoesInOneWriteOthersInChunksWithTheSameBytes)
{
    const RawJobTransfer standard;
    const size_t big = 3 * 1024 * 1024 + 17;  // more than a chunk
    const struct {
        size_t fileSize;
        uint64_t largestBuffered;
        DWORD chunkSize;
        std::vector<DWORD> writes;  // the data's, then the trailer's
    } cases[] = {
        {big, standard.largestBuffered, standard.chunkSize, {big, 1}},
        {10000, 0, 4096, {4096, 4096, 1808, 1}},
        {12288, 0, 4096, {4096, 4096, 4096, 1}},
        {0, 0, 4096, {0, 1}},
    };
    for (const auto& c : cases) {
        const std::string data = Pattern(c.fileSize);
        Faults none;
        std::string error;
        EXPECT_TRUE(PrintFileRaw(dir.Write("job.prn", data), printer.Name(), error,
                                 none.Transfer(c.largestBuffered, c.chunkSize)));
        EXPECT_EQ("", error);
        EXPECT_EQ(c.writes, none.writes) << c.fileSize;
        EXPECT_TRUE(printer.Bytes() == data + "\x0C") << c.fileSize;
    }
}

TEST_F(RawPrintJobTest, AFailedOrShortReadOrWriteIsReportedAndNeverPrintsAsAWholeJob)
{
    const std::string data = Pattern(10000);
    const std::string path = dir.Write("s.prn", data);
    const std::string sendFailed = "An error occurred sending the file data to the printer.";
    const std::string readFailed = "Error reading the file \"" + path + "\".";
    const std::string noJob = "<no job>";
    const struct {
        uint64_t largestBuffered;
        size_t failRead, failWrite;
        bool failShort;
        const std::string& error;
        std::vector<DWORD> writes;
        std::string printed;
    } cases[] = {
        // A write that fails or takes a byte less ends the data (what it handed over stays
        // spooled); the trailer still follows.
        {0, SIZE_MAX, 1, false, sendFailed, {4096, 4096, 1}, data.substr(0, 8192) + "\x0C"},
        {0, SIZE_MAX, 1, true, sendFailed, {4096, 4096, 1}, data.substr(0, 8192) + "\x0C"},
        {1 << 20, SIZE_MAX, 0, true, sendFailed, {10000, 1}, data + "\x0C"},
        // Nothing read: no job. Part of a stream read: the job is cancelled, but Wine's
        // AbortPrinter does nothing, so what was spooled may still come out, never a trailer.
        {0, 0, SIZE_MAX, false, readFailed, {}, noJob},
        {1 << 20, 0, SIZE_MAX, true, readFailed, {}, noJob},
        {0, 2, SIZE_MAX, false, readFailed, {4096, 4096}, data.substr(0, 8192)},
    };
    for (const auto& c : cases) {
        printer.Forget();
        Faults faults{c.failRead, c.failWrite, c.failShort, 0, {}};
        std::string error;
        EXPECT_FALSE(PrintFileRaw(path, printer.Name(), error,
                                  faults.Transfer(c.largestBuffered, 4096)));
        EXPECT_EQ(c.error, error);
        EXPECT_EQ(c.writes, faults.writes) << c.failRead << " " << c.failWrite;
        const std::string printed = printer.HasJob() ? printer.Bytes() : noJob;
        EXPECT_TRUE(printed == c.printed || (c.error == readFailed && printed == noJob))
            << printed.size() << " bytes printed";
    }
}

TEST_F(RawPrintJobTest, FilesTooLargeForOneBufferAreSentWhole)
{
    // Just under the size that is always streamed, where a 32-bit process cannot get the
    // buffer (but might elsewhere), and just past 4 GiB, where a size cut to its low 32
    // bits would be five bytes. The files are sparse, and the transfer only counts the
    // bytes it is asked to read and write.
    for (const uint64_t size : {uint64_t(0x7FFFFFFF), (uint64_t(1) << 32) + 5}) {
        const std::string path = dir.Path() + "\\huge.prn";
        HANDLE file =
            CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
        ASSERT_NE(INVALID_HANDLE_VALUE, file);
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        const bool made = SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file);
        CloseHandle(file);
        ASSERT_TRUE(made);

        uint64_t read = 0, written = 0;
        DWORD lastWrite = 0;
        RawJobTransfer transfer;  // the program's own threshold and chunk size
        transfer.readFile = [&](HANDLE, void*, DWORD length, DWORD* done) {
            read += *done = length;
            return TRUE;
        };
        transfer.writePrinter = [&](HANDLE, void*, DWORD length, DWORD* done) {
            written += *done = lastWrite = length;
            return TRUE;
        };
        std::string error;
        EXPECT_TRUE(PrintFileRaw(path, printer.Name(), error, transfer)) << size;
        EXPECT_EQ("", error);
        EXPECT_EQ(size, read);
        EXPECT_EQ(size + 1, written);  // the file and the form feed
        EXPECT_EQ(1u, lastWrite);
        DeleteFileA(path.c_str());
    }
}

TEST_F(RawPrintJobTest, DataTypeFollowsTheDriverAndTheOtherIsTriedOnceOnError1804)
{
    const std::string path = dir.Write("x.prn", "^XA^XZ"), failed = "<no job>";
    const struct {
        int attributes;             // the driver's; -1: no level-8 information
        std::vector<DWORD> refuse;  // StartDocPrinterA's error per call; 0: the spooler's
        std::vector<std::string> types;
        std::string printed;
    } cases[] = {
        {-1, {0}, {"RAW"}, "^XA^XZ\x0C"},
        {0x1 | 0x4, {0}, {"RAW"}, "^XA^XZ\x0C"},
        {0x2 | 0x4, {0}, {"XPS_PASS"}, "^XA^XZ\x0C"},  // PRINTER_DRIVER_XPS
        {0x2, {1804, 0}, {"XPS_PASS", "RAW"}, "^XA^XZ\x0C"},
        {0, {1804, 0}, {"RAW", "XPS_PASS"}, "^XA^XZ\x0C"},
        {0, {1804, 1804}, {"RAW", "XPS_PASS"}, failed},
        {0x2, {ERROR_ACCESS_DENIED}, {"XPS_PASS"}, failed},
    };
    for (const auto& c : cases) {
        printer.Forget();
        RawJobTransfer transfer;
        bool sized = false;  // answers a fetch only after a size query, as some systems do
        transfer.getPrinterDriver = [&](HANDLE, DWORD, BYTE* info, DWORD size, DWORD* needed) {
            *needed = c.attributes < 0 ? 0 : sizeof(DRIVER_INFO_8A);
            const bool fetched = *needed && sized && size >= *needed;
            sized = sized || size == 0;
            if (fetched)
                reinterpret_cast<DRIVER_INFO_8A*>(info)->dwPrinterDriverAttributes = c.attributes;
            return fetched ? TRUE : FALSE;
        };
        std::vector<std::string> types;
        transfer.startDocPrinter = [&](HANDLE handle, DWORD level, BYTE* info) -> DWORD {
            DOC_INFO_1A doc = *reinterpret_cast<DOC_INFO_1A*>(info);
            types.push_back(doc.pDatatype);
            doc.pDatatype = const_cast<char*>("RAW");  // Wine's spooler cannot end any other
            SetLastError(c.refuse[types.size() - 1]);
            return GetLastError() ? 0 : StartDocPrinterA(handle, level, (BYTE*)&doc);
        };
        std::string error;
        PrintFileRaw(path, printer.Name(), error, transfer);
        EXPECT_EQ(c.printed == failed ? "An error occurred while initializing the printer." : "",
                  error);
        EXPECT_EQ(c.types, types) << c.attributes;
        EXPECT_EQ(c.printed, printer.HasJob() ? printer.Bytes() : failed);
    }
}

}  // namespace
