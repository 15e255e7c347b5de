#include "graph/PaneStyle.h"

#include "core/TextFormat.h"
#include "graph/PaneRecord.h"

PaneStyle StyleOf(const GraphSettings& record)
{
    PaneStyle style;
    style.showXAxis = record.ShowXAxis;
    style.rangeMin = record.RangeMin;
    style.rangeMax = record.RangeMax;
    style.bgColor = record.BGColor;
    style.frameColor = record.FrameColor;
    style.loadGraphColor = record.LoadGraphColor;
    style.graphColor = record.GraphColor;
    style.gridColor = record.GridColor;
    style.messageColor = record.MessageColor;
    style.textColor = record.TextColor;
    style.titleColor = record.TitleColor;
    style.xAxisColor = record.XAxisColor;
    textformat::CopyText(record.TempUnit, style.unitText, 3);
    textformat::CopyText(record.LoadUnit, style.loadUnitText, 3);
    CopyRecordTitle(record, style.titleText, 41);
    return style;
}

GraphSettings RecordOf(const PaneStyle& style, const wchar_t* title)
{
    GraphSettings record{};
    record.Size = graphSettingsSize;
    record.ShowXAxis = style.showXAxis;
    record.RangeMin = style.rangeMin;
    record.RangeMax = style.rangeMax;
    record.BGColor = style.bgColor;
    record.FrameColor = style.frameColor;
    record.LoadGraphColor = style.loadGraphColor;
    record.GraphColor = style.graphColor;
    record.GridColor = style.gridColor;
    record.MessageColor = style.messageColor;
    record.TextColor = style.textColor;
    record.TitleColor = style.titleColor;
    record.XAxisColor = style.xAxisColor;
    textformat::CopyText(style.unitText, record.TempUnit, 3);
    textformat::CopyText(style.loadUnitText, record.LoadUnit, 3);
    textformat::CopyText(title, record.Title, 41);
    return record;
}
