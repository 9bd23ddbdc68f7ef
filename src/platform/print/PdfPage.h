// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Image.h"

#include <string>

namespace tintaro::print {

// Pictures are drawn at their own size, taking a pixel as 1/96 inch, so a
// 750 x 600 canvas is 562.5 x 450 pt and fits A4 and Letter upright.
inline constexpr double kPointsPerPixel = 72.0 / 96.0;

// A sheet of paper and the top left corner of the area the printer can mark,
// in PDF points.
struct PageLayout {
    double width = 0;
    double height = 0;
    double left = 0;
    double top = 0;
    bool operator==(const PageLayout&) const = default;
};

// CUPS gives media in hundredths of a millimetre.
PageLayout pageFromHundredthsOfMillimetre(int width, int length, int left, int top);

// A4 with narrow margins, for a destination that names no paper.
PageLayout fallbackPage();

// Writes a one-page PDF with the picture upright at the top left corner of the
// printable area, unscaled. False when the file could not be written.
bool writePdfPage(const Image& picture, const PageLayout& page, const std::string& path);

} // namespace tintaro::print
