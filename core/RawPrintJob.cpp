#include "core/RawPrintJob.h"

#include "core/OwnedHandle.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"

#include <cstdint>
#include <memory>
#include <new>

namespace {

const char kCannotOpenFile[] = "Could not open the file:\n\n\"%s\"\n\nfor printing.";
const char kCannotReadFile[] = "Error reading the file \"%s\".";
const char kCannotFindPrinter[] = "Could not find the printer \"%s\".";
const char kCannotStartDocument[] = "An error occurred while initializing the printer.";
const char kCannotStartPage[] = "An error occurred while initializing the document.";
const char kCannotSendData[] = "An error occurred sending the file data to the printer.";

// The short form keeps the open working for names the spooler's side cannot take; when
// there is none (or it does not fit) the path is opened as given.
std::string PathToOpen(const std::string& filePath)
{
    char shortPath[260] = {};
    const DWORD length = GetShortPathNameA(filePath.c_str(), shortPath, 259);
    if (length == 0 || length >= 259)
        return filePath;
    return shortPath;
}

struct FileContents {
    std::unique_ptr<char[]> data;
    DWORD size = 0;
};

// Reads the whole file with one call into a buffer of its exact size.
bool ReadWholeFile(HANDLE file, FileContents& contents)
{
    LARGE_INTEGER size;
    if (!GetFileSizeEx(file, &size))
        return false;
    // One ReadFile call takes at most a DWORD of bytes, and the buffer must fit the
    // address space; a larger file is refused rather than cut to its low 32 bits.
    if (size.QuadPart < 0 || static_cast<uint64_t>(size.QuadPart) > 0xFFFFFFFEull)
        return false;
    contents.size = static_cast<DWORD>(size.QuadPart);
    contents.data.reset(new (std::nothrow) char[contents.size ? contents.size : 1]);
    if (!contents.data)
        return false;
    DWORD read = 0;
    return ReadFile(file, contents.data.get(), contents.size, &read, nullptr) &&
           read == contents.size;
}

bool SendToPrinter(HANDLE printer, const FileContents& contents, std::string& errorText)
{
    DOC_INFO_1A docInfo = {};
    docInfo.pDocName = const_cast<char*>("Kestrola");
    docInfo.pOutputFile = nullptr;
    docInfo.pDatatype = const_cast<char*>("RAW");
    if (StartDocPrinterA(printer, 1, reinterpret_cast<BYTE*>(&docInfo)) == 0) {
        errorText = kCannotStartDocument;
        return false;
    }
    if (!StartPagePrinter(printer)) {
        errorText = kCannotStartPage;
        EndDocPrinter(printer);
        return false;
    }

    bool sent = true;
    DWORD written = 0;
    if (!WritePrinter(printer, contents.data.get(), contents.size, &written) ||
        written != contents.size) {
        errorText = kCannotSendData;
        sent = false;
    }

    DWORD addNewLine = 0;
    ReadRegistryDword(settings::kProgramKey, settings::kAddNewLineAfterFormFeed, addNewLine);
    char trailer[] = "\x0C\x0A";
    const DWORD trailerLength = addNewLine ? 2 : 1;
    DWORD trailerWritten = 0;
    WritePrinter(printer, trailer, trailerLength, &trailerWritten);

    // Page before document before printer: the reverse of acquisition.
    EndPagePrinter(printer);
    EndDocPrinter(printer);
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
    FileContents contents;
    {
        OwnedFile file(CreateFileA(PathToOpen(filePath).c_str(), GENERIC_READ, FILE_SHARE_READ,
                                   nullptr, OPEN_EXISTING, 0, nullptr));
        if (!file.valid()) {
            errorText = FormatWithText(kCannotOpenFile, filePath);
            return false;
        }
        if (!ReadWholeFile(file.get(), contents)) {
            errorText = FormatWithText(kCannotReadFile, filePath);
            return false;
        }
    }  // The file is closed before the printer is opened.

    HANDLE rawPrinter = nullptr;
    if (!OpenPrinterA(const_cast<char*>(printerName.c_str()), &rawPrinter, nullptr) ||
        !rawPrinter) {
        errorText = FormatWithText(kCannotFindPrinter, printerName);
        return false;
    }
    Owned<HANDLE, ClosePrinterHandle> printer(rawPrinter);
    return SendToPrinter(printer.get(), contents, errorText);
}
