#include "core/CsvLogFormat.h"

#include <gtest/gtest.h>

#include <limits>

namespace {

constexpr LogClockTime lateInTheYear{2026, 12, 8, 9, 5, 7, 42};

TEST(CsvLogFormat, FileNamesCarryTheDateAndFromTheSecondOnANumber)
{
    EXPECT_EQ(CsvLogFileName(lateInTheYear, 1), L"Vaderur log 2026-12-08.csv");
    EXPECT_EQ(CsvLogFileName(lateInTheYear, 2), L"Vaderur log 2026-12-08 (2).csv");
    EXPECT_EQ(CsvLogFileName({987, 1, 31, 0, 0, 0, 0}, 100), L"Vaderur log 0987-01-31 (100).csv");
}

TEST(CsvLogFormat, HeaderNamesEveryCoreFromZeroUp)
{
    EXPECT_EQ(CsvLogHeader(0), "time,tjmax\r\n");
    EXPECT_EQ(CsvLogHeader(2), "time,tjmax,temp0,load0,temp1,load1\r\n");
    const std::string wide = CsvLogHeader(256);
    const std::string last = ",temp255,load255\r\n";
    ASSERT_GT(wide.size(), last.size());
    EXPECT_EQ(wide.substr(wide.size() - last.size()), last);
    EXPECT_NE(wide.find(",temp9,load9,temp10,load10,"), std::string::npos);
}

UpdateRecord Record(uint32_t tjMax, uint32_t panes, uint32_t reported, const int32_t* temperatures,
                    const int32_t* loads, const float* sensor = nullptr)
{
    UpdateRecord update;
    update.tjMax = tjMax;
    update.paneCount = panes;
    update.reportedCores = reported;
    update.temperatures = temperatures;
    update.loads = loads;
    update.sensorTemperatures = sensor;
    return update;
}

TEST(CsvLogFormat, LinesHoldTheTimeTjMaxAndEachCoresWholeValues)
{
    std::string line = "left over from the previous update";
    const int32_t temperatures[] = {45, -3, 2147483647};
    const int32_t loads[] = {0, 100, 7};
    FormatCsvLogLine(line, lateInTheYear, Record(95, 3, 3, temperatures, loads), 3);
    EXPECT_EQ(line, "2026-12-08T09:05:07.042,95,45,0,-3,100,2147483647,7\r\n");

    FormatCsvLogLine(line, {2027, 1, 1, 23, 59, 59, 999}, Record(0, 0, 0, temperatures, loads), 0);
    EXPECT_EQ(line, "2027-01-01T23:59:59.999,0\r\n");
}

// The panes keep taking what the snapshot buffer holds for a core it no longer reports, and
// store 0 for a NaN: neither is a reading, so the log leaves the field empty.
TEST(CsvLogFormat, FieldsWithoutAReadingAreEmpty)
{
    const float inf = std::numeric_limits<float>::infinity();
    const float nan = std::numeric_limits<float>::quiet_NaN();
    const int32_t temperatures[] = {45, 0, 2147483647, -2147483647 - 1, 50};
    const int32_t loads[] = {10, 20, 30, 40, 50};
    const float sensor[] = {45.5f, nan, inf, -inf, 50.0f};
    std::string line;
    const struct {
        const char* what;
        UpdateRecord update;
        const char* fields;
    } cases[] = {
        {"every core reported", Record(95, 5, 5, temperatures, loads, sensor), "45,10,,20,,30,,40,50,50"},
        {"two cores reported", Record(95, 5, 2, temperatures, loads, sensor), "45,10,,20,,,,,,"},
        {"no core reported", Record(95, 5, 0, temperatures, loads, sensor), ",,,,,,,,,"},
        {"more reported than panes", Record(95, 3, 9, temperatures, loads, sensor), "45,10,,20,,30,,,,"},
        {"no sensor values given", Record(95, 5, 5, temperatures, loads), "45,10,0,20,2147483647,30,-2147483648,40,50,50"},
    };
    for (const auto& c : cases) {
        FormatCsvLogLine(line, lateInTheYear, c.update, 5);
        EXPECT_EQ(line, std::string("2026-12-08T09:05:07.042,95,") + c.fields + "\r\n") << c.what;
    }
}

TEST(CsvLogFormat, SameDateIgnoresTheTimeOfDay)
{
    EXPECT_TRUE(SameDate(lateInTheYear, {2026, 12, 8, 23, 59, 59, 999}));
    EXPECT_FALSE(SameDate(lateInTheYear, {2026, 12, 9, 9, 5, 7, 42}));
    EXPECT_FALSE(SameDate(lateInTheYear, {2026, 11, 8, 9, 5, 7, 42}));
    EXPECT_FALSE(SameDate(lateInTheYear, {2025, 12, 8, 9, 5, 7, 42}));
}

TEST(CsvLogFormat, OnlyAFileWithTheSameHeaderAndWholeLinesIsAppendedTo)
{
    const std::string header = CsvLogHeader(2);
    const std::string row = "2026-12-08T09:05:07.042,95,45,0,-3,100\r\n";
    const auto classify = [](const std::string& file, uint32_t cores) {
        return ClassifyExistingLog(std::string_view(file).substr(0, CsvLogHeader(cores).size()), file.size(),
                                   std::string_view(file).substr(file.size() < 2 ? 0 : file.size() - 2), cores);
    };
    const struct {
        std::string file;
        uint32_t cores;
        ExistingLog expected;
    } cases[] = {
        {"", 2, ExistingLog::Empty},
        {header, 2, ExistingLog::Appendable},
        {header + row + row, 2, ExistingLog::Appendable},
        {header + row, 3, ExistingLog::Taken},                        // another core count
        {header + row, 1, ExistingLog::Taken},                        // its header is a prefix of ours
        {header + row.substr(0, 20), 2, ExistingLog::Taken},          // cut last line
        {header.substr(0, 10), 2, ExistingLog::Taken},                // cut header
        {"time,tjmax,temp0,load0,temp1,load1\n", 2, ExistingLog::Taken},  // other line ends
        {"x", 2, ExistingLog::Taken},
        {"some other program's notes\r\n", 2, ExistingLog::Taken},
    };
    for (const auto& c : cases)
        EXPECT_EQ(classify(c.file, c.cores), c.expected) << c.file << " / " << c.cores;
}

}  // namespace
