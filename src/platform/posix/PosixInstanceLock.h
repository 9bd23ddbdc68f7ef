// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"
#include "platform/posix/RunningCopy.h"

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

    // Once held, a second start can ask this copy to come forward.
    bool acquire() override;

    // A second start's request that the copy holding the lock come forward;
    // false when nobody answers.
    bool askHolderForward(const std::string& activationToken) const;

    // $XDG_RUNTIME_DIR, or the user's cache folder when it is not set.
    static std::string defaultDirectory();

  private:
    std::string socketPath() const { return m_directory + "/tintaro.socket"; }

    std::string m_directory;
    int m_fd = -1;
    runningcopy::Listener m_listener;
};

} // namespace tintaro
