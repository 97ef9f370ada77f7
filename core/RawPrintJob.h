#pragma once
// Sends a file's bytes unchanged to a printer as one spooler job named "Kestrola", followed
// by a form feed (and a line feed when "AddNewLineAfterFormFeed" is on). The job's data type
// is "RAW", or "XPS_PASS" for a printer whose driver is XPS-based.

#include "core/QueueState.h"
#include "core/WideString.h"

#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>

// How the job moves a file's data to the spooler. A file of at most largestBuffered bytes
// whose buffer can be allocated is read with one call and written with one call; any other
// file is streamed in chunks of chunkSize bytes.
struct RawJobTransfer {
    // Files of 2 GiB or more are always streamed: a 32-bit process cannot count on a
    // contiguous block that large, and sizes are 64-bit so nothing is cut at 4 GiB.
    uint64_t largestBuffered = 0x7FFFFFFF;
    DWORD chunkSize = 1024 * 1024;
    // Every ReadFile and WritePrinter call of the job goes through these when they are set
    // (tests watch or fail the calls with them); otherwise the platform's are called.
    std::function<BOOL(HANDLE file, void* data, DWORD size, DWORD* read)> readFile;
    std::function<BOOL(HANDLE printer, void* data, DWORD size, DWORD* written)> writePrinter;
    // The same for the driver query (GetPrinterDriverW, whose environment names are the
    // program's own ASCII texts; a null environment is the caller's own) and the start of
    // the document (StartDocPrinterW, level 1: a DOC_INFO_1W).
    std::function<BOOL(HANDLE printer, const char* environment, DWORD level, BYTE* info,
                       DWORD size, DWORD* needed)>
        getPrinterDriver = nullptr;
    std::function<DWORD(HANDLE printer, DWORD level, BYTE* docInfo)> startDocPrinter = nullptr;
    // The native driver environment where the program's architecture is not the
    // machine's, null elsewhere; when unset, the process's own (NativeDriverEnvironment).
    std::function<const char*()> nativeEnvironment = nullptr;
    // The same for the calls that end the job: EndPagePrinter, EndDocPrinter, AbortPrinter.
    enum class End { Page, Document, Abort };
    std::function<BOOL(End call, HANDLE printer)> endCall = nullptr;
    // The same for the queue's state once the job is accepted (GetPrinterW).
    std::function<BOOL(HANDLE printer, DWORD level, BYTE* info, DWORD size, DWORD* needed)>
        getPrinter = nullptr;
    // Whether the queue's state is read at all: a caller that does not show it need not
    // pay for the spooler's answer.
    bool readQueueState = true;
};

// Returns true when the data and the trailer were handed to the spooler and the document
// was closed. On failure errorText receives the message, with the file's or printer's name
// whole where it names one; on success it is untouched. A data write that fails cancels
// the job, so that no truncated job prints. The queue's state is not read.
bool PrintFileRaw(const WideString& filePath, const WideString& printerName,
                  WideString& errorText);
// The same, and after a job the spooler accepted, wait tells whether the queue holds it
// and why (read once, as the job ends); otherwise it is None.
bool PrintFileRaw(const WideString& filePath, const WideString& printerName,
                  WideString& errorText, PrinterWait& wait,
                  const RawJobTransfer& transfer = RawJobTransfer());

// True for a failure of the printer rather than of the file (it could not be found,
// opened or started), which every further file would meet as well.
bool IsPrinterFailure(const WideString& errorText, const WideString& printerName);

// Fills the single %s of a message with text of any length.
WideString FormatWithText(const wchar_t* format, const WideString& text);
// A number in decimal digits, for messages (without the library's formatting machinery).
std::string DecimalText(uint64_t number);
