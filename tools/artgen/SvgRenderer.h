// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "Surface.h"

#include <string>

namespace artgen {

// Renders SVG text with librsvg into a transparent surface of exactly width x height,
// the document's viewBox fitted to that size.
Surface renderSvg(const std::string& svgText, int width, int height, const std::string& sourceName);

} // namespace artgen
