// The hover readout of a pane: running figures of a series, the figures of its newest samples
// and the text of the tooltip. Portable; the panes keep the running figures, the main window's
// hover tip (window/HoverTip) gathers the facts and shows the text.
#pragma once

#include "core/CsvLogFormat.h"
#include "core/SampleHistory.h"

#include <cstdint>
#include <string>

// Count, sum, minimum and maximum of a series: kept as samples arrive, so the figures of a
// whole history never need a pass over it.
struct SeriesFigures {
    int64_t count = 0;
    int64_t sum = 0;
    int32_t min = 0;
    int32_t max = 0;

    void Add(int32_t value)
    {
        if (count == 0 || value < min)
            min = value;
        if (count == 0 || value > max)
            max = value;
        sum += value;
        ++count;
    }
    // Adds the figures of other samples, as if each had been added here.
    void Add(const SeriesFigures& other);
};

// The running figures of one history since its last clear, for its pane. A push costs a
// comparison: the figures of every filled block are kept, and those of the block being
// written are counted when asked. The pane calls BeforePush before every push, so a block is
// counted whole before a push can start overwriting it, and Clear with the history's clear.
class HistoryFigures {
public:
    void BeforePush(const SampleHistory& history)
    {
        if (history.BlockFull())
            filled.Add(FiguresOfBlock(history));
    }
    void Clear() { filled = SeriesFigures{}; }
    // Every sample pushed since the last clear, including those a circular history has
    // written over.
    SeriesFigures Of(const SampleHistory& history) const;

private:
    SeriesFigures filled;

    static SeriesFigures FiguresOfBlock(const SampleHistory& history);
};

// The figures of the newest samples of a history (at most its count).
SeriesFigures FiguresOfNewest(const SampleHistory& history, int32_t newest);

// Everything the readout says about one sample of one pane.
struct ReadoutFacts {
    std::wstring title;
    bool timeKnown = false;
    LogClockTime time{};     // the sample's local clock time
    int64_t ageMs = 0;       // how long before the readout it was taken
    int32_t temperature = 0;
    int32_t load = 0;
    std::wstring temperatureUnit;
    std::wstring loadUnit;
    SeriesFigures shownTemperature;
    SeriesFigures shownLoad;
    SeriesFigures historyTemperature;
    SeriesFigures historyLoad;
};

// "0 s ago", "14 s ago", "2 min 14 s ago", "3 h 5 min ago", "2 d 3 h ago"; a time ahead of
// the clock (the clock was set back) reads "0 s ago".
std::wstring FormatAge(int64_t ageMs);

// The average in tenths, rounded half away from zero: "70.5", "-3.3"; "-" without samples.
std::wstring FormatAverage(const SeriesFigures& figures);

// "YYYY-MM-DD HH:MM:SS".
std::wstring FormatClockTime(const LogClockTime& time);

// The readout's whole-history figures on one line, what a screen reader reads of a core:
// "History (120 samples): temperature min 40C°, max 80C°, avg 60.5C°; load min 5%, ...".
std::wstring HistoryLine(const SeriesFigures& temperature, const SeriesFigures& load,
                         const std::wstring& temperatureUnit, const std::wstring& loadUnit);

// The tooltip's lines, separated by CR LF: title; "YYYY-MM-DD HH:MM:SS, <age>"; the sample's
// values; then min, max and average of the shown samples and of the whole history.
std::wstring ReadoutText(const ReadoutFacts& facts);
