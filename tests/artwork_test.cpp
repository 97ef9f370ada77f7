// The program's pictures as the module holds them: every icon at every size and depth,
// every bitmap at its size and depth, and what drawing them relies on.
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <utility>
#include <vector>

namespace {

const BYTE* Resource(int id, LPCSTR type, DWORD* size)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    *size = found ? SizeofResource(nullptr, found) : 0;
    return found ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))) : nullptr;
}

// (size, depth) of each image of an icon group, read from the images themselves, each of
// which must also make an icon and agree with its entry in the group's 14-byte entries.
std::set<std::pair<int, int>> IconImages(int id)
{
    std::set<std::pair<int, int>> images;
    DWORD size = 0;
    const BYTE* group = Resource(id, RT_GROUP_ICON, &size);
    for (WORD i = 0; group && i < reinterpret_cast<const WORD*>(group)[2]; ++i) {
        const BYTE* entry = group + 6 + 14 * i;  // its bit count at 6, the image's id at 12
        const BYTE* image = Resource(*reinterpret_cast<const WORD*>(entry + 12), RT_ICON, &size);
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image);
        HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image), size, TRUE, 0x00030000, 0, 0, 0);
        EXPECT_NE(nullptr, icon) << id << " image " << i;
        DestroyIcon(icon);
        EXPECT_EQ(header->biWidth * 2, header->biHeight);
        EXPECT_EQ(*reinterpret_cast<const WORD*>(entry + 6), header->biBitCount) << id << " image " << i;
        images.insert({header->biWidth, header->biBitCount});
    }
    return images;
}

// A bitmap resource's pixels as the program's LoadBitmapA gives them, top row first;
// empty unless it loads at exactly that size.
std::vector<COLORREF> Pixels(int id, int width, int height)
{
    HBITMAP bitmap = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(id));
    BITMAP shape = {};
    if (!bitmap || !GetObjectA(bitmap, sizeof(shape), &shape) || shape.bmWidth != width ||
        shape.bmHeight != height) {
        DeleteObject(bitmap);
        return {};
    }
    BITMAPINFOHEADER info = {sizeof(info), width, -height, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    std::vector<COLORREF> pixels(width * height);
    HDC screen = GetDC(nullptr);
    if (GetDIBits(screen, bitmap, 0, height, pixels.data(), reinterpret_cast<BITMAPINFO*>(&info),
                  DIB_RGB_COLORS) != height)
        pixels.clear();
    ReleaseDC(nullptr, screen);
    DeleteObject(bitmap);
    for (COLORREF& p : pixels)  // 0x00RRGGBB in a DIB, 0x00BBGGRR in a COLORREF
        p = RGB(GetBValue(p), GetGValue(p), GetRValue(p));
    return pixels;
}

TEST(Artwork, EveryPictureAtItsSizesAndDepthsWithTheBackgroundItsDrawingNeeds)
{
    const std::set<std::pair<int, int>> printer = {{48, 8}, {48, 32}, {32, 8}, {32, 32}, {16, 8}, {16, 32}};
    EXPECT_EQ(printer, IconImages(IDI_KESTROLA));
    EXPECT_EQ((std::set<std::pair<int, int>>{{16, 8}, {16, 32}}), IconImages(IDI_KESTROLA_SMALL));
    std::set<std::pair<int, int>> gear = printer;
    gear.insert({{48, 4}, {32, 4}, {16, 4}});
    EXPECT_EQ(gear, IconImages(IDI_GEAR));

    const COLORREF magenta = RGB(255, 0, 255), white = RGB(255, 255, 255);
    const struct { int id, width, height; COLORREF corner; } bitmaps[] = {{IDB_EMBLEM, 90, 85, white},
        {IDB_PRINTER, 108, 105, magenta}, {IDB_BUSY, 480, 40, white}, {IDB_SUCCESS, 40, 40, white},
        {IDB_FAILURE, 40, 40, white}};
    for (const auto& expected : bitmaps) {
        const std::vector<COLORREF> pixels = Pixels(expected.id, expected.width, expected.height);
        ASSERT_EQ(size_t(expected.width * expected.height), pixels.size()) << expected.id << ": size";
        EXPECT_EQ(expected.corner, pixels.front()) << expected.id;
        EXPECT_EQ(expected.corner, pixels.back()) << expected.id;
    }

    // No pixel of the printer comes near magenta without being it, or a pink seam would
    // show where it is drawn transparent.
    for (COLORREF p : Pixels(IDB_PRINTER, 108, 105))
        ASSERT_TRUE(p == magenta || GetGValue(p) >= 100 || GetRValue(p) <= 155 || GetBValue(p) <= 155) << p;
    // Twelve different frames of the busy animation.
    const std::vector<COLORREF> busy = Pixels(IDB_BUSY, 480, 40);
    std::vector<std::vector<COLORREF>> frames(12);
    for (size_t i = 0; i < busy.size(); ++i)
        frames[i % 480 / 40].push_back(busy[i]);
    EXPECT_EQ(12u, std::set<std::vector<COLORREF>>(frames.begin(), frames.end()).size());
}

}  // namespace
