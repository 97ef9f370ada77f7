#include "wizard/WindowStateController.h"

#include "toolkit/Dpi.h"
#include "wizard/FrameAccelerators.h"
#include "wizard/WindowState.h"

namespace {

// EndPaint runs whatever the painting code does.
class PaintScope {
public:
    explicit PaintScope(HWND window) : window_(window) { dc_ = BeginPaint(window_, &paint_); }
    ~PaintScope() { EndPaint(window_, &paint_); }
    PaintScope(const PaintScope&) = delete;
    PaintScope& operator=(const PaintScope&) = delete;
    HDC dc() const { return dc_; }

private:
    HWND window_;
    PAINTSTRUCT paint_ = {};
    HDC dc_ = nullptr;
};

}  // namespace

WindowStateController::WindowStateController() = default;

WindowStateController::~WindowStateController()
{
    // Normally the window is gone by now. If the loop ended otherwise (a stray quit
    // message), the window must not keep a pointer to this object: detach, then destroy it
    // together with its buttons.
    if (frameWindow != nullptr && IsWindow(frameWindow)) {
        RemovePropA(frameWindow, kControllerProperty);
        DestroyWindow(frameWindow);
    }
    ForgetWindow(frameWindow);
}

void WindowStateController::AddPage(WindowState* page, int id)
{
    pages.emplace_back(page, id);
}

bool WindowStateController::Run(DWORD exStyle, DWORD style, const std::string& title,
                                const RECT& windowRect, HWND parent, WORD largeIconId,
                                WORD smallIconId, HMENU menu, std::size_t startIndex)
{
    if (!RegisterFrameClass())
        return false;
    frameWindow = CreateWindowExA(exStyle, kClassName, title.c_str(), style & ~WS_VISIBLE,
                                  windowRect.left, windowRect.top,
                                  windowRect.right - windowRect.left,
                                  windowRect.bottom - windowRect.top, parent, menu,
                                  GetModuleHandleA(nullptr), this);
    if (frameWindow == nullptr)
        return false;
    FitToDpi(windowRect, style, exStyle);
    SetFrameIcon(smallIconId, ICON_SMALL);
    SetFrameIcon(largeIconId, ICON_BIG);

    const OwnedAccelerators accelerators = CreateFrameAccelerators(false);
    const OwnedAccelerators radioAccelerators = CreateFrameAccelerators(true);

    RECT client = {};
    GetClientRect(frameWindow, &client);
    cancelButton = CreateButton("Cancel", kCancelId, cancelSlot, client);
    backButton = CreateButton("< Back", kBackId, backSlot, client);
    nextButton = CreateButton("Next >", kNextId, nextSlot, client);
    // Controls placed while the window was being made get their place and font now.
    for (const Placement& placement : placements) {
        SendMessageA(placement.control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        MoveToPlace(placement, client);
    }

    for (const auto& entry : pages)
        entry.first->CreateControls(frameWindow);

    bool shown = false;
    if (!pages.empty()) {
        currentIndex = kNoPage;
        shown = ShowPageAt(startIndex < pages.size() ? startIndex : 0);
    }
    if (!shown) {
        SetNextButton(false, false, "");
        SetBackButton(false, false, "");
        SetCancelButton(true, true, "Exit");
    }
    ShowWindow(frameWindow, SW_SHOW);
    UpdateWindow(frameWindow);

    MSG message;
    // Wide, so that a Unicode control gets typed characters whole; the system converts them
    // for windows with 8-bit procedures.
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        const bool radioKey = message.message == WM_KEYDOWN && IsArrowKey(message.wParam) &&
                              FrameFocus::IsOnPageRadio(CurrentPage());
        const HACCEL table = radioKey ? radioAccelerators.get() : accelerators.get();
        if (TranslateAcceleratorW(frameWindow, table, &message) == 0) {
            TranslateMessage(&message);
            DispatchMessageW(&message);
        }
    }
    return true;
}

bool WindowStateController::RegisterFrameClass()
{
    WNDCLASSEXA windowClass = {};
    windowClass.cbSize = sizeof(windowClass);
    windowClass.style = CS_HREDRAW | CS_VREDRAW;
    windowClass.lpfnWndProc = WizardWindowProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hIcon = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hIconSm = LoadIconA(nullptr, IDI_APPLICATION);
    windowClass.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    windowClass.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    windowClass.lpszClassName = kClassName;
    return PrepareWindowClass(windowClass) && RegisterClassExA(&windowClass) != 0;
}

// The window was made at its size for 96 DPI; at another DPI its client area grows by
// the scale around the same centre, and the frame's font is made for that DPI.
void WindowStateController::FitToDpi(const RECT& windowRect, DWORD style, DWORD exStyle)
{
    dpi = dpi::ForWindow(frameWindow);
    font.reset(dpi::CreateGuiFont(dpi));
    if (dpi == dpi::kBase)
        return;
    // The styles the window has, with the edges the system added to those asked for.
    style = static_cast<DWORD>(GetWindowLongA(frameWindow, GWL_STYLE));
    exStyle = static_cast<DWORD>(GetWindowLongA(frameWindow, GWL_EXSTYLE));
    RECT frame96 = {};
    dpi::AdjustRect(frame96, style, exStyle, dpi::kBase);
    RECT outer = {0, 0,
                  dpi::Scale((windowRect.right - windowRect.left) - (frame96.right - frame96.left), dpi),
                  dpi::Scale((windowRect.bottom - windowRect.top) - (frame96.bottom - frame96.top), dpi)};
    dpi::AdjustRect(outer, style, exStyle, dpi);
    RECT now = {};
    GetWindowRect(frameWindow, &now);
    const int width = outer.right - outer.left;
    const int height = outer.bottom - outer.top;
    SetWindowPos(frameWindow, nullptr, now.left + (((now.right - now.left) - width) >> 1),
                 now.top + (((now.bottom - now.top) - height) >> 1), width, height,
                 SWP_NOZORDER | SWP_NOACTIVATE);
}

// An icon that cannot be loaded is left out.
void WindowStateController::SetFrameIcon(WORD iconId, WPARAM size)
{
    if (iconId == 0)
        return;
    const int pixels = dpi::Scale(size == ICON_SMALL ? 16 : 32, dpi);
    if (HANDLE icon = LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(iconId), IMAGE_ICON,
                                 pixels, pixels, LR_SHARED))
        SendMessageA(frameWindow, WM_SETICON, size, reinterpret_cast<LPARAM>(icon));
}

void WindowStateController::Place(HWND control, int x, int y, int width, int height)
{
    if (control == nullptr)
        return;
    const Placement placement = {control, x, y, width, height};
    bool known = false;
    for (Placement& entry : placements) {
        if (entry.control == control) {
            entry = placement;
            known = true;
        }
    }
    if (!known) {
        placements.push_back(placement);
        if (font.valid())
            SendMessageA(control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
    }
    RECT client = {};
    GetClientRect(frameWindow != nullptr ? frameWindow : GetParent(control), &client);
    MoveToPlace(placement, client);
}

void WindowStateController::MoveToPlace(const Placement& placement, const RECT& client)
{
    if (!font.valid())
        return;  // placed while the window was being made: moved once it has its DPI
    SetWindowPos(placement.control, nullptr, client.right + dpi::Scale(placement.x, dpi),
                 client.bottom + dpi::Scale(placement.y, dpi), dpi::Scale(placement.width, dpi),
                 dpi::Scale(placement.height, dpi), SWP_NOZORDER | SWP_NOACTIVATE);
}

void WindowStateController::ChangeDpi(HWND window, UINT newDpi, const RECT& suggested)
{
    dpi = newDpi;
    OwnedGdiObject previousFont(font.release());
    font.reset(dpi::CreateGuiFont(dpi));
    SetWindowPos(window, nullptr, suggested.left, suggested.top, suggested.right - suggested.left,
                 suggested.bottom - suggested.top, SWP_NOZORDER | SWP_NOACTIVATE);
    RECT client = {};
    GetClientRect(window, &client);
    for (const Placement& placement : placements) {
        if (!IsWindow(placement.control))
            continue;
        SendMessageA(placement.control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
        MoveToPlace(placement, client);
    }
    for (const auto& entry : pages)
        entry.first->Rescale(window, dpi);
    RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

HWND WindowStateController::CreateButton(const char* caption, int id, const ButtonSlot& slot,
                                         const RECT& client)
{
    const HWND button = CreateWindowExA(
        0, "button", caption, WS_CHILD | WS_GROUP | WS_TABSTOP, client.right + slot.x,
        client.bottom + slot.y, kButtonWidth, kButtonHeight, frameWindow,
        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), GetModuleHandleA(nullptr), nullptr);
    Place(button, slot.x, slot.y, kButtonWidth, kButtonHeight);
    return button;
}

bool WindowStateController::HandleMessage(HWND window, UINT message, WPARAM, LPARAM,
                                          LRESULT* result)
{
    switch (message) {
    case WM_CREATE: {
        RECT bounds = {};
        GetWindowRect(window, &bounds);
        const int x = (GetSystemMetrics(SM_CXSCREEN) - (bounds.right - bounds.left)) >> 1;
        const int y = (GetSystemMetrics(SM_CYSCREEN) - (bounds.bottom - bounds.top)) >> 1;
        SetWindowPos(window, nullptr, x, y, 0, 0, SWP_NOSIZE | SWP_NOZORDER);
        *result = 0;
        return true;
    }
    case WM_DESTROY:
        for (const auto& entry : pages)
            entry.first->DestroyControls(window);
        PostQuitMessage(0);
        return true;
    default:
        return false;
    }
}

void WindowStateController::Paint(HWND, HDC, const RECT&) {}
void WindowStateController::OnPageChanging() {}
void WindowStateController::OnPageChanged() {}
bool WindowStateController::PrepareWindowClass(WNDCLASSEXA&) { return true; }

void WindowStateController::FocusNext()
{
    CycleFocus({cancelButton, backButton, nextButton}, true);
}

void WindowStateController::FocusPrev()
{
    CycleFocus({nextButton, backButton, cancelButton}, false);
}

void WindowStateController::CycleFocus(const std::vector<HWND>& buttons, bool forward)
{
    FrameFocus::Cycle(buttons, CurrentPage(), forward);
}

bool WindowStateController::ShowPageAt(std::size_t index)
{
    if (WindowState* page = CurrentPage()) {
        if (!page->Leave(frameWindow))
            return false;
    }
    // Input goes to the window in front: a page change that a drop brought about while
    // another program was in front must not press keys there.
    if (GetForegroundWindow() == frameWindow)
        TapShiftKey();
    if (index >= pages.size())
        return true;
    OnPageChanging();
    currentIndex = index;
    pages[index].first->Enter(frameWindow);
    OnPageChanged();
    return true;
}

bool WindowStateController::GoToPage(int id)
{
    if (pages.empty() || currentIndex >= pages.size() || pages[currentIndex].second == id)
        return false;
    for (std::size_t i = pages.size(); i-- > 0;) {
        if (pages[i].second == id)
            return ShowPageAt(i);
    }
    return false;
}

void WindowStateController::SetCancelButton(bool visible, bool enabled,
                                            const std::string& caption)
{
    SetButton(cancelButton, visible, enabled, caption);
}

void WindowStateController::SetBackButton(bool visible, bool enabled, const std::string& caption)
{
    SetButton(backButton, visible, enabled, caption);
}

void WindowStateController::SetNextButton(bool visible, bool enabled, const std::string& caption)
{
    SetButton(nextButton, visible, enabled, caption);
}

void WindowStateController::SetButton(HWND button, bool visible, bool enabled,
                                      const std::string& caption)
{
    if (button != nullptr) {
        SetWindowTextA(button, caption.c_str());
        EnableWindow(button, enabled ? TRUE : FALSE);
        ShowWindow(button, visible ? SW_SHOW : SW_HIDE);
    }
    PlaceCancelButton();
}

void WindowStateController::PlaceCancelButton()
{
    if (cancelButton == nullptr || frameWindow == nullptr)
        return;
    const auto shown = [](HWND button) {
        return button != nullptr && (GetWindowLongA(button, GWL_STYLE) & WS_VISIBLE) != 0;
    };
    const ButtonSlot& slot = shown(backButton) ? cancelSlot
                             : shown(nextButton) ? backSlot
                                                 : nextSlot;
    Place(cancelButton, slot.x, slot.y, kButtonWidth, kButtonHeight);
}

bool WindowStateController::RouteMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                         LRESULT* result)
{
    bool handled = false;
    switch (message) {
    case WM_COMMAND:
        if (RouteCommand(window, wParam, lParam))
            return true;
        break;
    case WM_SYSCOMMAND:
        // The low four bits of a system command are the system's own.
        if ((wParam & 0xFFF0) == SC_MINIMIZE)
            focus.Save(window);
        break;
    case WM_SHOWWINDOW:
        if (wParam == 0)
            focus.Save(window);
        break;
    case WM_ACTIVATE:
        if (LOWORD(wParam) == WA_INACTIVE) {
            focus.Save(window);
            handled = true;
        } else {
            handled = focus.Restore();
        }
        break;
    case WM_SETFOCUS:
        handled = focus.Restore();
        break;
    case WM_PAINT:
        PaintFrame(window);
        handled = true;
        break;
    case dpi::kChangedMessage:
        ChangeDpi(window, LOWORD(wParam), *reinterpret_cast<const RECT*>(lParam));
        *result = 0;
        return true;
    default:
        break;
    }

    if (WindowState* page = CurrentPage()) {
        if (page->HandleMessage(window, message, wParam, lParam, result))
            return true;
    }
    if (HandleMessage(window, message, wParam, lParam, result))
        return true;
    return handled;
}

// True when the command was consumed; otherwise it goes on to the page and the defaults.
bool WindowStateController::RouteCommand(HWND window, WPARAM wParam, LPARAM lParam)
{
    const WORD id = LOWORD(wParam);
    if (HIWORD(wParam) == 1) {
        // An accelerator carries no control window; a control's notification code 1
        // (CBN_SELCHANGE, LBN_SELCHANGE) is the page's business.
        if (lParam != 0)
            return false;
        switch (id) {
        case kFocusPrevCommand:
            FocusPrev();
            return true;
        case kFocusNextCommand:
            FocusNext();
            return true;
        case kPrevRadioCommand:
        case kPrevRadioCommand2:
            FrameFocus::SelectRadio(CurrentPage(), false);
            return true;
        case kNextRadioCommand:
        case kNextRadioCommand2:
            FrameFocus::SelectRadio(CurrentPage(), true);
            return true;
        case kEscapeCommand:
            if (cancelButton != nullptr && IsWindowEnabled(cancelButton)) {
                DestroyWindow(frameWindow);
                return true;
            }
            return false;
        default:
            return false;
        }
    }

    WindowState* page = CurrentPage();
    switch (id) {
    case kNextId:
        if (page != nullptr && page->OnNext(window))
            ShowPageAt(currentIndex + 1);
        return true;
    case kBackId:
        if (page != nullptr && currentIndex > 0) {
            if (page->OnBack(window))
                ShowPageAt(currentIndex - 1);
            return true;
        }
        return false;
    case kCancelId:
        if (page != nullptr && !page->OnCancel(window))
            return true;
        DestroyWindow(window);
        return true;
    default:
        return false;
    }
}

void WindowStateController::PaintFrame(HWND window)
{
    PaintScope paint(window);
    RECT client = {};
    GetClientRect(window, &client);
    Paint(window, paint.dc(), client);
    if (WindowState* page = CurrentPage())
        page->Paint(window, paint.dc(), client);
}

void WindowStateController::TapShiftKey()
{
    INPUT keys[2] = {};
    keys[0].type = INPUT_KEYBOARD;
    keys[0].ki.wVk = VK_SHIFT;
    keys[1].type = INPUT_KEYBOARD;
    keys[1].ki.wVk = VK_SHIFT;
    keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
    SendInput(2, keys, sizeof(INPUT));
}

WindowState* WindowStateController::CurrentPage() const
{
    return currentIndex < pages.size() ? pages[currentIndex].first : nullptr;
}

// The buttons die with the frame window; their handles must not outlive it.
void WindowStateController::ForgetWindow(HWND window)
{
    if (window == nullptr || window != frameWindow)
        return;
    frameWindow = nullptr;
    placements.clear();
    cancelButton = nullptr;
    backButton = nullptr;
    nextButton = nullptr;
}

LRESULT CALLBACK WindowStateController::WizardWindowProc(HWND window, UINT message,
                                                         WPARAM wParam, LPARAM lParam)
{
    if (message == WM_NCCREATE)
        dpi::EnableNonClientScaling(window);
    if (message == WM_CREATE) {
        const auto* create = reinterpret_cast<const CREATESTRUCTA*>(lParam);
        if (create != nullptr && create->lpCreateParams != nullptr)
            SetPropA(window, kControllerProperty, create->lpCreateParams);
    }
    auto* controller = static_cast<WindowStateController*>(GetPropA(window, kControllerProperty));
    if (message == WM_NCDESTROY)
        RemovePropA(window, kControllerProperty);
    if (controller == nullptr)
        return DefWindowProcA(window, message, wParam, lParam);

    LRESULT result = 0;
    bool handled = false;
    try {
        handled = controller->RouteMessage(window, message, wParam, lParam, &result);
    } catch (...) {
        // Nothing may unwind through the system; the message gets default processing.
        handled = false;
    }
    if (message == WM_NCDESTROY)
        controller->ForgetWindow(window);
    return handled ? result : DefWindowProcA(window, message, wParam, lParam);
}
