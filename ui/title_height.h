// The pixel height of the background window's title font: portable arithmetic, so that the
// 32-bit engine's result is tested where it is computed as the engine computes it.
#pragma once

// points at pixelsPerInch (the display's LOGPIXELSY), truncated toward zero: pixelsPerInch x
// points x (1/72) in double precision, each product rounded as written. 24 points at 96 dpi is 32
// pixels on every build; with the x87's extended intermediates the product lands a hair below 32
// and would truncate to 31.
int TitleFontHeight(int pixelsPerInch, double points);
