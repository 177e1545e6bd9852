#pragma once
// Font size conversion for the screen, free of Win32.

// The LOGFONT height (negative: a character height, not a cell height) of a
// font of the given points on a screen with logPixelsY dots per inch:
// −|logPixelsY × points × 10 ÷ 720|, the quotient truncated. At 96 dots per
// inch 13 points give −17. Sizes too large for a LOGFONT saturate instead of
// overflowing.
int FontHeightForPoints(int points, int logPixelsY);
