#include "toolkit/MWButtonXP.h"

#include "toolkit/VisualStyles.h"

#include <vssym32.h>

namespace {

const wchar_t kButtonThemeClass[] = L"BUTTON";

}  // namespace

int PushButtonThemeState(bool isDefault, bool hot, bool pressed, bool disabled, bool captured)
{
    int state = PBS_NORMAL;
    if (isDefault)
        state = PBS_DEFAULTED;
    if (hot)
        state = PBS_HOT;
    if (pressed)
        state = PBS_PRESSED;
    if (disabled)
        state = PBS_DISABLED;
    if (state == PBS_NORMAL && captured)
        state = PBS_HOT;
    return state;
}

MWButtonXP::MWButtonXP()
{
    // Without a theme the button shows no hot frame in the flat look.
    flatBorder = false;
}

MWButtonXP::~MWButtonXP() = default;

bool MWButtonXP::TracksHover()
{
    return true;
}

void MWButtonXP::DrawBackground(HDC dc, RECT& rect)
{
    if (!VisualStyles::IsAppThemed()) {
        MWButton::DrawBackground(dc, rect);
        return;
    }
    HTHEME theme = VisualStyles::OpenThemeData(hwnd, kButtonThemeClass);
    if (!theme) {
        MWButton::DrawBackground(dc, rect);
        return;
    }
    const int state =
        PushButtonThemeState(isDefault, hot, pressed, disabled, GetCapture() == hwnd && hwnd);
    VisualStyles::DrawThemedBackground(theme, hwnd, dc, BP_PUSHBUTTON, state, &rect, nullptr);
    VisualStyles::CloseThemeData(theme);
}

void MWButtonXP::DrawBorder(HDC dc, const RECT& rect)
{
    if (ThemeDrawsFace())
        return;
    MWButton::DrawBorder(dc, rect);
}

bool MWButtonXP::ThemeDrawsFace()
{
    if (!VisualStyles::IsAppThemed())
        return false;
    // A window whose theme cannot be opened got the classic face; it gets the classic
    // edge too, or it would show no edge at all.
    HTHEME theme = VisualStyles::OpenThemeData(hwnd, kButtonThemeClass);
    if (!theme)
        return false;
    VisualStyles::CloseThemeData(theme);
    return true;
}
