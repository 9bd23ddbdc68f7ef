// SPDX-License-Identifier: GPL-3.0-or-later

#include "ContactSheet.h"

#include "PngWriter.h"

#include <algorithm>
#include <cmath>

namespace artgen {

namespace {

constexpr int kSheetWidth = 1800;
constexpr int kMargin = 24;
constexpr int kGap = 18;
constexpr int kLabelHeight = 20;
constexpr int kTitleHeight = 44;

// Lays the sections out (or only measures them when cr is null) and returns the height used.
double layout(cairo_t* cr, const std::vector<SheetSection>& sections) {
    double y = kMargin;
    for (const SheetSection& section : sections) {
        if (cr != nullptr) {
            cairo_set_source_rgb(cr, 0.25, 0.18, 0.12);
            cairo_select_font_face(cr, "Comic Neue", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_BOLD);
            cairo_set_font_size(cr, 26);
            cairo_move_to(cr, kMargin, y + 30);
            cairo_show_text(cr, section.title.c_str());
        }
        y += kTitleHeight;
        double x = kMargin;
        double rowHeight = 0;
        for (const Picture* picture : section.pictures) {
            const double w = std::ceil(picture->surface.width() * section.scale);
            const double h = std::ceil(picture->surface.height() * section.scale);
            const double tileWidth = std::max(w, 90.0);
            if (x + tileWidth > kSheetWidth - kMargin && x > kMargin) {
                x = kMargin;
                y += rowHeight + kGap;
                rowHeight = 0;
            }
            if (cr != nullptr) {
                cairo_save(cr);
                cairo_translate(cr, x, y);
                cairo_scale(cr, section.scale, section.scale);
                cairo_set_source_surface(cr, picture->surface.get(), 0, 0);
                cairo_pattern_set_filter(cairo_get_source(cr), CAIRO_FILTER_GOOD);
                cairo_paint(cr);
                cairo_restore(cr);
                cairo_set_source_rgb(cr, 0.6, 0.6, 0.6);
                cairo_set_line_width(cr, 1);
                cairo_rectangle(cr, x - 0.5, y - 0.5, w + 1, h + 1);
                cairo_stroke(cr);
                cairo_set_source_rgb(cr, 0.2, 0.2, 0.2);
                cairo_select_font_face(cr, "DejaVu Sans", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
                cairo_set_font_size(cr, 11);
                cairo_move_to(cr, x, y + h + 14);
                cairo_show_text(cr, picture->file.c_str());
            }
            x += tileWidth + kGap;
            rowHeight = std::max(rowHeight, h + kLabelHeight);
        }
        y += rowHeight + kGap * 2;
    }
    return y + kMargin;
}

} // namespace

void writeContactSheet(const std::filesystem::path& path, const std::vector<SheetSection>& sections) {
    const int height = static_cast<int>(std::ceil(layout(nullptr, sections)));
    Surface sheet(kSheetWidth, height);
    sheet.fill(0.97, 0.95, 0.91);
    cairo_t* cr = cairo_create(sheet.get());
    layout(cr, sections);
    cairo_destroy(cr);
    writePng(path, sheet);
}

} // namespace artgen
