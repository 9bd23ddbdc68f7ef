// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/sdl/VideoDriver.h"

#include <cstring>

namespace tintaro {

namespace {

bool named(const char* value) {
    return value != nullptr && value[0] != '\0';
}

} // namespace

bool ownWaylandWindow(const char* userChoice, const char* waylandDisplay) {
    return named(waylandDisplay) && (!named(userChoice) || std::strcmp(userChoice, "wayland") == 0);
}

const char* firstVideoDriver(const char* userChoice, const char* waylandDisplay) {
    if (named(userChoice) || !named(waylandDisplay)) {
        return nullptr;
    }
    return "wayland";
}

const char* fallbackVideoDriver(const char* current, const char* userChoice, const char* x11Display) {
    if (named(userChoice) || !named(x11Display) || current == nullptr ||
        std::strcmp(current, "wayland") != 0) {
        return nullptr;
    }
    return "x11";
}

} // namespace tintaro
