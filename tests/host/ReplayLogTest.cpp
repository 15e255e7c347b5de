#include "host/ReplayLog.h"

#include <gtest/gtest.h>

#include <cmath>
#include <fstream>
#include <iterator>

namespace {

TEST(ReplayLog, ReadsRowsInAnyColumnOrder)
{
    const ReplayParseResult result = ParseReplayLog(
        "\xEF\xBB\xBF# recorded on a test bench\r\n"
        "time, load1, temp0, tjmax, load0, temp1\r\n"
        "\r\n"
        "12:00:00, 80, 45.5, 95, 12, 61.25\r\n"
        "# a comment between rows\n"
        "\"12:00:01\",79.6,-3,0,\"100\",61\n");
    ASSERT_TRUE(result.ok) << result.error;
    const ReplayLog& log = result.log;
    ASSERT_EQ(log.coreCount, 2u);
    ASSERT_EQ(log.RowCount(), 2u);

    SensorSnapshot s;
    log.FillSnapshot(0, s);
    EXPECT_EQ(s.coreCount, 2u);
    EXPECT_EQ(s.tjMax, 95u);
    EXPECT_EQ(s.coreTemperature[0], 45.5f);
    EXPECT_EQ(s.coreTemperature[1], 61.25f);
    EXPECT_EQ(s.coreLoad[0], 12u);
    EXPECT_EQ(s.coreLoad[1], 80u);
    EXPECT_EQ(s.coreLoad[2], 0u);

    log.FillSnapshot(1, s);
    EXPECT_EQ(s.tjMax, 0u);
    EXPECT_EQ(s.coreTemperature[0], -3.0f);
    EXPECT_EQ(s.coreLoad[0], 100u);
    EXPECT_EQ(s.coreLoad[1], 80u);  // 79.6 rounds
}

TEST(ReplayLog, TjMaxDefaultsTo100AndDecimalsKeepTheirFloatValue)
{
    const ReplayParseResult result = ParseReplayLog("temp0,load0\n61.3,5\n");
    ASSERT_TRUE(result.ok) << result.error;
    SensorSnapshot s;
    result.log.FillSnapshot(0, s);
    EXPECT_EQ(s.tjMax, defaultTjMax);
    EXPECT_EQ(s.coreTemperature[0], 61.3f);
}

#ifdef HOST_SAMPLE_CSV
TEST(ReplayLog, TheSampleLogInTheRepositoryParses)
{
    std::ifstream file(HOST_SAMPLE_CSV, std::ios::binary);
    ASSERT_TRUE(file) << HOST_SAMPLE_CSV;
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const ReplayParseResult result = ParseReplayLog(text);
    ASSERT_TRUE(result.ok) << result.error;
    EXPECT_EQ(result.log.coreCount, 4u);
    EXPECT_EQ(result.log.RowCount(), 600u);
    SensorSnapshot s;
    result.log.FillSnapshot(0, s);
    EXPECT_EQ(s.coreTemperature[2], 42.0f);
    EXPECT_EQ(s.coreLoad[3], 10u);
}
#endif

TEST(ReplayLog, ErrorsNameTheLineAndTheColumn)
{
    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"", "line 1: the log has no header line"},
        {"# only a comment\n\n", "line 3: the log has no header line"},
        {"temp0,load0\n", "line 2: the log has a header but no rows"},
        {"temp0,load0,volts\n", "line 1, column 3: unknown column 'volts'"},
        {"temp0,load0,temp0\n", "line 1, column 3 (temp0): this column appears twice"},
        {"time,time,temp0,load0\n", "line 1, column 2 (time): this column appears twice"},
        {"temp0,load1\n", "line 1, column 1 (temp0): core 0 has no load0 column"},
        {"temp0,load0,temp2,load2\n", "line 1: cores are numbered from 0 without gaps, but core 1 has no columns"},
        {"temp256,load256\n", "line 1, column 1 (temp256): core numbers go from 0 to 255"},
        {"time,tjmax\n", "line 1: the header names no tempN or loadN column"},
        {"temp0,load0\n40,10\n41,x\n", "line 3, column 2 (load0): 'x' is not a number"},
        {"temp0,load0\r\n40,10\r\n\r\n41\r\n", "line 4, column 2 (load0): missing value; the row has 1 fields and the header 2"},
        {"temp0,load0\n40,10,\n", "line 2, column 3: extra value; the row has 3 fields and the header 2"},
        {"temp0,load0\n40,101\n", "line 2, column 2 (load0): a load of 101 is outside 0 to 100"},
        {"temp0,load0\n40,-1\n", "line 2, column 2 (load0): a load of -1 is outside 0 to 100"},
        {"temp0,load0\n200.5,1\n", "line 2, column 1 (temp0): a temperature of 200.5 is outside -100 to 200"},
        {"temp0,load0\nnan,1\n", "line 2, column 1 (temp0): 'nan' is not a number"},
        {"temp0,load0\ninf,1\n", "line 2, column 1 (temp0): 'inf' is not a number"},
        {"temp0,load0\n4e1,1\n", "line 2, column 1 (temp0): '4e1' is not a number"},
        {"temp0,load0\n40;5\n", "line 2, column 2 (load0): missing value; the row has 1 fields and the header 2 (fields are separated by commas)"},
        {"temp0,load0\n40,\n", "line 2, column 2 (load0): the load is empty but the temperature is not"},
        {"temp0,load0,temp1,load1\n,,40,5\n", "line 2: core 0 has no reading but core 1 after it has one"},
        {"temp0,load0,tjmax\n40,5,\n", "line 2, column 3 (tjmax): '' is not a number"},
        {"temp0,load0\n1.2.3,5\n", "line 2, column 1 (temp0): '1.2.3' is not a number"},
        {"temp0,load0,tjmax\n40,5,95.5\n", "line 2, column 3 (tjmax): TjMax needs a whole number from 0 to 200, not 95.5"},
        {"temp0,load0,tjmax\n40,5,300\n", "line 2, column 3 (tjmax): TjMax needs a whole number from 0 to 200, not 300"},
    };
    for (const Case& c : cases) {
        const ReplayParseResult result = ParseReplayLog(c.text);
        EXPECT_FALSE(result.ok) << c.text;
        EXPECT_EQ(result.error.rfind(c.expected, 0), 0u) << "got: " << result.error;
        EXPECT_EQ(result.log.RowCount(), 0u);
    }
}

// The plug-in's CsvLog leaves a field empty where the update held no reading: a temperature
// that was not a number, or a core the snapshot no longer reported.
TEST(ReplayLog, EmptyFieldsReplayAsNoReading)
{
    const ReplayParseResult result = ParseReplayLog("time,tjmax,temp0,load0,temp1,load1,temp2,load2\r\n"
                                                    "2026-12-08T12:00:00.000,100,45,12,61,80,50,5\r\n"
                                                    "2026-12-08T12:00:01.000,100,,12,61,80,,\r\n"
                                                    "2026-12-08T12:00:02.000,100,,,,,,\r\n"
                                                    "2026-12-08T12:00:03.000,100,46,13,,7,51,6\r\n");
    ASSERT_TRUE(result.ok) << result.error;
    ASSERT_EQ(result.log.RowCount(), 4u);
    SensorSnapshot s;
    result.log.FillSnapshot(0, s);
    EXPECT_EQ(s.coreCount, 3u);

    result.log.FillSnapshot(1, s);
    EXPECT_EQ(s.coreCount, 2u);
    EXPECT_TRUE(std::isnan(s.coreTemperature[0]));
    EXPECT_EQ(s.coreLoad[0], 12u);
    EXPECT_EQ(s.coreTemperature[1], 61.0f);
    EXPECT_EQ(s.coreTemperature[2], 0.0f);
    EXPECT_EQ(s.coreLoad[2], 0u);

    result.log.FillSnapshot(2, s);
    EXPECT_EQ(s.coreCount, 0u);
    EXPECT_EQ(s.coreTemperature[0], 0.0f);

    result.log.FillSnapshot(3, s);
    EXPECT_EQ(s.coreCount, 3u);
    EXPECT_TRUE(std::isnan(s.coreTemperature[1]));
    EXPECT_EQ(s.coreLoad[1], 7u);
    EXPECT_EQ(s.coreTemperature[2], 51.0f);
}

TEST(ReplayLog, ACutLastLineIsSkippedWithAWarningAndOnlyThat)
{
    const std::string whole = "time,tjmax,temp0,load0,temp1,load1\r\n"
                              "2026-12-08T12:00:00.000,100,45,12,61,80\r\n";
    // Where a killed writer may stop inside a line.
    const struct {
        const char* tail;
        size_t rows;
        bool warned;
    } cases[] = {
        {"", 1, false},
        {"2026-12-08T12:00:00.5", 1, true},
        {"2026-12-08T12:00:00.500,100,46,", 1, true},
        {"2026-12-08T12:00:00.500,100,46,13,62,-", 1, true},
        {"2026-12-08T12:00:00.500,100,46,13,62,81\r", 2, false},  // whole but for its line feed
        {"2026-12-08T12:00:00.500,100,46,13,62,81", 2, false},
    };
    for (const auto& c : cases) {
        const ReplayParseResult result = ParseReplayLog(whole + c.tail);
        ASSERT_TRUE(result.ok) << c.tail << ": " << result.error;
        EXPECT_EQ(result.log.RowCount(), c.rows) << c.tail;
        EXPECT_EQ(result.log.temperatures.size(), c.rows * 2) << c.tail;
        EXPECT_EQ(!result.warning.empty(), c.warned) << c.tail;
        if (c.warned) {
            EXPECT_NE(result.warning.find("line 3"), std::string::npos) << result.warning;
        }
    }

    // The same faults before the last line, or with a line end after them, stay errors.
    for (const char* bad : {"2026-12-08T12:00:00.500,100,46,\r\n", "2026-12-08T12:00:00.500,100,46,13,62,-\r\n",
                            "2026-12-08T12:00:00.500,100,46,\r\n2026-12-08T12:00:01.000,100,46,13,62,81"}) {
        const ReplayParseResult result = ParseReplayLog(whole + bad);
        EXPECT_FALSE(result.ok) << bad;
        EXPECT_NE(result.error.find("line 3"), std::string::npos) << result.error;
    }
    // A header and nothing but a cut line leaves no rows: that is still an error.
    EXPECT_FALSE(ParseReplayLog("time,tjmax,temp0,load0\r\n2026-12-08T12:00").ok);
}

TEST(ReplayLog, LongBadFieldsAreShortenedInTheMessage)
{
    const ReplayParseResult result = ParseReplayLog("temp0,load0\n" + std::string(5000, 'z') + ",1\n");
    ASSERT_FALSE(result.ok);
    EXPECT_LT(result.error.size(), 120u);
}

// The message goes to a console: control bytes and bytes that are no UTF-8 show as \xNN,
// well-formed UTF-8 text stays as it is, and shortening never cuts a character in two.
TEST(ReplayLog, BadFieldsAreQuotedAsPrintableText)
{
    struct Case {
        std::string field;
        std::string quoted;
    };
    const Case cases[] = {
        {std::string("4\0" "2", 3), "'4\\x002'"},
        {"\x1B[31mred", "'\\x1B[31mred'"},
        {"tab\there", "'tab\\x09here'"},
        {"del\x7F", "'del\\x7F'"},
        {"\xFF\xFE", "'\\xFF\\xFE'"},
        {"caf\xC3\xA9", "'caf\xC3\xA9'"},                       // U+00E9, kept
        {"\xE2\x82\xAC" "5", "'\xE2\x82\xAC" "5'"},             // U+20AC, kept
        {"\xF0\x9F\x94\xA5", "'\xF0\x9F\x94\xA5'"},               // U+1F525, kept
        {"\xC3" "x", "'\\xC3x'"},                                 // lead byte without its tail
        {"\xE2\x82", "'\\xE2\\x82'"},                            // cut at the end of the field
        {"\xC0\xAF", "'\\xC0\\xAF'"},                            // overlong '/'
        {"\xED\xA0\x80", "'\\xED\\xA0\\x80'"},                  // a UTF-16 surrogate
        {"\xF4\x90\x80\x80", "'\\xF4\\x90\\x80\\x80'"},        // above U+10FFFF
        {"\xC2\x85", "'\\xC2\\x85'"},                            // U+0085, a C1 control
    };
    for (const Case& c : cases) {
        const ReplayParseResult result = ParseReplayLog("temp0,load0\n" + c.field + ",1\n");
        ASSERT_FALSE(result.ok);
        EXPECT_EQ(result.error, "line 2, column 1 (temp0): " + c.quoted + " is not a number") << c.field;
    }
    // The header's unknown column goes through the same quoting.
    const ReplayParseResult header = ParseReplayLog(std::string("temp0,load0,v\0lts\n1,1\n", 22));
    EXPECT_EQ(header.error.rfind("line 1, column 3: unknown column 'v\\x00lts'", 0), 0u) << header.error;

    // Forty characters are shown, whole: 39 letters and a euro sign, then "...".
    const std::string euro = "\xE2\x82\xAC";
    const ReplayParseResult longField = ParseReplayLog("temp0,load0\n" + std::string(39, 'z') + euro + euro + ",1\n");
    EXPECT_EQ(longField.error, "line 2, column 1 (temp0): '" + std::string(39, 'z') + euro + "...' is not a number");
    const ReplayParseResult longNul = ParseReplayLog("temp0,load0\n" + std::string(50, '\0') + ",1\n");
    std::string escaped;
    for (int i = 0; i < 40; ++i)
        escaped += "\\x00";
    EXPECT_EQ(longNul.error, "line 2, column 1 (temp0): '" + escaped + "...' is not a number");
}

}  // namespace
