#pragma once
// Lettering and the screen pictures built from it: the title logo, the menu panel and its
// markers, the two banners and the credit line. Letters come from the DejaVu fonts and are
// then wobbled, outlined and shaded so that they look drawn by hand.

#include "tools/artgen/image.h"

namespace artgen {

// Opens the fonts; false (with a message on standard error) when they cannot be had.
bool openLettering();
void closeLettering();

Image drawTitleLogo();           // 176 x 123
Image drawCreditLine();          // 95 x 11
Image drawMenuPanel();           // 264 x 97
Image drawMarker(bool selected); // 28 x 23: blue dot when selected, else red
Image drawLevelClearBanner();    // 216 x 114
Image drawHighScoresBanner();    // 190 x 120

} // namespace artgen
