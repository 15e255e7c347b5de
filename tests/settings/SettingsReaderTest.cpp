#include "settings/IniText.h"
#include "settings/SettingsParsing.h"
#include "settings/SettingsReader.h"
#include "ScratchFolder.h"

#include <cstring>
#include <filesystem>

namespace {

const std::string settingsFile = IniText::fileName;

// The TjMax of the latest snapshot, as the window hands it to ReadSettings.
uint32_t latestTjMax = 0;
void SetTjMax(uint32_t tjMax) { latestTjMax = tjMax; }

class SettingsRead : public ScratchFolder {
protected:
    // Writes the file, reads it with the given TjMax and returns the record and the options.
    std::unique_ptr<GraphSettings> ReadFrom(const std::string& bytes, uint32_t tjMax = 0)
    {
        WriteFile(settingsFile, bytes);
        SetTjMax(tjMax);
        std::memset(&options, 0xCD, sizeof options);
        return ReadSettings(&options, latestTjMax);
    }

    WindowOptions options{};
};

TEST_F(SettingsRead, MissingFileIsCreatedWithTheDefaultTextAndRead)
{
    SetTjMax(0);
    WindowOptions options;
    std::memset(&options, 0xCD, sizeof options);
    const std::unique_ptr<GraphSettings> s = ReadSettings(&options, latestTjMax);

    EXPECT_EQ(ReadFile(settingsFile),
              "[Zentrix Vaderur]\r\nGraphWidth=792;\r\nGraphHeight=214;\r\nBGColor=000000;\r\n"
              "FrameColor=00F0F0;\r\nGraphColor=0000F0;\r\nGridColor=00004F;\r\nLoadGraphColor=0x00F000;\r\n"
              "MessageColor=F0F000;\r\nTextColor=FFFFFF;\r\nTitleColor=FFFFFF;\r\nXAxisColor=007070;\r\n"
              "ShowXAxis=1; 0 = Hide X Axis, 1 = Show X Axis.\r\nShowSyatrayIcon=0;\r\nStartMinimized=0;\r\n"
              "RangeMax=0; 0 = Default, uses TjMax value for Intel and 100C for AMD;\r\nRangeMin=0;\r\n\r\n"
              "[General]\r\nPollInterval=1; = in seconds, can use float values.\r\n"
              "LogInterval=0; = in minutes, 0 = off. Must be an integer value.\r\n"
              "Transparency=0; Pick a value between 0 and 255. 0 = no transparency, 255 = full transparency.\r\n"
              "AlwaysOnTop=0; 0 = off, 1 = on.\r\n\r\n");
    EXPECT_EQ(FolderContents(), std::vector<std::string>{settingsFile});

    GraphSettings expected{};
    expected.BGColor = 0x000000;
    expected.FrameColor = 0x00F0F0;
    expected.GraphColor = 0x0000F0;
    expected.GridColor = 0x00004F;
    expected.LoadGraphColor = 0x00F000;
    expected.MessageColor = 0xF0F000;
    expected.TextColor = 0xFFFFFF;
    expected.TitleColor = 0xFFFFFF;
    expected.XAxisColor = 0x007070;
    expected.ShowXAxis = true;
    expected.RangeMax = 100;
    expected.Size = 148;
    // Field by field, then the whole record (unit and title texts empty, padding zero).
    EXPECT_EQ(s->BGColor, expected.BGColor);
    EXPECT_EQ(s->FrameColor, expected.FrameColor);
    EXPECT_EQ(s->GraphColor, expected.GraphColor);
    EXPECT_EQ(s->GridColor, expected.GridColor);
    EXPECT_EQ(s->LoadGraphColor, expected.LoadGraphColor);
    EXPECT_EQ(s->MessageColor, expected.MessageColor);
    EXPECT_EQ(s->TextColor, expected.TextColor);
    EXPECT_EQ(s->TitleColor, expected.TitleColor);
    EXPECT_EQ(s->XAxisColor, expected.XAxisColor);
    EXPECT_TRUE(s->ShowXAxis);
    EXPECT_FALSE(s->ShowSyatrayIcon);
    EXPECT_FALSE(s->StartMinimized);
    EXPECT_EQ(s->RangeMin, 0);
    EXPECT_EQ(s->RangeMax, 100);
    EXPECT_EQ(s->Size, 148u);
    EXPECT_EQ(std::memcmp(s.get(), &expected, sizeof expected), 0);

    EXPECT_EQ(options.GraphWidth, 792);
    EXPECT_EQ(options.GraphHeight, 214);
    EXPECT_EQ(options.PollInterval, 1000u);
    EXPECT_EQ(options.LogInterval, 0u);
    EXPECT_EQ(options.Transparency, 0);
    EXPECT_FALSE(options.AlwaysOnTop);

    // The created file is read as it stands from then on.
    EXPECT_EQ(std::memcmp(ReadSettings(nullptr, latestTjMax).get(), &expected, sizeof expected), 0);
}

TEST_F(SettingsRead, RangeMaxIsNeverBelowOneHundred)
{
    struct Case {
        const char* line;
        uint32_t tjMax;
        int32_t rangeMax;
    };
    const Case cases[] = {
        {"RangeMax=0;", 0, 100},     {"RangeMax=0;", 105, 105},  {"RangeMax=0;", 90, 100},
        {"RangeMax=80;", 0, 100},    {"RangeMax=150;", 0, 150},  {"RangeMax=-5;", 0, 100},
        {"RangeMax=150;", 90, 150},  {"RangeMax=80;", 120, 100}, {"RangeMax=abc;", 110, 110},
        {"RangeMax=;", 95, 100},     {"X=1;", 120, 120},         {"RangeMax=0;", 0x80000000u, 100},
        {"RangeMax=99999999999;", 0, 2147483647},
    };
    for (const Case& c : cases) {
        const auto s = ReadFrom(std::string("[h]\r\n") + c.line + "\r\nRangeMin=-20;\r\n", c.tjMax);
        EXPECT_EQ(s->RangeMax, c.rangeMax) << c.line << " TjMax " << c.tjMax;
        EXPECT_EQ(s->RangeMin, -20) << c.line;
    }
}

TEST(FindValue, FollowsTheLineAndTokenRules)
{
    struct Case {
        const char* rule;
        std::optional<std::u16string> text;
        const char16_t* key;
        std::optional<std::u16string> value;
    };
    const std::optional<std::u16string> none;
    const Case cases[] = {
        {"key case is ignored", u"[h]\nbgcolor=FF0000;", u"BGColor", u"FF0000"},
        {"wanted key case is ignored", u"[h]\nGRAPHWIDTH=9;", u"graphWidth", u"9"},
        {"the earlier line wins", u"[h]\nBGColor=1;\nBGColor=2;", u"BGColor", u"1"},
        {"an earlier line without a value decides", u"[h]\nBGColor=;\nBGColor=2;", u"BGColor", none},
        {"an empty value borrows the next token", u"[h]\nBGColor=; 12", u"BGColor", u" 12"},
        {"a space before = makes another key", u"[h]\nBGColor =FFFFFF;", u"BGColor", none},
        {"a space before the key makes another key", u"[h]\n BGColor=FFFFFF;", u"BGColor", none},
        {"a space after = stays in the value", u"[h]\nBGColor= FFFFFF;", u"BGColor", u" FFFFFF"},
        {"the first line is never examined", u"GraphWidth=500;\n", u"GraphWidth", none},
        {"empty lines vanish before the first line", u"\n\nGraphWidth=500;\nGraphWidth=600;", u"GraphWidth", u"600"},
        {"sections carry no meaning", u"[a]\nX=1;\n\n[General]\nGraphWidth=5;", u"GraphWidth", u"5"},
        {"comment and header lines are passed over", u"[h]\n;GraphWidth=5;\n[GraphWidth=6;\nGraphWidth=7;",
         u"GraphWidth", u"7"},
        {"a line without a key token is passed over", u"[h]\n==;;\n;\nGraphWidth=7;", u"GraphWidth", u"7"},
        {"runs of separators split tokens", u"[h]\n===GraphWidth===8;;;x", u"GraphWidth", u"8"},
        {"further tokens are comment", u"[h]\nPollInterval=1; = in seconds", u"PollInterval", u"1"},
        {"a key alone has no value", u"[h]\nGraphWidth", u"GraphWidth", none},
        {"a key only at the start of a token", u"[h]\nMyGraphWidth=3;", u"GraphWidth", none},
        {"no text", none, u"GraphWidth", none},
        {"empty text", u"", u"GraphWidth", none},
        {"only line feeds", u"\n\n\n", u"GraphWidth", none},
    };
    for (const Case& c : cases)
        EXPECT_EQ(FindValue(c.text, c.key), c.value) << c.rule;
}

TEST(ValueConversion, DecimalSaturatesAtTheSigned32BitEnds)
{
    const std::pair<const char16_t*, int32_t> cases[] = {
        {u"2", 2},
        {u"-1", -1},
        {u"yes", 0},
        {u"", 0},
        {u" \t+42abc", 42},
        {u"- 5", 0},
        {u"+-5", 0},
        {u"0x10", 0},
        {u"007", 7},
        {u"2147483647", 2147483647},
        {u"2147483648", 2147483647},
        {u"-2147483648", -2147483647 - 1},
        {u"-2147483649", -2147483647 - 1},
        {u"99999999999999999999999", 2147483647},
        {u"-99999999999999999999999", -2147483647 - 1},
    };
    for (const auto& [text, number] : cases)
        EXPECT_EQ(ParseDecimal(text), number) << Narrow(text);
}

TEST(ValueConversion, HexadecimalColours)
{
    const std::pair<const char16_t*, uint32_t> cases[] = {
        {u"0000F0", 0x0000F0u},
        {u"00f0f0", 0x00F0F0u},
        {u"0x00F000", 0x00F000u},
        {u"0X1f", 0x1Fu},
        {u"#FF0000", 0u},
        {u"", 0u},
        {u"0x", 0u},
        {u"0xg", 0u},
        {u" \t+A", 0xAu},
        {u"12 34", 0x12u},
        {u"FFFFFFFF", 0xFFFFFFFFu},
        {u"1FFFFFFFF", 0xFFFFFFFFu},
        {u"123456789ABCDEF0123", 0xFFFFFFFFu},
        {u"000000000000000000001", 1u},
        {u"-1", 0xFFFFFFFFu},
        {u"-0x10", 0xFFFFFFF0u},
        {u"-1FFFFFFFF", 0xFFFFFFFFu},
    };
    for (const auto& [text, colour] : cases)
        EXPECT_EQ(ParseHexadecimal(text), colour) << Narrow(text);
}

TEST(ValueConversion, PollIntervalSecondsToTruncatedMilliseconds)
{
    const std::pair<const char16_t*, uint32_t> cases[] = {
        {u"1", 1000u},
        {u"0.5", 500u},
        {u"2.0009", 2000u},
        {u"1e10", 4294967294u},
        {u".5", 500u},
        {u"5.", 5000u},
        {u"000.250", 250u},
        {u"1.5e-3", 1u},
        {u"2E+1", 20000u},
        {u"0.0001", 0u},
        {u"0.001", 1u},
        {u"4294967.293", 4294967293u},
        {u"4294967.294", 4294967294u},
        {u"4294967.2959", 4294967294u},
        {u"1e999999999999999999", 4294967294u},
        {u"1e-999999999999999999", 0u},
        {u"1e", 1000u},
        {u"1e+", 1000u},
        {u" 3x", 3000u},
        {u"1,5", 1000u},
        {u"0", 0u},
        {u".", 0u},
        {u"abc", 0u},
        {u"nan", 0u},
        {u"inf", 0u},
        {u"-1", 0u},
    };
    for (const auto& [text, milliseconds] : cases)
        EXPECT_EQ(PollIntervalFromSeconds(text), milliseconds) << Narrow(text);
}

TEST(ValueConversion, LogIntervalNeverWrapsIntoAShortPeriod)
{
    const std::pair<int32_t, uint32_t> cases[] = {
        {5, 300000u},
        {0, 0u},
        {-5, 0u},
        {-2147483647 - 1, 0u},
        {35791, 2147460000u},
        {35792, longestTimerPeriodMs},
        {71583, longestTimerPeriodMs},  // would wrap to 12704 ms in 32 bits
        {2147483647, longestTimerPeriodMs},
    };
    for (const auto& [minutes, milliseconds] : cases)
        EXPECT_EQ(LogIntervalFromMinutes(minutes), milliseconds) << minutes;
}

TEST_F(SettingsRead, ConvertsEachKindOfValue)
{
    const auto s = ReadFrom(
        "[Zentrix Vaderur]\r\nShowXAxis=2;\r\nShowSyatrayIcon=-1;\r\nStartMinimized=yes;\r\n"
        "GraphColor=#FF0000;\r\nGridColor=1FFFFFFFF;\r\nbgcolor=FF0000;\r\nFrameColor= 0x12;\r\n"
        "[General]\r\nPollInterval=2.0009;\r\nLogInterval=71583;\r\nGraphWidth=500;\r\nGraphHeight=-3;\r\n"
        "Transparency=300;\r\nalwaysontop=1;\r\n");
    EXPECT_TRUE(s->ShowXAxis);
    EXPECT_TRUE(s->ShowSyatrayIcon);
    EXPECT_FALSE(s->StartMinimized);
    EXPECT_EQ(s->GraphColor, 0u);
    EXPECT_EQ(s->GridColor, 0xFFFFFFFFu);
    EXPECT_EQ(s->BGColor, 0xFF0000u);  // blue
    EXPECT_EQ(s->FrameColor, 0x12u);
    EXPECT_EQ(s->LoadGraphColor, 0u);
    EXPECT_EQ(options.PollInterval, 2000u);
    EXPECT_EQ(options.LogInterval, longestTimerPeriodMs);
    EXPECT_EQ(options.GraphWidth, 500);
    EXPECT_EQ(options.GraphHeight, -3);
    EXPECT_EQ(options.Transparency, 300);
    EXPECT_TRUE(options.AlwaysOnTop);
}

TEST_F(SettingsRead, CsvLogIsOffUnlessTheKeyTurnsItOn)
{
    const struct {
        const char* line;
        bool on;
    } cases[] = {{"", false}, {"CsvLog=0;\r\n", false}, {"CsvLog=1;\r\n", true},
                 {"csvlog= 2 ;\r\n", true}, {"CsvLog=yes;\r\n", false}, {"CsvLog=;\r\n", false}};
    for (const auto& c : cases) {
        ReadFrom(std::string("[Zentrix Vaderur]\r\n[General]\r\nAlwaysOnTop=1;\r\n") + c.line);
        EXPECT_EQ(options.CsvLog != 0, c.on) << c.line;
        EXPECT_TRUE(options.AlwaysOnTop) << c.line;  // the other options are read beside it
    }
}

TEST_F(SettingsRead, HoverReadoutIsOnUnlessTheKeyTurnsItOff)
{
    const struct {
        const char* line;
        bool on;
    } cases[] = {{"", true},  {"HoverReadout=1;\r\n", true}, {"hoverreadout= 0 ;\r\n", false},
                 {"HoverReadout=0;\r\nHoverReadout=1;\r\n", false},
                 {"HoverReadout=;\r\n", true},  // a key without a value is absent
                 {"; HoverReadout=0;\r\n", true}};
    for (const auto& c : cases) {
        ReadFrom(std::string("[Zentrix Vaderur]\r\n[General]\r\nCsvLog=1;\r\n") + c.line);
        EXPECT_EQ(options.HoverReadout, c.on ? 1 : 0) << c.line;
        EXPECT_EQ(options.CsvLog, 1) << c.line;  // the other options are read beside it
    }
}

TEST_F(SettingsRead, EmptyOrUnreadableFileGivesEveryKeyAbsentAndIsKept)
{
    GraphSettings absent{};
    absent.RangeMax = 105;
    absent.Size = 148;
    WindowOptions noOptions{};
    noOptions.HoverReadout = 1;  // on unless the file turns it off

    auto s = ReadFrom("", 105);
    EXPECT_EQ(std::memcmp(s.get(), &absent, sizeof absent), 0);
    EXPECT_EQ(std::memcmp(&options, &noOptions, sizeof options), 0);
    EXPECT_EQ(ReadFile(settingsFile), "");

    // A folder in the file's place can be neither read nor replaced.
    std::filesystem::remove(settingsFile);
    std::filesystem::create_directory(settingsFile);
    s = ReadSettings(&options, latestTjMax);
    EXPECT_EQ(std::memcmp(s.get(), &absent, sizeof absent), 0);
    EXPECT_EQ(std::memcmp(&options, &noOptions, sizeof options), 0);
    EXPECT_TRUE(std::filesystem::is_directory(settingsFile));
    EXPECT_EQ(FolderContents(), std::vector<std::string>{settingsFile});
}

TEST_F(SettingsRead, LargeFileWithByteOrderMarkAndLongComments)
{
    std::string bytes = "\xEF\xBB\xBF[Zentrix Vaderur]\r\n";
    for (int line = 0; line < 80; ++line)
        bytes += "; " + std::string(120, 'c') + " GraphWidth=1;\r\n";
    bytes += "GraphWidth=640;" + std::string(300, ' ') + "\r\n[General]\nBGColor=ABCDEF;\r\n";
    ASSERT_GT(bytes.size(), 8000u);
    const auto s = ReadFrom(bytes);
    EXPECT_EQ(options.GraphWidth, 640);
    EXPECT_EQ(s->BGColor, 0xABCDEFu);
}

TEST_F(SettingsRead, TrayTemperatureIsOnOnlyWhenAskedFor)
{
    const struct {
        const char* line;
        bool on;
    } cases[] = {
        {"", false},  // absent: the tray keeps icon 129
        {"TrayTemperature=0;\r\n", false},
        {"TrayTemperature=1;\r\n", true},
        {"traytemperature=1;\r\n", true},
        {"TrayTemperature=yes;\r\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.line);
        ReadFrom(std::string("[Zentrix Vaderur]\r\nGraphWidth=640;\r\n") + c.line);
        EXPECT_EQ(options.TrayTemperature, c.on);
        EXPECT_EQ(options.GraphWidth, 640);
    }
}

}  // namespace
