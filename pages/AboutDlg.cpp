#include "pages/AboutDlg.h"

#include "core/OwnedHandle.h"
#include "resources/resource.h"
#include "toolkit/CHyperLink.h"
#include "toolkit/Dpi.h"
#include "toolkit/ScaledArt.h"

const char kIconDesignerWebAddress[] = "https://www.morrowick.example/design/";

namespace {

// The box's two links. They are made the first time the box runs and kept until the
// program exits; each opening attaches them to that box's controls again.
struct AboutLinks {
    CHyperLink product;
    CHyperLink designer;
};

AboutLinks& Links()
{
    static AboutLinks links;
    return links;
}

void CentreOverParent(HWND dialog)
{
    HWND parent = GetParent(dialog);
    if (parent == nullptr)
        return;  // nothing to centre over: the template's place stands
    RECT outer = {};
    RECT box = {};
    GetWindowRect(parent, &outer);
    GetWindowRect(dialog, &box);
    const int x = outer.left + (((outer.right - outer.left) - (box.right - box.left)) >> 1);
    const int y = outer.top + (((outer.bottom - outer.top) - (box.bottom - box.top)) >> 1);
    SetWindowPos(dialog, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
}

void OnInitDialog(HWND dialog)
{
    dpi::LayOutDialog(dialog);
    CentreOverParent(dialog);
    // The product link's text is its own target.
    char address[512] = {};
    GetDlgItemTextA(dialog, IDC_ABOUT_PRODUCT_LINK, address, sizeof address);
    Links().product.AttachDlgItem(dialog, IDC_ABOUT_PRODUCT_LINK, address);
    Links().designer.AttachDlgItem(dialog, IDC_ABOUT_DESIGNER_LINK, kIconDesignerWebAddress);
}

// The picture control stays hidden; the printer is drawn where it stands, at the box's
// display scale, with its magenta background left out. The bitmap is loaded for each paint.
void PaintPrinterPicture(HWND dialog)
{
    PAINTSTRUCT paint = {};
    HDC dc = BeginPaint(dialog, &paint);
    RECT place = {};
    GetWindowRect(GetDlgItem(dialog, IDC_ABOUT_PICTURE), &place);
    ScreenToClient(dialog, reinterpret_cast<POINT*>(&place.left));
    ScreenToClient(dialog, reinterpret_cast<POINT*>(&place.right));

    OwnedGdiObject picture(LoadBitmapForDpi(IDB_PRINTER, dpi::ForWindow(dialog), true));
    if (dc != nullptr && picture.valid()) {
        BITMAP size = {};
        GetObjectA(picture.get(), sizeof size, &size);
        OwnedMemoryDC memory(CreateCompatibleDC(dc));
        if (memory.valid()) {
            HGDIOBJ previous = SelectObject(memory.get(), picture.get());
            GdiTransparentBlt(dc, place.left, place.top, size.bmWidth, size.bmHeight, memory.get(),
                              0, 0, size.bmWidth, size.bmHeight, RGB(255, 0, 255));
            SelectObject(memory.get(), previous);
        }
    }
    EndPaint(dialog, &paint);
}

}  // namespace

INT_PTR CALLBACK AboutDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM)
{
    Links();  // made on the box's first message, kept until the program exits
    switch (message) {
    case WM_INITDIALOG:
        OnInitDialog(dialog);
        break;
    case WM_PAINT:
        PaintPrinterPicture(dialog);
        break;
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK || LOWORD(wParam) == IDCANCEL)
            EndDialog(dialog, 0);
        break;
    default:
        break;
    }
    return FALSE;
}
