#include "toolkit/MWButton.h"

#include "core/OwnedHandle.h"
#include "toolkit/ButtonImages.h"
#include "toolkit/Dpi.h"
#include "toolkit/GdiScope.h"
#include "toolkit/ScaledArt.h"
#include "toolkit/ToolkitProcess.h"

#include <windowsx.h>

namespace {

// The old WM_CTLCOLOR message, which the parent sends to a button to ask for its brush.
constexpr UINT kReflectedCtlColor = 0x19;

bool IsRegisteredButton(HWND window)
{
    return window && ButtonRegistry().count(window) != 0;
}

}  // namespace

LRESULT CALLBACK ButtonParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam)
{
    const auto hook = ParentHookTable().find(hwnd);
    if (hook == ParentHookTable().end())
        return DefWindowProcA(hwnd, msg, wParam, lParam);
    const WNDPROC previous = hook->second.previous;

    switch (msg) {
    case WM_CTLCOLORBTN:
    case kReflectedCtlColor: {
        HWND button = reinterpret_cast<HWND>(lParam);
        if (IsRegisteredButton(button))
            return SendMessageA(button, kReflectedCtlColor, wParam, msg);
        break;
    }
    case WM_DRAWITEM: {
        const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        if (item && IsRegisteredButton(item->hwndItem))
            return SendMessageA(item->hwndItem, WM_DRAWITEM, wParam, lParam);
        break;
    }
    case WM_COMMAND: {
        HWND button = reinterpret_cast<HWND>(lParam);
        // The button reacts first, so the parent reads its new state.
        if (HIWORD(wParam) == BN_CLICKED && IsRegisteredButton(button))
            SendMessageA(button, WM_COMMAND, wParam, lParam);
        break;
    }
    default:
        break;
    }
    return CallWindowProcA(previous, hwnd, msg, wParam, lParam);
}

MWButton::MWButton()
    : pressedOffset{1, 1},
      flat(true),
      hot(false),
      pressed(false),
      focused(false),
      disabled(false),
      isDefault(false),
      checkMode(false),
      flatBorder(true),
      colors{},
      checked(false)
{
    SetDefaultColors(false);
}

MWButton::~MWButton()
{
    // Destroyed here rather than in the base, so that the window's WM_DESTROY still
    // unhooks the parent and leaves the registry.
    if (hwnd && IsWindow(hwnd) && GetPropA(hwnd, kWndBasePtrProperty) == this)
        DestroyWindow(hwnd);
    ReleaseImages();
}

bool MWButton::Create(DWORD exStyle, const char* title, DWORD style, const RECT& rect, HWND parent,
                      UINT id)
{
    HWND window = CreateWindowExA(exStyle, "button", title, style | BS_OWNERDRAW, rect.left,
                                  rect.top, rect.right - rect.left, rect.bottom - rect.top, parent,
                                  reinterpret_cast<HMENU>(static_cast<UINT_PTR>(id)),
                                  GetModuleHandleA(nullptr), nullptr);
    if (!window)
        return false;
    if (!Attach(window))
        return false;
    if (style & 2)
        checkMode = true;
    if ((style & 0xF) == BS_DEFPUSHBUTTON)
        isDefault = true;
    ButtonRegistry()[window] = this;

    HWND owner = GetParent(window);
    if (owner) {
        const auto hook = ParentHookTable().find(owner);
        if (hook == ParentHookTable().end()) {
            const auto previous = reinterpret_cast<WNDPROC>(GetWindowLongPtrA(owner, GWLP_WNDPROC));
            ParentHookTable()[owner] = ParentHook{1, previous};
            SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(ButtonParentProc));
        } else {
            ++hook->second.useCount;
        }
    }
    SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(GetStockObject(DEFAULT_GUI_FONT)), 0);
    return true;
}

LRESULT MWButton::HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam, bool& handled)
{
    if (msg == CancelHoverMessage()) {
        CancelHover();
        handled = true;
        return 0;
    }
    switch (msg) {
    case WM_DESTROY:
        UnhookParent();
        ButtonRegistry().erase(window);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE)
            PostMessageA(window, CancelHoverMessage(), 0, 0);
        break;
    case WM_KILLFOCUS:
        PostMessageA(window, CancelHoverMessage(), 0, 0);
        break;
    case WM_ENABLE:
        if (!wParam)
            OnDisabled();
        break;
    case WM_SYSCOLORCHANGE:
        SetDefaultColors(true);
        break;
    case kReflectedCtlColor:
        handled = true;
        return reinterpret_cast<LRESULT>(GetStockObject(NULL_BRUSH));
    case WM_CANCELMODE:
        CancelHover();
        break;
    case WM_DRAWITEM:
        if (!lParam)
            break;
        DrawItem(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam));
        handled = true;
        return 0;
    case WM_GETDLGCODE:
        handled = true;
        return OnGetDlgCode(wParam, lParam);
    case BM_GETCHECK:
        if (!checkMode)
            break;
        handled = true;
        return checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
        if (checkMode) {
            checked = wParam == BST_CHECKED || wParam == BST_INDETERMINATE;
            Repaint();
        }
        handled = true;
        return 0;
    case BM_SETSTYLE:
        handled = true;
        return OnSetStyle(wParam, lParam);
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            OnClicked();
        break;
    case WM_MOUSEMOVE:
        OnMouseMove(wParam, lParam);
        break;
    case WM_CAPTURECHANGED:
        if (TracksHover())
            Repaint();
        break;
    case WM_MOUSELEAVE:
        CancelHover();
        handled = true;
        return 0;
    default:
        break;
    }
    return 0;
}

void MWButton::UnhookParent()
{
    HWND owner = GetParent(hwnd);
    const auto hook = ParentHookTable().find(owner);
    if (!owner || hook == ParentHookTable().end())
        return;
    if (--hook->second.useCount <= 0) {
        SetWindowLongPtrA(owner, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(hook->second.previous));
        ParentHookTable().erase(hook);
    }
}

void MWButton::OnMouseMove(WPARAM keys, LPARAM position)
{
    POINT point = {GET_X_LPARAM(position), GET_Y_LPARAM(position)};
    ClientToScreen(hwnd, &point);
    HWND underPointer = WindowFromPoint(point);
    // A drag that started elsewhere does not make the button hot.
    if ((keys & MK_LBUTTON) && !hot)
        return;
    if (!TracksHover())
        return;
    if (underPointer != hwnd) {
        CancelHover();
        return;
    }
    if (hot)
        return;
    hot = true;
    Repaint();
    TRACKMOUSEEVENT track = {};
    track.cbSize = sizeof(track);
    track.dwFlags = TME_LEAVE;
    track.hwndTrack = hwnd;
    TrackMouseEvent(&track);
}

void MWButton::OnDisabled()
{
    HWND owner = GetParent(hwnd);
    HWND next = GetNextDlgTabItem(owner, hwnd, FALSE);
    // With no other enabled tab stop the search comes back to this disabled button, which
    // cannot keep the focus; the parent takes it.
    SetFocus(next && next != hwnd ? next : owner);
    CancelHover();
}

LRESULT MWButton::OnGetDlgCode(WPARAM wParam, LPARAM lParam)
{
    const LRESULT code = DefWindowProcA(hwnd, WM_GETDLGCODE, wParam, lParam);
    return code | (isDefault ? DLGC_DEFPUSHBUTTON : DLGC_UNDEFPUSHBUTTON);
}

LRESULT MWButton::OnSetStyle(WPARAM wParam, LPARAM lParam)
{
    const WPARAM type = wParam & 0xF;
    if (type == BS_DEFPUSHBUTTON)
        isDefault = true;
    else if (type == BS_PUSHBUTTON)
        isDefault = false;
    // The window keeps its owner-draw type.
    return DefWindowProcA(hwnd, BM_SETSTYLE, (wParam & ~static_cast<WPARAM>(0xF)) | BS_OWNERDRAW,
                          lParam);
}

void MWButton::CancelHover()
{
    if (TracksHover() && hot) {
        hot = false;
        Repaint();
    }
}

void MWButton::OnClicked()
{
    SetFocus(hwnd);
    if (checkMode) {
        checked = !checked;
        Repaint();
    }
}

void MWButton::Repaint()
{
    // Without a window of its own, a null handle would invalidate the whole desktop.
    if (hwnd)
        RedrawWindow(hwnd, nullptr, nullptr, RDW_INVALIDATE);
}

bool MWButton::TracksHover()
{
    return flat;
}

void MWButton::SetFlat(bool newFlat, bool redraw)
{
    flat = newFlat;
    if (redraw)
        Repaint();
}

void MWButton::SetDefaultColors(bool redraw)
{
    const COLORREF face = GetSysColor(COLOR_BTNFACE);
    const COLORREF text = GetSysColor(COLOR_BTNTEXT);
    colors[kHotBackground] = colors[kNormalBackground] = colors[kFocusBackground] = face;
    colors[kHotText] = colors[kNormalText] = colors[kFocusText] = text;
    if (redraw)
        Repaint();
}

void MWButton::ReleaseImages()
{
    for (IconEntry& entry : icons) {
        if (entry.icon)
            DestroyIcon(entry.icon);
        entry = IconEntry();
    }
}

int MWButton::SetIcons(int firstId, int secondId)
{
    // Icons of the size the button's display scale asks for: at 100 % the first image's,
    // 48 pixels.
    const UINT dpi = dpi::ForWindow(hwnd);
    auto load = [dpi](int id) { return LoadIconForDpi(id, 48, dpi); };
    HICON first = load(firstId);
    HICON second = nullptr;
    if (secondId == AutoGrayIcon)
        second = AutoGrayIconHandle();
    else if (secondId != 0)
        second = load(secondId);
    return SetIconHandles(first, second);
}

int MWButton::SetIconHandles(HICON first, HICON second)
{
    ReleaseImages();
    if (!first) {
        if (second && second != AutoGrayIconHandle())
            DestroyIcon(second);
        Repaint();
        return 0;
    }
    icons[0].icon = first;
    if (!MeasureIcon(first, icons[0].width, icons[0].height)) {
        ReleaseImages();
        if (second && second != AutoGrayIconHandle())
            DestroyIcon(second);
        return 1;
    }
    if (second) {
        if (second == AutoGrayIconHandle())
            second = CreateGrayscaleIcon(first);
        icons[1].icon = second;
        if (!MeasureIcon(second, icons[1].width, icons[1].height)) {
            ReleaseImages();
            return 1;
        }
    }
    Repaint();
    return 0;
}
