#pragma once
// The program key and the names of every value the program keeps under it.

namespace settings {

constexpr const char kProgramKey[] = "HKCU\\Software\\MorrowickDesign\\Kestrola";

constexpr const char kAutoPrint[] = "AutoPrint";
constexpr const char kAutoPrintPrinter[] = "AutoPrintPrinter";
constexpr const char kSuppressErrors[] = "SuppressErrors";
constexpr const char kAddNewLineAfterFormFeed[] = "AddNewLineAfterFormFeed";
constexpr const char kAutoClose[] = "AutoClose";
constexpr const char kDisableAutoPrintConfirmation[] = "DisableAutoPrintConfirmation";
constexpr const char kLastPrinterName[] = "LastPrinterName";
constexpr const char kOpenFilterIndex[] = "OpenFilterIndex";
constexpr const char kRecentFileFormat[] = "RecentFile_%02d";  // positions 00 to 09
constexpr const char kLastError[] = "LastError";

constexpr int kRecentFileCount = 10;

}  // namespace settings
