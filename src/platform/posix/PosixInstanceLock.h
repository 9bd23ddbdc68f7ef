// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include "platform/Platform.h"
#include "platform/posix/RunningCopy.h"

#include <string>

namespace tintaro {

// One copy per user and desktop session at a time: a name in the abstract
// socket namespace (RunningCopy.h), made from the user, the session's
// runtime folder and its displays. No file is involved, so neither a
// missing, unwritable or shared folder nor a link or file planted by
// someone else can keep the lock from working; the kernel frees the name
// when the process ends, also after a crash or SIGKILL.
class PosixInstanceLock final : public InstanceLock {
  public:
    // `scope`: what the name is made from besides the user.
    explicit PosixInstanceLock(std::string scope = defaultScope());
    ~PosixInstanceLock() override;
    PosixInstanceLock(const PosixInstanceLock&) = delete;
    PosixInstanceLock& operator=(const PosixInstanceLock&) = delete;

    // False only when another copy of this user holds the name. Should
    // another user hold it, or no socket be possible, the program says so
    // on standard error and runs.
    bool acquire() override;

    // A second start's request that the copy holding the lock come forward;
    // false when nobody answers.
    bool askHolderForward(const std::string& activationToken) const;

    // $XDG_RUNTIME_DIR (else the user's cache folder) and the displays.
    static std::string defaultScope();
    // The abstract name for a scope.
    static std::string nameFor(const std::string& scope);

  private:
    std::string m_name;
    bool m_held = false;
    runningcopy::Listener m_listener;
};

} // namespace tintaro
