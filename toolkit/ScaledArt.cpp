#include "toolkit/ScaledArt.h"

#include "core/OwnedHandle.h"
#include "toolkit/Dpi.h"
#include "toolkit/GdiScope.h"

namespace {

HBITMAP LoadProgramBitmap(int id)
{
    return static_cast<HBITMAP>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                           IMAGE_BITMAP, 0, 0, 0));
}

SIZE BitmapSize(HBITMAP bitmap)
{
    BITMAP info = {};
    if (bitmap == nullptr || GetObjectA(bitmap, sizeof(info), &info) == 0)
        return SIZE{0, 0};
    return SIZE{info.bmWidth, info.bmHeight};
}

// A copy of source at width x height; source is released.
HBITMAP Resized(HBITMAP source, int width, int height, bool keyed)
{
    OwnedGdiObject original(source);
    const SIZE from = BitmapSize(source);
    WindowDC screen(nullptr);
    OwnedMemoryDC sourceDC(CreateCompatibleDC(screen.get()));
    OwnedMemoryDC targetDC(CreateCompatibleDC(screen.get()));
    OwnedGdiObject target(CreateCompatibleBitmap(screen.get(), width, height));
    if (!sourceDC.valid() || !targetDC.valid() || !target.valid())
        return nullptr;
    {
        SelectedObject selectSource(sourceDC.get(), source);
        SelectedObject selectTarget(targetDC.get(), target.get());
        SetStretchBltMode(targetDC.get(), keyed ? COLORONCOLOR : HALFTONE);
        SetBrushOrgEx(targetDC.get(), 0, 0, nullptr);  // as HALFTONE requires
        StretchBlt(targetDC.get(), 0, 0, width, height, sourceDC.get(), 0, 0, from.cx, from.cy,
                   SRCCOPY);
    }
    return static_cast<HBITMAP>(target.release());
}

}  // namespace

HBITMAP LoadBitmapForDpi(int id, UINT dpi, bool keyed)
{
    HBITMAP base = LoadProgramBitmap(id);
    const SIZE size = BitmapSize(base);
    if (base == nullptr || dpi == dpi::kBase)
        return base;
    const int width = dpi::Scale(size.cx, dpi);
    const int height = dpi::Scale(size.cy, dpi);
    if (dpi > dpi::kBase) {
        if (HBITMAP large = LoadProgramBitmap(id + kDoubleSizeId)) {
            DeleteObject(base);
            base = large;
        }
    }
    const SIZE loaded = BitmapSize(base);
    if (loaded.cx == width && loaded.cy == height)
        return base;
    return Resized(base, width, height, keyed);
}

HICON LoadIconForDpi(int id, int size, UINT dpi)
{
    const int pixels = dpi::Scale(size, dpi);
    return static_cast<HICON>(LoadImageA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id),
                                         IMAGE_ICON, pixels, pixels, LR_DEFAULTCOLOR));
}
