#pragma once

#include "platform/Platform.h"

#include <memory>

namespace tintaro {

// Owns every real implementation of the platform interfaces.
class SdlPlatform {
  public:
    // windowed: a plain 1024 x 768 window that never goes full screen and takes no grab.
    static std::unique_ptr<SdlPlatform> create(bool windowed);
    virtual ~SdlPlatform() = default;
    virtual Platform& platform() = 0;
};

} // namespace tintaro
