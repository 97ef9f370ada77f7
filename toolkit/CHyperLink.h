#pragma once
// Turns a dialog's static text control into a web-style link: blue text, underlined while
// the pointer is over it, a hand cursor, a dotted focus frame, and a click (or the space
// bar) that opens the link's target through the shell's "open" verb.
//
// The control is subclassed, and so is its parent (once, however many links it holds),
// because the parent chooses the control's text colour. A window property named by a
// process-wide atom holds the object on the control and the parent's old procedure on the
// parent. Every link shares one underlined hover font and one cursor, which exist while
// at least one link is attached.

#include <windows.h>
#include <shellapi.h>

#include <memory>

class CHyperLink {
public:
    CHyperLink();
    virtual ~CHyperLink();
    CHyperLink(const CHyperLink&) = delete;
    CHyperLink& operator=(const CHyperLink&) = delete;

    // Called when the pointer enters the control or it gains the focus.
    virtual void OnSelect();
    // Called when the control loses the mouse capture or the focus.
    virtual void OnDeselect();

    // Makes the control a link to the target. FALSE when the target cannot be copied, the
    // control is no window or is a link already; the control is then left alone. May be
    // called again for another control; hover and visited carry over.
    BOOL Attach(HWND control, const char* target);
    BOOL AttachDlgItem(HWND dialog, int id, const char* target);
    // Replaces the target with a copy; FALSE (old target kept) when memory runs out.
    BOOL SetUrl(const char* target);
    // Opens the target with the shell; the link counts as visited whatever the shell says.
    void OpenLink();

    const char* Url() const { return url.get(); }
    bool Visited() const { return visited != FALSE; }

    static LRESULT CALLBACK HyperlinkProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam);
    static LRESULT CALLBACK HyperlinkParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam);
    // Draws (or, drawn a second time, removes) a dotted frame one pixel outside the control
    // on its parent.
    static void DrawLinkFocus(HWND control);

    // The process-wide state, read-only.
    static ATOM PropertyAtom() { return LinkPropAtom; }
    static int AttachedCount() { return LinkCount; }
    static HFONT HoverFont() { return LinkHoverFont; }
    static HCURSOR HoverCursor() { return LinkCursor; }

    static constexpr COLORREF LinkColor = RGB(0, 0, 255);
    static constexpr COLORREF VisitedLinkColor = RGB(0, 0, 255);

    // The shell call that opens a target. Tests put a recorder in its place so that no
    // browser starts; returns the call it replaces.
    using ShellOpenCall = BOOL(WINAPI*)(SHELLEXECUTEINFOA*);
    static ShellOpenCall SetShellOpenCall(ShellOpenCall call);

private:
    void OnMouseMove(HWND control, LPARAM position);
    void OnCaptureChanged(HWND control);
    LRESULT OnDestroy(HWND control, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<char[]> url;
    BOOL hover = FALSE;
    BOOL visited = FALSE;
    HFONT normalFont = nullptr;
    WNDPROC previousProc = nullptr;

    static ATOM LinkPropAtom;
    static int LinkCount;
    static HFONT LinkHoverFont;
    static HCURSOR LinkCursor;
    static ShellOpenCall shellOpen;
};
