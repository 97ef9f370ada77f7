#pragma once
// Binds an object to a window: every message of the window reaches the object's
// HandleMessage first. The object is found from the window through the property
// "Morrowick_WndBasePtr".

#include <windows.h>

extern const char kWndBasePtrProperty[];  // "Morrowick_WndBasePtr"
extern const char kDefaultWindowClass[];  // "MWDefWndClass"

// The one procedure behind every bound window.
LRESULT CALLBACK BaseWindowProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class MWBaseWindow {
public:
    MWBaseWindow();
    // Destroys the window if it is still alive and still bound to this object.
    virtual ~MWBaseWindow();
    MWBaseWindow(const MWBaseWindow&) = delete;
    MWBaseWindow& operator=(const MWBaseWindow&) = delete;

    // Creates a window of the default class; rect is in the parent's client coordinates.
    virtual bool Create(DWORD exStyle, const char* title, DWORD style, const RECT& rect,
                        HWND parent, UINT id);
    // Takes over an existing window by replacing its window procedure.
    virtual bool Attach(HWND window);
    // handled starts false; an unhandled message goes on to the previous or default procedure.
    virtual LRESULT HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                                  bool& handled);
    // May change the class that Create is about to register.
    virtual void PreRegisterClass(WNDCLASSEXA& windowClass);

    // The bound window; it keeps its value after the window has been destroyed.
    HWND GetHwnd() const { return hwnd; }

protected:
    HWND hwnd;
    WNDPROC previousWndProc;  // of a window taken over by Attach, until its WM_NCDESTROY

    friend LRESULT CALLBACK BaseWindowProc(HWND, UINT, WPARAM, LPARAM);
};
