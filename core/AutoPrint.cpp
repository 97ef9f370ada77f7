#include "core/AutoPrint.h"

#include "core/FilePath.h"
#include "core/PrintBatch.h"
#include "core/RawPrintJob.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"

#include <windows.h>

namespace {

// A failure's text with the file named as the user knows it: the job was given the full
// path, which may hold short (8.3) names.
WideString NamedByLongForm(const WideString& text, const WideString& fullPath)
{
    const std::size_t at = text.find(fullPath);
    if (at == WideString::npos)
        return text;
    return text.substr(0, at) + path::Normalise(fullPath) + text.substr(at + fullPath.size());
}

}  // namespace

int AutoPrintFile(const WideString& filePath)
{
    WideString errorText;
    DWORD suppressErrors = 0;
    ReadRegistryDword(settings::kProgramKey, settings::kSuppressErrors, suppressErrors);

    WideString printer;
    ReadRegistryString(settings::kProgramKey, settings::kAutoPrintPrinter, printer, 1024);
    if (printer.empty())
        errorText = L"No printer specified for automatic printing.";
    else
        PrintFileRaw(filePath, printer, errorText);  // the error text alone decides

    if (errorText.empty())
        return 0;
    errorText = NamedByLongForm(errorText, filePath);
    WriteRegistryString(settings::kProgramKey, settings::kLastError, errorText);
    if (suppressErrors == 0)
        MessageBoxW(nullptr, errorText.c_str(), L"Kestrola Error", MB_OK | MB_ICONWARNING);
    return -1;
}

int AutoPrintFiles(const std::vector<WideString>& files)
{
    DWORD suppress = 0;
    ReadRegistryDword(settings::kProgramKey, settings::kSuppressErrors, suppress);
    WideString printer;
    ReadRegistryString(settings::kProgramKey, settings::kAutoPrintPrinter, printer, 1024);
    WideString failure;
    if (printer.empty()) {
        failure = L"No printer specified for automatic printing.";
    } else {
        const BatchOutcome outcome = PrintBatch(files, printer, false);
        failure = outcome.printerFailed ? outcome.printerError : BatchFailureText(files, outcome);
    }
    if (!failure.empty()) {
        WriteRegistryString(settings::kProgramKey, settings::kLastError, failure);
        if (suppress == 0)
            MessageBoxW(nullptr, failure.c_str(), L"Kestrola Error", MB_OK | MB_ICONWARNING);
    }
    return failure.empty() ? 0 : -1;
}
