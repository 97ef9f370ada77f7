#include "support/WindowTesting.h"

namespace testenv {

void PumpMessages()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs)
{
    const DWORD start = GetTickCount();
    while (!done() && GetTickCount() - start < timeoutMs) {
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 20, QS_ALLINPUT);
        PumpMessages();
    }
    return done();
}

TestWindow::TestWindow(DWORD style, const RECT& rect, HWND parent, WNDPROC proc)
{
    WNDCLASSA windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcA;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(static_cast<INT_PTR>(COLOR_BTNFACE + 1));
    windowClass.lpszClassName = "KestrolaTestWindow";
    RegisterClassA(&windowClass);
    hwnd_ = CreateWindowExA(parent ? 0 : WS_EX_TOPMOST, windowClass.lpszClassName, "test", style,
                            rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top,
                            parent, nullptr, windowClass.hInstance, nullptr);
    if (hwnd_ && proc)
        SetWindowLongA(hwnd_, GWL_WNDPROC, reinterpret_cast<LONG>(proc));
}

TestWindow::~TestWindow()
{
    if (IsWindow(hwnd_))
        DestroyWindow(hwnd_);
}

Canvas::Canvas(int width, int height, COLORREF fill) : width_(width), height_(height)
{
    BITMAPINFO info = {};
    info.bmiHeader = {sizeof(info.bmiHeader), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    dc_ = CreateCompatibleDC(nullptr);
    void* bits = nullptr;
    bitmap_ = CreateDIBSection(dc_, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    bits_ = static_cast<const DWORD*>(bits);
    previous_ = SelectObject(dc_, bitmap_);
    const RECT all = {0, 0, width, height};
    HBRUSH brush = CreateSolidBrush(fill);
    FillRect(dc_, &all, brush);
    DeleteObject(brush);
}

Canvas::~Canvas()
{
    SelectObject(dc_, previous_);
    DeleteObject(bitmap_);
    DeleteDC(dc_);
}

COLORREF Canvas::Pixel(int x, int y) const
{
    GdiFlush();
    const DWORD bgra = bits_[y * width_ + x];
    return RGB((bgra >> 16) & 0xFF, (bgra >> 8) & 0xFF, bgra & 0xFF);
}

std::vector<COLORREF> Canvas::Pixels() const
{
    std::vector<COLORREF> pixels;
    for (int y = 0; y < height_; ++y)
        for (int x = 0; x < width_; ++x)
            pixels.push_back(Pixel(x, y));
    return pixels;
}

void Canvas::DrawButton(HWND target, HWND button, UINT itemState) const
{
    DRAWITEMSTRUCT item = {
        ODT_BUTTON, 0, 0, ODA_DRAWENTIRE, itemState, button, dc_, {0, 0, width_, height_}, 0};
    SendMessageA(target, WM_DRAWITEM, 0, reinterpret_cast<LPARAM>(&item));
}

}  // namespace testenv
