#include "graph/PaneDrawing.h"

#include <cwchar>

Font CreateLabelFont()
{
    return Font(::CreateFontW(-11, 0, 0, 0, FW_DONTCARE, FALSE, FALSE, FALSE, ANSI_CHARSET, OUT_DEFAULT_PRECIS,
                              CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, 0, L"Tahoma"));
}

Pen CreateSolidPen(COLORREF colour)
{
    return Pen(::CreatePen(PS_SOLID, 1, colour));
}

plot::Box ToBox(const RECT& rect)
{
    return {rect.left, rect.top, rect.right, rect.bottom};
}

RECT ToRect(const plot::Box& box)
{
    return {box.left, box.top, box.right, box.bottom};
}

void DrawTextAt(HDC dc, const plot::Anchor& anchor, const wchar_t* text)
{
    ::TextOutW(dc, anchor.x, anchor.y, text, static_cast<int>(std::wcslen(text)));
}

void DrawSeriesLines(HDC dc, const plot::Box& plot, const SeriesRows& loadRows, const SeriesRows& temperatureRows,
                     COLORREF loadColour, std::optional<COLORREF> temperatureColour)
{
    if (loadRows.empty())
        return;
    const int32_t newest = plot::LineColumn(plot, 0);
    ::SetPixelV(dc, newest, loadRows[0], loadColour);
    if (temperatureColour)
        ::SetPixelV(dc, newest, temperatureRows[0], *temperatureColour);
    // The DC pen is a solid one-pixel pen like any other; recolouring it per segment costs far
    // less than selecting one of two pens, and the series alternate on every column.
    Selection dcPen(dc, ::GetStockObject(DC_PEN));
    const COLORREF previousColour = ::GetDCPenColor(dc);
    for (size_t i = 1; i < loadRows.size(); ++i) {
        const int32_t x = plot::LineColumn(plot, static_cast<int32_t>(i));
        const POINT load[2] = {{x + 1, loadRows[i - 1]}, {x, loadRows[i]}};
        ::SetDCPenColor(dc, loadColour);
        ::Polyline(dc, load, 2);
        if (temperatureColour) {
            const POINT temperature[2] = {{x + 1, temperatureRows[i - 1]}, {x, temperatureRows[i]}};
            ::SetDCPenColor(dc, *temperatureColour);
            ::Polyline(dc, temperature, 2);
        }
    }
    ::SetDCPenColor(dc, previousColour);
}

void DrawSeriesBars(HDC dc, const plot::Box& plot, const SeriesRows& rows, HBRUSH brush)
{
    Selection selected(dc, brush);
    for (size_t i = 0; i < rows.size(); ++i) {
        const plot::Box bar = plot::BarBox(plot, static_cast<int32_t>(i), rows[i]);
        if (bar.right > bar.left && bar.bottom > bar.top)
            ::PatBlt(dc, bar.left, bar.top, bar.right - bar.left, bar.bottom - bar.top, PATCOPY);
    }
}
