#pragma once
// What the window tests share: message pumping, plain test windows and a memory canvas
// whose pixels can be read back exactly.

#include <windows.h>

#include <functional>
#include <vector>

namespace testenv {

void PumpMessages();
// Pumps until done() is true or timeoutMs have passed; returns done().
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 5000);

// A window of a plain class (topmost when top-level), subclassed with proc when given.
class TestWindow {
public:
    TestWindow(DWORD style, const RECT& rect, HWND parent = nullptr, WNDPROC proc = nullptr);
    ~TestWindow();
    TestWindow(const TestWindow&) = delete;
    TestWindow& operator=(const TestWindow&) = delete;
    HWND get() const { return hwnd_; }

private:
    HWND hwnd_;
};

// A 32-bit top-down DIB selected into a memory DC.
class Canvas {
public:
    Canvas(int width, int height, COLORREF fill);
    ~Canvas();
    Canvas(const Canvas&) = delete;
    Canvas& operator=(const Canvas&) = delete;
    HDC dc() const { return dc_; }
    COLORREF Pixel(int x, int y) const;  // RGB, without the alpha byte
    std::vector<COLORREF> Pixels() const;
    // Sends `target` (a button or its parent) WM_DRAWITEM for the whole canvas.
    void DrawButton(HWND target, HWND button, UINT itemState) const;

private:
    int width_, height_;
    HDC dc_;
    HBITMAP bitmap_;
    HGDIOBJ previous_;
    const DWORD* bits_;
};

}  // namespace testenv
