#include "core/TextFormat.h"

#include <gtest/gtest.h>

#include <climits>
#include <string>

namespace {

std::u16string ValueText(int32_t value, const char16_t* unit, size_t capacity = 41)
{
    char16_t out[41];
    textformat::FormatValueText(value, unit, out, capacity);
    return out;
}

std::u16string MutexName(const char16_t* title, uint64_t address, size_t capacity = 57)
{
    char16_t out[57];
    textformat::FormatMutexName(title, address, out, capacity);
    return out;
}

TEST(PaneText, ValueLabels)
{
    struct Case {
        int32_t value;
        const char16_t* unit;
        std::u16string text;
    };
    for (const Case& c : {Case{150, u"C\u00B0", u"150C\u00B0"}, Case{0, u"%", u"0%"}, Case{-20, u"C\u00B0", u"-20C\u00B0"},
                          Case{INT_MAX, u"%", u"2147483647%"}, Case{INT_MIN, u"%", u"-2147483648%"},
                          Case{7, u"", u"7"}}) {
        EXPECT_EQ(ValueText(c.value, c.unit), c.text);
    }
    // A short buffer gets a cut, terminated text.
    EXPECT_EQ(ValueText(12345, u"%", 4), u"123");
    EXPECT_EQ(ValueText(12, u"C\u00B0", 4), u"12C");
}

TEST(PaneText, MutexNameIsTitleAndUppercaseAddress)
{
    EXPECT_EQ(MutexName(u"Core #0", 0x1A2Bu), u"Core #01A2B");
    EXPECT_EQ(MutexName(u"Core #0", 0), u"Core #00");
    EXPECT_EQ(MutexName(u"", 0xFFFFFFFFFFFFFFFFull), u"FFFFFFFFFFFFFFFF");
    EXPECT_NE(MutexName(u"Core #1", 0x10000), MutexName(u"Core #1", 0x20000));

    // Forty title characters and sixteen digits fill the 57-character buffer exactly.
    const std::u16string title(40, u'x');
    const std::u16string name = MutexName(title.c_str(), 0x123456789ABCDEF0ull);
    EXPECT_EQ(name, title + u"123456789ABCDEF0");
    EXPECT_EQ(name.size(), 56u);
}

TEST(PaneText, CopyStopsAtTerminatorOrCapacity)
{
    char16_t unit[3];
    EXPECT_EQ(textformat::CopyText(u"C\u00B0", unit, 3), 2u);
    EXPECT_EQ(std::u16string(unit), u"C\u00B0");
    EXPECT_EQ(textformat::CopyText(u"abcdef", unit, 3), 2u);
    EXPECT_EQ(std::u16string(unit), u"ab");
    EXPECT_EQ(textformat::CopyText(static_cast<const char16_t*>(nullptr), unit, 3), 0u);
    EXPECT_EQ(unit[0], u'\0');
}

}  // namespace
