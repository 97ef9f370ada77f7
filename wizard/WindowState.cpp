#include "wizard/WindowState.h"

#include <algorithm>

namespace {

bool IsRadioButton(HWND control, LONG style)
{
    char className[512] = {};
    if (GetClassNameA(control, className, sizeof(className)) == 0)
        return false;
    return lstrcmpiA(className, "button") == 0 &&
           (style & BS_TYPEMASK) == BS_AUTORADIOBUTTON;
}

// Shown and enabled, and so are the windows it sits in below the frame. The frame itself
// does not count: its page controls are walked while it is hidden or inactive too.
bool CanTakeFocus(HWND control)
{
    const HWND root = GetAncestor(control, GA_ROOT);
    for (HWND w = control; w != nullptr && w != root; w = GetParent(w)) {
        if ((GetWindowLongA(w, GWL_STYLE) & WS_VISIBLE) == 0 || !IsWindowEnabled(w))
            return false;
    }
    return true;
}

}  // namespace

WindowState::WindowState(WindowStateController* owner) : owner(owner) {}

WindowState::~WindowState() = default;

bool WindowState::OnNext(HWND) { return true; }
bool WindowState::OnBack(HWND) { return true; }
bool WindowState::OnCancel(HWND) { return true; }

void WindowState::AddControl(HWND control)
{
    if (control != nullptr)
        controls.push_back(control);
}

void WindowState::RemoveControl(HWND control)
{
    const auto it = std::find(controls.begin(), controls.end(), control);
    if (it != controls.end())
        controls.erase(it);
}

HWND WindowState::NextTabStop(HWND from)
{
    return At(tabwalk::NextTabStop(Describe(), IndexOf(from)));
}

HWND WindowState::PrevTabStop(HWND from)
{
    return At(tabwalk::PrevTabStop(Describe(), IndexOf(from)));
}

HWND WindowState::PrevRadio(HWND from)
{
    return At(tabwalk::PrevRadio(Describe(), IndexOf(from)));
}

HWND WindowState::NextRadio(HWND from)
{
    return At(tabwalk::NextRadio(Describe(), IndexOf(from)));
}

void WindowState::CreateControls(HWND) {}
void WindowState::Rescale(HWND, UINT) {}
void WindowState::DestroyControls(HWND) {}
void WindowState::Paint(HWND, HDC, const RECT&) {}
bool WindowState::Enter(HWND) { return true; }
bool WindowState::Leave(HWND) { return true; }

bool WindowState::HandleMessage(HWND, UINT, WPARAM, LPARAM, LRESULT*) { return false; }

HWND WindowState::LastInGroup(HWND r) const
{
    return At(tabwalk::LastInGroup(Describe(), IndexOf(r)));
}

HWND WindowState::FirstInGroup(HWND r) const
{
    return At(tabwalk::FirstInGroup(Describe(), IndexOf(r)));
}

bool WindowState::GroupHasNoCheck(HWND g) const
{
    return tabwalk::GroupHasNoCheck(Describe(), IndexOf(g));
}

tabwalk::TabEntry WindowState::DescribeControl(HWND control)
{
    tabwalk::TabEntry entry;
    if (!IsWindow(control)) {
        entry.available = false;
        return entry;
    }
    const LONG style = GetWindowLongA(control, GWL_STYLE);
    entry.radio = IsRadioButton(control, style);
    entry.groupStart = entry.radio && (style & WS_GROUP) != 0;
    entry.checked = entry.radio && SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED;
    entry.available = CanTakeFocus(control);
    return entry;
}

tabwalk::TabList WindowState::Describe() const
{
    tabwalk::TabList list;
    list.reserve(controls.size());
    for (HWND control : controls)
        list.push_back(DescribeControl(control));
    return list;
}

std::size_t WindowState::IndexOf(HWND control) const
{
    if (control == nullptr)
        return tabwalk::kNone;
    const auto it = std::find(controls.begin(), controls.end(), control);
    return it == controls.end() ? tabwalk::kNone : static_cast<std::size_t>(it - controls.begin());
}

HWND WindowState::At(std::size_t index) const
{
    return index < controls.size() ? controls[index] : nullptr;
}
