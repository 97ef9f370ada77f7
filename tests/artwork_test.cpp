// The program's pictures as the module holds them: every icon at every size and depth,
// every bitmap at its size and depth, and what drawing them relies on.
#include "resources/resource.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <set>
#include <utility>
#include <vector>

namespace {

#pragma pack(push, 2)
struct GroupIconEntry {
    BYTE width, height, colours, reserved;
    WORD planes, bitCount;
    DWORD bytes;
    WORD id;
};
#pragma pack(pop)

const BYTE* Resource(int id, LPCSTR type, DWORD* size = nullptr)
{
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), type);
    if (found && size)
        *size = SizeofResource(nullptr, found);
    return found ? static_cast<const BYTE*>(LockResource(LoadResource(nullptr, found))) : nullptr;
}

// (size, depth) of each image of an icon group, read from the images themselves, each of
// which must also make an icon.
std::set<std::pair<int, int>> IconImages(int id)
{
    std::set<std::pair<int, int>> images;
    const BYTE* group = Resource(id, RT_GROUP_ICON);
    const WORD count = group ? reinterpret_cast<const WORD*>(group)[2] : 0;
    for (WORD i = 0; i < count; ++i) {
        const auto& entry = reinterpret_cast<const GroupIconEntry*>(group + 6)[i];
        DWORD size = 0;
        const BYTE* image = Resource(entry.id, RT_ICON, &size);
        const auto* header = reinterpret_cast<const BITMAPINFOHEADER*>(image);
        HICON icon = CreateIconFromResourceEx(const_cast<BYTE*>(image), size, TRUE, 0x00030000, 0, 0, 0);
        EXPECT_NE(nullptr, icon) << id << " image " << i;
        DestroyIcon(icon);
        EXPECT_EQ(header->biWidth * 2, header->biHeight);
        EXPECT_EQ(entry.bitCount, header->biBitCount);
        images.insert({header->biWidth, header->biBitCount});
    }
    return images;
}

TEST(Artwork, IconsHoldEverySizeAtEveryDepth)
{
    const std::set<std::pair<int, int>> printer = {{48, 8}, {48, 32}, {32, 8}, {32, 32}, {16, 8}, {16, 32}};
    EXPECT_EQ(printer, IconImages(IDI_KESTROLA));
    EXPECT_EQ((std::set<std::pair<int, int>>{{16, 8}, {16, 32}}), IconImages(IDI_KESTROLA_SMALL));
    std::set<std::pair<int, int>> gear = printer;
    gear.insert({{48, 4}, {32, 4}, {16, 4}});
    EXPECT_EQ(gear, IconImages(IDI_GEAR));
}

// A 24-bit bitmap resource's pixels, top row first; empty unless it is 24-bit BI_RGB.
std::vector<COLORREF> Pixels(int id, int width, int height)
{
    DWORD size = 0;
    const BYTE* bytes = Resource(id, RT_BITMAP, &size);
    const auto* info = reinterpret_cast<const BITMAPINFOHEADER*>(bytes);
    const DWORD stride = (width * 3 + 3) & ~3u;
    if (!info || info->biWidth != width || info->biHeight != height || info->biBitCount != 24 ||
        info->biCompression != BI_RGB || size < info->biSize + stride * height)
        return {};
    std::vector<COLORREF> pixels;
    for (int y = height - 1; y >= 0; --y)
        for (int x = 0; x < width; ++x) {
            const BYTE* p = bytes + info->biSize + y * stride + 3 * x;
            pixels.push_back(RGB(p[2], p[1], p[0]));
        }
    return pixels;
}

TEST(Artwork, BitmapsLoadAtTheirSizesWithTheBackgroundsTheirDrawingNeeds)
{
    const COLORREF magenta = RGB(255, 0, 255), white = RGB(255, 255, 255);
    const struct {
        int id, width, height;
        COLORREF corner;
    } bitmaps[] = {{IDB_EMBLEM, 90, 85, white}, {IDB_PRINTER, 108, 105, magenta}, {IDB_BUSY, 480, 40, white},
                   {IDB_SUCCESS, 40, 40, white}, {IDB_FAILURE, 40, 40, white}};
    for (const auto& expected : bitmaps) {
        const std::vector<COLORREF> pixels = Pixels(expected.id, expected.width, expected.height);
        ASSERT_EQ(size_t(expected.width * expected.height), pixels.size()) << expected.id << ": size or depth";
        EXPECT_EQ(expected.corner, pixels.front()) << expected.id;
        EXPECT_EQ(expected.corner, pixels.back()) << expected.id;
        HBITMAP loaded = LoadBitmapA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(expected.id));
        BITMAP size = {};
        EXPECT_EQ(int(sizeof size), GetObjectA(loaded, sizeof size, &size)) << expected.id;
        EXPECT_EQ(expected.width, size.bmWidth);
        EXPECT_EQ(expected.height, size.bmHeight);
        DeleteObject(loaded);
    }

    // No pixel of the printer comes near magenta without being it, or a pink seam would
    // show where it is drawn transparent.
    for (COLORREF p : Pixels(IDB_PRINTER, 108, 105)) {
        const bool nearKey = GetGValue(p) < 100 && GetRValue(p) > 155 && GetBValue(p) > 155;
        ASSERT_TRUE(p == magenta || !nearKey) << std::hex << p;
    }
    // Twelve different frames of the busy animation.
    const std::vector<COLORREF> busy = Pixels(IDB_BUSY, 480, 40);
    std::set<std::vector<COLORREF>> frames;
    for (int f = 0; f < 12; ++f) {
        std::vector<COLORREF> frame;
        for (int y = 0; y < 40; ++y)
            frame.insert(frame.end(), busy.begin() + y * 480 + f * 40, busy.begin() + y * 480 + f * 40 + 40);
        frames.insert(frame);
    }
    EXPECT_EQ(12u, frames.size());
}

}  // namespace
