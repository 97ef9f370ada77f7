#include "core/RawPrintJob.h"

#include "core/DriverEnvironment.h"
#include "core/FilePath.h"
#include "core/OwnedHandle.h"
#include "core/SpoolerLibrary.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

namespace {

const wchar_t kCannotOpenFile[] = L"Could not open the file:\n\n\"%s\"\n\nfor printing.";
const wchar_t kCannotReadFile[] = L"Error reading the file \"%s\".";
const wchar_t kCannotFindPrinter[] = L"Could not find the printer \"%s\".";
const wchar_t kCannotStartDocument[] = L"An error occurred while initializing the printer.";
const wchar_t kCannotStartPage[] = L"An error occurred while initializing the document.";
const wchar_t kCannotSendData[] = L"An error occurred sending the file data to the printer.";

using OwnedPrinter = Owned<HANDLE, ClosePrinterHandle>;

// Through the wide call on the full path, in the "\\?\" form past MAX_PATH: a path of
// any length and any name opens.
OwnedFile OpenFileToSend(const WideString& filePath)
{
    const WideString full = path::Full(filePath);
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
                                          : Spooler()->writePrinter(printer, data, size, &written);
    return ok && written == size;
}

bool OpenNamedPrinter(const WideString& printerName, OwnedPrinter& printer,
                      WideString& errorText)
{
    // Without the spooler's library the job fails where it would first have needed it.
    if (Spooler() == nullptr) {
        errorText = kCannotStartDocument;
        return false;
    }
    HANDLE rawPrinter = nullptr;
    if (!Spooler()->openPrinter(const_cast<wchar_t*>(printerName.c_str()), &rawPrinter, nullptr) ||
        !rawPrinter) {
        errorText = FormatWithText(kCannotFindPrinter, printerName);
        return false;
    }
    printer.reset(rawPrinter);
    return true;
}

// The driver's attribute flag for an XPS-based driver (DRIVER_INFO_8).
constexpr DWORD kPrinterDriverXps = 0x00000002;

BOOL QueryDriver(HANDLE printer, const char* environment, const RawJobTransfer& transfer,
                 BYTE* info, DWORD size, DWORD* needed)
{
    if (transfer.getPrinterDriver)
        return transfer.getPrinterDriver(printer, environment, 8, info, size, needed);
    const WideString wideEnvironment = environment ? path::FromAnsi(environment) : WideString();
    return Spooler()->getPrinterDriver(
        printer, environment ? const_cast<wchar_t*>(wideEnvironment.c_str()) : nullptr, 8, info,
        size, needed);
}

// The driver's XPS flag as the spooler reports it in one environment: 1 or 0, or -1 when
// the spooler has no (sane) level-8 answer there.
int XpsFlagIn(HANDLE printer, const char* environment, const RawJobTransfer& transfer)
{
    int xps = -1;
    const auto query = [&](BYTE* info, DWORD size, DWORD* needed) {
        return QueryDriver(printer, environment, transfer, info, size, needed);
    };
    FetchSpoolerInfo(query, sizeof(DRIVER_INFO_8W), [&](const BYTE* info) {
        xps = (reinterpret_cast<const DRIVER_INFO_8W*>(info)->dwPrinterDriverAttributes &
               kPrinterDriverXps) != 0;
    });
    return xps;
}

// An XPS-based driver (every queue of the IPP class driver, for one) accepts a "RAW" job
// and prints nothing; "XPS_PASS" hands the bytes to the device past its filters. Systems
// that cannot answer level 8 (older Windows, Wine) have no such drivers, and there the
// size query, which every job pays for, is the only call. A program running on a machine
// of another architecture also asks in the native environment, where a driver installed
// for native programs only is found.
bool DriverIsXpsBased(HANDLE printer, const RawJobTransfer& transfer)
{
    int xps = XpsFlagIn(printer, nullptr, transfer);
    if (xps < 0) {
        const char* native = transfer.nativeEnvironment ? transfer.nativeEnvironment()
                                                        : NativeDriverEnvironment();
        if (native)
            xps = XpsFlagIn(printer, native, transfer);
    }
    return xps > 0;
}

DWORD StartDocument(HANDLE printer, const wchar_t* dataType, const RawJobTransfer& transfer)
{
    DOC_INFO_1W docInfo = {};
    docInfo.pDocName = const_cast<wchar_t*>(L"Kestrola");
    docInfo.pOutputFile = nullptr;
    docInfo.pDatatype = const_cast<wchar_t*>(dataType);
    BYTE* info = reinterpret_cast<BYTE*>(&docInfo);
    return transfer.startDocPrinter ? transfer.startDocPrinter(printer, 1, info)
                                    : Spooler()->startDocPrinter(printer, 1, info);
}

BOOL EndCall(RawJobTransfer::End call, HANDLE printer, const RawJobTransfer& transfer)
{
    if (transfer.endCall)
        return transfer.endCall(call, printer);
    switch (call) {
    case RawJobTransfer::End::Page:
        return Spooler()->endPagePrinter(printer);
    case RawJobTransfer::End::Document:
        return Spooler()->endDocPrinter(printer);
    case RawJobTransfer::End::Abort:
        return Spooler()->abortPrinter(printer);
    }
    return FALSE;
}

// Starts the document, and for "RAW" its page; on failure nothing is left open but the
// printer. True with pages set when the job has a page to end.
bool StartJob(HANDLE printer, const RawJobTransfer& transfer, bool& pages,
              WideString& errorText)
{
    const wchar_t* dataType = DriverIsXpsBased(printer, transfer) ? L"XPS_PASS" : L"RAW";
    DWORD job = StartDocument(printer, dataType, transfer);
    if (job == 0 && GetLastError() == ERROR_INVALID_DATATYPE) {
        // Some drivers misreport what they are: the other data type may still be accepted.
        dataType = wcscmp(dataType, L"RAW") == 0 ? L"XPS_PASS" : L"RAW";
        job = StartDocument(printer, dataType, transfer);
    }
    if (job == 0) {
        errorText = kCannotStartDocument;
        return false;
    }
    // Data passed straight to an XPS printer goes without pages.
    pages = wcscmp(dataType, L"RAW") == 0;
    if (pages && !Spooler()->startPagePrinter(printer)) {
        errorText = kCannotStartPage;
        EndCall(RawJobTransfer::End::Document, printer, transfer);
        return false;
    }
    return true;
}

// Cancels a job whose data did not reach the spooler whole, rather than let a truncated
// one print as if it were whole.
void AbortJob(HANDLE printer, const RawJobTransfer& transfer)
{
    EndCall(RawJobTransfer::End::Abort, printer, transfer);
}

// Sends the trailer, then ends the page and the document. False when the document could
// not be ended: the spooler then has no job to print. Once it is, the queue's state tells
// whether the job prints now; the printer is still open for that one question.
bool FinishJob(HANDLE printer, const RawJobTransfer& transfer, bool pages, PrinterWait& wait)
{
    DWORD addNewLine = 0;
    ReadRegistryDword(settings::kProgramKey, settings::kAddNewLineAfterFormFeed, addNewLine);
    char trailer[] = "\x0C\x0A";
    WriteData(printer, transfer, trailer, addNewLine ? 2 : 1);  // outcome ignored
    // Page before document before printer: the reverse of acquisition.
    if (pages)
        EndCall(RawJobTransfer::End::Page, printer, transfer);
    if (EndCall(RawJobTransfer::End::Document, printer, transfer) == FALSE)
        return false;
    if (transfer.readQueueState)
        wait = ReadPrinterWait([&](BYTE* info, DWORD size, DWORD* needed) {
            return transfer.getPrinter ? transfer.getPrinter(printer, 2, info, size, needed)
                                       : Spooler()->getPrinter(printer, 2, info, size, needed);
        });
    return true;
}

// The whole file in one read; the file is closed before the printer is opened.
bool SendBuffered(OwnedFile& file, char* data, DWORD size, const WideString& filePath,
                  const WideString& printerName, WideString& errorText, PrinterWait& wait,
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
    if (!WriteData(printer.get(), transfer, data, size)) {
        AbortJob(printer.get(), transfer);
        errorText = kCannotSendData;
        return false;
    }
    if (!FinishJob(printer.get(), transfer, pages, wait)) {
        errorText = kCannotSendData;
        return false;
    }
    return true;
}

// Chunk by chunk from one small buffer. The first chunk is read before the printer is
// opened, so an unreadable file is reported as such and makes no job at all.
bool SendStreamed(OwnedFile& file, uint64_t size, const WideString& filePath,
                  const WideString& printerName, WideString& errorText, PrinterWait& wait,
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
    bool whole = false;
    for (;;) {
        // An empty file still gets its one data write of zero bytes, as when buffered.
        if (!WriteData(printer.get(), transfer, chunk.get(), length)) {
            errorText = kCannotSendData;
            break;
        }
        remaining -= length;
        if (remaining == 0) {
            whole = true;
            break;
        }
        length = static_cast<DWORD>(std::min<uint64_t>(remaining, chunkSize));
        if (!ReadExactly(file.get(), transfer, chunk.get(), length)) {
            errorText = FormatWithText(kCannotReadFile, filePath);
            break;
        }
    }
    if (!whole) {
        AbortJob(printer.get(), transfer);
        return false;
    }
    if (!FinishJob(printer.get(), transfer, pages, wait)) {
        errorText = kCannotSendData;
        return false;
    }
    return true;
}

}  // namespace

WideString FormatWithText(const wchar_t* format, const WideString& text)
{
    WideString message(format);
    const size_t at = message.find(L"%s");
    if (at != WideString::npos)
        message.replace(at, 2, text);
    return message;
}

std::string DecimalText(uint64_t number)
{
    std::string digits;
    do {
        digits.insert(digits.begin(), static_cast<char>('0' + number % 10));
        number /= 10;
    } while (number != 0);
    return digits;
}

bool IsPrinterFailure(const WideString& errorText, const WideString& printerName)
{
    return errorText == FormatWithText(kCannotFindPrinter, printerName) ||
           errorText == kCannotStartDocument;
}

bool PrintFileRaw(const WideString& filePath, const WideString& printerName,
                  WideString& errorText)
{
    RawJobTransfer transfer;
    transfer.readQueueState = false;
    PrinterWait wait = PrinterWait::None;
    return PrintFileRaw(filePath, printerName, errorText, wait, transfer);
}

bool PrintFileRaw(const WideString& filePath, const WideString& printerName,
                  WideString& errorText, PrinterWait& wait, const RawJobTransfer& transfer)
{
    wait = PrinterWait::None;
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
                            printerName, errorText, wait, transfer);
    return SendStreamed(file, fileSize, filePath, printerName, errorText, wait, transfer);
}
