#include "toolkit/ButtonImages.h"

#include "core/OwnedHandle.h"
#include "toolkit/GdiScope.h"

namespace {

// 6.5 % as the single-precision constant the layout has always used (0.0649999976...).
// The product is formed exactly, so a width of 200 gives 12, not 13.
int CaptionGap(int itemWidth)
{
    return static_cast<int>(static_cast<double>(itemWidth) * static_cast<double>(0.065f));
}

}  // namespace

RECT PrepareImageRect(bool hasCaption, const RECT& itemRect, RECT& captionRect, bool pressed,
                      bool checkMode, POINT pressedOffset, int imageWidth, int imageHeight)
{
    RECT image = itemRect;
    const int itemWidth = itemRect.right - itemRect.left;
    const int itemHeight = itemRect.bottom - itemRect.top;
    if (!hasCaption) {
        image.left += (itemWidth - imageWidth) / 2;
    } else {
        const int gap = CaptionGap(itemWidth);
        image.left += gap;
        captionRect.left += gap + imageWidth;
    }
    image.top += (itemHeight - imageHeight) / 2;
    if (pressed && !checkMode)
        OffsetRect(&image, pressedOffset.x, pressedOffset.y);
    return image;
}

bool MeasureIcon(HICON icon, int& width, int& height)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return false;
    OwnedGdiObject mask(info.hbmMask);
    OwnedGdiObject colour(info.hbmColor);
    width = 2 * static_cast<int>(info.xHotspot);
    height = 2 * static_cast<int>(info.yHotspot);
    return true;
}

HICON CreateGrayscaleIcon(HICON icon)
{
    ICONINFO info = {};
    if (!icon || !GetIconInfo(icon, &info))
        return nullptr;
    OwnedGdiObject mask(info.hbmMask);
    OwnedGdiObject colour(info.hbmColor);
    const int width = 2 * static_cast<int>(info.xHotspot);
    const int height = 2 * static_cast<int>(info.yHotspot);

    WindowDC screen(nullptr);
    OwnedMemoryDC sourceDC(CreateCompatibleDC(screen.get()));
    OwnedMemoryDC greyDC(CreateCompatibleDC(screen.get()));
    if (!screen.get() || !sourceDC.valid() || !greyDC.valid())
        return nullptr;

    // A monochrome icon has no colour bitmap and nothing to make grey.
    BITMAP colourInfo = {};
    if (!colour.valid() ||
        GetObjectA(colour.get(), sizeof(colourInfo), &colourInfo) != sizeof(colourInfo))
        return nullptr;
    OwnedGdiObject grey(
        CreateBitmap(width, height, colourInfo.bmPlanes, colourInfo.bmBitsPixel, nullptr));
    if (!grey.valid())
        return nullptr;
    {
        SelectedObject selectSource(sourceDC.get(), colour.get());
        SelectedObject selectGrey(greyDC.get(), grey.get());
        if (!selectSource.ok() || !selectGrey.ok())
            return nullptr;
        // A new bitmap's contents are undefined; the skipped pixels must come out black.
        PatBlt(greyDC.get(), 0, 0, width, height, BLACKNESS);
        for (int y = 0; y < height; ++y) {
            for (int x = 0; x < width; ++x) {
                const COLORREF pixel = GetPixel(sourceDC.get(), x, y);
                if (pixel == 0 || pixel == CLR_INVALID)
                    continue;
                const int level = static_cast<int>(
                    GetRValue(pixel) * 0.299 + GetGValue(pixel) * 0.587 + GetBValue(pixel) * 0.114);
                SetPixel(greyDC.get(), x, y, RGB(level, level, level));
            }
        }
    }
    ICONINFO made = {};
    made.fIcon = TRUE;
    made.hbmMask = static_cast<HBITMAP>(mask.get());
    made.hbmColor = static_cast<HBITMAP>(grey.get());
    return CreateIconIndirect(&made);
}
