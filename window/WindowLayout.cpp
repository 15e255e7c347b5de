#include "window/WindowLayout.h"

ClientSize WantedClientSize(int32_t graphWidth, int32_t graphHeight, uint32_t paneCount)
{
    const bool sizeGiven = graphWidth != 0 && graphHeight != 0;
    const uint32_t width = sizeGiven ? static_cast<uint32_t>(graphWidth) : defaultClientWidth;
    const uint32_t paneHeight = sizeGiven ? static_cast<uint32_t>(graphHeight) : defaultPaneHeight;
    return {static_cast<int32_t>(width), static_cast<int32_t>(paneCount * paneHeight)};
}

uint8_t LayeredAlpha(int32_t transparency)
{
    return static_cast<uint8_t>((255u - static_cast<uint32_t>(transparency)) & 0xFFu);
}

uint32_t SnapGrowth(uint32_t clientHeight, uint32_t paneCount)
{
    if (paneCount == 0)
        return 0;
    const uint32_t remainder = clientHeight % paneCount;
    return remainder == 0 ? 0 : paneCount - remainder;
}

PaneRow PaneRowAt(uint32_t index, uint32_t clientHeight, uint32_t paneCount)
{
    if (paneCount == 0)
        return {0, 0};
    const uint32_t height = clientHeight / paneCount;
    return {static_cast<int32_t>(index * height), static_cast<int32_t>(height)};
}

void FormatCoreTitle(char16_t (&title)[paneTitleCapacity], uint32_t core)
{
    char16_t digits[10];
    int count = 0;
    do {
        digits[count++] = static_cast<char16_t>(u'0' + core % 10);
        core /= 10;
    } while (core != 0);

    char16_t text[paneTitleCapacity] = u"Core #";
    int length = 6;
    while (count > 0)
        text[length++] = digits[--count];
    text[length] = u'\0';
    CopyText(title, paneTitleCapacity, text);
}

void CopyText(char16_t* buffer, int capacity, const char16_t* text)
{
    if (capacity <= 0)
        return;
    int i = 0;
    for (; i < capacity - 1 && text[i] != u'\0'; ++i)
        buffer[i] = text[i];
    buffer[i] = u'\0';
}
