#include "toolkit/MWBaseDialog.h"

#include "toolkit/Dpi.h"

const char kDlgBasePtrProperty[] = "Morrowick_DlgBasePtr";

namespace {

// Half of a difference, rounded toward minus infinity.
int HalfRoundedDown(int difference)
{
    return difference >= 0 ? difference / 2 : -((1 - difference) / 2);
}

}  // namespace

POINT CentredTopLeft(const RECT& reference, const RECT& window)
{
    const int referenceWidth = reference.right - reference.left;
    const int referenceHeight = reference.bottom - reference.top;
    const int width = window.right - window.left;
    const int height = window.bottom - window.top;
    POINT topLeft;
    topLeft.x = reference.left + HalfRoundedDown(referenceWidth - width);
    topLeft.y = reference.top + HalfRoundedDown(referenceHeight - height);
    return topLeft;
}

MWBaseDialog::~MWBaseDialog() = default;

INT_PTR MWBaseDialog::DoModal(WORD templateId, HWND parent)
{
    // Wide, so that its controls hold any printer's name; the system's own modal loop
    // dispatches wide as well.
    return DialogBoxParamW(GetModuleHandleA(nullptr), MAKEINTRESOURCEW(templateId), parent,
                           BaseDialogProc, reinterpret_cast<LPARAM>(this));
}

bool MWBaseDialog::DialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM)
{
    switch (msg) {
    case WM_INITDIALOG: {
        dpi::LayOutDialog(hwnd);
        RECT reference = {0, 0, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)};
        HWND owner = GetParent(hwnd);
        if (owner)
            GetWindowRect(owner, &reference);
        RECT own = {};
        GetWindowRect(hwnd, &own);
        const POINT topLeft = CentredTopLeft(reference, own);
        SetWindowPos(hwnd, nullptr, topLeft.x, topLeft.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        return true;
    }
    case WM_COMMAND:
        if (LOWORD(wParam) == IDOK) {
            EndDialog(hwnd, IDOK);
            return true;
        }
        if (LOWORD(wParam) == IDCANCEL) {
            EndDialog(hwnd, IDCANCEL);
            return true;
        }
        return false;
    default:
        return false;
    }
}

INT_PTR CALLBACK BaseDialogProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* object = static_cast<MWBaseDialog*>(GetPropA(hwnd, kDlgBasePtrProperty));
    if (msg == WM_NCDESTROY) {
        RemovePropA(hwnd, kDlgBasePtrProperty);
    } else if (msg == WM_INITDIALOG) {
        object = reinterpret_cast<MWBaseDialog*>(lParam);
        SetPropA(hwnd, kDlgBasePtrProperty, object);
    }
    if (!object)
        return FALSE;
    try {
        return object->DialogProc(hwnd, msg, wParam, lParam) ? TRUE : FALSE;
    } catch (...) {
        return FALSE;
    }
}
