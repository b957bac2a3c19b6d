// The background window's vertical colour gradient.
#pragma once

#include <windows.h>

// Paints rect of dc from top (at the top edge) to bottom (at the bottom edge). Uses GradientFill
// of msimg32.dll, looked up once per process; where that is missing, FillGradientBands.
void FillGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);

// The painter for systems without GradientFill: horizontal bands of solid colour, 1 to 3 pixels
// high (the rectangle's height + 1 divided by 224), painted from rect.top while y < rect.bottom
// and one pixel wider than rect. Band k (from 1) has, in each channel,
//   top + (bottom - top) * k / count        (integer division toward zero)
// where count = (rect.bottom - rect.top + 1) / band; bands beyond count keep the bottom colour.
void FillGradientBands(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
