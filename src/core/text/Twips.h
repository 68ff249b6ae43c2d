// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

namespace qmf::text {

// 1 twip = 1/1440 inch; window positions are stored and stated in twips.
constexpr double TwipsPerInch = 1440.0;

// Pixels for a length in twips at the given logical DPI, rounded to the nearest pixel.
int twipsToPixels(double twips, double dpi);

// Twips for a length in pixels at the given logical DPI.
double pixelsToTwips(int pixels, double dpi);

} // namespace qmf::text
