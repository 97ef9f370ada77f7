#include "core/StartUp.h"

#include "core/AutoPrint.h"
#include "core/FilePath.h"
#include "core/WizardLaunch.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"

#include <windows.h>

const wchar_t* CommandLineArguments(const wchar_t* commandLine)
{
    if (!commandLine)
        return L"";
    // The program's name ends at the first blank outside quotes; the blanks after it go too.
    const wchar_t* at = commandLine;
    bool quoted = false;
    for (; *at > L' ' || (*at && quoted); ++at) {
        if (*at == L'"')
            quoted = !quoted;
    }
    while (*at && *at <= L' ')
        ++at;
    return at;
}

WideString ChosenFileFromWideCommandLine(const wchar_t* commandLine)
{
    const WideString given = path::StripQuotes(CommandLineArguments(commandLine));
    return given.empty() ? WideString() : path::ChosenFile(given);
}

int RunKestrola(const wchar_t* commandLine)
{
    // A failure text describes the current run only.
    DeleteRegistryValue(settings::kProgramKey, settings::kLastError);

    // Send To hands over several files as one command line of quoted paths.
    const WideString arguments = CommandLineArguments(commandLine);
    const WideString given = path::StripQuotes(arguments);
    const bool oneFile = file::Exists(given);
    const std::vector<WideString> batch =
        oneFile ? std::vector<WideString>() : path::SplitFileList(arguments, given);
    DWORD autoPrint = 0;
    ReadRegistryDword(settings::kProgramKey, settings::kAutoPrint, autoPrint);
    if (!batch.empty() && autoPrint != 0)
        return AutoPrintFiles(batch);
    // The job opens the file by its full path; its long form is looked up only where it is
    // shown: in the wizard, or in a failure's message.
    if (oneFile && autoPrint != 0)
        return AutoPrintFile(path::Full(given));

    const WideString filePath = oneFile ? ChosenFileFromWideCommandLine(commandLine) : WideString();
    LaunchWizard(filePath, batch);
    return 0;
}
