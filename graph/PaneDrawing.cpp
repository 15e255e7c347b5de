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
