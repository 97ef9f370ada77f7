#include "toolkit/CHyperLink.h"

#include "core/OnDemandLibraries.h"

#include <windowsx.h>

#include <new>

namespace {

const char kLinkAtomName[] = "_Hyperlink_Object_Pointer_\\{AFEED740-CC6D-47c5-831D-9848FD916EEF}";

}  // namespace

// Added before the user interface starts, released at exit (below).
ATOM CHyperLink::LinkPropAtom = GlobalAddAtomA(kLinkAtomName);
int CHyperLink::LinkCount = 0;
HFONT CHyperLink::LinkHoverFont = nullptr;
HCURSOR CHyperLink::LinkCursor = nullptr;
CHyperLink::ShellOpenCall CHyperLink::shellOpen = ShellExecuteOnDemand;

namespace {

// Global atoms outlive the process unless deleted, so the program gives its one back.
struct LinkAtomRelease {
    ~LinkAtomRelease()
    {
        if (CHyperLink::PropertyAtom() != 0)
            GlobalDeleteAtom(CHyperLink::PropertyAtom());
    }
} linkAtomRelease;

LPCSTR PropName(ATOM atom)
{
    return MAKEINTATOM(atom);
}

WNDPROC WindowProcOf(HWND window)
{
    return reinterpret_cast<WNDPROC>(GetWindowLongPtrA(window, GWLP_WNDPROC));
}

void SetWindowProc(HWND window, WNDPROC proc)
{
    SetWindowLongPtrA(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(proc));
}

// The shared underlined font is made from the first link's font. A control that has no
// font of its own shows the system font, which has no usable description to underline,
// so the stock GUI font stands in for it.
HFONT CreateUnderlinedFont(HFONT font)
{
    LOGFONTA description = {};
    if (font == nullptr || GetObjectA(font, sizeof description, &description) == 0)
        GetObjectA(GetStockObject(DEFAULT_GUI_FONT), sizeof description, &description);
    description.lfUnderline = TRUE;
    return CreateFontIndirectA(&description);
}

}  // namespace

CHyperLink::CHyperLink() = default;

CHyperLink::~CHyperLink() = default;

void CHyperLink::OnSelect() {}

void CHyperLink::OnDeselect() {}

CHyperLink::ShellOpenCall CHyperLink::SetShellOpenCall(ShellOpenCall call)
{
    ShellOpenCall previous = shellOpen;
    shellOpen = call;
    return previous;
}

BOOL CHyperLink::SetUrl(const char* target)
{
    if (target == nullptr)
        target = "";
    // The new copy is made before the old one goes, so a failure leaves a usable target.
    std::unique_ptr<char[]> copy(new (std::nothrow) char[lstrlenA(target) + 1]);
    if (!copy)
        return FALSE;
    lstrcpyA(copy.get(), target);
    url = std::move(copy);
    return TRUE;
}

BOOL CHyperLink::Attach(HWND control, const char* target)
{
    // A missing control would count as a link that never dies, and a control hooked twice
    // would call itself as its own previous procedure.
    if (!IsWindow(control) || WindowProcOf(control) == HyperlinkProc)
        return FALSE;
    if (!SetUrl(target))
        return FALSE;

    HWND parent = GetParent(control);
    if (parent != nullptr && WindowProcOf(parent) != HyperlinkParentProc) {
        SetPropA(parent, PropName(LinkPropAtom), reinterpret_cast<HANDLE>(WindowProcOf(parent)));
        SetWindowProc(parent, HyperlinkParentProc);
    }

    SetWindowLongPtrA(control, GWL_STYLE, GetWindowLongPtrA(control, GWL_STYLE) | SS_NOTIFY);
    normalFont = reinterpret_cast<HFONT>(SendMessageA(control, WM_GETFONT, 0, 0));

    if (LinkCount++ == 0) {
        LinkHoverFont = CreateUnderlinedFont(normalFont);
        LinkCursor = LoadCursorA(nullptr, IDC_HAND);
        if (LinkCursor == nullptr)
            LinkCursor = LoadCursorA(nullptr, IDC_ARROW);
    }

    previousProc = WindowProcOf(control);
    SetPropA(control, PropName(LinkPropAtom), reinterpret_cast<HANDLE>(this));
    SetWindowProc(control, HyperlinkProc);
    return TRUE;
}

BOOL CHyperLink::AttachDlgItem(HWND dialog, int id, const char* target)
{
    return Attach(GetDlgItem(dialog, id), target);
}

void CHyperLink::OpenLink()
{
    SHELLEXECUTEINFOA info = {};
    info.cbSize = sizeof info;
    info.fMask = 0;
    info.lpVerb = "open";
    info.lpFile = url ? url.get() : "";
    info.nShow = SW_SHOWNORMAL;
    if (url && url[0] != '\0')
        shellOpen(&info);
    visited = TRUE;
}

void CHyperLink::DrawLinkFocus(HWND control)
{
    HWND parent = GetParent(control);
    if (parent == nullptr)
        return;
    RECT frame = {};
    GetWindowRect(control, &frame);
    InflateRect(&frame, 1, 1);
    ScreenToClient(parent, reinterpret_cast<POINT*>(&frame.left));
    ScreenToClient(parent, reinterpret_cast<POINT*>(&frame.right));
    HDC dc = GetDC(parent);
    if (dc == nullptr)
        return;
    DrawFocusRect(dc, &frame);  // drawn by XOR: the second call removes the first frame
    ReleaseDC(parent, dc);
}

void CHyperLink::OnMouseMove(HWND control, LPARAM position)
{
    if (!hover) {
        hover = TRUE;
        SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(LinkHoverFont), 0);
        InvalidateRect(control, nullptr, FALSE);
        OnSelect();
        SetCapture(control);
        return;
    }
    // While hovering the control holds the capture; a move outside lets it go, and the
    // loss of the capture ends the hover look.
    RECT client = {};
    GetClientRect(control, &client);
    const POINT at = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    if (!PtInRect(&client, at))
        ReleaseCapture();
}

void CHyperLink::OnCaptureChanged(HWND control)
{
    hover = FALSE;
    OnDeselect();
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont), 0);
    InvalidateRect(control, nullptr, FALSE);
}

LRESULT CHyperLink::OnDestroy(HWND control, WPARAM wParam, LPARAM lParam)
{
    WNDPROC previous = previousProc;
    SetWindowProc(control, previous);
    SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(normalFont), 0);
    // A control destroyed under the pointer still holds the capture; the hover ends with it,
    // so that a later attachment of this object starts without it.
    hover = FALSE;
    if (--LinkCount <= 0) {
        DeleteObject(LinkHoverFont);
        LinkHoverFont = nullptr;
        LinkCursor = nullptr;  // a shared system cursor: never destroyed
    }
    RemovePropA(control, PropName(LinkPropAtom));
    return CallWindowProcA(previous, control, WM_DESTROY, wParam, lParam);
}

LRESULT CALLBACK CHyperLink::HyperlinkProc(HWND control, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto* link = reinterpret_cast<CHyperLink*>(GetPropA(control, PropName(LinkPropAtom)));
    if (link == nullptr)
        return DefWindowProcA(control, message, wParam, lParam);

    switch (message) {
    case WM_MOUSEMOVE:
        link->OnMouseMove(control, lParam);
        return 0;
    case WM_CAPTURECHANGED:
        link->OnCaptureChanged(control);
        return 0;
    case WM_LBUTTONUP:
        link->OpenLink();
        return 0;
    case WM_KEYUP:
        if (wParam != VK_SPACE)
            break;
        link->OpenLink();
        return 0;
    case WM_SETCURSOR:
        SetCursor(LinkCursor);
        return TRUE;
    case WM_SETFOCUS:
        link->OnSelect();
        DrawLinkFocus(control);
        return 0;
    case WM_KILLFOCUS:
        link->OnDeselect();
        DrawLinkFocus(control);
        return 0;
    case WM_DESTROY:
        return link->OnDestroy(control, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcA(link->previousProc, control, message, wParam, lParam);
}

LRESULT CALLBACK CHyperLink::HyperlinkParentProc(HWND parent, UINT message, WPARAM wParam, LPARAM lParam)
{
    auto previous = reinterpret_cast<WNDPROC>(GetPropA(parent, PropName(LinkPropAtom)));
    if (previous == nullptr)
        return DefWindowProcA(parent, message, wParam, lParam);

    switch (message) {
    case WM_CTLCOLORSTATIC: {
        auto* link = reinterpret_cast<CHyperLink*>(
            GetPropA(reinterpret_cast<HWND>(lParam), PropName(LinkPropAtom)));
        if (link == nullptr)
            break;
        // The parent keeps its own brush and background; only the text turns blue.
        const LRESULT brush = CallWindowProcA(previous, parent, message, wParam, lParam);
        SetTextColor(reinterpret_cast<HDC>(wParam), link->visited ? VisitedLinkColor : LinkColor);
        return brush;
    }
    case WM_DESTROY:
        SetWindowProc(parent, previous);
        RemovePropA(parent, PropName(LinkPropAtom));
        return CallWindowProcA(previous, parent, message, wParam, lParam);
    default:
        break;
    }
    return CallWindowProcA(previous, parent, message, wParam, lParam);
}
