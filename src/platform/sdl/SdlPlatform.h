// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"
#include "platform/posix/PosixInstanceLock.h"

#include <memory>

namespace tintaro {

// Owns every real implementation of the platform interfaces.
class SdlPlatform {
  public:
    // windowed: a plain 1024 x 768 window that never goes full screen and takes no grab.
    // instance: the one-copy lock, already taken by the caller before
    // anything else (null: a lock of the platform's own).
    static std::unique_ptr<SdlPlatform> create(bool windowed,
                                               std::unique_ptr<PosixInstanceLock> instance = nullptr);
    virtual ~SdlPlatform() = default;
    virtual Platform& platform() = 0;
};

} // namespace tintaro
