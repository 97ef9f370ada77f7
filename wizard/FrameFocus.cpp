#include "wizard/FrameFocus.h"

#include "wizard/WindowState.h"

namespace {

// Shown (style bit) and enabled.
bool IsAvailable(HWND window)
{
    return window != nullptr && (GetWindowLongA(window, GWL_STYLE) & WS_VISIBLE) != 0 &&
           IsWindowEnabled(window);
}

}  // namespace

void FrameFocus::Cycle(const std::vector<HWND>& buttons, WindowState* page, bool forward)
{
    HWND focus = GetFocus();
    for (std::size_t i = 0; i + 1 < buttons.size(); ++i) {
        if (focus == nullptr || focus != buttons[i])
            continue;
        if (IsAvailable(buttons[i + 1])) {
            SetFocus(buttons[i + 1]);
            return;
        }
        // From the last button but one, the walk goes on into the page.
        focus = i + 2 < buttons.size() ? buttons[i + 1] : nullptr;
    }
    if (page != nullptr) {
        if (HWND stop = forward ? page->NextTabStop(focus) : page->PrevTabStop(focus)) {
            SetFocus(stop);
            return;
        }
    }
    for (HWND button : buttons) {
        if (IsAvailable(button)) {
            SetFocus(button);
            return;
        }
    }
}

void FrameFocus::SelectRadio(WindowState* page, bool forward)
{
    if (page == nullptr)
        return;
    const HWND focus = GetFocus();
    const HWND chosen = forward ? page->NextRadio(focus) : page->PrevRadio(focus);
    if (chosen == nullptr)
        return;
    SetFocus(chosen);
    SendMessageA(focus, BM_SETCHECK, BST_UNCHECKED, 0);
    SendMessageA(chosen, BM_SETCHECK, BST_CHECKED, 0);
}

bool FrameFocus::IsOnPageRadio(WindowState* page)
{
    const HWND focus = GetFocus();
    return page != nullptr && focus != nullptr && page->NextRadio(focus) != nullptr;
}

void FrameFocus::Save(HWND frame)
{
    const HWND focus = GetFocus();
    if (focus != nullptr && focus != frame && GetAncestor(focus, GA_ROOT) == frame)
        saved = focus;
}

bool FrameFocus::Restore()
{
    if (saved == nullptr)
        return false;
    SetFocus(saved);
    return true;
}
