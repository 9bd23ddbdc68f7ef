// SPDX-License-Identifier: GPL-3.0-or-later

#include "scene/ControlTable.h"

// Compile-time checks of the control table: a row out of place is a build error,
// not a wrong picture or cursor at run time.

namespace tintaro {

namespace {

// Code looks a control up by its enum value.
constexpr bool rowsFollowTheEnum() {
    for (std::size_t i = 0; i < kControlTable.size(); ++i) {
        if (index(kControlTable[i].id) != static_cast<int>(i)) {
            return false;
        }
    }
    return true;
}
static_assert(rowsFollowTheEnum(), "row i of kControlTable must describe ControlId i");

// Each screen's controls are numbered 1..n without a gap or a repeat; panel controls carry 0.
constexpr bool screenOrdersAreComplete() {
    for (const Place place : {Place::Colouring, Place::Gallery}) {
        const std::size_t n = countOn(place);
        for (std::size_t order = 1; order <= n; ++order) {
            std::size_t found = 0;
            for (const auto& row : kControlTable) {
                found += row.place == place && row.screenOrder == static_cast<int>(order) ? 1 : 0;
            }
            if (found != 1) {
                return false;
            }
        }
    }
    for (const auto& row : kControlTable) {
        const bool onScreen = row.place == Place::Colouring || row.place == Place::Gallery;
        if (!onScreen && row.screenOrder != 0) {
            return false;
        }
    }
    return true;
}
static_assert(screenOrdersAreComplete(), "screen orders must run 1..n on each screen, 0 on the panels");

// A hover group lights only a control with a hover face and rests only controls with faces.
constexpr bool hoverGroupsNameFaces() {
    for (const auto& row : kControlTable) {
        if (row.hover.lights && row.faces.always.hover.empty() && row.faces.flag == FaceFlag::None) {
            return false;
        }
        for (const ControlId id : row.hover.rests) {
            if (!controlSpec(id).faces.any()) {
                return false;
            }
        }
    }
    return true;
}
static_assert(hoverGroupsNameFaces(), "a hover group names a control without the face it assigns");

} // namespace

} // namespace tintaro
