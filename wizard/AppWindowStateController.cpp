#include "wizard/AppWindowStateController.h"

#include "core/FilePath.h"
#include "core/OnDemandLibraries.h"
#include "core/OwnedHandle.h"
#include "pages/AboutDlg.h"
#include "resources/resource.h"
#include "toolkit/Dpi.h"
#include "toolkit/ScaledArt.h"
#include "wizard/AppWindowState.h"

#include <vector>

namespace {

// Puts a GDI object into a memory context for as long as the scope lasts.
class Selection {
public:
    Selection(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
    ~Selection() { SelectObject(dc_, previous_); }
    Selection(const Selection&) = delete;
    Selection& operator=(const Selection&) = delete;

private:
    HDC dc_;
    HGDIOBJ previous_;
};

void FillRow(HDC dc, int width, int row, COLORREF colour)
{
    const RECT line = {0, row, width, row + 1};
    SetBkColor(dc, colour);
    ExtTextOutA(dc, 0, 0, ETO_OPAQUE, &line, nullptr, 0, nullptr);
}

// The names are asked for wide: a name outside the ANSI code page then reaches the path
// rules intact instead of as question marks.
std::vector<WideString> DroppedNames(HDROP drop)
{
    std::vector<WideString> names;
    const UINT count = DroppedFileName(drop, 0xFFFFFFFF, nullptr, 0);
    for (UINT i = 0; i < count; ++i) {
        const UINT length = DroppedFileName(drop, i, nullptr, 0);
        if (length == 0)
            continue;
        WideString name(length + 1, L'\0');
        const UINT copied = DroppedFileName(drop, i, &name[0], length + 1);
        name.resize(copied < length ? copied : length);
        names.push_back(name);
    }
    return names;
}

}  // namespace

AppWindowStateController::AppWindowStateController() = default;

AppWindowStateController::~AppWindowStateController() = default;

void AppWindowStateController::SetFilePath(const WideString& path) { filePath = path; }

WideString AppWindowStateController::GetFilePath() const { return filePath; }

void AppWindowStateController::SetPrinterName(const WideString& name) { printerName = name; }

WideString AppWindowStateController::GetPrinterName() const { return printerName; }

void AppWindowStateController::SetBatch(const std::vector<WideString>& files) { batch = files; }

const std::vector<WideString>& AppWindowStateController::GetBatch() const { return batch; }

bool AppWindowStateController::HandleMessage(HWND window, UINT message, WPARAM wParam,
                                             LPARAM lParam, LRESULT* result)
{
    switch (message) {
    case WM_CREATE:
        AddAboutToSystemMenu(window);
        CreateAboutButton(window);
        AcceptDroppedFiles(window);
        WindowStateController::HandleMessage(window, message, wParam, lParam, result);
        return true;
    case WM_DROPFILES:
        TakeDroppedFiles(window, reinterpret_cast<HDROP>(wParam));
        *result = 0;
        return true;
    case WM_SYSCOMMAND:
        if (wParam != kAboutCommand)
            break;
        ShowAboutBox(window);
        return true;
    case WM_COMMAND:
        if (LOWORD(wParam) != kAboutCommand)
            break;
        ShowAboutBox(window);
        return true;
    case WM_CTLCOLORSTATIC:
    case WM_CTLCOLORBTN: {
        const HDC dc = reinterpret_cast<HDC>(wParam);
        SetTextColor(dc, RGB(0, 0, 0));
        SetBkColor(dc, RGB(255, 255, 255));
        *result = reinterpret_cast<LRESULT>(GetStockObject(WHITE_BRUSH));
        return true;
    }
    }
    return WindowStateController::HandleMessage(window, message, wParam, lParam, result);
}

void AppWindowStateController::AddAboutToSystemMenu(HWND window)
{
    HMENU menu = GetSystemMenu(window, FALSE);
    if (menu == nullptr)
        return;
    char text[] = "About...";
    MENUITEMINFOA about = {};
    about.cbSize = sizeof(about);
    about.fMask = MIIM_STRING | MIIM_ID;
    about.wID = kAboutCommand;
    about.dwTypeData = text;
    InsertMenuItemA(menu, 5, TRUE, &about);
    // Inserted at the same place, the separator ends up just before "About...".
    MENUITEMINFOA separator = {};
    separator.cbSize = sizeof(separator);
    separator.fMask = MIIM_FTYPE;
    separator.fType = MFT_SEPARATOR;
    InsertMenuItemA(menu, 5, TRUE, &separator);
}

void AppWindowStateController::AddPage(AppWindowState* page, int id)
{
    WindowStateController::AddPage(page, id);
}

void AppWindowStateController::CreateAboutButton(HWND window)
{
    RECT client = {};
    GetClientRect(window, &client);
    aboutButton = CreateWindowExA(0, "button", "About...", WS_CHILD | WS_VISIBLE,
                                  client.right + aboutSlot.x, client.bottom + aboutSlot.y,
                                  kButtonWidth, kButtonHeight, window,
                                  reinterpret_cast<HMENU>(static_cast<INT_PTR>(kAboutCommand)),
                                  GetModuleHandleA(nullptr), nullptr);
    Place(aboutButton, aboutSlot.x, aboutSlot.y, kButtonWidth, kButtonHeight);
}

void AppWindowStateController::ShowAboutBox(HWND window)
{
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), window,
                    AboutDialogProc, 0);
}

// A page with a job running has already refused the drop; the other pages let the file
// page take every dropped file that exists, or the first usable one when only one does.
void AppWindowStateController::TakeDroppedFiles(HWND window, HDROP drop)
{
    const std::vector<WideString> names = DroppedNames(drop);
    ReleaseDrop(drop);
    std::vector<WideString> files;
    for (const WideString& name : names) {
        if (file::Exists(name))
            files.push_back(path::Normalise(name));
    }
    const WideString path = files.size() > 1 ? WideString() : path::FirstUsableFile(names);
    if (path.empty() && files.size() < 2)
        return;
    // Pages reach this frame only through its own AddPage, so each is an AppWindowState.
    for (const auto& entry : pages) {
        auto* page = static_cast<AppWindowState*>(entry.first);
        if (path.empty() ? page->TakeFiles(window, files) : page->TakeFile(window, path))
            return;
    }
}

void AppWindowStateController::Paint(HWND, HDC dc, const RECT& client)
{
    const int width = client.right - client.left;
    const auto at = [this](int value) { return dpi::Scale(value, dpi); };
    const int stripHeight = at(kStripHeight);

    OwnedMemoryDC strip(CreateCompatibleDC(dc));
    OwnedGdiObject stripBitmap(CreateCompatibleBitmap(dc, width, stripHeight));
    if (!strip.valid() || !stripBitmap.valid())
        return;
    Selection stripSelection(strip.get(), stripBitmap.get());
    PatBlt(strip.get(), 0, 0, width, stripHeight, WHITENESS);
    {
        OwnedMemoryDC source(CreateCompatibleDC(dc));
        OwnedGdiObject emblem(LoadBitmapForDpi(IDB_EMBLEM, dpi));
        OwnedGdiObject printer(
            currentIndex != 0 ? LoadBitmapForDpi(IDB_PRINTER, dpi, true) : nullptr);
        if (source.valid() && emblem.valid()) {
            Selection selection(source.get(), emblem.get());
            BitBlt(strip.get(), 0, at(83), at(74), at(75), source.get(), at(16), 0, SRCCOPY);
        }
        if (source.valid() && printer.valid()) {
            Selection selection(source.get(), printer.get());
            // gdi32's own entry, which msimg32's TransparentBlt forwards to: automatic
            // printing then starts without loading msimg32.
            GdiTransparentBlt(strip.get(), at(17), 0, at(108), at(105), source.get(), 0, 0,
                              at(108), at(105), RGB(255, 0, 255));
        }
    }
    for (int row = at(156); row < at(157); ++row)
        FillRow(strip.get(), width, row, RGB(185, 185, 185));
    for (int row = at(157); row < stripHeight; ++row)
        FillRow(strip.get(), width, row, RGB(142, 142, 142));
    BitBlt(dc, 0, client.bottom - at(kStripFromBottom), width, stripHeight, strip.get(), 0, 0,
           SRCCOPY);
}

void AppWindowStateController::FocusNext()
{
    CycleFocus({aboutButton, cancelButton, backButton, nextButton}, true);
}

void AppWindowStateController::FocusPrev()
{
    CycleFocus({nextButton, backButton, cancelButton, aboutButton}, false);
}

void AppWindowStateController::OnPageChanged()
{
    RedrawWindow(frameWindow, nullptr, nullptr, RDW_INVALIDATE);
}
