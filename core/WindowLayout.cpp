#include "core/WindowLayout.h"

#include "core/TextFormat.h"

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
    const size_t used = textformat::CopyText(u"Core #", title, paneTitleCapacity);
    textformat::Append(textformat::Digits<char16_t>::Decimal(core).Text(), title, used, paneTitleCapacity);
}
