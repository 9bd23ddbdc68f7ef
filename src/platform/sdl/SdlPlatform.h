// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"
#include "platform/posix/PosixInstanceLock.h"
#include "platform/wayland/WaylandClient.h"

#include <memory>
#include <string>

namespace tintaro {

// Owns every real implementation of the platform interfaces.
class SdlPlatform {
  public:
    // windowed: a plain 1024 x 768 window that never goes full screen and takes no grab.
    // instance: the one-copy lock, already taken by the caller before
    // anything else (null: a lock of the platform's own).
    // wayland: a connection to a Wayland compositor, on which the window is
    // our own; null: the window is SDL's.
    static std::unique_ptr<SdlPlatform> create(bool windowed,
                                               std::unique_ptr<PosixInstanceLock> instance = nullptr,
                                               std::unique_ptr<WaylandClient> wayland = nullptr);
    // The platform on the session's display: our own Wayland window on a
    // Wayland desktop (unless SDL_VIDEODRIVER names another driver), SDL's
    // window otherwise or when no compositor answers. Null, with the reason
    // in one plain line in `problem`, when there is no display at all.
    static std::unique_ptr<SdlPlatform> open(bool windowed, std::unique_ptr<PosixInstanceLock> instance,
                                             std::string& problem);
    virtual ~SdlPlatform() = default;
    virtual Platform& platform() = 0;
};

} // namespace tintaro
