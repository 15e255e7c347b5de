#include "core/BmpHeader.h"

#include <limits>

namespace {

constexpr uint16_t bmpFileType = 0x4D42;  // "BM"
constexpr uint32_t rgbCompression = 0;    // BI_RGB

bool SupportedDepth(uint16_t bits)
{
    return bits == 16 || bits == 24 || bits == 32;
}

template <size_t N>
void Put16(std::array<uint8_t, N>& out, size_t offset, uint16_t value)
{
    out[offset] = static_cast<uint8_t>(value & 0xFF);
    out[offset + 1] = static_cast<uint8_t>(value >> 8);
}

template <size_t N>
void Put32(std::array<uint8_t, N>& out, size_t offset, uint32_t value)
{
    for (size_t i = 0; i < 4; ++i)
        out[offset + i] = static_cast<uint8_t>((value >> (8 * i)) & 0xFF);
}

}  // namespace

uint16_t ExportBitsPerPixel(int screenBitsPerPixel)
{
    if (screenBitsPerPixel == 16 || screenBitsPerPixel == 24)
        return static_cast<uint16_t>(screenBitsPerPixel);
    return 32;
}

std::optional<uint32_t> BmpRowSize(int64_t width, uint16_t bitsPerPixel)
{
    if (width <= 0 || !SupportedDepth(bitsPerPixel))
        return std::nullopt;
    // The header holds the width as a signed 32-bit value; within that the product fits 64 bits.
    if (width > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    const uint64_t bits = static_cast<uint64_t>(width) * bitsPerPixel;
    const uint64_t bytes = ((bits + 31) / 32) * 4;
    if (bytes > std::numeric_limits<uint32_t>::max())
        return std::nullopt;
    return static_cast<uint32_t>(bytes);
}

std::optional<BmpGeometry> MakeBmpGeometry(int64_t width, int64_t height, uint16_t bitsPerPixel)
{
    const std::optional<uint32_t> rowSize = BmpRowSize(width, bitsPerPixel);
    if (!rowSize || height <= 0 || height > std::numeric_limits<int32_t>::max())
        return std::nullopt;
    const uint64_t imageSize = static_cast<uint64_t>(*rowSize) * static_cast<uint64_t>(height);
    if (imageSize > std::numeric_limits<uint32_t>::max() - bmpHeadersSize)
        return std::nullopt;

    BmpGeometry geometry;
    geometry.width = static_cast<int32_t>(width);
    geometry.height = static_cast<int32_t>(height);
    geometry.bitsPerPixel = bitsPerPixel;
    geometry.rowSize = *rowSize;
    geometry.imageSize = static_cast<uint32_t>(imageSize);
    geometry.fileSize = static_cast<uint32_t>(imageSize) + bmpHeadersSize;
    return geometry;
}

int32_t PixelsPerMetre(int32_t dotsPerInch)
{
    if (dotsPerInch <= 0)
        return 0;
    // One inch is 0.0254 m: dpi * 10000 / 254, rounded to the nearest whole number.
    const int64_t scaled = static_cast<int64_t>(dotsPerInch) * 10000;
    const int64_t rounded = (scaled + 127) / 254;
    if (rounded > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    return static_cast<int32_t>(rounded);
}

BmpFileHeader MakeBmpFileHeader(const BmpGeometry& geometry)
{
    BmpFileHeader header{};
    Put16(header, 0, bmpFileType);
    Put32(header, 2, geometry.fileSize);
    Put16(header, 6, 0);
    Put16(header, 8, 0);
    Put32(header, 10, bmpHeadersSize);
    return header;
}

BmpInfoHeader MakeBmpInfoHeader(const BmpGeometry& geometry, int32_t xPixelsPerMetre,
                                int32_t yPixelsPerMetre)
{
    BmpInfoHeader header{};
    Put32(header, 0, bmpInfoHeaderSize);
    Put32(header, 4, static_cast<uint32_t>(geometry.width));
    Put32(header, 8, static_cast<uint32_t>(geometry.height));
    Put16(header, 12, 1);
    Put16(header, 14, geometry.bitsPerPixel);
    Put32(header, 16, rgbCompression);
    Put32(header, 20, geometry.imageSize);
    Put32(header, 24, static_cast<uint32_t>(xPixelsPerMetre));
    Put32(header, 28, static_cast<uint32_t>(yPixelsPerMetre));
    Put32(header, 32, 0);
    Put32(header, 36, 0);
    return header;
}
