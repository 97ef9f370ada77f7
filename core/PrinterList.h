#pragma once
// The printers a file can be sent to: the default printer first, then every other local
// printer and printer connection in the spooler's order. Names are wide text: a queue may
// be named in any script.

#include "core/WideString.h"

#include <cstddef>
#include <vector>

struct PrinterEntry {
    WideString name;         // the spooler's name, as the print job and the settings need it
    WideString displayName;  // what the drop-down lists show
};

// "\\server\queue" shows as "queue on server"; "\\server" alone shows as nothing; every
// other name shows as itself.
WideString PrinterDisplayName(const WideString& name);

// Never fails: an empty list means no printers.
std::vector<PrinterEntry> GetPrinterList();

// The spooler's name of the printer the user picked: the entry at selection in the list
// that filled the box, as long as the current list still holds it. Empty when nothing is
// selected or the printer has gone since the box was filled, so that a printer added or
// removed meanwhile never sends the job to the picked printer's neighbour.
WideString PickedPrinter(const std::vector<PrinterEntry>& shown, std::ptrdiff_t selection,
                         const std::vector<PrinterEntry>& current);
