#pragma once
// Image handling of the owner-drawn buttons: where an image goes beside the caption,
// the size of an icon, and grey copies of icons.

#include <windows.h>

// The rectangle an image of imageWidth x imageHeight is drawn at, left of the caption.
// Without a caption the image is centred horizontally; with one it starts at 6.5 % of
// the item's width and captionRect's left edge moves past it. The image is centred
// vertically and, when pressed outside check mode, moved by pressedOffset. Only the
// left and top edges move: the result keeps the item's right and bottom edges.
RECT PrepareImageRect(bool hasCaption, const RECT& itemRect, RECT& captionRect, bool pressed,
                      bool checkMode, POINT pressedOffset, int imageWidth, int imageHeight);

// The width and height of an icon, taken as twice its hot spot.
bool MeasureIcon(HICON icon, int& width, int& height);

// A grey copy of the icon with the same mask (the caller owns it), or null on any failure.
// Pure black pixels stay black.
HICON CreateGrayscaleIcon(HICON icon);
