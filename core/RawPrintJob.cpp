#include "core/RawPrintJob.h"

#include "core/FilePath.h"
#include "core/OwnedHandle.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

const char kCannotOpenFile[] = "Could not open the file:\n\n\"%s\"\n\nfor printing.";
const char kCannotReadFile[] = "Error reading the file \"%s\".";
const char kCannotFindPrinter[] = "Could not find the printer \"%s\".";
const char kCannotStartDocument[] = "An error occurred while initializing the printer.";
const char kCannotStartPage[] = "An error occurred while initializing the document.";
const char kCannotSendData[] = "An error occurred sending the file data to the printer.";

using OwnedPrinter = Owned<HANDLE, ClosePrinterHandle>;

// Through the wide call on the full path, in the "\\?\" form past MAX_PATH: a path of
// any length opens, and a name the caller reached through its short form opens by it.
OwnedFile OpenFileToSend(const std::string& filePath)
{
    const std::wstring full = path::Full(path::FromAnsi(filePath));
    if (full.empty())
        return OwnedFile();
    return OwnedFile(CreateFileW(path::ForSystemCall(full).c_str(), GENERIC_READ,
                                 FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
}

// A buffer of exactly size bytes, or null when the file is to be streamed instead.
std::unique_ptr<char[]> WholeFileBuffer(uint64_t size, const RawJobTransfer& transfer)
{
    if (size > transfer.largestBuffered || size > SIZE_MAX - 1)
        return nullptr;
    return std::unique_ptr<char[]>(new (std::nothrow) char[size ? size : 1]);
}

bool ReadExactly(HANDLE file, const RawJobTransfer& transfer, char* data, DWORD size)
{
    DWORD read = 0;
    const BOOL ok = transfer.readFile ? transfer.readFile(file, data, size, &read)
                                      : ReadFile(file, data, size, &read, nullptr);
    return ok && read == size;
}

bool WriteData(HANDLE printer, const RawJobTransfer& transfer, char* data, DWORD size)
{
    DWORD written = 0;
    const BOOL ok = transfer.writePrinter ? transfer.writePrinter(printer, data, size, &written)
                                          : WritePrinter(printer, data, size, &written);
    return ok && written == size;
}

bool OpenNamedPrinter(const std::string& printerName, OwnedPrinter& printer,
                      std::string& errorText)
{
    HANDLE rawPrinter = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printerName.c_str()), &rawPrinter, nullptr) ||
        !rawPrinter) {
        errorText = FormatWithText(kCannotFindPrinter, printerName);
        return false;
    }
    printer.reset(rawPrinter);
    return true;
}

// The driver's attribute flag for an XPS-based driver (DRIVER_INFO_8).
constexpr DWORD kPrinterDriverXps = 0x00000002;

BOOL QueryDriver(HANDLE printer, const RawJobTransfer& transfer, BYTE* info, DWORD size,
                 DWORD* needed)
{
    if (transfer.getPrinterDriver)
        return transfer.getPrinterDriver(printer, 8, info, size, needed);
    return GetPrinterDriverA(printer, nullptr, 8, info, size, needed);
}

// An XPS-based driver (every queue of the IPP class driver, for one) accepts a "RAW" job
// and prints nothing; "XPS_PASS" hands the bytes to the device past its filters. Systems
// that cannot answer level 8 (older Windows, Wine) have no such drivers, and there the
// size query, which every job pays for, is the only call.
bool DriverIsXpsBased(HANDLE printer, const RawJobTransfer& transfer)
{
    // The size first: some systems fail a fetch into a buffer they did not size themselves.
    DWORD needed = 0;
    QueryDriver(printer, transfer, nullptr, 0, &needed);
    if (needed < sizeof(DRIVER_INFO_8A) || needed > 1024 * 1024)  // no answer, or no sane one
        return false;
    // A driver's names and file lists usually fit on the stack; a longer answer is fetched
    // into the heap.
    alignas(DRIVER_INFO_8A) BYTE local[2048];
    std::unique_ptr<BYTE[]> large;
    BYTE* info = local;
    if (needed > sizeof(local)) {
        large.reset(new (std::nothrow) BYTE[needed]);
        if (!large)
            return false;
        info = large.get();
    }
    if (!QueryDriver(printer, transfer, info, needed, &needed))
        return false;
    return (reinterpret_cast<const DRIVER_INFO_8A*>(info)->dwPrinterDriverAttributes &
            kPrinterDriverXps) != 0;
}

DWORD StartDocument(HANDLE printer, const char* dataType, const RawJobTransfer& transfer)
{
    DOC_INFO_1A docInfo = {};
    docInfo.pDocName = const_cast<char*>("Kestrola");
    docInfo.pOutputFile = nullptr;
    docInfo.pDatatype = const_cast<char*>(dataType);
    BYTE* info = reinterpret_cast<BYTE*>(&docInfo);
    return transfer.startDocPrinter ? transfer.startDocPrinter(printer, 1, info)
                                    : StartDocPrinterA(printer, 1, info);
}

// Starts the document, and for "RAW" its page; on failure nothing is left open but the
// printer. True with pages set when the job has a page to end.
bool StartJob(HANDLE printer, const RawJobTransfer& transfer, bool& pages,
              std::string& errorText)
{
    const char* dataType = DriverIsXpsBased(printer, transfer) ? "XPS_PASS" : "RAW";
    DWORD job = StartDocument(printer, dataType, transfer);
    if (job == 0 && GetLastError() == ERROR_INVALID_DATATYPE) {
        // Some drivers misreport what they are: the other data type may still be accepted.
        dataType = strcmp(dataType, "RAW") == 0 ? "XPS_PASS" : "RAW";
        job = StartDocument(printer, dataType, transfer);
    }
    if (job == 0) {
        errorText = kCannotStartDocument;
        return false;
    }
    // Data passed straight to an XPS printer goes without pages.
    pages = strcmp(dataType, "RAW") == 0;
    if (pages && !StartPagePrinter(printer)) {
        errorText = kCannotStartPage;
        EndDocPrinter(printer);
        return false;
    }
    return true;
}

// Sends the trailer, whatever became of the data, then ends the page and the document.
// False when the document could not be ended: the spooler then has no job to print.
bool FinishJob(HANDLE printer, const RawJobTransfer& transfer, bool pages)
{
    DWORD addNewLine = 0;
    ReadRegistryDword(settings::kProgramKey, settings::kAddNewLineAfterFormFeed, addNewLine);
    char trailer[] = "\x0C\x0A";
    WriteData(printer, transfer, trailer, addNewLine ? 2 : 1);  // outcome ignored
    // Page before document before printer: the reverse of acquisition.
    if (pages)
        EndPagePrinter(printer);
    return EndDocPrinter(printer) != FALSE;
}

// The whole file in one read; the file is closed before the printer is opened.
bool SendBuffered(OwnedFile& file, char* data, DWORD size, const std::string& filePath,
                  const std::string& printerName, std::string& errorText,
                  const RawJobTransfer& transfer)
{
    if (!ReadExactly(file.get(), transfer, data, size)) {
        errorText = FormatWithText(kCannotReadFile, filePath);
        return false;
    }
    file.reset();

    OwnedPrinter printer;
    bool pages = false;
    if (!OpenNamedPrinter(printerName, printer, errorText) ||
        !StartJob(printer.get(), transfer, pages, errorText))
        return false;
    bool sent = WriteData(printer.get(), transfer, data, size);
    sent = FinishJob(printer.get(), transfer, pages) && sent;
    if (!sent)
        errorText = kCannotSendData;
    return sent;
}

// Chunk by chunk from one small buffer. The first chunk is read before the printer is
// opened, so an unreadable file is reported as such and makes no job at all.
bool SendStreamed(OwnedFile& file, uint64_t size, const std::string& filePath,
                  const std::string& printerName, std::string& errorText,
                  const RawJobTransfer& transfer)
{
    const DWORD chunkSize = std::max<DWORD>(transfer.chunkSize, 1);
    std::unique_ptr<char[]> chunk(new (std::nothrow) char[chunkSize]);
    uint64_t remaining = size;
    DWORD length = static_cast<DWORD>(std::min<uint64_t>(remaining, chunkSize));
    if (!chunk || !ReadExactly(file.get(), transfer, chunk.get(), length)) {
        errorText = FormatWithText(kCannotReadFile, filePath);
        return false;
    }

    OwnedPrinter printer;
    bool pages = false;
    if (!OpenNamedPrinter(printerName, printer, errorText) ||
        !StartJob(printer.get(), transfer, pages, errorText))
        return false;
    bool sent = true;
    for (;;) {
        // An empty file still gets its one data write of zero bytes, as when buffered.
        if (!WriteData(printer.get(), transfer, chunk.get(), length)) {
            errorText = kCannotSendData;
            sent = false;
            break;
        }
        remaining -= length;
        if (remaining == 0)
            break;
        length = static_cast<DWORD>(std::min<uint64_t>(remaining, chunkSize));
        if (!ReadExactly(file.get(), transfer, chunk.get(), length)) {
            // Part of the file is already spooled: cancel the job rather than let a
            // truncated one print as if it were whole.
            errorText = FormatWithText(kCannotReadFile, filePath);
            AbortPrinter(printer.get());
            return false;
        }
    }
    sent = FinishJob(printer.get(), transfer, pages) && sent;
    if (!sent)
        errorText = kCannotSendData;
    return sent;
}

}  // namespace

std::string FormatWithText(const char* format, const std::string& text)
{
    std::string message(format);
    const size_t at = message.find("%s");
    if (at != std::string::npos)
        message.replace(at, 2, text);
    return message;
}

bool PrintFileRaw(const std::string& filePath, const std::string& printerName,
                  std::string& errorText)
{
    return PrintFileRaw(filePath, printerName, errorText, RawJobTransfer());
}

bool PrintFileRaw(const std::string& filePath, const std::string& printerName,
                  std::string& errorText, const RawJobTransfer& transfer)
{
    OwnedFile file = OpenFileToSend(filePath);
    if (!file.valid()) {
        errorText = FormatWithText(kCannotOpenFile, filePath);
        return false;
    }
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file.get(), &size) || size.QuadPart < 0) {
        errorText = FormatWithText(kCannotReadFile, filePath);
        return false;
    }
    const uint64_t fileSize = static_cast<uint64_t>(size.QuadPart);

    // A file that fits is sent with one read and one data write; the buffer is dropped
    // before returning on every path.
    std::unique_ptr<char[]> whole = WholeFileBuffer(fileSize, transfer);
    if (whole)
        return SendBuffered(file, whole.get(), static_cast<DWORD>(fileSize), filePath,
                            printerName, errorText, transfer);
    return SendStreamed(file, fileSize, filePath, printerName, errorText, transfer);
}
