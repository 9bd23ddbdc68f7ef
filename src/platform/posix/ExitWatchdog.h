// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

namespace tintaro::exitwatchdog {

// Nothing may keep the keyboard held once someone asked the program to end.
// SIGTERM, SIGINT and SIGHUP are blocked in every thread and received by a
// thread of their own, which asks the event loop for an orderly end; when
// the process still runs a short grace period after a request (the main
// thread may be stuck anywhere, in a decoder or a print server), the
// watchdog ends it at once, and the X server frees the grab of a client
// that is gone.

// Call first in main, before any other thread exists: every thread created
// later inherits the blocked signals.
void start();

// The event loop's side: `wake` is called from the watchdog's thread to
// wake a wait for events (it must be safe to call from any thread).
void setWake(void (*wake)());

// True once for a signal's request: the event loop turns it into its Quit.
bool takeRequest();

// An orderly end is under way (a close request or a signal): the process
// must be gone within the grace period, or the watchdog ends it.
void armDeadline();

} // namespace tintaro::exitwatchdog
