#include "core/BmpHeader.h"
#include "core/ExportPaths.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>

namespace {

uint32_t Read32(const uint8_t* p)
{
    return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
uint16_t Read16(const uint8_t* p)
{
    return static_cast<uint16_t>(p[0] | p[1] << 8);
}

TEST(BmpHeader, ThousandSamplesInA214PixelPaneAt32Bits)
{
    const auto geometry = MakeBmpGeometry(1000 + 66, 214, 32);
    ASSERT_TRUE(geometry);
    EXPECT_EQ(geometry->rowSize, 1066u * 4);
    EXPECT_EQ(geometry->imageSize, 912496u);
    EXPECT_EQ(geometry->fileSize, 912550u);

    const BmpFileHeader file = MakeBmpFileHeader(*geometry);
    EXPECT_EQ(Read16(&file[0]), 0x4D42);
    EXPECT_EQ(Read32(&file[2]), 912550u);
    EXPECT_EQ(Read16(&file[6]), 0);
    EXPECT_EQ(Read16(&file[8]), 0);
    EXPECT_EQ(Read32(&file[10]), 54u);

    const BmpInfoHeader info = MakeBmpInfoHeader(*geometry, 3780, 3780);
    EXPECT_EQ(Read32(&info[0]), 40u);
    EXPECT_EQ(Read32(&info[4]), 1066u);
    EXPECT_EQ(Read32(&info[8]), 214u);
    EXPECT_EQ(Read16(&info[12]), 1);
    EXPECT_EQ(Read16(&info[14]), 32);
    EXPECT_EQ(Read32(&info[16]), 0u);
    EXPECT_EQ(Read32(&info[20]), 912496u);
    EXPECT_EQ(Read32(&info[24]), 3780u);
    EXPECT_EQ(Read32(&info[28]), 3780u);
    EXPECT_EQ(Read32(&info[32]), 0u);
    EXPECT_EQ(Read32(&info[36]), 0u);
}

TEST(BmpHeader, RowsArePaddedToFourBytes)
{
    struct Case {
        int64_t width;
        uint16_t bits;
        uint32_t rowSize;
    };
    const Case cases[] = {
        {1066, 24, 3200}, {1, 24, 4}, {3, 24, 12}, {1, 16, 4}, {2, 16, 4}, {3, 16, 8},
        {1, 32, 4},       {66, 32, 264},
    };
    for (const Case& c : cases) {
        const auto row = BmpRowSize(c.width, c.bits);
        ASSERT_TRUE(row) << c.width << "x" << c.bits;
        EXPECT_EQ(*row, c.rowSize) << c.width << "x" << c.bits;
    }
}

TEST(BmpHeader, RefusesWhatNoFileCanHold)
{
    EXPECT_FALSE(MakeBmpGeometry(66, 0, 32)) << "a pane of height 0";
    EXPECT_FALSE(MakeBmpGeometry(66, -5, 32));
    EXPECT_FALSE(MakeBmpGeometry(0, 214, 32));
    EXPECT_FALSE(MakeBmpGeometry(66, 214, 8)) << "would need a colour table";
    EXPECT_FALSE(MakeBmpGeometry(int64_t(2147483647) + 66, 214, 32)) << "width beyond int32";
    EXPECT_FALSE(MakeBmpGeometry(2147483647, 1, 32)) << "row beyond 32 bits";
    EXPECT_FALSE(MakeBmpGeometry(1 << 20, 1024, 32)) << "exactly 4 GiB of pixels";

    // The largest picture whose file size still fits the 32-bit field.
    const int64_t width = (int64_t(0xFFFFFFFF) - 54) / 4;
    ASSERT_TRUE(MakeBmpGeometry(width, 1, 32));
    EXPECT_FALSE(MakeBmpGeometry(width + 1, 1, 32));
}

TEST(BmpHeader, DepthAndResolution)
{
    EXPECT_EQ(ExportBitsPerPixel(32), 32);
    EXPECT_EQ(ExportBitsPerPixel(24), 24);
    EXPECT_EQ(ExportBitsPerPixel(16), 16);
    EXPECT_EQ(ExportBitsPerPixel(8), 32);
    EXPECT_EQ(ExportBitsPerPixel(0), 32);
    EXPECT_EQ(PixelsPerMetre(96), 3780);
    EXPECT_EQ(PixelsPerMetre(144), 5669);
    EXPECT_EQ(PixelsPerMetre(0), 0);
}

TEST(ExportPath, JoinsFolderTitleAndExtension)
{
    const ExportPath path(L"C:\\Program Files\\Zentrix", L"Core #0", L".png");
    ASSERT_TRUE(path.Fits());
    EXPECT_EQ(std::wstring(path.Text()), L"C:\\Program Files\\Zentrix\\Core #0.png");

    ExportPath temporary(L"C:\\Z", L"Core #1", L".tmp");
    EXPECT_EQ(std::wstring(temporary.Text()), L"C:\\Z\\Core #1.tmp");
}

// Past the classic limit the system takes a path only in the "\\?\" form: the name is
// handed over in that form, never cut and never refused below the wide calls' own limit.
TEST(ExportPath, LongPathsTakeTheLongFormAndOnlyMissingPartsAreRefused)
{
    const std::wstring title = L"Core #0";
    const struct {
        std::wstring folder;
        std::wstring expected;  // the text handed to the system
    } cases[] = {
        {L"C:\\" + std::wstring(232, L'x'), L"C:\\" + std::wstring(232, L'x') + L"\\Core #0.png"},  // 247 characters in all
        {L"C:\\" + std::wstring(233, L'x'), L"\\\\?\\C:\\" + std::wstring(233, L'x') + L"\\Core #0.png"},
        {L"C:\\" + std::wstring(400, L'x'), L"\\\\?\\C:\\" + std::wstring(400, L'x') + L"\\Core #0.png"},
        {L"\\\\server\\share\\" + std::wstring(300, L'x'),
         L"\\\\?\\UNC\\server\\share\\" + std::wstring(300, L'x') + L"\\Core #0.png"},
        {L"\\\\?\\C:\\" + std::wstring(300, L'x'), L"\\\\?\\C:\\" + std::wstring(300, L'x') + L"\\Core #0.png"},
    };
    for (const auto& c : cases) {
        const ExportPath path(c.folder.c_str(), title.c_str(), L".png");
        EXPECT_TRUE(path.Fits()) << c.folder.size();
        EXPECT_EQ(path.Text(), c.expected) << c.folder.size();
        EXPECT_EQ(path.Plain(), c.folder + L"\\Core #0.png");
    }

    const std::wstring beyond(longestPath, L'x');
    EXPECT_FALSE(ExportPath(beyond.c_str(), title.c_str(), L".png").Fits());
    ExportPath missing(L"C:\\Z", nullptr, L".png");
    EXPECT_FALSE(missing.Fits());
}

}  // namespace
