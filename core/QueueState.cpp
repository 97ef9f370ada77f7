#include "core/QueueState.h"

#include "core/OwnedHandle.h"

#include <winspool.h>

namespace {

// In the order a user must see to them: a queue being deleted or paused holds its jobs
// whatever the printer does; a printer that is offline or out of reach reports nothing
// more precise; a general error comes last, as it mostly accompanies one of the others.
struct WaitRule {
    PrinterWait wait;
    DWORD attributes, status;  // either matching bit
    WaitTexts texts;
};
const WaitRule kWaitRules[] = {
    {PrinterWait::PendingDeletion, 0, PRINTER_STATUS_PENDING_DELETION,
     {"Being deleted", "The printer is being deleted: the job waits in its queue and may be "
                       "deleted with it before it prints."}},
    {PrinterWait::Paused, 0, PRINTER_STATUS_PAUSED,
     {"Paused", "The printer is paused: the job waits in its queue and prints when printing "
                "is resumed."}},
    {PrinterWait::Offline, PRINTER_ATTRIBUTE_WORK_OFFLINE, PRINTER_STATUS_OFFLINE,
     {"Offline", "The printer is offline: the job waits in its queue and prints when the "
                 "printer is back online."}},
    {PrinterWait::NotAvailable, 0, PRINTER_STATUS_NOT_AVAILABLE,
     {"Not available", "The printer is not available: the job waits in its queue and prints "
                       "when the printer can be reached again."}},
    {PrinterWait::DoorOpen, 0, PRINTER_STATUS_DOOR_OPEN,
     {"Door open", "A door of the printer is open: the job waits in its queue and prints "
                   "when the door is closed."}},
    {PrinterWait::PaperJam, 0, PRINTER_STATUS_PAPER_JAM,
     {"Paper jam", "The printer has a paper jam: the job waits in its queue and prints when "
                   "the jam is cleared."}},
    {PrinterWait::PaperOut, 0, PRINTER_STATUS_PAPER_OUT,
     {"Out of paper", "The printer is out of paper: the job waits in its queue and prints "
                      "when paper is loaded."}},
    {PrinterWait::PaperProblem, 0, PRINTER_STATUS_PAPER_PROBLEM,
     {"Paper problem", "The printer has a paper problem: the job waits in its queue and "
                       "prints when the paper is put right."}},
    {PrinterWait::ManualFeed, 0, PRINTER_STATUS_MANUAL_FEED,
     {"Manual feed", "The printer is waiting for paper to be fed by hand: the job waits in "
                     "its queue and prints when the paper is fed."}},
    {PrinterWait::UserIntervention, 0, PRINTER_STATUS_USER_INTERVENTION,
     {"Needs attention", "The printer needs attention: the job waits in its queue and "
                         "prints when the printer has been seen to."}},
    {PrinterWait::Error, 0, PRINTER_STATUS_ERROR,
     {"Error", "The printer reports an error: the job waits in its queue and prints when "
               "the error is cleared."}},
};

using OwnedPrinter = Owned<HANDLE, ClosePrinterHandle>;

}  // namespace

PrinterWait WaitReason(DWORD attributes, DWORD status)
{
    for (const WaitRule& rule : kWaitRules) {
        if ((attributes & rule.attributes) != 0 || (status & rule.status) != 0)
            return rule.wait;
    }
    return PrinterWait::None;
}

WaitTexts DescribeWait(PrinterWait wait)
{
    for (const WaitRule& rule : kWaitRules) {
        if (rule.wait == wait)
            return rule.texts;
    }
    return {"", ""};
}

PrinterWait ReadPrinterWait(const SpoolerQuery& getPrinterLevel2)
{
    PrinterWait wait = PrinterWait::None;
    FetchSpoolerInfo(getPrinterLevel2, sizeof(PRINTER_INFO_2W), [&](const BYTE* info) {
        const auto* printer = reinterpret_cast<const PRINTER_INFO_2W*>(info);
        wait = WaitReason(printer->Attributes, printer->Status);
    });
    return wait;
}

PrinterWait ReadPrinterWait(const WideString& printerName)
{
    const SpoolerLibrary* spooler = Spooler();
    HANDLE raw = nullptr;
    if (!spooler ||
        !spooler->openPrinter(const_cast<wchar_t*>(printerName.c_str()), &raw, nullptr) || !raw)
        return PrinterWait::None;
    const OwnedPrinter printer(raw);
    return ReadPrinterWait([&](BYTE* info, DWORD size, DWORD* needed) {
        return spooler->getPrinter(printer.get(), 2, info, size, needed);
    });
}
