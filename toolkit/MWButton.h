#pragma once
// A push button that paints itself: an owner-drawn "button" window with an optional icon
// beside its caption, a hot state while the pointer is over it, a flat or classic 3-D
// look, an optional two-state check mode and the dialog manager's default-button
// protocol. Each parent window is hooked once, so that its owner-draw and click messages
// come back to the button object they concern.

#include "toolkit/MWBaseWindow.h"

#include <string>

// As the second icon (resource id or handle): a grey copy of the first.
constexpr int AutoGrayIcon = -2;
inline HICON AutoGrayIconHandle()
{
    return reinterpret_cast<HICON>(static_cast<INT_PTR>(AutoGrayIcon));
}

// Installed on every parent of a registered button.
LRESULT CALLBACK ButtonParentProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);

class MWButton : public MWBaseWindow {
public:
    MWButton();
    ~MWButton() override;

    // style is the caller's window style; BS_OWNERDRAW is added. A type with the value-2
    // bit (BS_CHECKBOX and the like) gives check mode; BS_DEFPUSHBUTTON makes it default.
    bool Create(DWORD exStyle, const char* title, DWORD style, const RECT& rect, HWND parent,
                UINT id) override;
    LRESULT HandleMessage(HWND window, UINT msg, WPARAM wParam, LPARAM lParam,
                          bool& handled) override;

    // Paints the whole button.
    virtual void DrawItem(const DRAWITEMSTRUCT& item);
    // Fills the face; a framed button's rect shrinks by one pixel.
    virtual void DrawBackground(HDC dc, RECT& rect);
    virtual void DrawBorder(HDC dc, const RECT& rect);
    virtual bool TracksHover();
    // Draws the chosen icon; captionRect loses the part the icon takes.
    virtual void DrawIcon(HDC dc, bool hasCaption, const RECT& itemRect, RECT& captionRect,
                          bool pressed, bool disabled);
    // No button of the program has bitmaps; the slot is kept for derived buttons.
    virtual void DrawBitmap(HDC dc, bool hasCaption, const RECT& itemRect, RECT& captionRect,
                            bool pressed, bool disabled);
    virtual void DrawCaption(HDC dc, const std::string& text, const RECT& itemRect,
                             const RECT& captionRect, bool pressed, bool disabled);

    void SetFlat(bool flat, bool redraw);
    // Icons from the program's resources; secondId 0 for none or AutoGrayIcon.
    // 0 on success, 1 when an icon cannot be measured (the button then has no images).
    int SetIcons(int firstId, int secondId);
    // Takes ownership of both icons. first: shown while hot or pressed; second (optional,
    // may be AutoGrayIconHandle()): shown otherwise.
    int SetIconHandles(HICON first, HICON second);
    void SetDefaultColors(bool redraw);
    void CancelHover();
    void OnClicked();

    bool IsHot() const { return hot; }
    bool IsDefault() const { return isDefault; }

protected:
    struct IconEntry {
        HICON icon = nullptr;
        int width = 0;
        int height = 0;
    };
    // The colours, by situation.
    enum ColorIndex {
        kHotBackground,
        kHotText,
        kNormalBackground,
        kNormalText,
        kFocusBackground,
        kFocusText,
        kColorCount
    };

    void Repaint();
    void ReleaseImages();
    const IconEntry& ChosenIcon() const;
    void UnhookParent();
    void OnMouseMove(WPARAM keys, LPARAM position);
    void OnDisabled();
    LRESULT OnGetDlgCode(WPARAM wParam, LPARAM lParam);
    LRESULT OnSetStyle(WPARAM wParam, LPARAM lParam);

    POINT pressedOffset;
    bool flat;
    bool hot;
    bool pressed;
    bool focused;
    bool disabled;
    bool isDefault;
    bool checkMode;
    bool flatBorder;
    COLORREF colors[kColorCount];
    bool checked;
    IconEntry icons[2];
};
