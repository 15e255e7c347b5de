#include "core/HoverReadout.h"

#include <algorithm>

namespace {

std::wstring Number(int64_t value)
{
    return std::to_wstring(value);
}

std::wstring TwoDigits(uint32_t value)
{
    return std::wstring(1, static_cast<wchar_t>(L'0' + value / 10 % 10)) + static_cast<wchar_t>(L'0' + value % 10);
}

std::wstring FiguresLine(const wchar_t* name, const SeriesFigures& figures, const std::wstring& unit)
{
    if (figures.count == 0)
        return std::wstring(L"  ") + name + L" -";
    return std::wstring(L"  ") + name + L" min " + Number(figures.min) + unit + L", max " + Number(figures.max) +
           unit + L", avg " + FormatAverage(figures) + unit;
}

}  // namespace

void SeriesFigures::Add(const SeriesFigures& other)
{
    if (other.count == 0)
        return;
    min = count == 0 ? other.min : std::min(min, other.min);
    max = count == 0 ? other.max : std::max(max, other.max);
    sum += other.sum;
    count += other.count;
}

SeriesFigures HistoryFigures::FiguresOfBlock(const SampleHistory& history)
{
    SeriesFigures figures;
    const int32_t* samples = history.BlockSamples();
    const int32_t n = history.BlockCount();
    if (n == 0)
        return figures;
    // One plain pass the compiler can do several samples at a time.
    int32_t low = samples[0];
    int32_t high = samples[0];
    int64_t sum = 0;
    for (int32_t i = 0; i < n; ++i) {
        low = std::min(low, samples[i]);
        high = std::max(high, samples[i]);
        sum += samples[i];
    }
    figures.count = n;
    figures.sum = sum;
    figures.min = low;
    figures.max = high;
    return figures;
}

SeriesFigures HistoryFigures::Of(const SampleHistory& history) const
{
    SeriesFigures figures = filled;
    figures.Add(FiguresOfBlock(history));
    return figures;
}

SeriesFigures FiguresOfNewest(const SampleHistory& history, int32_t newest)
{
    SeriesFigures figures;
    const int32_t n = std::min(newest, history.Count());
    for (int32_t k = 0; k < n; ++k)
        figures.Add(history.ValueAt(k));
    return figures;
}

std::wstring FormatAge(int64_t ageMs)
{
    const int64_t seconds = std::max<int64_t>(ageMs, 0) / 1000;
    constexpr int64_t minute = 60;
    constexpr int64_t hour = 60 * minute;
    constexpr int64_t day = 24 * hour;
    if (seconds < minute)
        return Number(seconds) + L" s ago";
    if (seconds < hour)
        return Number(seconds / minute) + L" min " + Number(seconds % minute) + L" s ago";
    if (seconds < day)
        return Number(seconds / hour) + L" h " + Number(seconds % hour / minute) + L" min ago";
    return Number(seconds / day) + L" d " + Number(seconds % day / hour) + L" h ago";
}

std::wstring FormatAverage(const SeriesFigures& figures)
{
    if (figures.count == 0)
        return L"-";
    // Whole part and tenths apart: ten times a sum of 2^31 extreme samples would not fit.
    const bool negative = figures.sum < 0;
    const uint64_t magnitude = negative ? 0u - static_cast<uint64_t>(figures.sum) : static_cast<uint64_t>(figures.sum);
    const uint64_t count = static_cast<uint64_t>(figures.count);
    uint64_t whole = magnitude / count;
    uint64_t tenths = (magnitude % count * 10 + count / 2) / count;
    if (tenths == 10) {
        ++whole;
        tenths = 0;
    }
    const std::wstring sign = negative && (whole != 0 || tenths != 0) ? L"-" : L"";
    return sign + std::to_wstring(whole) + L"." + static_cast<wchar_t>(L'0' + tenths);
}

std::wstring FormatClockTime(const LogClockTime& t)
{
    return Number(t.year) + L"-" + TwoDigits(t.month) + L"-" + TwoDigits(t.day) + L" " + TwoDigits(t.hour) + L":" +
           TwoDigits(t.minute) + L":" + TwoDigits(t.second);
}

std::wstring HistoryLine(const SeriesFigures& temperature, const SeriesFigures& load,
                         const std::wstring& temperatureUnit, const std::wstring& loadUnit)
{
    // The tooltip's two indented lines, joined.
    return L"History (" + Number(temperature.count) + L" samples): " +
           FiguresLine(L"temperature", temperature, temperatureUnit).substr(2) + L"; " +
           FiguresLine(L"load", load, loadUnit).substr(2);
}

std::wstring ReadoutText(const ReadoutFacts& facts)
{
    std::wstring text = facts.title + L"\r\n";
    if (facts.timeKnown) {
        text += FormatClockTime(facts.time) + L", " + FormatAge(facts.ageMs) + L"\r\n";
    } else {
        text += L"time unknown\r\n";
    }
    text += L"Temperature " + Number(facts.temperature) + facts.temperatureUnit + L", load " + Number(facts.load) +
            facts.loadUnit + L"\r\n";
    text += L"Shown (" + Number(facts.shownTemperature.count) + L" samples)\r\n";
    text += FiguresLine(L"temperature", facts.shownTemperature, facts.temperatureUnit) + L"\r\n";
    text += FiguresLine(L"load", facts.shownLoad, facts.loadUnit) + L"\r\n";
    text += L"History (" + Number(facts.historyTemperature.count) + L" samples)\r\n";
    text += FiguresLine(L"temperature", facts.historyTemperature, facts.temperatureUnit) + L"\r\n";
    text += FiguresLine(L"load", facts.historyLoad, facts.loadUnit);
    return text;
}
