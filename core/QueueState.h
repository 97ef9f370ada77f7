#pragma once
// What a printer's queue does with the jobs it accepts: print them, or hold them until the
// printer is ready, and why. Read from the spooler's level-2 printer information.

#include "core/SpoolerLibrary.h"
#include "core/WideString.h"

#include <windows.h>

// Why a queue holds its jobs rather than printing them.
enum class PrinterWait {
    None,
    PendingDeletion,
    Paused,
    Offline,
    NotAvailable,
    DoorOpen,
    PaperJam,
    PaperOut,
    PaperProblem,
    ManualFeed,
    UserIntervention,
    Error,
};

// The reason for a queue's "Attributes" and "Status"; when several apply, the one a user
// must see to first.
PrinterWait WaitReason(DWORD attributes, DWORD status);

struct WaitTexts {
    const char* state;   // a word or two for beside the printer's name
    const char* notice;  // one sentence: what holds the job, and when it prints
};
// Both texts are empty for PrinterWait::None.
WaitTexts DescribeWait(PrinterWait wait);

// The wait of an open printer from its level-2 information (GetPrinterW at level 2, or a
// stand-in); None when the information cannot be read.
PrinterWait ReadPrinterWait(const SpoolerQuery& getPrinterLevel2);

// The same for a printer by name; None when it cannot be opened, as when it has gone.
PrinterWait ReadPrinterWait(const WideString& printerName);
