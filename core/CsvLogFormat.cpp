#include "core/CsvLogFormat.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace {

void AppendDigits(std::string& text, uint32_t value, int width)
{
    char digits[10];
    for (int i = width - 1; i >= 0; --i) {
        digits[i] = static_cast<char>('0' + value % 10);
        value /= 10;
    }
    text.append(digits, static_cast<size_t>(width));
}

void AppendNumber(std::string& text, int64_t value)
{
    char digits[24];
    const auto written = std::to_chars(digits, digits + sizeof digits, value);
    text.append(digits, written.ptr);
}

void AppendDate(std::string& text, const LogClockTime& time)
{
    AppendDigits(text, time.year, 4);
    text.push_back('-');
    AppendDigits(text, time.month, 2);
    text.push_back('-');
    AppendDigits(text, time.day, 2);
}

}  // namespace

bool SameDate(const LogClockTime& a, const LogClockTime& b)
{
    return a.year == b.year && a.month == b.month && a.day == b.day;
}

std::wstring CsvLogFileName(const LogClockTime& date, uint32_t number)
{
    std::string name = "Vaderur log ";
    AppendDate(name, date);
    if (number >= 2) {
        name += " (";
        AppendNumber(name, number);
        name += ")";
    }
    name += ".csv";
    return std::wstring(name.begin(), name.end());
}

std::string CsvLogHeader(uint32_t coreCount)
{
    std::string header = "time,tjmax";
    for (uint32_t core = 0; core < coreCount; ++core) {
        header += ",temp";
        AppendNumber(header, core);
        header += ",load";
        AppendNumber(header, core);
    }
    header += "\r\n";
    return header;
}

void FormatCsvLogLine(std::string& line, const LogClockTime& time, const UpdateRecord& update, uint32_t coreCount)
{
    line.clear();
    AppendDate(line, time);
    line.push_back('T');
    AppendDigits(line, time.hour, 2);
    line.push_back(':');
    AppendDigits(line, time.minute, 2);
    line.push_back(':');
    AppendDigits(line, time.second, 2);
    line.push_back('.');
    AppendDigits(line, time.millisecond, 3);
    line.push_back(',');
    AppendNumber(line, update.tjMax);
    const uint32_t reported = std::min(update.reportedCores, update.paneCount);
    for (uint32_t core = 0; core < coreCount; ++core) {
        line.push_back(',');
        if (core >= reported) {
            line.push_back(',');
            continue;
        }
        if (!update.sensorTemperatures || std::isfinite(update.sensorTemperatures[core]))
            AppendNumber(line, update.temperatures[core]);
        line.push_back(',');
        AppendNumber(line, update.loads[core]);
    }
    line += "\r\n";
}

ExistingLog ClassifyExistingLog(std::string_view start, uint64_t size, std::string_view ending, uint32_t coreCount)
{
    if (size == 0)
        return ExistingLog::Empty;
    const std::string header = CsvLogHeader(coreCount);
    if (start.substr(0, header.size()) != header)
        return ExistingLog::Taken;
    if (ending.size() < 2 || ending.substr(ending.size() - 2) != "\r\n")
        return ExistingLog::Taken;
    return ExistingLog::Appendable;
}
