#include "graph/PaneStyle.h"

#include "core/TextFormat.h"
#include "graph/PaneRecord.h"

PaneStyle StyleOf(const GraphSettings& record)
{
    PaneStyle style;
    style.showXAxis = record.ShowXAxis;
    style.rangeMin = record.RangeMin;
    style.rangeMax = record.RangeMax;
    for (const ColourField& colour : paneColourFields)
        style.*colour.style = record.*colour.record;
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
    for (const ColourField& colour : paneColourFields)
        record.*colour.record = style.*colour.style;
    textformat::CopyText(style.unitText, record.TempUnit, 3);
    textformat::CopyText(style.loadUnitText, record.LoadUnit, 3);
    textformat::CopyText(title, record.Title, 41);
    return record;
}

Colour GraphSettings::*RecordFieldOf(COLORREF PaneStyle::*style)
{
    for (const ColourField& colour : paneColourFields) {
        if (colour.style == style)
            return colour.record;
    }
    return nullptr;
}
