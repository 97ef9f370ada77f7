#include "core/PrintBatch.h"

#include "core/FilePath.h"
#include "core/RawPrintJob.h"

std::size_t BatchOutcome::Sent() const
{
    std::size_t sent = 0;
    for (const WideString& error : errors)
        sent += error.empty();
    return sent;
}

BatchOutcome PrintBatch(const std::vector<WideString>& files, const WideString& printerName,
                        bool readQueueState, const std::function<void(std::size_t)>& starting)
{
    RawJobTransfer transfer;
    transfer.readQueueState = readQueueState;
    BatchOutcome outcome;
    outcome.errors.resize(files.size());
    for (std::size_t i = 0; i < files.size(); ++i) {
        if (outcome.printerFailed) {
            outcome.errors[i] = outcome.printerError;
            continue;
        }
        if (starting)
            starting(i);
        WideString error;
        PrinterWait wait = PrinterWait::None;
        if (PrintFileRaw(files[i], printerName, error, wait, transfer)) {
            outcome.wait = wait;
            continue;
        }
        outcome.errors[i] = error;
        if (IsPrinterFailure(error, printerName)) {
            outcome.printerFailed = true;
            outcome.printerError = error;
        }
    }
    return outcome;
}

WideString BatchFailureText(const std::vector<WideString>& files, const BatchOutcome& outcome)
{
    const std::size_t sent = outcome.Sent();
    if (sent == files.size())
        return WideString();
    WideString text = path::FromAnsi(DecimalText(sent) + " of " + DecimalText(files.size()) +
                                     " files were sent to the printer. Not sent:");
    for (std::size_t i = 0; i < files.size() && i < outcome.errors.size(); ++i) {
        if (!outcome.errors[i].empty())
            text += L"\n" + path::BaseName(files[i]) + L": " + outcome.errors[i];
    }
    return text;
}
