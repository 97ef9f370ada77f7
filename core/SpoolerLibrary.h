#pragma once
// The print spooler's entry points, bound at run time from winspool.drv in the system
// folder; those that take names are the wide ones, so a printer of any name is reached. The program does not import the library: the system would look for it beside
// the program first and load whatever it found there before the program ran at all.

#include <windows.h>

#include <winspool.h>

#include <functional>

struct SpoolerLibrary {
    decltype(&::GetDefaultPrinterW) getDefaultPrinter;
    decltype(&::EnumPrintersW) enumPrinters;
    decltype(&::OpenPrinterW) openPrinter;
    decltype(&::GetPrinterW) getPrinter;
    decltype(&::GetPrinterDriverW) getPrinterDriver;
    decltype(&::StartDocPrinterW) startDocPrinter;
    decltype(&::StartPagePrinter) startPagePrinter;
    decltype(&::WritePrinter) writePrinter;
    decltype(&::EndPagePrinter) endPagePrinter;
    decltype(&::EndDocPrinter) endDocPrinter;
    decltype(&::AbortPrinter) abortPrinter;
    decltype(&::ClosePrinter) closePrinter;
};

// The process's spooler, bound on the first call and kept to the end of the process.
// Null when the library or one of its entry points cannot be had: nothing can be printed.
const SpoolerLibrary* Spooler();

// A query of the GetPrinterW or GetPrinterDriverW kind: a size of 0 asks for the size needed.
using SpoolerQuery = std::function<BOOL(BYTE* info, DWORD size, DWORD* needed)>;

// Asks for the size first (some systems fail a fetch into a buffer they did not size
// themselves), then fetches and hands the record to read. False when there is no sane
// answer of at least least bytes.
bool FetchSpoolerInfo(const SpoolerQuery& query, DWORD least,
                      const std::function<void(const BYTE* info)>& read);
