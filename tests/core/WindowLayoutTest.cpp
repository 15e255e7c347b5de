#include "core/TextFormat.h"
#include "core/WindowLayout.h"

#include <gtest/gtest.h>

#include <string>

namespace {

struct SizeCase {
    int32_t graphWidth;
    int32_t graphHeight;
    uint32_t panes;
    int32_t width;
    int32_t height;
};

TEST(WindowLayout, ClientSizeComesFromThePaneSizeOnlyWhenBothAreGiven)
{
    const SizeCase cases[] = {
        {600, 150, 4, 600, 600},
        {0, 0, 2, 792, 428},
        {0, 150, 2, 792, 428},
        {600, 0, 2, 792, 428},
        {600, 150, 0, 600, 0},
        {0, 0, 0, 792, 0},
        // 32-bit arithmetic: 256 x 0x01000000 wraps to 0.
        {10, 0x01000000, 256, 10, 0},
    };
    for (const SizeCase& c : cases) {
        const ClientSize size = WantedClientSize(c.graphWidth, c.graphHeight, c.panes);
        EXPECT_EQ(size.width, c.width) << c.graphWidth << "x" << c.graphHeight << " panes " << c.panes;
        EXPECT_EQ(size.height, c.height) << c.graphWidth << "x" << c.graphHeight << " panes " << c.panes;
    }
}

TEST(WindowLayout, AlphaIsTheLowByteOfTheOpacity)
{
    const struct {
        int32_t transparency;
        uint8_t alpha;
    } cases[] = {{0, 255}, {1, 254}, {100, 155}, {255, 0}, {256, 255}, {-1, 0}, {511, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(LayeredAlpha(c.transparency), c.alpha) << c.transparency;
}

TEST(WindowLayout, SnappingGrowsToTheNextMultipleAndNeverShrinks)
{
    EXPECT_EQ(SnapGrowth(301, 3), 2u);
    EXPECT_EQ(SnapGrowth(302, 3), 1u);
    EXPECT_EQ(SnapGrowth(303, 3), 0u);
    EXPECT_EQ(SnapGrowth(601, 3), 2u);
    EXPECT_EQ(SnapGrowth(0, 4), 0u);
    EXPECT_EQ(SnapGrowth(5, 1), 0u);
    EXPECT_EQ(SnapGrowth(7, 256), 249u);
    EXPECT_EQ(SnapGrowth(301, 0), 0u);
}

TEST(WindowLayout, PanesShareTheClientHeightInEqualRows)
{
    EXPECT_EQ(PaneRowAt(0, 600, 3).top, 0);
    EXPECT_EQ(PaneRowAt(1, 600, 3).top, 200);
    EXPECT_EQ(PaneRowAt(2, 600, 3).top, 400);
    EXPECT_EQ(PaneRowAt(2, 600, 3).height, 200);
    EXPECT_EQ(PaneRowAt(2, 603, 3).top, 402);
    EXPECT_EQ(PaneRowAt(2, 603, 3).height, 201);
    // A height the window could not snap leaves rows below the last pane.
    EXPECT_EQ(PaneRowAt(3, 10, 4).top, 6);
    EXPECT_EQ(PaneRowAt(3, 10, 4).height, 2);
    EXPECT_EQ(PaneRowAt(0, 10, 0).height, 0);
}

TEST(WindowLayout, CoreTitlesCountFromZero)
{
    char16_t title[paneTitleCapacity];
    const struct {
        uint32_t core;
        const char16_t* text;
    } cases[] = {{0, u"Core #0"}, {7, u"Core #7"}, {10, u"Core #10"}, {255, u"Core #255"},
                 {4294967295u, u"Core #4294967295"}};
    for (const auto& c : cases) {
        FormatCoreTitle(title, c.core);
        EXPECT_EQ(std::u16string(title), std::u16string(c.text)) << c.core;
    }
}

TEST(WindowLayout, CopiedTextIsCutToTheBufferAndTerminated)
{
    char16_t unit[3] = {u'x', u'x', u'x'};
    textformat::CopyText(u"C\u00B0", unit, 3);
    EXPECT_EQ(std::u16string(unit), u"C\u00B0");
    textformat::CopyText(u"%", unit, 3);
    EXPECT_EQ(std::u16string(unit), u"%");
    textformat::CopyText(u"long", unit, 3);
    EXPECT_EQ(std::u16string(unit), u"lo");
}

}  // namespace
