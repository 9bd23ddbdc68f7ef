// SPDX-License-Identifier: GPL-3.0-or-later
// The choice of SDL's video driver from the session's environment.

#include "platform/sdl/VideoDriver.h"

#include <gtest/gtest.h>

#include <string>

namespace tintaro {
namespace {

std::string text(const char* driver) {
    return driver != nullptr ? driver : "SDL's own choice";
}

struct FirstCase {
    const char* userChoice;
    const char* waylandDisplay;
    const char* expected;
};

TEST(VideoDriver, FirstChoiceIsWaylandOnAWaylandDesktopUnlessTheUserNamedOne) {
    const FirstCase cases[] = {
        {nullptr, "wayland-0", "wayland"}, {"", "wayland-1", "wayland"},
        {nullptr, nullptr, nullptr},       {nullptr, "", nullptr},
        {"x11", "wayland-0", nullptr},     {"wayland", "wayland-0", nullptr},
        {"x11", nullptr, nullptr},
    };
    for (const FirstCase& c : cases) {
        EXPECT_EQ(text(firstVideoDriver(c.userChoice, c.waylandDisplay)), text(c.expected))
            << "SDL_VIDEODRIVER=" << text(c.userChoice) << " WAYLAND_DISPLAY=" << text(c.waylandDisplay);
    }
}

TEST(VideoDriver, OwnWaylandWindowOnAWaylandDesktopUnlessAnotherDriverIsNamed) {
    const FirstCase cases[] = {
        {nullptr, "wayland-0", "own"}, {"", "wayland-1", "own"},    {"wayland", "wayland-0", "own"},
        {"x11", "wayland-0", nullptr}, {nullptr, nullptr, nullptr}, {nullptr, "", nullptr},
        {"wayland", nullptr, nullptr},
    };
    for (const FirstCase& c : cases) {
        EXPECT_EQ(ownWaylandWindow(c.userChoice, c.waylandDisplay), c.expected != nullptr)
            << "SDL_VIDEODRIVER=" << text(c.userChoice) << " WAYLAND_DISPLAY=" << text(c.waylandDisplay);
    }
}

struct FallbackCase {
    const char* current;
    const char* userChoice;
    const char* x11Display;
    const char* expected;
};

TEST(VideoDriver, FallsBackFromWaylandToX11OnlyWhenTheSessionHasAnXDisplay) {
    const FallbackCase cases[] = {
        {"wayland", nullptr, ":0", "x11"},      {"wayland", "", ":1", "x11"},
        {"wayland", nullptr, nullptr, nullptr}, {"wayland", nullptr, "", nullptr},
        {"wayland", "wayland", ":0", nullptr},  {"x11", nullptr, ":0", nullptr},
        {nullptr, nullptr, ":0", nullptr},
    };
    for (const FallbackCase& c : cases) {
        EXPECT_EQ(text(fallbackVideoDriver(c.current, c.userChoice, c.x11Display)), text(c.expected))
            << "on " << text(c.current) << " SDL_VIDEODRIVER=" << text(c.userChoice)
            << " DISPLAY=" << text(c.x11Display);
    }
}

} // namespace
} // namespace tintaro
