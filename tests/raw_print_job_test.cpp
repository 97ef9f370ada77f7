#include "core/DriverEnvironment.h"
#include "core/RawPrintJob.h"
#include "settings/ProgramSettings.h"
#include "support/TestEnvironment.h"

#include <gtest/gtest.h>
#include <winspool.h>

#include <algorithm>

using namespace testenv;

namespace {

// Largest buffered file; kOwn: the program's own threshold and chunk size.
const uint64_t kBuffered = 1 << 20, kStreamed = 0, kOwn = UINT64_MAX;
const std::string kNoJob = "<no job>";

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

TEST_F(RawPrintJobTest, BytesAtThePrinterAndEveryFailureMessage)
{
    const std::string all = AllByteValues() + "\x0C\x0C page two \x0C", data = Pattern(10000);
    const std::string head = data.substr(0, 8192), big = Pattern(3 * 1024 * 1024 + 17);
    // Names in any script, and past any fixed message buffer, come back whole, "%s" and all.
    const WideString path = Wide(dir.Path()) + L"\\\x0414\x043c\x0438 \x6771.prn";
    MoveFileW(Wide(dir.Write("s.prn", data)).c_str(), path.c_str());
    const WideString allPath = Wide(dir.Write("all.prn", all)), empty = Wide(dir.Write("empty.prn", ""));
    const WideString whole = Wide(dir.Write("whole.prn", head)), bigPath = Wide(dir.Write("big.prn", big));
    const WideString missing = Wide(dir.Path()) + L"\\" + WideString(200, L'd') + L"\\" +
                               WideString(200, L'\x0435') + L"\\missing %s file.prn";
    // Another program still writing the file: the share mode admits readers only.
    const WideString busy = Wide(dir.Write("busy.prn", "half written"));
    HANDLE writer = CreateFileW(busy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                nullptr, OPEN_EXISTING, 0, nullptr);
    const WideString nowhere = L"No Such Printer %s \x6771\x4eac " + WideString(1500, L'x');
    const WideString notFound = L"Could not find the printer \"" + nowhere + L"\".";
    const WideString sendFailed = L"An error occurred sending the file data to the printer.";
    const WideString readFailed = L"Error reading the file \"" + path + L"\".";
    const auto notOpened = [](const WideString& file) {
        return L"Could not open the file:\n\n\"" + file + L"\"\n\nfor printing.";
    };
    const struct {
        int newLine;  // "AddNewLineAfterFormFeed", -1: not stored
        WideString file, printer;  // printer "": the capture printer
        uint64_t largestBuffered;   // chunks of 4096 bytes but for kOwn
        std::string fault;  // read (r), write (w) or state (s) call n fails; in capitals, a byte short; "-": state not asked
        WideString error;  // "": sent
        std::vector<DWORD> writes;  // the data's, then the trailer's
        std::string ends;  // the job's last calls: P page, D document, A abort, s queue state
        std::string printed;
        DWORD status = 0;  // added to what the queue reports
        PrinterWait wait = PrinterWait::None;
    } cases[] = {
        {-1, allPath, L"", kOwn, "", L"", {DWORD(all.size()), 1}, "PDss", all + "\x0C"},
        {0, bigPath, L"", kOwn, "", L"", {DWORD(big.size()), 1}, "PDss", big + "\x0C"},
        {2, empty, L"", kStreamed, "", L"", {0, 2}, "PDss", "\x0C\x0A"},
        {0, path, L"", kStreamed, "", L"", {4096, 4096, 1808, 1}, "PDss", data + "\x0C"},
        {0, whole, L"", kStreamed, "", L"", {4096, 4096, 1}, "PDss", head + "\x0C"},
        {0, path, nowhere, kBuffered, "", notFound, {}, "", kNoJob},
        {0, missing, L"", kBuffered, "", notOpened(missing), {}, "", kNoJob},
        {0, busy, L"", kBuffered, "", notOpened(busy), {}, "", kNoJob},
        // The queue's state once the job is accepted; one that cannot be read changes nothing.
        {0, whole, L"", kOwn, "", L"", {8192, 1}, "PDss", head + "\x0C", PRINTER_STATUS_PAPER_OUT,
         PrinterWait::PaperOut},
        {0, whole, L"", kOwn, "s1", L"", {8192, 1}, "PDss", head + "\x0C", PRINTER_STATUS_PAUSED},
        {0, whole, L"", kOwn, "-", L"", {8192, 1}, "PD", head + "\x0C", PRINTER_STATUS_PAPER_OUT},
        // Nothing read: no job. A write that fails or falls short, or a stream read that fails
        // midway: the job is cancelled, but Wine's AbortPrinter does nothing, so what was
        // spooled may still come out, never a trailer.
        {0, path, L"", kStreamed, "w1", sendFailed, {4096, 4096}, "A", head},
        {0, path, L"", kBuffered, "W0", sendFailed, {10000}, "A", data},
        {0, path, L"", kBuffered, "R0", readFailed, {}, "", kNoJob},
        {0, path, L"", kStreamed, "r2", readFailed, {4096, 4096}, "A", head},
    };
    for (const auto& c : cases) {
        const std::string what = "case " + std::to_string(&c - cases);
        if (c.newLine >= 0)
            RawWriteDword(kProgramSubKey, settings::kAddNewLineAfterFormFeed, c.newLine);
        printer.Forget();
        size_t reads = 0;
        std::vector<DWORD> writes;
        const auto outcome = [&](char kind, size_t call, BOOL ok, DWORD* done) {
            const bool hit = c.fault.size() == 2 && (c.fault[0] | 0x20) == kind &&
                             static_cast<size_t>(c.fault[1] - '0') == call;
            if (hit && isupper(c.fault[0]) && *done > 0)
                --*done;
            return hit && islower(c.fault[0]) ? FALSE : ok;
        };
        RawJobTransfer transfer;
        if (c.largestBuffered != kOwn)
            transfer = {c.largestBuffered, 4096, nullptr, nullptr};
        transfer.readQueueState = c.fault != "-";
        transfer.readFile = [&](HANDLE file, void* bytes, DWORD size, DWORD* done) {
            return outcome('r', reads++, ReadFile(file, bytes, size, done, nullptr), done);
        };
        transfer.writePrinter = [&](HANDLE handle, void* bytes, DWORD size, DWORD* done) {
            writes.push_back(size);
            return outcome('w', writes.size() - 1, WritePrinter(handle, bytes, size, done), done);
        };
        std::string ends;
        transfer.endCall = [&](RawJobTransfer::End call, HANDLE handle) {
            ends += "PDA"[static_cast<int>(call)];
            return call == RawJobTransfer::End::Page       ? EndPagePrinter(handle)
                   : call == RawJobTransfer::End::Document ? EndDocPrinter(handle)
                                                           : AbortPrinter(handle);
        };
        transfer.getPrinter = [&](HANDLE handle, DWORD level, BYTE* info, DWORD size, DWORD* needed) {
            ends += 's';
            const BOOL ok = GetPrinterW(handle, level, info, size, needed);
            if (ok && info)
                reinterpret_cast<PRINTER_INFO_2W*>(info)->Status |= c.status;
            return outcome('s', std::count(ends.begin(), ends.end(), 's') - 1, ok, needed);
        };
        const WideString name = c.printer.empty() ? printer.WideName() : c.printer;
        WideString error = L"earlier text";  // left alone by a job that was sent
        PrinterWait wait = PrinterWait::Error;
        EXPECT_EQ(c.error.empty(), PrintFileRaw(c.file, name, error, wait, transfer)) << what;
        EXPECT_EQ(c.wait, wait) << what;
        EXPECT_EQ(c.error.empty() ? L"earlier text" : c.error, error) << what;
        EXPECT_EQ(c.writes, writes) << what;
        EXPECT_EQ(c.ends, ends) << what;
        const std::string printed = printer.HasJob() ? printer.Bytes() : kNoJob;
        EXPECT_TRUE(printed == c.printed || (c.ends == "A" && printed == kNoJob))
            << what << ": " << printed.size() << " bytes printed";
    }
    CloseHandle(writer);
}

TEST_F(RawPrintJobTest, DataTypeFollowsTheDriverAndTheOtherIsTriedOnceOnError1804)
{
    const WideString path = Wide(dir.Write("x.prn", "^XA^XZ"));
    const struct {
        int attributes;             // the driver's; -1: no level-8 information
        std::vector<DWORD> refuse;  // StartDocPrinterA's error per call; 0: the spooler's
        std::vector<std::string> types;
        std::string printed;
        const char* answersIn = nullptr;  // the one driver environment that has the driver
        USHORT program = IMAGE_FILE_MACHINE_UNKNOWN, machine = IMAGE_FILE_MACHINE_UNKNOWN;
    } cases[] = {
        {-1, {0}, {"RAW"}, "^XA^XZ\x0C"},
        {0x1 | 0x4, {0}, {"RAW"}, "^XA^XZ\x0C"},
        {0x2 | 0x4, {0}, {"XPS_PASS"}, "^XA^XZ\x0C"},  // PRINTER_DRIVER_XPS
        {0x2, {1804, 0}, {"XPS_PASS", "RAW"}, "^XA^XZ\x0C"},
        {0, {1804, 0}, {"RAW", "XPS_PASS"}, "^XA^XZ\x0C"},
        {0, {1804, 1804}, {"RAW", "XPS_PASS"}, kNoJob},
        {0x2, {ERROR_ACCESS_DENIED}, {"XPS_PASS"}, kNoJob},
        // A program on a machine of another architecture finds a driver installed for
        // the machine's programs only: x86 on x64, x86 on ARM64, x64 on ARM64, native.
        {0x2, {0}, {"XPS_PASS"}, "^XA^XZ\x0C", "Windows x64", IMAGE_FILE_MACHINE_I386, IMAGE_FILE_MACHINE_AMD64},
        {0x2, {0}, {"XPS_PASS"}, "^XA^XZ\x0C", "Windows ARM64", IMAGE_FILE_MACHINE_I386, 0xAA64},
        {0x2, {0}, {"XPS_PASS"}, "^XA^XZ\x0C", "Windows ARM64", IMAGE_FILE_MACHINE_AMD64, 0xAA64},
        {0x2, {0}, {"RAW"}, "^XA^XZ\x0C", "Windows x64", IMAGE_FILE_MACHINE_AMD64, IMAGE_FILE_MACHINE_AMD64},
    };
    for (const auto& c : cases) {
        printer.Forget();
        RawJobTransfer transfer;
        bool sized = false;  // answers a fetch only after a size query, as some systems do
        transfer.nativeEnvironment = [&] { return NativeDriverEnvironment(c.program, c.machine); };
        transfer.getPrinterDriver = [&](HANDLE, const char* environment, DWORD, BYTE* info,
                                        DWORD size, DWORD* needed) {
            const bool here = std::string(environment ? environment : "") == (c.answersIn ? c.answersIn : "");
            *needed = c.attributes < 0 || !here ? 0 : sizeof(DRIVER_INFO_8W);
            const bool fetched = *needed && sized && size >= *needed;
            sized = sized || size == 0;
            if (fetched)
                reinterpret_cast<DRIVER_INFO_8W*>(info)->dwPrinterDriverAttributes = c.attributes;
            return fetched ? TRUE : FALSE;
        };
        std::vector<std::string> types;
        transfer.startDocPrinter = [&](HANDLE handle, DWORD level, BYTE* info) -> DWORD {
            DOC_INFO_1W doc = *reinterpret_cast<DOC_INFO_1W*>(info);
            types.push_back(Narrow(doc.pDatatype) + (Narrow(doc.pDocName) == "Kestrola" ? "" : " misnamed"));
            doc.pDatatype = const_cast<wchar_t*>(L"RAW");  // Wine's spooler cannot end any other
            SetLastError(c.refuse[types.size() - 1]);
            return GetLastError() ? 0 : StartDocPrinterW(handle, level, (BYTE*)&doc);
        };
        WideString error;
        PrinterWait wait;
        PrintFileRaw(path, printer.WideName(), error, wait, transfer);
        EXPECT_EQ(c.printed == kNoJob ? L"An error occurred while initializing the printer." : L"",
                  error);
        EXPECT_EQ(c.types, types) << c.attributes;
        EXPECT_EQ(c.printed, printer.HasJob() ? printer.Bytes() : kNoJob);
    }
}

}  // namespace
