#include "settings/SettingsParsing.h"

#include "settings/SettingsReader.h"

#include <limits>

namespace {

constexpr char16_t lineFeed = u'\n';

bool IsWhiteSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

bool IsDecimalDigit(char16_t c)
{
    return c >= u'0' && c <= u'9';
}

int HexadecimalDigit(char16_t c)
{
    if (IsDecimalDigit(c))
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Skips leading white space and a sign; returns whether the sign was "-".
bool SkipSpaceAndSign(std::u16string_view value, size_t& i)
{
    while (i < value.size() && IsWhiteSpace(value[i]))
        ++i;
    if (i < value.size() && (value[i] == u'+' || value[i] == u'-'))
        return value[i++] == u'-';
    return false;
}

bool IsSeparator(char16_t c)
{
    return c == u'=' || c == u';';
}

// The next run of characters other than "=" and ";", or nothing at the end of the line.
std::optional<std::u16string_view> NextToken(std::u16string_view& line)
{
    size_t start = 0;
    while (start < line.size() && IsSeparator(line[start]))
        ++start;
    if (start == line.size()) {
        line = {};
        return std::nullopt;
    }
    size_t end = start;
    while (end < line.size() && !IsSeparator(line[end]))
        ++end;
    const std::u16string_view token = line.substr(start, end - start);
    line.remove_prefix(end);
    return token;
}

char16_t AsciiLower(char16_t c)
{
    return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c;
}

bool EqualIgnoringAsciiCase(std::u16string_view a, std::u16string_view b)
{
    if (a.size() != b.size())
        return false;
    for (size_t i = 0; i < a.size(); ++i) {
        if (AsciiLower(a[i]) != AsciiLower(b[i]))
            return false;
    }
    return true;
}

template <typename Field, typename Convert>
void Read(const std::optional<std::u16string>& text, const char16_t* key, Field& field, Convert convert)
{
    if (std::optional<std::u16string> value = FindValue(text, key))
        field = convert(*value);
}

bool AsFlag(std::u16string_view value)
{
    return ParseDecimal(value) != 0;
}

uint32_t AsLogInterval(std::u16string_view value)
{
    return LogIntervalFromMinutes(ParseDecimal(value));
}

}  // namespace

int32_t ParseDecimal(std::u16string_view value)
{
    size_t i = 0;
    const bool negative = SkipSpaceAndSign(value, i);
    // Counting stops growing just past the largest magnitude that matters.
    constexpr int64_t beyondRange = int64_t{std::numeric_limits<int32_t>::max()} + 2;
    int64_t magnitude = 0;
    for (; i < value.size() && IsDecimalDigit(value[i]); ++i) {
        magnitude = magnitude * 10 + (value[i] - u'0');
        if (magnitude > beyondRange)
            magnitude = beyondRange;
    }
    const int64_t signedValue = negative ? -magnitude : magnitude;
    if (signedValue > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (signedValue < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(signedValue);
}

uint32_t ParseHexadecimal(std::u16string_view value)
{
    size_t i = 0;
    const bool negative = SkipSpaceAndSign(value, i);
    // "0x" counts as a prefix only with a digit after it; otherwise the "0" is the number.
    if (i + 2 < value.size() && value[i] == u'0' && (value[i + 1] == u'x' || value[i + 1] == u'X')
        && HexadecimalDigit(value[i + 2]) >= 0)
        i += 2;
    uint64_t number = 0;
    bool tooLarge = false;
    for (int digit; i < value.size() && (digit = HexadecimalDigit(value[i])) >= 0; ++i) {
        number = number * 16 + static_cast<uint64_t>(digit);
        if (number > std::numeric_limits<uint32_t>::max()) {
            tooLarge = true;
            number = 0;
        }
    }
    if (tooLarge)
        return std::numeric_limits<uint32_t>::max();
    const auto result = static_cast<uint32_t>(number);
    return negative ? 0u - result : result;
}

uint32_t PollIntervalFromSeconds(std::u16string_view value)
{
    constexpr uint32_t longestPoll = 4294967294u;
    constexpr int64_t longestPollDigits = 10;
    // The number is taken exactly as written: its significant digits times a power of ten, so
    // 2.0009 s is 2000 ms and not a rounded binary product.
    size_t i = 0;
    const bool negative = SkipSpaceAndSign(value, i);
    std::u16string leadingDigits;  // the first significant digits, as many as can count
    int64_t significantDigits = 0;
    int64_t exponent = 0;
    bool anyDigit = false;
    auto takeDigit = [&](char16_t digit) {
        anyDigit = true;
        if (significantDigits == 0 && digit == u'0')
            return;
        ++significantDigits;
        if (leadingDigits.size() < static_cast<size_t>(longestPollDigits))
            leadingDigits.push_back(digit);
    };
    for (; i < value.size() && IsDecimalDigit(value[i]); ++i)
        takeDigit(value[i]);
    if (i < value.size() && value[i] == u'.') {
        for (++i; i < value.size() && IsDecimalDigit(value[i]); ++i) {
            takeDigit(value[i]);
            --exponent;
        }
    }
    if (!anyDigit)
        return 0;
    // An exponent counts only with a digit after the "e" and its optional sign.
    if (i + 1 < value.size() && (value[i] == u'e' || value[i] == u'E')) {
        size_t j = i + 1;
        bool negativeExponent = false;
        if (value[j] == u'+' || value[j] == u'-')
            negativeExponent = value[j++] == u'-';
        constexpr int64_t farBeyond = 1000000;
        int64_t written = 0;
        for (; j < value.size() && IsDecimalDigit(value[j]); ++j)
            written = written < farBeyond ? written * 10 + (value[j] - u'0') : farBeyond;
        exponent += negativeExponent ? -written : written;
    }
    if (negative || significantDigits == 0)
        return 0;
    // The milliseconds are the digits times 10^(exponent + 3); keep the whole part.
    const int64_t wholeDigits = significantDigits + exponent + 3;
    if (wholeDigits <= 0)
        return 0;
    if (wholeDigits > longestPollDigits)
        return longestPoll;
    uint64_t milliseconds = 0;
    for (size_t k = 0; k < static_cast<size_t>(wholeDigits); ++k)
        milliseconds = milliseconds * 10 + (k < leadingDigits.size() ? leadingDigits[k] - u'0' : 0);
    return milliseconds >= longestPoll ? longestPoll : static_cast<uint32_t>(milliseconds);
}

uint32_t LogIntervalFromMinutes(int32_t minutes)
{
    constexpr int64_t millisecondsPerMinute = 60000;
    if (minutes <= 0)
        return 0;
    const int64_t milliseconds = minutes * millisecondsPerMinute;
    return milliseconds > longestTimerPeriodMs ? longestTimerPeriodMs : static_cast<uint32_t>(milliseconds);
}

int32_t RangeMaxFrom(int32_t readValue, uint32_t tjMax)
{
    int64_t top = readValue;
    if (top == 0)
        top = tjMax != 0 ? int64_t{tjMax} : lowestRangeMax;
    // A TjMax beyond the signed range is no temperature; it gives the floor like any low value.
    if (top < lowestRangeMax || top > std::numeric_limits<int32_t>::max())
        return lowestRangeMax;
    return static_cast<int32_t>(top);
}

std::optional<std::u16string> FindValue(const std::optional<std::u16string>& text, const std::u16string& key)
{
    if (!text)
        return std::nullopt;
    std::u16string_view rest = *text;
    bool firstLine = true;
    while (!rest.empty()) {
        const size_t end = rest.find(lineFeed);
        std::u16string_view line = rest.substr(0, end);
        rest.remove_prefix(end == std::u16string_view::npos ? rest.size() : end + 1);
        // Runs of line feeds count as one; the first line that is left is never examined.
        if (line.empty())
            continue;
        if (firstLine) {
            firstLine = false;
            continue;
        }
        if (line.front() == u';' || line.front() == u'[')
            continue;
        const std::optional<std::u16string_view> name = NextToken(line);
        if (!name || !EqualIgnoringAsciiCase(*name, key))
            continue;
        // The first matching line decides, with or without a value.
        const std::optional<std::u16string_view> value = NextToken(line);
        if (!value)
            return std::nullopt;
        return std::u16string(*value);
    }
    return std::nullopt;
}

void ParseSettings(const std::optional<std::u16string>& text, uint32_t tjMax, GraphSettings& settings,
                   WindowOptions* options)
{
    Read(text, u"BGColor", settings.BGColor, ParseHexadecimal);
    Read(text, u"FrameColor", settings.FrameColor, ParseHexadecimal);
    Read(text, u"GraphColor", settings.GraphColor, ParseHexadecimal);
    Read(text, u"LoadGraphColor", settings.LoadGraphColor, ParseHexadecimal);
    Read(text, u"MessageColor", settings.MessageColor, ParseHexadecimal);
    Read(text, u"GridColor", settings.GridColor, ParseHexadecimal);
    Read(text, u"TextColor", settings.TextColor, ParseHexadecimal);
    Read(text, u"TitleColor", settings.TitleColor, ParseHexadecimal);
    Read(text, u"XAxisColor", settings.XAxisColor, ParseHexadecimal);
    Read(text, u"ShowXAxis", settings.ShowXAxis, AsFlag);
    Read(text, u"ShowSyatrayIcon", settings.ShowSyatrayIcon, AsFlag);
    Read(text, u"StartMinimized", settings.StartMinimized, AsFlag);
    int32_t rangeMax = 0;
    Read(text, u"RangeMax", rangeMax, ParseDecimal);
    settings.RangeMax = RangeMaxFrom(rangeMax, tjMax);
    Read(text, u"RangeMin", settings.RangeMin, ParseDecimal);

    if (!options)
        return;
    *options = WindowOptions{};
    Read(text, u"PollInterval", options->PollInterval, PollIntervalFromSeconds);
    Read(text, u"LogInterval", options->LogInterval, AsLogInterval);
    Read(text, u"GraphWidth", options->GraphWidth, ParseDecimal);
    Read(text, u"GraphHeight", options->GraphHeight, ParseDecimal);
    Read(text, u"Transparency", options->Transparency, ParseDecimal);
    Read(text, u"AlwaysOnTop", options->AlwaysOnTop, AsFlag);
    Read(text, u"Columns", options->Columns, ParseDecimal);
    Read(text, u"HeatMap", options->HeatMap, AsFlag);
    Read(text, u"TrayTemperature", options->TrayTemperature, AsFlag);
    Read(text, u"CsvLog", options->CsvLog, AsFlag);
    // On unless the file turns it off.
    options->HoverReadout = 1;
    Read(text, u"HoverReadout", options->HoverReadout, AsFlag);
}

MetricsOptions ParseMetricsOptions(const std::optional<std::u16string>& text)
{
    MetricsOptions options;
    if (const std::optional<std::u16string> file = FindValue(text, u"MetricsFile")) {
        std::u16string_view path = *file;
        while (!path.empty() && IsWhiteSpace(path.front()))
            path.remove_prefix(1);
        while (!path.empty() && IsWhiteSpace(path.back()))
            path.remove_suffix(1);
        options.file = std::u16string(path);
    }
    if (const std::optional<std::u16string> interval = FindValue(text, u"MetricsInterval")) {
        const int32_t seconds = ParseDecimal(*interval);
        options.intervalSeconds = seconds < 1 ? 1u : static_cast<uint32_t>(seconds);
    }
    return options;
}
