// Checks that bytes form a whole PNG file (signature, every chunk's length and CRC, IHDR
// first, IEND last) and reads its size. A helper of the host's tests.
#pragma once

#include <cstdint>
#include <string>

struct PngFacts {
    bool valid = false;
    uint32_t width = 0;
    uint32_t height = 0;
};

inline uint32_t PngBigEndian(const std::string& bytes, size_t at)
{
    return (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at])) << 24) |
           (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 1])) << 16) |
           (static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 2])) << 8) |
           static_cast<uint32_t>(static_cast<unsigned char>(bytes[at + 3]));
}

inline uint32_t PngCrc(const std::string& bytes, size_t from, size_t length)
{
    uint32_t crc = 0xFFFFFFFFu;
    for (size_t i = from; i < from + length; ++i) {
        crc ^= static_cast<unsigned char>(bytes[i]);
        for (int bit = 0; bit < 8; ++bit)
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
    }
    return crc ^ 0xFFFFFFFFu;
}

inline PngFacts InspectPng(const std::string& bytes)
{
    PngFacts facts;
    if (bytes.size() < 8 || bytes.compare(0, 8, "\x89PNG\r\n\x1a\n") != 0)
        return facts;
    size_t at = 8;
    bool first = true;
    while (at + 12 <= bytes.size()) {
        const uint32_t length = PngBigEndian(bytes, at);
        if (length > bytes.size() - at - 12)
            return facts;
        const std::string type = bytes.substr(at + 4, 4);
        if (PngCrc(bytes, at + 4, length + 4) != PngBigEndian(bytes, at + 8 + length))
            return facts;
        if (first) {
            if (type != "IHDR" || length != 13)
                return facts;
            facts.width = PngBigEndian(bytes, at + 8);
            facts.height = PngBigEndian(bytes, at + 12);
            first = false;
        }
        at += 12 + length;
        if (type == "IEND") {
            facts.valid = at == bytes.size() && facts.width > 0 && facts.height > 0;
            return facts;
        }
    }
    return facts;
}
