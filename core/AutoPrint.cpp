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

const wchar_t kNoPrinter[] = L"No printer specified for automatic printing.";

WideString PresetPrinter()
{
    WideString printer;
    ReadRegistryString(settings::kProgramKey, settings::kAutoPrintPrinter, printer, 1024);
    return printer;
}

// The one report of a run that did not send everything: "LastError", and a message box
// unless errors are suppressed. The exit code for it.
int ReportFailure(const WideString& errorText)
{
    DWORD suppressErrors = 0;
    ReadRegistryDword(settings::kProgramKey, settings::kSuppressErrors, suppressErrors);
    WriteRegistryString(settings::kProgramKey, settings::kLastError, errorText);
    if (suppressErrors == 0)
        MessageBoxW(nullptr, errorText.c_str(), L"Kestrola Error", MB_OK | MB_ICONWARNING);
    return -1;
}

}  // namespace

int AutoPrintFile(const WideString& filePath)
{
    const WideString printer = PresetPrinter();
    if (printer.empty())
        return ReportFailure(kNoPrinter);
    WideString errorText;
    PrintFileRaw(filePath, printer, errorText);  // the error text alone decides
    return errorText.empty() ? 0 : ReportFailure(NamedByLongForm(errorText, filePath));
}

int AutoPrintFiles(const std::vector<WideString>& files)
{
    const WideString printer = PresetPrinter();
    if (printer.empty())
        return ReportFailure(kNoPrinter);
    const BatchOutcome outcome = PrintBatch(files, printer, false);
    const WideString failure =
        outcome.printerFailed ? outcome.printerError : BatchFailureText(files, outcome);
    return failure.empty() ? 0 : ReportFailure(failure);
}
