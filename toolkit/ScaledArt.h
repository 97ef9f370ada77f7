#pragma once
// The program's pictures at a window's display scale. Each bitmap is in the resources at
// 100 % (its id) and at 200 % (its id + kDoubleSizeId); scales in between get the larger
// one reduced, so a picture is never enlarged below 200 %.

#include <windows.h>

constexpr int kDoubleSizeId = 100;

// The bitmap id at dpi: Scale(its 100 % size, dpi), or null. Pictures with a transparent
// key colour (keyed) are reduced pixel by pixel, so the key stays exact; the others are
// reduced with HALFTONE. The caller owns the bitmap.
HBITMAP LoadBitmapForDpi(int id, UINT dpi, bool keyed = false);
// An icon of the program's at Scale(size, dpi) pixels, which Windows takes from the icon's
// images of that size or the nearest. The caller owns it.
HICON LoadIconForDpi(int id, int size, UINT dpi);
