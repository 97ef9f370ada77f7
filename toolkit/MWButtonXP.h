#pragma once
// The owner-drawn button drawn with the system's visual styles when the program runs
// themed (push-button part of the "BUTTON" class), and with the classic look of MWButton
// otherwise. It tracks the hot state in both looks.

#include "toolkit/MWButton.h"

// The push-button state for the theme: disabled over pressed over hot over default over
// normal; a normal button that holds the mouse capture is drawn hot.
int PushButtonThemeState(bool isDefault, bool hot, bool pressed, bool disabled, bool captured);

class MWButtonXP : public MWButton {
public:
    MWButtonXP();
    ~MWButtonXP() override;

    void DrawBackground(HDC dc, RECT& rect) override;
    void DrawBorder(HDC dc, const RECT& rect) override;
    bool TracksHover() override;

private:
    // True when the theme can draw this button, so the classic edge is left out.
    bool ThemeDrawsFace();
};
