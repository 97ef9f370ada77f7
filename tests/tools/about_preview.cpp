// Shows the About box over an owner window for an end-to-end script that looks at it and
// closes it as a person would. Writes the screen rectangles of the box and of its picture
// to the file named by the argument; the exit code is the box's result.
#include "pages/AboutDlg.h"
#include "resources/resource.h"

#include <windows.h>

#include <cstdio>

namespace {

const char* g_layoutFile = nullptr;

INT_PTR CALLBACK PreviewProc(HWND box, UINT message, WPARAM wParam, LPARAM lParam)
{
    const INT_PTR result = AboutDialogProc(box, message, wParam, lParam);
    if (message == WM_INITDIALOG) {
        if (FILE* out = std::fopen(g_layoutFile, "wb")) {
            RECT r = {}, p = {};
            GetWindowRect(box, &r);
            GetWindowRect(GetDlgItem(box, IDC_ABOUT_PICTURE), &p);
            std::fprintf(out, "box %ld %ld %ld %ld\npicture %ld %ld %ld %ld\n", r.left, r.top, r.right, r.bottom,
                         p.left, p.top, p.right, p.bottom);
            std::fclose(out);
            // The pointer rests on the picture, off the links, as the screenshot shows it.
            SetCursorPos((p.left + p.right) / 2, (p.top + p.bottom) / 2);
        }
    }
    return result;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 2)
        return 2;
    g_layoutFile = argv[1];
    const int x = GetSystemMetrics(SM_CXSCREEN) / 2 - 260, y = GetSystemMetrics(SM_CYSCREEN) / 2 - 190;
    HWND owner = CreateWindowExA(0, "STATIC", "Kestrola", WS_POPUP | WS_CAPTION | WS_VISIBLE, x, y, 520, 380,
                                 nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    const INT_PTR result =
        DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_ABOUT), owner, PreviewProc, 0);
    DestroyWindow(owner);
    return static_cast<int>(result);
}
