// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <functional>
#include <string>

namespace tintaro {

// What reaches a window's event loop from outside the program: a signal's
// request to end (ExitWatchdog.h) and a second start's request to come
// forward (RunningCopy.h). `wake` wakes the loop's wait from any thread.
void wakeOnOutsideRequests(void (*wake)());

// Passes a second start's activation token to `bringForward`; true when the
// program was asked to end, which the loop turns into its Quit.
bool takeOutsideRequests(const std::function<void(const std::string&)>& bringForward);

} // namespace tintaro
