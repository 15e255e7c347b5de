// Small drawing helpers shared by the two pane classes: the label font, solid pens,
// conversions between RECT and the portable plot geometry, and anchored text output.
#pragma once

#include "graph/GdiHandles.h"
#include "graph/PlotGeometry.h"

#include <windows.h>

// The one font of all pane text: "Tahoma", height -11, antialiased.
Font CreateLabelFont();
// A solid pen one pixel wide.
Pen CreateSolidPen(COLORREF colour);

plot::Box ToBox(const RECT& rect);
RECT ToRect(const plot::Box& box);

// Draws text at the anchor with the DC's current alignment, colours and font.
void DrawTextAt(HDC dc, const plot::Anchor& anchor, const wchar_t* text);
