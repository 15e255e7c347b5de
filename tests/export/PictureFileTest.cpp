// The BMP-to-PNG step of the export: the PNG it writes is byte for byte the one GDI+ writes
// after loading the same BMP itself, at every depth the export writes; a BMP that is not of
// the export's kind is left where it is.
#include "tests/export/ExportTestSupport.h"
#include "win32/GdiplusSession.h"
#include "win32/PictureFile.h"

#include <windows.h>
#include <objidl.h>
#include <gdiplus.h>

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

using namespace exporttest;

class PictureFile : public ::testing::Test {
protected:
    void SetUp() override { RemoveExportFiles(); }
    void TearDown() override
    {
        RemoveExportFiles();
        ::DeleteFileW(InExeFolder(L"Reference.png").c_str());
    }
    GdiplusSession gdiplus;
    const std::wstring folder = ExeFolder();
    const ExportPath bmpPath{folder.c_str(), L"Core #0", L".bmp"};
    const ExportPath pngPath{folder.c_str(), L"Core #0", L".png"};
    const ExportPath tmpPath{folder.c_str(), L"Core #0", L".tmp"};
};

// Rows of varied bytes with odd widths, so the row padding and the row order both show.
std::vector<uint8_t> Pixels(const BmpGeometry& geometry)
{
    std::vector<uint8_t> pixels(geometry.imageSize);
    uint32_t state = 2463534242u;
    for (uint8_t& byte : pixels) {
        state ^= state << 13;
        state ^= state >> 17;
        state ^= state << 5;
        byte = static_cast<uint8_t>(state);
    }
    return pixels;
}

// What GDI+ writes when it loads the BMP file itself.
std::vector<uint8_t> ReferencePng(const wchar_t* bmp)
{
    const std::wstring reference = InExeFolder(L"Reference.png");
    {
        Gdiplus::Image image(bmp);
        CLSID encoder{};
        if (image.GetWidth() == 0 || FindPngEncoder(&encoder) < 0 ||
            image.Save(reference.c_str(), &encoder, nullptr) != Gdiplus::Ok)
            return {};
    }
    return ReadBytes(reference);
}

TEST_F(PictureFile, ThePngIsTheOneGdiplusWritesFromTheBmpAtEveryDepth)
{
    struct Case {
        int32_t width, height;
        uint16_t bitsPerPixel;
        int32_t dpi;
    };
    for (const Case& c : {Case{37, 5, 32, 96}, Case{37, 6, 24, 120}, Case{35, 7, 16, 96}, Case{1, 1, 32, 144}}) {
        SCOPED_TRACE(c.bitsPerPixel);
        const std::optional<BmpGeometry> geometry = MakeBmpGeometry(c.width, c.height, c.bitsPerPixel);
        ASSERT_TRUE(geometry);
        const BmpPicture picture = MakeBmpPicture(*geometry, c.dpi, c.dpi);
        const std::vector<uint8_t> pixels = Pixels(*geometry);
        ASSERT_TRUE(WriteBmpFile(bmpPath.Text(), picture, pixels.data()));
        const std::vector<uint8_t> reference = ReferencePng(bmpPath.Text());
        ASSERT_FALSE(reference.empty());

        EXPECT_TRUE(ConvertBmpToPng(bmpPath, pngPath, tmpPath));
        EXPECT_EQ(ReadBytes(pngPath.Text()), reference);
        EXPECT_FALSE(FileExists(bmpPath.Text()));
        EXPECT_FALSE(FileExists(tmpPath.Text()));
    }
}

TEST_F(PictureFile, ABmpNotOfTheExportsKindStaysAndLeavesTheOldPng)
{
    ASSERT_TRUE(WriteBytes(pngPath.Text(), {'o', 'l', 'd'}));
    const std::optional<BmpGeometry> geometry = MakeBmpGeometry(20, 4, 32);
    ASSERT_TRUE(geometry);
    std::vector<uint8_t> whole;
    const BmpPicture picture = MakeBmpPicture(*geometry, 96, 96);
    whole.insert(whole.end(), picture.fileHeader.begin(), picture.fileHeader.end());
    whole.insert(whole.end(), picture.infoHeader.begin(), picture.infoHeader.end());
    const std::vector<uint8_t> pixels = Pixels(*geometry);
    whole.insert(whole.end(), pixels.begin(), pixels.end());

    std::vector<uint8_t> cut(whole.begin(), whole.end() - 1);
    std::vector<uint8_t> compressed = whole;
    compressed[bmpFileHeaderSize + 16] = 3;  // BI_BITFIELDS
    std::vector<uint8_t> notBmp = whole;
    notBmp[0] = 'X';
    for (const std::vector<uint8_t>* bytes : {&cut, &compressed, &notBmp}) {
        ASSERT_TRUE(WriteBytes(bmpPath.Text(), *bytes));
        EXPECT_FALSE(ConvertBmpToPng(bmpPath, pngPath, tmpPath));
        EXPECT_EQ(ReadBytes(bmpPath.Text()), *bytes);
        EXPECT_EQ(ReadBytes(pngPath.Text()), (std::vector<uint8_t>{'o', 'l', 'd'}));
        EXPECT_FALSE(FileExists(tmpPath.Text()));
    }
}

}  // namespace
