// "RememberPlacement=1" as plain rules: which settings texts give a stored rectangle, the
// rectangle between 96-DPI units and a display's pixels, and the quarter that must stay shown.
#include "core/PlacementRules.h"
#include "settings/StoredPlacement.h"

#include <gtest/gtest.h>

#include <string>

namespace {

using plot::Box;

std::optional<std::u16string> Text(const std::u16string& keys)
{
    return u"[Zentrix Vaderur]\nGraphWidth=792;\n" + keys;
}

TEST(StoredPlacement, OnlyWithTheKeyOnAndAWholeRectangle)
{
    const std::u16string rect = u"WindowLeft=100;\nWindowTop=-20;\nWindowWidth=600;\nWindowHeight=400;\n";
    struct Case {
        const char* name;
        std::optional<std::u16string> text;
        bool stored;
    };
    const Case cases[] = {
        {"no file", std::nullopt, false},
        {"keys without RememberPlacement", Text(rect), false},
        {"RememberPlacement=0", Text(u"RememberPlacement=0;\n" + rect), false},
        {"RememberPlacement=2", Text(u"RememberPlacement=2;\n" + rect), false},
        {"on, no rectangle", Text(u"RememberPlacement=1;\n"), false},
        {"on, height missing", Text(u"RememberPlacement=1;\nWindowLeft=1;\nWindowTop=1;\nWindowWidth=5;\n"), false},
        {"on, zero width", Text(u"RememberPlacement=1;\nWindowLeft=1;\nWindowTop=1;\nWindowWidth=0;\nWindowHeight=5;\n"),
         false},
        {"on, negative height",
         Text(u"RememberPlacement=1;\nWindowLeft=1;\nWindowTop=1;\nWindowWidth=5;\nWindowHeight=-5;\n"), false},
        {"on, whole", Text(u"RememberPlacement=1;\n" + rect), true},
    };
    for (const Case& c : cases) {
        const std::optional<StoredPlacement> stored = ReadStoredPlacement(c.text);
        EXPECT_EQ(stored.has_value(), c.stored) << c.name;
        EXPECT_EQ(RemembersPlacement(c.text), c.text && c.text->find(u"RememberPlacement=1") != std::u16string::npos)
            << c.name;
    }
    const auto stored = ReadStoredPlacement(Text(u"RememberPlacement=1;\n" + rect + u"WindowMaximized=1;\n"));
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->rect, (Box{100, -20, 700, 380}));
    EXPECT_TRUE(stored->maximized);
    EXPECT_FALSE(ReadStoredPlacement(Text(u"RememberPlacement=1;\n" + rect))->maximized);
}

TEST(StoredPlacement, HandEditedHugeNumbersNeverOverflowTheEdges)
{
    const auto stored = ReadStoredPlacement(Text(
        u"RememberPlacement=1;\nWindowLeft=2147483647;\nWindowTop=-99999999999;\nWindowWidth=2147483647;\n"
        u"WindowHeight=2147483647;\n"));
    ASSERT_TRUE(stored);
    EXPECT_GT(stored->rect.right, stored->rect.left);
    EXPECT_GT(stored->rect.bottom, stored->rect.top);
}

TEST(PlacementRules, RectanglesBetweenScalesComeBackWithinAPixel)
{
    const Box at96{-300, 17, 851, 533};
    EXPECT_EQ(RescaleBox(at96, 96, 96), at96);
    EXPECT_EQ(RescaleBox(at96, 96, 192), (Box{-600, 34, 1702, 1066}));
    for (const int dpi : {120, 144, 168, 192}) {
        const Box back = RescaleBox(RescaleBox(at96, 96, dpi), dpi, 96);
        EXPECT_NEAR(back.left, at96.left, 1) << dpi;
        EXPECT_NEAR(back.top, at96.top, 1) << dpi;
        EXPECT_NEAR(back.right, at96.right, 1) << dpi;
        EXPECT_NEAR(back.bottom, at96.bottom, 1) << dpi;
    }
    EXPECT_EQ(RescaleBox(at96, 0, 96), at96);  // no resolution: left as it is
}

TEST(PlacementRules, AtLeastAQuarterMustLieOnTheMonitors)
{
    const Box monitor{0, 0, 1680, 1050};
    struct Case {
        Box rect;
        bool shown;
    };
    const Case cases[] = {
        {{100, 100, 500, 400}, true},          // whole
        {{-200, 0, 200, 400}, true},           // half
        {{-200, -200, 200, 200}, true},        // exactly a quarter
        {{-201, -200, 199, 200}, false},       // just under a quarter
        {{1600, 1000, 2000, 1400}, false},     // a corner only
        {{-20000, -20000, -19400, -19600}, false},  // on no monitor
        {{10, 10, 10, 400}, false},            // no area
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ShownEnough(c.rect, SharedArea(c.rect, monitor)), c.shown)
            << c.rect.left << "," << c.rect.top << "," << c.rect.right << "," << c.rect.bottom;
    }
    // Two monitors side by side share the rectangle between them.
    const Box right{1680, 0, 3360, 1050};
    const Box across{1580, 0, 1780, 100};
    EXPECT_EQ(SharedArea(across, monitor) + SharedArea(across, right), 200 * 100);
}

}  // namespace
