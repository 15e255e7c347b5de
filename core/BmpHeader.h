// The 14-byte file header and 40-byte info header of an uncompressed, bottom-up BMP, and
// the sizes behind them. Portable; the export builds its DIB section from the same info
// header it writes, so the file's pixel data is exactly the section's buffer.
#pragma once

#include <array>
#include <cstdint>
#include <optional>

constexpr uint32_t bmpFileHeaderSize = 14;
constexpr uint32_t bmpInfoHeaderSize = 40;
constexpr uint32_t bmpHeadersSize = bmpFileHeaderSize + bmpInfoHeaderSize;

using BmpFileHeader = std::array<uint8_t, bmpFileHeaderSize>;
using BmpInfoHeader = std::array<uint8_t, bmpInfoHeaderSize>;

struct BmpGeometry {
    int32_t width = 0;
    int32_t height = 0;  // positive: rows stored bottom-up
    uint16_t bitsPerPixel = 0;
    uint32_t rowSize = 0;    // bytes, padded to a multiple of 4
    uint32_t imageSize = 0;  // rowSize * height
    uint32_t fileSize = 0;   // headers + imageSize
};

// The depth a picture is written at: the screen's when it is 16, 24 or 32 bits per pixel,
// otherwise 32 (lower depths would need a colour table the header does not carry).
uint16_t ExportBitsPerPixel(int screenBitsPerPixel);

// Bytes per row, padded to a multiple of 4; nothing when the width is not positive, the
// depth is not 16, 24 or 32, or the row does not fit 32 bits.
std::optional<uint32_t> BmpRowSize(int64_t width, uint16_t bitsPerPixel);

// Nothing when the width or height is not positive, the depth is unsupported, or the whole
// file would not fit the header's 32-bit size fields.
std::optional<BmpGeometry> MakeBmpGeometry(int64_t width, int64_t height, uint16_t bitsPerPixel);

// Dots per inch as the header's pixels per metre, rounded (96 gives 3780).
int32_t PixelsPerMetre(int32_t dotsPerInch);

BmpFileHeader MakeBmpFileHeader(const BmpGeometry& geometry);
BmpInfoHeader MakeBmpInfoHeader(const BmpGeometry& geometry, int32_t xPixelsPerMetre,
                                int32_t yPixelsPerMetre);
