#!/usr/bin/env bash
# Mutation testing: plants one realistic fault at a time in a private copy of the program
# and checks that the tests meant to notice it fail. Not part of scripts/test.sh.
#
# The committed HEAD of the checkout is cloned into a temporary folder (the working tree
# is never touched) and built once there. Then, for each mutant of the table below: the
# edit is applied, only Kestrola.exe and the test programs of the mutant's tests are
# rebuilt, those tests run, and the file is put back. Each mutant ends as
#   killed             a named test failed (or hung: "killed (timeout)")
#   survived           every named test passed: a fault the suite does not see
#   no longer applies  the text to find is not in the file exactly once
#   does not compile   the edit broke the build
#
# Usage: scripts/mutants.sh [--arch x64|x86] [--source DIR] [--only REGEX] [--out FILE]
#                           [--timeout SECONDS] [--list]
#   --arch A       the build whose tests judge the mutants (default x64, which every machine
#                  here runs; x86 only where 32-bit programs run)
#   --source DIR   checkout whose committed HEAD is tested (default: this script's own)
#   --only REGEX   run only the mutants whose id matches REGEX (grep -E)
#   --out FILE     where the report goes (default: SOURCE/build/mutants.txt)
#   --timeout S    longest run of one mutant's tests (default 300); longer counts as killed
#   --list         print the table and whether each edit applies to SOURCE, then stop
set -euo pipefail

# One mutant a line: id ¦ file ¦ exact text to find ¦ its replacement ¦ CTest name regex
# (kept narrow: the tests the fault belongs to; end-to-end scripts only when nothing else can).
# The text must occur exactly once in the file; an empty replacement removes a step.
mutant_table() {
    cat <<'TABLE'
raw-ff¦core/RawPrintJob.cpp¦char trailer[] = "\x0C\x0A";¦char trailer[] = "\x0D\x0A";¦^RawPrintJobTest\.Bytes
raw-newline¦core/RawPrintJob.cpp¦addNewLine ? 2 : 1¦1¦^RawPrintJobTest\.Bytes
raw-msg-printer¦core/RawPrintJob.cpp¦"Could not find the printer \"%s\"."¦"Could not find printer \"%s\"."¦^RawPrintJobTest\.Bytes
raw-short-read¦core/RawPrintJob.cpp¦return ok && read == size;¦return ok;¦^RawPrintJobTest\.Bytes
raw-no-abort¦core/RawPrintJob.cpp¦    EndCall(RawJobTransfer::End::Abort, printer, transfer);¦    EndCall(RawJobTransfer::End::Document, printer, transfer);¦^RawPrintJobTest\.Bytes
raw-short-write¦core/RawPrintJob.cpp¦return ok && written == size;¦return ok;¦^RawPrintJobTest\.Bytes
raw-last-chunk¦core/RawPrintJob.cpp¦if (remaining == 0)¦if (remaining <= chunkSize)¦^RawPrintJobTest\.Bytes
raw-datatype¦core/RawPrintJob.cpp¦DriverIsXpsBased(printer, transfer) ? L"XPS_PASS" : L"RAW";¦DriverIsXpsBased(printer, transfer) ? L"XPS_PASS" : L"TEXT";¦^RawPrintJobTest\.DataType
raw-long-path¦core/RawPrintJob.cpp¦return OwnedFile(CreateFileW(path::ForSystemCall(full).c_str(), GENERIC_READ,¦return OwnedFile(CreateFileA(std::string(full.begin(), full.end()).c_str(), GENERIC_READ,¦^KestrolaProcessTest\.ExitCodes
fp-quote-pair¦core/FilePath.cpp¦if (!path.empty() && path.back() == L'"')¦if (path.size() < text.size() && path.back() == L'"')¦^PathRules\.
fp-long-name¦core/FilePath.cpp¦const WideString longPath = Long(full);¦const WideString longPath = full;¦^PathRules\.
su-stale-error¦core/StartUp.cpp¦    DeleteRegistryValue(settings::kProgramKey, settings::kLastError);¦¦^KestrolaProcessTest\.ExitCodes
su-no-file¦core/StartUp.cpp¦if (oneFile && autoPrint != 0)¦if (autoPrint != 0)¦^KestrolaProcessTest\.ExitCodes
fp-folder¦core/FilePath.cpp¦attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY)¦attributes != INVALID_FILE_ATTRIBUTES¦^PathRules\.
ap-suppress¦core/AutoPrint.cpp¦if (suppressErrors == 0)¦if (suppressErrors != 0)¦^KestrolaProcessTest\.ExitCodes
ap-exit-code¦core/AutoPrint.cpp¦    return -1;¦    return 1;¦^KestrolaProcessTest\.ExitCodes
ap-last-error¦core/AutoPrint.cpp¦    WriteRegistryString(settings::kProgramKey, settings::kLastError, errorText);¦¦^KestrolaProcessTest\.ExitCodes
pl-display¦core/PrinterList.cpp¦name.substr(p + 1) + L" on " + name.substr(2, p - 2)¦name.substr(2, p - 2) + L" on " + name.substr(p + 1)¦^PrinterList\.DisplayNames
pl-default-twice¦core/PrinterList.cpp¦                    continue;¦                    {}¦^PrinterList\.DefaultFirst
pl-connections¦core/PrinterList.cpp¦PRINTER_ENUM_LOCAL | PRINTER_ENUM_CONNECTIONS¦PRINTER_ENUM_LOCAL¦^PrinterList\.
od-shell-entry¦core/OnDemandLibraries.cpp¦"ShellExecuteExA"¦"ShellExecuteExW"¦^(HyperLinkTest|KestrolaExecutable)\.
od-dialog-entry¦core/OnDemandLibraries.cpp¦"GetOpenFileNameW"¦"GetOpenFileNameA"¦^FilePage\.EveryWayIn
rs-root¦settings/RegistryStore.cpp¦{"HKEY_CURRENT_USER", "HKCU", HKEY_CURRENT_USER},¦{"HKEY_CURRENT_USER", "HKCU", HKEY_LOCAL_MACHINE},¦^SettingsStore\.
rs-read-creates¦settings/RegistryStore.cpp¦if (!key && create) {¦if (!key) {¦^SettingsStore\.
rs-unterminated¦settings/RegistryStore.cpp¦    if (end == buffer.end())¦    if (false)¦^SettingsStore\.
rs-string-type¦settings/RegistryStore.cpp¦RegSetValueExA(key.get(), valueName.c_str(), 0, REG_SZ,¦RegSetValueExA(key.get(), valueName.c_str(), 0, REG_EXPAND_SZ,¦^SettingsStore\.
rs-no-terminator¦settings/RegistryStore.cpp¦static_cast<DWORD>(text.size() + 1)¦static_cast<DWORD>(text.size())¦^SettingsStore\.
ps-newline-name¦settings/ProgramSettings.h¦"AddNewLineAfterFormFeed"¦"AddNewlineAfterFormFeed"¦^(RawPrintJobTest\.Bytes|ConfigureDlg\.)
ps-recent-ten¦settings/ProgramSettings.h¦constexpr int kRecentFileCount = 10;¦constexpr int kRecentFileCount = 9;¦^RecentFiles\.
ps-last-printer-name¦settings/ProgramSettings.h¦"LastPrinterName"¦"LastPrinter"¦^FilePage\.BoxesAreFilled
rf-case¦pages/RecentFiles.cpp¦if (lstrcmpiW(list[i].c_str(), path.c_str()) == 0) {¦if (lstrcmpW(list[i].c_str(), path.c_str()) == 0) {¦^RecentFiles\.AddMoves
rf-gap-ends¦pages/RecentFiles.cpp¦            continue;¦            break;¦^RecentFiles\.
rf-shift¦pages/RecentFiles.cpp¦for (size_t i = k; i >= 1; --i)¦for (size_t i = k; i > 1; --i)¦^RecentFiles\.AddMoves
raw-xps-ignored¦core/RawPrintJob.cpp¦dwPrinterDriverAttributes &¦dwPrinterDriverAttributes & 0 &¦^RawPrintJobTest\.DataType
wow-no-native¦core/RawPrintJob.cpp¦        if (native)¦        if (false)¦^RawPrintJobTest\.DataType
wow-x64-name¦core/DriverEnvironment.cpp¦return "Windows x64";¦return "Windows NT x86";¦^RawPrintJobTest\.DataType
env-same-arch¦core/DriverEnvironment.cpp¦machine == IMAGE_FILE_MACHINE_UNKNOWN || machine == program¦machine == IMAGE_FILE_MACHINE_UNKNOWN¦^RawPrintJobTest\.DataType
inst-no-replace¦installer/Kestrola.nsi¦  ${AndIf} $R1 != $INSTDIR¦  ${AndIf} $R1 == $INSTDIR¦^Orders/Installer\.
inst-replace-view¦installer/Kestrola.nsi¦  !insertmacro ReplaceInView 32¦  !insertmacro ReplaceInView 64¦^Orders/Installer\.
inst-sendto-stub¦installer/Kestrola.nsi¦${IfThen} $R1 == "" ${|} CreateShortcut¦${IfThen} $R1 != "" ${|} CreateShortcut¦^Orders/Installer\.
inst-stale-link¦installer/Kestrola.nsi¦if errorlevel 1 del /f /q¦if errorlevel 1 rem /f /q¦^Orders/Installer\.
inst-own-link-kept¦installer/Kestrola.nsi¦reg query HKCU\${UNINSTALL_KEY}¦reg query HKCU\${UNINSTALL_KEY}.old¦^Orders/Installer\.
inst-link-back¦installer/Kestrola.nsi¦      CreateShortcut "${SENDTO_LINK}" "$R0\Kestrola.exe"¦¦^Orders/Installer\.
inst-manifest-arch¦CMakeLists.txt¦    set(KESTROLA_MANIFEST_ARCH amd64)¦    set(KESTROLA_MANIFEST_ARCH x86)¦^Orders/Installer\.
raw-1804-once¦core/RawPrintJob.cpp¦if (job == 0 && GetLastError() == ERROR_INVALID_DATATYPE) {¦if (false) {¦^RawPrintJobTest\.DataType
raw-end-doc¦core/RawPrintJob.cpp¦if (EndCall(RawJobTransfer::End::Document, printer, transfer) == FALSE)¦if (EndCall(RawJobTransfer::End::Document, printer, transfer) == FALSE && false)¦^KestrolaProcessTest\.ExitCodes
pl-picked¦core/PrinterList.cpp¦if (lstrcmpiW(entry.name.c_str(), picked.c_str()) == 0)¦if (lstrcmpiW(entry.name.c_str(), picked.c_str()) != 0)¦^PrinterList\.DisplayNamesAndThePicked
fp-wide-lossy¦core/FilePath.cpp¦return file::Exists(given) ? Normalise(given) : WideString();¦return file::Exists(given) ? Normalise(FromAnsi(std::string(given.begin(), given.end()))) : WideString();¦^(PathRules|KestrolaProcessTest)\.
term-exit-code¦pages/WSPrint.cpp¦TerminateProcess(GetCurrentProcess(), 0);¦TerminateProcess(GetCurrentProcess(), 1);¦^KestrolaProcessTest\.ExitCodes
sf-all-files¦pages/WSSelectFile.cpp¦constexpr DWORD kAllFilesFilter = 5;¦constexpr DWORD kAllFilesFilter = 1;¦^FilePage\.EveryWayIn
sf-last-printer¦pages/WSSelectFile.cpp¦if (lstrcmpW(printers[i].name.c_str(), last.c_str()) == 0) {¦if (lstrcmpW(printers[i].name.c_str(), last.c_str()) != 0) {¦^FilePage\.BoxesAreFilled
sf-command-line¦pages/WSSelectFile.cpp¦    if (!chosen.empty())¦    if (!chosen.empty() && recent.empty())¦^FilePage\.BoxesAreFilled
sf-msg-missing¦pages/WSSelectFile.cpp¦"Could not find the specified file.  Please make sure the file exists before continuing."¦"Could not find the specified file. Please make sure the file exists before continuing."¦^FilePage\.EveryWayIn
sf-recent-unsaved¦pages/WSSelectFile.cpp¦    SaveRecentFiles(recent);¦¦^FilePage\.BoxesAreFilled
sf-print-enabled¦pages/WSSelectFile.cpp¦textLength > 0, "Print"¦textLength >= 0, "Print"¦^FilePage\.EveryWayIn
sf-connection-name¦core/PrinterList.cpp¦            return entry.name;¦            return entry.displayName;¦^FilePage\.BoxesAreFilled
wp-picture¦pages/WSPrint.cpp¦failed ? Picture::Failure : Picture::Success¦failed ? Picture::Success : Picture::Failure¦^PrintPage\.EachOutcome
wp-last-error¦pages/WSPrint.cpp¦        WriteRegistryString(settings::kProgramKey, settings::kLastError, errorText);¦¦^PrintPage\.EachOutcome
wp-auto-close¦pages/WSPrint.cpp¦if (autoClose == 1 &&¦if (autoClose != 0 &&¦^PrintPage\.EachOutcome
wp-close-unasked¦pages/WSPrint.cpp¦    return ConfirmTerminate(frame);¦    return true;¦^PrintPage\.ClosingDuringASlowJob
cd-swapped-box¦pages/ConfigureDlg.cpp¦WriteCheckBox(hwnd, IDC_NEWLINE_AFTER_FORM_FEED,¦WriteCheckBox(hwnd, IDC_EXIT_AFTER_SENDING,¦^ConfigureDlg\.LoadsAsks
cd-no-printer¦pages/ConfigureDlg.cpp¦if (autoPrint && printer.empty()) {¦if (!autoPrint && printer.empty()) {¦^ConfigureDlg\.LoadsAsks
cd-ask-once¦pages/ConfigureDlg.cpp¦    if (autoPrint) {¦    if (autoPrint && !autoPrint_) {¦^ConfigureDlg\.LoadsAsks
ac-never-ask¦pages/AutoPrintConfirmDlg.cpp¦if (disabled != 0)¦if (disabled == 0)¦^ConfigureDlg\.LoadsAsks
sl-list-unchecked¦core/PrinterList.cpp¦    if (spooler == nullptr)¦    if (false)¦^KestrolaProcessTest\.ExitCodes
sl-spooler-imported¦core/PrinterList.cpp¦if (!spooler->getDefaultPrinter(defaultPrinter, &defaultSize))¦if (!GetDefaultPrinterW(defaultPrinter, &defaultSize))¦^Kestrola(Executable|ProcessTest)\.
sl-no-spooler-unchecked¦core/RawPrintJob.cpp¦    if (Spooler() == nullptr) {¦    if (false) {¦^KestrolaProcessTest\.ExitCodes
sl-fallback-path¦core/SystemLibrary.cpp¦    path[length] = L'\\';¦¦^SystemLibrary\.
sl-fallback-search¦core/SystemLibrary.cpp¦LoadLibraryExW(path, nullptr, LOAD_WITH_ALTERED_SEARCH_PATH)¦LoadLibraryExW(name, nullptr, 0)¦^SystemLibrary\.
sl-unrestricted¦core/SystemLibrary.cpp¦            LOAD_LIBRARY_SEARCH_SYSTEM32);¦            LOAD_LIBRARY_SEARCH_SYSTEM32 | LOAD_LIBRARY_SEARCH_APPLICATION_DIR);¦^SystemLibrary\.
ac-no-is-yes¦pages/AutoPrintConfirmDlg.cpp¦controlId == IDC_CONFIRM_YES ? IDOK : IDCANCEL¦IDOK¦^ConfigureDlg\.LoadsAsks
tw-group-end¦wizard/TabWalk.cpp¦return i < list.size() && list[i].radio && !list[i].groupStart;¦return i < list.size() && list[i].radio;¦^TabWalk\.
ws-disabled-stop¦wizard/WindowState.cpp¦ == 0 || !IsWindowEnabled(w))¦ == 0)¦^TabWalk\.
wc-cancel-slot¦wizard/WindowStateController.cpp¦shown(backButton) ? cancelSlot¦shown(nextButton) ? cancelSlot¦^WizardFrame\.
wc-leave-ignored¦wizard/WindowStateController.cpp¦if (!page->Leave(frameWindow))¦if (!page->Leave(frameWindow) && false)¦^WizardFrame\.
fa-escape¦wizard/FrameAccelerators.cpp¦{FVIRTKEY, VK_ESCAPE, kEscapeCommand},¦¦^WizardFrame\.
fa-shift-tab¦wizard/FrameAccelerators.cpp¦{FVIRTKEY | FSHIFT, VK_TAB, kFocusPrevCommand},¦{FVIRTKEY | FCONTROL, VK_TAB, kFocusPrevCommand},¦^e2e\.wizard$
af-tab-order¦wizard/AppWindowStateController.cpp¦CycleFocus({aboutButton, cancelButton, backButton, nextButton}, true);¦CycleFocus({aboutButton, backButton, cancelButton, nextButton}, true);¦^e2e\.wizard$
tk-centre¦toolkit/MWBaseDialog.cpp¦return difference >= 0 ? difference / 2 : -((1 - difference) / 2);¦return difference / 2;¦^BaseDialog\.
tk-link-visited¦toolkit/CHyperLink.cpp¦    visited = TRUE;¦¦^HyperLinkTest\.
tk-hover-drag¦toolkit/MWButton.cpp¦if ((keys & MK_LBUTTON) && !hot)¦if ((keys & MK_LBUTTON) && hot)¦^Button\.Hover
tk-theme-fallback¦toolkit/VisualStyles.cpp¦return proc ? proc : fallback;¦return proc;¦^SystemLibrary\.
fp-no-trim¦core/FilePath.cpp¦const wchar_t* const kBlanks = L" \t";¦const wchar_t* const kBlanks = L"";¦^PathRules\.
fp-drop-folder¦core/FilePath.cpp¦        if (file::Exists(name))¦        if (!name.empty())¦^(PathRules|FilePage\.Drops)
wp-drop-in-job¦pages/WSPrint.cpp¦if (workerThread == nullptr && !startQueued)¦if (!startQueued)¦^FilePage\.Drops
af-drop-kept¦wizard/AppWindowStateController.cpp¦    ReleaseDrop(drop);¦¦^FilePage\.Drops
sf-lossy-browse¦pages/WSSelectFile.cpp¦: chosen.front());¦: path::FromAnsi(std::string(chosen.front().begin(), chosen.front().end())));¦^FilePage\.EveryWayIn
raw-end-order¦core/RawPrintJob.cpp¦        EndCall(RawJobTransfer::End::Page, printer, transfer);¦        EndCall(RawJobTransfer::End::Document, printer, transfer), EndCall(RawJobTransfer::End::Page, printer, transfer);¦^RawPrintJobTest\.Bytes
wc-escape-disabled¦wizard/WindowStateController.cpp¦if (cancelButton != nullptr && IsWindowEnabled(cancelButton)) {¦if (cancelButton != nullptr) {¦^WizardFrame\.
wp-escape-in-job¦pages/WSPrint.cpp¦                TranslateMessage(&msg);¦                if (msg.message == WM_KEYDOWN && msg.wParam == VK_ESCAPE) PostMessageA(frame, WM_COMMAND, IDCANCEL, 0); TranslateMessage(&msg);¦^PrintPage\.ClosingDuringASlowJob
sf-printer-first¦pages/WSSelectFile.cpp¦    if (!file::Exists(name)) {¦    if (!file::Exists(name) && SendMessageA(printerBox, CB_GETCURSEL, 0, 0) != CB_ERR) {¦^FilePage\.EveryWayIn
ap-suppress-one¦core/AutoPrint.cpp¦if (suppressErrors == 0)¦if (suppressErrors != 1)¦^KestrolaProcessTest\.ExitCodes
raw-abort-buffered¦core/RawPrintJob.cpp¦    if (!WriteData(printer.get(), transfer, data, size)) {¦    if (!WriteData(printer.get(), transfer, data, size) && FinishJob(printer.get(), transfer, pages, wait)) {¦^RawPrintJobTest\.Bytes
raw-no-state¦core/RawPrintJob.cpp¦    wait = ReadPrinterWait(¦    wait = PrinterWait::None, ReadPrinterWait(¦^RawPrintJobTest\.Bytes
raw-state-flag¦core/RawPrintJob.cpp¦    if (transfer.readQueueState)¦    if (!transfer.readQueueState)¦^(RawPrintJobTest\.Bytes|PrintPage\.EachOutcome)
sp-unbound¦core/SpoolerLibrary.cpp¦    *spooler = BindSpooler(¦    *spooler = nullptr, BindSpooler(¦^KestrolaProcessTest\.ExitCodes
raw-state-level¦core/RawPrintJob.cpp¦: Spooler()->getPrinter(printer, 2, info, size, needed);¦: Spooler()->getPrinter(printer, 1, info, size, needed);¦^PrintPage\.EachOutcome
qs-offline-attr¦core/QueueState.cpp¦{PrinterWait::Offline, PRINTER_ATTRIBUTE_WORK_OFFLINE, PRINTER_STATUS_OFFLINE,¦{PrinterWait::Offline, 0, PRINTER_STATUS_OFFLINE,¦^QueueState\.
qs-paper-bit¦core/QueueState.cpp¦{PrinterWait::PaperOut, 0, PRINTER_STATUS_PAPER_OUT,¦{PrinterWait::PaperOut, 0, PRINTER_STATUS_PAPER_PROBLEM,¦^QueueState\.
qs-any-bit¦core/QueueState.cpp¦(status & rule.status) != 0¦(status & rule.status) == status¦^QueueState\.
pl-picked-case¦core/PrinterList.cpp¦if (lstrcmpiW(entry.name.c_str(), picked.c_str()) == 0)¦if (lstrcmpW(entry.name.c_str(), picked.c_str()) == 0)¦^PrinterList\.DisplayNamesAndThePicked
wp-wait-closes¦pages/WSPrint.cpp¦if (autoClose == 1 && queueWait == PrinterWait::None)¦if (autoClose == 1)¦^PrintPage\.EachOutcome
wp-no-notice¦pages/WSPrint.cpp¦if (queueWait != PrinterWait::None)¦if (false)¦^PrintPage\.EachOutcome
wp-wait-dropped¦pages/WSPrint.cpp¦                    queueWait = workerQueueWait;¦¦^PrintPage\.EachOutcome
sf-state-enter¦pages/WSSelectFile.cpp¦    ReadPrinterState(frame);  // it may have changed while the page was not shown¦¦^FilePage\.EveryWayIn
sf-state-change¦pages/WSSelectFile.cpp¦id == kPrinterBoxId && notification == CBN_SELCHANGE¦id == kPrinterBoxId && notification == CBN_DROPDOWN¦^FilePage\.EveryWayIn
sf-state-stale¦pages/WSSelectFile.cpp¦if (wParam == stateReadings)¦if (true)¦^FilePage\.EveryWayIn
fp-super-unc¦core/FilePath.cpp¦return kSuperUncPrefix + fullPath.substr(2);¦return kSuperPrefix + fullPath.substr(2);¦^PathRules\.
fp-super-from¦core/FilePath.cpp¦fullPath.size() >= MAX_PATH ?¦fullPath.size() > MAX_PATH ?¦^PathRules\.
fp-plain-unc¦core/FilePath.cpp¦return L"\\\\" + path.substr(wcslen(kSuperUncPrefix));¦return path.substr(wcslen(kSuperUncPrefix));¦^PathRules\.
fp-given-short¦core/FilePath.cpp¦return file::Exists(given) ? Normalise(given) : WideString();¦return file::Exists(given) ? Full(given) : WideString();¦^(PathRules|KestrolaProcessTest)\.
fp-drop-short¦core/FilePath.cpp¦            return Normalise(name);¦            return name;¦^PathRules\.
sf-wide-box¦pages/WSSelectFile.cpp¦fileBoxAt, 294, 172, true);¦fileBoxAt, 294, 172);¦^FilePage\.EveryWayIn
sf-box-long¦pages/WSSelectFile.cpp¦    if (path != name)¦    if (false)¦^FilePage\.EveryWayIn
sf-typed-long¦pages/WSSelectFile.cpp¦    const WideString path = path::Normalise(name);¦    const WideString path = name;¦^FilePage\.EveryWayIn
wp-drop-queued¦pages/WSPrint.cpp¦if (workerThread == nullptr && !startQueued)¦if (workerThread == nullptr)¦^FilePage\.Drops
fl-quotes-group¦core/FilePath.cpp¦            quoted = !quoted;¦            quoted = false;¦^PathRules\.
fl-escaped-quote¦core/FilePath.cpp¦if (beforeQuote && count % 2 == 1) {¦if (beforeQuote && count % 2 == 0) {¦^PathRules\.
fl-one-file-first¦core/FilePath.cpp¦    if (file::Exists(asOnePath))¦    if (false)¦^PathRules\.
fl-no-file-no-batch¦core/FilePath.cpp¦if (names.size() < 2 || !anyFile)¦if (names.size() < 2)¦^PathRules\.
fl-not-full¦core/FilePath.cpp¦        name = Normalise(name);¦¦^PathRules\.
fl-paste-crlf¦core/FilePath.cpp¦line += text[i] == L'\r' || text[i] == L'\n' ? L' ' : text[i];¦line += text[i] == L'\n' ? L' ' : text[i];¦^PathRules\.
su-batch-ignored¦core/StartUp.cpp¦if (!batch.empty() && autoPrint != 0)¦if (false)¦^KestrolaProcessTest\.ExitCodes
ap-batch-exit-code¦core/AutoPrint.cpp¦return failure.empty() ? 0 : ReportFailure(failure);¦return 0;¦^KestrolaProcessTest\.ExitCodes
ap-batch-printer-once¦core/AutoPrint.cpp¦outcome.printerFailed ? outcome.printerError¦false ? outcome.printerError¦^KestrolaProcessTest\.ExitCodes
raw-printer-failure¦core/RawPrintJob.cpp¦return errorText == FormatWithText(kCannotFindPrinter, printerName) ||¦return false &&¦^KestrolaProcessTest\.ExitCodes
pb-stops-at-failure¦core/PrintBatch.cpp¦        outcome.errors[i] = error;¦        outcome.errors[i] = error, outcome.printerFailed = true;¦^(KestrolaProcessTest\.ExitCodes|FilePage\.EveryWayIn)
pb-sent-count¦core/PrintBatch.cpp¦sent += error.empty();¦sent += 1;¦^(KestrolaProcessTest\.ExitCodes|FilePage\.EveryWayIn)
pb-full-name¦core/PrintBatch.cpp¦path::BaseName(files[i])¦files[i]¦^(KestrolaProcessTest\.ExitCodes|FilePage\.EveryWayIn)
af-drop-batch¦wizard/AppWindowStateController.cpp¦files.size() > 1 ? WideString()¦false ? WideString()¦^FilePage\.(EveryWayIn|Drops)
sf-paste-lines¦pages/WSSelectFile.cpp¦        if (line != text) {¦        if (false) {¦^FilePage\.EveryWayIn
sf-batch-unchecked¦pages/WSSelectFile.cpp¦        if (!file::Exists(file)) {¦        if (false) {¦^FilePage\.EveryWayIn
sf-batch-recent¦pages/WSSelectFile.cpp¦        AddRecentFile(file, recent);¦        AddRecentFile(files.front(), recent);¦^FilePage\.EveryWayIn
sf-browse-one¦pages/WSSelectFile.cpp¦OFN_ALLOWMULTISELECT | OFN_EXPLORER;¦OFN_EXPLORER;¦^FilePage\.EveryWayIn
sf-browse-folder¦pages/WSSelectFile.cpp¦files.push_back(folder + name);¦files.push_back(name);¦^FilePage\.EveryWayIn
sf-batch-box¦pages/WSSelectFile.cpp¦    if (!AppOwner()->GetBatch().empty())¦    if (false)¦^FilePage\.EveryWayIn
wp-batch-outcome¦pages/WSPrint.cpp¦                        batchFailure = BatchFailureText(batch, workerBatch);¦                        batchFailure.clear();¦^FilePage\.EveryWayIn
wp-batch-close¦pages/WSPrint.cpp¦    if (!batchFailure.empty())¦    if (false)¦^PrintPage\.EachOutcome
wp-batch-count¦pages/WSPrint.cpp¦text = "All " + DecimalText(batch.size()) +¦text = "All " + DecimalText(batch.size() - 1) +¦^FilePage\.EveryWayIn
wc-shift-in-front¦wizard/WindowStateController.cpp¦if (GetForegroundWindow() == frameWindow)¦if (frameWindow != nullptr)¦^WizardFrame\.
lp-frame-get¦wizard/WindowStateController.cpp¦    while (GetMessageW(&message, nullptr, 0, 0) > 0) {¦    while (GetMessageA(&message, nullptr, 0, 0) > 0) {¦^e2e\.wizard$
lp-frame-dispatch¦wizard/WindowStateController.cpp¦            DispatchMessageW(&message);¦            DispatchMessageA(&message);¦^e2e\.wizard$
sl-open-narrow¦core/SpoolerLibrary.cpp¦"OpenPrinterW"¦"OpenPrinterA"¦^(RawPrintJobTest\.Bytes|KestrolaProcessTest\.ExitCodes)
sl-enum-narrow¦core/SpoolerLibrary.cpp¦"EnumPrintersW"¦"EnumPrintersA"¦^PrinterList\.DefaultFirst
ap-last-error-narrow¦core/AutoPrint.cpp¦    WriteRegistryString(settings::kProgramKey, settings::kLastError, errorText);¦    WriteRegistryString(settings::kProgramKey, settings::kLastError, std::string(errorText.begin(), errorText.end()));¦^KestrolaProcessTest\.ExitCodes
ap-box-narrow¦core/AutoPrint.cpp¦MessageBoxW(nullptr, errorText.c_str(), L"Kestrola Error",¦MessageBoxA(nullptr, std::string(errorText.begin(), errorText.end()).c_str(), "Kestrola Error",¦^KestrolaProcessTest\.ExitCodes
ap-long-form¦core/AutoPrint.cpp¦+ path::Normalise(fullPath) +¦+ fullPath +¦^KestrolaProcessTest\.ExitCodes
rf-any-length¦pages/RecentFiles.cpp¦if (ReadRegistryString(settings::kProgramKey, name, path))¦if (ReadRegistryString(settings::kProgramKey, name, path, 260))¦^RecentFiles\.
wp-status-narrow¦pages/WSPrint.cpp¦        SetWindowTextW(statusText, errorText.c_str());¦        SetWindowTextA(statusText, std::string(errorText.begin(), errorText.end()).c_str());¦^FilePage\.EveryWayIn
dpi-frame-unscaled¦wizard/WindowStateController.cpp¦    FitToDpi(windowRect, style, exStyle);¦¦^DisplayScale\.
dpi-place-width¦wizard/WindowStateController.cpp¦dpi::Scale(placement.width, dpi)¦placement.width¦^DisplayScale\.
dpi-place-bottom¦wizard/WindowStateController.cpp¦client.bottom + dpi::Scale(placement.y, dpi)¦client.bottom + placement.y¦^DisplayScale\.
dpi-moved-stays¦wizard/WindowStateController.cpp¦    dpi = newDpi;¦¦^DisplayScale\.
dpi-font-96¦toolkit/Dpi.cpp¦    font.lfHeight = Scale(font.lfHeight, dpi);¦¦^DisplayScale\.
dpi-dialog-units¦toolkit/MWBaseDialog.cpp¦        dpi::LayOutDialog(hwnd);¦¦^DisplayScale\.
dpi-about-units¦pages/AboutDlg.cpp¦    dpi::LayOutDialog(dialog);¦¦^DisplayScale\.
dpi-dialog-round¦toolkit/Dpi.cpp¦return {Scale(start96, dpi), Scale(start96 + length96, dpi)};¦return {Scale(start96, dpi), Scale(start96, dpi) + Scale(length96, dpi) + 1};¦^DisplayScale\.
dpi-bitmap-width¦toolkit/ScaledArt.cpp¦    const int width = dpi::Scale(size.cx, dpi);¦    const int width = size.cx;¦^DisplayScale\.
dpi-icon-unscaled¦toolkit/ScaledArt.cpp¦    const int pixels = dpi::Scale(size, dpi);¦    const int pixels = size;¦^DisplayScale\.
dpi-frame-icon¦wizard/WindowStateController.cpp¦dpi::Scale(size == ICON_SMALL ? 16 : 32, dpi)¦(size == ICON_SMALL ? 16 : 32)¦^DisplayScale\.
dpi-question-icon¦pages/AutoPrintConfirmDlg.cpp¦dpi::Scale(32, dpi::ForWindow(hwnd))¦32¦^DisplayScale\.
dpi-button-icon¦toolkit/MWButton.cpp¦return LoadIconForDpi(id, 48, dpi);¦return LoadIconForDpi(id, 32, dpi);¦^(DisplayScale\.|e2e\.wizard$)
TABLE
}

here=$(cd "$(dirname "$0")" && pwd)
source_dir=$(cd "$here/.." && pwd)
only=
out=
limit=300
list_only=
arch=x64
while [ $# -gt 0 ]; do
    case "$1" in
    --arch) arch=${2:?--arch needs x64 or x86}; shift 2 ;;
    --source) source_dir=$(cd "${2:?--source needs a folder}" && pwd); shift 2 ;;
    --only) only=${2:?--only needs a pattern}; shift 2 ;;
    --out) out=${2:?--out needs a file}; shift 2 ;;
    --timeout) limit=${2:?--timeout needs seconds}; shift 2 ;;
    --list) list_only=1; shift ;;
    *) echo "mutants.sh: unknown argument $1" >&2; exit 2 ;;
    esac
done
out=${out:-$source_dir/build/mutants.txt}
if [ "$arch" != x64 ] && [ "$arch" != x86 ]; then
    echo "mutants.sh: --arch takes x64 or x86" >&2
    exit 2
fi
if ! [[ "$limit" =~ ^[1-9][0-9]*$ ]]; then
    echo "mutants.sh: --timeout takes a whole number of seconds" >&2
    exit 2
fi

# The table, split into arrays; --only keeps the mutants whose id matches.
ids=() files=() finds=() replacements=() patterns=()
while IFS= read -r line; do
    [ -n "$line" ] || continue
    fields=()
    while [[ "$line" == *¦* ]]; do
        fields+=("${line%%¦*}")
        line=${line#*¦}
    done
    fields+=("$line")
    if [ ${#fields[@]} -ne 5 ]; then
        echo "mutants.sh: a table line has ${#fields[@]} fields instead of 5: ${fields[0]}" >&2
        exit 2
    fi
    [ -z "$only" ] || grep -qE -- "$only" <<<"${fields[0]}" || continue
    ids+=("${fields[0]}") files+=("${fields[1]}") finds+=("${fields[2]}")
    replacements+=("${fields[3]}") patterns+=("${fields[4]}")
done < <(mutant_table)
if [ ${#ids[@]} -eq 0 ]; then
    echo "mutants.sh: no mutant id matches ${only}" >&2
    exit 2
fi

# Replaces the one occurrence of FIND in FILE; exit status 3 when it is not there exactly once.
apply_edit() {  # FILE FIND REPLACEMENT [--check]
    MUTANT_FIND=$2 MUTANT_REPLACEMENT=$3 perl -e '
        my ($file, $check) = @ARGV;
        open(my $in, "<", $file) or exit 3;
        local $/; my $text = <$in>; close($in);
        my ($find, $new) = ($ENV{MUTANT_FIND}, $ENV{MUTANT_REPLACEMENT});
        my $count = () = $text =~ /\Q$find\E/g;
        exit 3 if $count != 1;
        exit 0 if $check;
        substr($text, index($text, $find), length($find)) = $new;
        open(my $o, ">", $file) or die "$file: $!"; print $o $text; close($o);
    ' "$1" "${4:-}"
}

if [ -n "$list_only" ]; then
    for i in "${!ids[@]}"; do
        state="applies"
        apply_edit "$source_dir/${files[i]}" "${finds[i]}" "" --check || state="no longer applies"
        printf '%-20s %-36s %-18s %s\n' "${ids[i]}" "${files[i]}" "$state" "${patterns[i]}"
    done
    echo "${#ids[@]} mutants"
    exit 0
fi

. "$here/arch.sh"
if [ "$arch" = x86 ] && [ -n "$kestrola_x86_skipped" ]; then
    echo "mutants.sh: the x86 build cannot run here: $kestrola_x86_skipped" >&2
    exit 2
fi
started=$SECONDS
mkdir -p "$source_dir/build" "$(dirname "$out")"
# Inside the checkout's ignored build folder, so that a compiler cache keyed on paths
# relative to a common base finds the checkout's own objects.
work=$(mktemp -d "$source_dir/build/mutants.XXXXXX")
clone="$work/src"
build="$clone/build/$arch"
log="$work/step.log"
xvfb_started=
cleanup() {
    if [ -n "$xvfb_started" ]; then
        kestrola_stop_xvfb
    fi
    rm -rf "$work"
}
trap cleanup EXIT
trap 'exit 130' INT TERM

head_commit=$(git -C "$source_dir" rev-parse HEAD)
echo "Cloning $source_dir at ${head_commit:0:12} into $clone" >&2
git clone -q --no-checkout "$source_dir" "$clone"
git -C "$clone" checkout -q --detach "$head_commit"
# The x64 build's installer tests also run the x86 build's installer: the checkout's own,
# built from unchanged sources.
if [ "$arch" = x64 ] && [ -d "$source_dir/build/x86/release" ]; then
    mkdir -p "$clone/build/x86"
    cp -r "$source_dir/build/x86/release" "$source_dir/build/x86/Kestrola.exe" "$clone/build/x86/"
fi

# The test programs normally wait for the release too; here a mutant's build makes the
# release only when its tests install it.
sed -i 's/add_dependencies(${name} Kestrola kestrola_release)/add_dependencies(${name} Kestrola)/' \
    "$clone/tests/CMakeLists.txt"
echo "Building the $arch program and its tests once..." >&2
if ! { "$clone/scripts/install-packages.sh" &&
       cmake -S "$clone" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DKESTROLA_ARCH=$arch &&
       cmake --build "$build"; } >"$log" 2>&1; then
    tail -n 30 "$log" >&2
    echo "mutants.sh: the unchanged program does not build" >&2
    exit 1
fi

. "$clone/scripts/wine-env.sh" "$build"
. "$clone/scripts/start-xvfb.sh"
xvfb_started=1
"$clone/scripts/prepare-prefix.sh" "$build" >"$log" 2>&1
cd "$build"

# Every test's name and the program that runs it (none for the end-to-end scripts).
ctest -N >/dev/null 2>&1
test_map="$work/tests.tsv"
ctest --show-only=json-v1 | jq -r '.tests[] | [.name,
    ((.command // []) | map(select(endswith(".exe"))) | (.[0] // "") | split("/") | last)] | @tsv' \
    >"$test_map"
release_users=$(cd "$clone/tests" && grep -l KESTROLA_SETUP_NAME -- *_test.cpp 2>/dev/null |
    sed 's/\.cpp$//' || true)

# What to build for the tests whose names match PATTERN: Kestrola.exe, their test
# programs and the release for the tests that install it.
targets_for() {
    local pattern=$1 names exes
    names=$(PATTERN=$pattern awk -F'\t' '$1 ~ ENVIRON["PATTERN"] { print $1 }' "$test_map")
    [ -n "$names" ] || return 1
    exes=$(PATTERN=$pattern awk -F'\t' '$1 ~ ENVIRON["PATTERN"] && $2 != "" { print $2 }' \
        "$test_map" | sed 's/\.exe$//' | sort -u)
    echo Kestrola
    for exe in $exes; do
        echo "$exe"
        grep -qx -- "$exe" <<<"$release_users" && echo kestrola_release
    done
    return 0
}

# The tests run through CTest; the outcome is the first failing test, or none.
run_tests() {  # PATTERN SECONDS (0: no limit) -> sets outcome: passed / failed NAME / timeout
    local status=0
    timeout --kill-after=10 "$2" ctest --stop-on-failure -R "$1" >"$log" 2>&1 || status=$?
    if [ "$status" -eq 124 ] || [ "$status" -eq 137 ]; then
        # The Wine programs of the hung test go with the prefix's server.
        wineserver -k 2>/dev/null || true
        "$clone/scripts/prepare-prefix.sh" "$build" >/dev/null 2>&1 || true
        outcome="timeout"
    elif grep -q '\*\*\*Timeout' "$log"; then
        outcome="timeout"
    elif [ "$status" -ne 0 ]; then
        first=$(grep -m1 -E '\*\*\*|Not Run' "$log" | sed -E 's/.*Test +#[0-9]+: ([^ ]+).*/\1/' || true)
        outcome="failed ${first:-ctest (see its output)}"
    elif grep -qE '100% tests passed, 0 tests failed out of [1-9]' "$log"; then
        outcome="passed"
    else
        outcome="failed ctest ran no test"
    fi
}

# The named tests must pass on the unchanged program, or a failure would prove nothing.
# CTest's expressions allow few groups: the union is spelled out as the names it matches.
all_patterns=$(for pattern in "${patterns[@]}"; do
    PATTERN=$pattern awk -F'\t' '$1 ~ ENVIRON["PATTERN"] { print $1 }' "$test_map"
done | sort -u | sed 's/[.()]/\\&/g; s/.*/^&$/' | paste -sd'|')
echo "Running the named tests on the unchanged program..." >&2
run_tests "$all_patterns" 0
if [ "$outcome" != passed ]; then
    cat "$log" >&2
    echo "mutants.sh: the named tests do not pass on the unchanged program ($outcome)" >&2
    exit 1
fi

killed=0 survived=0 stale=0 broken=0 unnamed=0
report=("Mutants of ${head_commit:0:12}, $arch build ($(date -u '+%Y-%m-%d %H:%M UTC')), tests run through CTest:")
for i in "${!ids[@]}"; do
    id=${ids[i]} file=${files[i]} pattern=${patterns[i]}
    mutant_started=$SECONDS
    targets=
    if ! apply_edit "$clone/$file" "${finds[i]}" "${replacements[i]}"; then
        result="no longer applies"
        stale=$((stale + 1))
    elif ! targets=$(targets_for "$pattern"); then
        result="names no test ($pattern)"
        unnamed=$((unnamed + 1))
    elif ! cmake --build "$build" --target $targets >"$log" 2>&1; then
        result="does not compile"
        broken=$((broken + 1))
    else
        run_tests "$pattern" "$limit"
        case "$outcome" in
        passed) result="SURVIVED"; survived=$((survived + 1)) ;;
        timeout) result="killed (timeout)"; killed=$((killed + 1)) ;;
        *) result="killed by ${outcome#failed }"; killed=$((killed + 1)) ;;
        esac
    fi
    git -C "$clone" checkout -q -- "$file"
    # Programs built from a mutant would otherwise be listed for tests by later runs.
    if [ -n "$targets" ] && ! cmake --build "$build" --target $targets >"$log" 2>&1; then
        cat "$log" >&2
        echo "mutants.sh: the program no longer builds once $file is put back" >&2
        exit 1
    fi
    line=$(printf '%-20s %-36s %4ss  %s' "$id" "$file" $((SECONDS - mutant_started)) "$result")
    echo "$line"
    report+=("$line")
done

closing="$killed killed, $survived survived, $stale no longer apply, $broken do not compile"
[ "$unnamed" -eq 0 ] || closing="$closing, $unnamed name no test"
elapsed=$((SECONDS - started))
echo "$closing"
echo "Wall time: $((elapsed / 60)) min $((elapsed % 60)) s"
report+=("$closing" "Wall time: $((elapsed / 60)) min $((elapsed % 60)) s")
printf '%s\n' "${report[@]}" >"$out"
echo "Report: $out" >&2
