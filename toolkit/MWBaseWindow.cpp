#include "toolkit/MWBaseWindow.h"

const char kWndBasePtrProperty[] = "Morrowick_WndBasePtr";
const char kDefaultWindowClass[] = "MWDefWndClass";

MWBaseWindow::MWBaseWindow() : hwnd(nullptr), previousWndProc(nullptr) {}

MWBaseWindow::~MWBaseWindow()
{
    // The handle is kept after the window dies; only a window that is still ours is
    // destroyed, never a later window that happens to get the same handle.
    if (hwnd && IsWindow(hwnd) && GetPropA(hwnd, kWndBasePtrProperty) == this)
        DestroyWindow(hwnd);
}

bool MWBaseWindow::Create(DWORD exStyle, const char* title, DWORD style, const RECT& rect,
                          HWND parent, UINT id)
{
    HINSTANCE instance = GetModuleHandleA(nullptr);
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_VREDRAW | CS_HREDRAW | CS_DBLCLKS;
    windowClass.lpfnWndProc = BaseWindowProc;
    windowClass.hInstance = instance;
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_WINDOW + 1));
    windowClass.lpszClassName = kDefaultWindowClass;
    PreRegisterClass(windowClass);

    // The class stays registered after the first window, and later windows share it.
    if (!RegisterClassExA(&windowClass) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
        return false;

    HWND window =
        CreateWindowExA(exStyle, windowClass.lpszClassName, title, style, rect.left, rect.top,
                        rect.right - rect.left, rect.bottom - rect.top, parent,
                        reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)), instance, this);
    if (!window)
        return false;
    hwnd = window;
    return true;
}

bool MWBaseWindow::Attach(HWND window)
{
    previousWndProc = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
    if (!previousWndProc)
        return false;
    if (SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BaseWindowProc))) {
        hwnd = window;
        SetPropA(window, kWndBasePtrProperty, this);
    } else {
        previousWndProc = nullptr;
    }
    return previousWndProc != nullptr;
}

LRESULT MWBaseWindow::HandleMessage(HWND, UINT, WPARAM, LPARAM, bool&)
{
    return 0;
}

void MWBaseWindow::PreRegisterClass(WNDCLASSEXA&) {}

LRESULT CALLBACK BaseWindowProc(HWND window, UINT msg, WPARAM wParam, LPARAM lParam)
{
    auto* object = static_cast<MWBaseWindow*>(GetPropA(window, kWndBasePtrProperty));
    if (msg == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create && create->lpCreateParams) {
            object = static_cast<MWBaseWindow*>(create->lpCreateParams);
            SetPropA(window, kWndBasePtrProperty, object);
        }
    } else if (msg == WM_NCDESTROY) {
        RemovePropA(window, kWndBasePtrProperty);
    }

    bool handled = false;
    LRESULT result = 0;
    WNDPROC previous = nullptr;
    if (object) {
        try {
            result = object->HandleMessage(window, msg, wParam, lParam, handled);
        } catch (...) {
            handled = false;
        }
        previous = object->previousWndProc;
        // The window's last message: it leaves with the procedure it came with.
        if (previous && msg == WM_NCDESTROY) {
            SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(previous));
            object->previousWndProc = nullptr;
        }
    }
    if (handled)
        return result;
    if (previous)
        return CallWindowProcA(previous, window, msg, wParam, lParam);
    return DefWindowProcA(window, msg, wParam, lParam);
}
