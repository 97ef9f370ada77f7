#pragma once
// The wizard frame's keyboard focus: the Tab walk over the frame's buttons and the current
// page's tab stops, the arrow keys inside a radio group of the page, and the control that
// gets the focus back when the frame is activated again.

#include <windows.h>

#include <vector>

class WindowState;

class FrameFocus {
public:
    // Tab walks the buttons in the order given, then the page's tab stops, then the
    // buttons again, passing over what is hidden or disabled; Shift+Tab is the same walk
    // with the buttons given the other way round. page may be null.
    static void Cycle(const std::vector<HWND>& buttons, WindowState* page, bool forward);
    // The arrow keys on a radio button of the page: the next or previous one of its group
    // takes the focus and the check.
    static void SelectRadio(WindowState* page, bool forward);
    static bool IsOnPageRadio(WindowState* page);

    // Remembers the focused control when it is one of the frame's (deactivated, minimised
    // or hidden); Restore gives it the focus again, false when there is none.
    void Save(HWND frame);
    bool Restore();

private:
    HWND saved = nullptr;  // never cleared
};
