// SPDX-License-Identifier: GPL-3.0-or-later

#include "platform/posix/OutsideRequests.h"

#include "platform/posix/ExitWatchdog.h"
#include "platform/posix/RunningCopy.h"

namespace tintaro {

void wakeOnOutsideRequests(void (*wake)()) {
    exitwatchdog::setWake(wake);
    runningcopy::setWake(wake);
}

bool takeOutsideRequests(const std::function<void(const std::string&)>& bringForward) {
    if (exitwatchdog::takeRequest()) {
        return true;
    }
    if (auto token = runningcopy::takeRequest()) {
        bringForward(*token);
    }
    return false;
}

} // namespace tintaro
