#pragma once

#include "platform/Platform.h"

#include <string>

namespace tintaro {

// An exclusive flock on a file in the user's runtime directory. The kernel
// lets go of it when the process ends, also after a crash or SIGKILL, so a
// stale lock file never keeps the program from starting.
class PosixInstanceLock final : public InstanceLock {
  public:
    // The lock file lives in `directory`, which is made when missing.
    explicit PosixInstanceLock(std::string directory = defaultDirectory());
    ~PosixInstanceLock() override;
    PosixInstanceLock(const PosixInstanceLock&) = delete;
    PosixInstanceLock& operator=(const PosixInstanceLock&) = delete;

    bool acquire() override;

    // $XDG_RUNTIME_DIR, or the user's cache folder when it is not set.
    static std::string defaultDirectory();

  private:
    std::string m_directory;
    int m_fd = -1;
};

} // namespace tintaro
