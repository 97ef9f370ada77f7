#pragma once
// A wizard page: a plain object whose controls are children of the frame window. Every
// page operation has a default here; the page's tab list and the keyboard navigation over
// it are the base's own.

#include <windows.h>

#include <vector>

#include "wizard/TabWalk.h"

class WindowStateController;

class WindowState {
public:
    explicit WindowState(WindowStateController* owner);
    virtual ~WindowState();
    WindowState(const WindowState&) = delete;
    WindowState& operator=(const WindowState&) = delete;

    // Asked by the frame when its buttons are clicked; false refuses the click.
    virtual bool OnNext(HWND frame);
    virtual bool OnBack(HWND frame);
    virtual bool OnCancel(HWND frame);

    // The tab list, in tab order. A null control is ignored; a control may be added twice.
    virtual void AddControl(HWND control);
    virtual void RemoveControl(HWND control);  // its first occurrence, if any

    // Tab and Shift+Tab: the control that gets the focus after or before from, null when the
    // walk leaves the page's controls. Controls that are hidden or disabled are passed over.
    virtual HWND NextTabStop(HWND from);
    virtual HWND PrevTabStop(HWND from);
    // The arrow keys inside a radio group: the button to select, or null.
    virtual HWND PrevRadio(HWND from);
    virtual HWND NextRadio(HWND from);

    virtual void CreateControls(HWND frame);
    // After the frame's DPI changed and its controls moved: pictures made for the new DPI.
    virtual void Rescale(HWND frame, UINT dpi);
    virtual void DestroyControls(HWND frame);
    virtual void Paint(HWND frame, HDC dc, const RECT& client);
    virtual bool Enter(HWND frame);
    virtual bool Leave(HWND frame);  // false keeps the page current
    // True ends the processing of the message; *result is what the window returns.
    virtual bool HandleMessage(HWND frame, UINT message, WPARAM wParam, LPARAM lParam,
                               LRESULT* result);

    HWND LastInGroup(HWND r) const;
    HWND FirstInGroup(HWND r) const;
    bool GroupHasNoCheck(HWND g) const;

    // What the walks need to know about one control, read from the window itself.
    static tabwalk::TabEntry DescribeControl(HWND control);

protected:
    WindowStateController* owner;
    std::vector<HWND> controls;

private:
    tabwalk::TabList Describe() const;
    std::size_t IndexOf(HWND control) const;
    HWND At(std::size_t index) const;
};
