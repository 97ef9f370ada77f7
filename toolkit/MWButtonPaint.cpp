// The painting half of MWButton: the whole button is drawn on every WM_DRAWITEM, with
// brushes and pens made and deleted within the paint.

#include "toolkit/MWButton.h"

#include "core/OwnedHandle.h"
#include "toolkit/ButtonImages.h"
#include "toolkit/Dpi.h"
#include "toolkit/GdiScope.h"

#include <initializer_list>
#include <vector>

namespace {

std::string WindowCaption(HWND window)
{
    const int length = GetWindowTextLengthA(window);
    if (length <= 0)
        return std::string();
    std::vector<char> buffer(static_cast<size_t>(length) + 1, '\0');
    const int copied = GetWindowTextA(window, buffer.data(), length + 1);
    return std::string(buffer.data(), copied > 0 ? copied : 0);
}

// A one-pixel line through the points; LineTo leaves out each end point.
void DrawLines(HDC dc, COLORREF color, std::initializer_list<POINT> points)
{
    OwnedGdiObject pen(CreatePen(PS_SOLID, 1, color));
    SelectedObject selectPen(dc, pen.get());
    const POINT* point = points.begin();
    MoveToEx(dc, point->x, point->y, nullptr);
    for (++point; point != points.end(); ++point)
        LineTo(dc, point->x, point->y);
}

// first above and left, second below and right.
void Draw3DRect(HDC dc, const RECT& r, COLORREF first, COLORREF second)
{
    DrawLines(dc, first, {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top}});
    DrawLines(dc, second,
              {{r.right - 1, r.top + 1}, {r.right - 1, r.bottom - 1}, {r.left, r.bottom - 1}});
}

void FrameWithColor(HDC dc, const RECT& rect, COLORREF color)
{
    OwnedGdiObject brush(CreateSolidBrush(color));
    FrameRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

}  // namespace

void MWButton::DrawItem(const DRAWITEMSTRUCT& item)
{
    pressed = (item.itemState & ODS_SELECTED) != 0 || (checkMode && checked);
    focused = (item.itemState & ODS_FOCUS) != 0;
    disabled = (item.itemState & ODS_DISABLED) != 0;

    HDC dc = item.hDC;
    RECT rect = item.rcItem;
    const int previousMode = SetBkMode(dc, TRANSPARENT);
    DrawBackground(dc, rect);
    DrawBorder(dc, rect);

    const std::string caption = WindowCaption(item.hwndItem);
    const bool hasCaption = !caption.empty();
    RECT captionRect = item.rcItem;
    if (icons[0].icon)
        DrawIcon(dc, hasCaption, item.rcItem, captionRect, pressed, disabled);
    if (hasCaption)
        DrawCaption(dc, caption, item.rcItem, captionRect, pressed, disabled);
    if (focused && !flat) {
        RECT focus = rect;
        const int inset = dpi::Scale(3, dpi::ForWindow(hwnd));
        InflateRect(&focus, -inset, -inset);
        DrawFocusRect(dc, &focus);
    }
    SetBkMode(dc, previousMode);
}

void MWButton::DrawBackground(HDC dc, RECT& rect)
{
    if (!flat && (focused || isDefault)) {
        FrameRect(dc, &rect, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
        InflateRect(&rect, -1, -1);
    }
    COLORREF color = colors[kNormalBackground];
    if (hot || pressed)
        color = colors[kHotBackground];
    else if (focused)
        color = colors[kFocusBackground];
    OwnedGdiObject brush(CreateSolidBrush(color));
    FillRect(dc, &rect, static_cast<HBRUSH>(brush.get()));
}

void MWButton::DrawBorder(HDC dc, const RECT& r)
{
    if (pressed) {
        if (!flat)
            FrameWithColor(dc, r, GetSysColor(COLOR_BTNSHADOW));
        else if (flatBorder)
            Draw3DRect(dc, r, GetSysColor(COLOR_BTNSHADOW), GetSysColor(COLOR_BTNHIGHLIGHT));
        return;
    }
    if (!flat) {
        DrawLines(dc, GetSysColor(COLOR_BTNHIGHLIGHT),
                  {{r.left, r.bottom - 1}, {r.left, r.top}, {r.right, r.top}});
        DrawLines(dc, GetSysColor(COLOR_3DLIGHT),
                  {{r.left + 1, r.bottom - 1}, {r.left + 1, r.top + 1}, {r.right, r.top + 1}});
        DrawLines(dc, GetSysColor(COLOR_3DDKSHADOW),
                  {{r.left, r.bottom - 1}, {r.right - 1, r.bottom - 1}, {r.right - 1, r.top - 1}});
        DrawLines(dc, GetSysColor(COLOR_BTNSHADOW),
                  {{r.left + 1, r.bottom - 2}, {r.right - 2, r.bottom - 2}, {r.right - 2, r.top}});
        return;
    }
    if (hot && flatBorder)
        Draw3DRect(dc, r, GetSysColor(COLOR_BTNHIGHLIGHT), GetSysColor(COLOR_BTNSHADOW));
}

const MWButton::IconEntry& MWButton::ChosenIcon() const
{
    const bool active = checkMode ? pressed : (pressed || hot);
    if (active || !icons[1].icon)
        return icons[0];
    return icons[1];
}

void MWButton::DrawIcon(HDC dc, bool hasCaption, const RECT& itemRect, RECT& captionRect,
                        bool isPressed, bool isDisabled)
{
    const IconEntry& entry = ChosenIcon();
    const UINT dpi = dpi::ForWindow(hwnd);
    const POINT offset = {dpi::Scale(pressedOffset.x, dpi), dpi::Scale(pressedOffset.y, dpi)};
    const RECT image = PrepareImageRect(hasCaption, itemRect, captionRect, isPressed, checkMode,
                                        offset, entry.width, entry.height);
    DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(entry.icon), 0, image.left, image.top,
               image.right - image.left, image.bottom - image.top,
               DST_ICON | (isDisabled ? DSS_DISABLED : 0));
}

void MWButton::DrawBitmap(HDC, bool, const RECT&, RECT&, bool, bool) {}

void MWButton::DrawCaption(HDC dc, const std::string& text, const RECT&, const RECT& captionRect,
                           bool isPressed, bool isDisabled)
{
    const UINT format = DT_SINGLELINE | DT_VCENTER | DT_WORDBREAK;
    RECT textRect = captionRect;
    const UINT dpi = dpi::ForWindow(hwnd);
    if (isPressed && !checkMode)
        OffsetRect(&textRect, dpi::Scale(pressedOffset.x, dpi), dpi::Scale(pressedOffset.y, dpi));
    textRect.left += dpi::Scale(20, dpi);
    const int length = static_cast<int>(text.size());

    const int previousMode = SetBkMode(dc, TRANSPARENT);
    if (isDisabled) {
        const COLORREF previousColor = SetTextColor(dc, GetSysColor(COLOR_BTNHIGHLIGHT));
        DrawTextA(dc, text.c_str(), length, &textRect, format);
        OffsetRect(&textRect, -1, -1);
        SetTextColor(dc, GetSysColor(COLOR_BTNSHADOW));
        DrawTextA(dc, text.c_str(), length, &textRect, format);
        SetTextColor(dc, previousColor);
    } else {
        COLORREF color = colors[kNormalText];
        if (hot || isPressed)
            color = colors[kHotText];
        else if (focused)
            color = colors[kFocusText];
        const COLORREF previousColor = SetTextColor(dc, color);
        DrawTextA(dc, text.c_str(), length, &textRect, format);
        SetTextColor(dc, previousColor);
    }
    SetBkMode(dc, previousMode);
}
