#pragma once
// What the window tests share: plain test windows and the pointer put on a window.

#include <windows.h>

namespace testenv {

// The style the tests give their buttons.
const DWORD kChild = WS_CHILD | WS_VISIBLE | WS_TABSTOP;

// A visible, topmost pop-up window of a plain class, subclassed with proc when given.
class TestWindow {
public:
    explicit TestWindow(WNDPROC proc = nullptr, const RECT& rect = {100, 100, 500, 400});
    ~TestWindow() { DestroyWindow(hwnd_); }
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// The window procedure the window has now.
inline WNDPROC WindowProcOf(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

// Puts the pointer at (20, 15) in the window and sends the WM_MOUSEMOVE the system would.
void MoveOnto(HWND window, WPARAM keys = 0);

}  // namespace testenv
