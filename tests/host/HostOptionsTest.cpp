#include "host/HostOptions.h"

#include <gtest/gtest.h>

namespace {

OptionsResult Parse(std::vector<std::wstring> args)
{
    return ParseHostOptions(args);
}

TEST(HostOptions, DefaultsRunTheSystemSourceOncePerSecondUntilClosed)
{
    const OptionsResult result = Parse({});
    ASSERT_TRUE(result.ok);
    EXPECT_EQ(result.options.source, SourceKind::System);
    EXPECT_EQ(result.options.intervalMs, 1000u);
    EXPECT_EQ(result.options.updates, 0u);
    EXPECT_TRUE(result.options.pluginPath.empty());
    EXPECT_FALSE(result.options.exportPngs);
    EXPECT_FALSE(result.options.fast);
}

TEST(HostOptions, ReadsEveryOptionInBothSpellings)
{
    const OptionsResult result =
        Parse({L"--plugin", L"C:\\p\\Vaderur.dll", L"--source", L"replay", L"log.csv", L"--interval=250",
               L"--updates", L"30", L"--fast", L"--export", L"--export-timeout=5000", L"--screenshot", L"shot.png",
               L"--hold", L"2500"});
    ASSERT_TRUE(result.ok) << result.error.size();
    const HostOptions& o = result.options;
    EXPECT_EQ(o.pluginPath, L"C:\\p\\Vaderur.dll");
    EXPECT_EQ(o.source, SourceKind::Replay);
    EXPECT_EQ(o.replayFile, L"log.csv");
    EXPECT_EQ(o.intervalMs, 250u);
    EXPECT_EQ(o.updates, 30u);
    EXPECT_TRUE(o.fast);
    EXPECT_TRUE(o.exportPngs);
    EXPECT_EQ(o.exportTimeoutMs, 5000u);
    EXPECT_EQ(o.screenshotFile, L"shot.png");
    EXPECT_EQ(o.holdMs, 2500u);

    const OptionsResult synthetic = Parse({L"--source=synthetic", L"--cores", L"256", L"--no-plugin"});
    ASSERT_TRUE(synthetic.ok);
    EXPECT_EQ(synthetic.options.source, SourceKind::Synthetic);
    EXPECT_EQ(synthetic.options.cores, 256u);
    EXPECT_TRUE(synthetic.options.withoutPlugin);
}

TEST(HostOptions, HelpWinsOverEverythingElse)
{
    for (const wchar_t* spelling : {L"--help", L"-h", L"/?"}) {
        const OptionsResult result = Parse({L"--cores", L"8", spelling});
        EXPECT_TRUE(result.ok);
        EXPECT_TRUE(result.options.help);
    }
    EXPECT_NE(HostUsageText().find(L"--source replay FILE"), std::wstring::npos);
}

TEST(HostOptions, RefusesBadCommandLinesNamingTheOption)
{
    struct Case {
        std::vector<std::wstring> args;
        const wchar_t* mentioned;
    };
    const Case cases[] = {
        {{L"--bogus"}, L"'--bogus'"},
        {{L"stray"}, L"'stray'"},
        {{L"--interval"}, L"--interval"},
        {{L"--interval", L"9"}, L"'9'"},
        {{L"--interval", L"-5"}, L"'-5'"},
        {{L"--interval", L"1e3"}, L"'1e3'"},
        {{L"--interval", L"99999999999"}, L"--interval"},
        {{L"--updates", L"4294967296"}, L"--updates"},
        {{L"--updates", L""}, L"--updates"},
        {{L"--source", L"synthetic", L"--cores", L"0"}, L"--cores"},
        {{L"--source", L"synthetic", L"--cores", L"257"}, L"'257'"},
        {{L"--cores", L"8"}, L"synthetic source only"},
        {{L"--source"}, L"--source"},
        {{L"--source", L"sensors"}, L"'sensors'"},
        {{L"--source", L"replay"}, L"CSV file"},
        {{L"--source", L"replay", L"--fast"}, L"CSV file"},
        {{L"--plugin"}, L"--plugin"},
        {{L"--screenshot="}, L"--screenshot"},
        {{L"--export=yes"}, L"--export takes no value"},
        {{L"--fast"}, L"--fast"},
        {{L"--source", L"synthetic", L"--fast"}, L"--updates"},
        {{L"--no-plugin", L"--export"}, L"--no-plugin"},
        {{L"--export-timeout", L"50"}, L"--export-timeout"},
        {{L"--hold", L"3600001"}, L"--hold"},
    };
    for (const Case& c : cases) {
        const OptionsResult result = Parse(c.args);
        EXPECT_FALSE(result.ok) << c.mentioned;
        EXPECT_NE(result.error.find(c.mentioned), std::wstring::npos) << c.mentioned;
    }
}

}  // namespace
