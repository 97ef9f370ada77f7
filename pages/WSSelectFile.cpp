#include "pages/WSSelectFile.h"

#include "core/FilePath.h"
#include "core/OnDemandLibraries.h"
#include "core/PrinterList.h"
#include "core/QueueState.h"
#include "core/RawPrintJob.h"
#include "pages/RecentFiles.h"
#include "settings/ProgramSettings.h"
#include "settings/RegistryStore.h"
#include "wizard/AppWindowStateController.h"

#include <commdlg.h>

#include <algorithm>
#include <memory>
#include <new>

namespace {

// The open-file dialog's filters, as one block of NUL-separated strings.
const wchar_t kOpenFilters[] =
    L"Printer Files (*.prn)\0*.prn\0"
    L"PostScript Files (*.ps;*.eps)\0*.ps;*.eps\0"
    L"Printer Control Language Files (*.pcl)\0*.pcl\0"
    L"Zebra Printer Language Files (*.zpl)\0*.zpl\0"
    L"All Files (*.*)\0*.*\0";

const char kFileNotFound[] =
    "Could not find the specified file.  Please make sure the file exists before continuing.";

constexpr DWORD kAllFilesFilter = 5;

// Room for the names of many files; a dialog that needs more says so.
constexpr DWORD kChoiceBufferChars = 32768;

const char kPreviousEditProc[] = "Kestrola_PreviousEditProc";

// The files a multiple choice in the open-file dialog gives: the folder, then each name,
// NUL-separated; one chosen file comes as its full path.
std::vector<WideString> DialogChoice(const WideString& buffer, WORD fileOffset)
{
    const WideString first = buffer.c_str();
    if (first.empty() || fileOffset == 0 || fileOffset > buffer.size() ||
        buffer[fileOffset - 1] != L'\0')
        return {first};
    const WideString folder = first.back() == L'\\' ? first : first + L'\\';
    std::vector<WideString> files;
    for (std::size_t at = fileOffset; at < buffer.size() && buffer[at] != L'\0';) {
        const WideString name = buffer.c_str() + at;
        files.push_back(folder + name);
        at += name.size() + 1;
    }
    return files;
}

// "Copy as path" of several files gives a path a line; a one-line box would paste the
// first line only, so the lines arrive as one.
LRESULT CALLBACK PasteOnOneLine(HWND edit, UINT message, WPARAM wParam, LPARAM lParam)
{
    const auto previous = reinterpret_cast<WNDPROC>(GetPropA(edit, kPreviousEditProc));
    if (message == WM_PASTE && IsClipboardFormatAvailable(CF_UNICODETEXT) &&
        OpenClipboard(edit)) {
        WideString text;
        const HANDLE data = GetClipboardData(CF_UNICODETEXT);
        if (const auto* chars = data ? static_cast<const wchar_t*>(GlobalLock(data)) : nullptr) {
            text = chars;
            GlobalUnlock(data);
        }
        CloseClipboard();
        const WideString line = path::PastedAsOneLine(text);
        if (line != text) {
            SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(line.c_str()));
            return 0;
        }
    }
    if (message == WM_NCDESTROY)
        RemovePropA(edit, kPreviousEditProc);
    return CallWindowProcW(previous, edit, message, wParam, lParam);
}

WideString ControlText(HWND control)
{
    const int length = GetWindowTextLengthW(control);
    WideString text(length + 1, L'\0');
    const int copied = GetWindowTextW(control, &text[0], length + 1);
    text.resize(copied > 0 ? copied : 0);
    return text;
}

struct StateReading {
    HWND frame;
    WideString printer;
    WPARAM number;
};

// Opening a printer connection can take long when its server does not answer, so the
// state is read on a thread of its own and posted back to the frame.
DWORD WINAPI ReadStateThread(void* parameter)
{
    const std::unique_ptr<StateReading> reading(static_cast<StateReading*>(parameter));
    try {
        const PrinterWait wait = ReadPrinterWait(reading->printer);
        PostMessageA(reading->frame, WSSelectFile::kPrinterStateMessage, reading->number,
                     static_cast<LPARAM>(wait));
    } catch (...) {
    }
    return 0;
}

}  // namespace

WSSelectFile::WSSelectFile(AppWindowStateController* owner) : AppWindowState(owner) {}

WSSelectFile::~WSSelectFile()
{
    for (HWND control :
         {fileLabel, fileBox, browseButton, printerLabel, printerBox, printerState}) {
        if (control != nullptr && IsWindow(control))
            DestroyWindow(control);
    }
}

HWND WSSelectFile::CreateControl(HWND frame, const char* className, int id, const char* text,
                                 DWORD style, Offset at, int width, int height, bool wide)
{
    const HMENU menu = reinterpret_cast<HMENU>(static_cast<INT_PTR>(id));
    // The wide controls hold any file or printer name; the page's labels stay 8-bit.
    HWND control =
        wide ? CreateWindowExW(0, path::FromAnsi(className).c_str(), path::FromAnsi(text).c_str(),
                               style, 0, 0, width, height, frame, menu,
                               GetModuleHandleA(nullptr), nullptr)
             : CreateWindowExA(0, className, text, style, 0, 0, width, height, frame, menu,
                               GetModuleHandleA(nullptr), nullptr);
    owner->Place(control, at.x, at.y, width, height);
    return control;
}

void WSSelectFile::CreateControls(HWND frame)
{
    constexpr DWORD kLabelStyle = WS_CHILD | WS_GROUP | SS_LEFTNOWORDWRAP;
    if (fileLabel == nullptr)
        fileLabel = CreateControl(frame, "static", -1, "Select file to send to the printer:",
                                  kLabelStyle, fileLabelAt, 294, 15);
    if (fileBox == nullptr) {
        fileBox = CreateControl(frame, "combobox", kFileBoxId, "",
                                WS_CHILD | WS_GROUP | WS_TABSTOP | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                                fileBoxAt, 294, 172, true);
        if (fileBox != nullptr)
            FillFileBox();
    }
    if (browseButton == nullptr) {
        browseButton = CreateControl(frame, "button", kBrowseId, "Browse...",
                                     WS_CHILD | WS_GROUP | WS_TABSTOP, browseAt, 73, 21);
        AddControl(browseButton);
    }
    if (printerLabel == nullptr)
        printerLabel = CreateControl(frame, "static", -1, "Select the destination printer:",
                                     kLabelStyle, printerLabelAt, 294, 15);
    if (printerBox == nullptr) {
        printerBox = CreateControl(frame, "combobox", kPrinterBoxId, "",
                                   WS_CHILD | WS_GROUP | WS_TABSTOP | CBS_DROPDOWNLIST,
                                   printerBoxAt, 294, 104, true);
        if (printerBox != nullptr) {
            AddControl(printerBox);
            FillPrinterBox();
        }
    }
    if (printerState == nullptr)
        printerState = CreateControl(frame, "static", kPrinterStateId, "", kLabelStyle,
                                     printerStateAt, 294, 15);
}

void WSSelectFile::FillFileBox()
{
    COMBOBOXINFO info = {};
    info.cbSize = sizeof(info);
    if (SendMessageA(fileBox, CB_GETCOMBOBOXINFO, 0, reinterpret_cast<LPARAM>(&info))) {
        AddControl(info.hwndItem);
        SetPropA(info.hwndItem, kPreviousEditProc,
                 reinterpret_cast<HANDLE>(GetWindowLongPtrW(info.hwndItem, GWLP_WNDPROC)));
        SetWindowLongPtrW(info.hwndItem, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PasteOnOneLine));
    }

    const std::vector<WideString> recent = LoadRecentFiles();
    for (const WideString& path : recent)
        SendMessageW(fileBox, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(path.c_str()));
    if (!recent.empty())
        SendMessageA(fileBox, CB_SETCURSEL, 0, 0);
    const WideString chosen = AppOwner()->GetFilePath();
    if (!chosen.empty())
        SetWindowTextW(fileBox, chosen.c_str());
    if (!AppOwner()->GetBatch().empty())
        SetWindowTextW(fileBox, path::JoinFileList(AppOwner()->GetBatch()).c_str());
    SendMessageA(fileBox, CB_SETEDITSEL, 0, MAKELPARAM(0, -1));
}

void WSSelectFile::FillPrinterBox()
{
    shownPrinters = GetPrinterList();
    const std::vector<PrinterEntry>& printers = shownPrinters;
    for (const PrinterEntry& printer : printers)
        SendMessageW(printerBox, CB_ADDSTRING, 0,
                     reinterpret_cast<LPARAM>(printer.displayName.c_str()));
    size_t selection = 0;
    WideString last;
    if (ReadRegistryString(settings::kProgramKey, settings::kLastPrinterName, last, 1024)) {
        for (size_t i = 0; i < printers.size(); ++i) {
            if (lstrcmpW(printers[i].name.c_str(), last.c_str()) == 0) {
                selection = i;
                break;
            }
        }
    }
    SendMessageA(printerBox, CB_SETCURSEL, selection, 0);
}

void WSSelectFile::ShowControls(int show)
{
    for (HWND control :
         {fileLabel, fileBox, browseButton, printerLabel, printerBox, printerState})
        ShowWindow(control, show);
}

bool WSSelectFile::Enter(HWND frame)
{
    owner->SetNextButton(true, true, "Print >");
    owner->SetBackButton(true, true, "< Back");
    owner->SetCancelButton(true, true, "Cancel");
    ShowControls(SW_SHOW);
    SetFocus(fileBox);
    ReadPrinterState(frame);  // it may have changed while the page was not shown
    return true;
}

// The text stays empty until the state is known, and for a printer that is ready or whose
// state cannot be read (one that has gone, say).
void WSSelectFile::ReadPrinterState(HWND frame)
{
    SetWindowTextA(printerState, "");
    const LRESULT selection = SendMessageA(printerBox, CB_GETCURSEL, 0, 0);
    if (selection < 0 || static_cast<size_t>(selection) >= shownPrinters.size())
        return;
    auto* reading = new (std::nothrow)
        StateReading{frame, shownPrinters[static_cast<size_t>(selection)].name, ++stateReadings};
    const HANDLE thread =
        reading ? CreateThread(nullptr, 0, ReadStateThread, reading, 0, nullptr) : nullptr;
    if (thread != nullptr)
        CloseHandle(thread);
    else
        delete reading;
}

bool WSSelectFile::Leave(HWND)
{
    ShowControls(SW_HIDE);
    return true;
}

void WSSelectFile::UpdateNextForText(int textLength)
{
    owner->SetNextButton(true, textLength > 0, "Print");
}

bool WSSelectFile::HandleMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam,
                                 LRESULT*)
{
    if (message == kPrinterStateMessage) {
        // An answer about a printer picked before is of no use any more.
        if (wParam == stateReadings)
            SetWindowTextA(printerState, DescribeWait(static_cast<PrinterWait>(lParam)).state);
        return true;
    }
    if (message != WM_COMMAND)
        return false;
    const int id = LOWORD(wParam);
    const int notification = HIWORD(wParam);
    if (id == kFileBoxId && notification == CBN_DROPDOWN) {
        const LRESULT count = SendMessageA(fileBox, CB_GETCOUNT, 0, 0);
        if (count == 0 || count == CB_ERR) {
            // An empty drop-down list is closed again by a click where the pointer is.
            INPUT clicks[2] = {};
            clicks[0].type = INPUT_MOUSE;
            clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
            clicks[1].type = INPUT_MOUSE;
            clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
            SendInput(2, clicks, sizeof(INPUT));
        }
    } else if (id == kFileBoxId && notification == CBN_EDITCHANGE) {
        UpdateNextForText(GetWindowTextLengthA(fileBox));
    } else if (id == kFileBoxId && notification == CBN_SELCHANGE) {
        // A path picked from the list after the text was cleared makes "Print" usable again.
        const LRESULT selected = SendMessageA(fileBox, CB_GETCURSEL, 0, 0);
        if (selected != CB_ERR && !IsWindowEnabled(GetDlgItem(frame, WindowStateController::kNextId)))
            UpdateNextForText(
                static_cast<int>(SendMessageA(fileBox, CB_GETLBTEXTLEN, selected, 0)));
    } else if (id == kPrinterBoxId && notification == CBN_SELCHANGE) {
        ReadPrinterState(frame);
    } else if (id == kBrowseId) {
        BrowseForFile(frame);
    }
    return false;
}

// The dialog runs wide, so that any file name comes back intact. Several files may be
// chosen at once.
void WSSelectFile::BrowseForFile(HWND frame)
{
    DWORD filterIndex = 0;
    if (!ReadRegistryDword(settings::kProgramKey, settings::kOpenFilterIndex, filterIndex))
        filterIndex = kAllFilesFilter;
    WideString buffer(kChoiceBufferChars, L'\0');
    OPENFILENAMEW dialog = {};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = frame;
    dialog.lpstrFilter = kOpenFilters;
    dialog.nFilterIndex = filterIndex;
    dialog.Flags = OFN_FILEMUSTEXIST | OFN_HIDEREADONLY | OFN_ALLOWMULTISELECT | OFN_EXPLORER;
    for (;;) {
        dialog.lpstrFile = &buffer[0];
        dialog.nMaxFile = static_cast<DWORD>(buffer.size());
        if (OpenFileDialog(&dialog))
            break;
        const DWORD error = OpenFileDialogError();
        if (error == FNERR_BUFFERTOOSMALL) {
            // The choice did not fit: the dialog opens again, on the same folder, with room.
            const std::size_t needed = *reinterpret_cast<const WORD*>(buffer.data());
            buffer.assign(std::max(needed + 1, buffer.size() * 2), L'\0');
            continue;
        }
        if (error != 0)
            MessageBoxA(frame,
                        ("The open-file dialog could not be shown (error " + DecimalText(error) +
                         ").")
                            .c_str(),
                        "Error", MB_ICONWARNING);
        return;
    }
    WriteRegistryDword(settings::kProgramKey, settings::kOpenFilterIndex, dialog.nFilterIndex);
    const std::vector<WideString> chosen = DialogChoice(buffer, dialog.nFileOffset);
    UseChosenFile(frame, chosen.size() > 1 ? path::JoinFileList(chosen) : chosen.front());
}

void WSSelectFile::UseChosenFile(HWND frame, const WideString& text)
{
    SetWindowTextW(fileBox, text.c_str());
    if (!IsWindowEnabled(GetDlgItem(frame, WindowStateController::kNextId)))
        UpdateNextForText(GetWindowTextLengthW(fileBox));
}

bool WSSelectFile::ShowWithText(HWND frame, const WideString& text)
{
    owner->GoToPage(kPageId);
    // The controls are shown only while the page is current; it is not when the page
    // before it refused to be left.
    if ((GetWindowLongA(fileBox, GWL_STYLE) & WS_VISIBLE) == 0)
        return false;
    UseChosenFile(frame, text);
    return true;
}

bool WSSelectFile::TakeFile(HWND frame, const WideString& path)
{
    return ShowWithText(frame, path);
}

bool WSSelectFile::TakeFiles(HWND frame, const std::vector<WideString>& files)
{
    return ShowWithText(frame, path::JoinFileList(files));
}

bool WSSelectFile::OnNext(HWND frame)
{
    const WideString typed = ControlText(fileBox);
    const WideString name = path::CleanTyped(typed);
    const std::vector<WideString> batch = path::SplitFileList(typed, name);
    if (!batch.empty())
        return OnNextWithBatch(frame, batch);
    if (name != typed)
        SetWindowTextW(fileBox, name.c_str());
    if (name.empty()) {
        MessageBoxA(frame, "You must specify a file to send to the printer.", "Error",
                    MB_ICONWARNING);
        return false;
    }
    if (!file::Exists(name)) {
        MessageBoxA(frame, kFileNotFound, "Error", MB_ICONWARNING);
        return false;
    }
    // The box, the job's messages and the recent list name the file as the user knows it:
    // its full long path, also when it was typed as a short or relative one.
    const WideString path = path::Normalise(name);
    if (path != name)
        SetWindowTextW(fileBox, path.c_str());
    const WideString printer = PrinterChoice(frame);
    if (printer.empty())
        return false;

    AppOwner()->SetFilePath(path);
    AppOwner()->SetBatch({});
    AppOwner()->SetPrinterName(printer);
    Remember(printer, {path});
    return true;
}

// Every file is checked before any is sent, so that a wrong name can be mended first.
bool WSSelectFile::OnNextWithBatch(HWND frame, const std::vector<WideString>& batch)
{
    for (const WideString& file : batch) {
        if (!file::Exists(file)) {
            const WideString message = path::FromAnsi(kFileNotFound) + L"\n\n" + file;
            MessageBoxW(frame, message.c_str(), L"Error", MB_ICONWARNING);
            return false;
        }
    }
    const WideString printer = PrinterChoice(frame);
    if (printer.empty())
        return false;
    AppOwner()->SetBatch(batch);
    AppOwner()->SetPrinterName(printer);
    Remember(printer, batch);
    return true;
}

// A printer that has gone since the box was filled counts as no choice.
WideString WSSelectFile::PrinterChoice(HWND frame)
{
    const LRESULT selection = SendMessageA(printerBox, CB_GETCURSEL, 0, 0);
    const WideString printer = PickedPrinter(shownPrinters, selection, GetPrinterList());
    if (printer.empty())
        MessageBoxA(frame, "You must select a printer.", "Error", MB_ICONWARNING);
    return printer;
}

// The files enter the recent list as if sent one after another: the last goes on top.
void WSSelectFile::Remember(const WideString& printer, const std::vector<WideString>& files)
{
    WriteRegistryString(settings::kProgramKey, settings::kLastPrinterName, printer);
    std::vector<WideString> recent = LoadRecentFiles();
    for (const WideString& file : files)
        AddRecentFile(file, recent);
    SaveRecentFiles(recent);
}
