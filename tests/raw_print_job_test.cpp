#include "core/RawPrintJob.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <winspool.h>

#include <vector>

using namespace testenv;

namespace {

// Largest buffered file; kPlain: the program's own transfer, not watched.
const uint64_t kBuffered = 1 << 20, kStreamed = 0, kPlain = UINT64_MAX;
const std::string kNoJob = "<no job>";

std::string Pattern(size_t size)
{
    std::string bytes(size, '\0');
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<char>((i * 7 + i / 256) & 0xFF);
    return bytes;
}

// Passes every ReadFile and WritePrinter call of a job on in chunks of 4096 bytes and
// records the sizes written. The call numbered failRead or failWrite then fails, or with
// failShort moves a byte less.
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
    RawJobTransfer Transfer(uint64_t largestBuffered)
    {
        RawJobTransfer transfer{largestBuffered, 4096, nullptr, nullptr};
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

TEST_F(RawPrintJobTest, BytesAtThePrinterAndEveryFailureMessage)
{
    const std::string all = AllByteValues() + "\x0C\x0C page two \x0C", data = Pattern(10000);
    const std::string path = dir.Write("s.prn", data), allPath = dir.Write("all.prn", all);
    const std::string empty = dir.Write("empty.prn", ""), exact = dir.Write("x.prn", Pattern(8192));
    const std::string missing = dir.Path() + "\\" + std::string(200, 'd') + "\\" +
                                std::string(200, 'e') + "\\missing %s file.prn";
    // Another program still writing the file: the share mode admits readers only.
    const std::string busy = dir.Write("busy.prn", "half written");
    HANDLE writer = CreateFileA(busy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    // Names past any fixed message buffer come back whole, "%s" and all.
    const std::string nowhere = "No Such Printer %s " + std::string(1500, 'x');
    const std::string sendFailed = "An error occurred sending the file data to the printer.";
    const std::string readFailed = "Error reading the file \"" + path + "\".";
    const std::string notFound = "Could not find the printer \"" + nowhere + "\".";
    const auto notOpened = [](const std::string& file) {
        return "Could not open the file:\n\n\"" + file + "\"\n\nfor printing.";
    };
    const struct {
        int newLine;  // "AddNewLineAfterFormFeed", -1: not stored
        std::string file, printer;
        uint64_t largestBuffered;
        size_t failRead, failWrite;
        bool failShort;
        std::string error;  // "": sent
        std::vector<DWORD> writes;  // the data's, then the trailer's
        std::string printed;
    } cases[] = {
        {-1, allPath, "", kPlain, SIZE_MAX, SIZE_MAX, false, "", {}, all + "\x0C"},
        {0, empty, "", kBuffered, SIZE_MAX, SIZE_MAX, false, "", {0, 1}, "\x0C"},
        {2, empty, "", kStreamed, SIZE_MAX, SIZE_MAX, false, "", {0, 2}, "\x0C\x0A"},
        {2, path, "", kBuffered, SIZE_MAX, SIZE_MAX, false, "", {10000, 2}, data + "\x0C\x0A"},
        {0, path, "", kStreamed, SIZE_MAX, SIZE_MAX, false, "", {4096, 4096, 1808, 1},
         data + "\x0C"},
        {0, exact, "", kStreamed, SIZE_MAX, SIZE_MAX, false, "", {4096, 4096, 1},
         Pattern(8192) + "\x0C"},
        {0, path, nowhere, kBuffered, SIZE_MAX, SIZE_MAX, false, notFound, {}, kNoJob},
        {0, path, nowhere, kStreamed, SIZE_MAX, SIZE_MAX, false, notFound, {}, kNoJob},
        {0, missing, "", kBuffered, SIZE_MAX, SIZE_MAX, false, notOpened(missing), {}, kNoJob},
        {0, busy, "", kBuffered, SIZE_MAX, SIZE_MAX, false, notOpened(busy), {}, kNoJob},
        // A write that fails or takes a byte less ends the data (what it handed over stays
        // spooled); the trailer still follows.
        {0, path, "", kStreamed, SIZE_MAX, 1, false, sendFailed, {4096, 4096, 1},
         data.substr(0, 8192) + "\x0C"},
        {0, path, "", kStreamed, SIZE_MAX, 1, true, sendFailed, {4096, 4096, 1},
         data.substr(0, 8192) + "\x0C"},
        {0, path, "", kBuffered, SIZE_MAX, 0, true, sendFailed, {10000, 1}, data + "\x0C"},
        // Nothing read: no job. Part of a stream read: the job is cancelled, but Wine's
        // AbortPrinter does nothing, so what was spooled may still come out, never a trailer.
        {0, path, "", kStreamed, 0, SIZE_MAX, false, readFailed, {}, kNoJob},
        {0, path, "", kBuffered, 0, SIZE_MAX, true, readFailed, {}, kNoJob},
        {0, path, "", kStreamed, 2, SIZE_MAX, false, readFailed, {4096, 4096},
         data.substr(0, 8192)},
    };
    for (const auto& c : cases) {
        const std::string what = c.file.substr(c.file.size() - 8) + " case " +
                                 std::to_string(&c - cases);
        if (c.newLine >= 0)
            RawWriteDword(kProgramSubKey, settings::kAddNewLineAfterFormFeed, c.newLine);
        printer.Forget();
        Faults faults{c.failRead, c.failWrite, c.failShort, 0, {}};
        std::string error = "earlier text";  // left alone by a job that was sent
        const std::string name = c.printer.empty() ? printer.Name() : c.printer;
        EXPECT_EQ(c.error.empty(), c.largestBuffered == kPlain
                                       ? PrintFileRaw(c.file, name, error)
                                       : PrintFileRaw(c.file, name, error,
                                                      faults.Transfer(c.largestBuffered)))
            << what;
        EXPECT_EQ(c.error.empty() ? "earlier text" : c.error, error) << what;
        EXPECT_EQ(c.writes, faults.writes) << what;
        const std::string printed = printer.HasJob() ? printer.Bytes() : kNoJob;
        EXPECT_TRUE(printed == c.printed || (c.error == readFailed && printed == kNoJob))
            << what << ": " << printed.size() << " bytes printed";
    }
    CloseHandle(writer);
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
        LARGE_INTEGER end;
        end.QuadPart = static_cast<LONGLONG>(size);
        ASSERT_TRUE(SetFilePointerEx(file, end, nullptr, FILE_BEGIN) && SetEndOfFile(file));
        CloseHandle(file);
        uint64_t read = 0, written = 0;
        RawJobTransfer transfer;  // the program's own threshold and chunk size
        transfer.readFile = [&](HANDLE, void*, DWORD length, DWORD* done) {
            read += *done = length;
            return TRUE;
        };
        transfer.writePrinter = [&](HANDLE, void*, DWORD length, DWORD* done) {
            written += *done = length;
            return TRUE;
        };
        std::string error;
        EXPECT_TRUE(PrintFileRaw(path, printer.Name(), error, transfer)) << error;
        EXPECT_EQ(size, read);
        EXPECT_EQ(size + 1, written);  // the file and the form feed
        DeleteFileA(path.c_str());
    }
}

}  // namespace
