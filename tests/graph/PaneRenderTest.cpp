// A pane drawn into another window's bitmap (the grid view's one-pass paint): at any offset,
// the very pixels its own paint puts into its window, and nothing outside its cell.
#include "PaneTestSupport.h"

#include "graph/PaneLock.h"
#include "graph/PaneRender.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace {

// Random histories from a seed: temperatures and loads anywhere in and beyond the range.
void FillRandomly(CZiveVazudEx& pane, uint32_t seed, int samples)
{
    uint32_t state = seed;
    const auto next = [&state](uint32_t bound) {
        state = state * 1664525u + 1013904223u;
        return static_cast<int32_t>((state >> 8) % bound);
    };
    for (int i = 0; i < samples; ++i)
        pane.PushSamples(next(120) - 10, next(111));
}

// The pixels of the cell at (left, top) of a width x height picture of 0x00RRGGBB pixels.
std::vector<uint32_t> CellOf(const std::vector<uint32_t>& picture, int pictureWidth, int left, int top, int width,
                             int height)
{
    std::vector<uint32_t> cell;
    cell.reserve(static_cast<size_t>(width) * height);
    for (int y = top; y < top + height; ++y)
        for (int x = left; x < left + width; ++x)
            cell.push_back(picture[static_cast<size_t>(y) * pictureWidth + x]);
    return cell;
}

TEST(PaneRender, AtAnyOffsetItDrawsWhatThePanesOwnPaintDrawsAndNothingBeyond)
{
    struct Case {
        int width;
        int height;
        bool compact;
        bool bars;
        int samples;
    };
    // Full texts at the usual size and in the grid's larger cells; compact cells that leave
    // texts out; an empty pane; more samples than columns.
    const Case cases[] = {{792, 214, false, false, 300}, {792, 214, false, true, 300}, {209, 130, true, false, 500},
                          {209, 130, true, true, 500},   {104, 64, true, false, 90},   {104, 64, true, true, 90},
                          {61, 37, true, false, 40},     {300, 90, true, true, 0}};
    // Offsets that put the hatch's pattern out of step with the bitmap's origin.
    const POINT offsets[] = {{0, 0}, {3, 5}, {101, 7}, {13, 66}};
    constexpr COLORREF sentinel = RGB(1, 2, 3);  // 0x010203 as a pixel
    uint32_t seed = 1;
    for (const Case& c : cases) {
        for (const POINT offset : offsets) {
            const std::string name = std::to_string(c.width) + " x " + std::to_string(c.height) +
                                     (c.compact ? " compact" : " full") + (c.bars ? " bars" : " lines") + " at " +
                                     std::to_string(offset.x) + "," + std::to_string(offset.y);
            SCOPED_TRACE(name);
            panetest::PaneWindow window(c.width, c.height);
            const GraphSettings record = panetest::DefaultRecord();
            CZiveVazudEx pane(window.Get(), &record);
            pane.SetCompact(c.compact);
            pane.SetUseBars(c.bars);
            FillRandomly(pane, seed++, c.samples);

            panetest::Canvas own(c.width, c.height);
            ASSERT_TRUE(pane.Paint(own.Dc(), WM_PAINT));
            const std::vector<uint32_t> expected = own.Pixels();

            const int bigWidth = offset.x + c.width + 9;
            const int bigHeight = offset.y + c.height + 11;
            panetest::Canvas shared(bigWidth, bigHeight);
            shared.Fill(sentinel);
            {
                PaneLock::Exclusive rendering(PanesLock());  // as the grid view holds it
                RenderPaneAt(pane, shared.Dc(), offset);
            }
            const std::vector<uint32_t> drawn = shared.Pixels();
            EXPECT_TRUE(CellOf(drawn, bigWidth, offset.x, offset.y, c.width, c.height) == expected);

            // Outside the cell the bitmap is untouched; the DC is as it was (the sentinel's
            // fill again covers all).
            int outside = 0;
            for (int y = 0; y < bigHeight; ++y)
                for (int x = 0; x < bigWidth; ++x) {
                    const bool inCell =
                        x >= offset.x && x < offset.x + c.width && y >= offset.y && y < offset.y + c.height;
                    if (!inCell && drawn[static_cast<size_t>(y) * bigWidth + x] != 0x010203)
                        ++outside;
                }
            EXPECT_EQ(outside, 0);
            POINT viewport{-1, -1};
            ::GetViewportOrgEx(shared.Dc(), &viewport);
            EXPECT_EQ(viewport.x, 0);
            EXPECT_EQ(viewport.y, 0);
            shared.Fill(sentinel);
            EXPECT_EQ(panetest::CountColour(shared, {0, 0, bigWidth, bigHeight}, sentinel), bigWidth * bigHeight);
        }
    }
}

}  // namespace
