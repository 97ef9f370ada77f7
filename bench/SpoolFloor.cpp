// The floor of the benchmark: the least a program can do to send a file to a printer as
// one "RAW" job followed by a form feed. One read into one buffer, then the same spooler
// calls Kestrola makes, and nothing else: no settings, no path conversion, no messages.
// Usage: SpoolFloor.exe "PRINTER NAME" "FILE PATH"; exit code 0 when the job was sent.
#include <windows.h>
#include <winspool.h>

namespace {

// Cuts the next argument, quoted or bare, out of the command line in place.
char* NextArgument(char*& cursor)
{
    while (*cursor == ' ')
        ++cursor;
    const char end = *cursor == '"' ? '"' : ' ';
    if (end == '"')
        ++cursor;
    char* argument = cursor;
    while (*cursor && *cursor != end)
        ++cursor;
    if (*cursor)
        *cursor++ = '\0';
    return argument;
}

bool SendJob(char* printerName, char* data, DWORD size)
{
    HANDLE printer = nullptr;
    if (!OpenPrinterA(printerName, &printer, nullptr) || !printer)
        return false;
    DOC_INFO_1A docInfo = {};
    docInfo.pDocName = const_cast<char*>("SpoolFloor");
    docInfo.pDatatype = const_cast<char*>("RAW");
    bool sent = false;
    if (StartDocPrinterA(printer, 1, reinterpret_cast<BYTE*>(&docInfo)) != 0) {
        if (StartPagePrinter(printer)) {
            DWORD written = 0;
            sent = WritePrinter(printer, data, size, &written) && written == size;
            char formFeed[] = "\x0C";
            WritePrinter(printer, formFeed, 1, &written);
            EndPagePrinter(printer);
        }
        EndDocPrinter(printer);
    }
    ClosePrinter(printer);
    return sent;
}

}  // namespace

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR commandLine, int)
{
    char* cursor = commandLine;
    char* printerName = NextArgument(cursor);
    char* path = NextArgument(cursor);

    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0,
                              nullptr);
    if (file == INVALID_HANDLE_VALUE)
        return 1;
    LARGE_INTEGER size;
    char* data = nullptr;
    DWORD read = 0;
    const bool ok = GetFileSizeEx(file, &size) && size.QuadPart < 0x7FFFFFFF &&
                    (data = static_cast<char*>(
                         HeapAlloc(GetProcessHeap(), 0, size.LowPart ? size.LowPart : 1))) &&
                    ReadFile(file, data, size.LowPart, &read, nullptr) && read == size.LowPart;
    CloseHandle(file);
    const bool sent = ok && SendJob(printerName, data, size.LowPart);
    if (data)
        HeapFree(GetProcessHeap(), 0, data);
    return sent ? 0 : 1;
}
