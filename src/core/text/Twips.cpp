// SPDX-License-Identifier: GPL-3.0-or-later
#include "core/text/Twips.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace qmf::text {

namespace {
// A screen that reports no usable DPI is taken as the common logical 96 DPI.
double usableDpi(double dpi) {
    return std::isfinite(dpi) && dpi > 0.0 ? dpi : 96.0;
}
} // namespace

int twipsToPixels(double twips, double dpi) {
    const double pixels = twips * usableDpi(dpi) / TwipsPerInch;
    if (std::isnan(pixels)) {
        return 0;
    }
    // A stored position far outside any screen must not overflow the conversion.
    const double clamped = std::clamp(pixels, double(std::numeric_limits<int>::min()),
                                      double(std::numeric_limits<int>::max()));
    return int(std::lround(clamped));
}

double pixelsToTwips(int pixels, double dpi) {
    return pixels * TwipsPerInch / usableDpi(dpi);
}

} // namespace qmf::text
