#include "support/WindowTesting.h"

namespace testenv {

TestWindow::TestWindow(WNDPROC proc, const RECT& rect)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = "KestrolaTestWindow";
    RegisterClassA(&windowClass);
    hwnd_ = CreateWindowExA(WS_EX_TOPMOST, windowClass.lpszClassName, "test", WS_POPUP | WS_VISIBLE,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                            nullptr, nullptr, windowClass.hInstance, nullptr);
    if (hwnd_ && proc)
        SetWindowLongA(hwnd_, GWL_WNDPROC, reinterpret_cast<LONG>(proc));
}

void MoveOnto(HWND window, WPARAM keys)
{
    POINT point = {20, 15};
    ClientToScreen(window, &point);
    SetCursorPos(point.x, point.y);
    SendMessageA(window, WM_MOUSEMOVE, keys, MAKELPARAM(20, 15));
}

}  // namespace testenv
